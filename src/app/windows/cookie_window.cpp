#include <iterator>

#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/windows/program_windows.h"

namespace brindor::app {

namespace {

const ControlDefinition kControls[] = {
    {.kind = ControlKind::Label,
     .name = "标签_说明",
     .control_id = kCookieHelpLabel.control_id,
     .type_id = kLabelType,
     .left = 8,
     .top = 8,
     .width = 456,
     .height = 32,
     .text = "粘贴已登录迅雷离线的浏览器中的Cookie：请求头Cookie的值，或cookies.txt的全部内容。"
             "须含usrname和userid。"},
    {.kind = ControlKind::EditBox,
     .name = "编辑框_Cookie",
     .control_id = kCookieTextEdit.control_id,
     .type_id = kEditBoxType,
     .left = 8,
     .top = 44,
     .width = 456,
     .height = 180,
     .tab_stop = true,
     .multi_line = true},
    {.kind = ControlKind::Button,
     .name = "按钮_确定",
     .control_id = kCookieConfirmButton.control_id,
     .type_id = kButtonType,
     .left = 296,
     .top = 232,
     .width = 80,
     .height = 28,
     .tab_stop = true,
     .text = "确定",
     .on_click = ConfirmCookieSignIn},
    {.kind = ControlKind::Button,
     .name = "按钮_取消",
     .control_id = kCookieCancelButton.control_id,
     .type_id = kButtonType,
     .left = 384,
     .top = 232,
     .width = 80,
     .height = 28,
     .tab_stop = true,
     .text = "取消",
     .on_click = CancelCookieSignIn},
};

} // namespace

const WindowDefinition kCookieWindowDefinition{
    .window_id = kCookieWindowId,
    .control_id = kCookieWindow.control_id,
    .caption = "使用Cookie登录",
    .width = 478,
    .height = 300,
    .controls = kControls,
    .control_count = static_cast<int>(std::size(kControls)),
    .initial_focus = kCookieTextEdit.control_id,
    .close_on_escape = true,
};

} // namespace brindor::app
