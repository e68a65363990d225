// The system clipboard's text. Texts are GBK.
#pragma once
#include <windows.h>

#include "runtime/core/text.h"

namespace brindor {

// Replaces the clipboard's contents; `owner` is a window of the calling thread. False when the
// clipboard is held by another program.
bool set_clipboard_text(HWND owner, const char* text);
// Empty when the clipboard holds no text.
Text clipboard_text(HWND owner);

} // namespace brindor
