// The one rule by which a line of text becomes a link of the list, whatever the line came from.
#pragma once
#include <cstddef>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"

namespace brindor::app {

// Appends the line without the spaces and tabs around it, unless nothing is left; a bare info-hash
// as its magnet link.
void AppendLinkLine(TextArray& list, Text line);

// Each line of a block of text, cut as a file's lines are (at LF, NUL or 0x1A, one CR before the
// end dropped), through AppendLinkLine.
void AppendLinkLines(TextArray& list, const char* text, size_t length);

} // namespace brindor::app
