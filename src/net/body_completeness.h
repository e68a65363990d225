// Whether an answer arrived whole. A body cut short must not pass for the service's answer: the
// caller then gets empty text, as for any other failed exchange.
#pragma once
#include <cstdint>

#include "runtime/core/text_ref.h"

namespace brindor {

struct BodyReceipt {
    uint64_t received = 0;    // body bytes delivered
    bool read_failed = false; // a read or availability query reported a failure (reset, abort)
    bool timed_out = false;   // the call ran out of time before the end of the body
};

// The number the Content-Length value announces; -1 when there is none or it is not a plain
// decimal number (the body then ends with the connection).
int64_t DeclaredLength(TextRef contentLength);

// No failure, no time-out, and at least the announced length when one was announced.
bool IsBodyComplete(TextRef contentLength, const BodyReceipt& receipt);

} // namespace brindor
