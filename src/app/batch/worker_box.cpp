#include "app/batch/worker_box.h"

#include "runtime/win/dialog_ops.h"

namespace brindor::app {

int WorkerMessageBox(const char* content, int buttons, const char* title) {
    return message_box(content, buttons | kBoxInFront, title);
}

int WorkerMessageBoxUntil(const char* content, int buttons, const char* title,
                          const std::atomic<bool>& stop) {
    return message_box_until(content, buttons | kBoxInFront, title, stop);
}

} // namespace brindor::app
