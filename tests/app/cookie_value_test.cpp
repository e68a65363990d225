#include <gtest/gtest.h>

#include <string>

#include "app/signin/cookie_value.h"

using namespace brindor;
using brindor::app::CombineHostCookies;
using brindor::app::CookieValue;

TEST(CookieValue, FindsTheNamedValue) {
    struct Case {
        const char* cookies;
        const char* name;
        const char* value;
    } cases[] = {
        {"userid=1234; usrname=alice", "userid", "1234"},
        {"userid=1234; usrname=alice", "usrname", "alice"},
        {"UserId=7", "userid", "7"},
        {"userid=7", "USERID", "7"},
        // Whole names only: a longer name that ends in the sought one is passed over.
        {"xuserid=9; userid=1234", "userid", "1234"},
        {"xuserid=9", "userid", ""},
        {"a=1;userid=3", "userid", "3"},
        {"a=xuserid=9; USERID=4", "userid", "4"},
        {"a=1; userid=55", "userid", "55"},
        {"a=1; userid=55;", "userid", "55"},
        {"  userid=5 \xA1\xA1", "userid", "5"},
        {"userid=; usrname=bob", "userid", ""},
        {"usrname=bob", "userid", ""},
        {"userid", "userid", ""},
        {"", "userid", ""},
        {"usrname=\xD5\xC5\xC8\xFD; userid=8", "usrname", "\xD5\xC5\xC8\xFD"},
    };
    for (const Case& c : cases) {
        Text cookies = c.cookies;
        EXPECT_EQ(CookieValue(cookies, c.name), c.value) << c.cookies << " / " << c.name;
    }
}

TEST(CookieValue, LeavesTheCallersTextTrimmedAndClosed) {
    struct Case {
        const char* before;
        const char* after;
    } cases[] = {
        {"  a=1; b=2  ", "a=1; b=2;"},
        {"a=1;", "a=1;"},
        {"", ";"},
        {"   ", ";"},
    };
    for (const Case& c : cases) {
        Text cookies = c.before;
        CookieValue(cookies, "a");
        EXPECT_EQ(cookies, c.after) << '"' << c.before << '"';
    }
}

TEST(CombineHostCookies, MergesBothTextsBeforeLookingUp) {
    const Text untouched(std::string(3000, ' ').c_str());
    struct Case {
        const char* label;
        Text plain;
        Text http_only;
        const char* name;
        const char* result;
    } cases[] = {
        {"both calls untouched", untouched, untouched, "userid", ""},
        {"both untouched, whole text", untouched, untouched, "", ""},
        {"only the HttpOnly call filled", untouched, "userid=42; sessionid=ab", "userid", "42"},
        {"only the plain call filled", "usrname=alice; userid=42", untouched, "usrname", "alice"},
        {"the same cookies in both", "usrname=alice; userid=42", "usrname=alice; userid=42; sessionid=ab", "",
         "usrname=alice; userid=42; sessionid=ab"},
        {"a deleted cookie is gone", "userid=42", "userid=deleted", "userid", ""},
    };
    for (Case& c : cases)
        EXPECT_EQ(CombineHostCookies(c.plain, c.http_only, c.name), c.result) << c.label;
}
