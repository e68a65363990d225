#include "app/signin/cookie_value.h"

#include "net/cookies.h"
#include "net/text_between.h"
#include "runtime/core/text_ops.h"

namespace brindor::app {

Text CookieValue(Text& cookie_text, TextRef name) {
    cookie_text = trim(cookie_text);
    if (cookie_text.empty() || compare_text(right_text(cookie_text, 1), ";") != 0)
        cookie_text = concat_text(cookie_text, ";");
    return TextBetween(cookie_text, concat_text(name, "="), ";");
}

Text CombineHostCookies(Text& plain_cookies, Text& http_only_cookies, TextRef name) {
    MergeCookies(plain_cookies, http_only_cookies);
    if (*name.c_str() == '\0') return plain_cookies;
    return CookieValue(plain_cookies, name);
}

} // namespace brindor::app
