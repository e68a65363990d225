#include "submit/service/throttle_policy.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

#include "runtime/core/text_ops.h"
#include "submit/service/failure_reason.h"
#include "text/civil_days.h"

namespace brindor {

namespace {

// What services put in a refusal that means "later", not "no"; the one list of them.
constexpr const char* kTooFastWords[] = {"频繁", "太快", "稍后再试", "too many requests"};

// The value of a header line, trimmed; empty when the block has no such line. The status line
// comes first, so every header starts after a line break.
std::string_view HeaderValue(std::string_view block, std::string_view name) {
    for (size_t line = block.find('\n'); line != std::string_view::npos; line = block.find('\n', line + 1)) {
        std::string_view rest = block.substr(line + 1);
        if (rest.size() <= name.size() || rest[name.size()] != ':') continue;
        if (!std::equal(name.begin(), name.end(), rest.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            }))
            continue;
        std::string_view value = rest.substr(name.size() + 1);
        value = value.substr(0, value.find_first_of("\r\n"));
        const size_t first = value.find_first_not_of(" \t");
        if (first == std::string_view::npos) return {};
        return value.substr(first, value.find_last_not_of(" \t") - first + 1);
    }
    return {};
}

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Any of the three HTTP date forms ("Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37
// GMT", "Sun Nov  6 08:49:37 1994") as Unix seconds; -1 when it is none of them.
int64_t HttpDateSeconds(std::string_view text) {
    static constexpr std::string_view kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                                   "jul", "aug", "sep", "oct", "nov", "dec"};
    int month = 0, hour = -1, minute = 0, second = 0;
    int64_t numbers[2] = {-1, -1}; // day, then year
    int found = 0;
    size_t i = 0;
    while (i < text.size()) {
        const size_t end = std::min(text.find_first_of(" ,-", i), text.size());
        const std::string_view token = text.substr(i, end - i);
        i = end + 1;
        if (token.empty()) continue;
        if (token.size() == 8 && token[2] == ':' && token[5] == ':') {
            if (!AllDigits(token.substr(0, 2)) || !AllDigits(token.substr(3, 2)) ||
                !AllDigits(token.substr(6, 2)))
                return -1;
            hour = (token[0] - '0') * 10 + token[1] - '0';
            minute = (token[3] - '0') * 10 + token[4] - '0';
            second = (token[6] - '0') * 10 + token[7] - '0';
        } else if (AllDigits(token) && token.size() <= 4 && found < 2) {
            int64_t value = 0;
            for (char c : token)
                value = value * 10 + (c - '0');
            numbers[found++] = value;
        } else if (token.size() == 3) {
            for (int m = 0; m < 12; ++m)
                if (std::equal(token.begin(), token.end(), kMonths[m].begin(), [](char a, char b) {
                        return std::tolower(static_cast<unsigned char>(a)) == b;
                    }))
                    month = m + 1;
        }
    }
    int64_t day = numbers[0], year = numbers[1];
    if (year >= 0 && year < 100) year += year < 70 ? 2000 : 1900; // the two-digit years of the old form
    if (month == 0 || hour < 0 || found < 2 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60)
        return -1;
    return DaysFromCivil(year, month, static_cast<int>(day)) * 86400 + hour * 3600 + minute * 60 + second;
}

} // namespace

bool IsThrottled(const ServiceAnswer& answer) {
    if (answer.status == 429 || answer.status == 503) return true;
    return std::any_of(std::begin(kTooFastWords), std::end(kTooFastWords),
                       [&](const char* word) { return find_text(answer.message, word, 1, true) != -1; });
}

int32_t RetryAfterMs(TextRef raw_headers, int64_t now) {
    const std::string_view value = HeaderValue(raw_headers.c_str(), "Retry-After");
    int64_t seconds = 0;
    if (AllDigits(value)) {
        for (char c : value)
            seconds = std::min<int64_t>(seconds * 10 + (c - '0'), kRetryAfterCapMs);
    } else {
        const int64_t when = HttpDateSeconds(value);
        if (when < 0) return -1;
        const int64_t server_now = HttpDateSeconds(HeaderValue(raw_headers.c_str(), "Date"));
        seconds = std::max<int64_t>(when - (server_now >= 0 ? server_now : now), 0);
    }
    return static_cast<int32_t>(std::min<int64_t>(seconds * 1000, kRetryAfterCapMs));
}

int32_t BackoffMs(int k, double jitter) {
    int64_t step = kThrottleFirstStepMs;
    for (int i = 0; i < k && step < kThrottleStepCapMs; ++i)
        step *= 2;
    step = std::min<int64_t>(step, kThrottleStepCapMs);
    return static_cast<int32_t>(
        std::lround(static_cast<double>(step) * (1.0 + 0.2 * std::clamp(jitter, -1.0, 1.0))));
}

int32_t ThrottleWaitMs(const ServiceAnswer& answer, int k, double jitter) {
    return answer.retry_after_ms >= 0 ? answer.retry_after_ms : BackoffMs(k, jitter);
}

} // namespace brindor
