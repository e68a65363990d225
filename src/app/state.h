// Program-wide state, shared by the handlers and read by the batch worker.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "submit/links/link_record.h"

namespace brindor::app {

extern TextArray LinkList;
// What became of each link of LinkList; reset whenever the list is replaced. Written on the GUI thread.
extern LinkOutcomes ListOutcomes;
extern Text SignedInUserName;
extern Text SignedInUserId;

// Start: everything empty. End of program: everything released.
void CreateProgramState();
void ReleaseProgramState();

} // namespace brindor::app
