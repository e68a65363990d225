// Finding the program's windows and controls.
#pragma once
#include "wire.h"

#include <functional>

namespace driver {

// Windows of this process come first when several share a caption.
void prefer_process(DWORD process_id);
bool is_preferred(HWND window);

// A top-level window: "0x..." is a handle, anything else an exact visible caption.
HWND find_top_window(const std::wstring& name, const std::wstring& class_name = L"");
HWND window_arg(const Args& args, size_t index);

// Any descendant whose window id (the full 32 bits) is `id`.
HWND find_control(HWND window, uint32_t id);
// args[index] names the window, args[index + 1] the control id; an empty id or "." is the window itself.
HWND control_arg(const Args& args, size_t index);

// SendMessageTimeout that fails only on a timeout or a window gone (some implementations answer 0
// without an error for a message whose result is 0).
LRESULT send_message(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0);

// Content through WM_GETTEXT, so edit boxes and other processes' controls answer with what they show.
std::wstring control_text(HWND control);
std::wstring window_class(HWND window);
std::vector<HWND> child_windows(HWND window);

// Polls every few milliseconds; true when `done` answered true before the timeout.
bool wait_until(DWORD timeout_ms, const std::function<bool()>& done);

} // namespace driver
