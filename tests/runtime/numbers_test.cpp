#include <gtest/gtest.h>

#include <cmath>

#include "runtime/core/numbers.h"

TEST(Numbers, RoundHalfAwayFromZero) {
    struct Case {
        double value;
        int places;
        double expected;
    } cases[] = {
        {0.125, 2, 0.13}, {-1.005, 2, -1.01}, {2.345, 2, 2.35},   {-2.5, 0, -3},    {2.5, 0, 3},
        {2.4999, 0, 2},   {0, 2, 0},          {1234.5, -2, 1200}, {1250, -2, 1300}, {-1250, -2, -1300},
        {0.4, -1, 0},     {1e300, 2, 1e300},  {1.5, 400, 1.5},    {1.5, -400, 0},   {123.456, 1, 123.5},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(brindor::round(c.value, c.places), c.expected) << c.value << " to " << c.places;
    EXPECT_TRUE(std::isinf(brindor::round(INFINITY, 2)));
}

TEST(Numbers, DivisionAndRemainder) {
    EXPECT_EQ(brindor::int_divide(7, 2), 3);
    EXPECT_EQ(brindor::int_divide(-7, 2), -3);
    EXPECT_EQ(brindor::modulo(7, 3), 1);
    EXPECT_EQ(brindor::modulo(-7, 3), -1);
    EXPECT_EQ(brindor::modulo(7.5, 2), 1.5);
    EXPECT_EQ(brindor::modulo(1e20, 3), 1); // exact even past 2^53
    static_assert(brindor::bit_or(1, 2) == 3);
    EXPECT_EQ(brindor::bit_or(0x10, 0x1000, 0x1, 0x10), 0x1011);
}

// On Windows the report is a message box; the end-to-end driver answers it there.
#ifndef _WIN32
TEST(Numbers, DivisionByZeroIsFatal) {
    EXPECT_EXIT(brindor::int_divide(1, 0), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(brindor::int_divide(1, -0.0), testing::ExitedWithCode(255), "");
    EXPECT_EXIT(brindor::modulo(1, 0), testing::ExitedWithCode(255), "");
}
#endif
