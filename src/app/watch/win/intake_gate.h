// Links that come by themselves join, and a run starts by itself, only while the main window takes
// input: a question's box holds them back until it is answered.
#pragma once

namespace brindor::app {

// On the main window's thread; false when the main window is gone.
bool MainWindowTakesInput();

} // namespace brindor::app
