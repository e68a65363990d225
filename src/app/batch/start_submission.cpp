#include <cstdint>
#include <utility>

#include "app/batch/link_list_actions.h"
#include "app/batch/run_screen.h"
#include "app/run_state.h"
#include "app/handlers.h"
#include "app/import/win/link_intake.h"
#include "app/record/win/record_file.h"
#include "app/settings/win/program_settings.h"
#include "app/state.h"
#include "declared/declared_functions.h"
#include "declared/declared_handles.h"
#include "runtime/win/dialog_ops.h"
#include "submit/batch_run.h"
#include "submit/service/win/service_client.h"
#include "text/win/script_timestamp.h"

namespace brindor::app {

namespace {

uint32_t __stdcall SubmissionWorker(void* parameter) {
    BatchInput* input = static_cast<BatchInput*>(parameter);
    {
        ScriptClockScope clock; // one script object for the whole run, not one per commit
        // A connection of the run's own, so the window's reads never wait on its writes; closed
        // (its log emptied into the file) when the run ends.
        RecordStore store(RecordCodec());
        OpenRecordFile(store);
        MainWindowRunScreen screen(store);
        HttpServiceClient service;
        LocalClock days;
        RunRecord record(store, ThisCopyOwner(), days);
        RunBatch(*input, service, screen, record);
        store.Close();
        screen.EndRun();
    }
    delete input;
    return 0;
}

} // namespace

void StopSubmission() {
    TheRun().RequestStop();
    cancel_boxes_until(); // a pause's box: the stop is its 取消, now
}

bool IsBatchRunning() {
    return TheRun().Going();
}

namespace {

void StartRun(bool unattended) {
    RunState& run = TheRun();
    const uint32_t now = call_declared<uint32_t>(kGetTickCount);
    // Pressed as 停止提交 (or queued before the run ended): the run stops after its current link.
    if (!run.TryStart(now)) {
        if (unattended) return;
        // Unless it is the second click of a double click that started the run.
        if (!run.JustStarted(now, call_declared<uint32_t>(kGetDoubleClickTime))) StopSubmission();
        return;
    }
    // While the counts are made 停止提交 ends them, and the list cannot be replaced under them.
    LinkPositions positions;
    if (!ChooseRunPositions(positions, run.stop_request(), ShowRunning, unattended)) {
        run.End();
        JoinWaitingLinks(); // what arrived during the question
        return;
    }
    SaveInterval();
    run.Run(call_declared<uint32_t>(kGetTickCount), unattended);
    ShowRunning(true);
    // Taken here on the GUI thread, the only writer, so the copy cannot tear.
    BatchInput* input =
        new BatchInput{LinkList, SignedInUserId, std::move(positions), run.ResumedRunOf(LinkList)};
    uint32_t thread_id = 0;
    uint32_t(__stdcall * routine)(void*) = &SubmissionWorker;
    KernelHandle worker(call_declared<void*>(kCreateThread, static_cast<void*>(nullptr), uint32_t{0}, routine,
                                             static_cast<void*>(input), uint32_t{0}, &thread_id));
    if (!worker) {
        delete input;
        ShowRunning(false);
        run.End();
        JoinWaitingLinks();
        return;
    }
    run.KeepWorker(std::move(worker));
}

} // namespace

void StartSubmission() {
    StartRun(false);
}

void StartUnattendedSubmission() {
    StartRun(true);
}

} // namespace brindor::app
