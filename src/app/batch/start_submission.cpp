#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "app/settings/win/program_settings.h"
#include "app/batch/link_list_actions.h"
#include "app/batch/report_rows.h"
#include "app/batch/run_closing.h"
#include "app/batch/run_indicators.h"
#include "app/batch/run_state.h"
#include "app/batch/worker_box.h"
#include "app/handlers.h"
#include "app/import/win/link_intake.h"
#include "app/record/win/record_file.h"
#include "app/state.h"
#include "app/windows/ids.h"
#include "declared/declared_functions.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/taskbar_ops.h"
#include "runtime/win/window/control_access.h"
#include "runtime/win/window/window_registry.h"
#include "submit/batch_run.h"
#include "submit/progress_text.h"
#include "submit/win/pumped_wait.h"
#include "submit/win/service_client.h"
#include "text/win/script_timestamp.h"

namespace brindor::app {

namespace {

constexpr int32_t kStopCheckSlice = 100; // a stop pressed during a long interval ends it this soon

// While a run goes the start button stops it; importing waits for the end.
void ShowRunning(bool running) {
    write_property(kStartButton, kButtonCaption, running ? "停止提交" : "开始提交");
    set_enabled(kImportButton, !running);
}

// Rows, progress, boxes, waits and the stop, on the main window.
class MainWindowRunScreen : public RunScreen {
  public:
    MainWindowRunScreen() : unattended_(TheRun().Unattended()) {}
    // A refusal is no run: the buttons are back while it shows; the taskbar flashes meanwhile.
    void RefuseRun(const char* content, const char* title) override {
        RunIndicatorsEnd();
        EndRun();
        WorkerMessageBox(content, 0, title);
    }
    void ShowEnd(const char* content) override {
        RunIndicatorsEnd();
        OnMainWindowThread([&] { DropUnfilledRows(in_flight_); });
        // Nobody may be there to close it: an unattended run is over before its box shows, so the
        // next automatic start need not wait for a click.
        if (unattended_) EndRun();
        if (!ClosingAfterRun()) WorkerMessageBox(content, 0, nullptr);
        EndRun();
    }
    bool AskRetry(const char* content, const char* label) override {
        RunIndicatorsPaused();
        flash_unless_in_front(kMainWindowId);
        const Text shown = OnMainWindowThreadText([&] { return SwapProgressLabel(label); });
        const bool retry =
            WorkerMessageBoxUntil(content, MB_RETRYCANCEL, "提示", TheRun().stop_request()) == kBoxRetry;
        OnMainWindowThread([&] { SwapProgressLabel(shown.c_str()); });
        ShowIndicators();
        return retry;
    }
    bool WaitThrottled(int32_t milliseconds) override {
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
    Text CurrentUserId() override {
        return OnMainWindowThreadText([] { return SignedInUserId; });
    }
    // The buttons come back as soon as the final box closes, not after the worker has let go
    // of its script object (seconds under some systems).
    void EndRun() {
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
    void BeginProgress(int maximum) override {
        maximum_ = maximum;
        RunIndicatorsBegin();
        write_property(kProgressBar, kProgressMinimum, int64_t{0});
        write_property(kProgressBar, kProgressMaximum, int64_t{maximum});
        write_property(kProgressBar, kProgressPosition, int64_t{0});
        write_property(kProgressLabel, kLabelCaption, PercentText(0, maximum).c_str());
    }
    void ShowCommitting(int position, TextRef title, TextRef size, TextRef link) override {
        const Text caption = to_text(position);
        const TextRef cells[] = {title, size, link, kCommittingStatus, ""};
        OnMainWindowThread([&] { ShowRowInFlight(in_flight_, position, caption, cells); });
    }
    void FillRow(int position, LinkState state, TextRef caption, TextRef title, TextRef size, TextRef link,
                 TextRef status, TextRef reason) override {
        if (state != LinkState::kSucceeded) any_failed_ = true;
        // One trip to the window's thread for the row rather than one per cell: each trip waits
        // for the window's thread, which may be busy painting.
        OnMainWindowThread([&] {
            LinkListRecord.SetOutcome(position, state, reason);
            const TextRef cells[] = {title, size, link, status, reason};
            brindor::app::FillRow(in_flight_, position, caption, cells);
        });
    }
    int32_t Interval() override {
        return to_integer(OnMainWindowThreadText([] { return read_text_property(kIntervalEdit, kEditBoxContent); }));
    }
    void Wait(int32_t milliseconds) override {
        while (milliseconds > 0 && !TheRun().StopRequested()) {
            const int32_t slice = std::min(milliseconds, kStopCheckSlice);
            PumpedWait(slice);
            milliseconds -= slice;
        }
    }
    void ShowProgress(int position, TextRef percent) override {
        OnMainWindowThread([&] {
            write_property(kProgressBar, kProgressPosition, int64_t{position});
            write_property(kProgressLabel, kLabelCaption, percent.c_str());
            position_ = position;
            ShowIndicators();
        });
    }
    bool StopRequested() override { return TheRun().StopRequested(); }

  private:
    // Rows are placed by the links' positions, which the run takes in ascending order.
    InFlightRows in_flight_;
    const bool unattended_;
    int maximum_ = 0;
    int position_ = 0;
    bool any_failed_ = false;
    bool ended_ = false;

    void ShowIndicators() { RunIndicatorsProgress(position_, maximum_, any_failed_); }
    // A text read on the window's thread; empty when the main window is gone.
    template <class F> static Text OnMainWindowThreadText(F read) {
        Text text;
        OnMainWindowThread([&] { text = read(); });
        return text;
    }

    // Closing the main window mid-run leaves nothing to write to: the process is ending.
    template <class F> static void OnMainWindowThread(F work) {
        on_loaded_window_thread(kMainWindowId, [&](HWND) { work(); });
    }
};

uint32_t __stdcall SubmissionWorker(void* parameter) {
    BatchInput* input = static_cast<BatchInput*>(parameter);
    {
        ScriptClockScope clock; // one script object for the whole run, not one per commit
        MainWindowRunScreen screen;
        HttpServiceClient service;
        // A connection of the run's own, so the window's reads never wait on its writes; closed
        // (its log emptied into the file) when the run ends.
        RecordStore store(RecordCodec());
        OpenRecordFile(store);
        LocalClock days;
        RunRecord record(store, ThisCopyOwner(), days);
        RunBatch(*input, service, screen, record);
        store.Close();
        screen.EndRun();
    }
    delete input;
    return 0;
}

} // namespace

void StopSubmission() {
    TheRun().RequestStop();
    cancel_boxes_until(); // a pause's box: the stop is its 取消, now
}

bool IsBatchRunning() {
    return TheRun().Going();
}

namespace {

void StartRun(bool unattended) {
    RunState& run = TheRun();
    const uint32_t now = call_declared<uint32_t>(kGetTickCount);
    // Pressed as 停止提交 (or queued before the run ended): the run stops after its current link.
    if (!run.TryStart(now)) {
        if (unattended) return;
        // Unless it is the second click of a double click that started the run.
        if (!run.JustStarted(now, call_declared<uint32_t>(kGetDoubleClickTime))) StopSubmission();
        return;
    }
    // While the counts are made 停止提交 ends them, and the list cannot be replaced under them.
    LinkPositions positions;
    if (!ChooseRunPositions(positions, run.stop_request(), ShowRunning, unattended)) {
        run.End();
        JoinWaitingLinks(); // what arrived during the question
        return;
    }
    SaveInterval();
    run.Run(call_declared<uint32_t>(kGetTickCount), unattended);
    ShowRunning(true);
    // Taken here on the GUI thread, the only writer, so the copy cannot tear.
    BatchInput* input =
        new BatchInput{LinkList, SignedInUserId, std::move(positions), run.ResumedRunOf(LinkList)};
    uint32_t thread_id = 0;
    uint32_t(__stdcall * routine)(void*) = &SubmissionWorker;
    KernelHandle worker(call_declared<void*>(kCreateThread, static_cast<void*>(nullptr), uint32_t{0}, routine,
                                             static_cast<void*>(input), uint32_t{0}, &thread_id));
    if (!worker) {
        delete input;
        ShowRunning(false);
        run.End();
        JoinWaitingLinks();
        return;
    }
    run.KeepWorker(std::move(worker));
}

} // namespace

void StartSubmission() {
    StartRun(false);
}

void StartUnattendedSubmission() {
    StartRun(true);
}

} // namespace brindor::app
