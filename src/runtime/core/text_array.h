// Text array: a one-dimensional array block {1, count, text pointers}; positions are 1-based.
// Each element is an owned heap text or a constant. Appending is amortised constant time.
#pragma once
#include <cstddef>

#include "runtime/core/array_block.h"
#include "runtime/core/text.h"

namespace brindor {

class TextArray {
  public:
    TextArray() = default;
    TextArray(const TextArray& other);
    TextArray(TextArray&& other) noexcept;
    TextArray& operator=(const TextArray& other);
    TextArray& operator=(TextArray&& other) noexcept;
    ~TextArray();

    // Refers to an array block in constant data, or takes ownership of a heap one.
    static TextArray adopt(ArrayHeader* block);

    int count() const { return block_ ? block_->count : 0; }
    bool empty() const { return count() == 0; }
    // 1-based; a subscript out of range is a fatal runtime error (codes 4 and 1).
    const char* at(int position) const;
    void append(Text element);
    void set(int position, Text element);
    void clear();

    const ArrayHeader* block() const { return block_; }

  private:
    char** elements() const { return reinterpret_cast<char**>(block_ + 1); }
    void make_writable();

    ArrayHeader* block_ = nullptr;
    int capacity_ = 0; // elements the heap block has room for
};

// element_count: the number of elements; a null array has none.
inline int element_count(const TextArray& array) {
    return array.count();
}

} // namespace brindor
