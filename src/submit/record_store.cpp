#include "submit/record_store.h"

namespace brindor {

namespace {

constexpr int kKeepRunDays = 90;
constexpr int kKeepSuccessDays = 365;

// Stored as their numbers; the queries name 3 and 4. A mark left behind by a process that died
// reads as unknown.
static_assert(static_cast<int>(LinkState::kCommitting) == 3 && static_cast<int>(LinkState::kUnknown) == 4);

// Full synchronisation: a mark that returned is on the disk, not in a cache.
constexpr const char* kSchema = R"(
PRAGMA journal_mode=WAL;
PRAGMA synchronous=FULL;
PRAGMA foreign_keys=ON;
CREATE TABLE IF NOT EXISTS runs(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id TEXT NOT NULL,
    owner TEXT NOT NULL,
    started TEXT NOT NULL,
    day INTEGER NOT NULL,
    ended INTEGER NOT NULL DEFAULT 0,
    answered INTEGER NOT NULL DEFAULT 0,
    how TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS links(
    run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    link TEXT NOT NULL,
    hash BLOB,
    state INTEGER NOT NULL DEFAULT 0,
    title TEXT NOT NULL DEFAULT '',
    size TEXT NOT NULL DEFAULT '',
    reason TEXT NOT NULL DEFAULT '',
    PRIMARY KEY(run_id, number)) WITHOUT ROWID;
CREATE INDEX IF NOT EXISTS links_in_doubt ON links(hash) WHERE state IN (3, 4);
CREATE TABLE IF NOT EXISTS succeeded(
    user_id TEXT NOT NULL,
    hash BLOB NOT NULL,
    day INTEGER NOT NULL,
    PRIMARY KEY(user_id, hash)) WITHOUT ROWID;
)";

void BindHash(Statement& statement, int index, const InfoHash& hash) {
    statement.BindBlob(index, hash.data(), static_cast<int>(hash.size()));
}

// Runs a kept statement once with what `bind` gives it.
template <class Bind> bool RunKept(Statement& statement, Bind bind) {
    statement.Reset();
    bind(statement);
    const bool done = statement.Run();
    statement.Reset();
    return done;
}

} // namespace

bool RecordStore::Open(const char* path) {
    if (!db_.Open(path) || !db_.Execute(kSchema)) {
        db_.Close();
        return false;
    }
    mark_ = db_.Prepare("UPDATE links SET state = 3 WHERE run_id = ?1 AND number = ?2");
    outcome_ = db_.Prepare(
        "UPDATE links SET state = ?3, title = ?4, size = ?5, reason = ?6 WHERE run_id = ?1 AND number = ?2");
    success_ = db_.Prepare("INSERT INTO succeeded(user_id, hash, day) SELECT runs.user_id, links.hash, ?3 "
                           "FROM links JOIN runs ON runs.id = links.run_id "
                           "WHERE links.run_id = ?1 AND links.number = ?2 AND links.hash IS NOT NULL "
                           "ON CONFLICT(user_id, hash) DO UPDATE SET day = excluded.day");
    // Runs brought in from before the store have no user: they count for everyone.
    succeeded_ = db_.Prepare("SELECT 1 FROM succeeded WHERE user_id IN (?1, '') AND hash = ?2");
    unknown_ =
        db_.Prepare("SELECT 1 FROM links JOIN runs ON runs.id = links.run_id "
                    "WHERE links.hash = ?2 AND links.state IN (3, 4) AND runs.user_id IN (?1, '') LIMIT 1");
    if (mark_.valid() && outcome_.valid() && success_.valid() && succeeded_.valid() && unknown_.valid())
        return true;
    // Not open: the next use tries again.
    for (Statement* statement : {&mark_, &outcome_, &success_, &succeeded_, &unknown_})
        *statement = Statement();
    db_.Close();
    return false;
}

int64_t RecordStore::InsertRun(TextRef user_id, TextRef owner, TextRef started, int day,
                               const TextArray& links) {
    Statement run = db_.Prepare("INSERT INTO runs(user_id, owner, started, day) VALUES(?1, ?2, ?3, ?4)");
    if (!run.Bind(1, user_id).Bind(2, owner).Bind(3, started).Bind(4, day).Run()) return 0;
    const int64_t id = db_.LastInsertId();
    Statement link = db_.Prepare("INSERT INTO links(run_id, number, link, hash) VALUES(?1, ?2, ?3, ?4)");
    for (int i = 1; i <= links.count(); ++i) {
        link.Reset();
        link.Bind(1, id).Bind(2, i).Bind(3, links.at(i));
        if (InfoHash hash{}; ReadInfoHash(links.at(i), hash)) BindHash(link, 4, hash);
        if (!link.Run()) return 0;
    }
    return id;
}

bool RecordStore::WriteOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size,
                               TextRef reason, int day) {
    if (!RunKept(outcome_, [&](Statement& s) {
            s.Bind(1, run).Bind(2, number).Bind(3, static_cast<int64_t>(state));
            s.Bind(4, title).Bind(5, size).Bind(6, reason);
        }))
        return false;
    return state != LinkState::kSucceeded ||
           RunKept(success_, [&](Statement& s) { s.Bind(1, run).Bind(2, number).Bind(3, day); });
}

