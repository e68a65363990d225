#include "app/handlers.h"
#include "app/program_ids.h"

namespace brindor::app {

// No owner given: the active main window becomes the owner and stays disabled meanwhile.
void OpenSignInWindow() {
    load_window(kSignInWindowId, nullptr, true);
}

} // namespace brindor::app
