// Message boxes, the open-file dialog, waiting and message pumping, the program's directory.
#pragma once
#include <windows.h>

#include <atomic>

#include "runtime/core/file_name.h"
#include "runtime/core/text.h"

namespace brindor {

enum MessageBoxResult {
    kBoxOk = 0,
    kBoxCancel = 1,
    kBoxAbort = 2,
    kBoxRetry = 3,
    kBoxIgnore = 4,
    kBoxYes = 5,
    kBoxNo = 6,
};

// Added to a box's buttons: it comes to the front and stays above the program's windows although
// it has no owner.
constexpr int kBoxInFront = MB_TOPMOST | MB_SETFOREGROUND;

// No owner window; task-modal unless `buttons` has the system-modal bit. A null title means
// omitted and shows "信息："; an empty one is shown empty. Returns a MessageBoxResult, -1 if the
// box could not be shown. Texts are GBK.
int message_box(const char* content, int buttons = 0, const char* title = nullptr);

// As message_box, for a box that an action elsewhere answers: while `cancelled` is true the box
// closes as by its 取消 (its only button if it has no 取消) as soon as it shows.
int message_box_until(const char* content, int buttons, const char* title,
                      const std::atomic<bool>& cancelled);
// Closes, as by their 取消, the boxes of message_box_until showing now; any thread.
void cancel_boxes_until();

// Brings the boxes shown with kBoxInFront back above the program's windows, without the keyboard:
// where the system does not keep them above, a window activated since covers them.
void raise_boxes_in_front();

// Negative counts as 0. Processes no messages.
void delay(int milliseconds);
// Dispatches the calling thread's waiting messages; a quit message stays queued.
void do_events();

// What the open-file dialog shows; the properties of a file-dialog control. Texts are GBK.
struct FileDialogProperties {
    Text title;             // empty: the system's default title
    Text file_name;         // initial name; replaced by the chosen full path on confirmation
    Text default_extension; // without the dot
    Text initial_directory;
    Text filter;            // "display|pattern|display|pattern..."
    int initial_filter = 0; // 0-based pair of `filter`
    bool must_exist = true; // the dialog refuses names of missing files and paths
    bool multiple = false;  // several files may be chosen
    FileName chosen;        // on confirmation: the full path as the system gave it (the first one)
    FileNames chosen_files; // on confirmation: every chosen file's full path, in the dialog's order
};

// The save-file dialog: asks before replacing a file; `must_exist` only requires the folder.
bool dialog_save(FileDialogProperties& dialog, HWND owner = nullptr);

// Shows the open-file dialog (read-only box hidden) and blocks until it closes. True when the user
// confirmed a file; `chosen` then holds its full path, `file_name` the same in GBK. False on cancel, `dialog`
// unchanged.
bool dialog_open(FileDialogProperties& dialog, HWND owner = nullptr);

// The directory of the program's executable, without a trailing backslash.
Text run_directory();

} // namespace brindor
