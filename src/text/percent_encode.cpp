#include "text/percent_encode.h"

#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

bool is_kept(unsigned char b) {
    return (b >= 0x2D && b <= 0x39 && b != 0x2F) || (b >= 0x41 && b <= 0x5A) || (b >= 0x61 && b <= 0x7A);
}

bool is_kept_in_form_value(unsigned char b) {
    return is_kept(b) || b == '_' || b == '~';
}

} // namespace

Text PercentEncodeExcept(TextRef bytes, bool (*kept)(unsigned char)) {
    static const char kHex[] = "0123456789ABCDEF";
    size_t length = static_cast<size_t>(text_length(bytes));
    TextBuilder out(length * 3);
    for (const unsigned char* b = bytes.bytes(); *b; ++b) {
        if (kept && kept(*b)) {
            out.append(static_cast<char>(*b));
            continue;
        }
        const char escaped[3] = {'%', kHex[*b >> 4], kHex[*b & 0x0F]};
        out.append(escaped, sizeof escaped);
    }
    return out.take();
}

Text PercentEncode(TextRef bytes, bool keep_unreserved) {
    return PercentEncodeExcept(bytes, keep_unreserved ? is_kept : nullptr);
}

Text PercentEncodeFormValue(TextRef bytes) {
    return PercentEncodeExcept(bytes, is_kept_in_form_value);
}

} // namespace brindor
