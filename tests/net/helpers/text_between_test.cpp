#include <gtest/gtest.h>

#include "print_text.h"
#include "net/text_between.h"

namespace brindor {
namespace {

struct BetweenCase {
    const char* text;
    const char* left;
    const char* right;
    int start;
    bool case_sensitive;
    const char* expected;
};

TEST(TextBetween, Cases) {
    const BetweenCase cases[] = {
        {"a=\"1\"", "a=#引号", "#引号", 1, false, "1"},
        {"userid=42; x=1", "userid=", ";", 1, false, "42"},
        {"ab", "a", "b", 1, false, ""},         // right right after left
        {"b...a", "a", "b", 1, false, ""},      // right only before left
        {"x a1b a2b", "a", "b", 4, false, "2"}, // start skips the first left
        {"a1b", "a", "b", -5, false, "1"},      // start below 1
        {"a1b", "a", "b", 99, false, ""},       // start past the end
        {"set-cookie: k=v;", "Set-Cookie:", ";", 1, false, " k=v"},
        {"set-cookie: k=v;", "Set-Cookie:", ";", 1, true, ""},
        {"USER-AGENT: x\r\n", "user-agent:", "\r\n", 1, false, " x"},
        {"abc", "a", "", 1, false, ""},      // empty right finds nothing past left
        {"abcdef", "", "e", 3, false, "cd"}, // empty left: from the start position
        {"", "a", "b", 1, false, ""},
        {"名字=张三;", "名字=", ";", 1, false, "张三"},
        {"\xB0"
         "axazy",
         "a", "y", 1, false, "z"}, // no match on a trail byte
    };
    for (const BetweenCase& c : cases)
        EXPECT_EQ(TextBetween(c.text, c.left, c.right, c.start, c.case_sensitive), c.expected)
            << c.text << " | " << c.left << " | " << c.right << " from " << c.start;
}

TEST(TextBetweenFirst, Cases) {
    const struct {
        const char* text;
        const char* left;
        const char* right;
        const char* expected;
    } cases[] = {
        {"queryUrl(1,2)new Array", "queryUrl", "new Array", "(1,2)"},
        {"queryurl(1,2)new Array", "queryUrl", "new Array", ""}, // letter case counts
        {"nothing here new Array", "queryUrl", "new Array", ""},
        {"queryUrl(1,2)", "queryUrl", "new Array", ""},
        {"new Array queryUrl(1)", "queryUrl", "new Array", ""},
        {"x(a)(b)", "(", ")", "a"},
        {"abXb", "ab", "b", "X"}, // a right delimiter inside the left one does not hide a later one
        {"aXa", "a", "a", "X"},
        {"ab", "a", "b", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextBetweenFirst(c.text, c.left, c.right), c.expected) << c.text;
}

TEST(ValueAfterColon, Cases) {
    EXPECT_EQ(ValueAfterColon("Location:  http://h/x  "), "http://h/x");
    EXPECT_EQ(ValueAfterColon("Location: http://h:8080/x"), "http://h:8080/x");
    EXPECT_EQ(ValueAfterColon("Name:"), "");
    EXPECT_EQ(ValueAfterColon("no colon"), "");
    EXPECT_EQ(ValueAfterColon(""), "");
}

} // namespace
} // namespace brindor
