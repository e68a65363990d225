#include "runtime/win/dialog_ops.h"

#include "runtime/win/program.h"

namespace brindor {

void delay(int milliseconds) {
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

void do_events() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Back in the queue for the loop that owns the thread.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (pretranslate_message(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace brindor
