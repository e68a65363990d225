#include "app/watch/win/clipboard_watch.h"

#include <cstdint>
#include <utility>

#include "app/import/win/link_intake.h"
#include "app/program_ids.h"
#include "app/settings/win/watch_settings.h"
#include "app/watch/clipboard_links.h"
#include "runtime/win/clipboard_listener.h"
#include "runtime/win/clipboard_ops.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window_timer.h"

namespace brindor::app {

namespace {

// A copied text larger than this is a document, not a list of links: its start is enough.
constexpr size_t kLargestTextUnits = 1024 * 1024 / sizeof(char16_t);

// Clipboard managers open the clipboard as soon as it changes, as we do: a moment later it is free.
constexpr uintptr_t kRetryTimer = 0x4E6;
constexpr unsigned kRetryMs = 50;
constexpr int kRetries = 10;

bool watching = false;
int retries_left = 0;

void ReadClipboardLinks() {
    HWND main = loaded_window_handle(kMainWindowId);
    if (main) stop_window_timer(main, kRetryTimer);
    // The program's own copies (复制链接, 复制所选行) are the list's already.
    if (!watching || !main || clipboard_is_own_copy()) return;
    const ClipboardRead read = read_clipboard_text(main, kLargestTextUnits);
    if (!read.opened) {
        if (retries_left-- > 0) start_window_timer(main, kRetryTimer, kRetryMs, ReadClipboardLinks);
        return;
    }
    // During a run or a question they wait in the intake, as handed-over links do.
    if (const TextArray links = MagnetLinksInText(read.text, read.cut_short); !links.empty()) AddLinks(links);
}

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
    retries_left = kRetries;
    ReadClipboardLinks();
}

} // namespace brindor::app
