#include <gtest/gtest.h>

#include <algorithm>

#include "submit/service/throttle_policy.h"

namespace brindor {
namespace {

TEST(Throttle, TooFastAnswersAndTheirRetryAfter) {
    const std::pair<ServiceAnswer, bool> answers[] = {
        {{"", 429, ""}, true},
        {{"<html>busy</html>", 503, ""}, true},
        {{"j({\"id\":null})", 200, "", -1, "操作过于频繁"}, true},
        {{"j({\"id\":null})", 200, "", -1, "Too Many Requests"}, true},
        {{"<html>请稍后再试</html>", 200, ""}, false}, // only a refusal's message counts
    };
    for (const auto& [answer, throttled] : answers)
        EXPECT_EQ(IsThrottled(answer), throttled) << answer.text.c_str() << " " << answer.status;

    constexpr int64_t kNow = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    const std::pair<const char*, int32_t> blocks[] = {
        {"HTTP/1.1 429 x\r\nretry-after:   120 \r\n", 120000},
        {"HTTP/1.1 503 x\r\nRetry-After: 99999999999999999999\r\n", 600000}, // at most 10 minutes
        {"HTTP/1.1 503 x\r\nRetry-After: Sun, 06 Nov 1994 08:50:07 GMT\r\n", 30000},
        {"HTTP/1.1 503 x\r\nRetry-After: Sunday, 06-Nov-94 08:50:07 GMT\r\n", 30000},
        {"HTTP/1.1 503 x\r\nRetry-After: Sun Nov  6 08:50:07 1994\r\n", 30000},
        {"HTTP/1.1 503 x\r\nRetry-After: Sun, 06 Nov 1994 08:49:00 GMT\r\n", 0}, // already past
        // The server's own clock: five seconds after its Date, whatever ours says.
        {"HTTP/1.1 503 x\r\nDate: Tue, 01 Dec 2026 10:00:00 GMT\r\nRetry-After: Tue, 01 Dec 2026 10:00:05 "
         "GMT\r\n",
         5000},
        {"HTTP/1.1 503 x\r\nX-Retry-After: 5\r\n", -1},
        {"HTTP/1.1 503 x\r\nRetry-After: Sun, 06 Foo 1994 08:50:07 GMT\r\n", -1},
    };
    for (const auto& [block, ms] : blocks)
        EXPECT_EQ(RetryAfterMs(block, kNow), ms) << block;
}

TEST(Throttle, BackoffDoublesUpToFiveMinutesWithinTwentyPercent) {
    for (int k = 0; k < 40; ++k) { // 5 s, 10 s, 20 s ... shipped; a test build may start shorter
        const int64_t step = std::min<int64_t>(int64_t{kThrottleFirstStepMs} << std::min(k, 20), 300000);
        EXPECT_EQ(BackoffMs(k, 0.0), step) << k;
        EXPECT_EQ(BackoffMs(k, -1.0), step * 8 / 10) << k;
        EXPECT_EQ(BackoffMs(k, 1.0), step * 12 / 10) << k;
    }
}

} // namespace
} // namespace brindor
