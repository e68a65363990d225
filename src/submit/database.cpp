#include "submit/database.h"

#include <sqlite3.h>

namespace brindor {

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = other.statement_;
        failed_ = other.failed_;
        other.statement_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::Bind(int index, int64_t value) {
    if (statement_ && sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) failed_ = true;
    return *this;
}

Statement& Statement::Bind(int index, TextRef text) {
    if (statement_ && sqlite3_bind_text(statement_, index, text.c_str(), -1, SQLITE_TRANSIENT) != SQLITE_OK)
        failed_ = true;
    return *this;
}

Statement& Statement::BindBlob(int index, const void* data, int size) {
    if (statement_ && sqlite3_bind_blob(statement_, index, data, size, SQLITE_TRANSIENT) != SQLITE_OK)
        failed_ = true;
    return *this;
}

bool Statement::Step() {
    return statement_ && !failed_ && sqlite3_step(statement_) == SQLITE_ROW;
}

bool Statement::Run() {
    if (!statement_ || failed_) return false;
    int result = sqlite3_step(statement_);
    while (result == SQLITE_ROW)
        result = sqlite3_step(statement_);
    return result == SQLITE_DONE;
}

int64_t Statement::Integer(int column) const {
    return statement_ ? sqlite3_column_int64(statement_, column) : 0;
}

Text Statement::TextAt(int column) const {
    if (!statement_) return {};
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return text ? Text(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                : Text();
}

void Statement::Reset() {
    if (!statement_) return;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    failed_ = false;
}

bool Database::Open(const char* path) {
    Close();
    constexpr int kFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(path, &db_, kFlags, nullptr) != SQLITE_OK) {
        Close();
        return false;
    }
    // Another copy of the program may be writing: wait for it rather than fail at once.
    sqlite3_busy_timeout(db_, 5000);
    return true;
}

void Database::Close() {
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool Database::Execute(const char* sql) {
    return db_ && sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Statement Database::Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (!db_ || sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) return Statement();
    return Statement(statement);
}

int64_t Database::LastInsertId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int Database::Changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

Transaction::~Transaction() {
    if (open_) db_.Execute("ROLLBACK");
}

bool Transaction::Commit() {
    if (!open_) return false;
    open_ = false;
    if (db_.Execute("COMMIT")) return true;
    db_.Execute("ROLLBACK");
    return false;
}

} // namespace brindor
