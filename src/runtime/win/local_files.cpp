#include "runtime/win/local_files.h"

#include <shlobj.h>

namespace brindor {

namespace {

bool MakeFolder(const std::wstring& folder) {
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

// `relative` under `profile_folder` (a CSIDL), or under the executable's folder in portable mode.
std::wstring data_folder(int profile_folder, const wchar_t* relative) {
    std::wstring folder;
    if (is_portable()) {
        folder = program_folder();
        while (*relative && *relative != L'\\')
            ++relative;
        if (*relative) ++relative;
    } else {
        wchar_t base[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, profile_folder | CSIDL_FLAG_CREATE, nullptr, 0, base)))
            return {};
        folder = base;
    }
    if (folder.empty()) return {};
    for (const wchar_t* part = relative; *part;) {
        const wchar_t* end = part;
        while (*end && *end != L'\\')
            ++end;
        folder.append(L"\\").append(part, end);
        if (!MakeFolder(folder)) return {};
        part = *end ? end + 1 : end;
    }
    return folder;
}

} // namespace

bool is_portable() {
    static const bool portable = [] {
        const std::wstring folder = program_folder();
        const DWORD attributes = GetFileAttributesW((folder + L"\\portable").c_str());
        return !folder.empty() && attributes != INVALID_FILE_ATTRIBUTES &&
               !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }();
    return portable;
}

std::wstring local_data_folder(const wchar_t* relative) {
    return data_folder(CSIDL_LOCAL_APPDATA, relative);
}

std::wstring roaming_data_folder(const wchar_t* relative) {
    return data_folder(CSIDL_APPDATA, relative);
}

std::vector<std::wstring> files_in_folder(const std::wstring& folder, const wchar_t* pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool delete_named_file(const std::wstring& name) {
    return DeleteFileW(name.c_str()) != 0;
}

bool move_named_file(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

Bytes read_named_file(const std::wstring& name) {
    FileHandle file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return {};
    Bytes bytes = Bytes::with_length(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (size.QuadPart > 0 &&
        (!ReadFile(file.get(), bytes.mutable_data(), static_cast<DWORD>(size.QuadPart), &read, nullptr) ||
         read != size.QuadPart))
        return {};
    return bytes;
}

bool HeldLock::take(const std::wstring& name) {
    file_.reset(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file_.valid();
}

bool lock_is_held(const std::wstring& name) {
    // Opening it ourselves, we delete a lock a dead process left behind.
    FileHandle probe(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return !probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION;
}

std::wstring process_unique_name() {
    return std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount());
}

} // namespace brindor
