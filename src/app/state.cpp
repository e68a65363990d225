#include "app/state.h"

namespace brindor::app {

TextArray LinkList;
LinkRecord LinkListRecord;
Text SignedInUserName;
Text SignedInUserId;

void CreateProgramState() {
    LinkList.clear();
    LinkListRecord.Reset(0);
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
