// This program as the opener of magnet links, for the current user only (HKCU), on request.
#pragma once

namespace brindor::app {

// Magnet links open this very program (a moved program is no handler): the user's choice names our
// handler, or, where the user chose nothing, the magnet key's command is ours.
bool IsMagnetHandler();
// At start: a registration of an older command is brought up to date.
void RenewMagnetHandler();
// The system menu's 打开磁力链接: registers the program, or removes what it registered.
void ToggleMagnetHandler();

} // namespace brindor::app
