#include "submit/record/record_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <utility>

namespace brindor {

namespace {

constexpr int kKeepRunDays = 90;
constexpr int kKeepSuccessDays = 365;

// Stored as their numbers; the queries name them. A mark left behind by a process that died reads
// as unknown, and so does any state this build does not know.
static_assert(static_cast<int>(LinkState::kFailed) == 2 && static_cast<int>(LinkState::kCommitting) == 3 &&
              static_cast<int>(LinkState::kUnknown) == 4);

} // namespace

int64_t RecordStore::InsertRun(TextRef user_id, TextRef owner, TextRef started, int day,
                               const TextArray& links) {
    Statement run = db_.Prepare("INSERT INTO runs(user_id, owner, started, day) VALUES(?1, ?2, ?3, ?4)");
    if (!run.Bind(1, user_id).Bind(2, owner).Bind(3, Stored(started)).Bind(4, day).Run())
        return Failed(run.error()), 0;
    const int64_t id = db_.LastInsertId();
    Statement link = db_.Prepare("INSERT INTO links(run_id, number, link, hash) VALUES(?1, ?2, ?3, ?4)");
    for (int i = 1; i <= links.count(); ++i) {
        link.Reset();
        link.Bind(1, id).Bind(2, i).Bind(3, Stored(links.at(i)));
        if (InfoHash hash{}; ReadInfoHash(links.at(i), hash))
            link.BindBlob(4, hash.data(), static_cast<int>(hash.size()));
        if (!link.Run()) return Failed(link.error()), 0;
    }
    return id;
}

bool RecordStore::WriteOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size,
                               TextRef reason, int day) {
    outcome_.Reset();
    outcome_.Bind(1, run).Bind(2, number).Bind(3, static_cast<int64_t>(state));
    outcome_.Bind(4, Stored(title)).Bind(5, Stored(size)).Bind(6, Stored(reason));
    if (!outcome_.Run()) return Failed(outcome_.error());
    if (state != LinkState::kSucceeded) return true;
    success_.Reset();
    return success_.Bind(1, run).Bind(2, number).Bind(3, day).Run() || Failed(success_.error());
}

int64_t RecordStore::BeginRun(TextRef user_id, TextRef owner, TextRef started, int day,
                              const TextArray& links, int64_t resumed) {
    if (!Reopen() || newer_) return 0;
    Transaction transaction(db_);
    if (!transaction.began()) return Failed(db_.error()), 0;
    const int64_t id = InsertRun(user_id, owner, started, day, links);
    if (!id) return 0;
    if (resumed) {
        Statement answered = db_.Prepare("UPDATE runs SET answered = 1 WHERE id = ?1");
        if (!answered.Bind(1, resumed).Run()) return Failed(answered.error()), 0;
    }
    return Kept(transaction.Commit(), db_.error()) ? id : 0;
}

bool RecordStore::MarkCommitting(int64_t run, int number, TextRef user_id) {
    if (!run || !Reopen() || newer_) return false;
    mark_.Reset();
    if (!mark_.Bind(1, run).Bind(2, number).Bind(3, user_id).Run()) return Failed(mark_.error());
    return db_.Changes() == 1 || Failed(SQLITE_NOTFOUND);
}

bool RecordStore::SetOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size,
                             TextRef reason, int day) {
    if (!run || !Reopen() || newer_) return false;
    Transaction transaction(db_);
    if (!transaction.began()) return Failed(db_.error());
    return WriteOutcome(run, number, state, title, size, reason, day) &&
           Kept(transaction.Commit(), db_.error());
}

int64_t RecordStore::ImportRun(const PastRun& past) {
    if (!Reopen() || newer_) return 0;
    Transaction transaction(db_);
    if (!transaction.began()) return Failed(db_.error()), 0;
    const int64_t id = InsertRun("", "", past.started, past.day, past.links);
    if (!id) return 0;
    for (const PastLink& link : past.outcomes)
        if (link.number < 1 || link.number > past.links.count() ||
            !WriteOutcome(id, link.number, link.state, link.title, link.size, link.reason, past.day))
            return 0;
    Statement end = db_.Prepare("UPDATE runs SET ended = ?2, answered = ?3, how = ?4 WHERE id = ?1");
    end.Bind(1, id).Bind(2, int64_t{past.ended}).Bind(3, int64_t{past.answered}).Bind(4, Stored(past.how));
    if (!end.Run()) return Failed(end.error()), 0;
    return Kept(transaction.Commit(), db_.error()) ? id : 0;
}

bool RecordStore::EndRun(int64_t run, TextRef how) {
    if (!run || !Reopen() || newer_) return false;
    Statement end = db_.Prepare("UPDATE runs SET ended = 1, how = ?2 WHERE id = ?1");
    return end.Bind(1, run).Bind(2, Stored(how)).Run() || Failed(end.error());
}

bool RecordStore::MarkAnswered(int64_t run) {
    if (!Reopen() || newer_) return false;
    Statement answered = db_.Prepare("UPDATE runs SET answered = 1 WHERE id = ?1");
    return answered.Bind(1, run).Run() || Failed(answered.error());
}

bool RecordStore::Prune(int today) {
    if (!Reopen() || newer_) return false;
    Statement newest = db_.Prepare("SELECT max(day) FROM (SELECT max(day) AS day FROM runs "
                                   "UNION ALL SELECT max(day) FROM succeeded)");
    if (!newest.Step()) return Failed(newest.error());
    if (newest.IsNull(0)) return true;
    const int reference = static_cast<int>(std::min<int64_t>(today, newest.Integer(0)));
    newest = Statement();
    Transaction transaction(db_);
    if (!transaction.began()) return Failed(db_.error());
    // A run still asked about is never old: it goes only once answered.
    Statement runs = db_.Prepare("DELETE FROM runs WHERE (ended = 1 OR answered = 1) AND day < ?1");
    if (!runs.Bind(1, reference - kKeepRunDays).Run()) return Failed(runs.error());
    Statement successes = db_.Prepare("DELETE FROM succeeded WHERE day < ?1");
    if (!successes.Bind(1, reference - kKeepSuccessDays).Run()) return Failed(successes.error());
    return Kept(transaction.Commit(), db_.error());
}

} // namespace brindor
