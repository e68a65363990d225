// The current time in milliseconds since 1970-01-01 00:00:00 UTC, as decimal text.
#pragma once
#include <cstdint>

#include "runtime/core/text.h"

namespace brindor {

// Asks a JScript script object on the calling thread (balancing its own COM start-up); where
// no such object works, the system clock answers, so the result is never empty.
Text ScriptTimestamp();

// While one lives on a thread, that thread's ScriptTimestamp calls share one script object and
// one COM start-up. A script object that has run code is never freed under Wine, so a long
// series of timestamps, such as a batch run, must not make one per call.
class ScriptClockScope {
  public:
    ScriptClockScope();
    ~ScriptClockScope();
    ScriptClockScope(const ScriptClockScope&) = delete;
    ScriptClockScope& operator=(const ScriptClockScope&) = delete;

  private:
    int32_t com_started_;
    ScriptClockScope* outer_;
};

} // namespace brindor
