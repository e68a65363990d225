// Rows of a ListView, from any thread: each call is one synchronous message to the list's thread.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

namespace {

// Runs `work(list)` on the list's thread in one synchronous message: every step of a row
// operation then happens there without further round trips between threads.
template <class F> void with_list(ControlRef ref, F&& work) {
    HWND window = require_loaded_window(ref.window_id);
    if (!window) return;
    on_window_thread(window, [&] {
        LoadedWindow* loaded = loaded_window_of(window);
        Control* control = loaded ? loaded->find(ref.control_id) : nullptr;
        if (control && control->definition().kind == ControlKind::ListView && control->handle())
            work(control->handle());
    });
}

int row_count(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

int column_count(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

} // namespace

int insert_row(ControlRef list, int position, const char* caption) {
    std::wstring text = to_wide(caption);
    int index = -1;
    with_list(list, [&](HWND control) {
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = position < 0 ? row_count(control) : position;
        item.pszText = text.data();
        index = static_cast<int>(SendMessageW(control, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    });
    return index;
}

void set_cell_text(ControlRef list, int row, int column, const char* text) {
    std::wstring wide = to_wide(text);
    with_list(list, [&](HWND control) {
        if (row < 0 || column < 0 || row >= row_count(control) || column >= column_count(control)) return;
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = wide.data();
        SendMessageW(control, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    });
}

} // namespace brindor
