#include "runtime/win/folder_files.h"

#include <windows.h>

#include "runtime/win/file_handle.h"
#include "runtime/win/owned.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

struct FindCloseTraits {
    using Handle = HANDLE;
    static Handle invalid() { return INVALID_HANDLE_VALUE; }
    static void close(Handle find) { FindClose(find); }
};
using FindScope = Owned<FindCloseTraits>;

uint64_t joined(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

} // namespace

bool list_folder_files(const FileName& folder, std::vector<FolderFile>& files) {
    files.clear();
    std::wstring pattern(wide_units(folder), folder.length());
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(pattern.c_str(), &found);
    // An empty folder still lists "." and "..": nothing found at all means no folder.
    if (find == INVALID_HANDLE_VALUE) return false;
    FindScope scope(find);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        files.push_back({std::u16string(reinterpret_cast<const char16_t*>(found.cFileName)),
                         joined(found.nFileSizeHigh, found.nFileSizeLow),
                         joined(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)});
    } while (FindNextFileW(find, &found));
    return GetLastError() == ERROR_NO_MORE_FILES;
}

bool file_free_to_read(const FileName& name) {
    FileHandle file(CreateFileW(wide_units(name), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid();
}

bool make_folder(const FileName& name) {
    if (CreateDirectoryW(wide_units(name), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(wide_units(name));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool move_file_unreplacing(const FileName& from, const FileName& to) {
    return MoveFileExW(wide_units(from), wide_units(to), 0) != FALSE;
}

} // namespace brindor
