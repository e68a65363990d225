#include "app/import/link_lines.h"

#include <utility>

#include "app/import/item_kind.h"
#include "submit/links/info_hash.h"

namespace brindor::app {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

bool ends_line(char c) {
    return c == '\n' || c == '\0' || c == '\x1A';
}

} // namespace

void AppendLinkLine(TextArray& list, Text line) {
    const char* bytes = line.c_str();
    size_t length = line.length(), begin = 0, end = length;
    while (begin < end && is_blank(bytes[begin]))
        ++begin;
    while (end > begin && is_blank(bytes[end - 1]))
        --end;
    if (begin == end) return;
    Text link = begin == 0 && end == length ? std::move(line) : Text(bytes + begin, end - begin);
    Text named = KindOfText(link) == ItemKind::kBareHash ? BareHashMagnet(link) : Text();
    list.append(named.empty() ? std::move(link) : std::move(named));
}

void AppendLinkLines(TextArray& list, const char* text, size_t length) {
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && !ends_line(text[end]))
            ++end;
        size_t line_end = end > start && text[end - 1] == '\r' ? end - 1 : end;
        AppendLinkLine(list, Text(text + start, line_end - start));
        start = end + 1;
    }
}

} // namespace brindor::app
