#include "runtime/core/text_builder.h"

#include <cstring>

#include "runtime/core/memory.h"

namespace brindor {

TextBuilder::TextBuilder(size_t expected_length) {
    if (expected_length) reserve(expected_length);
}

TextBuilder::~TextBuilder() {
    release(block_);
}

void TextBuilder::reserve(size_t needed) {
    if (needed <= capacity_) return;
    size_t grown = capacity_ < 32 ? 32 : capacity_ * 2;
    if (grown < needed) grown = needed;
    block_ = static_cast<char*>(reallocate(block_, grown + 1));
    capacity_ = grown;
}

void TextBuilder::append(const char* bytes, size_t length) {
    if (!length) return;
    reserve(length_ + length);
    std::memcpy(block_ + length_, bytes, length);
    length_ += length;
}

void TextBuilder::append(char byte) {
    reserve(length_ + 1);
    block_[length_++] = byte;
}

Text TextBuilder::take() {
    char* block = block_;
    size_t length = length_;
    size_t capacity = capacity_;
    block_ = nullptr;
    length_ = capacity_ = 0;
    if (!length) {
        release(block);
        return Text();
    }
    // Growth may have left up to half the block unused; results can be kept for long.
    if (capacity - length > length / 4) block = static_cast<char*>(reallocate(block, length + 1));
    block[length] = '\0';
    return Text::adopt(block);
}

} // namespace brindor
