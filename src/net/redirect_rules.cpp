#include "net/redirect_rules.h"

#include "net/http_request_parts.h"
#include "net/url_parts.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

bool HasScheme(TextRef url) {
    Text head = to_lower(left_text(url, 8));
    return find_text(head, "http://") == 1 || find_text(head, "https://") == 1;
}

// Scheme, host and port, without the path.
Text OriginOf(TextRef url) {
    return concat_text(IsSecureUrl(url) ? "https://" : "http://", UrlHost(url, false, true));
}

bool IsCredentialLine(TextRef line) {
    int colon = find_text(line, ":");
    if (colon < 1) return false;
    Text name = to_lower(trim(left_text(line, colon - 1)));
    return name == "cookie" || name == "authorization";
}

} // namespace

bool IsFollowedStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool KeepsMethodAndBody(int status) {
    return status == 307 || status == 308;
}

Text ResolveLocation(TextRef location, TextRef base) {
    Text target = trim(location);
    if (HasScheme(target)) return target;
    if (find_text(target, "//") == 1) {
        return concat_text(IsSecureUrl(base) ? "https:" : "http:", target);
    }
    Text origin = OriginOf(base);
    if (find_text(target, "/") == 1) return concat_text(origin, target);
    Text path = UrlPath(base);
    int query = find_text(path, "?");
    if (query >= 1) path = left_text(path, query - 1);
    int slash = find_text_reverse(path, "/");
    return concat_text({origin, left_text(path, slash), target});
}

bool SameOrigin(TextRef a, TextRef b) {
    return UrlHost(a) == UrlHost(b) && UrlPort(a) == UrlPort(b);
}

bool IsServiceOrigin(TextRef url) {
    for (const char* host : {BRINDOR_INTERFACE_HOST, BRINDOR_WEB_HOST, BRINDOR_NOTICE_HOST})
        if (SameOrigin(url, concat_text("http://", host))) return true;
    return false;
}

Text WithoutCredentialLines(TextRef headerBlock) {
    TextArray lines = split_text(headerBlock, "\r\n");
    TextBuilder kept;
    for (int i = 1; i <= lines.count(); ++i) {
        if (IsCredentialLine(lines.at(i))) continue;
        if (kept.length() > 0) kept.append("\r\n", 2);
        Text line(lines.at(i));
        kept.append(line.c_str(), line.length());
    }
    return kept.take();
}

} // namespace brindor
