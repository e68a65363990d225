// Waiting on the worker thread without leaving its message queue unserved.
#pragma once
#include <cstdint>

namespace brindor {

// Zero and negative intervals return at once.
void PumpedWait(int32_t milliseconds);

} // namespace brindor
