// Cookie texts: items name=value separated by ";" (written "; " by these operations).
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// Merges the cookies an answer set (`new_cookies`) into those a client held (`old_cookies`): a
// cookie set anew replaces the held one of the same name, one set to "deleted" disappears. New
// items come first, then the surviving old ones, each in its own order. Spaces around items and
// around their "=" are dropped from both variables; spaces inside values stay. `old_cookies`
// receives the merged text, which is also the result.
Text MergeCookies(Text& old_cookies, Text& new_cookies);

// The trimmed text before the item's first "=" (the whole item without one).
Text CookieName(TextRef item);

// The items of `text` split at `separator`, each kept only at its first appearance, joined by
// `separator`.
Text DedupeList(TextRef text, TextRef separator);

} // namespace brindor
