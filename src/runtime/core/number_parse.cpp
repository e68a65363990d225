#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "runtime/core/conversions.h"
#include "runtime/core/occurrence_scanner.h"
#include "runtime/core/text_builder.h"

namespace brindor {

namespace {

bool is_white_space(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

const char* skip_white_space(const char* s) {
    while (is_white_space(*s))
        ++s;
    return s;
}

int32_t parse_integer(const char* s) {
    s = skip_white_space(s);
    bool negative = *s == '-';
    if (*s == '-' || *s == '+') ++s;
    int64_t magnitude = 0;
    for (; is_digit(*s); ++s)
        if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (*s - '0');
    int64_t value = negative ? -magnitude : magnitude;
    // Saturates like the target system's own decimal parsing.
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Only the decimal grammar is handed to strtod, which would also take hex, "inf" and "nan".
double parse_double(char* s) {
    s = const_cast<char*>(skip_white_space(s));
    char* p = s;
    if (*p == '-' || *p == '+') ++p;
    bool has_digits = false;
    while (is_digit(*p))
        ++p, has_digits = true;
    if (*p == '.') {
        ++p;
        while (is_digit(*p))
            ++p, has_digits = true;
    }
    if (!has_digits) return 0;
    if (*p == 'e' || *p == 'E') {
        char* e = p + 1;
        if (*e == '-' || *e == '+') ++e;
        if (is_digit(*e)) {
            while (is_digit(*e))
                ++e;
            p = e;
        }
    }
    *p = '\0';
    return std::strtod(s, nullptr);
}

// Doubles outside the 64-bit range (and NaN) truncate to 0x8000000000000000 on the target.
int32_t truncate_to_integer(double value) {
    if (!(value > -9223372036854775808.0 && value < 9223372036854775808.0)) return 0;
    return static_cast<int32_t>(static_cast<uint64_t>(static_cast<int64_t>(value)));
}

} // namespace

Text fold_full_width(TextRef text) {
    const unsigned char* s = text.bytes();
    size_t length = std::strlen(text.c_str());
    TextBuilder out(length);
    for (size_t i = 0; i < length;) {
        if (!is_lead_byte(s[i]) || i + 1 == length) {
            out.append(static_cast<char>(s[i++]));
            continue;
        }
        unsigned char lead = s[i], trail = s[i + 1];
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE)
            out.append(static_cast<char>(trail & 0x7F));
        else if (lead == 0xA1 && trail == 0xA1)
            out.append(' ');
        else if (lead == 0xA1 && trail == 0xAB)
            out.append('~');
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF))
            out.append('*');
        else
            out.append(text.c_str() + i, 2);
        i += 2;
    }
    return out.take();
}

int32_t to_integer(const Value& value) {
    switch (value.type) {
    case kTypeText:
        return parse_integer(fold_full_width(value.as_text()).c_str());
    case kTypeDouble:
        return truncate_to_integer(value.as_double());
    case kTypeFloat:
        return truncate_to_integer(value.as_float());
    case kTypeBoolean:
    case kTypeInteger:
        return value.as_integer();
    case kTypeShort:
        return static_cast<int16_t>(value.low);
    case kTypeByte:
        return static_cast<int32_t>(value.low & 0xFF);
    case kTypeLong:
        return static_cast<int32_t>(value.low);
    default:
        return 0;
    }
}

double to_double(const Value& value) {
    switch (value.type) {
    case kTypeText: {
        Text folded = fold_full_width(value.as_text());
        return folded.empty() ? 0 : parse_double(folded.data());
    }
    case kTypeDouble:
        return value.as_double();
    case kTypeFloat:
        return value.as_float();
    case kTypeBoolean:
    case kTypeInteger:
        return value.as_integer();
    case kTypeShort:
        return static_cast<int16_t>(value.low);
    case kTypeByte:
        return static_cast<int32_t>(value.low & 0xFF);
    case kTypeLong:
        return static_cast<double>(value.as_long());
    default:
        return 0;
    }
}

} // namespace brindor
