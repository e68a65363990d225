// 自动开始提交: links that joined the list start a run by themselves once no more have come for a
// while, the start question answered as its defaults answer it.
#pragma once

namespace brindor::app {

bool IsAutoStartOn();
// The system menu's item: on or off, remembered.
void ToggleAutoStart();
// The setting, read once the main window is loaded.
void LoadAutoStart();
// Links joined the list (on the main window's thread): the wait starts again.
void LinksJoined();
// The list was replaced: what joined is no longer what it holds.
void CancelAutoStart();

} // namespace brindor::app
