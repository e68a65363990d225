// 监视文件夹…: the .txt and .torrent files that appear in a chosen folder join the list by
// themselves, each once, when complete. The folder is looked at on a thread of its own.
#pragma once

namespace brindor::app {

bool IsWatchingFolder();
// The system menu's 监视文件夹…: the system's folder picker; the folder chosen is watched and
// remembered.
void ChooseWatchedFolder();
// The system menu's 停止监视文件夹.
void StopWatchingFolder();
// At start: the remembered folder, if any.
void StartFolderWatch();

} // namespace brindor::app
