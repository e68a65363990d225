// Files the program keeps for itself under the user's local application data. Names are UTF-16 from
// the folder to the file call, so a user name outside the program's code page is no obstacle.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "runtime/core/bytes.h"
#include "runtime/win/file_handle.h"

namespace brindor {

// The folder of the program's executable, without a trailing backslash; empty when unknown.
std::wstring program_folder();
// A file named "portable" beside the executable keeps the program's files beside it: nothing is
// written under the user's profile then.
bool is_portable();

// The folder `relative` (backslashes between its parts) under the local application data, created
// when missing; empty when it cannot be had. Its first part names the program's own folder there;
// in portable mode the executable's folder takes that part's place.
std::wstring local_data_folder(const wchar_t* relative);
// The same under the roaming application data, which follows the user from machine to machine.
std::wstring roaming_data_folder(const wchar_t* relative);
// The names, without the folder, of the files in `folder` that match `pattern` ("*.csv").
std::vector<std::wstring> files_in_folder(const std::wstring& folder, const wchar_t* pattern);
bool delete_named_file(const std::wstring& name);
// Replaces a file of the new name.
bool move_named_file(const std::wstring& from, const std::wstring& to);
// The whole file; empty when it cannot be read.
Bytes read_named_file(const std::wstring& name);

// A file that this process alone holds open for the owner's life; the system lets go of it (and
// deletes it) when the process ends, however it ends.
class HeldLock {
  public:
    bool take(const std::wstring& name);
    bool held() const { return file_.valid(); }

  private:
    FileHandle file_;
};

// True while a live process holds the lock file `name`.
bool lock_is_held(const std::wstring& name);
// A name no other running process of the system has: its process id and the time it asked.
std::wstring process_unique_name();

} // namespace brindor
