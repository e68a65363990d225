#include <gtest/gtest.h>

#include <string>

#include "net/http_request_parts.h"

using namespace brindor;

namespace {

std::string str(const Text& text) {
    return text.c_str();
}

const std::string kDefaultLines = "Referer: http://h/p?q\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
                                  "Content-Type: application/x-www-form-urlencoded";

} // namespace

TEST(HttpRequestParts, AgentString) {
    struct Case {
        const char* block;
        const char* expected;
    } cases[] = {
        {"", kDefaultAgent},
        {"Accept: x", kDefaultAgent},
        {"user-agent: X\r\nAccept: y", "X"},
        {"USER-AGENT:  X Y  \r\nAccept: y", "X Y"},
        // Last line, no CR LF after it: the line's own value, not the text after the block's first colon.
        {"Accept: y\r\nUser-Agent: Z", "Z"},
        {"User-Agent: \r\nAccept: y", kDefaultAgent},
        {"User-Agent:", kDefaultAgent},
    };
    for (const Case& c : cases)
        EXPECT_EQ(str(AgentString(c.block)), c.expected) << c.block;
}

TEST(HttpRequestParts, RequestFlags) {
    struct Case {
        const char* url;
        bool cookies;
        bool no_redirect;
        uint32_t expected;
        bool post = false;
    } cases[] = {
        {"http://h/", false, false, 0x84004000u},      {"https://h/", false, false, 0x84800000u},
        {"HTTPS://h/", false, false, 0x84800000u},     {"h/x", true, false, 0x84084000u},
        {"http://h/", false, true, 0x84204000u},       {"https://h/", true, true, 0x84a80000u},
        {"http://h/", false, true, 0x80204000u, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RequestFlags(c.url, c.cookies, c.no_redirect, c.post), c.expected) << c.url;
}

TEST(HttpRequestParts, DefaultHeaders) {
    struct Case {
        const char* block;
        const char* cookies;
        std::string expected;
    } cases[] = {
        {"", "", kDefaultLines},
        {"", "a=1", kDefaultLines + "\r\nCookie: a=1"},
        // The searches are case-sensitive: a lower-case referer line still gets the default one.
        {"referer: x", "", "referer: x\r\n" + kDefaultLines},
        {"Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: c", "",
         "Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: c"},
        // A cookie line of the caller's own does not stop ours.
        {"Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: c\r\nCookie: x=1", "b=2",
         "Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: c\r\nCookie: x=1\r\nCookie: b=2"},
        // "Accept-Language:" does not hold "Accept:".
        {"Accept-Language: en", "",
         "Accept-Language: en\r\nReferer: http://h/p?q\r\nAccept: */*\r\nContent-Type: "
         "application/x-www-form-urlencoded"},
    };
    for (const Case& c : cases) {
        Text block(c.block);
        AddDefaultHeaders(block, "http://h/p?q", c.cookies);
        EXPECT_EQ(str(block), c.expected) << c.block;
    }
}

TEST(HttpRequestParts, ScanAnswerHeaders) {
    struct Case {
        const char* raw;
        const char* cookies;
        const char* location;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", "", ""},
        {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; expires=X\r\n\r\n", "a=1; b=2", ""},
        // Without ";" the rest of the line is the cookie.
        {"HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie:b=2 \r\n\r\n", "a=1; b=2", ""},
        // Only "Set-Cookie" in that letter case marks a cookie line.
        {"HTTP/1.1 200 OK\r\nset-cookie: a=1;\r\n\r\n", "", ""},
        {"HTTP/1.1 301 Moved\r\nLocation: http://x/a\r\nLocation:  http://y/b \r\n\r\n", "", "http://y/b"},
        {"HTTP/1.1 200 OK\r\nContent-Location: /other\r\n\r\n", "", "/other"},
    };
    for (const Case& c : cases) {
        Text cookies("stale"), location("stale");
        ScanAnswerHeaders(c.raw, cookies, location);
        EXPECT_EQ(str(cookies), c.cookies) << c.raw;
        EXPECT_EQ(str(location), c.location) << c.raw;
    }
}

TEST(HttpRequestParts, OnlyHttp11MovedIsFollowed) {
    struct Case {
        const char* raw;
        bool moved;
    } cases[] = {
        {"HTTP/1.1 301 Moved Permanently\r\nLocation: x\r\n\r\n", true},
        {"HTTP/1.1 301 Moved\r\n\r\n", true},
        {"HTTP/1.1 301 MOVED\r\n\r\n", true},
        {"HTTP/1.0 301 Moved Permanently\r\n\r\n", false},
        {"HTTP/1.1 302 Moved Temporarily\r\n\r\n", false},
        {"HTTP/1.1 301 Permanent Redirect\r\n\r\n", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsMovedAnswer(c.raw), c.moved) << c.raw;
    std::string spaces(kAnswerHeaderBufferLength, ' ');
    EXPECT_FALSE(IsMovedAnswer(spaces.c_str()));
}

TEST(HttpRequestParts, AnswerStatusReadsOnlyTheStatusLine) {
    const struct {
        const char* raw;
        int status;
    } cases[] = {
        {"HTTP/1.1 200 OK\r\nX: 1\r\n\r\n", 200},
        {"HTTP/1.0 503 Busy\r\n", 503},
        {"HTTP/1.1 302\r\n", 302},
        {"HTTP/1.1\r\nX: HTTP/1.1 200\r\n", 0},
        {"HTTP/1.1 2x0 OK\r\n", 0},
        {"", 0},
        {"     ", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnswerStatus(c.raw), c.status) << c.raw;
}

TEST(HttpRequestParts, RedirectUrlKeepsPathAndQuery) {
    EXPECT_EQ(str(RedirectUrl("http://b:81", "http://a/p/q?x=1")), "http://b:81/p/q?x=1");
    EXPECT_EQ(str(RedirectUrl("http://b/new", "http://a/p?x=1")), "http://b/new/p?x=1");
    EXPECT_EQ(str(RedirectUrl("http://b", "http://a")), "http://b/");
}

TEST(HttpRequestParts, Utf8Probe) {
    auto body_with_probe_at = [](int position, const char* probe) {
        std::string body(position - 1, 'x');
        body += probe;
        body += "yyy";
        return Bytes(body.data(), body.size());
    };
    EXPECT_TRUE(IsUtf8Answer(body_with_probe_at(1, "utf-8"), ""));
    EXPECT_TRUE(IsUtf8Answer(body_with_probe_at(499, "utf-8"), ""));
    EXPECT_FALSE(IsUtf8Answer(body_with_probe_at(500, "utf-8"), ""));
    EXPECT_FALSE(IsUtf8Answer(body_with_probe_at(2, "UTF-8"), ""));
    EXPECT_TRUE(IsUtf8Answer(body_with_probe_at(500, "utf-8"), "Content-Type: text/html; charset=UTF-8\r\n"));
    EXPECT_FALSE(IsUtf8Answer(Bytes(), ""));
}

TEST(HttpRequestParts, BodyTextEndsAtZeroByte) {
    EXPECT_EQ(str(BodyText(Bytes("ab\0cd", 5))), "ab");
    EXPECT_EQ(str(BodyText(Bytes("\0cd", 3))), "");
    EXPECT_EQ(str(BodyText(Bytes("abc", 3))), "abc");
    EXPECT_EQ(str(BodyText(Bytes())), "");
}
