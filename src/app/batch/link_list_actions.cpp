#include "app/batch/link_list_actions.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/handlers.h"
#include "app/import/win/link_intake.h"
#include "app/record/win/list_placing.h"
#include "app/record/win/record_file.h"
#include "app/state.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "submit/links/link_tidy.h"
#include "submit/record/record_trouble.h"
#include "submit/record/unknown_names.h"

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
    if (ListOutcomes.unknown_count() == 0) return false;
    const Text question = AlsoUnknownQuestion(LinksAt(LinkList, ListOutcomes.Unknown()), TextArray());
    return message_box(question.c_str(), MB_YESNO | MB_DEFBUTTON2, "提示") == kBoxYes;
}

// Nothing is left to send: the box says what the list holds, and offers what may be sent again.
bool NothingLeftQuestion(const ListCounts& counts, const std::vector<ListPlace>& places,
                         LinkPositions& positions) {
    const int total = element_count(LinkList);
    // One Enter too many after 全部完成！ must not submit the whole list again.
    if (counts.succeeded == total)
        return message_box("列表中的链接都已提交成功。是否全部重新提交？", MB_YESNO | MB_DEFBUTTON2,
                           "提示") == kBoxYes;
    const struct {
        int count;
        const char* words;
    } parts[] = {{counts.succeeded, "以前已提交成功"},
                 {counts.unknown, "结果未知"},
                 {counts.repeated, "重复"},
                 {counts.not_links, "不是磁力链接"}};
    Text told = concat_text({"列表中的", to_text(total), "条链接："});
    const char* separator = "";
    for (const auto& part : parts)
        if (part.count > 0) {
            told = concat_text({told, separator, part.words, to_text(part.count), "条"});
            separator = "，";
        }
    told = concat_text(told, "。");
    if (counts.unknown > 0) {
        LinkPositions unknown;
        for (size_t i = 0; i < places.size(); ++i)
            if (places[i] == ListPlace::kUnknown) unknown.push_back(static_cast<int>(i) + 1);
        const Text question =
            concat_text({told, "结果未知的是：\n", UnknownNames(LinksAt(LinkList, unknown), {}),
                         "是否重新提交这", to_text(counts.unknown), "条？"});
        if (message_box(question.c_str(), MB_YESNO | MB_DEFBUTTON2, "提示") != kBoxYes) return false;
        positions = std::move(unknown);
        return true;
    }
    if (counts.succeeded > 0)
        return message_box(concat_text(told, "是否全部重新提交？").c_str(), MB_YESNO | MB_DEFBUTTON2,
                           "提示") == kBoxYes;
    message_box(concat_text(told, "没有可以提交的链接。").c_str(), 0, "提示");
    return false;
}

// The list's places against the record; false when stopped, or when the record could not be read
// and the user gave up. 重试 reads again through a new connection.
bool PlaceAgainstRecord(ListPlacing& placing, const std::atomic<bool>& stop, void (*show_counting)(bool)) {
    for (;;) {
        show_counting(true);
        const bool placed = PlaceListAgainstRecord(placing, stop);
        show_counting(false);
        if (!placed) return false;
        if (!placing.error) return true;
        const Text told = UnreadableRecordText(placing.error, RecordFileName());
        if (message_box(told.c_str(), MB_RETRYCANCEL, "提示") != kBoxRetry) return false;
    }
}

LinkPositions Merged(LinkPositions positions, const LinkPositions& more) {
    positions.insert(positions.end(), more.begin(), more.end());
    std::sort(positions.begin(), positions.end());
    return positions;
}

// A failed link is sent again only when the user asks: a start nobody clicked leaves it.
LinkPositions UnsentPositions(const LinkPositions& rest) {
    LinkPositions unsent;
    for (int position : rest)
        if (ListOutcomes.state(position) == LinkState::kNotSubmitted) unsent.push_back(position);
    return unsent;
}

} // namespace

bool ChooseRunPositions(LinkPositions& positions, const std::atomic<bool>& stop, void (*show_counting)(bool),
                        bool unattended) {
    positions.clear();
    // Signed out, the run refuses with its own message: a question first would be for nothing.
    if (SignedInUserId.empty()) return !unattended;
    ListPlacing placing;
    if (!PlaceAgainstRecord(placing, stop, show_counting)) return false;
    const ListCounts& counts = placing.counts;
    const std::vector<ListPlace>& places = placing.places;
    // No mark could be written: nothing would go out.
    if (ProgramRecord().newer()) {
        if (!unattended) message_box(kNewerRecordText, 0, "提示");
        return false;
    }
    if (unattended) {
        positions = UnsentPositions(RestPositions(places));
        return !positions.empty();
    }
    if (counts.rest == element_count(LinkList)) return true;
    if (counts.rest == 0) return NothingLeftQuestion(counts, places, positions);
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
    return LinksAt(LinkList, Merged(ListOutcomes.Failed(), ListOutcomes.Unknown()));
}

bool AnyRecordedFailure() {
    return ListOutcomes.has_failed() || ListOutcomes.unknown_count() > 0;
}

bool CanRetryFailed() {
    return (ListOutcomes.has_failed() || ListOutcomes.unknown_count() > 0) && !IsBatchRunning();
}

void RetryFailedLinks() {
    if (IsBatchRunning()) return;
    const IntakeHeld held;
    LinkPositions positions = ListOutcomes.Failed();
    if (AlsoUnknown()) positions = Merged(std::move(positions), ListOutcomes.Unknown());
    if (!positions.empty()) ReplaceLinkList(LinksAt(LinkList, positions));
}

bool CanContinueUnfinished() {
    return ListOutcomes.touched() && ListOutcomes.has_unfinished() && !IsBatchRunning();
}

void ContinueUnfinishedLinks() {
    if (!CanContinueUnfinished()) return;
    const IntakeHeld held;
    const LinkPositions positions = ListOutcomes.NotSucceeded(AlsoUnknown());
    if (!positions.empty()) ReplaceLinkList(LinksAt(LinkList, positions));
}

void TidyLinkList() {
    if (IsBatchRunning() || LinkList.empty()) return;
    ListCounts counts;
    int error = 0;
    TextArray kept = [&] {
        StoredTorrents earlier(ProgramRecord(), SignedInUserId);
        TextArray tidy = TidyLinks(LinkList, ListOutcomes, earlier, counts);
        error = earlier.error();
        return tidy;
    }();
    // A link the record could not answer for is no link made before: the list stays as it is.
    if (error) {
        const Text told =
            concat_text({"无法读取提交记录（", RecordTroubleCause(error), "）：\n", RecordFileName()});
        message_box(told.c_str(), 0, "提示");
        return;
    }
    ReplaceLinkList(std::move(kept));
    const Text summary =
        concat_text({"去掉了", to_text(counts.not_links), "行非磁力链接、", to_text(counts.repeated),
                     "条重复的链接、", to_text(counts.succeeded), "条已提交成功的链接，剩余",
                     to_text(counts.rest + counts.unknown), "条链接。"});
    message_box(summary.c_str(), 0, "提示");
}

} // namespace brindor::app
