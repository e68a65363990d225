#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "runtime/core/integer_input.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_definition.h"
#include "window_test_support.h"

namespace brindor {
namespace {

using testing::pump_until;
using testing::rect_in_client;
using testing::wide;
using testing::window_text;

constexpr uint32_t kAnchorId = 0x7E000001;
constexpr uint32_t kModalId = 0x7E000002;
constexpr ControlRef kLabel{kAnchorId, 0x16000100};
constexpr ControlRef kButton{kAnchorId, 0x16000101};
constexpr ControlRef kEdit{kAnchorId, 0x16000102};
constexpr ControlRef kBar{kAnchorId, 0x16000103};
constexpr ControlRef kList{kAnchorId, 0x16000104};
constexpr ControlRef kDialog{kAnchorId, 0x16000105};
constexpr ControlRef kBoldLabel{kAnchorId, 0x16000106};

int g_clicks = 0;
std::string g_events;

constexpr ColumnDefinition kColumns[] = {{"一", 40}, {"二", 60}, {"三", 80}};
constexpr ListSettings kListSettings{3, kColumns, 3};
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
     .on_click = [] { ++g_clicks; }},
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
                              .on_destroying = [] { g_events += "destroying;"; }};

constexpr uint32_t kBrowserWindowId = 0x7E000003;
constexpr ControlRef kBrowser{kBrowserWindowId, 0x16000300};
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

HWND anchor() {
    return loaded_window_handle(kAnchorId);
}
HWND child(ControlRef c) {
    return GetDlgItem(loaded_window_handle(c.window_id), static_cast<int>(c.control_id));
}

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

