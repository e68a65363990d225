// Finding the service's "msg" in a JSON answer. Its escapes are decoded at the Windows edge
// (submit/win/decoded_message), where the code page conversions are.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The content of the first "msg" string, escapes kept as written; empty when there is none. Blanks
// may stand around the colon. An unterminated string runs to the end of the answer.
Text RawServiceMessage(TextRef answer);

} // namespace brindor
