#include "text/win/url_encode.h"

#include "text/percent_encode.h"
#include "text/win/code_pages.h"

namespace brindor {

Text UrlEncode(TextRef text, bool keep_unreserved, bool utf8) {
    if (!utf8) return PercentEncode(text, keep_unreserved);
    return PercentEncode(GbkTextToUtf8(text), keep_unreserved);
}

} // namespace brindor
