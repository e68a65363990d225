// Shortcut menus of the program: opening one on a control, reading its items, choosing one.
#include "commands.h"
#include "targets.h"

namespace driver {
namespace {

constexpr UINT kGetMenuHandle = 0x01E1; // MN_GETHMENU

BOOL CALLBACK consider_menu(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || window_class(window) != L"#32768") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND wait_menu(DWORD timeout) {
    HWND menu = nullptr;
    wait_until(timeout, [&] {
        menu = nullptr;
        EnumWindows(consider_menu, reinterpret_cast<LPARAM>(&menu));
        return menu != nullptr;
    });
    if (!menu) throw Failure{L"no open menu"};
    return menu;
}

HMENU menu_of(HWND window) {
    auto menu = reinterpret_cast<HMENU>(send_message(window, kGetMenuHandle));
    if (!menu) throw Failure{L"the menu window gives no menu"};
    return menu;
}

void post_key(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

} // namespace

// Arguments: window, control, optionally x and y on the screen (without them: as from the keyboard).
Reply context_menu(const Args& args) {
    HWND control = control_arg(args, 0);
    LPARAM at = -1;
    if (args.size() > 3)
        at = MAKELPARAM(short(number_arg(args, 2, L"x", 0)), short(number_arg(args, 3, L"y", 0)));
    if (!PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), at))
        throw Failure{L"cannot post WM_CONTEXTMENU"};
    return {};
}

// Answer: for each item its caption (empty for a separator) and 1 when it can be chosen, else 0.
Reply menu_items(const Args& args) {
    HMENU menu = menu_of(wait_menu(DWORD(number_arg(args, 0, L"timeout", 10000))));
    Reply reply;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        wchar_t caption[256] = L"";
        GetMenuStringW(menu, i, caption, 256, MF_BYPOSITION);
        reply.add(caption).add((state & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) ? 0 : 1);
    }
    return reply;
}

// Chooses the item with this caption (the part before a tab) from the keyboard, as a user would.
Reply menu_pick(const Args& args) {
    const std::wstring& wanted = arg(args, 0, L"caption");
    HWND window = wait_menu(DWORD(number_arg(args, 1, L"timeout", 10000)));
    HMENU menu = menu_of(window);
    int downs = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) continue;
        ++downs;
        wchar_t caption[256] = L"";
        GetMenuStringW(menu, i, caption, 256, MF_BYPOSITION);
        std::wstring text = caption;
        if (text.substr(0, text.find(L'\t')) != wanted) continue;
        for (int n = 0; n < downs; ++n)
            post_key(window, VK_DOWN);
        post_key(window, VK_RETURN);
        return {};
    }
    throw Failure{L"no menu item " + wanted};
}

Reply menu_close(const Args& args) {
    HWND window = wait_menu(DWORD(number_arg(args, 0, L"timeout", 10000)));
    post_key(window, VK_ESCAPE);
    return {};
}

} // namespace driver
