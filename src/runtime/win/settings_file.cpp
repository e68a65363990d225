#include "runtime/win/settings_file.h"

#include <mutex>
#include <string>

#include "runtime/core/conversions.h"
#include "runtime/win/file_handle.h"
#include "runtime/win/local_files.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

constexpr const wchar_t* kVersionKey = L"version";
constexpr int kVersion = 1;
constexpr DWORD kLongestValue = 4096;

struct SettingsPlace {
    std::wstring folder;
    std::wstring file_name;
    std::wstring section;
    std::once_flag found;
    std::wstring path;
};

SettingsPlace& settings_place() {
    static SettingsPlace place;
    return place;
}

// Found at the first read or write, not at start: finding it creates the folder.
const std::wstring& settings_path() {
    SettingsPlace& place = settings_place();
    std::call_once(place.found, [&place] {
        if (place.folder.empty()) return;
        const std::wstring folder = roaming_data_folder(place.folder.c_str());
        if (!folder.empty()) place.path = folder + L"\\" + place.file_name;
    });
    return place.path;
}

const wchar_t* settings_section() {
    return settings_place().section.c_str();
}

std::wstring read_raw(const wchar_t* key) {
    std::wstring value(kLongestValue, L'\0');
    const DWORD length = GetPrivateProfileStringW(settings_section(), key, L"", value.data(), kLongestValue,
                                                  settings_path().c_str());
    value.resize(length);
    return value;
}

bool from_newer_version() {
    return to_integer(from_wide(read_raw(kVersionKey).c_str()).c_str()) > kVersion;
}

// The profile functions write UTF-16 only into a file that starts with the mark; anything else
// there is no file of ours.
bool starts_with_mark(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    unsigned char mark[2] = {};
    DWORD read = 0;
    return file.valid() && ReadFile(file.get(), mark, 2, &read, nullptr) && read == 2 && mark[0] == 0xFF &&
           mark[1] == 0xFE;
}

bool start_afresh(const std::wstring& path) {
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::wstring start =
        L"\xFEFF[" + settings_place().section + L"]\r\nversion=" + std::to_wstring(kVersion) + L"\r\n";
    return file.valid() && write_all(file.get(), start.data(), start.size() * sizeof(wchar_t));
}

} // namespace

void use_settings_file(const wchar_t* folder, const wchar_t* file_name, const wchar_t* section) {
    SettingsPlace& place = settings_place();
    place.folder = folder;
    place.file_name = file_name;
    place.section = section;
}

Text read_setting(const char* key) {
    if (settings_path().empty() || from_newer_version()) return {};
    const std::wstring value = read_raw(to_wide(key).c_str());
    return from_wide(value.c_str(), static_cast<int>(value.size()));
}

void write_setting(const char* key, const char* value) {
    const std::wstring& path = settings_path();
    if (path.empty()) return;
    if (!starts_with_mark(path)) {
        if (!start_afresh(path)) return;
    } else if (from_newer_version()) {
        return;
    }
    WritePrivateProfileStringW(settings_section(), to_wide(key).c_str(), to_wide(value).c_str(),
                               path.c_str());
}

} // namespace brindor
