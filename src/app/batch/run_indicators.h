// A batch run as the user sees it outside the window: progress on the taskbar button (red once a
// link has failed, yellow while paused), a flash at the end when the window is behind others, and
// no sleep meanwhile. Any thread; each call is one short trip to the main window's thread. A closed
// main window makes them quiet.
#pragma once

namespace brindor::app {

void RunIndicatorsBegin();
void RunIndicatorsProgress(int position, int maximum, bool anyFailed);
// The paused colour while the run waits for the service or the user; the next
// RunIndicatorsProgress ends it.
void RunIndicatorsPaused();
void RunIndicatorsEnd();

} // namespace brindor::app
