#include <cstring>

#include "runtime/core/occurrence_scanner.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

Text replace_text(TextRef text, TextRef sought, TextRef replacement, int start, int count,
                  bool case_sensitive) {
    size_t length = std::strlen(text.c_str());
    size_t sought_length = std::strlen(sought.c_str());
    size_t begin = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (!length || !sought_length || begin >= length || count == 0) return Text(text.c_str(), length);

    const char* bytes = text.c_str();
    size_t replacement_length = std::strlen(replacement.c_str());
    OccurrenceScanner scanner(bytes, length, sought.c_str(), sought_length, !case_sensitive, begin);
    TextBuilder out(length);
    out.append(bytes, begin);
    size_t copied_to = begin;
    int remaining = count; // negative: no limit
    for (size_t p = scanner.find(begin); p != OccurrenceScanner::npos; p = scanner.find(copied_to)) {
        out.append(bytes + copied_to, p - copied_to);
        out.append(replacement.c_str(), replacement_length);
        copied_to = p + sought_length;
        if (remaining > 0 && --remaining == 0) break;
    }
    out.append(bytes + copied_to, length - copied_to);
    return out.take();
}

TextArray split_text(TextRef text, TextRef delimiter, int maximum) {
    TextArray members;
    size_t length = std::strlen(text.c_str());
    if (!length || maximum <= 0) return members;
    size_t delimiter_length = std::strlen(delimiter.c_str());
    if (!delimiter_length) {
        members.append(Text(text.c_str(), length));
        return members;
    }
    const char* bytes = text.c_str();
    OccurrenceScanner scanner(bytes, length, delimiter.c_str(), delimiter_length, false);
    size_t cut = 0;
    for (size_t p = scanner.find(0); p != OccurrenceScanner::npos; p = scanner.find(cut)) {
        members.append(Text(bytes + cut, p - cut));
        cut = p + delimiter_length;
        if (members.count() >= maximum) return members;
    }
    if (cut < length) members.append(Text(bytes + cut, length - cut));
    return members;
}

} // namespace brindor
