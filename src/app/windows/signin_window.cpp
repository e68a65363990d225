#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/windows/program_windows.h"

namespace brindor::app {

namespace {

// The browser's defaults; the creation handler gives it its address.
constexpr BrowserSettings kSignInBrowserSettings{2, false, false, ""};

const ControlDefinition kControls[] = {
    {.kind = ControlKind::HtmlViewer,
     .name = "超文本浏览框1",
     .control_id = kSignInBrowser.control_id,
     .type_id = kHtmlViewerType,
     .left = 0,
     .top = 0,
     .width = 848,
     .height = 512,
     .tab_stop = true,
     .browser = &kSignInBrowserSettings},
};

constexpr SystemMenuItem kSystemMenu[] = {{"使用Cookie登录", OpenCookieSignIn}};
constexpr ShortcutKey kShortcuts[] = {{'K', OpenCookieSignIn}};

} // namespace

const WindowDefinition kSignInWindowDefinition{
    .window_id = kSignInWindowId,
    .control_id = kSignInWindow.control_id,
    .caption = "迅雷离线登陆",
    .width = 851,
    .height = 536,
    .controls = kControls,
    .control_count = 1,
    .on_created = NavigateSignInPage,
    .on_destroying = ReadSignInCookies,
    .close_on_escape = true,
    .system_menu = kSystemMenu,
    .system_menu_count = 1,
    .shortcuts = kShortcuts,
    .shortcut_count = 1,
};

} // namespace brindor::app
