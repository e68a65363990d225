#include "net/url_parts.h"

#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

constexpr const char* kPlainScheme = "http://";
constexpr const char* kSecureScheme = "https://";

bool starts_with_ignoring_case(TextRef text, TextRef prefix) {
    int length = text_length(prefix);
    return compare_text(to_lower(left_text(text, length)), prefix) == 0;
}

// 1-based position just past the scheme, 1 when there is none.
int after_scheme(TextRef url) {
    if (starts_with_ignoring_case(url, kSecureScheme)) return text_length(kSecureScheme) + 1;
    if (starts_with_ignoring_case(url, kPlainScheme)) return text_length(kPlainScheme) + 1;
    return 1;
}

// Where the host (with its port) ends: the first "/" or "?" at or after `from`, or -1.
int end_of_host(TextRef url, int from) {
    int slash = find_text(url, "/", from);
    int query = find_text(url, "?", from);
    if (slash < 1) return query;
    if (query < 1) return slash;
    return slash < query ? slash : query;
}

// Host and port as written, in lower case.
Text host_and_port(TextRef url) {
    int from = after_scheme(url);
    int end = end_of_host(url, from);
    int length = end < 1 ? text_length(url) - from + 1 : end - from;
    return to_lower(mid_text(url, from, length));
}

} // namespace

Text UrlHost(TextRef url, bool main_domain_only, bool keep_port) {
    Text host = host_and_port(url);
    if (main_domain_only) {
        TextArray labels = split_text(host, ".");
        int count = element_count(labels);
        if (count >= 2) host = concat_text({labels.at(count - 1), ".", labels.at(count)});
    }
    if (!keep_port) {
        int colon = find_text(host, ":");
        if (colon >= 1) host = left_text(host, colon - 1);
    }
    return host;
}

int UrlPort(TextRef url) {
    Text host = UrlHost(url, false, true);
    int colon = find_text_reverse(host, ":");
    if (colon < 1) return starts_with_ignoring_case(url, kSecureScheme) ? 443 : 80;
    return to_integer(right_text(host, text_length(host) - colon));
}

Text UrlPath(TextRef url) {
    int end = end_of_host(url, after_scheme(url));
    if (end < 1) return Text("/");
    Text rest = right_text(url, text_length(url) - end + 1);
    if (rest[0] == '/') return rest;
    return concat_text("/", rest);
}

} // namespace brindor
