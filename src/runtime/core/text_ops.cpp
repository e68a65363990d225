#include "runtime/core/text_ops.h"

#include <algorithm>
#include <cstring>

#include "runtime/core/occurrence_scanner.h"

namespace brindor {

int text_length(TextRef text) {
    return static_cast<int>(std::strlen(text.c_str()));
}

Text left_text(TextRef text, int count) {
    if (count <= 0) return Text();
    size_t length = std::strlen(text.c_str());
    return Text(text.c_str(), std::min(static_cast<size_t>(count), length));
}

Text right_text(TextRef text, int count) {
    if (count <= 0) return Text();
    size_t length = std::strlen(text.c_str());
    size_t n = std::min(static_cast<size_t>(count), length);
    return Text(text.c_str() + length - n, n);
}

Text mid_text(TextRef text, int start, int count) {
    size_t length = std::strlen(text.c_str());
    if (start < 1 || count <= 0 || static_cast<size_t>(start) > length) return Text();
    size_t offset = static_cast<size_t>(start) - 1;
    return Text(text.c_str() + offset, std::min(static_cast<size_t>(count), length - offset));
}

Text to_lower(TextRef text) {
    size_t length = std::strlen(text.c_str());
    Text result(text.c_str(), length);
    if (!length) return result;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(result.data());
    for (size_t i = 0; i < length; ++i) {
        if (is_lead_byte(bytes[i]))
            ++i; // its second byte may look like a letter
        else if (bytes[i] >= 'A' && bytes[i] <= 'Z')
            bytes[i] += 'a' - 'A';
    }
    return result;
}

Text blank_text(int count) {
    if (count < 1) return Text();
    Text result = Text::with_length(static_cast<size_t>(count));
    std::memset(result.data(), ' ', static_cast<size_t>(count));
    return result;
}

Text char_text(int code) {
    char byte = static_cast<char>(code & 0xFF);
    return byte ? Text(&byte, 1) : Text();
}

int compare_text(TextRef a, TextRef b) {
    int order = std::strcmp(a.c_str(), b.c_str()); // compares as unsigned char
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

Text concat_text(std::initializer_list<TextRef> parts) {
    size_t total = 0;
    for (TextRef part : parts)
        total += std::strlen(part.c_str());
    Text result = Text::with_length(total);
    char* out = result.data();
    for (TextRef part : parts) {
        size_t n = std::strlen(part.c_str());
        std::memcpy(out, part.c_str(), n);
        out += n;
    }
    return result;
}

} // namespace brindor
