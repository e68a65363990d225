// The value of one hexadecimal digit, whatever the width of the character holding it.
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

} // namespace brindor
