// Text operations on GBK byte text. Lengths and positions are bytes, positions 1-based, -1 means
// not found. Empty results are an empty Text (no block); every other result is a fresh block.
// "Double-byte aware" operations treat a byte >= 0x80 as the lead byte of a two-byte character.
#pragma once
#include <climits>
#include <initializer_list>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// Passed for an omitted start of find_text_reverse (search the whole text) and for an omitted
// count or maximum of replace_text and split_text (no limit).
constexpr int kWholeText = INT_MAX;
constexpr int kNoLimit = INT_MAX;

// Bytes before the NUL.
int text_length(TextRef text);
// First min(count, length) bytes; may cut a two-byte character. count <= 0 gives empty text.
Text left_text(TextRef text, int count);
// Last min(count, length) bytes; count <= 0 gives empty text.
Text right_text(TextRef text, int count);
// count bytes from 1-based start, clipped at the end; start < 1, start > length or count <= 0: empty.
Text mid_text(TextRef text, int start, int count);

// First occurrence at or after start (start < 1 counts as 1), never on the second byte of a
// two-byte character; ignore_case folds ASCII letters only. Empty sought: 1 if the range is
// non-empty, else -1.
int find_text(TextRef text, TextRef sought, int start = 1, bool ignore_case = false);
// Last occurrence lying wholly inside the first start-1 bytes (kWholeText or a start beyond the
// end: the whole text), found by the same character-stepping scan as find_text.
int find_text_reverse(TextRef text, TextRef sought, int start = kWholeText, bool ignore_case = false);
// Replaces up to count occurrences (a negative count or kNoLimit: all) from start on (start < 1
// counts as 1). Note the default compares ASCII letters without case; pass case_sensitive = true
// for exact bytes.
Text replace_text(TextRef text, TextRef sought, TextRef replacement = "", int start = 1, int count = kNoLimit,
                  bool case_sensitive = false);
// Members between delimiters; adjacent delimiters give empty members, a trailing delimiter gives
// no empty last member. Empty text or maximum <= 0: no members; empty delimiter: the whole text.
TextArray split_text(TextRef text, TextRef delimiter = ",", int maximum = kNoLimit);

// Drops leading and trailing ASCII spaces and full-width spaces (0xA1 0xA1); other white space
// stays. A lone lead byte at the very end is dropped too.
Text trim(TextRef text);
// Drops every ASCII space and full-width space, copying two-byte characters whole.
Text remove_all_spaces(TextRef text);
// ASCII A-Z to a-z; two-byte characters (whose second byte may look like a letter) unchanged.
Text to_lower(TextRef text);
// count ASCII spaces; count < 1 gives empty text.
Text blank_text(int count);
// One-byte text of the low byte of code; byte 0 gives empty text.
Text char_text(int code);

// Unsigned byte-wise comparison: -1, 0 or 1. No case folding, no locale.
int compare_text(TextRef a, TextRef b);
// The texts one after another, always in a fresh block (also when empty).
Text concat_text(std::initializer_list<TextRef> parts);
inline Text concat_text(TextRef a, TextRef b) {
    return concat_text({a, b});
}

} // namespace brindor
