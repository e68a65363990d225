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

bool AppendingFile::open(const std::wstring& name, bool create_new) {
    // Readers may look while it is written: the program itself reads kept journals at start-up.
    file_.reset(CreateFileW(name.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            create_new ? CREATE_NEW : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file_.valid();
}

bool AppendingFile::write(const void* data, size_t size) {
    return file_.valid() && write_all(file_.get(), data, size);
}

bool AppendingFile::flush() {
    return file_.valid() && FlushFileBuffers(file_.get());
}

} // namespace brindor
