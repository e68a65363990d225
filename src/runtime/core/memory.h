// Memory blocks behind every text, byte set and array of the program.
#pragma once
#include <cstddef>
#include <cstdint>

namespace brindor {

// Never zero-filled. Out of memory is a fatal runtime error; these never return null for size > 0.
void* allocate(size_t size);
void* reallocate(void* block, size_t size);
void release(void* block);

// True when the block lies in the program's read-only image (constants: never freed or changed).
bool is_constant_block(const void* block);

// Copies an array that lies in constant data into a fresh heap block, so that it may be changed.
void make_array_writable(size_t element_size, void** array_variable);

// Platform layer: the process heap and the bounds of the loaded image's read-only data.
namespace platform {
void* heap_allocate(size_t size);
void* heap_reallocate(void* block, size_t size);
void heap_free(void* block);
// End of the read-only region holding p, or null when p lies in no such region.
const uint8_t* constant_region_end(const void* p);
} // namespace platform

} // namespace brindor
