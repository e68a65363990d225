// The journals that earlier versions kept in runs\, brought into the record once.
#pragma once
#include "submit/record/record_store.h"

namespace brindor::app {

// Records every journal, oldest first, each on its own, and moves each recorded one to
// runs\imported\ and each that cannot be read or matched to runs\unreadable\; how many went there.
int ImportJournals(RecordStore& store);

} // namespace brindor::app
