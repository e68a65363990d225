// Closing the main window or ending the session while a run goes: the link in flight gets its
// answer first, so that only a kill leaves a link of unknown outcome.
#pragma once

namespace brindor::app {

// The main window's close: asks during a run whether to close once the current link is done.
// False keeps the window open (for now).
bool MainWindowCloseAsked();
// The session ends: the run stops after its current link, without a box; returns when it has
// ended, or when a link would keep it past every request's limit.
void MainWindowSessionEnding();
// The run ends because the program closes: no end box.
bool ClosingAfterRun();
// On the main window's thread, once the run has ended.
void CloseIfAskedTo();

} // namespace brindor::app
