// When the service asks the client to slow down, and how long to wait before asking again.
// A test build may shorten the first back-off step with the CMake cache variable
// BRINDOR_THROTTLE_STEP_MS; the program ships with 5 s.
#pragma once
#include <cstdint>

#include "runtime/core/text_ref.h"
#include "submit/service/service_answer.h"

#ifndef BRINDOR_THROTTLE_STEP_MS
#define BRINDOR_THROTTLE_STEP_MS 5000
#endif

namespace brindor {

inline constexpr int32_t kThrottleFirstStepMs = BRINDOR_THROTTLE_STEP_MS;
inline constexpr int32_t kThrottleStepCapMs = 5 * 60 * 1000;
inline constexpr int32_t kRetryAfterCapMs = 10 * 60 * 1000;
// Requests of one link answered "too fast" before it fails as 服务繁忙.
inline constexpr int kThrottleTries = 6;

// Status 429 or 503, or an answer whose message says the client asks too often.
bool IsThrottled(const ServiceAnswer& answer);

// The Retry-After line of an answer header block in milliseconds, at most kRetryAfterCapMs: a
// number of seconds, or an HTTP date counted from the block's own Date line (the server's clock)
// or, without one, from `now` (Unix seconds). -1 when there is none or it cannot be read.
int32_t RetryAfterMs(TextRef raw_headers, int64_t now);

// The wait after the k-th throttled answer (k from 0) without a Retry-After: the first step
// doubled k times, capped, then scaled by 1 + 0.2 * jitter (jitter within -1..1) so that clients
// throttled together do not come back together.
int32_t BackoffMs(int k, double jitter);

// The answer's Retry-After when it has one, else the back-off step.
int32_t ThrottleWaitMs(const ServiceAnswer& answer, int k, double jitter);

} // namespace brindor
