#include "runtime/core/file_name.h"

#include <cstring>

namespace brindor {

namespace {

char16_t lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// True when `units` begins with `ascii`, letter case aside.
bool starts_with(const char16_t* units, const char* ascii) {
    for (; *ascii; ++units, ++ascii)
        if (lower(*units) != lower(static_cast<char16_t>(static_cast<unsigned char>(*ascii)))) return false;
    return true;
}

} // namespace

FileName::FileName(const char16_t* units, size_t length) {
    if (length == 0) return;
    units_ = Bytes::with_length((length + 1) * sizeof(char16_t));
    std::memcpy(units_.mutable_data(), units, length * sizeof(char16_t));
    std::memset(units_.mutable_data() + length * sizeof(char16_t), 0, sizeof(char16_t));
}

const char16_t* FileName::units() const {
    static const char16_t kEmpty[1] = {};
    return units_.empty() ? kEmpty : reinterpret_cast<const char16_t*>(units_.data());
}

bool FileName::has_extension(const char* extension) const {
    const char16_t* name = units();
    size_t dot = length();
    for (size_t i = length(); i-- > 0;) {
        if (name[i] == u'\\' || name[i] == u'/') break;
        if (name[i] == u'.') {
            dot = i;
            break;
        }
    }
    if (dot == length()) return false;
    const char16_t* tail = name + dot + 1;
    return starts_with(tail, extension) && tail[std::strlen(extension)] == 0;
}

bool FileName::contains(const char* ascii) const {
    for (const char16_t* p = units(); *p; ++p)
        if (starts_with(p, ascii)) return true;
    return false;
}

} // namespace brindor
