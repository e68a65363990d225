#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/signin/pasted_cookies.h"

using namespace brindor;
using namespace brindor::app;

namespace {

constexpr int64_t kNow = 1800000000; // 2027
constexpr const char* kHosts[] = {"api.example.com:8080", "www.example.com", "notice.example.net"};

// "name=value" per cookie, "!" after an HttpOnly one, "@expiry" after a persistent one.
std::string Summary(const PastedCookies& pasted) {
    std::string s;
    for (const PastedCookie& c : pasted.cookies) {
        if (!s.empty()) s.append(" ");
        s.append(c.name.c_str()).append("=").append(c.value.c_str());
        if (c.http_only) s.append("!");
        if (c.expires) s.append("@").append(std::to_string(c.expires));
    }
    if (pasted.has_user_name) s.append(" +name");
    if (pasted.has_user_id) s.append(" +id");
    return s;
}

} // namespace

TEST(ReadPastedCookies, TakesHeaderValuesAndCookiesTxtLines) {
    const std::pair<const char*, const char*> cases[] = {
        {"usrname=alice; userid=42; sessionid=ab", "usrname=alice userid=42 sessionid=ab +name +id"},
        {"Cookie: UsrName=alice;USERID=42", "UsrName=alice USERID=42 +name +id"},
        {"  cookie:userid = 7 ;  a=b=c ; flag; =x", "userid=7 a=b=c +id"},
        {"usrname=a; userid=", "usrname=a userid= +name"},
        {"xuserid=9; usrname=a; userids=3", "xuserid=9 usrname=a userids=3 +name"},
        {"userid=1; userid=2", "userid=1 +id"},
        // Items a store could not take back whole: a name with a space or control byte, a value with one.
        {"user id=1; ok=1; a\x01=2; b=x\x7Fy", "ok=1"},
        {"# Netscape HTTP Cookie File\n"
         ".example.com\tTRUE\t/\tFALSE\t1900000000\tusrname\talice\n"
         "#HttpOnly_.example.com\tTRUE\t/\tFALSE\t0\tsessionid\tab\n"
         "www.example.com\tFALSE\t/\tFALSE\t0\tuserid\t42\r\n",
         "usrname=alice@1900000000 sessionid=ab! userid=42 +name +id"},
        // Expired before now: left out, so the login is missing.
        {".example.com\tTRUE\t/\tFALSE\t1700000000\tuserid\t42\nusrname=a", "usrname=a +name"},
        {".example.com\tTRUE\t/\tFALSE\t0\tempty\t\n", "empty="},
        // Other sites' lines: not for the service's hosts, however the domain ends.
        {"bank.test\tFALSE\t/\tFALSE\t0\ta\t1\nxample.com\tTRUE\t/\tFALSE\t0\tb\t2\n"
         "NOTICE.example.NET\tFALSE\t/\tFALSE\t0\tc\t3\napi.example.com:8080\tFALSE\t/\tFALSE\t0\td\t4",
         "c=3"},
        {".example.com\tTRUE\t/\tFALSE\t0\tv\ta;domain=evil\n", ""},
        {".example.com\tTRUE\t/\tFALSE\t99999999999999999999\tk\tv", "k=v@253402300799"},
    };
    for (const auto& [text, summary] : cases)
        EXPECT_EQ(Summary(ReadPastedCookies(text, kNow, kHosts)), summary) << text;
}

TEST(CookieStoreData, GivesTheValueWithItsAttributes) {
    struct Case {
        int64_t expires;
        bool http_only;
        const char* data;
    } cases[] = {
        {951782400, false, "v 1; expires=Tue, 29 Feb 2000 00:00:00 GMT; path=/"},
        {2147483647, true, "v 1; expires=Tue, 19 Jan 2038 03:14:07 GMT; path=/; HttpOnly"},
        {253402300799, false, "v 1; expires=Fri, 31 Dec 9999 23:59:59 GMT; path=/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CookieStoreData({"k", "v 1", c.http_only, c.expires}), c.data) << c.expires;
}
