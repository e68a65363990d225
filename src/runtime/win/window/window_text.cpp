#include "runtime/win/window/window_text.h"

#include <string>

#include "runtime/win/text_boundary.h"

namespace brindor {

Text get_window_text(HWND window) {
    int length = static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    int got = static_cast<int>(
        SendMessageW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data())));
    return from_wide(wide.c_str(), got);
}

void set_window_text(HWND window, const char* text) {
    std::wstring wide = to_wide(text);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

} // namespace brindor
