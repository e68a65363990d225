// The main window as a run shows itself: rows, progress, boxes, waits and the stop. Made and used
// on the worker's thread; whatever touches the window goes over to the window's thread.
#pragma once
#include <cstdint>

#include "app/batch/in_flight_rows.h"
#include "submit/batch_run.h"
#include "submit/record/record_store.h"

namespace brindor::app {

// While a run goes the start button stops it; importing waits for the end.
void ShowRunning(bool running);

class MainWindowRunScreen : public RunScreen {
  public:
    // `store`: the run's own connection to the record.
    explicit MainWindowRunScreen(RecordStore& store);
    void RefuseRun(const char* content, const char* title) override;
    void BeginProgress(int count) override;
    void ShowCommitting(int position, TextRef title, TextRef size, TextRef link) override;
    void FillRow(int position, LinkState state, TextRef caption, TextRef title, TextRef size, TextRef link,
                 TextRef status, TextRef reason) override;
    int32_t Interval() override;
    void Wait(int32_t milliseconds) override;
    void ShowProgress(int position, TextRef percent) override;
    bool StopRequested() override;
    bool AskRetry(const char* content, const char* label) override;
    bool WaitThrottled(int32_t milliseconds) override;
    Text CurrentUserId() override;
    void ShowEnd(const char* content) override;
    // The run no longer goes: the buttons are back and the waiting links join; once, however
    // often asked.
    void EndRun();

  private:
    // Rows are placed by the links' positions, which the run takes in ascending order.
    InFlightRows in_flight_;
    RecordStore& store_;
    const bool unattended_;
    int maximum_ = 0;
    int position_ = 0;
    bool any_failed_ = false;
    bool ended_ = false;

    void ShowIndicators();
};

} // namespace brindor::app
