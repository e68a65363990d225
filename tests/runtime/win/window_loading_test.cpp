#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/win/window/window_procedure.h"
#include "window_test_fixture.h"
#include "window_test_support.h"

namespace brindor::window_tests {
namespace {

using testing::wide;
using testing::window_text;

UINT_PTR g_timer = 0;
std::string g_seen;

void CALLBACK inspect_modal(HWND, UINT, UINT_PTR, DWORD) {
    KillTimer(nullptr, g_timer);
    HWND modal = loaded_window_handle(kModalId);
    enable_windows_nothing_holds(); // the modal window holds it
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

    // A box or a common dialog of this thread holds it while it shows.
    EnableWindow(anchor(), FALSE);
    HWND box = CreateWindowExW(0, L"#32770", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    for (bool shown : {true, false}) {
        ShowWindow(box, shown ? SW_SHOWNA : SW_HIDE);
        enable_windows_nothing_holds();
        EXPECT_EQ(IsWindowEnabled(anchor()) != 0, !shown) << shown;
    }
    DestroyWindow(box);
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

TEST(Windows, AWindowMayStayWhenAskedToCloseAndFinishesAtTheSessionsEnd) {
    ASSERT_TRUE(load_window(kModalId));
    HWND modal = loaded_window_handle(kModalId);
    g_modal_stays = true;
    SendMessageW(modal, WM_CLOSE, 0, 0);
    EXPECT_TRUE(window_is_loaded(kModalId));
    EXPECT_EQ(SendMessageW(modal, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(g_modal_session_ends, 1);
    g_modal_stays = false;
    SendMessageW(modal, WM_CLOSE, 0, 0);
    EXPECT_FALSE(window_is_loaded(kModalId));
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
} // namespace brindor::window_tests
