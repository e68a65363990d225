#include "submit/batch_run.h"

#include "runtime/core/conversions.h"
#include "submit/commit_body.h"
#include "submit/progress_text.h"
#include "submit/resolve_answer.h"

namespace brindor {

namespace {

// Resolves and commits one link; true only for a commit the service confirmed.
bool SubmitLink(TextRef link, TextRef user_id, TaskFields& fields, BatchSurface& surface) {
    ParseResolveAnswer(surface.ResolveLink(link).text, fields);
    // Without a content id there is nothing the service could create a task from.
    if (fields.cid.empty()) return false;
    return IsCommitAccepted(surface.CommitTask(user_id, fields));
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
        const char* link = input.links.at(i);
        // Fresh fields per link: an answer that yields nothing must not inherit the last link's.
        TaskFields fields;
        const bool accepted = SubmitLink(link, input.user_id, fields, surface);
        const Text size = FormatSize(fields.tsize);
        const int32_t interval =
            surface.AddRow(to_text(i), fields.title, size, link, accepted ? "提交成功！" : "提交失败！");
        surface.Wait(interval);
        surface.ShowProgress(i, PercentText(i, count));
    }
    surface.ShowMessage("全部完成！", nullptr);
}

} // namespace brindor
