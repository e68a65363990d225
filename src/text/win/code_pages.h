// Conversions between code page 936 (the program's text), UTF-8 and UTF-16 (little-endian
// units carried as bytes). Failures give empty results.
#pragma once
#include <cstdint>

#include "runtime/core/bytes.h"
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

constexpr uint32_t kCodePageAnsi = 0;
constexpr uint32_t kCodePageGbk = 936;
constexpr uint32_t kCodePageUtf8 = 65001;

// Exactly the given bytes decoded; no terminating zero unit is added.
Bytes Utf8BytesToUtf16(const Bytes& utf8);
// A UTF-8 block (an answer body) re-encoded in code page 936; characters that code page lacks
// become its default character, but for U+2028 and U+2029, which become line feeds.
Bytes Utf8BytesToGbk(const Bytes& utf8);
// Every UTF-16 little-endian unit of the block (zero units too) in code page 936; characters it
// lacks become "?".
Bytes Utf16BytesToGbk(const Bytes& utf16);
// The text decoded from `code_page`, followed by one zero unit.
Bytes TextToUtf16(TextRef text, uint32_t code_page = kCodePageUtf8);
// The units up to the first zero unit (or the end of the block) encoded in `code_page`.
Text Utf16ToText(const Bytes& utf16, uint32_t code_page = kCodePageAnsi);

Text Utf8TextToGbk(TextRef text);
Text GbkTextToUtf8(TextRef text);

} // namespace brindor
