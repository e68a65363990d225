#include "net/body_completeness.h"
#include "net/redirect_rules.h"

#include <string>

#include <gtest/gtest.h>

namespace brindor {
namespace {

TEST(RedirectRules, LocationAgainstTheAnsweringUrl) {
    const struct {
        const char* location;
        const char* base;
        const char* expected;
    } cases[] = {
        {"http://a:1/x", "http://h/p?q", "http://a:1/x"},
        {" HTTPS://A/x ", "http://h/", "HTTPS://A/x"},
        {"/n?x", "http://h:81/p/q?z", "http://h:81/n?x"},
        {"n", "http://h/p/q?z=/y", "http://h/p/n"},
        {"n", "http://h", "http://h/n"},
        {"//o:2/x", "https://h/", "https://o:2/x"},
        {"", "http://h/p/q", "http://h/p/"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(ResolveLocation(c.location, c.base).c_str(), c.expected)
            << c.location << " @ " << c.base;
}

TEST(RedirectRules, OriginsAndServiceHosts) {
    EXPECT_TRUE(SameOrigin("http://H/x", "http://h:80/y"));
    EXPECT_TRUE(SameOrigin("https://h/", "h:443/z"));
    EXPECT_FALSE(SameOrigin("http://h:81/", "http://h/"));
    EXPECT_FALSE(SameOrigin("http://h/", "http://g/"));
    for (const char* host : {BRINDOR_INTERFACE_HOST, BRINDOR_WEB_HOST, BRINDOR_NOTICE_HOST})
        EXPECT_TRUE(IsServiceOrigin((std::string("http://") + host + "/interface/x").c_str())) << host;
    EXPECT_FALSE(IsServiceOrigin((std::string("http://") + BRINDOR_INTERFACE_HOST + "0/").c_str()));
    EXPECT_FALSE(IsServiceOrigin("http://other.invalid/"));
}

TEST(RedirectRules, StatusesAndCredentialLines) {
    for (int status : {301, 302, 303, 307, 308})
        EXPECT_TRUE(IsFollowedStatus(status)) << status;
    for (int status : {0, 200, 300, 304, 305, 306, 309})
        EXPECT_FALSE(IsFollowedStatus(status)) << status;
    EXPECT_TRUE(KeepsMethodAndBody(307));
    EXPECT_TRUE(KeepsMethodAndBody(308));
    EXPECT_FALSE(KeepsMethodAndBody(302));
    EXPECT_STREQ(
        WithoutCredentialLines("Referer: a\r\ncookie: x\r\nAuthorization: B\r\nX-Cookie: 1\r\n Cookie : y\r\n"
                               "Accept: */*")
            .c_str(),
        "Referer: a\r\nX-Cookie: 1\r\nAccept: */*");
    EXPECT_STREQ(WithoutCredentialLines("Cookie: a=1").c_str(), "");
}

TEST(BodyCompleteness, AnnouncedLengthFailureAndTime) {
    const struct {
        const char* content_length;
        BodyReceipt receipt;
        bool complete;
    } cases[] = {
        {"", {0, false, false}, true},
        {"", {5, false, false}, true},
        {"10", {10, false, false}, true},
        {" 10 ", {12, false, false}, true},
        {"10", {9, false, false}, false},
        {"10", {10, true, false}, false},
        {"10", {10, false, true}, false},
        {"", {3, true, false}, false},
        // Not a plain number: the connection's end is the body's end.
        {"1a", {0, false, false}, true},
        {"-1", {0, false, false}, true},
        {"99999999999999999999999", {0, false, false}, true},
        {"18446744073709551615", {0, false, false}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsBodyComplete(c.content_length, c.receipt), c.complete)
            << '"' << c.content_length << "\" " << c.receipt.received;
    EXPECT_EQ(DeclaredLength("9223372036854775807"), -1);
    EXPECT_EQ(DeclaredLength("922337203685477580"), 922337203685477580LL);
}

} // namespace
} // namespace brindor
