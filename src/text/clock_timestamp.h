// The current time from the system clock, for when no script object can tell it.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// Milliseconds since 1970-01-01 00:00:00 UTC as decimal digits.
Text ClockTimestamp();

// Whether a text is a plain run of decimal digits, as a timestamp must be.
bool IsTimestampText(TextRef text);

} // namespace brindor
