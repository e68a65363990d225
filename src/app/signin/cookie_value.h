// Picking the login cookies out of the cookie texts that the cookie store hands back.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

// The value of the named cookie, letter case of the name ignored, the name matched whole (at the
// start or after "; "); empty when it is missing. The
// caller's text is trimmed and given a closing ";" so that a last item without one is found too.
Text CookieValue(Text& cookie_text, TextRef name);

// The two texts of one host (without and with the HttpOnly cookies) merged into one cookie text,
// or, for a non-empty name, that one cookie's value. Both arguments receive what the merge leaves.
Text CombineHostCookies(Text& plain_cookies, Text& http_only_cookies, TextRef name);

} // namespace brindor::app
