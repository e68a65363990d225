#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "app/settings/win/program_settings.h"
#include "app/batch/link_list_actions.h"
#include "app/batch/report_rows.h"
#include "app/batch/run_closing.h"
#include "app/batch/run_indicators.h"
#include "app/batch/worker_box.h"
#include "app/handlers.h"
#include "app/import/win/link_intake.h"
#include "app/record/win/record_file.h"
#include "app/record/win/start_question.h"
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
#include "submit/win/protocol_requests.h"
#include "submit/win/pumped_wait.h"
#include "text/win/script_timestamp.h"

namespace brindor::app {

namespace {

// Set on the GUI thread when a run starts, cleared by the worker when it ends.
std::atomic<bool> batch_running{false};
// Set by 停止提交, read by the worker between links.
std::atomic<bool> stop_requested{false};
// When the running batch started (GetTickCount); the GUI thread's own.
uint32_t started_at = 0;

constexpr int32_t kStopCheckSlice = 100; // a stop pressed during a long interval ends it this soon

// While a run goes the start button stops it; importing waits for the end.
void ShowRunning(bool running) {
    write_property(kStartButton, kButtonCaption, running ? "停止提交" : "开始提交");
    set_enabled(kImportButton, !running);
}

class MainWindowSurface : public BatchSurface {
  public:
    explicit MainWindowSurface(const BatchInput& input) : input_(input) {}
    ServiceAnswer ResolveLink(TextRef link) override { return brindor::ResolveLink(link); }
    ServiceAnswer CommitTask(TextRef user_id, const TaskFields& fields) override {
        return brindor::CommitTask(BuildCommitBody(user_id, fields));
    }
    // Every message ends a run; the taskbar flashes while the box waits for the user.
    void ShowMessage(const char* content, const char* title) override {
        RunIndicatorsEnd();
        // A refusal is no run: the buttons are back while it shows.
        if (!started_) {
            EndRun();
            WorkerMessageBox(content, 0, title);
            return;
        }
        OnMainWindowThread([&] { DropUnfilledRows(in_flight_); });
        const int first_line_end = find_text(content, "\n");
        if (!WriteOutcomes() ||
            !Record().EndRun(run_,
                             first_line_end > 0 ? left_text(content, first_line_end - 1) : Text(content)))
            record_lost_ = true;
        const Text message = record_lost_ ? concat_text({content, "\n", kRecordLost}) : Text(content);
        if (!ClosingAfterRun()) WorkerMessageBox(message.c_str(), 0, title);
        EndRun();
    }
    bool AskRetry(const char* content, const char* label) override {
        RunIndicatorsPaused();
        flash_unless_in_front(kMainWindowId);
        const Text shown = OnMainWindowThreadText([&] { return SwapProgressLabel(label); });
        const bool retry =
            WorkerMessageBoxUntil(content, MB_RETRYCANCEL, "提示", stop_requested) == kBoxRetry;
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
            if (stop_requested || spent >= static_cast<uint32_t>(std::max(milliseconds, 0))) break;
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
        return !stop_requested;
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
        OnMainWindowThread([] {
            batch_running = false;
            JoinWaitingLinks();
            ShowRunning(false);
            CloseIfAskedTo();
        });
        batch_running = false;
    }
    void SetProgressRange(int maximum) override {
        numbers_.assign(static_cast<size_t>(input_.links.count()) + 1, 0);
        for (int i = 1; i <= maximum; ++i)
            numbers_[input_.positions.empty() ? i : input_.positions[i - 1]] = i;
        started_ = true;
        BeginRecordedRun();
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
        OnMainWindowThread([&] { ShowRowInFlight(in_flight_, numbers_[position], caption, cells); });
    }
    bool MarkCommitting(int position) override {
        if (!run_) BeginRecordedRun();
        // An outcome the disk refused before is written first: the mark must not stand for it.
        return WriteOutcomes() && Record().MarkCommitting(run_, numbers_[position]);
    }
    int32_t AddRow(int position, LinkState state, TextRef caption, TextRef title, TextRef size, TextRef link,
                   TextRef status, TextRef reason) override {
        if (state != LinkState::kSucceeded) any_failed_ = true;
        // On disk before it is on the screen, so a killed process keeps every row the user saw; one
        // the disk refuses is written before the next mark.
        unwritten_.push_back(Outcome{numbers_[position], state, Text(title.c_str()), Text(size.c_str()),
                                     Text(reason.c_str())});
        WriteOutcomes();
        // One trip to the window's thread for the row and the interval rather than one per cell:
        // each trip waits for the window's thread, which may be busy painting.
        int32_t interval = 0;
        OnMainWindowThread([&] {
            LinkListRecord.SetOutcome(position, state, reason);
            const TextRef cells[] = {title, size, link, status, reason};
            FillRow(in_flight_, numbers_[position], caption, cells);
            interval = to_integer(read_text_property(kIntervalEdit, kEditBoxContent));
        });
        return interval;
    }
    void Wait(int32_t milliseconds) override {
        while (milliseconds > 0 && !stop_requested) {
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
    bool StopRequested() override { return stop_requested; }

  private:
    static constexpr const char* kRecordLost = "本次提交记录未能保存到磁盘。";

    const BatchInput& input_;
    // The run's number of each position of the list; 0 for a position the run leaves out.
    std::vector<int> numbers_;
    bool started_ = false;
    int64_t run_ = 0;
    bool record_lost_ = false;
    // Outcomes not yet on disk, oldest first: kept until a write succeeds, so a full disk that
    // clears loses none of them.
    struct Outcome {
        int number;
        LinkState state;
        Text title, size, reason;
    };
    std::vector<Outcome> unwritten_;
    InFlightRows in_flight_;
    int maximum_ = 0;
    int position_ = 0;
    bool any_failed_ = false;
    bool ended_ = false;

    void ShowIndicators() { RunIndicatorsProgress(position_, maximum_, any_failed_); }
    bool WriteOutcomes() {
        size_t written = 0;
        for (const Outcome& o : unwritten_) {
            if (!Record().SetOutcome(run_, o.number, o.state, o.title, o.size, o.reason, Today())) break;
            ++written;
        }
        unwritten_.erase(unwritten_.begin(), unwritten_.begin() + static_cast<std::ptrdiff_t>(written));
        return unwritten_.empty();
    }
    void BeginRecordedRun() {
        const TextArray links =
            input_.positions.empty() ? input_.links : LinksAt(input_.links, input_.positions);
        run_ = Record().BeginRun(input_.user_id, ThisCopyOwner(), NowText(), Today(), links, input_.resumed);
    }
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
        MainWindowSurface surface(*input);
        RunBatch(*input, surface);
        surface.EndRun();
    }
    delete input;
    return 0;
}

} // namespace

void StopSubmission() {
    stop_requested = true;
    cancel_boxes_until(); // a pause's box: the stop is its 取消, now
}

bool IsBatchRunning() {
    return batch_running;
}

void StartSubmission() {
    // Pressed as 停止提交 (or queued before the run ended): the run stops after its current link.
    if (batch_running.exchange(true)) {
        // Unless it is the second click of a double click that started the run.
        if (call_declared(kGetTickCount) - started_at >= call_declared(kGetDoubleClickTime)) StopSubmission();
        return;
    }
    LinkPositions positions;
    if (!ChooseRunPositions(positions)) {
        batch_running = false;
        return;
    }
    SaveInterval();
    started_at = call_declared(kGetTickCount);
    stop_requested = false;
    ShowRunning(true);
    // Taken here on the GUI thread, the only writer, so the copy cannot tear.
    BatchInput* input =
        new BatchInput{LinkList, SignedInUserId, std::move(positions), ResumedRunOf(LinkList)};
    uint32_t thread_id = 0;
    uint32_t(__stdcall * routine)(void*) = &SubmissionWorker;
    void* handle = call_declared<void*>(kCreateThread, static_cast<void*>(nullptr), uint32_t{0}, routine,
                                        static_cast<void*>(input), uint32_t{0}, &thread_id);
    if (!handle) {
        delete input;
        ShowRunning(false);
        batch_running = false;
        return;
    }
    // The previous worker has finished (runs never overlap), so its handle is of no further use.
    if (WorkerThreadHandle) call_declared(kCloseHandle, WorkerThreadHandle);
    WorkerThreadHandle = handle;
}

} // namespace brindor::app
