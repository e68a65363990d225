// The boxes a run shows from its worker thread.
#pragma once

namespace brindor::app {

// Without an owner, so that the main window stays usable, yet in front of it: a click on the main
// window must not hide a box the run is waiting on. Returns a MessageBoxResult.
int WorkerMessageBox(const char* content, int buttons, const char* title);

} // namespace brindor::app
