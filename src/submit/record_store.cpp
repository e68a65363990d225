#include "submit/record_store.h"

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

// Full synchronisation: a mark that returned is on the disk, not in a cache.
constexpr const char* kConnection =
    "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;";

constexpr const char* kTables = R"(
CREATE TABLE runs(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    user_id TEXT NOT NULL,
    owner TEXT NOT NULL,
    started TEXT NOT NULL,
    day INTEGER NOT NULL,
    ended INTEGER NOT NULL DEFAULT 0,
    answered INTEGER NOT NULL DEFAULT 0,
    how TEXT NOT NULL DEFAULT '');
CREATE TABLE links(
    run_id INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,
    number INTEGER NOT NULL,
    link TEXT NOT NULL,
    hash BLOB,
    state INTEGER NOT NULL DEFAULT 0,
    title TEXT NOT NULL DEFAULT '',
    size TEXT NOT NULL DEFAULT '',
    reason TEXT NOT NULL DEFAULT '',
    user_id TEXT,
    PRIMARY KEY(run_id, number)) WITHOUT ROWID;
CREATE INDEX links_in_doubt ON links(hash) WHERE state > 2;
CREATE TABLE succeeded(
    user_id TEXT NOT NULL,
    hash BLOB NOT NULL,
    day INTEGER NOT NULL,
    PRIMARY KEY(user_id, hash)) WITHOUT ROWID;
PRAGMA user_version = 1;
)";

// The first layout kept texts in the program's code page, no account per commit, and took only
// states 3 and 4 for doubt.
constexpr const char* kFromVersion0 = R"(
ALTER TABLE links ADD COLUMN user_id TEXT;
UPDATE links SET link = to_utf8(link), title = to_utf8(title), size = to_utf8(size), reason = to_utf8(reason);
UPDATE runs SET how = to_utf8(how), started = to_utf8(started);
DROP INDEX IF EXISTS links_in_doubt;
CREATE INDEX links_in_doubt ON links(hash) WHERE state > 2;
PRAGMA user_version = 1;
)";

void BindHash(Statement& statement, int index, const InfoHash& hash) {
    statement.BindBlob(index, hash.data(), static_cast<int>(hash.size()));
}

Text Unchanged(TextRef text) {
    return Text(text.c_str());
}

} // namespace

bool RecordStore::Failed(int error) {
    error_ = error ? error : SQLITE_ERROR;
    // Closed, so the next use opens again: a file made writable or freed meanwhile then works.
    const int primary = error_ & 0xFF;
    if (primary == SQLITE_CANTOPEN || primary == SQLITE_IOERR || primary == SQLITE_NOTADB ||
        primary == SQLITE_CORRUPT)
        Shut();
    return false;
}

void RecordStore::Shut() {
    for (Statement* each : {&mark_, &outcome_, &success_, &succeeded_, &unknown_})
        *each = Statement();
    db_.Close();
}

bool RecordStore::Kept(bool done, int error) {
    if (done) {
        error_ = 0;
        return true;
    }
    return Failed(error);
}

bool RecordStore::Open(const char* path) {
    path_ = Text(path);
    return Reopen();
}

bool RecordStore::Reopen() {
    if (db_.is_open()) return true;
    newer_ = false;
    if (!OpenAs(Database::kReadWrite) || (newer_ && !OpenAs(Database::kReadOnly))) {
        Shut();
        return false;
    }
    mark_ = db_.Prepare("UPDATE links SET state = 3, user_id = ?3 WHERE run_id = ?1 AND number = ?2");
    outcome_ = db_.Prepare(
        "UPDATE links SET state = ?3, title = ?4, size = ?5, reason = ?6 WHERE run_id = ?1 AND number = ?2");
    success_ = db_.Prepare("INSERT INTO succeeded(user_id, hash, day) "
                           "SELECT COALESCE(links.user_id, runs.user_id), links.hash, ?3 "
                           "FROM links JOIN runs ON runs.id = links.run_id "
                           "WHERE links.run_id = ?1 AND links.number = ?2 AND links.hash IS NOT NULL "
                           "ON CONFLICT(user_id, hash) DO UPDATE SET day = excluded.day");
    // Runs brought in from before the store have no user: they count for everyone.
    succeeded_ = db_.Prepare("SELECT 1 FROM succeeded WHERE user_id IN (?1, '') AND hash = ?2");
    unknown_ = db_.Prepare("SELECT 1 FROM links JOIN runs ON runs.id = links.run_id "
                           "WHERE links.hash = ?2 AND links.state > 2 "
                           "AND COALESCE(links.user_id, runs.user_id) IN (?1, '') LIMIT 1");
    for (Statement* statement : {&mark_, &outcome_, &success_, &succeeded_, &unknown_})
        if (!statement->valid()) {
            const int error = statement->error();
            Shut();
            return Failed(error);
        }
    error_ = 0;
    return true;
}

