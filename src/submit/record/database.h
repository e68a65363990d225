// One SQLite connection and the statements prepared on it. Failures are quiet but kept: every
// statement and the connection remember SQLite's extended code of their last failure, so a read
// that failed is never taken for one that found nothing.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

struct sqlite3;
struct sqlite3_stmt;

namespace brindor {

// A statement that could not be prepared fails with this code.
constexpr int kNotPrepared = 1;

class Statement {
  public:
    Statement() = default;
    explicit Statement(sqlite3_stmt* statement, int error = 0) : statement_(statement), error_(error) {}
    Statement(Statement&& other) noexcept : statement_(other.statement_), error_(other.error_) {
        other.statement_ = nullptr;
    }
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    bool valid() const { return statement_ != nullptr; }
    // Parameters count from 1. Texts and blobs are copied.
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, TextRef text);
    Statement& BindBlob(int index, const void* data, int size);
    // True while a row is there to read; false at the end and on a failure, which error() tells apart.
    bool Step();
    // Runs a statement that returns no row; true when it completed.
    bool Run();
    // SQLite's extended code of the failure that stopped the last step, a bind or the preparation;
    // 0 when there was none.
    int error() const { return error_; }
    int64_t Integer(int column) const;
    bool IsNull(int column) const;
    Text TextAt(int column) const;
    // Copies a blob of exactly `size` bytes; false for any other value.
    bool BlobAt(int column, void* out, size_t size) const;
    // Ready to run again with new parameters.
    void Reset();

  private:
    sqlite3_stmt* statement_ = nullptr;
    int error_ = 0;
};

class Database {
  public:
    enum Mode { kReadWrite, kReadOnly };
    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { Close(); }

    // `path` in UTF-8; ":memory:" for a database that lives only as long as this owner. A file the
    // system lets us only read fails with SQLITE_READONLY rather than opening for reading alone.
    bool Open(const char* path, Mode mode = kReadWrite);
    void Close();
    bool is_open() const { return db_ != nullptr; }
    // How long a lock another connection holds is waited for, from the next Open.
    void set_busy_wait(int milliseconds) { busy_wait_ = milliseconds; }
    // One or more statements without parameters.
    bool Execute(const char* sql);
    Statement Prepare(const char* sql);
    int64_t LastInsertId() const;
    int Changes() const;
    // The extended code of the last failure of Open, Execute or Prepare; 0 after a success.
    int error() const { return error_; }
    void KeepError(int error) { error_ = error; }
    // A function of one text argument that SQL can call by `name` while the connection is open.
    bool AddTextFunction(const char* name, Text (*convert)(TextRef));
    // Copies the write-ahead log into the database file and empties it.
    bool Checkpoint();

  private:
    bool Failed(int code);

    sqlite3* db_ = nullptr;
    int error_ = 0;
    // Another copy of the program may be writing: wait for it rather than fail at once.
    int busy_wait_ = 5000;
};

// Rolls back unless committed: a failure halfway leaves the database as it was. One that only reads
// sees one state of the database throughout, and takes the file's locks once rather than per query.
class Transaction {
  public:
    enum Kind { kWrite, kRead };
    explicit Transaction(Database& db, Kind kind = kWrite)
        : db_(db), open_(db.Execute(kind == kWrite ? "BEGIN IMMEDIATE" : "BEGIN")) {}
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    bool began() const { return open_; }
    bool Commit();

  private:
    Database& db_;
    bool open_;
};

} // namespace brindor
