#include "submit/batch_run.h"

#include "runtime/core/conversions.h"
#include "submit/answer_shape.h"
#include "submit/commit_body.h"
#include "submit/failure_reason.h"
#include "submit/progress_text.h"
#include "submit/resolve_answer.h"

namespace brindor {

namespace {

// Resolves and commits one link; accepted only for a commit the service confirmed.
void SubmitLink(TextRef link, TextRef user_id, LinkOutcome& outcome, BatchSurface& surface) {
    outcome.resolve = surface.ResolveLink(link);
    // A cut or unknown answer would send a commit with fields missing.
    if (ResolveAnswerShape(outcome.resolve.text) != ResolveShape::kWhole) return;
    ParseResolveAnswer(outcome.resolve.text, outcome.fields);
    // Without a content id there is nothing the service could create a task from.
    if (outcome.fields.cid.empty()) return;
    outcome.committed = true;
    outcome.commit = surface.CommitTask(user_id, outcome.fields);
    outcome.accepted = IsCommitAccepted(outcome.commit);
}

} // namespace

void RunBatch(const BatchInput& input, BatchSurface& surface) {
    const int count = element_count(input.links);
    if (count == 0 || input.user_id.empty()) {
        surface.ShowMessage("数组里面没有数据，或者还没有登陆迅雷离线平台", "提示");
        return;
    }
    surface.SetProgressRange(count);
    for (int i = 1; i <= count; ++i) {
        if (i > 1 && surface.StopRequested()) {
            surface.ShowMessage("已停止。", nullptr);
            return;
        }
        const char* link = input.links.at(i);
        // Fresh fields per link: an answer that yields nothing must not inherit the last link's.
        LinkOutcome outcome;
        SubmitLink(link, input.user_id, outcome, surface);
        const Text size = FormatSize(outcome.fields.tsize);
        const int32_t interval =
            surface.AddRow(to_text(i), outcome.fields.title, size, link,
                           outcome.accepted ? "提交成功！" : "提交失败！", FailureReason(outcome));
        surface.Wait(interval);
        surface.ShowProgress(i, PercentText(i, count));
    }
    surface.ShowMessage("全部完成！", nullptr);
}

} // namespace brindor
