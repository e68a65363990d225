#include <gtest/gtest.h>

#include "print_text.h"
#include "net/cookies.h"

namespace brindor {
namespace {

struct MergeCase {
    const char* old_cookies;
    const char* new_cookies;
    const char* merged;
    const char* new_after;
};

TEST(MergeCookies, Cases) {
    const MergeCase cases[] = {
        {"a=1; b=2; c=3", "b=9; c=deleted", "b=9; a=1", "b=9;c=deleted"},
        {"", "", "", ""},
        {"", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
        {"", "a=1; a=1", "a=1", "a=1;a=1"},
        {"a=1; a=2", "", "a=1", ""},       // of old duplicates only the first survives
        {"a=1", "A=2", "A=2; a=1", "A=2"}, // names compare with letter case
        {"a=1", "x=deleted", "a=1", "x=deleted"},
        {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
        {"a=x y", "", "a=x y", ""}, // a value keeps its inner spaces
        {" a = 1 ;b=2 ", "c=3; ", "c=3; a=1; b=2", "c=3;"},
        {"flag; a=1", "flag", "flag; a=1", "flag"},
        {"usrname=张三", "userid=7", "userid=7; usrname=张三", "userid=7"},
        {"a=1\xA1\xA1; b=2", "", "a=1; b=2", ""}, // full-width spaces around items go too
    };
    for (const MergeCase& c : cases) {
        Text old_cookies(c.old_cookies);
        Text new_cookies(c.new_cookies);
        Text result = MergeCookies(old_cookies, new_cookies);
        EXPECT_EQ(result, c.merged) << c.old_cookies << " + " << c.new_cookies;
        EXPECT_EQ(old_cookies, c.merged) << c.old_cookies << " + " << c.new_cookies;
        EXPECT_EQ(new_cookies, c.new_after) << c.old_cookies << " + " << c.new_cookies;
    }
}

TEST(CookieName, Cases) {
    EXPECT_EQ(CookieName(" userid = 5"), "userid");
    EXPECT_EQ(CookieName("a=b=c"), "a");
    EXPECT_EQ(CookieName("  flag "), "flag");
    EXPECT_EQ(CookieName("=v"), "");
    EXPECT_EQ(CookieName(""), "");
}

TEST(DedupeList, Cases) {
    EXPECT_EQ(DedupeList("x; y; x", "; "), "x; y");
    EXPECT_EQ(DedupeList("x; y; x; ", "; "), "x; y");
    EXPECT_EQ(DedupeList("x;; y", ";"), "x;; y"); // one empty item kept
    EXPECT_EQ(DedupeList(";;x;", ";"), ";x");
    EXPECT_EQ(DedupeList("X,x,X", ","), "X,x");
    EXPECT_EQ(DedupeList("", ","), "");
}

} // namespace
} // namespace brindor
