#include "runtime/core/number_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace brindor {

namespace {

size_t put(char (&out)[kFormattedNumberCapacity], const char* s) {
    size_t n = std::strlen(s);
    std::memcpy(out, s, n + 1);
    return n;
}

} // namespace

size_t format_general(double value, int precision, char (&out)[kFormattedNumberCapacity]) {
    if (std::isnan(value)) return put(out, "nan");
    if (std::isinf(value)) return put(out, value < 0 ? "-inf" : "inf");
    if (value == 0) return put(out, "0"); // also for -0: a "-0" on screen only confuses
    if (precision < 1) precision = 1;
    if (precision > 17) precision = 17;

    // Correctly rounded digits d.ddde±x from the standard library, which every build shares;
    // the layout is ours.
    char scientific[kFormattedNumberCapacity];
    auto done = std::to_chars(scientific, scientific + sizeof scientific, value,
                              std::chars_format::scientific, precision - 1);
    *done.ptr = '\0';
    const char* p = scientific;
    bool negative = *p == '-';
    if (negative) ++p;
    char digits[20];
    int digit_count = 0;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits[digit_count++] = *p;
    int exponent = std::atoi(p + 1);
    while (digit_count > 1 && digits[digit_count - 1] == '0')
        --digit_count;

    char* o = out;
    if (negative) *o++ = '-';
    if (exponent < -4 || exponent >= precision) {
        *o++ = digits[0];
        if (digit_count > 1) {
            *o++ = '.';
            for (int i = 1; i < digit_count; ++i)
                *o++ = digits[i];
        }
        *o++ = 'e';
        *o++ = exponent < 0 ? '-' : '+';
        int magnitude = exponent < 0 ? -exponent : exponent;
        *o++ = static_cast<char>('0' + magnitude / 100);
        *o++ = static_cast<char>('0' + magnitude / 10 % 10);
        *o++ = static_cast<char>('0' + magnitude % 10);
    } else if (exponent >= 0) {
        for (int i = 0; i <= exponent; ++i)
            *o++ = i < digit_count ? digits[i] : '0';
        if (digit_count > exponent + 1) {
            *o++ = '.';
            for (int i = exponent + 1; i < digit_count; ++i)
                *o++ = digits[i];
        }
    } else {
        *o++ = '0';
        *o++ = '.';
        for (int i = 0; i < -exponent - 1; ++i)
            *o++ = '0';
        for (int i = 0; i < digit_count; ++i)
            *o++ = digits[i];
    }
    *o = '\0';
    return static_cast<size_t>(o - out);
}

} // namespace brindor
