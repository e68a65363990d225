// What the program remembers from one start to the next: the interval, the folders of the last
// import and export, the main window's place and the report list's column widths.
#pragma once
#include "runtime/core/file_name.h"
#include "runtime/core/text.h"

namespace brindor::app {

// Before any setting is read: the program's folder, file and section.
void UseProgramSettingsFile();

// The main window, just loaded: as it was left.
void RestoreMainWindowSettings();
// The main window, about to go.
void SaveMainWindowSettings();
// Each value as it changes: a program killed later keeps it.
void SaveInterval();
void SaveWindowPlacement();
void SaveColumnWidths();

// The folder a file dialog opens in: the last one chosen, or the program's own.
Text ImportFolder();
Text ExportFolder();
void RememberImportFolder(const FileName& chosen);
void RememberExportFolder(const FileName& chosen);

} // namespace brindor::app
