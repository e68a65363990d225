// The journals that earlier versions kept in runs\, brought into the record once.
#pragma once
#include "submit/record_store.h"

namespace brindor::app {

// Records every journal, oldest first, and moves each recorded one to runs\imported\.
void ImportJournals(RecordStore& store);

} // namespace brindor::app
