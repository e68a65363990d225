#include "submit/record/database.h"

#include <sqlite3.h>

#include <cstring>

namespace brindor {

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = other.statement_;
        error_ = other.error_;
        other.statement_ = nullptr;
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::Bind(int index, int64_t value) {
    if (statement_ && !error_) error_ = sqlite3_bind_int64(statement_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, TextRef text) {
    if (statement_ && !error_)
        error_ = sqlite3_bind_text(statement_, index, text.c_str(), -1, SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindBlob(int index, const void* data, int size) {
    if (statement_ && !error_) error_ = sqlite3_bind_blob(statement_, index, data, size, SQLITE_TRANSIENT);
    return *this;
}

bool Statement::Step() {
    if (!statement_) {
        if (!error_) error_ = kNotPrepared;
        return false;
    }
    if (error_) return false;
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    // The statement's own code: the connection's may already belong to another statement.
    if (result != SQLITE_DONE) error_ = sqlite3_extended_errcode(sqlite3_db_handle(statement_));
    if (result != SQLITE_DONE && !error_) error_ = result;
    return false;
}

bool Statement::Run() {
    while (Step()) {
    }
    return statement_ && !error_;
}

int64_t Statement::Integer(int column) const {
    return statement_ ? sqlite3_column_int64(statement_, column) : 0;
}

bool Statement::IsNull(int column) const {
    return !statement_ || sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

Text Statement::TextAt(int column) const {
    if (!statement_) return {};
    const unsigned char* text = sqlite3_column_text(statement_, column);
    return text ? Text(reinterpret_cast<const char*>(text),
                       static_cast<size_t>(sqlite3_column_bytes(statement_, column)))
                : Text();
}

bool Statement::BlobAt(int column, void* out, size_t size) const {
    if (!statement_ || sqlite3_column_type(statement_, column) != SQLITE_BLOB) return false;
    const void* blob = sqlite3_column_blob(statement_, column);
    if (!blob || static_cast<size_t>(sqlite3_column_bytes(statement_, column)) != size) return false;
    std::memcpy(out, blob, size);
    return true;
}

void Statement::Reset() {
    if (!statement_) return;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    error_ = 0;
}

bool Database::Failed(int code) {
    error_ = db_ && code != SQLITE_MISUSE ? sqlite3_extended_errcode(db_) : code;
    if (!error_) error_ = code;
    return false;
}

bool Database::Open(const char* path, Mode mode) {
    Close();
    const int flags =
        (mode == kReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE) |
        SQLITE_OPEN_FULLMUTEX;
    if (const int result = sqlite3_open_v2(path, &db_, flags, nullptr); result != SQLITE_OK) {
        Failed(result);
        Close();
        return false;
    }
    sqlite3_extended_result_codes(db_, 1);
    // A file opened for reading alone would fail every write later, far from the cause.
    if (mode == kReadWrite && sqlite3_db_readonly(db_, "main") == 1) {
        Close();
        error_ = SQLITE_READONLY;
        return false;
    }
    sqlite3_busy_timeout(db_, busy_wait_);
    error_ = 0;
    return true;
}

void Database::Close() {
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

bool Database::Execute(const char* sql) {
    if (!db_) return Failed(SQLITE_MISUSE);
    if (const int result = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); result != SQLITE_OK)
        return Failed(result);
    error_ = 0;
    return true;
}

Statement Database::Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (!db_) {
        Failed(SQLITE_MISUSE);
        return Statement(nullptr, SQLITE_MISUSE);
    }
    if (const int result = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr); result != SQLITE_OK) {
        Failed(result);
        return Statement(nullptr, error_);
    }
    error_ = 0;
    return Statement(statement);
}

int64_t Database::LastInsertId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

int Database::Changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

namespace {

void CallTextFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
    const unsigned char* text = sqlite3_value_text(arguments[0]);
    if (!text) return sqlite3_result_null(context);
    auto convert = reinterpret_cast<Text (*)(TextRef)>(sqlite3_user_data(context));
    const Text converted = convert(reinterpret_cast<const char*>(text));
    sqlite3_result_text(context, converted.c_str(), static_cast<int>(converted.length()), SQLITE_TRANSIENT);
}

} // namespace

bool Database::AddTextFunction(const char* name, Text (*convert)(TextRef)) {
    if (!db_) return Failed(SQLITE_MISUSE);
    const int result = sqlite3_create_function_v2(db_, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                                                  reinterpret_cast<void*>(convert), CallTextFunction, nullptr,
                                                  nullptr, nullptr);
    return result == SQLITE_OK || Failed(result);
}

bool Database::Checkpoint() {
    if (!db_) return false;
    const int result = sqlite3_wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    return result == SQLITE_OK || Failed(result);
}

Transaction::~Transaction() {
    if (open_) db_.Execute("ROLLBACK");
}

bool Transaction::Commit() {
    if (!open_) return false;
    open_ = false;
    if (db_.Execute("COMMIT")) return true;
    const int error = db_.error();
    db_.Execute("ROLLBACK");
    // The cause, not the rollback's answer.
    db_.KeepError(error);
    return false;
}

} // namespace brindor
