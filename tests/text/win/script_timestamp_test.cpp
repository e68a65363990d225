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

// Committed private memory of the process, counted region by region (Wine leaves the process
// memory counters at zero).
size_t private_bytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at) break;
    }
    return total;
}

// A run commits thousands of links: inside a scope the timestamps must not cost memory per call,
// and the scope's end gives the thread's COM back.
TEST(ScriptTimestamp, ScopeSharesOneObjectAndEndsItsCom) {
    constexpr int kCalls = 300;
    bool increasing = true, all_valid = true;
    size_t grown = 0;
    HRESULT after = E_FAIL;
    std::thread worker([&] {
        {
            ScriptClockScope scope;
            Text previous = ScriptTimestamp(); // the object and the engine are made here
            size_t before = private_bytes();
            for (int i = 0; i < kCalls; ++i) {
                Text stamp = ScriptTimestamp();
                all_valid = all_valid && IsTimestampText(stamp);
                increasing = increasing && std::atoll(stamp.c_str()) >= std::atoll(previous.c_str());
                previous = stamp;
            }
            grown = private_bytes() - before;
        }
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED); // S_OK: the scope ended its COM
        if (SUCCEEDED(after)) CoUninitialize();
    });
    worker.join();
    EXPECT_TRUE(all_valid);
    EXPECT_TRUE(increasing);
    // Under Wine every object made per call stays behind; 300 of them hold hundreds of MB.
    EXPECT_LT(grown, 1024u * 1024u);
    EXPECT_EQ(after, S_OK);
}

} // namespace
} // namespace brindor
