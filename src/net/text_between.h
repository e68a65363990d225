// Cutting pieces out of answers, header lines and cookie texts.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The text between the first `left` at or after `start` (below 1 counts as 1) and the next
// `right` after it; empty when either is missing. In both delimiters the keyword "#引号" stands
// for a double quote. Letter case is ignored unless `case_sensitive`.
Text TextBetween(TextRef text, TextRef left, TextRef right, int start = 1, bool case_sensitive = false);

// The text between the first `left` and the next `right` after it, letter case significant;
// empty when either is missing.
Text TextBetweenFirst(TextRef text, TextRef left, TextRef right);

// The trimmed text after the first ":" of a header line; empty without a colon.
Text ValueAfterColon(TextRef line);

} // namespace brindor
