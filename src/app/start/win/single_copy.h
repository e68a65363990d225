// One copy of the program per user session: a second start hands its items to the first and ends.
#pragma once
#include "runtime/core/file_name.h"

namespace brindor::app {

// True for the first copy, which holds the session's mark from now until it ends.
bool BecomeTheOnlyCopy();
// Hands the items to the first copy's main window, which comes to the front; false when no such
// window took them in time.
bool ForwardToFirstCopy(const FileNames& items);

} // namespace brindor::app
