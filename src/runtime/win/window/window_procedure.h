// The window class of the program's top-level windows.
#pragma once
#include <windows.h>

namespace brindor {

// Registers the class once (its name is kProgramWindowClass); returns its name.
const wchar_t* program_window_class();
// A message box or a common dialog: the system's dialog class.
bool is_dialog_box(HWND window);
// Gives the windows that a modal window disabled their input back.
void enable_windows_disabled_by(HWND modal_window);
// On the windows' thread: enables again any window of the program that stayed disabled with no
// modal window, box or common dialog open to hold it so.
void enable_windows_nothing_holds();

} // namespace brindor
