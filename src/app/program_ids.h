// Window and control ids by which the handlers address the program's windows.
#pragma once
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/typed_controls.h"

namespace brindor::app {

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kSignInWindowId = 0x52010003;
constexpr uint32_t kCookieWindowId = 0x52010005;

constexpr ControlRef kMainWindow{kMainWindowId, 0x06010000};
constexpr ControlRef kSignInWindow{kSignInWindowId, 0x06010002};
constexpr ControlRef kCookieWindow{kCookieWindowId, 0x06010004};

// Main window.
constexpr BrowserControl kAnnouncementBrowser{{kMainWindowId, 0x16014CC4}}; // 超文本浏览框1
constexpr FileDialogControl kFileDialog{{kMainWindowId, 0x160119EE}};       // 通用对话框1
constexpr LabelControl kLinkCountLabel{{kMainWindowId, 0x160119ED}};        // 标签_磁力链接数
constexpr ButtonControl kImportButton{{kMainWindowId, 0x160119EC}};         // 按钮_导入磁力链接
constexpr LabelControl kSignInStateLabel{{kMainWindowId, 0x160119E7}};      // 标签_登陆状态
constexpr EditBoxControl kIntervalEdit{{kMainWindowId, 0x160119DC}};        // 编辑框_间隔
constexpr LabelControl kIntervalCaption{{kMainWindowId, 0x160119DB}};       // 标签5
constexpr LabelControl kProgressLabel{{kMainWindowId, 0x1601001A}};         // 标签_进度
constexpr ProgressBarControl kProgressBar{{kMainWindowId, 0x16010018}};     // 进度条1
constexpr ReportListControl kReportList{{kMainWindowId, 0x16010017}};       // 超级列表框1
constexpr ButtonControl kStartButton{{kMainWindowId, 0x1601000B}};          // 按钮_开始
constexpr ButtonControl kSignInButton{{kMainWindowId, 0x16010007}};         // 按钮_登陆迅雷

// Sign-in window.
constexpr BrowserControl kSignInBrowser{{kSignInWindowId, 0x16010004}}; // 超文本浏览框1

// Cookie sign-in dialog.
constexpr LabelControl kCookieHelpLabel{{kCookieWindowId, 0x16010021}};      // 标签_说明
constexpr EditBoxControl kCookieTextEdit{{kCookieWindowId, 0x16010022}};     // 编辑框_Cookie
constexpr ButtonControl kCookieConfirmButton{{kCookieWindowId, 0x16010023}}; // 按钮_确定
constexpr ButtonControl kCookieCancelButton{{kCookieWindowId, 0x16010024}};  // 按钮_取消

// Type ids of the control kinds.
constexpr uint32_t kWindowType = 0x00010001;
constexpr uint32_t kHtmlViewerType = 0x00020001;
constexpr uint32_t kCommonDlgType = 0x0001001F;
constexpr uint32_t kLabelType = 0x0001000A;
constexpr uint32_t kButtonType = 0x0001000B;
constexpr uint32_t kEditBoxType = 0x00010005;
constexpr uint32_t kProcessBarType = 0x00010013;
constexpr uint32_t kListViewType = 0x00030004;

// Property numbers for the calls that still name them; the typed controls above write the same.
constexpr int kLabelCaption = LabelControl::kCaption;
constexpr int kButtonCaption = ButtonControl::kCaption;
constexpr int kEditBoxContent = EditBoxControl::kContent;
constexpr int kDialogFileName = FileDialogControl::kFileName;
constexpr int kDialogInitialDirectory = FileDialogControl::kInitialDirectory;
constexpr int kBrowserAddress = BrowserControl::kAddress;
constexpr int kProgressMinimum = ProgressBarControl::kMinimum;
constexpr int kProgressMaximum = ProgressBarControl::kMaximum;
constexpr int kProgressPosition = ProgressBarControl::kPosition;

} // namespace brindor::app
