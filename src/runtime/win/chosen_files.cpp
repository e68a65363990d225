#include "runtime/win/chosen_files.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <utility>

#include "runtime/win/file_handle.h"
#include "runtime/win/local_files.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

bool is_folder(const FileName& name) {
    const DWORD attributes = GetFileAttributesW(wide_units(name));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileNames files_of_folder(const FileName& folder, const wchar_t* pattern) {
    std::wstring base(wide_units(folder), folder.length());
    if (!base.empty() && base.back() == L'\\') base.pop_back();
    std::vector<std::wstring> names = files_in_folder(base, pattern);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return _wcsicmp(a.c_str(), b.c_str()) < 0;
    });
    FileNames files;
    files.reserve(names.size());
    for (const std::wstring& name : names) {
        const std::wstring full = base + L"\\" + name;
        files.push_back(file_name_of(full.c_str(), full.size()));
    }
    return files;
}

WholeFileRead read_whole_file(const FileName& name, size_t limit, Bytes& bytes) {
    FileHandle file(CreateFileW(wide_units(name), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size)) return WholeFileRead::CannotOpen;
    if (static_cast<uint64_t>(size.QuadPart) > limit) return WholeFileRead::TooLarge;
    Bytes read = Bytes::with_length(static_cast<size_t>(size.QuadPart));
    DWORD count = 0;
    if (size.QuadPart > 0 &&
        (!ReadFile(file.get(), read.mutable_data(), static_cast<DWORD>(size.QuadPart), &count, nullptr) ||
         count != size.QuadPart))
        return WholeFileRead::CannotOpen;
    bytes = std::move(read);
    return WholeFileRead::Read;
}

Text shown_file_name(const FileName& name) {
    const wchar_t* units = wide_units(name);
    const wchar_t* last = units;
    for (const wchar_t* p = units; *p; ++p)
        if (*p == L'\\' || *p == L'/') last = p + 1;
    return from_wide(last);
}

} // namespace brindor