int64_t RecordStore::BeginRun(TextRef user_id, TextRef owner, TextRef started, int day,
                              const TextArray& links, int64_t resumed) {
    Transaction transaction(db_);
    if (!transaction.began()) return 0;
    const int64_t id = InsertRun(user_id, owner, started, day, links);
    if (!id || (resumed && !db_.Prepare("UPDATE runs SET answered = 1 WHERE id = ?1").Bind(1, resumed).Run()))
        return 0;
    return transaction.Commit() ? id : 0;
}

bool RecordStore::MarkCommitting(int64_t run, int number) {
    return run && RunKept(mark_, [&](Statement& s) { s.Bind(1, run).Bind(2, number); }) && db_.Changes() == 1;
}

bool RecordStore::SetOutcome(int64_t run, int number, LinkState state, TextRef title, TextRef size,
                             TextRef reason, int day) {
    Transaction transaction(db_);
    return run && transaction.began() && WriteOutcome(run, number, state, title, size, reason, day) &&
           transaction.Commit();
}

int64_t RecordStore::ImportRun(const PastRun& past) {
    Transaction transaction(db_);
    if (!transaction.began()) return 0;
    const int64_t id = InsertRun("", "", past.started, past.day, past.links);
    if (!id) return 0;
    int number = 0;
    for (const PastLink& link : past.outcomes)
        if (++number > past.links.count() ||
            !WriteOutcome(id, number, link.state, link.title, link.size, link.reason, past.day))
            return 0;
    Statement end = db_.Prepare("UPDATE runs SET ended = ?2, answered = ?3, how = ?4 WHERE id = ?1");
    if (!end.Bind(1, id).Bind(2, int64_t{past.ended}).Bind(3, int64_t{past.answered}).Bind(4, past.how).Run())
        return 0;
    return transaction.Commit() ? id : 0;
}

bool RecordStore::EndRun(int64_t run, TextRef how) {
    return run &&
           db_.Prepare("UPDATE runs SET ended = 1, how = ?2 WHERE id = ?1").Bind(1, run).Bind(2, how).Run();
}

bool RecordStore::MarkAnswered(int64_t run) {
    return db_.Prepare("UPDATE runs SET answered = 1 WHERE id = ?1").Bind(1, run).Run();
}

bool RecordStore::FindUnfinished(const RunIsLive& live, UnfinishedRun& found) {
    Statement runs =
        db_.Prepare("SELECT id, owner FROM runs WHERE ended = 0 AND answered = 0 ORDER BY id DESC");
    while (runs.Step()) {
        const int64_t id = runs.Integer(0);
        if (live(runs.TextAt(1))) continue;
        found = UnfinishedRun{};
        found.id = id;
        Statement links = db_.Prepare("SELECT link, state FROM links WHERE run_id = ?1 ORDER BY number");
        links.Bind(1, id);
        while (links.Step()) {
            ++found.total;
            switch (static_cast<LinkState>(links.Integer(1))) {
            case LinkState::kSucceeded:
                ++found.succeeded;
                break;
            case LinkState::kFailed:
                ++found.failed;
                found.rest.append(links.TextAt(0));
                break;
            case LinkState::kCommitting:
            case LinkState::kUnknown:
                found.unknown.append(links.TextAt(0));
                break;
            case LinkState::kNotSubmitted:
                found.rest.append(links.TextAt(0));
                continue;
            }
            ++found.processed;
        }
        return true;
    }
    return false;
}

void RecordStore::Prune(int today) {
    // A run still asked about is never old: it goes only once answered.
    db_.Prepare("DELETE FROM runs WHERE (ended = 1 OR answered = 1) AND day < ?1")
        .Bind(1, today - kKeepRunDays)
        .Run();
    db_.Prepare("DELETE FROM succeeded WHERE day < ?1").Bind(1, today - kKeepSuccessDays).Run();
}

void RecordStore::ForEachLink(const std::function<void(const RecordedLink&)>& visit) {
    Transaction reading(db_, Transaction::kRead);
    Statement links = db_.Prepare("SELECT runs.started, links.number, links.title, links.size, links.link, "
                                  "links.state, links.reason FROM links JOIN runs ON runs.id = links.run_id "
                                  "ORDER BY links.run_id, links.number");
    RecordedLink link;
    while (links.Step()) {
        link.started = links.TextAt(0);
        link.number = static_cast<int>(links.Integer(1));
        link.title = links.TextAt(2);
        link.size = links.TextAt(3);
        link.link = links.TextAt(4);
        link.state = static_cast<LinkState>(links.Integer(5));
        link.reason = links.TextAt(6);
        visit(link);
    }
}

bool RecordStore::Succeeded(TextRef user_id, const InfoHash& hash) {
    succeeded_.Reset();
    succeeded_.Bind(1, user_id);
    BindHash(succeeded_, 2, hash);
    const bool found = succeeded_.Step();
    succeeded_.Reset();
    return found;
}

bool RecordStore::OutcomeUnknown(TextRef user_id, const InfoHash& hash) {
    unknown_.Reset();
    unknown_.Bind(1, user_id);
    BindHash(unknown_, 2, hash);
    const bool found = unknown_.Step();
    unknown_.Reset();
    return found;
}

} // namespace brindor
