// What marks a window as one of the program's top-level windows, and bringing one forward.
#pragma once
#include <windows.h>

namespace brindor {

// The class every top-level window of the program is made of.
constexpr const wchar_t* kProgramWindowClass = L"BrindorWindow";

bool is_program_window(HWND window);
// Restored if minimised, shown and activated.
void bring_to_front(HWND window);

} // namespace brindor
