// This program as the opener of magnet links, for the current user only (HKCU), on request.
#pragma once

namespace brindor::app {

// The link handler's command runs this very program (a moved program is no handler).
bool IsMagnetHandler();
// The system menu's 打开磁力链接: registers the program, or removes what it registered.
void ToggleMagnetHandler();

} // namespace brindor::app
