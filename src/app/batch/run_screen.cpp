#include "app/batch/run_screen.h"

#include <algorithm>

#include "app/batch/report_rows.h"
#include "app/batch/run_closing.h"
#include "app/batch/run_indicators.h"
#include "app/run_state.h"
#include "app/batch/worker_box.h"
#include "app/import/win/link_intake.h"
#include "app/program_ids.h"
#include "app/state.h"
#include "declared/declared_functions.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/taskbar_ops.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_registry.h"
#include "submit/progress_text.h"
#include "submit/win/pumped_wait.h"

namespace brindor::app {

namespace {

constexpr int32_t kStopCheckSlice = 100; // a stop pressed during a long interval ends it this soon

// Closing the main window mid-run leaves nothing to write to: the process is ending.
template <class F> void OnMainWindowThread(F work) {
    on_loaded_window_thread(kMainWindowId, [&](HWND) { work(); });
}

// A text read on the window's thread; empty when the main window is gone.
template <class F> Text OnMainWindowThreadText(F read) {
    Text text;
    OnMainWindowThread([&] { text = read(); });
    return text;
}

} // namespace

void ShowRunning(bool running) {
    write_property(kStartButton, kButtonCaption, running ? "停止提交" : "开始提交");
    set_enabled(kImportButton, !running);
}

MainWindowRunScreen::MainWindowRunScreen(RecordStore& store)
    : store_(store), unattended_(TheRun().Unattended()) {}

// A refusal is no run: the buttons are back while it shows; the taskbar flashes meanwhile.
void MainWindowRunScreen::RefuseRun(const char* content, const char* title) {
    RunIndicatorsEnd();
    EndRun();
    WorkerMessageBox(content, 0, title);
}

void MainWindowRunScreen::ShowEnd(const char* content) {
    RunIndicatorsEnd();
    OnMainWindowThread([&] { DropUnfilledRows(in_flight_); });
    // Nobody may be there to close it: an unattended run is over before its box shows, so the
    // next automatic start need not wait for a click, and its record is closed, as the program may
    // end while the box shows.
    if (unattended_) {
        store_.Close();
        EndRun();
    }
    if (!ClosingAfterRun()) WorkerMessageBox(content, 0, nullptr);
    EndRun();
}

bool MainWindowRunScreen::AskRetry(const char* content, const char* label) {
    RunIndicatorsPaused();
    flash_unless_in_front(kMainWindowId);
    const Text shown = OnMainWindowThreadText([&] { return SwapProgressLabel(label); });
    const bool retry =
        WorkerMessageBoxUntil(content, MB_RETRYCANCEL, "提示", TheRun().stop_request()) == kBoxRetry;
    OnMainWindowThread([&] { SwapProgressLabel(shown.c_str()); });
    ShowIndicators();
    return retry;
}

bool MainWindowRunScreen::WaitThrottled(int32_t milliseconds) {
    RunIndicatorsPaused();
    const Text shown =
        OnMainWindowThreadText([] { return read_text_property(kProgressLabel, kLabelCaption); });
    // Counted against the clock: many short slices would each add their own overshoot.
    const uint32_t started = call_declared<uint32_t>(kGetTickCount);
    int32_t shown_seconds = -1;
    for (;;) {
        const uint32_t spent = call_declared<uint32_t>(kGetTickCount) - started;
        if (TheRun().StopRequested() || spent >= static_cast<uint32_t>(std::max(milliseconds, 0))) break;
        const int32_t left = milliseconds - static_cast<int32_t>(spent);
        // Rounded up: the label never says 0 while there is still a wait.
        if (const int32_t seconds = (left + 999) / 1000; seconds != shown_seconds) {
            shown_seconds = seconds;
            const Text countdown = concat_text({"服务繁忙，等待", to_text(seconds), "秒"});
            OnMainWindowThread([&] { write_property(kProgressLabel, kLabelCaption, countdown.c_str()); });
        }
        PumpedWait(std::min(left, kStopCheckSlice));
    }
    OnMainWindowThread([&] { write_property(kProgressLabel, kLabelCaption, shown.c_str()); });
    ShowIndicators();
    return !TheRun().StopRequested();
}

Text MainWindowRunScreen::CurrentUserId() {
    return OnMainWindowThreadText([] { return SignedInUserId; });
}

// The buttons come back as soon as the final box closes (before it shows, unattended), not after
// the worker has let go of its script object (seconds under some systems).
void MainWindowRunScreen::EndRun() {
    if (ended_) return;
    ended_ = true;
    // In one trip to the GUI thread: a link arriving meanwhile either joins now or no longer waits,
    // and the buttons come back with the list complete.
    bool ended = false;
    OnMainWindowThread([&] {
        TheRun().End();
        JoinWaitingLinks();
        ShowRunning(false);
        CloseIfAskedTo();
        ended = true;
    });
    // With the main window gone the process is ending; had the trip been made, a run started
    // since would be another's.
    if (!ended) TheRun().End();
}

void MainWindowRunScreen::BeginProgress(int maximum) {
    maximum_ = maximum;
    RunIndicatorsBegin();
    write_property(kProgressBar, kProgressMinimum, int64_t{0});
    write_property(kProgressBar, kProgressMaximum, int64_t{maximum});
    write_property(kProgressBar, kProgressPosition, int64_t{0});
    write_property(kProgressLabel, kLabelCaption, PercentText(0, maximum).c_str());
}

void MainWindowRunScreen::ShowCommitting(int position, TextRef title, TextRef size, TextRef link) {
    const Text caption = to_text(position);
    const TextRef cells[] = {title, size, link, kCommittingStatus, ""};
    OnMainWindowThread([&] { ShowRowInFlight(in_flight_, position, caption, cells); });
}

void MainWindowRunScreen::FillRow(int position, LinkState state, TextRef caption, TextRef title, TextRef size,
                                  TextRef link, TextRef status, TextRef reason) {
    if (state != LinkState::kSucceeded) any_failed_ = true;
    // One trip to the window's thread for the row rather than one per cell: each trip waits
    // for the window's thread, which may be busy painting.
    OnMainWindowThread([&] {
        ListOutcomes.SetOutcome(position, state, reason);
        const TextRef cells[] = {title, size, link, status, reason};
        brindor::app::FillRow(in_flight_, position, caption, cells);
    });
}

int32_t MainWindowRunScreen::Interval() {
    return to_integer(
        OnMainWindowThreadText([] { return read_text_property(kIntervalEdit, kEditBoxContent); }));
}

void MainWindowRunScreen::Wait(int32_t milliseconds) {
    while (milliseconds > 0 && !TheRun().StopRequested()) {
        const int32_t slice = std::min(milliseconds, kStopCheckSlice);
        PumpedWait(slice);
        milliseconds -= slice;
    }
}

void MainWindowRunScreen::ShowProgress(int position, TextRef percent) {
    OnMainWindowThread([&] {
        write_property(kProgressBar, kProgressPosition, int64_t{position});
        write_property(kProgressLabel, kLabelCaption, percent.c_str());
        position_ = position;
        ShowIndicators();
    });
}

bool MainWindowRunScreen::StopRequested() {
    return TheRun().StopRequested();
}

void MainWindowRunScreen::ShowIndicators() {
    RunIndicatorsProgress(position_, maximum_, any_failed_);
}

} // namespace brindor::app
