// What one request to the offline service brought back: the batch judges a link by all of it,
// not by the body alone.
#pragma once
#include <cstdint>

#include "runtime/core/text.h"

namespace brindor {

struct ServiceAnswer {
    Text text;      // the answer body as the protocol step returns it; empty when the exchange failed
    int status = 0; // the final answer's HTTP status; 0 when no status line arrived
    Text callback;  // the JSONP callback name the request asked for
    int32_t retry_after_ms = -1; // how long the service asked the client to wait; -1 when it did not
    Text message = {};           // the service's "msg", decoded into code page 936; empty when it has none
};

} // namespace brindor
