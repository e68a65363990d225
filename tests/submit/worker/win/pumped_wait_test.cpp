#include <windows.h>

#include <gtest/gtest.h>

#include "submit/win/pumped_wait.h"

namespace brindor {
namespace {

double ElapsedMs(LARGE_INTEGER since) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - since.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

double TimeWait(int32_t ms) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    PumpedWait(ms);
    return ElapsedMs(start);
}

TEST(PumpedWait, LastsAboutTheInterval) {
    EXPECT_LT(TimeWait(0), 3);
    EXPECT_LT(TimeWait(-5), 3);
    EXPECT_LT(TimeWait(INT32_MIN), 3);
    EXPECT_GE(TimeWait(7), 6.5);
    const double hundred = TimeWait(100);
    EXPECT_GE(hundred, 99);
    EXPECT_LT(hundred, 400);
}

int handled = 0;
LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) ++handled;
    return DefWindowProcW(window, message, w, l);
}

TEST(PumpedWait, ServesTheThreadsMessagesWhileWaiting) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = CountingProcedure;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"PumpedWaitTest";
    RegisterClassW(&cls);
    HWND window = CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  cls.hInstance, nullptr);
    ASSERT_TRUE(window);
    handled = 0;
    PostMessageW(window, WM_APP, 0, 0);
    PumpedWait(4); // shorter than one slice: no pumping
    EXPECT_EQ(handled, 0);
    PumpedWait(10);
    EXPECT_EQ(handled, 1);
    DestroyWindow(window);
}

} // namespace
} // namespace brindor
