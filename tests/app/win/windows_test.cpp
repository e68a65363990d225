#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/batch/run_indicators.h"
#include "app/handlers.h"
#include "app/program_ids.h"
#include "app/settings/win/program_settings.h"
#include "app/state.h"
#include "app/windows/program_windows.h"
#include "runtime/win/local_files.h"
#include "runtime/win/program.h"
#include "runtime/win/taskbar_ops.h"
#include "runtime/win/window_test_support.h"

namespace brindor::app {
namespace {

using brindor::testing::class_of;
using brindor::testing::rect_in_client;
using brindor::testing::wide;
using brindor::testing::window_text;

HWND main_window() {
    return loaded_window_handle(kMainWindowId);
}
HWND child(HWND window, ControlRef c) {
    return GetDlgItem(window, static_cast<int>(c.control_id));
}
HWND child(ControlRef c) {
    return child(loaded_window_handle(c.window_id), c);
}

class ProgramEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        initialize_runtime();
        // Settings another run left would move the window and change the interval.
        delete_named_file(roaming_data_folder(L"Brindor") + L"\\settings.ini");
        UseProgramSettingsFile();
        CreateProgramState();
        register_program_windows();
        load_start_window(kMainWindowId);
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

struct Expected {
    ControlRef control;
    const wchar_t* window_class;
    const char* caption;
    bool tab_stop;
};

constexpr ControlRef kPlacedControls[] = {
    kLinkCountLabel, kImportButton,        kSignInStateLabel, kIntervalEdit, kIntervalCaption, kStartButton,
    kSignInButton,   kAnnouncementBrowser, kProgressLabel,    kProgressBar,  kReportList};

// Every control inside the client area, none over another.
void expect_inside_and_apart() {
    RECT client{};
    GetClientRect(main_window(), &client);
    for (size_t i = 0; i < std::size(kPlacedControls); ++i) {
        RECT r = rect_in_client(child(kPlacedControls[i])), both{}, inside{};
        SCOPED_TRACE(::testing::Message() << std::hex << kPlacedControls[i].control_id);
        EXPECT_TRUE(r.right > r.left && r.bottom > r.top);
        EXPECT_TRUE(IntersectRect(&inside, &r, &client) && EqualRect(&inside, &r));
        for (size_t j = 0; j < i; ++j) {
            RECT other = rect_in_client(child(kPlacedControls[j]));
            EXPECT_FALSE(IntersectRect(&both, &r, &other)) << std::hex << kPlacedControls[j].control_id;
        }
    }
}

void expect_control(HWND window, const Expected& e) {
    HWND c = child(window, e.control);
    ASSERT_TRUE(c) << std::hex << e.control.control_id;
    SCOPED_TRACE(::testing::Message() << std::hex << e.control.control_id);
    EXPECT_EQ(static_cast<uint32_t>(GetDlgCtrlID(c)), e.control.control_id);
    EXPECT_EQ(class_of(c), e.window_class);
    EXPECT_EQ(window_text(c), wide(e.caption));
    LONG style = GetWindowLongW(c, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ((style & WS_TABSTOP) != 0, e.tab_stop);
    EXPECT_TRUE(IsWindowEnabled(c));
}

TEST(MainWindow, EveryControlWithItsCaptionAndKindInsideTheWindowAndApart) {
    const Expected controls[] = {
        {kAnnouncementBrowser, L"BrindorHtmlViewer", "", true},
        {kLinkCountLabel, L"Static", "", false},
        {kImportButton, L"Button", "导入磁力链接", true},
        {kSignInStateLabel, L"Static", "", false},
        {kIntervalEdit, L"Edit", "3", true},
        {kIntervalCaption, L"Static", "提交间隔", false},
        {kProgressLabel, L"Static", "", false},
        {kProgressBar, L"msctls_progress32", "", false},
        {kReportList, L"SysListView32", "", true},
        {kStartButton, L"Button", "开始提交", true},
        {kSignInButton, L"Button", "登陆迅雷离线", true},
    };
    for (const Expected& e : controls)
        expect_control(main_window(), e);
    expect_inside_and_apart();
    // The list, the strip and the bar, one under the other to the client area's end, as wide as each other.
    RECT client{}, list = rect_in_client(child(kReportList)),
                   strip = rect_in_client(child(kAnnouncementBrowser)),
                   bar = rect_in_client(child(kProgressBar));
    GetClientRect(main_window(), &client);
    EXPECT_EQ((std::vector<LONG>{strip.top, bar.top, bar.bottom, strip.right, bar.right}),
              (std::vector<LONG>{list.bottom, strip.bottom, client.bottom, list.right, list.right}));
    // The file dialog is a control without a window of its own.
    EXPECT_EQ(child(kFileDialog), nullptr);
    EXPECT_EQ(read_text_property(kFileDialog, 11),
              "磁力链接或种子 (*.txt;*.torrent)|*.txt;*.torrent|txt文件|*.txt");
    EXPECT_EQ(read_text_property(kFileDialog, 14), "txt");
}

TEST(MainWindow, CentredSizingFrameMinimiseAndMaximiseBoxes) {
    HWND w = main_window();
    EXPECT_EQ(window_text(w), L"Brindor");
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 824);
    EXPECT_EQ(r.bottom - r.top, 505);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 824) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 505) / 2);
    LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
}

