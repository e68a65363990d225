// The windows every window test works on; the anchor is loaded before the first test.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_definition.h"

namespace brindor::window_tests {

inline constexpr uint32_t kAnchorId = 0x7E000001;
inline constexpr uint32_t kModalId = 0x7E000002;
inline constexpr uint32_t kBrowserWindowId = 0x7E000003;
inline constexpr ControlRef kLabel{kAnchorId, 0x16000100};
inline constexpr ControlRef kButton{kAnchorId, 0x16000101};
inline constexpr ControlRef kEdit{kAnchorId, 0x16000102};
inline constexpr ControlRef kBar{kAnchorId, 0x16000103};
inline constexpr ControlRef kList{kAnchorId, 0x16000104};
inline constexpr ControlRef kDialog{kAnchorId, 0x16000105};
inline constexpr ControlRef kBoldLabel{kAnchorId, 0x16000106};
inline constexpr ControlRef kBrowser{kBrowserWindowId, 0x16000300};

// Clicks of kButton.
extern int g_clicks;
// What the modal window's handlers saw, in order.
extern std::string g_events;
// The modal window's answer when it is to close; its session-end handler's calls.
extern bool g_modal_stays;
extern int g_modal_session_ends;

HWND anchor();
HWND child(ControlRef c);

} // namespace brindor::window_tests
