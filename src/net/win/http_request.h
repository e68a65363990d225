// HttpRequest: one HTTP or HTTPS exchange over WinInet, returning the answer body as text
// (converted from UTF-8 when the answer is UTF-8, cut at its first zero byte). Empty text when
// the root handle, the connection or the request cannot be opened. Never shows anything.
//
// A null pointer is an omitted parameter. Omitted cookiesIn and proxy differ from given empty
// texts; every other omitted parameter acts as its empty or zero value. The pointed-to variables
// are the caller's and are replaced as documented beside each parameter.
#pragma once
#include <cstdint>

#include "runtime/core/bytes.h"
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

Text HttpRequest(TextRef url,
                 int32_t method = 0,            // 1 POST with body, 0 GET, other GET with body
                 TextRef bodyText = "",         // body unless bodyBytes holds one
                 Text* cookiesIn = nullptr,     // sent as a Cookie line; given: no stored cookies, merged
                 Text* cookiesOut = nullptr,    // the answer's Set-Cookie items joined by "; "
                 Text* extraHeaders = nullptr,  // CR LF-separated lines; default lines appended
                 Text* locationOut = nullptr,   // Location value, else the whole answer header block
                 int32_t noRedirect = 0,        // non-zero: WinInet follows no redirect itself
                 Bytes* bodyBytes = nullptr,    // body; when empty it receives the bytes of bodyText
                 const Text* proxy = nullptr,   // "host:port" of an HTTP proxy
                 Text* rawHeadersOut = nullptr, // the answer header block, whatever its length
                 int32_t* statusOut = nullptr); // the last answer's status; 0 when none arrived

} // namespace brindor
