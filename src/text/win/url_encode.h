// Percent-encoding of form fields, optionally of the text's UTF-8 form.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The text's bytes (its UTF-8 bytes with `utf8`) percent-encoded; with `keep_unreserved` the
// ASCII letters, digits, "-" and "." stay as they are.
Text UrlEncode(TextRef text, bool keep_unreserved = false, bool utf8 = false);

} // namespace brindor
