// The ITEMs of this start's command line.
#pragma once
#include "runtime/core/file_name.h"

namespace brindor::app {

// File items as whole paths, resolved against this process's current directory. A handler's command
// line gives its one link, or nothing.
FileNames StartItems();

} // namespace brindor::app
