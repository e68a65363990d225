// The record's costs: the two writes of every committed link (the mark before the commit, the outcome
// after it), each on the disk before it returns, and the start question's counts for a list against
// a record of many links. Prints "writes links N ms_per_link X" and "counts recorded N list L ... ms X".
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "bench_clock.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "submit/links/link_tidy.h"
#include "submit/record/record_store.h"

namespace {

using namespace brindor;

// Distinct info-hashes: the number in the last hex digits.
Text Link(int n) {
    char hash[41];
    std::snprintf(hash, sizeof hash, "%040x", n);
    return concat_text("magnet:?xt=urn:btih:", hash);
}

TextArray Links(int first, int count) {
    TextArray links;
    for (int i = 0; i < count; ++i)
        links.append(Link(first + i));
    return links;
}

} // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "record_bench.db";
    const int writes = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int recorded = argc > 3 ? std::atoi(argv[3]) : 1000000;
    const int list = argc > 4 ? std::atoi(argv[4]) : 1000;
    std::remove(path);
    std::remove((std::string(path) + "-wal").c_str());
    RecordStore store;
    if (!store.Open(path)) return 1;

    const int64_t run = store.BeginRun("1", "bench", "", 0, Links(0, writes));
    double start = NowMs();
    for (int i = 1; i <= writes; ++i)
        if (!store.MarkCommitting(run, i, "1") ||
            !store.SetOutcome(run, i, LinkState::kSucceeded, "山海之间 4K", "1.5GB", "", 0))
            return 1;
    std::printf("writes links %d ms_per_link %.3f\n", writes, (NowMs() - start) / writes);

    // Filled a run at a time: a tenth of them left of unknown outcome, four tenths made.
    constexpr int kRunLinks = 100000;
    for (int first = writes; first < recorded; first += kRunLinks) {
        const int count = std::min(kRunLinks, recorded - first);
        const int64_t id = store.BeginRun("1", "bench", "", 0, Links(first, count));
        Statement states =
            store.database().Prepare("UPDATE links SET state = CASE WHEN number % 10 = 0 THEN 4 "
                                     "WHEN number % 2 = 0 THEN 1 ELSE 2 END WHERE run_id = ?1");
        Statement made = store.database().Prepare(
            "INSERT OR IGNORE INTO succeeded SELECT '1', hash, 0 FROM links WHERE run_id = ?1 AND state = 1");
        if (!id || !states.Bind(1, id).Run() || !made.Bind(1, id).Run()) return 1;
    }
    // Half of the list recorded before, half new.
    const TextArray probe = Links(recorded - list / 2, list);
    LinkOutcomes record;
    record.Reset(probe.count());
    ListCounts counts;
    // The first time reads the indexes from the disk; the second finds them in the cache. A long
    // list reads the user's torrents in one pass, counted here too.
    for (const char* when : {"first", "again"}) {
        start = NowMs();
        StoredTorrents earlier(store, "1", probe.count());
        const double read = NowMs() - start;
        PlaceLinks(probe, record, earlier, counts);
        std::printf("counts recorded %d list %d %s ms %.1f (one pass over the record %.1f; succeeded %d, "
                    "unknown %d, rest %d)\n",
                    recorded, list, when, NowMs() - start, read, counts.succeeded, counts.unknown,
                    counts.rest);
    }
    return 0;
}
