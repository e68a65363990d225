#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "print_text.h"
#include "text/clock_timestamp.h"

namespace brindor {
namespace {

TEST(ClockTimestamp, ThirteenDigitsOfTheCurrentTime) {
    long long before = static_cast<long long>(std::time(nullptr)) * 1000;
    Text stamp = ClockTimestamp();
    long long after = static_cast<long long>(std::time(nullptr)) * 1000 + 1000;
    ASSERT_TRUE(IsTimestampText(stamp)) << stamp.c_str();
    EXPECT_EQ(stamp.length(), 13u);
    long long value = std::atoll(stamp.c_str());
    EXPECT_GE(value, before);
    EXPECT_LT(value, after);
}

// What a script object may hand back instead of a count of milliseconds.
TEST(ClockTimestamp, OnlyDigitRunsCountAsTimestamps) {
    EXPECT_TRUE(IsTimestampText("1765432109876"));
    for (const char* text : {"", "1.765432109876E+12", "-1", " 12", "12a"})
        EXPECT_FALSE(IsTimestampText(text)) << text;
}

} // namespace
} // namespace brindor
