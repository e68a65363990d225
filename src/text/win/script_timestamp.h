// The current time in milliseconds since 1970-01-01 00:00:00 UTC, as decimal text.
#pragma once
#include "runtime/core/text.h"

namespace brindor {

// Asks a JScript script object on the calling thread (balancing its own COM start-up); where
// no such object works, the system clock answers, so the result is never empty.
Text ScriptTimestamp();

} // namespace brindor
