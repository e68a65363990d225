// The actions that pick links by what became of them, all reading the list's record and the
// record on disk.
#pragma once
#include "runtime/core/text_array.h"
#include "submit/link_record.h"

namespace brindor::app {

// Asks, when the list holds links made before, repeats, non-links or links of unknown outcome,
// whether to submit only the rest. False: the user chose not to start. `positions` empty: the
// whole list.
bool ChooseRunPositions(LinkPositions& positions);

// The links whose latest submission failed or has an unknown outcome, in list order: a file of
// links to look at, not a run.
TextArray RecordedFailedLinks();
bool AnyRecordedFailure();
// Failed links, or links of unknown outcome, and no run going.
bool CanRetryFailed();
// 重新提交失败的链接: the failed links become the list, and those of unknown outcome when the user
// says so.
void RetryFailedLinks();
// After a run that left links unmade, the list can become those.
bool CanContinueUnfinished();
void ContinueUnfinishedLinks();
// Drops non-links, repeated torrents and links already made, and says how many of each went.
void TidyLinkList();

} // namespace brindor::app
