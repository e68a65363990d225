// At start-up: the record comes up to date, and a run that never ended is offered again.
#pragma once
#include <cstdint>

#include "runtime/core/text_array.h"

namespace brindor::app {

// Imports the old journals, prunes, then, when the newest run not worked by a live copy never
// ended, asks whether to load the links it had not made. 否 answers the question for good; 是
// answers it once a run of the loaded links has started.
void LookAtRecord();

// The run whose links the list holds (links joined or reordered since count too); 0 when the list
// lacks one of them.
int64_t ResumedRunOf(const TextArray& list);

} // namespace brindor::app
