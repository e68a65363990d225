#include "text/json_escapes.h"

#include <cstddef>
#include <cstdint>
#include "text/hex_digit.h"

namespace brindor {

namespace {

constexpr uint16_t kReplacement = 0xFFFD;

class Units {
  public:
    explicit Units(const Bytes& bytes) : data_(bytes.data()), count_(bytes.size() / 2) {}
    size_t count() const { return count_; }
    uint16_t at(size_t i) const { return static_cast<uint16_t>(data_[2 * i] | data_[2 * i + 1] << 8); }

  private:
    const uint8_t* data_;
    size_t count_;
};

bool IsHighSurrogate(uint16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(uint16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The unit of "\uXXXX" starting at `i`; -1 when there is no such escape there.
int32_t EscapedUnit(const Units& in, size_t i) {
    if (i + 6 > in.count() || in.at(i) != '\\' || in.at(i + 1) != 'u') return -1;
    return HexDigitsValue(4, [&](int k) { return in.at(i + 2 + k); });
}

int32_t SimpleEscape(uint16_t unit) {
    switch (unit) {
    case '"':
    case '\\':
    case '/':
        return unit;
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return -1;
    }
}

void Append(Bytes& out, uint16_t unit) {
    const uint8_t pair[2] = {static_cast<uint8_t>(unit & 0xFF), static_cast<uint8_t>(unit >> 8)};
    out.append(pair, 2);
}

} // namespace

Bytes DecodeJsonEscapes(const Bytes& utf16) {
    const Units in(utf16);
    Bytes out;
    for (size_t i = 0; i < in.count();) {
        const int32_t escaped = EscapedUnit(in, i);
        if (escaped >= 0) {
            const int32_t low = EscapedUnit(in, i + 6);
            if (IsHighSurrogate(static_cast<uint16_t>(escaped)) && low >= 0 &&
                IsLowSurrogate(static_cast<uint16_t>(low))) {
                Append(out, static_cast<uint16_t>(escaped));
                Append(out, static_cast<uint16_t>(low));
                i += 12;
                continue;
            }
            const bool lone = IsHighSurrogate(static_cast<uint16_t>(escaped)) ||
                              IsLowSurrogate(static_cast<uint16_t>(escaped)) || escaped == 0;
            Append(out, lone ? kReplacement : static_cast<uint16_t>(escaped));
            i += 6;
            continue;
        }
        const int32_t simple = in.at(i) == '\\' && i + 1 < in.count() ? SimpleEscape(in.at(i + 1)) : -1;
        if (simple >= 0) {
            Append(out, static_cast<uint16_t>(simple));
            i += 2;
            continue;
        }
        Append(out, in.at(i));
        ++i;
    }
    return out;
}

} // namespace brindor
