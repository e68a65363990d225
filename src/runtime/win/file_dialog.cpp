#include "runtime/win/dialog_ops.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

constexpr size_t kFileNameCapacity = 32768; // room for the longest path Windows has

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

// Open and save share every field; only the flags and the function differ.
bool run_file_dialog(FileDialogProperties& dialog, HWND owner, bool save) {
    std::wstring title = to_wide(dialog.title.c_str());
    std::wstring extension = to_wide(dialog.default_extension.c_str());
    std::wstring directory = to_wide(dialog.initial_directory.c_str());
    std::wstring filter = filter_list(dialog.filter.c_str());
    std::wstring file = to_wide(dialog.file_name.c_str());
    file.resize(std::max(kFileNameCapacity, file.size() + 1), L'\0');

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
        if (!GetOpenFileNameW(&ofn)) return false;
    }
    dialog.chosen = file_name_of(file.c_str(), wcslen(file.c_str()));
    dialog.file_name = from_wide(file.c_str());
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
