// Cookies copied out of a browser that is signed in: the value of a Cookie request header (with or
// without "Cookie:") or the lines of a cookies.txt file, the two things browsers let a user copy.
#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

struct PastedCookie {
    Text name;
    Text value;
    bool http_only = false;
    int64_t expires = 0; // seconds since 1970 UTC; 0 for a cookie that ends with the session
};

struct PastedCookies {
    std::vector<PastedCookie> cookies; // each name once, the first one the text gives; 300 at most
    bool has_user_name = false;        // a non-empty usrname
    bool has_user_id = false;          // a non-empty userid
};

// Lines of either kind may be mixed. Items that a cookie store could not take back as one cookie
// (a ";" or control byte in the value, a name that is not a plain token) are left out, and so are
// cookies.txt lines that expired before `now` (seconds since 1970 UTC), as a browser would, and
// those whose domain covers none of the `hosts` ("name" or "name:port").
PastedCookies ReadPastedCookies(TextRef text, int64_t now, std::span<const char* const> hosts);

// What the cookie dialog says when the login cookies are not all there; empty when they are.
Text MissingLoginCookies(const PastedCookies& pasted);

// The cookie data a cookie store takes for one cookie of the whole site: value and attributes.
Text CookieStoreData(const PastedCookie& cookie);

} // namespace brindor::app
