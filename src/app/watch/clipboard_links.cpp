#include "app/watch/clipboard_links.h"

#include <cstring>

#include "runtime/core/text.h"

namespace brindor::app {

namespace {

constexpr char kPrefix[] = "magnet:?";
constexpr size_t kPrefixLength = sizeof kPrefix - 1;

bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWithPrefix(const unsigned char* p, const unsigned char* end) {
    if (static_cast<size_t>(end - p) < kPrefixLength) return false;
    for (size_t i = 0; i < kPrefixLength; ++i) {
        const unsigned char c = p[i] >= 'A' && p[i] <= 'Z' ? static_cast<unsigned char>(p[i] + 32) : p[i];
        if (c != static_cast<unsigned char>(kPrefix[i])) return false;
    }
    return true;
}

bool EndsLink(unsigned char c) {
    return c <= 0x20 || c >= 0x7F || c == '"' || c == '\'' || c == '<' || c == '>' || c == '`';
}

bool EndsSentence(unsigned char c) {
    return std::strchr(".,;:!?)]}", c) != nullptr && c != 0;
}

} // namespace

TextArray MagnetLinksInText(TextRef text, bool cut_short) {
    TextArray links;
    const unsigned char* p = text.bytes();
    const unsigned char* const end = p + std::strlen(text.c_str());
    unsigned char before = ' ';
    while (p < end) {
        // A double-byte character is stepped over whole: its second byte may look like ASCII. A
        // link may follow it directly ("链接magnet:?...").
        if (*p >= 0x81 && *p <= 0xFE && p + 1 < end) {
            before = ' ';
            p += 2;
            continue;
        }
        if (IsAsciiAlnum(before) || !StartsWithPrefix(p, end)) {
            before = *p++;
            continue;
        }
        const unsigned char* stop = p + kPrefixLength;
        while (stop < end && !EndsLink(*stop))
            ++stop;
        const bool incomplete = cut_short && stop == end;
        const unsigned char* last = stop;
        while (last > p + kPrefixLength && EndsSentence(last[-1]))
            --last;
        if (!incomplete && last > p + kPrefixLength)
            links.append(Text(reinterpret_cast<const char*>(p), static_cast<size_t>(last - p)));
        before = stop[-1];
        p = stop;
    }
    return links;
}

} // namespace brindor::app
