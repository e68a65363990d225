#include "app/record/win/start_question.h"

#include <cstdio>
#include <utility>

#include "app/run_state.h"
#include "app/handlers.h"
#include "app/journal/win/journal_import.h"
#include "app/program_ids.h"
#include "app/record/win/record_file.h"
#include "app/state.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/clock_ops.h"
#include "runtime/win/dialog_ops.h"
#include "runtime/win/window/control_access.h"
#include "submit/record/record_trouble.h"
#include "submit/record/unknown_names.h"

namespace brindor::app {

namespace {

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

bool AlsoUnknown(const UnfinishedRun& run) {
    const Text question = AlsoUnknownQuestion(run.unknown, run.unknown_titles);
    return message_box(question.c_str(), MB_YESNO | MB_DEFBUTTON2, "提示") == kBoxYes;
}

// A damaged file is named, and set aside when the user says so; asked once per start.
bool OfferNewRecord(RecordStore& store) {
    static bool asked = false;
    if (asked || !RecordIsDamaged(store.error())) return false;
    asked = true;
    const LocalTime t = local_time();
    char aside[48];
    std::snprintf(aside, sizeof aside, "brindor.db.damaged-%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    const Text question = DamagedRecordText(RecordFileName(), aside);
    if (message_box(question.c_str(), MB_YESNO | MB_DEFBUTTON2, "提示") != kBoxYes) return false;
    return SetRecordAside(store, aside);
}

void SayUnreadableJournals(int count) {
    if (count == 0) return;
    const Text told = concat_text(
        {"有", to_text(count), "个旧的提交日志无法读取，未导入，已移到它们旁边的unreadable文件夹。"});
    message_box(told.c_str(), 0, "提示");
}

} // namespace

void LookAtRecord() {
    RecordStore& store = ProgramRecord();
    if (!store.is_open()) OfferNewRecord(store);
    SayUnreadableJournals(ImportJournals(store));
    if (!store.Prune(Today())) OfferNewRecord(store);
    UnfinishedRun run;
    // The account signed in at the start is asked about its own runs, as the service holds its tasks.
    Found found = store.FindUnfinished(OwnerIsLive, run, SignedInUserId);
    if (found == Found::kUnreadable && OfferNewRecord(store))
        found = store.FindUnfinished(OwnerIsLive, run, SignedInUserId);
    if (found != Found::kYes) return;
    if (run.rest.empty() && run.unknown.empty()) {
        store.MarkAnswered(run.id);
        return;
    }
    if (message_box(ResumeQuestion(run).c_str(), MB_YESNO, "提示") != kBoxYes) {
        store.MarkAnswered(run.id);
        return;
    }
    TextArray links = std::move(run.rest);
    if (!run.unknown.empty() && AlsoUnknown(run))
        for (int i = 1; i <= run.unknown.count(); ++i)
            links.append(Text(run.unknown.at(i)));
    // With the window gone the offer stays for the next start.
    if (!MainWindowLoaded()) return;
    if (links.empty()) {
        store.MarkAnswered(run.id);
        return;
    }
    TheRun().Offer(run.id, links);
    ReplaceLinkList(std::move(links));
}

} // namespace brindor::app
