#include "runtime/core/text.h"

#include <cstring>

#include "runtime/core/memory.h"

namespace brindor {

static char* copy_block(const char* s, size_t length) {
    char* block = static_cast<char*>(allocate(length + 1));
    std::memcpy(block, s, length);
    block[length] = '\0';
    return block;
}

Text::Text(const char* s) {
    if (!s || !*s) return;
    block_ = is_constant_block(s) ? const_cast<char*>(s) : copy_block(s, std::strlen(s));
}

Text::Text(const char* s, size_t length) {
    if (length) block_ = copy_block(s, length);
}

Text::Text(const Text& other) {
    if (!other.block_) return;
    block_ = is_constant_block(other.block_) ? other.block_ : copy_block(other.block_, other.length());
}

Text& Text::operator=(const Text& other) {
    if (this != &other) *this = Text(other);
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        release(block_);
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

Text::~Text() {
    release(block_);
}

Text Text::adopt(char* block) {
    Text t;
    t.block_ = block;
    return t;
}

Text Text::with_length(size_t length) {
    char* block = static_cast<char*>(allocate(length + 1));
    block[length] = '\0';
    return adopt(block);
}

size_t Text::length() const {
    return block_ ? std::strlen(block_) : 0;
}

char* Text::data() {
    if (!block_)
        block_ = copy_block("", 0);
    else if (is_constant_block(block_))
        block_ = copy_block(block_, std::strlen(block_));
    return block_;
}

char* Text::detach() {
    char* block = block_;
    block_ = nullptr;
    return block;
}

bool operator==(const Text& a, const Text& b) {
    return std::strcmp(a.c_str(), b.c_str()) == 0;
}
bool operator==(const Text& a, const char* b) {
    return std::strcmp(a.c_str(), b ? b : "") == 0;
}

} // namespace brindor
