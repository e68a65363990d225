// WM_COPYDATA between copies of the program: the receiving window's side and the sender's.
#pragma once
#include <windows.h>

#include "runtime/core/bytes.h"
#include "runtime/win/window/window_registry.h"

namespace brindor {

// Posted by a window to itself when it has taken a message; wParam and lParam carry nothing.
constexpr UINT kCopyDataTaken = WM_APP + 0x4E2;

// WM_COPYDATA: TRUE when the message was the window's own and is queued for the application.
LRESULT take_copy_data(LoadedWindow& loaded, const COPYDATASTRUCT* data);
// kCopyDataTaken: the oldest queued message to the definition's handler.
void hand_over_copy_data(LoadedWindow& loaded);

// The window of `window_id`'s definition that another process of this program shows; null when
// none appears within `timeout_ms`.
HWND find_other_copy_window(uint32_t window_id, int timeout_ms);
enum class CopyDataAnswer { kTaken, kRefused, kNoAnswer };
// Lets the window's process come to the front, then hands it `data` with `tag`. kNoAnswer when the
// window did not answer within `timeout_ms`.
CopyDataAnswer send_copy_data(HWND window, uintptr_t tag, const Bytes& data, int timeout_ms);

} // namespace brindor
