// The system clipboard's text. Texts are GBK.
#pragma once
#include <windows.h>

#include <cstddef>

#include "runtime/core/text.h"

namespace brindor {

// Replaces the clipboard's contents; `owner` is a window of the calling thread. False when the
// clipboard is held by another program.
bool set_clipboard_text(HWND owner, const char* text);
// Empty when the clipboard holds no text.
Text clipboard_text(HWND owner);

struct ClipboardRead {
    bool opened = false;    // false: another program held the clipboard
    bool cut_short = false; // the text went on past `most_units`
    Text text;
};
// The clipboard's text, at most its first `most_units` UTF-16 units.
ClipboardRead read_clipboard_text(HWND owner, size_t most_units);

} // namespace brindor
