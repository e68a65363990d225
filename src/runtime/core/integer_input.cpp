#include "runtime/core/integer_input.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace brindor {

bool integer_input_accepts(uint32_t character) {
    if (character < 0x20 || character == 0x7F) return true;
    return (character >= '0' && character <= '9') || character == '-';
}

Text normalize_integer_text(const char* text) {
    const char* p = text ? text : "";
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    // Accumulated as a negative number so that INT64_MIN fits; saturates instead of wrapping.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        int digit = *p - '0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
            continue;
        }
        value = value * 10 - digit;
    }
    if (!negative) value = value == kMin ? std::numeric_limits<int64_t>::max() : -value;
    if (value > std::numeric_limits<int32_t>::max()) value = std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) value = std::numeric_limits<int32_t>::min();
    if (value == 0) return {};
    char digits[16];
    std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(value));
    return Text(digits, std::strlen(digits));
}

} // namespace brindor
