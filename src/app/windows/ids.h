// Window and control ids by which the handlers address the program's windows.
#pragma once
#include "runtime/win/window/control_access.h"

namespace brindor::app {

constexpr uint32_t kMainWindowId = 0x52010001;
constexpr uint32_t kSignInWindowId = 0x52010003;
constexpr uint32_t kCookieWindowId = 0x52010005;

constexpr ControlRef kMainWindow{kMainWindowId, 0x06010000};
constexpr ControlRef kSignInWindow{kSignInWindowId, 0x06010002};
constexpr ControlRef kCookieWindow{kCookieWindowId, 0x06010004};

// Main window.
constexpr ControlRef kAnnouncementBrowser{kMainWindowId, 0x16014CC4}; // 超文本浏览框1
constexpr ControlRef kFileDialog{kMainWindowId, 0x160119EE};          // 通用对话框1
constexpr ControlRef kLinkCountLabel{kMainWindowId, 0x160119ED};      // 标签_磁力链接数
constexpr ControlRef kImportButton{kMainWindowId, 0x160119EC};        // 按钮_导入磁力链接
constexpr ControlRef kSignInStateLabel{kMainWindowId, 0x160119E7};    // 标签_登陆状态
constexpr ControlRef kIntervalEdit{kMainWindowId, 0x160119DC};        // 编辑框_间隔
constexpr ControlRef kIntervalCaption{kMainWindowId, 0x160119DB};     // 标签5
constexpr ControlRef kProgressLabel{kMainWindowId, 0x1601001A};       // 标签_进度
constexpr ControlRef kProgressBar{kMainWindowId, 0x16010018};         // 进度条1
constexpr ControlRef kReportList{kMainWindowId, 0x16010017};          // 超级列表框1
constexpr ControlRef kStartButton{kMainWindowId, 0x1601000B};         // 按钮_开始
constexpr ControlRef kSignInButton{kMainWindowId, 0x16010007};        // 按钮_登陆迅雷

// Sign-in window.
constexpr ControlRef kSignInBrowser{kSignInWindowId, 0x16010004}; // 超文本浏览框1

// Cookie sign-in dialog.
constexpr ControlRef kCookieHelpLabel{kCookieWindowId, 0x16010021};     // 标签_说明
constexpr ControlRef kCookieTextEdit{kCookieWindowId, 0x16010022};      // 编辑框_Cookie
constexpr ControlRef kCookieConfirmButton{kCookieWindowId, 0x16010023}; // 按钮_确定
constexpr ControlRef kCookieCancelButton{kCookieWindowId, 0x16010024};  // 按钮_取消

// Type ids of the control kinds.
constexpr uint32_t kWindowType = 0x00010001;
constexpr uint32_t kHtmlViewerType = 0x00020001;
constexpr uint32_t kCommonDlgType = 0x0001001F;
constexpr uint32_t kLabelType = 0x0001000A;
constexpr uint32_t kButtonType = 0x0001000B;
constexpr uint32_t kEditBoxType = 0x00010005;
constexpr uint32_t kProcessBarType = 0x00010013;
constexpr uint32_t kListViewType = 0x00030004;

// Property numbers the handlers use.
constexpr int kLabelCaption = 8;
constexpr int kButtonCaption = 8;
constexpr int kEditBoxContent = 8;
constexpr int kDialogFileName = 10;
constexpr int kDialogInitialDirectory = 13;
constexpr int kBrowserAddress = 11;
constexpr int kProgressMinimum = 11;
constexpr int kProgressMaximum = 12;
constexpr int kProgressPosition = 13;

} // namespace brindor::app
