// Keys of the user's registry (HKCU), reached through the declared functions.
#pragma once
#include <string>

#include "declared/declared_handles.h"

namespace brindor::app {

class RegistryKey {
  public:
    // HKCU\path, created when missing (with write access) or only opened (for reading).
    bool Create(const std::wstring& path);
    bool Open(const std::wstring& path);
    void* get() const { return key_.get(); }

    // A REG_SZ value; an empty name is the key's (Default).
    bool SetText(const wchar_t* name, const std::wstring& value) const;
    // False when the value is missing or no text.
    bool ReadText(const wchar_t* name, std::wstring& value) const;

  private:
    Owned<RegistryCloseTraits> key_;
};

// The (Default) text of HKCU\path; empty when there is none.
std::wstring DefaultText(const std::wstring& path);
bool KeyExists(const std::wstring& path);
// HKCU\path exists and holds neither keys nor values.
bool KeyIsEmpty(const std::wstring& path);
// HKCU\path and everything below it.
void DeleteKeyTree(const std::wstring& path);
// HKCU\path when it holds no key below it.
void DeleteKeyIfLeaf(const std::wstring& path);
void DeleteValue(const std::wstring& path, const wchar_t* name);

// The full path of the running program.
std::wstring ProgramFilePath();

} // namespace brindor::app
