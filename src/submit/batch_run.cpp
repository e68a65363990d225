#include "submit/batch_run.h"

#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "submit/commit_body.h"
#include "submit/failure_reason.h"
#include "submit/progress_text.h"
#include "submit/resolve_answer.h"

namespace brindor {

namespace {

// Resolves and commits one link; accepted only for a commit the service confirmed.
void SubmitLink(TextRef link, TextRef user_id, LinkOutcome& outcome, BatchSurface& surface) {
    outcome.resolve = surface.ResolveLink(link);
    ParseResolveAnswer(outcome.resolve.text, outcome.fields);
    // Without a content id there is nothing the service could create a task from.
    if (outcome.fields.cid.empty()) return;
    outcome.committed = true;
    outcome.commit = surface.CommitTask(user_id, outcome.fields);
    outcome.accepted = IsCommitAccepted(outcome.commit);
}

struct RunTally {
    int succeeded = 0;
    int failed = 0;
};

// The one way a run ends, however it came to its end.
void EndRun(const char* how, const RunTally& tally, BatchSurface& surface) {
    if (tally.failed == 0) return surface.ShowMessage(how, nullptr);
    const Text counts =
        concat_text({"成功", to_text(tally.succeeded), "条，失败", to_text(tally.failed), "条。"});
    surface.ShowMessage(concat_text({how, "\n", counts}).c_str(), nullptr);
}

} // namespace

void RunBatch(const BatchInput& input, BatchSurface& surface) {
    const int count =
        input.positions.empty() ? element_count(input.links) : static_cast<int>(input.positions.size());
    if (count == 0 || input.user_id.empty()) {
        surface.ShowMessage("数组里面没有数据，或者还没有登陆迅雷离线平台", "提示");
        return;
    }
    surface.SetProgressRange(count);
    RunTally tally;
    for (int i = 1; i <= count; ++i) {
        if (i > 1 && surface.StopRequested()) return EndRun("已停止。", tally, surface);
        const int position = input.positions.empty() ? i : input.positions[i - 1];
        const char* link = input.links.at(position);
        // Fresh fields per link: an answer that yields nothing must not inherit the last link's.
        LinkOutcome outcome;
        SubmitLink(link, input.user_id, outcome, surface);
        const Text size = FormatSize(outcome.fields.tsize);
        ++(outcome.accepted ? tally.succeeded : tally.failed);
        const int32_t interval =
            surface.AddRow(position, to_text(position), outcome.fields.title, size, link,
                           outcome.accepted ? "提交成功！" : "提交失败！", FailureReason(outcome));
        surface.Wait(interval);
        surface.ShowProgress(i, PercentText(i, count));
    }
    EndRun("全部完成！", tally, surface);
}

} // namespace brindor
