// Where a redirect leads and what may go with it. HttpRequest follows every redirect itself, so
// that the bound on hops and the credential rules hold whichever status brought it there.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// 301, 302, 303, 307 and 308: the statuses the platform client would follow on its own.
bool IsFollowedStatus(int status);

// 307 and 308 repeat the request as it was; the others turn it into a GET without body.
bool KeepsMethodAndBody(int status);

// The Location value against the URL that answered: a full URL stands as it is, "/path" keeps
// the scheme and host, anything else replaces the last path segment.
Text ResolveLocation(TextRef location, TextRef base);

// Same host (letter case ignored) and same port, default ports included.
bool SameOrigin(TextRef a, TextRef b);

// The host and port of the URL are one of the build's three service hosts.
bool IsServiceOrigin(TextRef url);

// The block without its Cookie and Authorization lines (names in any letter case).
Text WithoutCredentialLines(TextRef headerBlock);

} // namespace brindor
