#include "app/signin/pasted_cookies.h"

#include <cstdio>
#include <span>
#include <string_view>
#include <utility>

#include "runtime/core/text_ops.h"
#include "text/civil_days.h"

namespace brindor::app {

namespace {

constexpr std::string_view kHttpOnlyPrefix = "#HttpOnly_";
// More than a browser keeps for one site; a paste of endless junk stays quick.
constexpr size_t kMostCookies = 300;
constexpr int64_t kLatestExpiry = 253402300799; // 9999-12-31 23:59:59, the last a date text can say

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view TrimmedSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

bool IsTokenName(std::string_view name) {
    if (name.empty()) return false;
    for (unsigned char c : name)
        if (c <= 0x20 || c >= 0x7F || c == '=' || c == ';' || c == ',') return false;
    return true;
}

// A value that goes into the store's data text must not end early or bring attributes of its own.
bool IsSafeValue(std::string_view value) {
    for (unsigned char c : value)
        if (c < 0x20 || c == 0x7F || c == ';') return false;
    return true;
}

// Digits only; anything else counts as a session cookie, as browsers write 0 for those.
int64_t ExpiryOf(std::string_view field) {
    if (field.empty()) return 0;
    int64_t seconds = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return 0;
        seconds = seconds > kLatestExpiry ? seconds : seconds * 10 + (c - '0');
    }
    return seconds > kLatestExpiry ? kLatestExpiry : seconds;
}

// Whether a cookies.txt domain ("example.com" or ".example.com") covers the host ("name" or "name:port").
bool DomainCovers(std::string_view domain, std::string_view host) {
    host = host.substr(0, host.find(':'));
    if (!domain.empty() && domain.front() == '.') domain.remove_prefix(1);
    if (domain.empty() || host.size() < domain.size()) return false;
    const size_t start = host.size() - domain.size();
    return SameLetters(host.substr(start), domain) && (start == 0 || host[start - 1] == '.');
}

class Collector {
  public:
    Collector(int64_t now, std::span<const char* const> hosts) : now_(now), hosts_(hosts) {}

    void add(std::string_view name, std::string_view value, bool http_only, int64_t expires) {
        if (!IsTokenName(name) || !IsSafeValue(value)) return;
        if (expires != 0 && expires <= now_) return;
        if (result_.cookies.size() >= kMostCookies) return;
        for (const PastedCookie& known : result_.cookies)
            if (std::string_view(known.name.c_str()) == name) return;
        if (!value.empty() && SameLetters(name, "usrname")) result_.has_user_name = true;
        if (!value.empty() && SameLetters(name, "userid")) result_.has_user_id = true;
        result_.cookies.push_back(
            {Text(name.data(), name.size()), Text(value.data(), value.size()), http_only, expires});
    }

    // domain, subdomains flag, path, secure flag, expiry, name, value; false for any other shape.
    bool add_file_line(std::string_view line) {
        const bool http_only = line.substr(0, kHttpOnlyPrefix.size()) == kHttpOnlyPrefix;
        if (http_only) line.remove_prefix(kHttpOnlyPrefix.size());
        std::string_view fields[7];
        size_t count = 0;
        for (size_t start = 0;;) {
            const size_t tab = line.find('\t', start);
            if (count == 7) return false;
            fields[count++] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
            if (tab == std::string_view::npos) break;
            start = tab + 1;
        }
        if (count != 7) return false;
        // A whole browser's file holds other sites' cookies too, which are no business of the service.
        for (const char* host : hosts_)
            if (DomainCovers(fields[0], host)) {
                add(fields[5], fields[6], http_only, ExpiryOf(fields[4]));
                break;
            }
        return true;
    }

    void add_header_line(std::string_view line) {
        if (SameLetters(line.substr(0, 7), "cookie:")) line.remove_prefix(7);
        while (!line.empty()) {
            size_t end = line.find(';');
            std::string_view item = line.substr(0, end);
            line = end == std::string_view::npos ? std::string_view() : line.substr(end + 1);
            size_t equals = item.find('=');
            if (equals == std::string_view::npos) continue;
            add(Trimmed(item.substr(0, equals)), Trimmed(item.substr(equals + 1)), false, 0);
        }
    }

    PastedCookies take() { return std::move(result_); }

  private:
    int64_t now_;
    std::span<const char* const> hosts_;
    PastedCookies result_;
};

} // namespace

PastedCookies ReadPastedCookies(TextRef text, int64_t now, std::span<const char* const> hosts) {
    Collector collector(now, hosts);
    std::string_view rest(text.c_str());
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        // Tabs belong to a cookies.txt line; an empty value leaves one at its end.
        if (collector.add_file_line(TrimmedSpaces(line))) continue;
        line = Trimmed(line);
        if (line.substr(0, 1) != "#") collector.add_header_line(line);
    }
    return collector.take();
}

Text MissingLoginCookies(const PastedCookies& pasted) {
    if (pasted.has_user_name && pasted.has_user_id) return {};
    const char* missing = pasted.has_user_id     ? "usrname"
                          : pasted.has_user_name ? "userid"
                                                 : "usrname 和 userid";
    return concat_text({"Cookie里没有 ", missing, "，没有做任何改动。请从已登录的浏览器复制全部Cookie。"});
}

Text CookieStoreData(const PastedCookie& cookie) {
    char expires[48] = "";
    if (cookie.expires > 0) {
        static const char* const kDays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
        static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
        const int64_t days = cookie.expires / 86400, seconds = cookie.expires % 86400;
        const CivilDate date = CivilFromDays(days);
        std::snprintf(expires, sizeof expires, "; expires=%s, %02d %s %04d %02d:%02d:%02d GMT",
                      kDays[days % 7], date.day, kMonths[date.month - 1], date.year,
                      static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                      static_cast<int>(seconds % 60));
    }
    return concat_text({cookie.value, expires, "; path=/", cookie.http_only ? "; HttpOnly" : ""});
}

} // namespace brindor::app
