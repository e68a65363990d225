// The program's record on disk, %LOCALAPPDATA%\Brindor\brindor.db, shared by every copy of the
// program the user runs, and the lock that tells the copies' runs apart.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/record_store.h"

namespace brindor::app {

// Opened on first use, and tried again while it cannot be; a store that is not open fails every
// write, so no commit goes out.
RecordStore& Record();
// The name this copy's runs carry; its lock is held until the process ends.
Text ThisCopyOwner();
// True when the copy that owns a run is alive (this one included).
bool OwnerIsLive(TextRef owner);
// Today as days since 1970-01-01 on the local calendar, and now as a row's time.
int Today();
Text NowText();

} // namespace brindor::app
