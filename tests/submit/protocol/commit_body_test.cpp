#include "submit/commit_body.h"

#include <gtest/gtest.h>

namespace brindor {
namespace {

TEST(JoinCommitFields, TwelveFieldsInOrderOnlyTheTitleEncoded) {
    TaskFields fields{"A&B", "268435456", "ignored", "0_1,2_", "268435456_"};
    EXPECT_STREQ(JoinCommitFields("100001", "my%5Fholiday", fields).c_str(),
                 "uid=100001&btname=my%5Fholiday&cid=A&B&goldbean=0&silverbean=0&tsize=268435456"
                 "&findex=0_1,2_&size=268435456_&o_taskid=0&o_page=task&class_id=0&interfrom=task");
    EXPECT_STREQ(JoinCommitFields("", "", TaskFields{}).c_str(),
                 "uid=&btname=&cid=&goldbean=0&silverbean=0&tsize=&findex=&size=&o_taskid=0&o_page=task"
                 "&class_id=0&interfrom=task");
}

TEST(IsCommitAccepted, NullAnywhereRefuses) {
    const struct {
        const char* answer;
        bool accepted;
    } cases[] = {
        {"jsonp1700000000000({\"id\":\"1000000001\",\"progress\":1})", true},
        {"jsonp1700000000000({\"id\":null,\"progress\":-1,\"msg\":\"x\"})", false},
        {"", true},
        {"<html>nullified</html>", false},
        {"null", false},
        {"NULL Null", true},
        {"nul l", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsCommitAccepted(c.answer), c.accepted) << c.answer;
}

} // namespace
} // namespace brindor
