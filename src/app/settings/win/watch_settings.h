// The settings of links that come by themselves: each off (or empty) until the user turns it on.
#pragma once
#include "runtime/core/text.h"

namespace brindor::app {

bool WatchClipboardSetting();
void SetWatchClipboard(bool on);
// The watched folder's full path; empty: none.
Text WatchedFolderSetting();
void SetWatchedFolder(const char* folder);
bool AutoStartSetting();
void SetAutoStart(bool on);

} // namespace brindor::app
