#include "app/import/text_mark.h"

namespace brindor::app {

namespace {

bool starts_with(const uint8_t* head, size_t size, const uint8_t* mark, size_t length) {
    if (size < length) return false;
    for (size_t i = 0; i < length; ++i)
        if (head[i] != mark[i]) return false;
    return true;
}

constexpr uint8_t kUtf8[] = {0xEF, 0xBB, 0xBF};
constexpr uint8_t kUtf16Le[] = {0xFF, 0xFE};
constexpr uint8_t kUtf16Be[] = {0xFE, 0xFF};

} // namespace

TextMark FindTextMark(const uint8_t* head, size_t size) {
    if (starts_with(head, size, kUtf8, sizeof kUtf8)) return TextMark::Utf8;
    if (starts_with(head, size, kUtf16Le, sizeof kUtf16Le)) return TextMark::Utf16LittleEndian;
    if (starts_with(head, size, kUtf16Be, sizeof kUtf16Be)) return TextMark::Utf16BigEndian;
    return TextMark::None;
}

size_t TextMarkLength(TextMark mark) {
    switch (mark) {
    case TextMark::Utf8:
        return sizeof kUtf8;
    case TextMark::Utf16LittleEndian:
    case TextMark::Utf16BigEndian:
        return 2;
    case TextMark::None:
        break;
    }
    return 0;
}

} // namespace brindor::app
