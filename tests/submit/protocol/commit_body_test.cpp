#include "submit/commit_body.h"

#include <gtest/gtest.h>

namespace brindor {
namespace {

TEST(IsCommitAccepted, NullAnywhereRefuses) {
    const struct {
        const char* answer;
        bool accepted;
    } cases[] = {
        {"jsonp1700000000000({\"id\":\"1000000001\",\"progress\":1})", true},
        {"jsonp1700000000000({\"id\":null,\"progress\":-1,\"msg\":\"x\"})", false},
        {"", false},
        {"<html>nullified</html>", false},
        {"null", false},
        {"NULL Null", true},
        {"nul l", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsCommitAccepted(ServiceAnswer{Text(c.answer), 200, Text("jsonp1700000000000")}),
                  c.accepted)
            << c.answer;
}

} // namespace
} // namespace brindor
