#include <string>

#include <gtest/gtest.h>

#include "submit/service/win/protocol_requests.h"

namespace brindor {
namespace {

TEST(BuildCommitBody, TitleTravelsAsUpperCaseUtf8PercentEncoding) {
    const struct {
        const char* title; // code page 936
        const char* btname;
    } cases[] = {
        {"my_holiday video-2024.mkv", "my%5Fholiday%20video-2024.mkv"},
        {"\xD6\xD0\xCE\xC4 50% & =?", "%E4%B8%AD%E6%96%87%2050%25%20%26%20%3D%3F"},
        {"Don't ~*", "Don%27t%20%7E%2A"},
        {"", ""},
    };
    for (const auto& c : cases) {
        TaskFields fields{"0F0F", "1", c.title, "0_", "1_"};
        std::string expected =
            std::string("uid=42&btname=") + c.btname +
            "&cid=0F0F&goldbean=0&silverbean=0&tsize=1&findex=0_&size=1_&o_taskid=0&o_page=task"
            "&class_id=0&interfrom=task";
        EXPECT_EQ(BuildCommitBody("42", fields).c_str(), expected) << c.title;
    }
}

} // namespace
} // namespace brindor