std::wstring cell(int row, int column) {
    wchar_t buffer[256] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(child(kList), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

class ListRows : public ::testing::Test {
  protected:
    void SetUp() override { SendMessageW(child(kList), LVM_DELETEALLITEMS, 0, 0); }
    int rows() { return static_cast<int>(SendMessageW(child(kList), LVM_GETITEMCOUNT, 0, 0)); }
};

TEST_F(ListRows, AppendGivesConsecutiveIndexesAndPositionInserts) {
    EXPECT_EQ(insert_row(kList), 0);
    EXPECT_EQ(insert_row(kList, -1, "b"), 1);
    EXPECT_EQ(insert_row(kList, -7, "c"), 2);
    EXPECT_EQ(insert_row(kList, 0, "front"), 0);
    EXPECT_EQ(cell(0, 0), L"front");
    EXPECT_EQ(cell(2, 0), L"b");
    EXPECT_EQ(rows(), 4);
}

TEST_F(ListRows, CellTextKeepsTheLastWriteAndIgnoresMissingCells) {
    ASSERT_EQ(insert_row(kList, -1, "1"), 0);
    set_cell_text(kList, 0, 2, "提交失败！");
    set_cell_text(kList, 0, 2, "提交成功！");
    EXPECT_EQ(cell(0, 2), wide("提交成功！"));
    set_cell_text(kList, 0, 1);
    EXPECT_EQ(cell(0, 1), L"");
    set_cell_text(kList, 0, 3, "no column");
    set_cell_text(kList, 1, 0, "no row");
    set_cell_text(kList, -1, 0, "no row");
    EXPECT_EQ(cell(0, 3), L"");
    EXPECT_EQ(cell(0, 0), L"1");
    EXPECT_EQ(rows(), 1);
}

TEST_F(ListRows, NotAListRefusesRows) {
    EXPECT_EQ(insert_row(kLabel), -1);
    EXPECT_EQ(insert_row(ControlRef{kAnchorId, 0x7777}), -1);
}

TEST_F(ListRows, WorkerThreadWritesWhileTheWindowThreadPumps) {
    constexpr int kRows = 200;
    std::atomic<bool> done{false};
    std::atomic<int> out_of_order{0};
    std::thread worker([&] {
        for (int i = 0; i < kRows; ++i) {
            std::string caption = std::to_string(i + 1);
            int row = insert_row(kList, -1, caption.c_str());
            if (row != i) ++out_of_order;
            set_cell_text(kList, row, 2, "提交成功！");
        }
        done = true;
    });
    bool finished = pump_until([&] { return done.load(); }, 20000);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(out_of_order, 0);
    EXPECT_EQ(rows(), kRows);
    EXPECT_EQ(cell(kRows - 1, 0), L"200");
    EXPECT_EQ(cell(kRows - 1, 2), wide("提交成功！"));
}

TEST(Properties, TextsRoundTripIncludingChinese) {
    struct Case {
        ControlRef control;
        int number;
        const char* value;
    } cases[] = {
        {kLabel, 8, "共2条链接。"},       {kLabel, 8, ""},       {kEdit, 8, "-5"},
        {kDialog, 10, "C:\\链接\\a.txt"}, {kDialog, 13, "C:\\"}, {kLabel, 4, "标记"},
    };
    for (const Case& c : cases) {
        write_property(c.control, c.number, c.value);
        EXPECT_EQ(read_text_property(c.control, c.number), c.value) << c.value;
    }
    EXPECT_EQ(window_text(child(kLabel)), L"");
}

TEST(Properties, ProgressRangeAndPosition) {
    write_property(kBar, 11, 0);
    write_property(kBar, 12, 250);
    write_property(kBar, 13, 17);
    EXPECT_EQ(read_number_property(kBar, 11), 0);
    EXPECT_EQ(read_number_property(kBar, 12), 250);
    EXPECT_EQ(read_number_property(kBar, 13), 17);
    EXPECT_EQ(SendMessageW(child(kBar), PBM_GETPOS, 0, 0), 17);
}

TEST(Properties, SharedPlacementVisibilityAndDisable) {
    write_property(kLabel, kPropertyLeft, 10);
    write_property(kLabel, kPropertyWidth, 120);
    RECT r = rect_in_client(child(kLabel));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(read_number_property(kLabel, kPropertyTop), 4);
    EXPECT_EQ(read_number_property(kLabel, kPropertyHeight), 20);

    write_property(kLabel, kPropertyVisible, 0);
    EXPECT_FALSE(IsWindowVisible(child(kLabel)));
    write_property(kLabel, kPropertyVisible, 1);
    EXPECT_EQ(read_number_property(kLabel, kPropertyVisible), 1);

    set_enabled(kButton, false);
    EXPECT_FALSE(IsWindowEnabled(child(kButton)));
    EXPECT_EQ(read_number_property(kButton, kPropertyDisable), 1);
    set_enabled(kButton, true);
    EXPECT_TRUE(IsWindowEnabled(child(kButton)));

    // The file dialog has no window; its placement is kept all the same.
    write_property(kDialog, kPropertyLeft, 99);
    EXPECT_EQ(read_number_property(kDialog, kPropertyLeft), 99);
    EXPECT_EQ(read_number_property(kDialog, kPropertyVisible), 0);
}

TEST(Properties, UnknownControlReadsEmptyAndIgnoresWrites) {
    ControlRef unknown{kAnchorId, 0x12345};
    write_property(unknown, 8, "x");
    EXPECT_EQ(read_text_property(unknown, 8), "");
    EXPECT_EQ(read_number_property(unknown, 13), 0);
}

TEST(Properties, WorkFromAnotherThread) {
    std::atomic<bool> done{false};
    Text caption;
    int64_t position = 0;
    std::thread worker([&] {
        write_property(kLabel, 8, "线程");
        caption = read_text_property(kLabel, 8);
        write_property(kBar, 13, 5);
        position = read_number_property(kBar, 13);
        set_enabled(kButton, false);
        set_enabled(kButton, true);
        done = true;
    });
    bool finished = pump_until([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(caption, "线程");
    EXPECT_EQ(position, 5);
    EXPECT_TRUE(IsWindowEnabled(child(kButton)));
}

TEST(Controls, ButtonClickRunsItsHandler) {
    int before = g_clicks;
    SendMessageW(child(kButton), BM_CLICK, 0, 0);
    EXPECT_EQ(g_clicks, before + 1);
}

TEST(Controls, LabelFontFromItsDefinition) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(child(kBoldLabel), WM_GETFONT, 0, 0));
    LOGFONTW lf{};
    ASSERT_TRUE(font && GetObjectW(font, sizeof lf, &lf));
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfCharSet, 134);
}

// Types `typed` character by character, then takes the focus away.
std::wstring type_and_leave(const wchar_t* typed) {
    HWND edit = child(kEdit);
    SetWindowTextW(edit, L"");
    for (const wchar_t* c = typed; *c; ++c)
        SendMessageW(edit, WM_CHAR, *c, 1);
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    return window_text(edit);
}

TEST(IntegerEditBox, TypingFilterAndNormalisationOnLeaving) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* left;
    } cases[] = {
        {L"abc", L""},
        {L"-5", L"-5"},
        {L"0", L""},
        {L"000", L""},
        {L"99999999999", L"2147483647"},
        {L"007", L"7"},
        {L"1x2y3", L"123"},
        {L"-99999999999", L"-2147483648"},
        {L"12-3", L"12"},
        {L"--4", L""},
        {L"\x4E2D"
         L"8",
         L"8"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(type_and_leave(c.typed), c.left) << static_cast<const void*>(c.typed);
}

TEST(IntegerEditBox, ControlCharactersPassAndTheCaretStays) {
    HWND edit = child(kEdit);
    SetWindowTextW(edit, L"123");
    SendMessageW(edit, EM_SETSEL, 3, 3);
    SendMessageW(edit, WM_CHAR, VK_BACK, 1);
    EXPECT_EQ(window_text(edit), L"12");

    SetWindowTextW(edit, L"-0012");
    SendMessageW(edit, EM_SETSEL, 2, 2);
    SendMessageW(edit, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(window_text(edit), L"-12");
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 2u);
}

UINT_PTR g_timer = 0;
std::string g_seen;

void CALLBACK inspect_modal(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(nullptr, g_timer);
    HWND modal = loaded_window_handle(kModalId);
    g_seen += IsWindowEnabled(anchor()) ? "anchor enabled;" : "anchor disabled;";
    g_seen += GetWindow(modal, GW_OWNER) == anchor() ? "owned;" : "not owned;";
    g_seen += load_window(kModalId) && loaded_window_handle(kModalId) == modal ? "same;" : "other;";
    PostMessageW(modal, WM_CLOSE, 0, 0);
}

TEST(Windows, ModalWindowDisablesTheOthersUntilItCloses) {
    g_events.clear();
    g_seen.clear();
    SetActiveWindow(anchor());
    g_timer = SetTimer(nullptr, 0, 50, inspect_modal);
    EXPECT_TRUE(load_window(kModalId, nullptr, true));
    EXPECT_EQ(g_events, "created;destroying;");
    EXPECT_EQ(g_seen, "anchor disabled;owned;same;");
    EXPECT_FALSE(window_is_loaded(kModalId));
    EXPECT_TRUE(IsWindowEnabled(anchor()));
}

TEST(Windows, LoadingAnOpenWindowRestoresIt) {
    ASSERT_TRUE(load_window(kModalId));
    HWND modal = loaded_window_handle(kModalId);
    ShowWindow(modal, SW_MINIMIZE);
    EXPECT_TRUE(load_window(kModalId));
    EXPECT_EQ(loaded_window_handle(kModalId), modal);
    EXPECT_FALSE(IsIconic(modal));
    DestroyWindow(modal);
    EXPECT_FALSE(window_is_loaded(kModalId));
    EXPECT_EQ(g_events.substr(g_events.size() - 11), "destroying;");
}

BOOL CALLBACK find_embedding(HWND window, LPARAM out) {
    if (testing::class_of(window) != L"Shell Embedding") return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

// The browser's own window inside the control's host window.
HWND embedded_browser(HWND host) {
    HWND found = nullptr;
    EnumChildWindows(host, find_embedding, reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST(Browser, SettingsReachTheBrowserAndItFollowsItsHostsSize) {
    ASSERT_TRUE(load_window(kBrowserWindowId));
    HWND host = child(kBrowser);
    HWND browser = embedded_browser(host);
    ASSERT_TRUE(browser);
    RECT r;
    GetClientRect(browser, &r);
    EXPECT_EQ(r.right, 200);
    EXPECT_EQ(r.bottom, 100);

    EXPECT_EQ(read_number_property(kBrowser, 10), 1);
    EXPECT_EQ(read_number_property(kBrowser, 9), 0);
    write_property(kBrowser, 10, 0);
    write_property(kBrowser, 9, 1);
    EXPECT_EQ(read_number_property(kBrowser, 10), 0);
    EXPECT_EQ(read_number_property(kBrowser, 9), 1);
    write_property(kBrowser, 8, 4);
    EXPECT_EQ(read_number_property(kBrowser, 8), 4);

    write_property(kBrowser, kPropertyWidth, 250);
    write_property(kBrowser, kPropertyHeight, 60);
    GetClientRect(browser, &r);
    EXPECT_EQ(r.right, 250);
    EXPECT_EQ(r.bottom, 60);

    DestroyWindow(loaded_window_handle(kBrowserWindowId));
    EXPECT_FALSE(window_is_loaded(kBrowserWindowId));
}

TEST(Windows, UnknownWindowIsNotLoaded) {
    EXPECT_FALSE(load_window(0x7E0000FF));
}

TEST(Windows, CentredWithItsOuterSizeAndFixedBorder) {
    RECT r;
    GetWindowRect(anchor(), &r);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 300);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 400) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 300) / 2);
    LONG style = GetWindowLongW(anchor(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(window_text(anchor()), wide("锚"));
}

} // namespace
} // namespace brindor
