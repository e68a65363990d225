#include "runtime/core/bytes.h"

#include <cstring>

#include "runtime/core/memory.h"

namespace brindor {

static ArrayHeader* new_block(size_t length) {
    auto* block = static_cast<ArrayHeader*>(allocate(sizeof(ArrayHeader) + length));
    block->dimensions = 1;
    block->count = static_cast<int32_t>(length);
    return block;
}

Bytes::Bytes(const void* data, size_t length) {
    if (!length) return;
    block_ = new_block(length);
    std::memcpy(block_ + 1, data, length);
}

Bytes::Bytes(const Bytes& other) : Bytes(other.data(), other.size()) {}

Bytes& Bytes::operator=(const Bytes& other) {
    if (this != &other) *this = Bytes(other);
    return *this;
}

Bytes& Bytes::operator=(Bytes&& other) noexcept {
    if (this != &other) {
        release(block_);
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

Bytes::~Bytes() {
    release(block_);
}

Bytes Bytes::adopt(ArrayHeader* block) {
    Bytes b;
    b.block_ = block;
    return b;
}

Bytes Bytes::with_length(size_t length) {
    Bytes b;
    if (length) b.block_ = new_block(length);
    return b;
}

uint8_t* Bytes::mutable_data() {
    if (block_ && is_constant_block(block_)) {
        ArrayHeader* copy = new_block(size());
        std::memcpy(copy + 1, block_ + 1, size());
        block_ = copy;
    }
    return block_ ? reinterpret_cast<uint8_t*>(block_ + 1) : nullptr;
}

void Bytes::resize(size_t length) {
    // reallocate copies a constant block rather than touching it.
    block_ = static_cast<ArrayHeader*>(reallocate(block_, sizeof(ArrayHeader) + length));
    block_->dimensions = 1;
    block_->count = static_cast<int32_t>(length);
}

void Bytes::append(const void* data, size_t length) {
    if (!length) return;
    size_t old = size();
    resize(old + length);
    std::memcpy(reinterpret_cast<uint8_t*>(block_ + 1) + old, data, length);
}

ArrayHeader* Bytes::detach() {
    ArrayHeader* block = block_;
    block_ = nullptr;
    return block;
}

} // namespace brindor
