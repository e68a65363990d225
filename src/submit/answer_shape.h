// The shapes of the service's JSONP answers. A confirmation is told from an error page by its
// shape, not by the callback name: a service may answer under a fixed name of its own.
#pragma once
#include "runtime/core/text_ref.h"

namespace brindor {

// After optional blanks and a UTF-8 byte order mark (its raw bytes, or the "?" that code page 936
// makes of it), a JavaScript identifier, "(", anything, ")", then at most a ";" and blanks.
bool IsJsonpCall(TextRef text);

enum class ResolveShape {
    kWhole, // the queryUrl call up to the parenthesis that closes it, and nothing after it
    kCut,   // the call begins but its closing parenthesis never came
    kOther, // no queryUrl call at all, or something after it
};

// Parentheses inside the quoted values do not count. The service quotes values without escaping
// them, so a quote ends a value only where a "," or ")" follows it.
ResolveShape ResolveAnswerShape(TextRef text);

} // namespace brindor
