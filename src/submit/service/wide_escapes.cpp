#include "submit/service/wide_escapes.h"

#include <cstring>

#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"
#include "text/hex_digit.h"

namespace brindor {

namespace {

constexpr int kEscapeLength = 6;

// The first byte of a two-byte character of code page 936 and a byte that may follow it.
bool LeadsPair(const char* p) {
    const auto lead = static_cast<unsigned char>(p[0]), trail = static_cast<unsigned char>(p[1]);
    return lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE && trail != 0x7F;
}

bool IsWideEscape(const char* p) {
    if (p[0] != '\\' || p[1] != 'u') return false;
    int value = 0;
    for (int i = 2; i < kEscapeLength; ++i) {
        const int digit = HexDigitValue(static_cast<unsigned char>(p[i]));
        if (digit < 0) return false;
        value = value * 16 + digit;
    }
    return value >= 0x80;
}

// Bytes that stand together: an escape with the character it escapes, a two-byte character.
size_t StepOver(const char* p) {
    if (*p == '\\' && p[1]) return LeadsPair(p + 1) ? 3 : 2;
    return LeadsPair(p) ? 2 : 1;
}

} // namespace

Text DecodeWideEscapes(TextRef answer, EscapeDecoder decode) {
    const char* p = answer.c_str();
    if (!std::strstr(p, "\\u")) return Text(p);
    TextBuilder out(text_length(answer));
    while (*p) {
        if (!IsWideEscape(p)) {
            const size_t step = StepOver(p);
            out.append(p, step);
            p += step;
            continue;
        }
        const char* run = p;
        while (IsWideEscape(p))
            p += kEscapeLength;
        const int length = static_cast<int>(p - run);
        const Text decoded = decode(left_text(run, length));
        if (decoded.empty())
            out.append(run, static_cast<size_t>(length));
        else
            out.append(decoded.c_str(), text_length(decoded));
    }
    return out.take();
}

} // namespace brindor
