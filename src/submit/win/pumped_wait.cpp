#include "submit/win/pumped_wait.h"

#include "runtime/win/dialog_ops.h"
#include "submit/pumped_wait_plan.h"

namespace brindor {

void PumpedWait(int32_t milliseconds) {
    const PumpedWaitPlan plan = PlanPumpedWait(milliseconds);
    if (plan.lead_ms > 0) delay(plan.lead_ms);
    for (int i = 0; i < plan.slices; ++i) {
        do_events();
        delay(kPumpedWaitSlice);
    }
}

} // namespace brindor
