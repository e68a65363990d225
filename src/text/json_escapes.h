// The escapes of a JSON string, decoded on UTF-16 units so that any code page can be converted
// to and from at the edges.
#pragma once
#include "runtime/core/bytes.h"

namespace brindor {

// The little-endian UTF-16 units of a string's content with \" \\ \/ \b \f \n \r \t and \uXXXX
// decoded (a surrogate pair by its two escapes). A lone surrogate and \u0000 become U+FFFD; a
// backslash before anything else, or a \u without four hex digits, stays as it was written.
Bytes DecodeJsonEscapes(const Bytes& utf16);

} // namespace brindor
