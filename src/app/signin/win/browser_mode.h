// The document mode of the program's browser controls.
#pragma once

namespace brindor::app {

// Asks for the newest mode (IE11 edge) for this program's file name, whatever the copy is called,
// before a browser control exists: left alone, a hosted control shows pages as IE7 would, and
// today's sign-in pages refuse that. A registry that refuses the write changes nothing.
void UseNewestBrowserMode();

} // namespace brindor::app
