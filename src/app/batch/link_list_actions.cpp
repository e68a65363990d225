#include "app/batch/link_list_actions.h"

#include <utility>

#include "app/handlers.h"
#include "app/journal/win/kept_journals.h"
#include "app/state.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "submit/link_tidy.h"

namespace brindor::app {

bool ChooseRunPositions(LinkPositions& positions) {
    positions.clear();
    const int succeeded = LinkListRecord.succeeded_count();
    // Signed out, the run refuses with its own message: a question first would be for nothing.
    if (succeeded == 0 || SignedInUserId.empty()) return true;
    if (succeeded == LinkListRecord.count()) {
        // One Enter too many after 全部完成！ must not submit the whole list again.
        return message_box("列表中的链接都已提交成功。是否全部重新提交？", MB_YESNO | MB_DEFBUTTON2,
                           "提示") == kBoxYes;
    }
    const Text question = concat_text({"列表中已有", to_text(succeeded), "条链接提交成功。是否只提交其余的",
                                       to_text(LinkListRecord.count() - succeeded), "条？"});
    switch (message_box(question.c_str(), MB_YESNOCANCEL, "提示")) {
    case kBoxYes:
        positions = LinkListRecord.NotSucceeded();
        return true;
    case kBoxNo:
        return true;
    default:
        return false;
    }
}

TextArray RecordedFailedLinks() {
    return LinksAt(LinkList, LinkListRecord.Failed());
}

bool AnyRecordedFailure() {
    return LinkListRecord.has_failed();
}

bool CanContinueUnfinished() {
    return LinkListRecord.touched() && LinkListRecord.has_unfinished() && !IsBatchRunning();
}

void ContinueUnfinishedLinks() {
    if (!CanContinueUnfinished()) return;
    ReplaceLinkList(LinksAt(LinkList, LinkListRecord.NotSucceeded()));
}

void TidyLinkList() {
    if (IsBatchRunning() || LinkList.empty()) return;
    TidyCounts counts;
    TextArray kept = TidyLinks(LinkList, LinkListRecord, SucceededInKeptJournals(), counts);
    ReplaceLinkList(std::move(kept));
    const Text summary = concat_text({"去掉了", to_text(counts.not_links), "行非磁力链接、",
                                      to_text(counts.repeated), "条重复的链接、", to_text(counts.succeeded),
                                      "条已提交成功的链接，剩余", to_text(counts.remaining), "条链接。"});
    message_box(summary.c_str(), 0, "提示");
}

} // namespace brindor::app
