#include "app/batch/worker_box.h"

#include "runtime/win/dialog_ops.h"

namespace brindor::app {

int WorkerMessageBox(const char* content, int buttons, const char* title) {
    return message_box(content, buttons | kBoxInFront, title);
}

} // namespace brindor::app
