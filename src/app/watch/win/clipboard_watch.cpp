#include "app/watch/win/clipboard_watch.h"

#include "app/import/win/link_intake.h"
#include "app/settings/win/watch_settings.h"
#include "app/watch/clipboard_links.h"
#include "app/windows/ids.h"
#include "runtime/win/clipboard_listener.h"
#include "runtime/win/clipboard_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

namespace {

// A copied text larger than this is a document, not a list of links: its start is enough.
constexpr size_t kLargestTextUnits = 1024 * 1024 / sizeof(char16_t);

bool watching = false;

} // namespace

bool IsWatchingClipboard() {
    return watching;
}

void ToggleClipboardWatch() {
    HWND main = loaded_window_handle(kMainWindowId);
    if (!main) return;
    const bool on = !watching;
    if (!listen_to_clipboard(main, on) && on) return;
    watching = on;
    SetWatchClipboard(on);
}

void StartClipboardWatch() {
    if (!WatchClipboardSetting()) return;
    if (HWND main = loaded_window_handle(kMainWindowId)) watching = listen_to_clipboard(main, true);
}

void ClipboardChanged() {
    // The program's own copies (复制链接, 复制所选行) are the list's already.
    if (!watching || clipboard_is_own_copy()) return;
    bool cut_short = false;
    const Text text = clipboard_text(loaded_window_handle(kMainWindowId), kLargestTextUnits, &cut_short);
    AddLinks(MagnetLinksInText(text, cut_short));
}

} // namespace brindor::app
