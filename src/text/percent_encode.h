// Percent-encoding of a text's bytes, as form fields of the offline service want them.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// Every byte as "%" and two upper-case hexadecimal digits; with `keep_unreserved` the ASCII
// letters, digits, "-" and "." stay as they are. A space is "%20", never "+".
Text PercentEncode(TextRef bytes, bool keep_unreserved);

// A form value that cannot break out of its field: every byte but the ASCII letters, digits, "-",
// ".", "_" and "~" as "%" and two upper-case hexadecimal digits.
Text PercentEncodeFormValue(TextRef bytes);

// Every byte for which `kept` is false as "%" and two upper-case hexadecimal digits.
Text PercentEncodeExcept(TextRef bytes, bool (*kept)(unsigned char byte));

} // namespace brindor
