// The addresses of the two interface requests and the decoding rule of the resolve answer,
// apart from the network so that both build trees can check them.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// The link's own "&" parameters must reach the service as query parameters, so only the bytes
// that cannot stand in a request line are escaped: controls, space, DEL, 0x80 and above, "#".
Text EscapeLinkForQuery(TextRef link);

Text ResolveUrl(TextRef link);
// An empty timestamp leaves the address ending in "callback=jsonp".
Text CommitUrl(TextRef timestamp);

// The request routine decodes a UTF-8 answer itself when the header block names utf-8 or the body
// holds "utf-8" early on; decoding such an answer again would garble every non-ASCII title. The
// body test applied to the returned text gives the same verdict as on the raw bytes, because
// decoding never moves ASCII bytes later.
bool ResolveAnswerStillUtf8(TextRef answer, TextRef raw_headers);

} // namespace brindor
