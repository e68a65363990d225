#include "submit/pumped_wait_plan.h"

#include "runtime/core/numbers.h"

namespace brindor {

PumpedWaitPlan PlanPumpedWait(int32_t milliseconds) {
    const double slices = int_divide(milliseconds, kPumpedWaitSlice);
    const double lead = modulo(milliseconds, kPumpedWaitSlice);
    PumpedWaitPlan plan;
    plan.lead_ms = lead > 0 ? static_cast<int>(lead) : 0;
    plan.slices = slices > 0 ? static_cast<int>(slices) : 0;
    return plan;
}

} // namespace brindor
