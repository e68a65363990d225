#include "runtime/core/byte_ops.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace brindor {

int bytes_length(const Bytes& bytes) {
    return static_cast<int>(bytes.size());
}

Bytes blank_bytes(int count) {
    if (count <= 0) return Bytes();
    Bytes result = Bytes::with_length(static_cast<size_t>(count));
    std::memset(result.mutable_data(), 0, static_cast<size_t>(count));
    return result;
}

Bytes left_bytes(const Bytes& bytes, int count) {
    if (count <= 0) return Bytes();
    return Bytes(bytes.data(), std::min(static_cast<size_t>(count), bytes.size()));
}

int find_bytes(const Bytes& bytes, const Bytes& sought, int start) {
    size_t begin = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (sought.empty() || begin >= bytes.size() || sought.size() > bytes.size() - begin) return -1;
    const uint8_t* first = bytes.data() + begin;
    const uint8_t* last = bytes.data() + bytes.size();
    const uint8_t* hit = std::search(
        first, last, std::boyer_moore_horspool_searcher(sought.data(), sought.data() + sought.size()));
    return hit == last ? -1 : static_cast<int>(hit - bytes.data()) + 1;
}

} // namespace brindor
