#include "runtime/core/text_array.h"

#include <cstring>

#include "runtime/core/memory.h"
#include "runtime/core/runtime_error.h"

namespace brindor {

static size_t block_bytes(int capacity) {
    return sizeof(ArrayHeader) + sizeof(char*) * capacity;
}

TextArray::TextArray(const TextArray& other) {
    for (int i = 1; i <= other.count(); ++i)
        append(Text(other.at(i)));
}

TextArray::TextArray(TextArray&& other) noexcept : block_(other.block_), capacity_(other.capacity_) {
    other.block_ = nullptr;
    other.capacity_ = 0;
}

TextArray& TextArray::operator=(const TextArray& other) {
    if (this != &other) *this = TextArray(other);
    return *this;
}

TextArray& TextArray::operator=(TextArray&& other) noexcept {
    if (this != &other) {
        clear();
        block_ = other.block_;
        capacity_ = other.capacity_;
        other.block_ = nullptr;
        other.capacity_ = 0;
    }
    return *this;
}

TextArray::~TextArray() {
    clear();
}

TextArray TextArray::adopt(ArrayHeader* block) {
    TextArray a;
    a.block_ = block;
    a.capacity_ = block && !is_constant_block(block) ? block->count : 0;
    return a;
}

const char* TextArray::at(int position) const {
    check_subscript(position, count());
    const char* element = elements()[position - 1];
    return element ? element : "";
}

void TextArray::make_writable() {
    if (!block_ || !is_constant_block(block_)) return;
    void* array = block_;
    make_array_writable(sizeof(char*), &array);
    block_ = static_cast<ArrayHeader*>(array);
    capacity_ = block_->count;
}

void TextArray::append(Text element) {
    make_writable();
    int n = count();
    if (n == capacity_) {
        int grown = capacity_ < 8 ? 8 : capacity_ * 2;
        block_ = static_cast<ArrayHeader*>(reallocate(block_, block_bytes(grown)));
        capacity_ = grown;
    }
    block_->dimensions = 1;
    block_->count = n + 1;
    elements()[n] = element.detach();
}

void TextArray::set(int position, Text element) {
    check_subscript(position, count());
    make_writable();
    release(elements()[position - 1]);
    elements()[position - 1] = element.detach();
}

void TextArray::clear() {
    if (block_ && !is_constant_block(block_)) {
        for (int i = 0; i < block_->count; ++i)
            release(elements()[i]);
        release(block_);
    }
    block_ = nullptr;
    capacity_ = 0;
}

} // namespace brindor
