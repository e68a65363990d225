// Text: a NUL-terminated GBK byte string owned as a runtime memory block, or a reference
// to a constant in the program image. An empty text holds no block.
#pragma once
#include <cstddef>

namespace brindor {

class Text {
  public:
    Text() = default;
    // A string in the program's constant data is referred to, anything else is copied.
    Text(const char* s);
    Text(const char* s, size_t length);
    Text(const Text& other);
    Text(Text&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    Text& operator=(const Text& other);
    Text& operator=(Text&& other) noexcept;
    ~Text();

    // Takes ownership of a block from allocate() (or a constant); null means empty.
    static Text adopt(char* block);
    // A fresh writable block of length bytes (contents unset) plus the NUL.
    static Text with_length(size_t length);

    const char* c_str() const { return block_ ? block_ : ""; }
    size_t length() const;
    bool empty() const { return !block_ || !*block_; }
    char operator[](size_t i) const { return c_str()[i]; }

    // Writable bytes; a constant is copied first.
    char* data();
    // Hands the block to the caller (who releases it); the text becomes empty.
    char* detach();

    friend bool operator==(const Text& a, const Text& b);
    friend bool operator==(const Text& a, const char* b);

  private:
    char* block_ = nullptr;
};

} // namespace brindor
