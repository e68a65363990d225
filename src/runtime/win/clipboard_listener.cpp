#include "runtime/win/clipboard_listener.h"

namespace brindor {

bool listen_to_clipboard(HWND window, bool listen) {
    return (listen ? AddClipboardFormatListener(window) : RemoveClipboardFormatListener(window)) != FALSE;
}

bool clipboard_is_own_copy() {
    HWND owner = GetClipboardOwner();
    DWORD process = 0;
    return owner && GetWindowThreadProcessId(owner, &process) && process == GetCurrentProcessId();
}

} // namespace brindor