TEST(MainWindow, ReportListColumnsAndStyles) {
    HWND list = child(kReportList);
    const struct {
        const char* title;
        int width;
    } columns[] = {{"编号", 50},      {"标题", 200},     {"大小", 70},
                   {"磁力链接", 200}, {"提交状态", 100}, {"原因", 0}};
    RECT client{};
    GetClientRect(list, &client);
    int others = 0;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 6);
    for (int i = 0; i < 6; ++i) {
        wchar_t title[64] = L"";
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        c.pszText = title;
        c.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&c)));
        EXPECT_EQ(title, wide(columns[i].title));
        // 原因 takes what the others leave.
        EXPECT_EQ(c.cx, i < 5 ? columns[i].width : client.right - others);
        others += c.cx;
        EXPECT_EQ(c.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
    }
    LONG style = GetWindowLongW(list, GWL_STYLE);
    EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_FALSE(style & LVS_SINGLESEL);
    EXPECT_TRUE(style & LVS_OWNERDATA);
    EXPECT_FALSE(style & (LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_NOCOLUMNHEADER));
    LRESULT extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
    EXPECT_TRUE(extended & LVS_EX_LABELTIP);
    EXPECT_FALSE(extended & LVS_EX_CHECKBOXES);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST(MainWindow, ProgressLabelIsBoldSixteenPixelGb2312) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(child(kProgressLabel), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);
    // A pause's reason is too long for the label: smaller, whole; a percentage is back at 16.
    const auto height_for = [](const char* caption) {
        write_property(kProgressLabel, kLabelCaption, caption);
        LOGFONTW shown{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child(kProgressLabel), WM_GETFONT, 0, 0)),
                   sizeof shown, &shown);
        return -shown.lfHeight;
    };
    EXPECT_LT(height_for("已暂停：无法连接到服务"), 16);
    EXPECT_GE(height_for("已暂停：无法连接到服务"), 9);
    EXPECT_EQ(height_for("100%"), 16);
    write_property(kProgressLabel, kLabelCaption, "");
    // The other labels keep the default GUI font.
    EXPECT_EQ(SendMessageW(child(kIntervalCaption), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
}

TEST(MainWindow, IntervalBoxTakesIntegersOnly) {
    HWND edit = child(kIntervalEdit);
    SetWindowTextW(edit, L"");
    for (wchar_t c : std::wstring(L"0a0b7"))
        SendMessageW(edit, WM_CHAR, c, 1);
    EXPECT_EQ(window_text(edit), L"007");
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(read_text_property(kIntervalEdit, kEditBoxContent), "7");
    write_property(kIntervalEdit, kEditBoxContent, "3");
}

// Every control's rectangle, every column's width and the label fonts' heights, as one comparable list.
// The controls that follow the window's edges come after the first kFixedValues: they also take
// whatever the frame leaves.
constexpr size_t kFixedValues = 7 * 4, kFollowingValues = 4 * 4;
std::vector<int> layout() {
    std::vector<int> out;
    for (ControlRef c : kPlacedControls) {
        RECT r = rect_in_client(child(c));
        out.insert(out.end(), {r.left, r.top, r.right - r.left, r.bottom - r.top});
    }
    for (int i = 0; i < 5; ++i)
        out.push_back(static_cast<int>(SendMessageW(child(kReportList), LVM_GETCOLUMNWIDTH, i, 0)));
    for (ControlRef c : {kProgressLabel, kIntervalCaption}) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child(c), WM_GETFONT, 0, 0)), sizeof font, &font);
        out.push_back(font.lfHeight);
    }
    return out;
}

