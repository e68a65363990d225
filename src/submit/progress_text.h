// Texts the batch worker writes into its report row and progress label.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// A byte count (leading decimal number of tsize, 0 if none) in GB, MB or KB, rounded to two
// places, no trailing zeros: "1.5GB", "1024MB", "0.1KB".
Text FormatSize(TextRef tsize);

// Link `done` of `total` as a percentage to two places: "33.33%", "100%".
Text PercentText(int done, int total);

} // namespace brindor
