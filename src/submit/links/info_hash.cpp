#include "submit/links/info_hash.h"

#include <cstring>

#include "runtime/core/text_ops.h"
#include "text/hex_digit.h"

namespace brindor {

namespace {

constexpr char kBtihTag[] = "xt=urn:btih:";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix)
        if (Lower(*text) != *prefix) return false;
    return true;
}

// The first parameter beginning with `tag`, found after "?" or "&"; null when there is none.
const char* FindParameter(const char* link, const char* tag) {
    for (const char* p = std::strchr(link, '?'); p; p = std::strchr(p + 1, '&'))
        if (StartsWithIgnoringCase(p + 1, tag)) return p + 1;
    return nullptr;
}

int Base32Digit(char c) {
    c = Lower(c);
    if (c >= 'a' && c <= 'z') return c - 'a';
    if (c >= '2' && c <= '7') return c - '2' + 26;
    return -1;
}

bool ReadHex(const char* digits, InfoHash& hash) {
    for (size_t i = 0; i < hash.size(); ++i) {
        const int high = HexDigitValue(static_cast<unsigned char>(digits[2 * i])),
                  low = HexDigitValue(static_cast<unsigned char>(digits[2 * i + 1]));
        if (high < 0 || low < 0) return false;
        hash[i] = static_cast<uint8_t>(high << 4 | low);
    }
    return true;
}

bool ReadBase32(const char* digits, InfoHash& hash) {
    uint32_t bits = 0;
    int held = 0;
    size_t out = 0;
    for (int i = 0; i < 32; ++i) {
        const int digit = Base32Digit(digits[i]);
        if (digit < 0) return false;
        bits = bits << 5 | static_cast<uint32_t>(digit);
        held += 5;
        if (held >= 8) {
            held -= 8;
            hash[out++] = static_cast<uint8_t>(bits >> held);
        }
    }
    return true;
}

} // namespace

bool IsMagnetLink(TextRef link) {
    return StartsWithIgnoringCase(link.c_str(), "magnet:?") && FindParameter(link.c_str(), "xt=");
}

bool ReadInfoHash(TextRef link, InfoHash& hash) {
    if (!IsMagnetLink(link)) return false;
    const char* parameter = FindParameter(link.c_str(), kBtihTag);
    if (!parameter) return false;
    const char* digits = parameter + std::strlen(kBtihTag);
    const size_t length = std::strcspn(digits, "&");
    if (length == 40) return ReadHex(digits, hash);
    if (length == 32) return ReadBase32(digits, hash);
    return false;
}

Text BareHashMagnet(TextRef item) {
    const size_t length = std::strlen(item.c_str());
    InfoHash hash{};
    const bool bare =
        (length == 40 && ReadHex(item.c_str(), hash)) || (length == 32 && ReadBase32(item.c_str(), hash));
    if (!bare) return Text();
    return concat_text({"magnet:?", kBtihTag, item});
}

// Every byte counts: hashes that share their first bytes (made up, or chosen to) must not collide.
size_t InfoHashHasher::operator()(const InfoHash& hash) const {
    uint32_t value = 2166136261u; // FNV-1a
    for (uint8_t byte : hash)
        value = (value ^ byte) * 16777619u;
    return value;
}

} // namespace brindor