TEST(MainWindow, MovesBetweenDisplaysOfDifferentDpiWithoutDrift) {
    const std::vector<int> at96 = layout();
    RECT before{};
    GetWindowRect(main_window(), &before);
    for (int dpi : {144, 120, 96}) {
        SCOPED_TRACE(dpi);
        SendMessageW(main_window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&before));
        std::vector<int> now = layout();
        ASSERT_EQ(now.size(), at96.size());
        for (size_t i = 0; i + 2 < at96.size(); ++i)
            if (i < kFixedValues || i >= kFixedValues + kFollowingValues) {
                EXPECT_EQ(now[i], MulDiv(at96[i], dpi, 96)) << i;
            }
        EXPECT_EQ(now[now.size() - 2], -MulDiv(16, dpi, 96)); // the progress label's own font
        expect_inside_and_apart();
    }
    EXPECT_EQ(layout(), at96);
    EXPECT_EQ(SendMessageW(child(kIntervalCaption), WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    RECT after{};
    GetWindowRect(main_window(), &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

BOOL CALLBACK find_tips(HWND window, LPARAM found) {
    // The window's own tips, not the report list's for cut cells.
    if (class_of(window) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == main_window() &&
        SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0) > 1)
        *reinterpret_cast<HWND*>(found) = window;
    return TRUE;
}

TEST(MainWindow, TheImportButtonTheIntervalBoxAndTheSignInButtonHaveTips) {
    HWND tips = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), find_tips, reinterpret_cast<LPARAM>(&tips));
    ASSERT_TRUE(tips);
    ASSERT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 3);
    wchar_t text[400] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    ASSERT_TRUE(SendMessageW(tips, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), child(kImportButton));
    EXPECT_NE(std::wstring(text).find(L"brindor.exe [--]"), std::wstring::npos);
    ASSERT_TRUE(SendMessageW(tips, TTM_ENUMTOOLSW, 1, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), child(kIntervalEdit));
    EXPECT_EQ(std::wstring(text), wide("两次提交之间的间隔，单位：毫秒"));
    ASSERT_TRUE(SendMessageW(tips, TTM_ENUMTOOLSW, 2, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(reinterpret_cast<HWND>(tool.uId), child(kSignInButton));
    EXPECT_NE(std::wstring(text).find(wide("Cookie等同于密码")), std::wstring::npos);
}

TEST(MainWindow, StartsWithEmptyStateAndLabels) {
    EXPECT_EQ(LinkList.count(), 0);
    EXPECT_TRUE(SignedInUserName.empty());
    EXPECT_TRUE(SignedInUserId.empty());
    EXPECT_EQ(read_text_property(kLinkCountLabel, kLabelCaption), "");
    EXPECT_EQ(read_text_property(kProgressLabel, kLabelCaption), "");
}

// What the last setting was, read by setting it again.
EXECUTION_STATE execution_state() {
    EXECUTION_STATE state = SetThreadExecutionState(ES_CONTINUOUS);
    SetThreadExecutionState(state);
    return state;
}

TEST(RunIndicators, SystemStaysAwakeOnlyWhileARunGoes) {
    RunIndicatorsBegin();
    EXPECT_EQ(execution_state(), ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
    RunIndicatorsProgress(1, 3, false);
    RunIndicatorsProgress(2, 3, true);
    RunIndicatorsProgress(9, 3, true); // past the end: clamped, not refused
    EXPECT_EQ(execution_state(), ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
    RunIndicatorsEnd();
    EXPECT_EQ(execution_state(), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
}

TEST(RunIndicators, FlashesOnlyAWindowBehindAnother) {
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(other);
    SetForegroundWindow(main_window());
    ASSERT_EQ(GetForegroundWindow(), main_window());
    EXPECT_FALSE(flash_unless_in_front(kMainWindowId));
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);
    EXPECT_TRUE(flash_unless_in_front(kMainWindowId));
    DestroyWindow(other);
    SetForegroundWindow(main_window());
}

UINT_PTR g_timer = 0;
std::wstring g_seen;

void CALLBACK inspect_sign_in(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(nullptr, g_timer);
    HWND sign_in = loaded_window_handle(kSignInWindowId);
    if (!sign_in) return;
    g_seen = window_text(sign_in);
    g_seen += IsWindowEnabled(main_window()) ? L"|main enabled" : L"|main disabled";
    g_seen += GetWindow(sign_in, GW_OWNER) == main_window() ? L"|owned" : L"|not owned";
    RECT r;
    GetWindowRect(sign_in, &r);
    if (r.right - r.left == 851 && r.bottom - r.top == 536) g_seen += L"|851x536";
    if (GetWindowLongW(sign_in, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME))
        g_seen += L"|extra boxes";
    HWND browser = child(sign_in, kSignInBrowser);
    RECT b = browser ? rect_in_client(browser) : RECT{};
    if (b.left == 0 && b.top == 0 && b.right == 848 && b.bottom == 512) g_seen += L"|browser 848x512";
    PostMessageW(sign_in, WM_CLOSE, 0, 0);
}

TEST(SignInWindow, ModalOverTheDisabledMainWindow) {
    SetActiveWindow(main_window());
    g_seen.clear();
    g_timer = SetTimer(nullptr, 0, 100, inspect_sign_in);
    OpenSignInWindow();
    EXPECT_EQ(g_seen, wide("迅雷离线登陆") + L"|main disabled|owned|851x536|browser 848x512");
    EXPECT_FALSE(window_is_loaded(kSignInWindowId));
    EXPECT_TRUE(IsWindowEnabled(main_window()));
    EXPECT_EQ(read_text_property(kSignInStateLabel, kLabelCaption), "");
}

} // namespace
} // namespace brindor::app
