#include <gtest/gtest.h>

#include "runtime/core/conversions.h"
#include "submit/pumped_wait_plan.h"

namespace brindor {
namespace {

TEST(PlanPumpedWait, CutsIntoLeadAndFiveMillisecondSlices) {
    struct Case {
        int32_t ms;
        int lead, slices;
    };
    const Case cases[] = {
        {7, 2, 1},  {1000, 0, 200},    {3, 3, 0},
        {5, 0, 1},  {0, 0, 0},         {-5, 0, 0},
        {-7, 0, 0}, {INT32_MIN, 0, 0}, {INT32_MAX, 2, 429496729},
    };
    for (const Case& c : cases) {
        const PumpedWaitPlan plan = PlanPumpedWait(c.ms);
        EXPECT_EQ(plan.lead_ms, c.lead) << c.ms;
        EXPECT_EQ(plan.slices, c.slices) << c.ms;
    }
}

TEST(PlanPumpedWait, IntervalTextsAsTheEditBoxHoldsThem) {
    struct Case {
        const char* content;
        int lead, slices;
    };
    const Case cases[] = {{"", 0, 0}, {"-5", 0, 0}, {"7", 2, 1}, {"1000", 0, 200}, {"12abc", 2, 2}};
    for (const Case& c : cases) {
        const PumpedWaitPlan plan = PlanPumpedWait(to_integer(c.content));
        EXPECT_EQ(plan.lead_ms, c.lead) << c.content;
        EXPECT_EQ(plan.slices, c.slices) << c.content;
    }
}

} // namespace
} // namespace brindor
