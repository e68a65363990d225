#include "submit/service_message.h"

#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

const char* SkipBlanks(const char* p) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    return p;
}

// Just after the opening quote of the value of the first "msg" key that has a string value.
const char* MessageStart(TextRef answer) {
    static constexpr char kKey[] = "\"msg\"";
    for (int from = 1;;) {
        const int key = find_text(answer, kKey, from);
        if (key == -1) return nullptr;
        const char* p = SkipBlanks(answer.c_str() + key - 1 + (sizeof kKey - 1));
        if (*p == ':') {
            p = SkipBlanks(p + 1);
            if (*p == '"') return p + 1;
        }
        from = key + 1;
    }
}

} // namespace

Text RawServiceMessage(TextRef answer) {
    const char* p = MessageStart(answer);
    if (!p) return {};
    TextBuilder message;
    for (; *p && *p != '"'; ++p) {
        // A double-byte character may end in the byte values of a backslash or a quote: copied
        // as a pair, and so is an escape.
        if ((static_cast<unsigned char>(*p) >= 0x81 || *p == '\\') && p[1]) message.append(*p++);
        message.append(*p);
    }
    return message.take();
}

} // namespace brindor
