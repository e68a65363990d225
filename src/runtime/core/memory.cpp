#include "runtime/core/memory.h"

#include <cstdio>
#include <cstring>

#include "runtime/core/array_block.h"
#include "runtime/core/runtime_error.h"

namespace brindor {

[[noreturn]] static void out_of_memory(size_t size) {
    char message[64];
    std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(size));
    report_runtime_error_text(message);
}

// A constant's own size is unknown, so the copy may run on into neighbouring constant data
// (still inside the read-only image); the sanitizer's redzones there are not a fault.
#if defined(__clang__) || defined(__GNUC__)
__attribute__((no_sanitize("address")))
#endif
static void
copy_constant_prefix(uint8_t* to, const uint8_t* from, size_t n) {
    for (size_t i = 0; i < n; ++i)
        to[i] = from[i];
}

void* allocate(size_t size) {
    void* block = platform::heap_allocate(size ? size : 1);
    if (!block) out_of_memory(size);
    return block;
}

void* reallocate(void* block, size_t size) {
    if (!block) return allocate(size);
    if (const uint8_t* end = platform::constant_region_end(block)) {
        void* copy = allocate(size);
        size_t available = static_cast<size_t>(end - static_cast<const uint8_t*>(block));
        copy_constant_prefix(static_cast<uint8_t*>(copy), static_cast<const uint8_t*>(block),
                             size < available ? size : available);
        return copy;
    }
    void* moved = platform::heap_reallocate(block, size ? size : 1);
    if (!moved) out_of_memory(size);
    return moved;
}

void release(void* block) {
    if (block && !is_constant_block(block)) platform::heap_free(block);
}

bool is_constant_block(const void* block) {
    return block && platform::constant_region_end(block);
}

void make_array_writable(size_t element_size, void** array_variable) {
    void* array = *array_variable;
    if (!is_constant_block(array)) return;
    size_t size = array_block_bytes(static_cast<const ArrayHeader*>(array), element_size);
    void* copy = allocate(size);
    std::memcpy(copy, array, size);
    *array_variable = copy;
}

} // namespace brindor
