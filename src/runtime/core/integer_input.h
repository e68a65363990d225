// The integer input mode of an edit box: which typed characters pass, and the text left behind
// when the box loses the focus.
#pragma once
#include <cstdint>

#include "runtime/core/text.h"

namespace brindor {

// Digits and "-" pass, control characters too; any other printable character is dropped.
bool integer_input_accepts(uint32_t character);

// Leading spaces, an optional sign and the digits up to the first non-digit, read as a 64-bit
// integer (no digits: 0), clamped to 32 bits; 0 gives empty text.
Text normalize_integer_text(const char* text);

} // namespace brindor
