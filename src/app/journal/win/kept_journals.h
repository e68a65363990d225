// What the kept journals tell at start-up and when the list is tidied.
#pragma once
#include "submit/link_tidy.h"

namespace brindor::app {

// Removes journals past their keeping, then, when the newest run never ended, asks whether to load
// the links it had not yet made. Asks once per journal: either answer closes it.
void LookAtKeptJournals();

// The torrents every kept journal records as submitted.
InfoHashSet SucceededInKeptJournals();

} // namespace brindor::app
