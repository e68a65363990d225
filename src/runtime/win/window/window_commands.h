// A window's own commands beside its controls: items of its system menu and Ctrl shortcuts.
#pragma once
#include <windows.h>

#include "runtime/win/window/window_registry.h"

namespace brindor {

void add_system_menu_items(const LoadedWindow& loaded);
// WM_INITMENUPOPUP of the system menu: the items' check marks as they are now.
void check_system_menu_items(const LoadedWindow& loaded, HMENU menu);
// WM_SYSCOMMAND: true when the command was one of the definition's items, which has run.
bool run_system_menu_item(const LoadedWindow& loaded, WPARAM command);
// A message-loop hook: a definition's Ctrl shortcut pressed in an enabled window runs its handler.
bool run_window_shortcut(MSG* msg);

} // namespace brindor
