#include "runtime/win/dialog_ops.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

constexpr size_t kFileNameCapacity = 32768;   // room for the longest path Windows has
constexpr size_t kFileListCapacity = 1 << 20; // room for thousands of chosen names

// "a|b|c|d" as the dialog's list "a\0b\0c\0d\0\0". The bars are replaced after the conversion:
// a GBK trail byte may be 0x7C, the same value as the bar.
std::wstring filter_list(const char* filter) {
    std::wstring list = to_wide(filter);
    if (list.empty()) return list;
    if (list.size() < 2 || list.compare(list.size() - 2, 2, L"||") != 0) list += L"||";
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    return list;
}

// A single choice is one full path. Several are the folder, then each name, each ended by a zero.
FileNames chosen_files(const std::wstring& buffer, size_t name_offset) {
    const wchar_t* first = buffer.c_str();
    const size_t first_length = wcslen(first);
    if (name_offset <= first_length) return {file_name_of(first, first_length)};
    std::wstring folder(first, first_length);
    if (folder.empty() || folder.back() != L'\\') folder += L'\\';
    FileNames files;
    for (const wchar_t* name = first + first_length + 1; *name; name += wcslen(name) + 1) {
        const std::wstring full = folder + name;
        files.push_back(file_name_of(full.c_str(), full.size()));
    }
    if (files.empty()) files.push_back(file_name_of(first, first_length));
    return files;
}

// Open and save share every field; only the flags and the function differ.
bool run_file_dialog(FileDialogProperties& dialog, HWND owner, bool save) {
    std::wstring title = to_wide(dialog.title.c_str());
    std::wstring extension = to_wide(dialog.default_extension.c_str());
    std::wstring directory = to_wide(dialog.initial_directory.c_str());
    std::wstring filter = filter_list(dialog.filter.c_str());
    std::wstring file = to_wide(dialog.file_name.c_str());
    const bool multiple = !save && dialog.multiple;
    file.resize(std::max(multiple ? kFileListCapacity : kFileNameCapacity, file.size() + 1), L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(dialog.initial_filter > 0 ? dialog.initial_filter + 1 : 1);
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
        if (!GetSaveFileNameW(&ofn)) return false;
    } else {
        if (dialog.must_exist) ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
        if (multiple) ofn.Flags |= OFN_ALLOWMULTISELECT;
        if (!GetOpenFileNameW(&ofn)) return false;
    }
    dialog.chosen_files = chosen_files(file, ofn.nFileOffset);
    dialog.chosen = dialog.chosen_files.front();
    dialog.file_name = from_wide(wide_units(dialog.chosen));
    return true;
}

} // namespace

bool dialog_open(FileDialogProperties& dialog, HWND owner) {
    return run_file_dialog(dialog, owner, false);
}

bool dialog_save(FileDialogProperties& dialog, HWND owner) {
    return run_file_dialog(dialog, owner, true);
}

} // namespace brindor
