// Rows of a ListView, from any thread: each call is a synchronous message to the list, which
// its own thread handles.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

HWND list_handle(ControlRef list) {
    HWND control = control_handle(list);
    wchar_t window_class[32] = L"";
    if (!control || !GetClassNameW(control, window_class, 32) || lstrcmpiW(window_class, WC_LISTVIEWW) != 0)
        return nullptr;
    return control;
}

int row_count(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

int column_count(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

} // namespace

int insert_row(ControlRef list, int position, const char* caption) {
    HWND control = list_handle(list);
    if (!control) return -1;
    std::wstring text = to_wide(caption);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = position < 0 ? row_count(control) : position;
    item.pszText = text.data();
    return static_cast<int>(SendMessageW(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void set_cell_text(ControlRef list, int row, int column, const char* text) {
    HWND control = list_handle(list);
    if (!control || row < 0 || column < 0 || row >= row_count(control) || column >= column_count(control))
        return;
    std::wstring wide = to_wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(control, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

} // namespace brindor
