// A plain SHA-1 for the native tree, where the platform's provider is not at hand.
#pragma once
#include <vector>

#include "submit/links/info_hash.h"

namespace brindor {

inline InfoHash ReferenceSha1(const uint8_t* data, size_t size) {
    std::vector<uint8_t> m(data, data + size);
    m.push_back(0x80);
    m.resize((m.size() + 8 + 63) / 64 * 64);
    for (int i = 1; i <= 8; ++i)
        m[m.size() - i] = static_cast<uint8_t>(uint64_t{size} * 8 >> (8 * (i - 1)));
    uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0}, w[80];
    auto rotate = [](uint32_t x, int n) { return x << n | x >> (32 - n); };
    for (size_t block = 0; block < m.size(); block += 64) {
        for (int i = 0; i < 80; ++i)
            w[i] = i < 16 ? uint32_t{m[block + 4 * i]} << 24 | m[block + 4 * i + 1] << 16 |
                                m[block + 4 * i + 2] << 8 | m[block + 4 * i + 3]
                          : rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3], e = h[4];
        for (int i = 0; i < 80; ++i) {
            const uint32_t f = i < 20              ? (b & c) | (~b & d)
                               : i < 40 || i >= 60 ? b ^ c ^ d
                                                   : (b & c) | (b & d) | (c & d);
            const uint32_t k = i < 20 ? 0x5A827999 : i < 40 ? 0x6ED9EBA1 : i < 60 ? 0x8F1BBCDC : 0xCA62C1D6;
            const uint32_t t = rotate(a, 5) + f + e + k + w[i];
            e = d, d = c, c = rotate(b, 30), b = a, a = t;
        }
        h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
    }
    InfoHash hash{};
    for (int i = 0; i < 20; ++i)
        hash[i] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
    return hash;
}

} // namespace brindor
