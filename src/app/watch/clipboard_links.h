// The magnet links in a text copied anywhere: a web page, a chat, a document.
#pragma once
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

// Every "magnet:?" link (any letter case) in `text`, in order: from its prefix to the first space,
// control character, quote, angle bracket or non-ASCII character, without the punctuation that ends
// a sentence. A bare hash or other text is no link. `cut_short`: the text was cut off at its end,
// so a link running into the end is incomplete and left out.
TextArray MagnetLinksInText(TextRef text, bool cut_short);

} // namespace brindor::app
