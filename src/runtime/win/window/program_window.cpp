#include "runtime/win/window/program_window.h"

namespace brindor {

void bring_to_front(HWND window) {
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    if (!IsWindowVisible(window)) ShowWindow(window, SW_SHOW);
    SetActiveWindow(window);
    SetForegroundWindow(window);
}

bool is_program_window(HWND window) {
    wchar_t name[32] = L"";
    return window && GetClassNameW(window, name, 32) && lstrcmpW(name, kProgramWindowClass) == 0;
}

} // namespace brindor
