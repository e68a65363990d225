// Titles escaped as \uXXXX, as most JSON encoders write everything beyond ASCII. The characters
// come from a code page conversion, which lives at the Windows edge: it is handed in.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// Takes a run of \uXXXX escapes as written; gives its characters in the program's code page, or
// empty text when it cannot.
using EscapeDecoder = Text (*)(TextRef escapes);

// The answer with each run of escapes of characters beyond ASCII decoded in place. An escaped
// backslash starts no escape; an escape of an ASCII character stays as written, so an escaped
// quote still cannot end its string.
Text DecodeWideEscapes(TextRef answer, EscapeDecoder decode);

} // namespace brindor
