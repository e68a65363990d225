// How a pumped wait is cut up: a short lead wait, then 5 ms slices with the thread's messages
// handled before each, so a long interval never leaves the thread's queue unserved.
#pragma once
#include <cstdint>

namespace brindor {

constexpr int kPumpedWaitSlice = 5;

struct PumpedWaitPlan {
    int lead_ms = 0; // waited first, without pumping; 0 when nothing to wait
    int slices = 0;  // each: handle pending messages, then wait kPumpedWaitSlice ms
};

// Zero or negative intervals wait nothing.
PumpedWaitPlan PlanPumpedWait(int32_t milliseconds);

} // namespace brindor
