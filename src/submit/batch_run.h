// One batch: every link resolved, committed and reported in order. The service, the screen and the
// record are partners the run is handed, so the sequence itself runs without a window.
#pragma once
#include <cstdint>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"
#include "submit/links/link_record.h"
#include "submit/service/service_answer.h"
#include "submit/service/service_client.h"
#include "submit/service/task_fields.h"

namespace brindor {

// What a run works on, copied when it starts: an import or sign-in during the run changes
// nothing under it.
struct BatchInput {
    TextArray links;
    Text user_id;
    // Which links the run processes, in this order; empty: all of them.
    LinkPositions positions;
    // The earlier run whose leftover links these are; 0 for none.
    int64_t resumed = 0;
};

// What the user sees of a run, and the waits and stop the user controls.
class RunScreen {
  public:
    virtual ~RunScreen() = default;
    // A box saying why no run begins; title null: the message box's default title.
    virtual void RefuseRun(const char* content, const char* title) = 0;
    // The run's progress at 0 of `count` links, and the run shown as going.
    virtual void BeginProgress(int count) = 0;
    // The link's commit goes out now: its row shows it until FillRow fills the row in.
    virtual void ShowCommitting(int /*position*/, TextRef /*title*/, TextRef /*size*/, TextRef /*link*/) {}
    // Fills the link's row (its caption, then columns 1 to 5), where the list learns its outcome:
    // `reason` is empty for a success. `position` is the link's in the input's list.
    virtual void FillRow(int position, LinkState state, TextRef caption, TextRef title, TextRef size,
                         TextRef link, TextRef status, TextRef reason) = 0;
    // The interval in milliseconds to wait before the next link; read anew for every link, so a
    // change applies from the next wait.
    virtual int32_t Interval() = 0;
    virtual void Wait(int32_t milliseconds) = 0;
    virtual void ShowProgress(int position, TextRef percent) = 0;
    // Asked before every link but the first: true ends the run there.
    virtual bool StopRequested() = 0;
    // A 提示 box with 重试 and 取消 while the run is paused; true for 重试. The main window stays
    // usable meanwhile, so the user can sign in again, and its percentage label shows `label`, why
    // the run waits, until the box closes.
    virtual bool AskRetry(const char* content, const char* label) = 0;
    // Waits before asking a throttling service again, showing the time left; false when a stop
    // ended the wait.
    virtual bool WaitThrottled(int32_t milliseconds) = 0;
    // The user id signed in now; empty when nobody is.
    virtual Text CurrentUserId() = 0;
    // The run is over on the screen; its end box says `content` under the default title.
    virtual void ShowEnd(const char* content) = 0;
};

// What a run writes to its record. Positions are the links' in the input's list.
class BatchRecord {
  public:
    virtual ~BatchRecord() = default;
    // The run's links are recorded, each not yet sent.
    virtual void Begin(const BatchInput& input) = 0;
    // On disk before the link's commit goes out for `user_id`; false when it could not be written.
    virtual bool Mark(int position, TextRef user_id) = 0;
    // Before the link's row shows; kept and written again until the disk takes it.
    virtual void Outcome(int position, LinkState state, TextRef title, TextRef size, TextRef reason) = 0;
    // The run ended as `how` says; false when any of the run could not be written.
    virtual bool End(TextRef how) = 0;
};

// No commit goes out before its mark is on disk: when the mark fails the run pauses, and 取消 stops it.
// Ends with one message: "全部完成！", or "已停止。" when stopped before the last link or when the
// user declines to go on after a pause (signed out, the service unreachable); a second line counts
// the run's successes and failures, and the links of unknown outcome apart.
// A commit the service refused is written failed before the run stops or pauses for it.
void RunBatch(const BatchInput& input, ServiceClient& service, RunScreen& screen, BatchRecord& record);

} // namespace brindor
