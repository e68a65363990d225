// Links from a block of text, such as the clipboard's: cut into lines by the same rules as a
// link file, each line taken by the same rule as an imported one.
#pragma once
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

TextArray LinksFromText(TextRef text);

} // namespace brindor::app
