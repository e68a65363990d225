// The service's "msg" as the user reads it.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The first "msg" string of a JSON answer in code page 936, its JSON escapes (\uXXXX included,
// most encoders' default for non-ASCII) decoded; empty when there is none.
Text ServiceMessage(TextRef answer);

// A string's content with its JSON escapes decoded, in code page 936.
Text DecodedEscapes(TextRef raw);

} // namespace brindor
