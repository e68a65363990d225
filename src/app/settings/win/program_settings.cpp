#include "app/settings/win/program_settings.h"

#include <cstdint>
#include <string>

#include "app/program_ids.h"
#include "runtime/core/integer_input.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/settings_file.h"
#include "runtime/win/text_boundary.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

namespace {

constexpr const char* kIntervalKey = "interval";
constexpr const char* kImportFolderKey = "import_folder";
constexpr const char* kExportFolderKey = "export_folder";
constexpr const char* kWindowKey = "main_window";
constexpr const char* kColumnsKey = "report_columns";
// The interval box holds no more: anything longer was not written by the program.
constexpr int kLongestInterval = 10;

void WriteIfChanged(const char* key, const Text& value) {
    if (value != read_setting(key)) write_setting(key, value.c_str());
}

// Plain digits of a 32-bit count; anything else keeps the box's own content.
bool IsIntervalText(const Text& text) {
    if (text.empty() || text_length(text) > kLongestInterval) return false;
    int64_t value = 0;
    for (const char* p = text.c_str(); *p; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
    }
    return value <= INT32_MAX;
}

Text FolderOr(const char* key) {
    Text folder = read_setting(key);
    return folder.empty() ? run_directory() : folder;
}

void RememberFolder(const char* key, const FileName& chosen) {
    const std::wstring path(wide_units(chosen), chosen.length());
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    const std::wstring folder = path.substr(0, slash);
    Text text = from_wide(folder.c_str(), static_cast<int>(folder.size()));
    // A folder the program's code page cannot spell would come back as another.
    if (to_wide(text.c_str()) != folder) return;
    WriteIfChanged(key, text);
}

} // namespace

void UseProgramSettingsFile() {
    use_settings_file(L"Brindor", L"settings.ini", L"Brindor");
}

void RestoreMainWindowSettings() {
    if (const Text interval = read_setting(kIntervalKey); IsIntervalText(interval))
        kIntervalEdit.SetText(normalize_integer_text(interval.c_str()).c_str());
    kReportList.SetColumnWidths(read_setting(kColumnsKey).c_str());
    restore_window_placement(kMainWindowId, read_setting(kWindowKey).c_str());
}

void SaveMainWindowSettings() {
    SaveInterval();
    SaveColumnWidths();
    SaveWindowPlacement();
}

void SaveWindowPlacement() {
    WriteIfChanged(kWindowKey, window_placement(kMainWindowId));
}

void SaveColumnWidths() {
    WriteIfChanged(kColumnsKey, kReportList.ColumnWidths());
}

void SaveInterval() {
    // The box shows 0 as empty; the file says it.
    const Text shown = normalize_integer_text(kIntervalEdit.ReadText().c_str());
    const Text interval = shown.empty() ? Text("0") : shown;
    if (IsIntervalText(interval)) WriteIfChanged(kIntervalKey, interval);
}

Text ImportFolder() {
    return FolderOr(kImportFolderKey);
}

Text ExportFolder() {
    return FolderOr(kExportFolderKey);
}

void RememberImportFolder(const FileName& chosen) {
    RememberFolder(kImportFolderKey, chosen);
}

void RememberExportFolder(const FileName& chosen) {
    RememberFolder(kExportFolderKey, chosen);
}

} // namespace brindor::app
