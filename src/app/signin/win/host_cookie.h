// Reading cookies of a host from the operating system's cookie store, which the embedded browser
// fills at sign-in.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

// The cookie text of "http://" + host (HttpOnly cookies included), or the value of the one
// cookie `name` when a name is given. Empty when the store has nothing for it.
Text GetHostCookie(TextRef host, TextRef name = "");

} // namespace brindor::app
