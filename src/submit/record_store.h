// The record on disk: every run and what became of each of its links, per user. Runs are ordered by
// their id alone; a link's 提交中 mark is on disk before its commit goes out.
// One connection: a thread that reads in a transaction (the counts, the history) must not share it
// with a run that writes. Texts are kept in the program's code page, as the list holds them.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"
#include "submit/database.h"
#include "submit/info_hash.h"
#include "submit/link_record.h"
#include "submit/link_tidy.h"

namespace brindor {

// A run that never ended, as the start-up question tells it.
struct UnfinishedRun {
    int64_t id = 0;
    int total = 0;
    int processed = 0; // links with an outcome
    int succeeded = 0;
    int failed = 0;
    TextArray rest;    // neither made nor of unknown outcome, in the run's order
    TextArray unknown; // sent with no readable answer, or killed in flight
};

// A run recorded before the store existed.
struct PastLink {
    LinkState state = LinkState::kNotSubmitted;
    Text title;
    Text size;
    Text reason;
};
struct PastRun {
    Text started;
    int day = 0;
    TextArray links;
    std::vector<PastLink> outcomes; // of the run's first links, in its order
    bool ended = false;
    bool answered = false;
    Text how;
};

// One link of the record as the history shows it.
struct RecordedLink {
    Text started; // the run's
    int number = 0;
    Text title;
    Text size;
    Text link;
    LinkState state = LinkState::kNotSubmitted;
    Text reason;
};

// True for a run whose owner (as BeginRun was given it) is a live copy of the program.
using RunIsLive = std::function<bool(TextRef owner)>;

class RecordStore {
  public:
    // Creates what is missing. `path` in UTF-8.
    bool Open(const char* path);
    bool is_open() const { return db_.is_open(); }
    Database& database() { return db_; }

    // The run's links, numbered from 1 in its order; its id, 0 when it could not be recorded. `owner`
    // names the copy of the program working it. A run the user chose to resume (`resumed`, 0 for
    // none) counts as answered once this one is recorded.
    int64_t BeginRun(TextRef user_id, TextRef owner, TextRef started, int day, const TextArray& links,
                     int64_t resumed = 0);
    bool MarkCommitting(int64_t run, int number);
    // `day` dates a success for the repeat counts.
    bool SetOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size, TextRef reason,
                    int day);
    bool EndRun(int64_t run, TextRef how);
    bool MarkAnswered(int64_t run);
    // Recorded for no user in particular: its successes count for every user.
    int64_t ImportRun(const PastRun& run);

    // The newest run that never ended and whose question is not answered yet, unless it is live.
    bool FindUnfinished(const RunIsLive& live, UnfinishedRun& run);
    // Drops ended or answered runs older than 90 days and successes older than 365.
    void Prune(int today);

    // Every recorded link, the runs in their order, each run's links in its own.
    void ForEachLink(const std::function<void(const RecordedLink&)>& visit);

    bool Succeeded(TextRef user_id, const InfoHash& hash);
    bool OutcomeUnknown(TextRef user_id, const InfoHash& hash);

  private:
    int64_t InsertRun(TextRef user_id, TextRef owner, TextRef started, int day, const TextArray& links);
    bool WriteOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size, TextRef reason,
                      int day);

    Database db_;
    Statement mark_;
    Statement outcome_;
    Statement success_;
    Statement succeeded_;
    Statement unknown_;
};

// The torrents of one user's runs, as the store holds them while this lives.
class StoredTorrents : public SubmittedTorrents {
  public:
    StoredTorrents(RecordStore& store, TextRef user_id)
        : store_(store), user_id_(user_id.c_str()), reading_(store.database(), Transaction::kRead) {}
    bool Succeeded(const InfoHash& hash) override { return store_.Succeeded(user_id_, hash); }
    bool OutcomeUnknown(const InfoHash& hash) override { return store_.OutcomeUnknown(user_id_, hash); }

  private:
    RecordStore& store_;
    Text user_id_;
    Transaction reading_;
};

} // namespace brindor
