// At start-up: the record comes up to date, and a run that never ended is offered again.
#pragma once

namespace brindor::app {

// Imports the old journals, prunes, then, when the newest run not worked by a live copy never
// ended, asks whether to load the links it had not made. 否 answers the question for good; 是
// answers it once a run of the loaded links has started.
void LookAtRecord();

} // namespace brindor::app
