// Byte set: a counted block {1, length, bytes} that may hold zero bytes. Empty holds no block.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/array_block.h"

namespace brindor {

class Bytes {
  public:
    Bytes() = default;
    Bytes(const void* data, size_t length);
    Bytes(const Bytes& other);
    Bytes(Bytes&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    Bytes& operator=(const Bytes& other);
    Bytes& operator=(Bytes&& other) noexcept;
    ~Bytes();

    // Takes ownership of a block laid out as {1, length, bytes} (heap or constant).
    static Bytes adopt(ArrayHeader* block);
    // length bytes, contents unset.
    static Bytes with_length(size_t length);

    size_t size() const { return block_ ? static_cast<size_t>(block_->count) : 0; }
    bool empty() const { return size() == 0; }
    const uint8_t* data() const { return block_ ? reinterpret_cast<const uint8_t*>(block_ + 1) : nullptr; }
    // Writable bytes; a constant is copied first.
    uint8_t* mutable_data();
    // Grows or shrinks in place where the heap allows; new bytes are unset.
    void resize(size_t length);
    void append(const void* data, size_t length);

    const ArrayHeader* block() const { return block_; }
    ArrayHeader* detach();

  private:
    ArrayHeader* block_ = nullptr;
};

} // namespace brindor
