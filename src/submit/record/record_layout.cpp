#include "submit/record/record_store.h"

#include <sqlite3.h>

namespace brindor {

namespace {

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
    // Asked again under the lock: another connection may have brought it up meanwhile.
    Statement tables = db_.Prepare("SELECT count(*), (SELECT user_version FROM pragma_user_version) "
                                   "FROM sqlite_master WHERE name = 'runs'");
    if (!tables.Step()) return Failed(tables.error());
    const bool old = tables.Integer(0) > 0;
    if (tables.Integer(1) == kRecordVersion) return true;
    tables = Statement();
    if (!db_.Execute(old ? kFromVersion0 : kTables)) return Failed(db_.error());
    return Kept(transaction.Commit(), db_.error());
}

void RecordStore::Close() {
    if (!newer_) db_.Checkpoint();
    Shut();
}

} // namespace brindor
