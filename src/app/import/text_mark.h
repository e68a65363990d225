// The byte order marks that Windows editors put at the start of a text file.
#pragma once
#include <cstddef>
#include <cstdint>

namespace brindor::app {

enum class TextMark { None, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The mark the bytes start with; `size` may be shorter than any mark.
TextMark FindTextMark(const uint8_t* head, size_t size);
size_t TextMarkLength(TextMark mark);

} // namespace brindor::app
