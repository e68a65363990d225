#include "app/batch/link_list_actions.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/handlers.h"
#include "app/record/win/record_file.h"
#include "app/state.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "submit/link_tidy.h"

namespace brindor::app {

namespace {

// Names only the counts that are not 0.
Text StartQuestion(const ListCounts& counts) {
    const struct {
        int count;
        const char* words;
    } parts[] = {{counts.succeeded, "条链接以前已提交成功"},
                 {counts.repeated, "条重复"},
                 {counts.not_links, "行不是磁力链接"},
                 {counts.unknown, "条结果未知（任务可能已建立）"}};
    TextBuilder question;
    const auto add = [&](TextRef text) { question.append(text.c_str(), std::strlen(text.c_str())); };
    add("列表中有");
    bool first = true;
    for (const auto& part : parts) {
        if (part.count == 0) continue;
        if (!first) add("，");
        first = false;
        add(to_text(part.count));
        add(part.words);
    }
    add("。是否只提交其余的");
    add(to_text(counts.rest));
    add("条？");
    return question.take();
}

// A sent commit that got no readable answer may have made a task: sending it again needs a yes.
bool AlsoUnknown() {
    const int unknown = LinkListRecord.unknown_count();
    if (unknown == 0) return false;
    const Text question =
        concat_text({"另有", to_text(unknown), "条链接的提交结果未知，任务可能已经建立。是否也重新提交？"});
    return message_box(question.c_str(), MB_YESNO | MB_DEFBUTTON2, "提示") == kBoxYes;
}

LinkPositions Merged(LinkPositions positions, const LinkPositions& more) {
    positions.insert(positions.end(), more.begin(), more.end());
    std::sort(positions.begin(), positions.end());
    return positions;
}

} // namespace

bool ChooseRunPositions(LinkPositions& positions) {
    positions.clear();
    // Signed out, the run refuses with its own message: a question first would be for nothing.
    if (SignedInUserId.empty()) return true;
    ListCounts counts;
    const std::vector<ListPlace> places = [&] {
        StoredTorrents earlier(Record(), SignedInUserId);
        return PlaceLinks(LinkList, LinkListRecord, earlier, counts);
    }();
    if (counts.rest == element_count(LinkList)) return true;
    if (counts.rest == 0) {
        // One Enter too many after 全部完成！ must not submit the whole list again.
        return message_box("列表中的链接都已提交成功。是否全部重新提交？", MB_YESNO | MB_DEFBUTTON2,
                           "提示") == kBoxYes;
    }
    switch (message_box(StartQuestion(counts).c_str(), MB_YESNOCANCEL, "提示")) {
    case kBoxYes:
        positions = RestPositions(places);
        return true;
    case kBoxNo:
        return true;
    default:
        return false;
    }
}

TextArray RecordedFailedLinks() {
    return LinksAt(LinkList, Merged(LinkListRecord.Failed(), LinkListRecord.Unknown()));
}

bool AnyRecordedFailure() {
    return LinkListRecord.has_failed() || LinkListRecord.unknown_count() > 0;
}

bool CanRetryFailed() {
    return (LinkListRecord.has_failed() || LinkListRecord.unknown_count() > 0) && !IsBatchRunning();
}

void RetryFailedLinks() {
    if (IsBatchRunning()) return;
    LinkPositions positions = LinkListRecord.Failed();
    if (AlsoUnknown()) positions = Merged(std::move(positions), LinkListRecord.Unknown());
    if (!positions.empty()) ReplaceLinkList(LinksAt(LinkList, positions));
}

bool CanContinueUnfinished() {
    return LinkListRecord.touched() && LinkListRecord.has_unfinished() && !IsBatchRunning();
}

void ContinueUnfinishedLinks() {
    if (!CanContinueUnfinished()) return;
    const LinkPositions positions = LinkListRecord.NotSucceeded(AlsoUnknown());
    if (!positions.empty()) ReplaceLinkList(LinksAt(LinkList, positions));
}

void TidyLinkList() {
    if (IsBatchRunning() || LinkList.empty()) return;
    ListCounts counts;
    TextArray kept = [&] {
        StoredTorrents earlier(Record(), SignedInUserId);
        return TidyLinks(LinkList, LinkListRecord, earlier, counts);
    }();
    ReplaceLinkList(std::move(kept));
    const Text summary =
        concat_text({"去掉了", to_text(counts.not_links), "行非磁力链接、", to_text(counts.repeated),
                     "条重复的链接、", to_text(counts.succeeded), "条已提交成功的链接，剩余",
                     to_text(counts.rest + counts.unknown), "条链接。"});
    message_box(summary.c_str(), 0, "提示");
}

} // namespace brindor::app
