// Finding the service's "msg" in a script answer. Its escapes are decoded at the Windows edge
// (submit/service/win/decoded_message), where the code page conversions are.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The content of the first "msg" key's string value, escapes kept as written; empty when there is
// none. Only a key counts: the letters inside another string (a title) never do. A string the
// answer ends inside runs to the end of the answer.
Text RawServiceMessage(TextRef answer);

} // namespace brindor
