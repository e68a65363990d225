#include "app/settings/win/watch_settings.h"

#include "runtime/win/settings_file.h"

namespace brindor::app {

namespace {

constexpr const char* kWatchClipboardKey = "watch_clipboard";
constexpr const char* kWatchedFolderKey = "watched_folder";
constexpr const char* kAutoStartKey = "auto_start";

// Anything but "1" is off, so a damaged or missing value never turns a watch on.
bool ReadSwitch(const char* key) {
    return read_setting(key) == Text("1");
}

void WriteSwitch(const char* key, bool on) {
    write_setting(key, on ? "1" : "0");
}

} // namespace

bool WatchClipboardSetting() {
    return ReadSwitch(kWatchClipboardKey);
}

void SetWatchClipboard(bool on) {
    WriteSwitch(kWatchClipboardKey, on);
}

Text WatchedFolderSetting() {
    return read_setting(kWatchedFolderKey);
}

void SetWatchedFolder(const char* folder) {
    write_setting(kWatchedFolderKey, folder);
}

bool AutoStartSetting() {
    return ReadSwitch(kAutoStartKey);
}

void SetAutoStart(bool on) {
    WriteSwitch(kAutoStartKey, on);
}

} // namespace brindor::app
