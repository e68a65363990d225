#include "app/batch/run_closing.h"

#include <atomic>
#include <cstdint>

#include "app/handlers.h"
#include "app/program_ids.h"
#include "declared/declared_functions.h"
#include "net/request_limits.h"
#include "runtime/win/dialog_ops.h"

namespace brindor::app {

namespace {

std::atomic<bool> close_after_run{false};

// A link's requests after a stop: at most two resolves (one answered by nothing) and its commit.
constexpr uint32_t kLastLinkMs = 3 * kRequestLimitMs + 5000;
constexpr int kSessionEndSlice = 20;

void StopThenClose() {
    close_after_run = true;
    StopSubmission();
}

} // namespace

bool MainWindowCloseAsked() {
    if (!IsBatchRunning()) return true;
    if (close_after_run) return false; // already on its way out
    // In front like the run's own boxes: a pause's box must not hide it.
    if (message_box("正在提交，是否在当前链接完成后退出？", MB_YESNO | kBoxInFront, "提示") != kBoxYes)
        return false;
    // The run may have ended while the question showed.
    if (!IsBatchRunning()) return true;
    StopThenClose();
    return false;
}

void MainWindowSessionEnding() {
    if (!IsBatchRunning()) return;
    StopThenClose();
    const uint32_t started = call_declared<uint32_t>(kGetTickCount);
    // The worker's rows and its end need this thread: its messages go on while it waits.
    while (IsBatchRunning() && call_declared<uint32_t>(kGetTickCount) - started < kLastLinkMs) {
        do_events();
        delay(kSessionEndSlice);
    }
}

bool ClosingAfterRun() {
    return close_after_run;
}

void CloseIfAskedTo() {
    if (close_after_run) close_window(kMainWindowId);
}

} // namespace brindor::app
