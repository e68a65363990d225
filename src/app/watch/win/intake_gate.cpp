#include "app/watch/win/intake_gate.h"

#include <cstdint>

#include "app/program_ids.h"
#include "declared/declared_functions.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

bool MainWindowTakesInput() {
    HWND main = loaded_window_handle(kMainWindowId);
    return main && call_declared<int32_t>(kIsWindowEnabled, main) != 0;
}

} // namespace brindor::app
