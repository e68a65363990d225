#include "net/http_request_parts.h"

#include <cstring>

#include "net/text_between.h"
#include "net/url_parts.h"
#include "runtime/core/byte_ops.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

// The rest of the line from byte position `from` (1-based) up to its CR LF or the end of the block.
Text RestOfLine(TextRef block, int from) {
    int end = find_text(block, "\r\n", from);
    if (end < 1) end = text_length(block) + 1;
    return mid_text(block, from, end - from);
}

// The cookie of one Set-Cookie line. A line without ";" after the name takes the rest of it, so a
// plain "Set-Cookie: a=1" is not lost.
Text SetCookieItem(TextRef line) {
    static constexpr char kName[] = "Set-Cookie:";
    int at = find_text(line, kName, 1, true);
    if (at < 1) return Text();
    int from = at + static_cast<int>(sizeof kName - 1);
    int end = find_text(line, ";", from);
    if (end < 1) end = text_length(line) + 1;
    return trim(mid_text(line, from, end - from));
}

void AppendLine(Text& block, TextRef line) {
    block = block.empty() ? Text(line.c_str()) : concat_text({block, "\r\n", line});
}

} // namespace

bool IsSecureUrl(TextRef url) {
    return compare_text(to_lower(left_text(url, 5)), "https") == 0;
}

Text AgentString(TextRef extraHeaders) {
    static constexpr char kName[] = "User-Agent:";
    int at = find_text(extraHeaders, kName, 1, true);
    if (at < 1) return Text(kDefaultAgent);
    // Only this line's value: a User-Agent line in the last place has no CR LF after it.
    Text agent = trim(RestOfLine(extraHeaders, at + static_cast<int>(sizeof kName - 1)));
    return agent.empty() ? Text(kDefaultAgent) : agent;
}

uint32_t RequestFlags(TextRef url, bool cookiesGiven, bool noRedirect, bool post) {
    uint32_t flags = post ? kFlagReload : kFlagReload | kFlagNoCacheWrite;
    if (cookiesGiven) flags |= kFlagNoCookies;
    if (noRedirect) flags |= kFlagNoAutoRedirect;
    flags |= IsSecureUrl(url) ? kFlagSecure : kFlagIgnoreRedirectToHttps;
    return flags;
}

void AddDefaultHeaders(Text& extraHeaders, TextRef url, TextRef cookiesIn) {
    if (find_text(extraHeaders, "Referer:") < 1) AppendLine(extraHeaders, concat_text("Referer: ", url));
    if (find_text(extraHeaders, "Accept:") < 1) AppendLine(extraHeaders, "Accept: */*");
    if (find_text(extraHeaders, "Accept-Language:") < 1) AppendLine(extraHeaders, "Accept-Language: zh-cn");
    if (find_text(extraHeaders, "Content-Type:") < 1)
        AppendLine(extraHeaders, "Content-Type: application/x-www-form-urlencoded");
    if (text_length(cookiesIn) > 0) AppendLine(extraHeaders, concat_text("Cookie: ", cookiesIn));
}

void ScanAnswerHeaders(TextRef rawHeaders, Text& cookiesOut, Text& locationOut) {
    TextArray lines = split_text(rawHeaders, "\r\n");
    TextBuilder cookies;
    // Always an answer's own: a caller's stale value must not pass for this answer's location.
    locationOut = Text();
    for (int i = 1; i <= lines.count(); ++i) {
        const char* line = lines.at(i);
        if (find_text(line, "Location:") > 0) locationOut = ValueAfterColon(line);
        if (find_text(line, "Set-Cookie") > 0) {
            Text item = SetCookieItem(line);
            cookies.append(item.c_str(), item.length());
            cookies.append("; ", 2);
        }
    }
    Text joined = cookies.take();
    cookiesOut = left_text(joined, text_length(joined) - 2);
}

int AnswerStatus(TextRef rawHeaders) {
    const char* line = rawHeaders.c_str();
    if (std::strncmp(line, "HTTP/", 5) != 0) return 0;
    const char* space = line + 5;
    while (*space && *space != ' ' && *space != '\r' && *space != '\n')
        ++space;
    if (*space != ' ') return 0;
    int status = 0;
    for (int i = 1; i <= 3; ++i) {
        if (space[i] < '0' || space[i] > '9') return 0;
        status = status * 10 + (space[i] - '0');
    }
    return status;
}

bool IsMovedAnswer(TextRef rawHeaders) {
    return TextBetween(rawHeaders, "HTTP/1.1 ", " Moved") == "301";
}

Text RedirectUrl(TextRef location, TextRef url) {
    return concat_text(location, UrlPath(url));
}

bool IsUtf8Answer(const Bytes& body, TextRef rawHeaders) {
    int probe = find_bytes(body, Bytes("utf-8", 5));
    if (probe >= 1 && probe < 500) return true;
    return find_text(rawHeaders, "utf-8", 1, true) > 0;
}

Text BodyText(const Bytes& body) {
    if (body.empty()) return Text();
    const void* zero = std::memchr(body.data(), 0, body.size());
    size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - body.data()) : body.size();
    return Text(reinterpret_cast<const char*>(body.data()), length);
}

} // namespace brindor
