#include "app/record/win/start_question.h"

#include <utility>

#include "app/handlers.h"
#include "app/journal/win/journal_import.h"
#include "app/record/win/record_file.h"
#include "app/windows/ids.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/control_access.h"

namespace brindor::app {

namespace {

struct Offer {
    int64_t run = 0;
    TextArray links;
};

Offer offered;

// The main window may have been closed while a question showed: nothing is left to load into.
bool MainWindowLoaded() {
    return loaded_window_handle(kMainWindowId) != nullptr;
}

Text ResumeQuestion(const UnfinishedRun& run) {
    const Text unknown =
        run.unknown.empty() ? Text() : concat_text({"，结果未知", to_text(run.unknown.count()), "条"});
    return concat_text({"上次提交没有完成：已处理", to_text(run.processed), "/", to_text(run.total),
                        "条，成功", to_text(run.succeeded), "条，失败", to_text(run.failed), "条", unknown,
                        "。是否载入尚未成功的", to_text(run.rest.count()), "条链接？"});
}

bool AlsoUnknown(int unknown) {
    const Text question =
        concat_text({"另有", to_text(unknown), "条链接的提交结果未知，任务可能已经建立。是否也重新提交？"});
    return message_box(question.c_str(), MB_YESNO | MB_DEFBUTTON2, "提示") == kBoxYes;
}

} // namespace

void LookAtRecord() {
    RecordStore& store = Record();
    ImportJournals(store);
    store.Prune(Today());
    UnfinishedRun run;
    if (store.FindUnfinished(OwnerIsLive, run) != Found::kYes) return;
    if (run.rest.empty() && run.unknown.empty()) {
        store.MarkAnswered(run.id);
        return;
    }
    if (message_box(ResumeQuestion(run).c_str(), MB_YESNO, "提示") != kBoxYes) {
        store.MarkAnswered(run.id);
        return;
    }
    TextArray links = std::move(run.rest);
    if (!run.unknown.empty() && AlsoUnknown(run.unknown.count()))
        for (int i = 1; i <= run.unknown.count(); ++i)
            links.append(Text(run.unknown.at(i)));
    // With the window gone the offer stays for the next start.
    if (!MainWindowLoaded()) return;
    if (links.empty()) {
        store.MarkAnswered(run.id);
        return;
    }
    offered = Offer{run.id, links};
    ReplaceLinkList(std::move(links));
}

int64_t ResumedRunOf(const TextArray& list) {
    if (!offered.run || list.count() != offered.links.count()) return 0;
    for (int i = 1; i <= list.count(); ++i)
        if (compare_text(list.at(i), offered.links.at(i)) != 0) return 0;
    return offered.run;
}

} // namespace brindor::app
