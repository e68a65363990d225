#include "submit/service/service_requests.h"

#include <string>

#include <gtest/gtest.h>

namespace brindor {
namespace {

TEST(EscapeLinkForQuery, EscapesOnlyWhatCannotStandInARequestLine) {
    const struct {
        const char* link;
        const char* escaped;
    } cases[] = {
        {"magnet:?xt=urn:btih:0101010101010101010101010101010101010101&dn=a+b%20c&tr=http://t/a?x=1",
         "magnet:?xt=urn:btih:0101010101010101010101010101010101010101&dn=a+b%20c&tr=http://t/a?x=1"},
        {"magnet:?xt=urn:btih:AB\r", "magnet:?xt=urn:btih:AB%0D"},
        {"a b\tc\nd", "a%20b%09c%0Ad"},
        {"x\x7Fy\x01", "x%7Fy%01"},
        {"\xD6\xD0.torrent", "%D6%D0.torrent"},
        {"\xFF\x80", "%FF%80"},
        {"magnet:?xt=urn:btih:AB#frag", "magnet:?xt=urn:btih:AB%23frag"},
        {"~!$'()*,;[]@/", "~!$'()*,;[]@/"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(EscapeLinkForQuery(c.link).c_str(), c.escaped) << c.link;
}

TEST(ResolveAnswerStillUtf8, DecodesOnlyWhatTheRequestRoutineLeftAlone) {
    const std::string padding(498, 'x');
    const std::string unanswered(5000, ' ');
    const struct {
        const char* name;
        std::string answer;
        const char* headers;
        bool still_utf8;
    } cases[] = {
        {"charset in the headers", "queryUrl()",
         "HTTP/1.1 200 OK\r\nContent-Type: text/javascript; charset=utf-8\r\n", false},
        {"charset in capitals", "queryUrl()",
         "HTTP/1.1 200 OK\r\nContent-Type: text/javascript; CHARSET=UTF-8\r\n", false},
        {"no charset anywhere", "queryUrl()", "HTTP/1.1 200 OK\r\nContent-Type: text/javascript\r\n", true},
        {"failed exchange", "", unanswered.c_str(), true},
        {"body names utf-8 first", "utf-8 queryUrl()", "HTTP/1.1 200 OK\r\n", false},
        {"body names utf-8 at 499", padding + "utf-8", "HTTP/1.1 200 OK\r\n", false},
        {"body names utf-8 at 500", padding + "xutf-8", "HTTP/1.1 200 OK\r\n", true},
        {"body in capitals only", "UTF-8 queryUrl()", "HTTP/1.1 200 OK\r\n", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveAnswerStillUtf8(c.answer.c_str(), c.headers), c.still_utf8) << c.name;
}

} // namespace
} // namespace brindor
