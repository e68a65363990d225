// 监视剪贴板: magnet links that any other program copies join the list.
#pragma once

namespace brindor::app {

bool IsWatchingClipboard();
// The system menu's item: on or off, remembered.
void ToggleClipboardWatch();
// The main window, loaded: listening when the setting says so.
void StartClipboardWatch();
// WM_CLIPBOARDUPDATE of the main window.
void ClipboardChanged();

} // namespace brindor::app
