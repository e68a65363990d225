// Builds a text by appending, growing its block geometrically; take() hands out the result.
#pragma once
#include <cstddef>

#include "runtime/core/text.h"

namespace brindor {

class TextBuilder {
  public:
    explicit TextBuilder(size_t expected_length = 0);
    TextBuilder(const TextBuilder&) = delete;
    TextBuilder& operator=(const TextBuilder&) = delete;
    ~TextBuilder();

    void append(const char* bytes, size_t length);
    void append(char byte);
    size_t length() const { return length_; }
    // The text built so far (empty text when nothing was appended); the builder starts over.
    Text take();

  private:
    void reserve(size_t needed);

    char* block_ = nullptr;
    size_t length_ = 0;
    size_t capacity_ = 0; // bytes before the room for the NUL
};

} // namespace brindor
