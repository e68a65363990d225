#include "runtime/core/file_name.h"

#include <cstring>

namespace brindor {

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
    size_t i = 0;
    for (; extension[i]; ++i) {
        char16_t c = tail[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        char e = extension[i];
        if (e >= 'A' && e <= 'Z') e = static_cast<char>(e - 'A' + 'a');
        if (c != static_cast<char16_t>(e)) return false;
    }
    return tail[i] == 0;
}

} // namespace brindor
