#include <gtest/gtest.h>

#include <string>

#include "submit/service/failure_reason.h"
#include "submit/service/service_message.h"

namespace brindor {
namespace {

constexpr const char* kResolved =
    "queryUrl(1,'C1','1','T','1',new Array('a'),new Array('1KB'),new Array('1'),"
    "new Array('1'),new Array('video'),new Array('0'),'0.5')";
constexpr const char* kLoginPage = "<!DOCTYPE html>\n<html><body><form method=\"post\" action=\"/login\">"
                                   "<input type=\"submit\" value=\"登录\"></form></body></html>";
constexpr const char* kErrorPage = "<html><body><h1>500 Internal Server Error</h1></body></html>";

TEST(FailureReason, FromBothAnswers) {
    struct Case {
        ServiceAnswer resolve;
        bool committed;
        ServiceAnswer commit;
        const char* expected;
    };
    const ServiceAnswer kWhole{kResolved, 200, "queryUrl"};
    const char* const kNull = "jsonp1({\"id\":null})";
    const char* const kUnknown = kUnknownReason;
    const Case cases[] = {
        {{"", 0, "queryUrl"}, false, {}, "网络错误"},
        {{"", 200, "queryUrl"}, false, {}, "网络错误"}, // a cut answer
        {{kErrorPage, 500, "queryUrl"}, false, {}, "服务器错误"},
        {{"", 503, "queryUrl"}, false, {}, "服务器错误"},
        {{kLoginPage, 200, "queryUrl"}, false, {}, "未登录"},
        {{"queryUrl(0,'','','','0')", 200, "queryUrl"}, false, {}, "未能解析链接"},
        // After the POST, no readable answer: the task may exist.
        {{kResolved, 200, "queryUrl"}, true, {"", 0, "jsonp1"}, kUnknown},
        {{kResolved, 200, "queryUrl"}, true, {kErrorPage, 500, "jsonp1"}, kUnknown},
        {{kResolved, 200, "queryUrl"}, true, {kErrorPage, 200, "jsonp1"}, kUnknown},
        {kWhole, true, {"jsonp1({\"id\":\"5\"", 200, "jsonp1"}, kUnknown}, // cut
        {{kResolved, 200, "queryUrl"}, true, {kLoginPage, 200, "jsonp1"}, "未登录"},
        {kWhole, true, {kNull, 200, "jsonp1", -1, "not signed in: x"}, "未登录"},
        {kWhole, true, {kNull, 200, "jsonp1", -1, "请登录"}, "未登录"},
        {kWhole, true, {"{\"id\":null}", 200, "jsonp1", -1, "未登录"}, "未登录"},
        {kWhole, true, {kNull, 200, "jsonp1", -1, "已屏蔽"}, "服务拒绝：已屏蔽"},
        // Complete answers of another shape than the expected call.
        {kWhole, true, {"cb({\"id\":\"5\"});location.reload()", 200, "jsonp1"}, kUnknown},
        {kWhole, true, {"alert('请先登录');history.back()", 200, "jsonp1"}, kUnknown},
        // A title is no page, whatever it holds.
        {{"queryUrl(1,'C1','1','<html> login','1',new Array('a'),new Array('1'),new Array('1'),new "
          "Array('1'),"
          "new Array('v'),new Array('0'),'0.5')",
          200, "queryUrl"},
         true,
         {kNull, 200, "jsonp1", -1, "已屏蔽"},
         "服务拒绝：已屏蔽"},
        {kWhole, true, {"ok", 200, "jsonp1"}, kUnknown},
        {{"{\"id\":1}", 200, "queryUrl"}, false, {}, "无法识别的应答"},
        {{"queryUrl(1,'C1','1','T')<p>", 200, "queryUrl"}, false, {}, "无法识别的应答"},
        {{"queryUrl(1,'C1','1','T',new Array('a')", 200, "queryUrl"}, false, {}, "网络错误"},
        {{kResolved, 200, "queryUrl"},
         true,
         {"jsonp1({\"id\":null,\"progress\":-1})", 200, "jsonp1"},
         "服务拒绝"},
        // An answer that contradicts itself: the task may stand; the service's words are the reason.
        {kWhole, true, {"cb({\"progress\":-1,\"msg\":\"满\"})", 200, "jsonp1", -1, "满"}, "结果未知：满"},
        {kWhole,
         true,
         {"cb({\"id\":\"\",\"msg\":\"未登录\"})", 200, "jsonp1", -1, "未登录"},
         "结果未知：未登录"},
        {kWhole, true, {"cb({\"id\":\"7\",\"progress\":1,\"msg\":null})", 200, "jsonp1"}, kUnknown},
        // Read in pieces and committed: the commit's own outcome is the reason.
        {{"queryUrl(1,'C1','1','it's','1',new Array(),new Array(),new Array(),new Array(),new Array(),new "
          "Array())",
          200, "queryUrl"},
         true,
         {kNull, 200, "jsonp1", -1, "已屏蔽"},
         "服务拒绝：已屏蔽"},
    };
    for (const Case& c : cases) {
        LinkOutcome outcome;
        outcome.resolve = c.resolve;
        outcome.committed = c.committed;
        if (c.committed) outcome.fields.cid = "C1";
        outcome.commit = c.commit;
        EXPECT_EQ(std::string(FailureReason(outcome).c_str()), c.expected)
            << c.resolve.text.c_str() << " / " << c.commit.text.c_str();
    }
}

TEST(RawServiceMessage, KeepsEscapesWithoutBreakingDoubleByteCharacters) {
    struct Case {
        const char* answer;
        const char* expected;
    };
    const Case cases[] = {
        {"cb({\"msg\":\"a\\\"b\\\\c\\u672a\"})", "a\\\"b\\\\c\\u672a"},
        // A second byte may be a backslash; a quote never is one, so it ends the string.
        {"cb({\"msg\":\"\x81\x5C\x81\"!\"})", "\x81\x5C\x81"},
        {"cb({\"title\":\"\\\"msg\\\":\\\"x\\\"\", \"msg\":\"real\"})", "real"},
        {"cb({\"id\":null})", ""},
        {"cb({\"msg\":null, \"x\":{\"msg\" : \"second\"}})", "second"},
        {"cb({\"msg\":\"unterminated", "unterminated"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(std::string(RawServiceMessage(c.answer).c_str()), c.expected) << c.answer;
}

} // namespace
} // namespace brindor
