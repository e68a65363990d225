#include "submit/service/commit_body.h"

#include <string>

#include <gtest/gtest.h>

namespace brindor {
namespace {

TEST(IsCommitAccepted, OnlyTheServicesOneConfirmationWithoutNull) {
    const struct {
        const char* answer;
        int status;
        const char* callback;
        bool accepted;
    } cases[] = {
        {"jsonp1700000000000({\"id\":\"1000000001\",\"progress\":1})", 200, "jsonp1700000000000", true},
        {"jsonp1700000000000({\"id\":\"1\",\"progress\":0})", 200, "jsonp1700000000000", true},
        {"  jsonp1({\"id\":\"1\"});\r\n", 201, "jsonp1", true},
        {"jsonp({\"id\":\"1\"})", 200, "jsonp", true},
        // The service's refusal: a null literal at any depth, or a string that is exactly "null".
        {"jsonp1({\"id\":null,\"progress\":-1,\"msg\":\"x\"})", 200, "jsonp1", false},
        {"jsonp1({\"a\":[1,{\"b\":null}]})", 200, "jsonp1", false},
        {"jsonp1({\"id\":\"null\"})", 200, "jsonp1", false},
        {"jsonp1({\"msg\":\"nullified\",\"title\":\"Annulled\"})", 200, "jsonp1", true},
        // Every form that web frameworks wrap a confirmation in.
        {"/**/cb({\"id\":\"1\"})", 200, "jsonp1", true},
        {"/**/ typeof cb === 'function' && cb({\"id\":\"1\"});", 200, "jsonp1", true},
        {"typeof cb == \"function\" && cb({\"id\":\"1\"})", 200, "jsonp1", true},
        {"window.cb({\"id\":\"1\"})", 200, "jsonp1", true},
        {"window[\"cb\"]({\"id\":\"1\"})", 200, "jsonp1", true},
        {"try{cb({\"id\":\"1\"});}catch(e){}", 200, "jsonp1", true},
        {"{\"id\":\"1\"} // done", 200, "jsonp1", true},
        {"jsonp1 ({\"id\":\"1\", \"t\":\"a)b\"});;", 200, "jsonp1", true},
        // Error pages and scripts that are no confirmation.
        {"alert('\xC7\xEB\xCF\xC8\xB5\xC7\xC2\xBC');history.back()", 200, "jsonp1", false},
        {"cb({\"progress\":-1});location.reload()", 200, "jsonp1", false},
        {"x()", 200, "jsonp1", false},
        {"cb({\"id\":\"1\"})cb({\"id\":\"2\"})", 200, "jsonp1", false},
        {"typeof cb === 'function' && other({\"id\":\"1\"})", 200, "jsonp1", false},
        {"try{cb({\"id\":\"1\"})}catch(e){alert(1)}", 200, "jsonp1", false},
        {"cb({\"id\":\"1\"}/*", 200, "jsonp1", false},
        {"cb({'id':'1'})", 200, "jsonp1", false},
        // A failed exchange, an error status, a page that is no call, a call cut short.
        {"", 200, "jsonp1", false},
        {"jsonp1({\"id\":\"1\"})", 500, "jsonp1", false},
        {"jsonp1({\"id\":\"1\"})", 302, "jsonp1", false},
        {"jsonp1({\"id\":\"1\"})", 0, "jsonp1", false},
        {"<html><body>login</body></html>", 200, "jsonp1", false},
        {"jsonp1({\"id\":\"1000", 200, "jsonp1", false},
        {"jsonp1(", 200, "jsonp1", false},
        {"jsonp1({\"id\":\"1\"}) trailing", 200, "jsonp1", false},
        // The shape tells a confirmation, whatever the name; a byte order mark may lead it.
        {"jsonp({\"id\":\"5\"})", 200, "jsonp1765", true},
        {"\xEF\xBB\xBF jsonp1({\"id\":\"1\"})", 200, "jsonp1", true},
        {"?jsonp1({\"id\":\"1\"})", 200, "jsonp1", true}, // the mark after code page 936
        {"??jsonp1({\"id\":\"1\"})", 200, "jsonp1", false},
        {"9a({\"id\":\"1\"})", 200, "jsonp1", false},
        // No function is called by a reserved word; a line comment ends at every line terminator; an
        // answer that contradicts itself confirms nothing.
        {"throw({\"id\":\"1\"})", 200, "jsonp1", false},
        {"cb({\"id\":\"1\"}) //x\rlocation.reload()", 200, "jsonp1", false},
        {"cb({\"id\":\"1\"}) //x\xE2\x80\xA8location.reload()", 200, "jsonp1", false},
        {"cb({\"id\":\"1\"}) //x\xE2\x80\xA9", 200, "jsonp1", true},
        {"cb({\"progress\":-1,\"msg\":\"x\"})", 200, "jsonp1", false},
        {"cb({})", 200, "jsonp1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsCommitAccepted(ServiceAnswer{Text(c.answer), c.status, Text(c.callback)}), c.accepted)
            << c.answer << " / " << c.status;
}

TEST(JoinCommitFields, ServiceValuesCannotAddFields) {
    const struct {
        TaskFields fields;
        const char* uid;
        const char* expected_tail; // from "&cid=" to "&o_taskid"
        const char* expected_uid;
    } cases[] = {
        // Ordinary values go out byte for byte.
        {{"0A0B0C", "1610612736", "t", "0_1_2_", "1024_2048_"},
         "100001",
         "&cid=0A0B0C&goldbean=0&silverbean=0&tsize=1610612736&findex=0_1_2_&size=1024_2048_",
         "100001"},
        {{"", "", "t", "_", "_"}, "", "&cid=&goldbean=0&silverbean=0&tsize=&findex=_&size=_", ""},
        {{"C&uid=9", "1=2", "t", "0,1_", "a b+c%"},
         "42&uid=9",
         "&cid=C%26uid%3D9&goldbean=0&silverbean=0&tsize=1%3D2&findex=0%2C1_&size=a%20b%2Bc%25",
         "42%26uid%3D9"},
    };
    for (const auto& c : cases) {
        std::string body = JoinCommitFields(c.uid, "T", c.fields).c_str();
        EXPECT_EQ(body, std::string("uid=") + c.expected_uid + "&btname=T" + c.expected_tail +
                            "&o_taskid=0&o_page=task&class_id=0&interfrom=task");
    }
}

} // namespace
} // namespace brindor
