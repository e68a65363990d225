#include "app/record/win/list_placing.h"

#include "app/record/win/record_file.h"
#include "app/state.h"
#include "declared/declared_functions.h"
#include "declared/declared_handles.h"
#include "runtime/win/dialog_ops.h"

namespace brindor::app {

namespace {

constexpr int kPollMs = 15;

struct PlacingJob {
    ListPlacing& placing;
    Text user_id; // a sign-in meanwhile must not change it under the thread
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
};

uint32_t __stdcall PlaceLinksRoutine(void* parameter) {
    PlacingJob& job = *static_cast<PlacingJob*>(parameter);
    {
        // A connection of its own: the window's may be in a read of its own meanwhile.
        RecordStore store(RecordCodec());
        OpenRecordFile(store);
        StoredTorrents earlier(store, job.user_id, LinkList.count(), &job.cancel);
        job.placing.places = PlaceLinks(LinkList, ListOutcomes, earlier, job.placing.counts);
        job.placing.error = earlier.error();
    }
    job.done = true;
    return 0;
}

} // namespace

bool PlaceListAgainstRecord(ListPlacing& placing, const std::atomic<bool>& stop) {
    PlacingJob job{placing, SignedInUserId};
    uint32_t thread_id = 0;
    uint32_t(__stdcall * routine)(void*) = &PlaceLinksRoutine;
    const KernelHandle thread(call_declared<void*>(kCreateThread, static_cast<void*>(nullptr), uint32_t{0},
                                                   routine, static_cast<void*>(&job), uint32_t{0},
                                                   &thread_id));
    if (!thread) return false;
    // The job lives on this stack: a stop only asks the thread to finish early, and is waited for.
    while (!job.done) {
        if (stop) job.cancel = true;
        do_events();
        if (!job.done) delay(kPollMs);
    }
    return !job.cancel;
}

} // namespace brindor::app
