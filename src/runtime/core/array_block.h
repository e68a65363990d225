// The block layout shared by byte sets and arrays: {dimension count, element count, elements}.
#pragma once
#include <cstddef>
#include <cstdint>

namespace brindor {

struct ArrayHeader {
    int32_t dimensions;
    int32_t count;
};

inline size_t array_block_bytes(const ArrayHeader* header, size_t element_size) {
    return sizeof(ArrayHeader) + static_cast<size_t>(header->count) * element_size;
}

} // namespace brindor
