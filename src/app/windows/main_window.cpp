#include <iterator>

#include "app/batch/run_closing.h"
#include "app/handlers.h"
#include "app/import/win/link_intake.h"
#include "app/magnet/win/magnet_handler.h"
#include "app/program_ids.h"
#include "app/settings/win/program_settings.h"
#include "app/start/command_line.h"
#include "app/watch/win/auto_start.h"
#include "app/watch/win/clipboard_watch.h"
#include "app/watch/win/folder_watch.h"
#include "app/windows/program_windows.h"

namespace brindor::app {

namespace {

constexpr uint8_t kGb2312Charset = 134;
constexpr FontDefinition kProgressFont{"", 16, 700, kGb2312Charset};
constexpr uint32_t kNavy = rgb(0, 0, 128);
constexpr uint32_t kBlack = rgb(0, 0, 0);
constexpr uint32_t kWhite = rgb(255, 255, 255);

constexpr ColumnDefinition kReportColumns[] = {
    // The reason fills the rest: "结果未知（任务可能已建立）" whole at the start size.
    {"编号", 50}, {"标题", 200}, {"大小", 70}, {"磁力链接", 200}, {"提交状态", 100}, {"原因", 195},
};
constexpr ListSettings kReportListSettings{
    .view_type = 3,
    .columns = kReportColumns,
    .column_count = 6,
    .multiple_selection = true,
    .follow_end = true,
    .fill_last_column = true,
    .on_menu = ReportListMenu,
    .on_shortcut = ReportListShortcut,
    .on_columns_sized = SaveColumnWidths,
};

constexpr FileDialogSettings kLinkFileDialog{
    .title = "",
    .file_name = "",
    .filter = "磁力链接或种子 (*.txt;*.torrent)|*.txt;*.torrent|txt文件|*.txt",
    .initial_filter = 0,
    .initial_directory = "",
    .default_extension = "txt",
    .must_exist = true,
    .multiple = true,
};

constexpr BrowserSettings kAnnouncement{2, false, true, "http://" BRINDOR_NOTICE_HOST "/softgg.html"};

const ControlDefinition kControls[] = {
    {.kind = ControlKind::HtmlViewer,
     .name = "超文本浏览框1",
     .control_id = kAnnouncementBrowser.control_id,
     .type_id = kHtmlViewerType,
     .left = 0,
     .top = 368,
     .width = 816,
     .height = 96,
     .tab_stop = true,
     .browser = &kAnnouncement,
     .anchor = kGrowWidth | kFollowBottom},
    {.kind = ControlKind::CommonDlg,
     .name = "通用对话框1",
     .control_id = kFileDialog.control_id,
     .type_id = kCommonDlgType,
     .left = 664,
     .top = 96,
     .width = 26,
     .height = 26,
     .visible = false,
     .file_dialog = &kLinkFileDialog},
    {.kind = ControlKind::Label,
     .name = "标签_磁力链接数",
     .control_id = kLinkCountLabel.control_id,
     .type_id = kLabelType,
     .left = 400,
     .top = 8,
     .width = 120,
     .height = 24,
     .shrink_to_fit = true, // "共1234条链接（待加入56条）" in the room the top row leaves
     .one_line = true},
    {.kind = ControlKind::Button,
     .name = "按钮_导入磁力链接",
     .control_id = kImportButton.control_id,
     .type_id = kButtonType,
     .left = 312,
     .top = 0,
     .width = 80,
     .height = 32,
     .tab_stop = true,
     .text = "导入磁力链接",
     .on_click = ImportLinks,
     .tip =
         "从txt文件导入磁力链接，替换当前列表。以下三种方式则把链接加到列表末尾（列表中已有的种子跳过），"
         "提交中加入的等本次提交结束后再加入：1. 把txt文件拖进窗口，或按Ctrl+V粘贴链接；2. 命令行 "
         "brindor.exe [--] 磁力链接、info-hash或txt文件，程序已在运行时交给运行中的那个；3. 在窗口的系统菜单"
         "中勾选“打开磁力链接”，之后点击网页上的磁力链接。"},
    {.kind = ControlKind::Label,
     .name = "标签_登陆状态",
     .control_id = kSignInStateLabel.control_id,
     .type_id = kLabelType,
     .left = 80,
     .top = 8,
     .width = 216,
     .height = 24},
    {.kind = ControlKind::EditBox,
     .name = "编辑框_间隔",
     .control_id = kIntervalEdit.control_id,
     .type_id = kEditBoxType,
     .left = 576,
     .top = 0,
     .width = 56,
     .height = 32,
     .tab_stop = true,
     .text = "3",
     .text_color = kBlack,
     .back_color = kWhite,
     .integer_input = true,
     .digits_only = true,
     .on_change = SaveInterval,
     .tip = "两次提交之间的间隔，单位：毫秒"},
    {.kind = ControlKind::Label,
     .name = "标签5",
     .control_id = kIntervalCaption.control_id,
     .type_id = kLabelType,
     .left = 524,
     .top = 8,
     .width = 48,
     .height = 24,
     .text = "提交间隔"},
    {.kind = ControlKind::Label,
     .name = "标签_进度",
     .control_id = kProgressLabel.control_id,
     .type_id = kLabelType,
     .left = 728,
     .top = 8,
     .width = 80,
     .height = 24,
     .font = &kProgressFont,
     .text_color = kNavy,
     .shrink_to_fit = true, // a pause's reason is longer than a percentage
     .anchor = kGrowWidth}, // and shows larger in a wider window
    {.kind = ControlKind::ProcessBar,
     .name = "进度条1",
     .control_id = kProgressBar.control_id,
     .type_id = kProcessBarType,
     .left = 0,
     .top = 464,
     .width = 816,
     .height = 16,
     .anchor = kGrowWidth | kFollowBottom},
    {.kind = ControlKind::ListView,
     .name = "超级列表框1",
     .control_id = kReportList.control_id,
     .type_id = kListViewType,
     .left = 0,
     .top = 40,
     .width = 816,
     .height = 328,
     .tab_stop = true,
     .text_color = kBlack,
     .back_color = kWhite,
     .list = &kReportListSettings,
     .anchor = kGrowWidth | kGrowHeight},
    {.kind = ControlKind::Button,
     .name = "按钮_开始",
     .control_id = kStartButton.control_id,
     .type_id = kButtonType,
     .left = 640,
     .top = 0,
     .width = 80,
     .height = 32,
     .tab_stop = true,
     .text = "开始提交",
     .on_click = StartSubmission},
    {.kind = ControlKind::Button,
     .name = "按钮_登陆迅雷",
     .control_id = kSignInButton.control_id,
     .type_id = kButtonType,
     .left = 0,
     .top = 0,
     .width = 80,
     .height = 32,
     .tab_stop = true,
     .text = "登陆迅雷离线",
     .on_click = OpenSignInWindow,
     .tip =
         "在打开的窗口中登录迅雷离线。页面显示不出来或无法登录时，可用Cookie登录：在已登录迅雷离线的"
         "浏览器中按F12打开开发者工具，在“网络”中选一个发往迅雷的请求，复制请求头Cookie的值（或用浏览器扩展"
         "导出cookies.txt），再从本窗口或登录窗口的系统菜单选“使用Cookie登录”（登录窗口中也可按Ctrl+K）粘贴。"
         "Cookie等同于密码，不要交给任何人。"},
};

// 使用Cookie登录 stays last, where users and their guides find it.
constexpr SystemMenuItem kSystemMenu[] = {
    {"监视剪贴板", ToggleClipboardWatch, IsWatchingClipboard},
    {"监视文件夹…", ChooseWatchedFolder, IsWatchingFolder},
    {"停止监视文件夹", StopWatchingFolder, nullptr, IsWatchingFolder},
    {"自动开始提交", ToggleAutoStart, IsAutoStartOn},
    {"打开磁力链接", ToggleMagnetHandler, IsMagnetHandler},
    {"使用Cookie登录", OpenCookieSignIn},
};

constexpr CopyDataSettings kForwardedItems{kForwardTag, kLargestForward, TakeForwardedItems,
                                           kLargestWaitingForwards};

} // namespace

const WindowDefinition kMainWindowDefinition{
    .window_id = kMainWindowId,
    .control_id = kMainWindow.control_id,
    .caption = "Brindor",
    .width = 824,
    .height = 505,
    .minimize_box = true,
    .maximize_box = true,
    .resizable = true,
    .controls = kControls,
    .control_count = static_cast<int>(std::size(kControls)),
    .on_showing = RestoreMainWindowSettings,
    .on_destroying = SaveMainWindowSettings,
    .on_placed = SaveWindowPlacement,
    .initial_focus = kSignInButton.control_id,
    .on_files_dropped = FilesDropped,
    .system_menu = kSystemMenu,
    .system_menu_count = static_cast<int>(std::size(kSystemMenu)),
    .on_paste = PasteLinks,
    .copy_data = &kForwardedItems,
    .on_clipboard_changed = ClipboardChanged,
    .on_close_asked = MainWindowCloseAsked,
    .on_session_ending = MainWindowSessionEnding,
};

void register_program_windows() {
    register_window_definition(kMainWindowDefinition);
    register_window_definition(kSignInWindowDefinition);
    register_window_definition(kCookieWindowDefinition);
}

} // namespace brindor::app