bool RecordStore::OpenAs(Database::Mode mode) {
    Shut();
    // An empty name would open a temporary database that vanishes with its connection.
    if (path_.empty()) return Failed(SQLITE_CANTOPEN);
    if (!db_.Open(path_.c_str(), mode)) return Failed(db_.error());
    Statement version = db_.Prepare("PRAGMA user_version");
    if (!version.Step()) return Failed(version.error());
    const int64_t found = version.Integer(0);
    version = Statement();
    newer_ = found > kRecordVersion;
    if (mode == Database::kReadOnly || newer_) return true;
    if (!db_.Execute(kConnection)) return Failed(db_.error());
    return found == kRecordVersion || Layout();
}

// A new file gets the tables; one of the first layout is brought up to this one, or left as it was.
bool RecordStore::Layout() {
    if (!db_.AddTextFunction("to_utf8", codec_.to_utf8 ? codec_.to_utf8 : Unchanged))
        return Failed(db_.error());
    Transaction transaction(db_);
    if (!transaction.began()) return Failed(db_.error());
    Statement tables = db_.Prepare("SELECT count(*) FROM sqlite_master WHERE name = 'runs'");
    if (!tables.Step()) return Failed(tables.error());
    const bool old = tables.Integer(0) > 0;
    tables = Statement();
    if (!db_.Execute(old ? kFromVersion0 : kTables)) return Failed(db_.error());
    return Kept(transaction.Commit(), db_.error());
}

void RecordStore::Close() {
    if (!newer_) db_.Checkpoint();
    Shut();
}

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
        if (InfoHash hash{}; ReadInfoHash(links.at(i), hash)) BindHash(link, 4, hash);
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

