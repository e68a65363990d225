#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <thread>

#include "print_text.h"
#include "text/clock_timestamp.h"
#include "text/win/script_timestamp.h"

namespace brindor {
namespace {

TEST(ScriptTimestamp, TwoCallsASecondApartOnAWorkerThread) {
    Text first, second;
    std::thread worker([&] {
        first = ScriptTimestamp();
        Sleep(1000);
        second = ScriptTimestamp();
    });
    worker.join();
    ASSERT_TRUE(IsTimestampText(first)) << first.c_str();
    ASSERT_TRUE(IsTimestampText(second)) << second.c_str();
    EXPECT_EQ(first.length(), 13u);
    EXPECT_EQ(second.length(), 13u);
    long long apart = std::atoll(second.c_str()) - std::atoll(first.c_str());
    EXPECT_GE(apart, 900);
    EXPECT_LT(apart, 2000);
    long long clock = std::atoll(ClockTimestamp().c_str());
    EXPECT_LT(std::llabs(clock - std::atoll(second.c_str())), 5000);
}

// A thread that already runs COM in another mode keeps it: the call must not end it.
TEST(ScriptTimestamp, LeavesAnotherApartmentAlone) {
    HRESULT again = E_FAIL;
    Text stamp;
    std::thread worker([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        stamp = ScriptTimestamp();
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED); // S_FALSE: still initialised
        if (SUCCEEDED(again)) CoUninitialize();
        CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(again, S_FALSE);
    EXPECT_TRUE(IsTimestampText(stamp)) << stamp.c_str();
    EXPECT_EQ(stamp.length(), 13u);
}

} // namespace
} // namespace brindor
