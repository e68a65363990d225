#include <windows.h>

#include <gtest/gtest.h>

#include "window_test_fixture.h"

namespace brindor::window_tests {

int g_clicks = 0;
std::string g_events;
bool g_modal_stays = false;
int g_modal_session_ends = 0;

namespace {

void CountClick(int& clicks) {
    ++clicks;
}

constexpr ColumnDefinition kColumns[] = {{"一", 40}, {"二", 60}, {"三", 80}};
constexpr ListSettings kListSettings{
    .view_type = 3, .columns = kColumns, .column_count = 3, .multiple_selection = true, .follow_end = true};
constexpr FileDialogSettings kDialogSettings{"", "", "txt文件|*.txt", 0, "", "txt", true};
constexpr FontDefinition kBold{"", 16, 700, 134};

const ControlDefinition kAnchorControls[] = {
    {.kind = ControlKind::Label,
     .name = "标签1",
     .control_id = kLabel.control_id,
     .type_id = 0x0001000A,
     .left = 4,
     .top = 4,
     .width = 100,
     .height = 20,
     .text = "初始"},
    {.kind = ControlKind::Button,
     .name = "按钮1",
     .control_id = kButton.control_id,
     .type_id = 0x0001000B,
     .left = 110,
     .top = 4,
     .width = 80,
     .height = 24,
     .tab_stop = true,
     .text = "按",
     .on_click = EventHandler::With<CountClick>(&g_clicks)},
    {.kind = ControlKind::EditBox,
     .name = "编辑框1",
     .control_id = kEdit.control_id,
     .type_id = 0x00010005,
     .left = 200,
     .top = 4,
     .width = 80,
     .height = 24,
     .tab_stop = true,
     .integer_input = true},
    {.kind = ControlKind::ProcessBar,
     .name = "进度条1",
     .control_id = kBar.control_id,
     .type_id = 0x00010013,
     .left = 4,
     .top = 200,
     .width = 200,
     .height = 16},
    {.kind = ControlKind::ListView,
     .name = "超级列表框1",
     .control_id = kList.control_id,
     .type_id = 0x00030004,
     .left = 4,
     .top = 40,
     .width = 300,
     .height = 150,
     .list = &kListSettings},
    {.kind = ControlKind::CommonDlg,
     .name = "通用对话框1",
     .control_id = kDialog.control_id,
     .type_id = 0x0001001F,
     .left = 250,
     .top = 200,
     .width = 26,
     .height = 26,
     .visible = false,
     .file_dialog = &kDialogSettings},
    {.kind = ControlKind::Label,
     .name = "标签2",
     .control_id = kBoldLabel.control_id,
     .type_id = 0x0001000A,
     .left = 300,
     .top = 4,
     .width = 60,
     .height = 20,
     .font = &kBold,
     .text_color = rgb(0, 0, 128)},
};
const WindowDefinition kAnchor{.window_id = kAnchorId,
                               .control_id = 0x06000000,
                               .caption = "锚",
                               .width = 400,
                               .height = 300,
                               .minimize_box = true,
                               .controls = kAnchorControls,
                               .control_count = 7};

const ControlDefinition kModalControls[] = {
    {.kind = ControlKind::Label,
     .name = "标签1",
     .control_id = 0x16000200,
     .type_id = 0x0001000A,
     .left = 0,
     .top = 0,
     .width = 50,
     .height = 20},
};
const WindowDefinition kModal{.window_id = kModalId,
                              .control_id = 0x06000002,
                              .caption = "模态",
                              .width = 300,
                              .height = 200,
                              .controls = kModalControls,
                              .control_count = 1,
                              .on_created = [] { g_events += "created;"; },
                              .on_destroying = [] { g_events += "destroying;"; },
                              .on_close_asked = [] { return !g_modal_stays; },
                              .on_session_ending = [] { ++g_modal_session_ends; }};

constexpr BrowserSettings kBrowserSettings{2, false, true, ""};
const ControlDefinition kBrowserControls[] = {
    {.kind = ControlKind::HtmlViewer,
     .name = "超文本浏览框1",
     .control_id = kBrowser.control_id,
     .type_id = 0x00020001,
     .left = 0,
     .top = 10,
     .width = 200,
     .height = 100,
     .tab_stop = true,
     .browser = &kBrowserSettings},
};
const WindowDefinition kBrowserWindow{.window_id = kBrowserWindowId,
                                      .control_id = 0x06000003,
                                      .caption = "浏览",
                                      .width = 300,
                                      .height = 200,
                                      .controls = kBrowserControls,
                                      .control_count = 1};

} // namespace

HWND anchor() {
    return loaded_window_handle(kAnchorId);
}
HWND child(ControlRef c) {
    return GetDlgItem(loaded_window_handle(c.window_id), static_cast<int>(c.control_id));
}

namespace {

// The anchor stays loaded for the whole program: with no window left the program would end.
class WindowEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        register_window_definition(kAnchor);
        register_window_definition(kModal);
        register_window_definition(kBrowserWindow);
        ASSERT_TRUE(load_window(kAnchorId));
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new WindowEnvironment);

} // namespace
} // namespace brindor::window_tests
