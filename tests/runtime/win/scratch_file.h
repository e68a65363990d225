// Files in the temporary directory for tests, removed when the owner dies.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/win/text_boundary.h"

namespace brindor::testing {

class ScratchFile {
  public:
    // `gbk_name` is a plain file name (GBK) in the temporary directory.
    explicit ScratchFile(const std::string& gbk_name, const std::string& bytes = {}) {
        wchar_t directory[MAX_PATH];
        GetTempPathW(MAX_PATH, directory);
        wide_path_ = std::wstring(directory) + to_wide(gbk_name.c_str());
        path_ = from_wide(wide_path_.c_str()).c_str();
        write(bytes);
    }
    ~ScratchFile() { DeleteFileW(wide_path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    void write(const std::string& bytes) {
        HANDLE h = CreateFileW(wide_path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    std::string contents() const {
        std::string bytes;
        HANDLE h = CreateFileW(wide_path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got)
            bytes.append(buffer, got);
        CloseHandle(h);
        return bytes;
    }
    bool exists() const { return GetFileAttributesW(wide_path_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    // GBK path, as the program passes names.
    const char* path() const { return path_.c_str(); }
    const std::wstring& wide_path() const { return wide_path_; }
    FileName name() const { return file_name_of(wide_path_.c_str(), wide_path_.size()); }

  private:
    std::wstring wide_path_;
    std::string path_;
};

} // namespace brindor::testing
