// Where earlier versions kept the runs' journals: %LOCALAPPDATA%\Brindor\runs, each run a
// "<stem>.csv" and the links it was to process in "<stem>.links.txt".
#pragma once
#include <string>
#include <vector>

#include "runtime/core/bytes.h"
#include "runtime/core/text.h"

namespace brindor::app {

// Not created: it may well not exist. Empty when the program's own folder cannot be had.
std::wstring JournalFolder();
// The stems of the journals in the folder, the newest first.
std::vector<std::wstring> KeptJournalStems(const std::wstring& folder);
std::wstring JournalPath(const std::wstring& folder, const std::wstring& stem);
std::wstring LinksPath(const std::wstring& folder, const std::wstring& stem);
// A journal's text in the program's code page, its byte order mark dropped.
Text ReadJournalText(const std::wstring& path);

} // namespace brindor::app
