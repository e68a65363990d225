#include <cstring>

#include "runtime/core/occurrence_scanner.h"
#include "runtime/core/text_ops.h"

namespace brindor {

int find_text(TextRef text, TextRef sought, int start, bool ignore_case) {
    size_t length = std::strlen(text.c_str());
    size_t begin = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (begin >= length) return -1;
    size_t sought_length = std::strlen(sought.c_str());
    if (!sought_length) return 1;
    OccurrenceScanner scanner(text.c_str(), length, sought.c_str(), sought_length, ignore_case, begin);
    size_t found = scanner.find(begin);
    return found == OccurrenceScanner::npos ? -1 : static_cast<int>(found) + 1;
}

int find_text_reverse(TextRef text, TextRef sought, int start, bool ignore_case) {
    size_t length = std::strlen(text.c_str());
    size_t range = length;
    if (start < 1)
        range = 0;
    else if (static_cast<size_t>(start) - 1 < length)
        range = static_cast<size_t>(start) - 1;
    if (!range) return -1;
    size_t sought_length = std::strlen(sought.c_str());
    if (!sought_length) return 1;
    // Scanning forward keeps the character stepping of find_text: a match found from the end
    // could start on the second byte of a character.
    OccurrenceScanner scanner(text.c_str(), range, sought.c_str(), sought_length, ignore_case);
    const auto* bytes = text.bytes();
    size_t last = OccurrenceScanner::npos;
    for (size_t p = scanner.find(0); p != OccurrenceScanner::npos;
         p = scanner.find(p + (is_lead_byte(bytes[p]) ? 2 : 1)))
        last = p;
    return last == OccurrenceScanner::npos ? -1 : static_cast<int>(last) + 1;
}

} // namespace brindor
