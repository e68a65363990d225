// Byte-set operations. Bytes are plain bytes here: no character stepping.
#pragma once
#include "runtime/core/bytes.h"

namespace brindor {

// The length; an empty byte set gives 0.
int bytes_length(const Bytes& bytes);
// count zero bytes; count <= 0 gives an empty byte set.
Bytes blank_bytes(int count);
// The first min(count, length) bytes; count <= 0 gives an empty byte set.
Bytes left_bytes(const Bytes& bytes, int count);
// 1-based position of the first occurrence at or after start (start < 1 counts as 1), or -1;
// also -1 for an empty sought set or an empty range.
int find_bytes(const Bytes& bytes, const Bytes& sought, int start = 1);

} // namespace brindor
