// One SQLite connection and the statements prepared on it. Failures are quiet: they come back as
// false or as a statement that steps to nothing.
#pragma once
#include <cstdint>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

struct sqlite3;
struct sqlite3_stmt;

namespace brindor {

class Statement {
  public:
    Statement() = default;
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    Statement(Statement&& other) noexcept : statement_(other.statement_) { other.statement_ = nullptr; }
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    bool valid() const { return statement_ != nullptr; }
    // Parameters count from 1. Texts and blobs are copied.
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, TextRef text);
    Statement& BindBlob(int index, const void* data, int size);
    // True while a row is there to read.
    bool Step();
    // Runs a statement that returns no row; true when it completed.
    bool Run();
    int64_t Integer(int column) const;
    Text TextAt(int column) const;
    // Ready to run again with new parameters.
    void Reset();

  private:
    sqlite3_stmt* statement_ = nullptr;
    bool failed_ = false;
};

class Database {
  public:
    Database() = default;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database() { Close(); }

    // `path` in UTF-8; ":memory:" for a database that lives only as long as this owner.
    bool Open(const char* path);
    void Close();
    bool is_open() const { return db_ != nullptr; }
    // One or more statements without parameters.
    bool Execute(const char* sql);
    Statement Prepare(const char* sql);
    int64_t LastInsertId() const;
    int Changes() const;

  private:
    sqlite3* db_ = nullptr;
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
