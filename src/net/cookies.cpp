#include "net/cookies.h"

#include "runtime/core/text_array.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

constexpr const char* kDeletedMark = "=deleted";

// One item with the spaces around it and around its first "=" dropped.
Text tidy_item(TextRef item) {
    int equals = find_text(item, "=");
    if (equals < 1) return trim(item);
    Text value = trim(right_text(item, text_length(item) - equals));
    return concat_text({trim(left_text(item, equals - 1)), "=", value});
}

// Tidies every item of a cookie text, keeping each ";" where it was (a trailing one too).
Text tidy_cookie_text(TextRef text) {
    TextBuilder out(static_cast<size_t>(text_length(text)));
    int from = 1;
    int length = text_length(text);
    while (from <= length) {
        int semicolon = find_text(text, ";", from);
        int end = semicolon < 1 ? length + 1 : semicolon;
        Text item = tidy_item(mid_text(text, from, end - from));
        out.append(item.c_str(), item.length());
        if (semicolon < 1) break;
        out.append(';');
        from = semicolon + 1;
    }
    return out.take();
}

bool has_cookie_named(const TextArray& items, TextRef name) {
    for (int i = 1; i <= items.count(); ++i)
        if (compare_text(CookieName(items.at(i)), name) == 0) return true;
    return false;
}

bool marks_deleted(TextRef item) {
    int length = text_length(item);
    int mark_length = text_length(kDeletedMark);
    return length >= mark_length && compare_text(right_text(item, mark_length), kDeletedMark) == 0;
}

} // namespace

Text MergeCookies(Text& old_cookies, Text& new_cookies) {
    old_cookies = tidy_cookie_text(old_cookies);
    new_cookies = tidy_cookie_text(new_cookies);
    TextArray old_items = split_text(old_cookies, ";");
    TextArray merged = split_text(new_cookies, ";");
    for (int i = 1; i <= old_items.count(); ++i) {
        const char* item = old_items.at(i);
        if (!has_cookie_named(merged, CookieName(item))) merged.append(Text(item));
    }
    TextBuilder joined;
    bool first = true;
    for (int i = 1; i <= merged.count(); ++i) {
        TextRef item = merged.at(i);
        if (marks_deleted(item)) continue;
        if (!first) joined.append("; ", 2);
        first = false;
        joined.append(item.c_str(), static_cast<size_t>(text_length(item)));
    }
    old_cookies = DedupeList(joined.take(), "; ");
    return old_cookies;
}

Text CookieName(TextRef item) {
    int equals = find_text(item, "=");
    if (equals < 1) return trim(item);
    return trim(left_text(item, equals - 1));
}

Text DedupeList(TextRef text, TextRef separator) {
    TextArray pieces = split_text(text, separator);
    TextArray kept;
    TextBuilder out;
    for (int i = 1; i <= pieces.count(); ++i) {
        const char* piece = pieces.at(i);
        bool seen = false;
        for (int k = 1; k <= kept.count() && !seen; ++k)
            seen = compare_text(kept.at(k), piece) == 0;
        if (seen) continue;
        if (kept.count()) out.append(separator.c_str(), static_cast<size_t>(text_length(separator)));
        out.append(piece, static_cast<size_t>(text_length(piece)));
        kept.append(Text(piece));
    }
    return out.take();
}

} // namespace brindor
