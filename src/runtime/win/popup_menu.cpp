#include <string>

#include "runtime/win/menu_ops.h"
#include "runtime/win/text_boundary.h"

namespace brindor {

namespace {

class MenuHandle {
  public:
    MenuHandle() : menu_(CreatePopupMenu()) {}
    ~MenuHandle() {
        if (menu_) DestroyMenu(menu_);
    }
    MenuHandle(const MenuHandle&) = delete;
    MenuHandle& operator=(const MenuHandle&) = delete;
    HMENU get() const { return menu_; }

  private:
    HMENU menu_;
};

} // namespace

int show_popup_menu(HWND owner, const MenuItem* items, int count, int x, int y) {
    MenuHandle menu;
    if (!menu.get()) return 0;
    for (int i = 0; i < count; ++i) {
        const MenuItem& item = items[i];
        if (!item.caption) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const std::wstring caption = to_wide(item.caption);
        AppendMenuW(menu.get(), MF_STRING | (item.enabled ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(item.id), caption.c_str());
    }
    // Without the owner in front the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const int chosen = static_cast<int>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    return chosen;
}

} // namespace brindor
