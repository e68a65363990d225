// The boxes a run shows from its worker thread.
#pragma once
#include <atomic>

namespace brindor::app {

// Without an owner, so that the main window stays usable, yet in front of it: a click on the main
// window must not hide a box the run is waiting on. Returns a MessageBoxResult.
int WorkerMessageBox(const char* content, int buttons, const char* title);
// The same for a box a stop answers: it closes as by 取消 once `stop` is true (see
// cancel_boxes_until).
int WorkerMessageBoxUntil(const char* content, int buttons, const char* title, const std::atomic<bool>& stop);

} // namespace brindor::app
