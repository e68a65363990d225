#include "net/text_between.h"

#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

Text with_quotes(TextRef delimiter) {
    return replace_text(delimiter, "#引号", "\"", 1, kNoLimit, true);
}

// The bytes from `from` up to the one before `to`, both 1-based; empty unless both were found.
Text span(TextRef text, int from, int to) {
    if (from < 1 || to < from) return Text();
    return mid_text(text, from, to - from);
}

} // namespace

Text TextBetween(TextRef text, TextRef left, TextRef right, int start, bool case_sensitive) {
    Text left_delimiter = with_quotes(left);
    Text right_delimiter = with_quotes(right);
    bool ignore_case = !case_sensitive;
    if (start < 1) start = 1;
    int p = left_delimiter.empty() ? start : find_text(text, left_delimiter, start, ignore_case);
    if (p < 1 || p > text_length(text) + 1) return Text();
    p += text_length(left_delimiter);
    int q = find_text(text, right_delimiter, p, ignore_case);
    if (q < 1) return Text();
    return span(text, p, q);
}

Text TextBetweenFirst(TextRef text, TextRef left, TextRef right) {
    int p = find_text(text, left, 1);
    if (p < 1) return Text();
    // Looking for `right` only past `left`: one that overlaps `left` must not hide a later one.
    int after_left = p + text_length(left);
    int q = find_text(text, right, after_left);
    if (q < 1) return Text();
    return span(text, after_left, q);
}

Text ValueAfterColon(TextRef line) {
    int p = find_text(line, ":");
    if (p < 1) return Text();
    return trim(right_text(line, text_length(line) - p));
}

} // namespace brindor
