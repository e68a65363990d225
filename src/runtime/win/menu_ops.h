// A shortcut menu, shown where the user asked for it.
#pragma once
#include <windows.h>

namespace brindor {

struct MenuItem {
    const char* caption; // GBK; null: a separator
    int id;              // non-zero
    bool enabled = true;
};

// Blocks until the menu closes; the chosen item's id, or 0 when it was dismissed. `owner` is a
// window of the calling thread.
int show_popup_menu(HWND owner, const MenuItem* items, int count, int x, int y);

} // namespace brindor
