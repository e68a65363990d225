#include <gtest/gtest.h>

#include "print_text.h"
#include "net/url_parts.h"

namespace brindor {
namespace {

struct UrlCase {
    const char* url;
    const char* host;
    const char* host_with_port;
    const char* main_domain;
    int port;
    const char* path;
};

TEST(UrlParts, Cases) {
    const UrlCase cases[] = {
        {"HTTP://Aa.Bb.Cc:8080/x/y?z", "aa.bb.cc", "aa.bb.cc:8080", "bb.cc", 8080, "/x/y?z"},
        {"aa/x", "aa", "aa", "aa", 80, "/x"},
        {"https://Host.example.com", "host.example.com", "host.example.com", "example.com", 443, "/"},
        {"HTTPS://h/p", "h", "h", "h", 443, "/p"},
        {"https://h:8443/", "h", "h:8443", "h", 8443, "/"},
        {"http://127.0.0.1:18080/interface/url_query?u=magnet:?xt=1", "127.0.0.1", "127.0.0.1:18080", "0.1",
         18080, "/interface/url_query?u=magnet:?xt=1"},
        {"http://h", "h", "h", "h", 80, "/"},
        {"h.example.com", "h.example.com", "h.example.com", "example.com", 80, "/"},
        // A query straight after the host belongs to the path, not the host.
        {"http://h.cn?a=1/b", "h.cn", "h.cn", "h.cn", 80, "/?a=1/b"},
        {"http://h:81?a", "h", "h:81", "h", 81, "/?a"},
        // A scheme-less URL that mentions a scheme later still has its own host.
        {"h.cn/go?to=http://other.cn/", "h.cn", "h.cn", "h.cn", 80, "/go?to=http://other.cn/"},
        // Hosts that also occur inside the scheme.
        {"http://t/x", "t", "t", "t", 80, "/x"},
        {"http://ttp/", "ttp", "ttp", "ttp", 80, "/"},
        // Only the scheme says https, not a host that starts with those letters.
        {"httpsd.cn/x", "httpsd.cn", "httpsd.cn", "httpsd.cn", 80, "/x"},
        {"http://h:/x", "h", "h:", "h", 0, "/x"},
        {"", "", "", "", 80, "/"},
        {"http://", "", "", "", 80, "/"},
    };
    for (const UrlCase& c : cases) {
        EXPECT_EQ(UrlHost(c.url), c.host) << c.url;
        EXPECT_EQ(UrlHost(c.url, false, true), c.host_with_port) << c.url;
        EXPECT_EQ(UrlHost(c.url, true), c.main_domain) << c.url;
        EXPECT_EQ(UrlPort(c.url), c.port) << c.url;
        EXPECT_EQ(UrlPath(c.url), c.path) << c.url;
    }
}

TEST(UrlParts, MainDomainKeepsPortWhenAsked) {
    EXPECT_EQ(UrlHost("http://a.b.c:8080/", true, true), "b.c:8080");
}

} // namespace
} // namespace brindor
