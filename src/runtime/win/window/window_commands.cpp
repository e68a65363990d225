#include "runtime/win/window/window_commands.h"

#include "runtime/win/text_boundary.h"
#include "runtime/win/window/program_window.h"

namespace brindor {

namespace {

// System commands keep their low four bits for the system, and ours stay below its own (0xF000).
constexpr UINT kFirstSystemMenuItem = 0x0100;
constexpr UINT kSystemMenuStep = 0x10;

} // namespace

void add_system_menu_items(const LoadedWindow& loaded) {
    const WindowDefinition& d = loaded.definition;
    HMENU menu = d.system_menu_count > 0 ? GetSystemMenu(loaded.handle, FALSE) : nullptr;
    if (!menu) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    for (int i = 0; i < d.system_menu_count; ++i) {
        std::wstring caption = to_wide(d.system_menu[i].caption);
        AppendMenuW(menu, MF_STRING, kFirstSystemMenuItem + kSystemMenuStep * i, caption.c_str());
    }
}

void check_system_menu_items(const LoadedWindow& loaded, HMENU menu) {
    const WindowDefinition& d = loaded.definition;
    for (int i = 0; i < d.system_menu_count; ++i) {
        const UINT id = kFirstSystemMenuItem + kSystemMenuStep * i;
        if (d.system_menu[i].checked)
            CheckMenuItem(menu, id, MF_BYCOMMAND | (d.system_menu[i].checked() ? MF_CHECKED : MF_UNCHECKED));
        if (d.system_menu[i].enabled)
            EnableMenuItem(menu, id, MF_BYCOMMAND | (d.system_menu[i].enabled() ? MF_ENABLED : MF_GRAYED));
    }
}

bool run_system_menu_item(const LoadedWindow& loaded, WPARAM command) {
    const WindowDefinition& d = loaded.definition;
    const UINT id = static_cast<UINT>(command) & 0xFFF0;
    if (id < kFirstSystemMenuItem) return false;
    const UINT index = (id - kFirstSystemMenuItem) / kSystemMenuStep;
    if (index >= static_cast<UINT>(d.system_menu_count)) return false;
    if (d.system_menu[index].on_choose) d.system_menu[index].on_choose();
    return true;
}

bool run_window_shortcut(MSG* msg) {
    if (msg->message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0) return false;
    HWND top = GetAncestor(msg->hwnd, GA_ROOT);
    if (!is_program_window(top) || !IsWindowEnabled(top)) return false;
    const LoadedWindow* loaded = loaded_window_of(top);
    if (!loaded) return false;
    const WindowDefinition& d = loaded->definition;
    for (int i = 0; i < d.shortcut_count; ++i)
        if (static_cast<WPARAM>(d.shortcuts[i].letter) == msg->wParam) {
            d.shortcuts[i].on_press();
            return true;
        }
    return false;
}

} // namespace brindor
