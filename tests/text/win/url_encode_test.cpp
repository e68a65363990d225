#include <gtest/gtest.h>

#include "print_text.h"
#include "text/win/url_encode.h"

namespace brindor {
namespace {

TEST(UrlEncode, Flags) {
    const struct {
        const char* text;
        bool keep_unreserved;
        bool utf8;
        const char* expected;
    } cases[] = {
        {"a b/中.txt_~", true, true, "a%20b%2F%E4%B8%AD.txt%5F%7E"},
        {"a b/中.txt_~", true, false, "a%20b%2F%D6%D0.txt%5F%7E"},
        {"中a", false, true, "%E4%B8%AD%61"},
        {"a\n", false, false, "%61%0A"},
        {"", true, true, ""},
        {"[1080p] 标题'x'", true, true, "%5B1080p%5D%20%E6%A0%87%E9%A2%98%27x%27"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UrlEncode(c.text, c.keep_unreserved, c.utf8), c.expected) << c.text;
    EXPECT_EQ(UrlEncode("a-"), "%61%2D"); // both flags default to off
}

} // namespace
} // namespace brindor
