#include "submit/service/win/decoded_message.h"

#include "submit/service/service_message.h"
#include "text/json_escapes.h"
#include "text/win/code_pages.h"

namespace brindor {

Text DecodedEscapes(TextRef raw) {
    return Utf16ToText(DecodeJsonEscapes(TextToUtf16(raw, kCodePageGbk)), kCodePageGbk);
}

Text ServiceMessage(TextRef answer) {
    const Text raw = RawServiceMessage(answer);
    if (raw.empty()) return raw;
    return DecodedEscapes(raw);
}

} // namespace brindor
