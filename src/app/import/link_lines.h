// The one rule by which a line of text becomes a link of the list, whatever the line came from.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_array.h"

namespace brindor::app {

// Appends the line as a link unless it is empty.
void AppendLinkLine(TextArray& list, Text line);

} // namespace brindor::app
