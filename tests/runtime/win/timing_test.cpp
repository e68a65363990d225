#include <gtest/gtest.h>

#include <thread>

#include "runtime/win/dialog_ops.h"

using namespace brindor;

namespace {

int g_received = 0;

LRESULT CALLBACK counting_procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) {
        ++g_received;
        return 0;
    }
    return DefWindowProcW(window, message, w, l);
}

// A message-only window of the calling thread that counts the WM_APP messages it receives.
class CountingWindow {
  public:
    CountingWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = counting_procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"timing test window";
        RegisterClassW(&wc);
        handle_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        g_received = 0;
    }
    ~CountingWindow() { DestroyWindow(handle_); }
    HWND handle() const { return handle_; }
    void post(int times = 1) const {
        for (int i = 0; i < times; ++i)
            PostMessageW(handle_, WM_APP, 0, 0);
    }

  private:
    HWND handle_;
};

bool waiting(UINT message) {
    MSG msg;
    return PeekMessageW(&msg, nullptr, message, message, PM_NOREMOVE);
}

void drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

} // namespace

TEST(Delay, WaitsWithoutTouchingMessages) {
    CountingWindow window;
    window.post();
    struct Case {
        int milliseconds;
        ULONGLONG at_least, below;
    } cases[] = {{-5, 0, 50}, {0, 0, 50}, {120, 100, 1000}};
    for (const Case& c : cases) {
        ULONGLONG start = GetTickCount64();
        delay(c.milliseconds);
        ULONGLONG elapsed = GetTickCount64() - start;
        EXPECT_GE(elapsed, c.at_least) << c.milliseconds;
        EXPECT_LT(elapsed, c.below) << c.milliseconds;
    }
    EXPECT_EQ(g_received, 0);
    EXPECT_TRUE(waiting(WM_APP));
    drain();
}

TEST(DoEvents, DispatchesWaitingMessagesAndLeavesQuitQueued) {
    CountingWindow window;
    window.post(3);
    PostQuitMessage(7);
    do_events();
    EXPECT_EQ(g_received, 3);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    drain();
}

TEST(DoEvents, OnAnotherThreadLeavesThisThreadsQueueAlone) {
    CountingWindow window;
    window.post(2);
    std::thread([] { do_events(); }).join();
    EXPECT_EQ(g_received, 0);
    do_events();
    EXPECT_EQ(g_received, 2);
}
