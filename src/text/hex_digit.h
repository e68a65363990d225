// The value of hexadecimal digits, whatever the width of the characters holding them.
#pragma once
#include <cstdint>

namespace brindor {

// 0 to 15, or -1 for a character that is no hexadecimal digit.
constexpr int HexDigitValue(uint32_t c) {
    if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;
}

// The value of `count` digits read through `digit_at(0 .. count-1)`; -1 when one is no digit.
template <class DigitAt> constexpr int32_t HexDigitsValue(int count, DigitAt digit_at) {
    int32_t value = 0;
    for (int i = 0; i < count; ++i) {
        const int digit = HexDigitValue(digit_at(i));
        if (digit < 0) return -1;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace brindor
