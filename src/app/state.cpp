#include "app/state.h"

namespace brindor::app {

TextArray LinkList;
LinkOutcomes ListOutcomes;
Text SignedInUserName;
Text SignedInUserId;

void CreateProgramState() {
    LinkList.clear();
    ListOutcomes.Reset(0);
    SignedInUserName = Text();
    SignedInUserId = Text();
}

// A running worker is neither waited for nor stopped: the process ends with it.
void ReleaseProgramState() {
    LinkList.clear();
    SignedInUserId = Text();
    SignedInUserName = Text();
}

} // namespace brindor::app
