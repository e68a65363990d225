#include <gtest/gtest.h>

#include "submit/progress_text.h"

namespace brindor {
namespace {

struct SizeCase {
    const char* tsize;
    const char* shown;
};

TEST(FormatSize, PicksUnitAndRounds) {
    const SizeCase cases[] = {
        {"1610612736", "1.5GB"},
        {"1073741824", "1024MB"}, // exactly one unit stays in the unit below
        {"1073741931", "1024MB"}, // still within the margin
        {"1073741932", "1GB"},    // just past it
        {"1048576", "1024KB"},
        {"1048577", "1MB"},
        {"3145728", "3MB"},
        {"1536", "1.5KB"},
        {"100", "0.1KB"},
        {"1", "0KB"},
        {"0", "0KB"},
        {"", "0KB"},
        {"abc", "0KB"},
        {"'", "0KB"},
        {"2048 bytes", "2KB"},
        {"12345678901234", "11497.81GB"},
        {"-2048", "-2KB"},
    };
    for (const SizeCase& c : cases)
        EXPECT_STREQ(FormatSize(c.tsize).c_str(), c.shown) << c.tsize;
}

TEST(PercentText, RoundsToHundredthsOfAPercent) {
    struct Case {
        int done, total;
        const char* shown;
    };
    const Case cases[] = {
        {1, 3, "33.33%"}, {2, 3, "66.67%"},  {3, 3, "100%"},       {1, 7, "14.29%"}, {1, 8, "12.5%"},
        {1, 1, "100%"},   {1, 1000, "0.1%"}, {999, 1000, "99.9%"}, {1, 30000, "0%"}, {2, 30000, "0.01%"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(PercentText(c.done, c.total).c_str(), c.shown) << c.done << "/" << c.total;
}

TEST(PercentText, NoTotalGivesNoText) {
    EXPECT_TRUE(PercentText(0, 0).empty());
}

} // namespace
} // namespace brindor
