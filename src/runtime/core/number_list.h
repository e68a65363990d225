// Whole numbers kept as one text, "50,250,-8": window places and column widths in the settings.
#pragma once
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

Text number_list_text(const std::vector<int>& numbers);
// Exactly `count` decimal numbers (an optional "-", then 1 to 6 digits) between commas, nothing
// else; false for anything another version or a damaged file could have left.
bool parse_number_list(TextRef text, int count, std::vector<int>& numbers);

} // namespace brindor
