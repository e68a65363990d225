#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>

#include <string>

#include "app/signin/win/host_cookie.h"

using namespace brindor;
using brindor::app::GetHostCookie;

// Session cookies only: they live in this process and never reach the prefix's cookie files.
namespace {

void set_cookie(const std::string& host, const std::string& item, bool http_only = false) {
    std::string url = "http://" + host + "/";
    BOOL ok = http_only ? InternetSetCookieExA(url.c_str(), nullptr, (item + "; HttpOnly").c_str(),
                                               INTERNET_COOKIE_HTTPONLY, 0) != 0
                        : InternetSetCookieA(url.c_str(), nullptr, item.c_str());
    ASSERT_TRUE(ok) << item;
}

} // namespace

TEST(GetHostCookie, ReadsTheLoginCookiesOfTheHost) {
    const std::string host = "login.brindor.test";
    set_cookie(host, "usrname=alice");
    set_cookie(host, "userid=1234");
    EXPECT_EQ(GetHostCookie(host.c_str(), "usrname"), "alice");
    EXPECT_EQ(GetHostCookie(host.c_str(), "userid"), "1234");
    EXPECT_EQ(GetHostCookie(host.c_str(), "UserID"), "1234");
    Text all = GetHostCookie(host.c_str());
    EXPECT_NE(std::string(all.c_str()).find("usrname=alice"), std::string::npos) << all.c_str();
    EXPECT_NE(std::string(all.c_str()).find("userid=1234"), std::string::npos) << all.c_str();
}

TEST(GetHostCookie, NothingStoredGivesEmptyText) {
    EXPECT_TRUE(GetHostCookie("nobody.brindor.test", "userid").empty());
    EXPECT_TRUE(GetHostCookie("nobody.brindor.test").empty());
}

TEST(GetHostCookie, OnlyOneOfTheTwoCookies) {
    const std::string host = "half.brindor.test";
    set_cookie(host, "usrname=carol");
    EXPECT_EQ(GetHostCookie(host.c_str(), "usrname"), "carol");
    EXPECT_TRUE(GetHostCookie(host.c_str(), "userid").empty());
}

TEST(GetHostCookie, FindsHttpOnlyCookies) {
    const std::string host = "httponly.brindor.test";
    set_cookie(host, "userid=77", true);
    EXPECT_EQ(GetHostCookie(host.c_str(), "userid"), "77");
}

TEST(GetHostCookie, ACookieTextLargerThanTheBufferIsReadWhole) {
    const std::string host = "crowded.brindor.test";
    for (int i = 0; i < 120; ++i)
        set_cookie(host, "pad" + std::to_string(i) + "=" + std::string(40, 'x'));
    set_cookie(host, "usrname=dave");
    set_cookie(host, "userid=4321");
    EXPECT_EQ(GetHostCookie(host.c_str(), "usrname"), "dave");
    EXPECT_EQ(GetHostCookie(host.c_str(), "userid"), "4321");
    EXPECT_GT(GetHostCookie(host.c_str()).length(), 5000u);
}
