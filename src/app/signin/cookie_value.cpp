#include "app/signin/cookie_value.h"

#include "net/cookies.h"
#include "net/text_between.h"
#include "runtime/core/text_ops.h"

namespace brindor::app {

namespace {

// Where "name=" begins as a whole cookie name: at the start of the text or after ";" and spaces,
// so that "userid" is never found inside "xuserid". Past the end of the text when it is missing.
int WholeNamePosition(TextRef cookie_text, TextRef name) {
    Text sought = concat_text(name, "=");
    const char* text = cookie_text.c_str();
    for (int at = find_text(cookie_text, sought, 1, true); at >= 1;
         at = find_text(cookie_text, sought, at + 1, true)) {
        int before = at - 1;
        while (before >= 1 && text[before - 1] == ' ')
            --before;
        if (before == 0 || text[before - 1] == ';') return at;
    }
    return text_length(cookie_text) + 1;
}

} // namespace

Text CookieValue(Text& cookie_text, TextRef name) {
    cookie_text = trim(cookie_text);
    if (cookie_text.empty() || compare_text(right_text(cookie_text, 1), ";") != 0)
        cookie_text = concat_text(cookie_text, ";");
    return TextBetween(cookie_text, concat_text(name, "="), ";", WholeNamePosition(cookie_text, name));
}

Text CombineHostCookies(Text& plain_cookies, Text& http_only_cookies, TextRef name) {
    MergeCookies(plain_cookies, http_only_cookies);
    if (*name.c_str() == '\0') return plain_cookies;
    return CookieValue(plain_cookies, name);
}

} // namespace brindor::app
