// The system clipboard's text. Texts are GBK.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "runtime/core/text.h"

namespace brindor {

// Replaces the clipboard's contents; `owner` is a window of the calling thread. False when the
// clipboard is held by another program.
bool set_clipboard_text(HWND owner, const char* text);
// Empty when the clipboard holds no text. A text of more than `most_units` UTF-16 units gives its
// first `most_units`, and `cut_short` (when given) says so.
Text clipboard_text(HWND owner, size_t most_units = SIZE_MAX, bool* cut_short = nullptr);

} // namespace brindor
