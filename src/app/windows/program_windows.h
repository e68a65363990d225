// The program's windows.
#pragma once
#include "runtime/win/window/window_definition.h"

namespace brindor::app {

extern const WindowDefinition kMainWindowDefinition;
extern const WindowDefinition kSignInWindowDefinition;
extern const WindowDefinition kCookieWindowDefinition;

// Makes the windows known to the window framework; before the start window is loaded.
void register_program_windows();

} // namespace brindor::app
