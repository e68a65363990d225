// Host, port and path of a URL. A URL without "http://" or "https://" in front is read as if it
// began with "http://". The host ends at the first "/" or "?" after the scheme.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The host in lower case. `main_domain_only`: only its last two dot-separated labels.
// `keep_port`: with ":" and the port when the URL names one.
Text UrlHost(TextRef url, bool main_domain_only = false, bool keep_port = false);

// The URL's own port, else 443 for "https://" and 80 for everything else.
int UrlPort(TextRef url);

// The path with its query, always beginning with "/"; "/" when the URL has neither.
Text UrlPath(TextRef url);

} // namespace brindor
