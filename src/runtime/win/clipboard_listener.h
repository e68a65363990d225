// Telling a window when the clipboard's contents change (WM_CLIPBOARDUPDATE).
#pragma once
#include <windows.h>

namespace brindor {

// Starts or stops the messages for `window`; false when the system refused.
bool listen_to_clipboard(HWND window, bool listen);
// The clipboard's contents were put there by a window of this very process.
bool clipboard_is_own_copy();

} // namespace brindor