Found RecordStore::FindUnfinished(const RunIsLive& live, UnfinishedRun& found, TextRef user_id) {
    if (!Reopen()) return Found::kUnreadable;
    Transaction reading(db_, Transaction::kRead);
    Statement runs = db_.Prepare("SELECT id, owner FROM runs WHERE ended = 0 AND answered = 0 "
                                 "AND (?1 = '' OR user_id IN (?1, '')) ORDER BY id DESC");
    runs.Bind(1, user_id);
    while (runs.Step()) {
        const int64_t id = runs.Integer(0);
        if (live(runs.TextAt(1))) continue;
        found = UnfinishedRun{};
        found.id = id;
        Statement links =
            db_.Prepare("SELECT link, state, title FROM links WHERE run_id = ?1 ORDER BY number");
        links.Bind(1, id);
        while (links.Step()) {
            ++found.total;
            const int64_t state = links.Integer(1);
            if (state == static_cast<int>(LinkState::kNotSubmitted)) {
                found.rest.append(Shown(links.TextAt(0)));
                continue;
            }
            ++found.processed;
            if (state == static_cast<int>(LinkState::kSucceeded)) {
                ++found.succeeded;
            } else if (state == static_cast<int>(LinkState::kFailed)) {
                ++found.failed;
                found.rest.append(Shown(links.TextAt(0)));
            } else {
                found.unknown.append(Shown(links.TextAt(0)));
                found.unknown_titles.append(Shown(links.TextAt(2)));
            }
        }
        if (links.error()) return Failed(links.error()), Found::kUnreadable;
        return Found::kYes;
    }
    if (runs.error()) return Failed(runs.error()), Found::kUnreadable;
    return Found::kNo;
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

bool RecordStore::ForEachLink(const std::function<void(const RecordedLink&)>& visit) {
    if (!Reopen()) return false;
    Transaction reading(db_, Transaction::kRead);
    Statement links = db_.Prepare("SELECT runs.started, links.number, links.title, links.size, links.link, "
                                  "links.state, links.reason FROM links JOIN runs ON runs.id = links.run_id "
                                  "ORDER BY links.run_id, links.number");
    RecordedLink link;
    while (links.Step()) {
        link.started = Shown(links.TextAt(0));
        link.number = static_cast<int>(links.Integer(1));
        link.title = Shown(links.TextAt(2));
        link.size = Shown(links.TextAt(3));
        link.link = Shown(links.TextAt(4));
        const int64_t state = links.Integer(5);
        // A state of a newer build is as doubtful as an unknown outcome.
        link.state = state >= 0 && state <= static_cast<int>(LinkState::kUnknown)
                         ? static_cast<LinkState>(state)
                         : LinkState::kUnknown;
        link.reason = Shown(links.TextAt(6));
        visit(link);
    }
    return !links.error() || Failed(links.error());
}

Found RecordStore::Ask(Statement& query, TextRef user_id, const InfoHash& hash) {
    if (!Reopen()) return Found::kUnreadable;
    query.Reset();
    query.Bind(1, user_id);
    BindHash(query, 2, hash);
    const bool row = query.Step();
    const int error = query.error();
    query.Reset();
    if (error) return Failed(error), Found::kUnreadable;
    return row ? Found::kYes : Found::kNo;
}

Found RecordStore::Succeeded(TextRef user_id, const InfoHash& hash) {
    return Ask(succeeded_, user_id, hash);
}

Found RecordStore::OutcomeUnknown(TextRef user_id, const InfoHash& hash) {
    return Ask(unknown_, user_id, hash);
}

bool RecordStore::LoadTorrents(TextRef user_id, TorrentSet& succeeded, TorrentSet& unknown) {
    if (!Reopen()) return false;
    Statement made = db_.Prepare("SELECT hash FROM succeeded WHERE user_id IN (?1, '')");
    Statement doubt = db_.Prepare("SELECT links.hash FROM links JOIN runs ON runs.id = links.run_id "
                                  "WHERE links.state > 2 AND links.hash IS NOT NULL "
                                  "AND COALESCE(links.user_id, runs.user_id) IN (?1, '')");
    for (auto [query, into] : {std::pair{&made, &succeeded}, std::pair{&doubt, &unknown}}) {
        query->Bind(1, user_id);
        InfoHash hash{};
        while (query->Step())
            if (query->BlobAt(0, hash.data(), hash.size())) into->insert(hash);
        if (query->error()) return Failed(query->error());
    }
    return true;
}

namespace {

// Below this many lookups a query each is quicker than reading every torrent of the user.
constexpr int kLoadAllFrom = 50000;

} // namespace

StoredTorrents::StoredTorrents(RecordStore& store, TextRef user_id, int lookups,
                               const std::atomic<bool>* cancel)
    : store_(store), user_id_(user_id.c_str()), cancel_(cancel),
      error_(store.Reopen() ? 0 : (store.error() ? store.error() : SQLITE_CANTOPEN)),
      reading_(store.database(), Transaction::kRead) {
    if (error_ || lookups < kLoadAllFrom) return;
    loaded_ = store.LoadTorrents(user_id_, succeeded_, unknown_);
    if (!loaded_) error_ = store.error() ? store.error() : SQLITE_ERROR;
}

bool StoredTorrents::Succeeded(const InfoHash& hash) {
    if (Cancelled() || error_) return true;
    return loaded_ ? succeeded_.count(hash) > 0 : Held(store_.Succeeded(user_id_, hash));
}

bool StoredTorrents::OutcomeUnknown(const InfoHash& hash) {
    if (Cancelled() || error_) return true;
    return loaded_ ? unknown_.count(hash) > 0 : Held(store_.OutcomeUnknown(user_id_, hash));
}

bool StoredTorrents::Held(Found found) {
    if (found != Found::kUnreadable) return found == Found::kYes;
    if (!error_) error_ = store_.error() ? store_.error() : SQLITE_ERROR;
    return true;
}

} // namespace brindor
