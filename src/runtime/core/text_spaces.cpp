#include <cstring>

#include "runtime/core/occurrence_scanner.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

constexpr unsigned char kFullWidthSpaceByte = 0xA1; // the full-width space is this byte twice

bool is_full_width_space(const unsigned char* s, size_t i, size_t length) {
    return i + 1 < length && s[i] == kFullWidthSpaceByte && s[i + 1] == kFullWidthSpaceByte;
}

} // namespace

Text trim(TextRef text) {
    const unsigned char* s = text.bytes();
    size_t length = std::strlen(text.c_str());
    size_t i = 0;
    for (;;) {
        if (i < length && s[i] == ' ')
            ++i;
        else if (is_full_width_space(s, i, length))
            i += 2;
        else
            break;
    }
    const size_t begin = i;
    size_t end = length;
    size_t space_run = length; // start of the run of spaces the scan is in, or length
    while (i < length) {
        if (s[i] == ' ') {
            if (space_run == length) space_run = i;
            ++i;
        } else if (is_lead_byte(s[i])) {
            if (i + 1 == length) { // a lone lead byte ends the text and goes with the spaces
                end = i;
                break;
            }
            if (!is_full_width_space(s, i, length))
                space_run = length;
            else if (space_run == length)
                space_run = i;
            i += 2;
        } else {
            space_run = length;
            ++i;
        }
    }
    if (space_run < end) end = space_run;
    return Text(text.c_str() + begin, end - begin);
}

Text remove_all_spaces(TextRef text) {
    const unsigned char* s = text.bytes();
    size_t length = std::strlen(text.c_str());
    TextBuilder out(length);
    size_t kept_from = 0; // copies go in runs, not byte by byte
    for (size_t i = 0; i < length;) {
        size_t width = s[i] == ' ' ? 1 : is_full_width_space(s, i, length) ? 2 : 0;
        if (width) {
            out.append(text.c_str() + kept_from, i - kept_from);
            i += width;
            kept_from = i;
        } else {
            i += is_lead_byte(s[i]) && i + 1 < length ? 2 : 1;
        }
    }
    out.append(text.c_str() + kept_from, length - kept_from);
    return out.take();
}

} // namespace brindor
