// How long and how far one HttpRequest call may go. A test build may shorten the overall limit
// with the CMake cache variable BRINDOR_REQUEST_LIMIT_MS; the program ships with 30 s.
#pragma once
#include <cstdint>

#ifndef BRINDOR_REQUEST_LIMIT_MS
#define BRINDOR_REQUEST_LIMIT_MS 30000
#endif

namespace brindor {

// The whole call, every hop and every byte included; it also ends a trickle that never stalls
// long enough for a receive time-out.
inline constexpr uint32_t kRequestLimitMs = BRINDOR_REQUEST_LIMIT_MS;
// Each connect, send and receive on its own; never longer than the whole call.
inline constexpr uint32_t kSocketTimeoutMs = kRequestLimitMs < 15000 ? kRequestLimitMs : 15000;
// Redirects per call, whoever would follow them; the answer that reaches the bound is returned.
inline constexpr int kMaxRedirectHops = 10;

} // namespace brindor
