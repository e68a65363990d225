#include "app/batch/run_indicators.h"

#include <cstdint>

#include "app/program_ids.h"
#include "runtime/win/taskbar_ops.h"

namespace brindor::app {

namespace {

// What the taskbar shows now: a step of 1% of the run (under a pixel of its button) and the
// colour. Telling it again per link what it already shows costs the window's thread a call
// across processes.
struct ShownProgress {
    int step = -1;
    bool failed = false;
    bool paused = false;
    int position = 0;
    int maximum = 0;
};
ShownProgress shown;

} // namespace

void RunIndicatorsBegin() {
    shown = ShownProgress{};
    keep_system_awake(true);
    show_taskbar_progress(kMainWindowId, 0, 0, TaskbarProgress::Normal);
}

void RunIndicatorsProgress(int position, int maximum, bool anyFailed) {
    const int step = maximum > 0 ? static_cast<int>(int64_t{position} * 100 / maximum) : 0;
    if (step == shown.step && anyFailed == shown.failed && !shown.paused) return;
    shown = ShownProgress{step, anyFailed, false, position, maximum};
    show_taskbar_progress(kMainWindowId, position, maximum,
                          anyFailed ? TaskbarProgress::Error : TaskbarProgress::Normal);
}

void RunIndicatorsPaused() {
    if (shown.paused) return;
    shown.paused = true;
    show_taskbar_progress(kMainWindowId, shown.position, shown.maximum, TaskbarProgress::Paused);
}

void RunIndicatorsEnd() {
    clear_taskbar_progress(kMainWindowId);
    flash_unless_in_front(kMainWindowId);
    keep_system_awake(false);
}

} // namespace brindor::app
