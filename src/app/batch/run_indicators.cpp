#include "app/batch/run_indicators.h"

#include "app/windows/ids.h"
#include "runtime/win/taskbar_ops.h"

namespace brindor::app {

void RunIndicatorsBegin() {
    keep_system_awake(true);
    show_taskbar_progress(kMainWindowId, 0, 0, TaskbarProgress::Normal);
}

void RunIndicatorsProgress(int position, int maximum, bool anyFailed) {
    show_taskbar_progress(kMainWindowId, position, maximum,
                          anyFailed ? TaskbarProgress::Error : TaskbarProgress::Normal);
}

void RunIndicatorsEnd() {
    clear_taskbar_progress(kMainWindowId);
    flash_unless_in_front(kMainWindowId);
    keep_system_awake(false);
}

} // namespace brindor::app
