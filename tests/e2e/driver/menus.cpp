// Shortcut menus of the program: opening one on a control and working it from the keyboard.
#include "commands.h"
#include "targets.h"

namespace driver {
namespace {

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

// Arguments: key names (DOWN, UP, RETURN, ESCAPE), pressed in the open menu as a user would; the
// menu's items cannot be read from another process everywhere, so the scenarios know its layout.
Reply menu_keys(const Args& args) {
    HWND window = wait_menu(10000);
    for (const std::wstring& name : args) {
        const WPARAM key = name == L"DOWN"     ? VK_DOWN
                           : name == L"UP"     ? VK_UP
                           : name == L"RETURN" ? VK_RETURN
                           : name == L"ESCAPE" ? VK_ESCAPE
                                               : 0;
        if (!key) throw Failure{L"unknown key " + name};
        post_key(window, key);
    }
    return {};
}

// Answer: 1 while a shortcut menu is open, else 0.
Reply menu_open(const Args&) {
    HWND menu = nullptr;
    EnumWindows(consider_menu, reinterpret_cast<LPARAM>(&menu));
    return Reply().add(menu ? 1 : 0);
}

} // namespace driver
