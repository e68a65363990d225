// One copy of the program per user session: a second start hands its items to the first and ends.
#pragma once
#include "runtime/core/file_name.h"

namespace brindor::app {

// True for the first copy, which holds the session's mark from now until it ends.
bool BecomeTheOnlyCopy();
enum class ForwardAnswer { kTaken, kRefused, kNoAnswer };
// Hands the items to the first copy's main window, which comes to the front, within a few seconds.
ForwardAnswer ForwardToFirstCopy(const FileNames& items);
// The same, saying so in a box when the first copy did not take them: the exit code of this start.
int HandOverToFirstCopy(const FileNames& items);

} // namespace brindor::app
