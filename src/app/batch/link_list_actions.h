// The actions that pick links by what became of them, all reading the list's record and the
// record on disk.
#pragma once
#include <atomic>

#include "runtime/core/text_array.h"
#include "submit/links/link_record.h"

namespace brindor::app {

// Asks, when the list holds links made before, repeats, non-links or links of unknown outcome,
// whether to submit only the rest. False: the user chose not to start, `stop` was set while the
// counts were made, or the record cannot be read. `show_counting` is told when counts begin and
// end: meanwhile the list must not change and a stop ends them. `positions` empty: the whole list.
// `unattended`: no question, the defaults' answer, and only links this list has not sent yet
// (false when there are none).
bool ChooseRunPositions(LinkPositions& positions, const std::atomic<bool>& stop, void (*show_counting)(bool),
                        bool unattended = false);

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
