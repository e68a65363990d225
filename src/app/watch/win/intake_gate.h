// A run starts by itself only while the main window takes input: a box on it waits for the user.
#pragma once

namespace brindor::app {

// On the main window's thread; false when the main window is gone.
bool MainWindowTakesInput();

} // namespace brindor::app
