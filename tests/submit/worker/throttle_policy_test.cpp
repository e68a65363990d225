#include <gtest/gtest.h>

#include <algorithm>

#include "submit/throttle_policy.h"

namespace brindor {
namespace {

TEST(Throttle, TooFastAnswers) {
    struct Case {
        ServiceAnswer answer;
        bool throttled;
    };
    const Case cases[] = {
        {{"", 429, "jsonp1"}, true},
        {{"<html>busy</html>", 503, "jsonp1"}, true},
        {{"", 500, "jsonp1"}, false},
        {{"", 0, "jsonp1"}, false},
        {{"jsonp1({\"id\":null,\"msg\":\"操作过于频繁\"})", 200, "jsonp1"}, true},
        {{"jsonp1({\"id\":null,\"msg\":\"提交太快\"})", 200, "jsonp1"}, true},
        {{"jsonp1({\"id\":null,\"msg\":\"请稍后再试\"})", 200, "jsonp1"}, true},
        {{"jsonp1({\"id\":null,\"msg\":\"Too Many Requests\"})", 200, "jsonp1"}, true},
        {{"jsonp1({\"id\":null,\"msg\":\"该资源已被屏蔽\"})", 200, "jsonp1"}, false},
        {{"<html>请稍后再试</html>", 200, "jsonp1"}, false}, // only a refusal's message counts
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsThrottled(c.answer), c.throttled) << c.answer.text.c_str() << " " << c.answer.status;
}

TEST(Throttle, RetryAfterFromTheHeaderBlock) {
    constexpr int64_t kNow = 784111777; // Sun, 06 Nov 1994 08:49:37 GMT
    struct Case {
        const char* block;
        int32_t ms;
    };
    const Case cases[] = {
        {"HTTP/1.1 429 Too Many Requests\r\nRetry-After: 2\r\n\r\n", 2000},
        {"HTTP/1.1 429 x\r\nretry-after:   120 \r\n", 120000},
        {"HTTP/1.1 503 x\r\nRetry-After: 0\r\n", 0},
        {"HTTP/1.1 503 x\r\nRetry-After: 99999999999999999999\r\n", 600000}, // at most 10 minutes
        {"HTTP/1.1 503 x\r\nRetry-After: Sun, 06 Nov 1994 08:50:07 GMT\r\n", 30000},
        {"HTTP/1.1 503 x\r\nRetry-After: Sunday, 06-Nov-94 08:50:07 GMT\r\n", 30000},
        {"HTTP/1.1 503 x\r\nRetry-After: Sun Nov  6 08:50:07 1994\r\n", 30000},
        {"HTTP/1.1 503 x\r\nRetry-After: Sun, 06 Nov 1994 08:49:00 GMT\r\n", 0}, // already past
        {"HTTP/1.1 503 x\r\nRetry-After: Mon, 07 Nov 1994 08:49:37 GMT\r\n", 600000},
        // The server's own clock: five seconds after its Date, whatever ours says.
        {"HTTP/1.1 503 x\r\nDate: Tue, 01 Dec 2026 10:00:00 GMT\r\nRetry-After: Tue, 01 Dec 2026 10:00:05 "
         "GMT\r\n",
         5000},
        {"HTTP/1.1 503 x\r\nX-Retry-After: 5\r\n", -1},
        {"HTTP/1.1 503 x\r\nRetry-After: soon\r\n", -1},
        {"HTTP/1.1 503 x\r\nRetry-After: Sun, 06 Foo 1994 08:50:07 GMT\r\n", -1},
        {"", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RetryAfterMs(c.block, kNow), c.ms) << c.block;
}

TEST(Throttle, BackoffDoublesUpToFiveMinutesWithinTwentyPercent) {
    // 5 s, 10 s, 20 s ... in the shipped program; a test build may start shorter.
    for (int k = 0; k < 40; ++k) {
        const int64_t step = std::min<int64_t>(int64_t{kThrottleFirstStepMs} << std::min(k, 20), 300000);
        EXPECT_EQ(BackoffMs(k, 0.0), step) << k;
        EXPECT_EQ(BackoffMs(k, -1.0), step * 8 / 10) << k;
        EXPECT_EQ(BackoffMs(k, 1.0), step * 12 / 10) << k;
    }
    EXPECT_EQ(BackoffMs(40, 3.0), 360000); // jitter beyond its range counts as its end
    EXPECT_EQ(ThrottleWaitMs(ServiceAnswer{"", 429, "", 2000}, 3, 1.0), 2000);
    EXPECT_EQ(ThrottleWaitMs(ServiceAnswer{"", 429, "", -1}, 1, 0.0), BackoffMs(1, 0.0));
}

} // namespace
} // namespace brindor
