// Whether a run goes, and what belongs to it: the stop request, the worker's thread, the start
// time, the links that wait for its end and what the start question offered. Everything but the
// phase and the stop request is the GUI thread's own.
#pragma once
#include <atomic>
#include <cstdint>
#include <utility>

#include "declared/declared_handles.h"
#include "runtime/core/text_array.h"

namespace brindor::app {

enum class RunPhase {
    kIdle,
    kStarting, // the start's questions show and its counts are made; no worker yet
    kRunning,  // the worker has the run
};

class RunState {
  public:
    // Idle to starting, at `now` (GetTickCount); false when a run or a start goes already.
    bool TryStart(uint32_t now);
    // Starting to running: the worker gets the run since `now`. An unattended run ends before its
    // end box shows.
    void Run(uint32_t now, bool unattended);
    void KeepWorker(KernelHandle worker) { worker_ = std::move(worker); }
    // Back to idle: a start that came to nothing, or the run's end. Any thread.
    void End() { phase_ = RunPhase::kIdle; }

    RunPhase phase() const { return phase_; }
    // Starting or running: the list is the run's and the start button stops.
    bool Going() const { return phase_ != RunPhase::kIdle; }
    bool Unattended() const { return unattended_; }
    // Within the double-click time of the start: the second click of the click that started it.
    bool JustStarted(uint32_t now, uint32_t double_click_ms) const {
        return now - started_at_ < double_click_ms;
    }

    // Any thread; read by the worker between links and by a pause's box.
    void RequestStop() { stop_ = true; }
    bool StopRequested() const { return stop_; }
    const std::atomic<bool>& stop_request() const { return stop_; }

    // Links that arrived while the run, a question or a dialog held the list.
    void KeepWaiting(const TextArray& links);
    int WaitingCount() const { return waiting_.count(); }
    TextArray TakeWaiting();

    // The links the start question loaded, left over from the run `run`.
    void Offer(int64_t run, TextArray links);
    // The run whose links the list holds (links joined or reordered since count too); 0 when the
    // list lacks one of them.
    int64_t ResumedRunOf(const TextArray& list) const;

  private:
    std::atomic<RunPhase> phase_{RunPhase::kIdle};
    std::atomic<bool> stop_{false};
    bool unattended_ = false;
    uint32_t started_at_ = 0;
    // Kept until the next run, which may start while this one's end box shows: nothing waits for
    // it, the process ends with it.
    KernelHandle worker_;
    TextArray waiting_;
    int64_t offered_run_ = 0;
    TextArray offered_links_;
};

// The program's one run.
RunState& TheRun();

} // namespace brindor::app
