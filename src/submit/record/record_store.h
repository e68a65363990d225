// The record on disk: every run and what became of each of its links, per user. Runs are ordered by
// their id alone; a link's 提交中 mark is on disk before its commit goes out.
// One connection per thread that uses it: a run writes through its own, so a read transaction of
// the window's thread (the counts, the history) never waits on it. Texts are stored in UTF-8; the
// codec handed in converts from and to the program's code page.
#pragma once
#include <cstdint>
#include <atomic>
#include <functional>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"
#include "submit/links/info_hash.h"
#include "submit/links/link_record.h"
#include "submit/links/link_tidy.h"
#include "submit/record/database.h"

namespace brindor {

// A run that never ended, as the start-up question tells it.
struct UnfinishedRun {
    int64_t id = 0;
    int total = 0;
    int processed = 0; // links with an outcome
    int succeeded = 0;
    int failed = 0;
    TextArray rest;           // neither made nor of unknown outcome, in the run's order
    TextArray unknown;        // sent with no readable answer, or killed in flight
    TextArray unknown_titles; // of those, as far as an answer named them
};

// A run recorded before the store existed.
struct PastLink {
    LinkState state = LinkState::kNotSubmitted;
    Text title;
    Text size;
    Text reason;
    int number = 0; // in the run's order, from 1
};
struct PastRun {
    Text started;
    int day = 0;
    TextArray links;
    std::vector<PastLink> outcomes;
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

// Sorted: one block, no allocation per torrent (a million of those is slow on some heaps).
using TorrentSet = std::vector<InfoHash>;

// A read that can let a link be sent has three answers: only kNo may.
enum class Found : uint8_t { kNo, kYes, kUnreadable };

// The program's text to UTF-8 and back; null: kept as it is.
struct TextCodec {
    Text (*to_utf8)(TextRef) = nullptr;
    Text (*from_utf8)(TextRef) = nullptr;
};

// The layout this build writes; a record of a higher one is opened for reading alone.
constexpr int kRecordVersion = 1;

// True for a run whose owner (as BeginRun was given it) is a live copy of the program.
using RunIsLive = std::function<bool(TextRef owner)>;

class RecordStore {
  public:
    explicit RecordStore(TextCodec codec = {}) : codec_(codec) {}
    // Creates what is missing and brings a record of an older layout up to this one in one
    // transaction. `path` in UTF-8, kept for Reopen.
    bool Open(const char* path);
    // Opens again with the last path when closed: a connection that failed is closed by its failure.
    bool Reopen();
    // Empties the write-ahead log into the file: the file alone then holds the whole record.
    bool Checkpoint() { return db_.is_open() && !newer_ && db_.Checkpoint(); }
    // Checkpoints, then closes.
    void Close();
    bool is_open() const { return db_.is_open(); }
    // Written by a newer build: read, never written.
    bool newer() const { return newer_; }
    // SQLite's extended code of the last failure; 0 after a success.
    int error() const { return error_; }
    Database& database() { return db_; }

    // The run's links, numbered from 1 in its order; its id, 0 when it could not be recorded. `owner`
    // names the copy of the program working it. A run the user chose to resume (`resumed`, 0 for
    // none) counts as answered once this one is recorded.
    int64_t BeginRun(TextRef user_id, TextRef owner, TextRef started, int day, const TextArray& links,
                     int64_t resumed = 0);
    // The account the commit goes out for is the one its outcome counts for.
    bool MarkCommitting(int64_t run, int number, TextRef user_id);
    // `day` dates a success for the repeat counts.
    bool SetOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size, TextRef reason,
                    int day);
    bool EndRun(int64_t run, TextRef how);
    bool MarkAnswered(int64_t run);
    // Recorded for no user in particular: its successes count for every user.
    int64_t ImportRun(const PastRun& run);

    // The newest run that never ended and whose question is not answered yet, unless it is live;
    // with `user_id`, only that account's runs (and those recorded before accounts were kept).
    Found FindUnfinished(const RunIsLive& live, UnfinishedRun& run, TextRef user_id = "");
    // Drops ended or answered runs older than 90 days and successes older than 365, counted from
    // the newest day the record holds when the clock is past it: a clock that leapt drops nothing.
    bool Prune(int today);

    // Every recorded link, the runs in their order, each run's links in its own; false when the
    // record could not be read to its end.
    bool ForEachLink(const std::function<void(const RecordedLink&)>& visit);

    Found Succeeded(TextRef user_id, const InfoHash& hash);
    Found OutcomeUnknown(TextRef user_id, const InfoHash& hash);
    // Every torrent the user made, and every one of unknown outcome, read at once: for a long list
    // one pass over the record costs less than a query per link.
    bool LoadTorrents(TextRef user_id, TorrentSet& succeeded, TorrentSet& unknown);

  private:
    bool OpenAs(Database::Mode mode);
    void Shut();
    bool Layout();
    bool Failed(int error);
    bool Kept(bool done, int error);
    Found Ask(Statement& query, TextRef user_id, const InfoHash& hash);
    Text Stored(TextRef text) const { return codec_.to_utf8 ? codec_.to_utf8(text) : Text(text.c_str()); }
    Text Shown(Text text) const { return codec_.from_utf8 ? codec_.from_utf8(text) : text; }

    int64_t InsertRun(TextRef user_id, TextRef owner, TextRef started, int day, const TextArray& links);
    bool WriteOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size, TextRef reason,
                      int day);

    TextCodec codec_;
    Text path_;
    bool newer_ = false;
    int error_ = 0;
    Database db_;
    Statement mark_;
    Statement outcome_;
    Statement success_;
    Statement succeeded_;
    Statement unknown_;
};

// The torrents of one user's runs, as the store holds them while this lives. A torrent that could
// not be read counts as made, so it is held back; error() says the counts cannot be trusted.
// `lookups`: how many torrents will be asked about; many are answered from one pass. `cancel`, when
// set, ends the reads early (each then answers as made).
class StoredTorrents : public SubmittedTorrents {
  public:
    StoredTorrents(RecordStore& store, TextRef user_id, int lookups = 0,
                   const std::atomic<bool>* cancel = nullptr);
    bool Succeeded(const InfoHash& hash) override;
    bool OutcomeUnknown(const InfoHash& hash) override;
    // The first failure's code; 0 when every read answered.
    int error() const { return error_; }

  private:
    bool Held(Found found);
    bool Cancelled() const { return cancel_ && cancel_->load(std::memory_order_relaxed); }

    RecordStore& store_;
    Text user_id_;
    const std::atomic<bool>* cancel_;
    int error_ = 0;
    Transaction reading_;
    bool loaded_ = false;
    TorrentSet succeeded_, unknown_;
};

} // namespace brindor
