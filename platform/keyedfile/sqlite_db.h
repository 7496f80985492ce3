// One SQLite/SQLCipher connection with its cache of prepared statements, and
// access to the database file through SQLite's own file handle.
//
// Statements are prepared once per connection and reset right after every
// use (StmtUse), so that no connection keeps a read lock between operations.
// Only this folder's .cpp files see SQLite itself.
#ifndef WEVO_PLATFORM_KEYEDFILE_SQLITE_DB_H_
#define WEVO_PLATFORM_KEYEDFILE_SQLITE_DB_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3;
struct sqlite3_stmt;

namespace wevo::kf {

// SQLite result codes this layer tells apart.
inline constexpr int kSqlOk = 0;
inline constexpr int kSqlAbort = 4;
inline constexpr int kSqlBusy = 5;
inline constexpr int kSqlCorrupt = 11;
inline constexpr int kSqlRow = 100;
inline constexpr int kSqlDone = 101;

class Stmt {
 public:
  explicit Stmt(sqlite3_stmt* stmt) : s_(stmt) {}
  void bindInt(int param, int64_t value);
  void bindText(int param, std::string_view value);
  void bindBlob(int param, std::string_view bytes);  // empty: NULL
  // kSqlRow, kSqlDone or an error code.
  int step();
  int64_t columnInt(int col) const;
  std::string_view columnText(int col) const;
  std::string_view columnBlob(int col) const;
  void reset();
  void finalize();

 private:
  sqlite3_stmt* s_;
};

// Resets the statement when the use ends, whatever happened.
class StmtUse {
 public:
  explicit StmtUse(Stmt& s) : s_(s) {}
  ~StmtUse() { s_.reset(); }
  StmtUse(const StmtUse&) = delete;
  StmtUse& operator=(const StmtUse&) = delete;
  Stmt& operator*() { return s_; }
  Stmt* operator->() { return &s_; }

 private:
  Stmt& s_;
};

class Db {
 public:
  Db() = default;
  ~Db();
  Db(const Db&) = delete;
  Db& operator=(const Db&) = delete;

  // Opens the file (creating it when `create`); SQLite's result code.
  int open(const std::string& path, bool create, bool readOnly);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  // Takes over `other`'s connection and prepared statements (this one is
  // closed first); `other` is left closed.
  void adopt(Db& other);

  // Raw key, given as SQLCipher's "x'<hex>'" form (key, or key and salt).
  int setKey(std::string_view keyForm);
  void setBusyTimeout(int millis);

  // Runs statements that return no rows (schema, pragmas, BEGIN, COMMIT).
  int exec(const std::string& sql);
  // The cached statement for `sql`, prepared on first use; null on failure
  // (the result code in *rc).
  Stmt* prepare(const std::string& sql, int* rc);

  int extendedErrcode() const;
  std::string errmsg() const;
  int changes() const;
  int64_t lastInsertRowid() const;
  bool autocommit() const;

  // The database file's bytes through SQLite's own handle, so that no extra
  // descriptor of ours is ever closed on it (that would drop the POSIX locks
  // every connection of this process holds on the file). Result codes.
  int readRaw(void* buffer, int size, int64_t offset);  // short reads are zero-filled
  int rawSize(int64_t* size);
  int lockRawShared();
  int unlockRaw();
  int rawReservedByOther(bool* reserved);

 private:
  sqlite3* db_ = nullptr;
  std::unordered_map<std::string, std::unique_ptr<Stmt>> cache_;
};

// The statements of one operation in a write transaction (BEGIN IMMEDIATE)
// of their own, or, when the connection is already in a transaction that the
// operation is part of, in that one. Nothing of an own transaction is kept
// unless commit() succeeded: the guard rolls it back when it ends.
//
//   WriteTransaction tx(db, inFileTransaction);
//   if (int rc = tx.began(); rc != kSqlOk) return rc;
//   ... statements; return early on failure ...
//   return tx.commit();
class WriteTransaction {
 public:
  WriteTransaction(Db& db, bool joinActive);
  ~WriteTransaction();
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;

  // The result of beginning (kSqlOk when the statements may run).
  int began() const { return began_; }
  // Commits an own transaction; the result code (kSqlOk when joined).
  int commit();

 private:
  Db& db_;
  bool own_ = false;
  int began_ = kSqlOk;
};

// Sets the thread's error state for a failed SQLite call on `db` (or, without
// a connection, for `rc` alone) and returns the error number set: 32 busy or
// locked, 36 not a database or wrong key, 40 unique constraint, 5 refused
// access, 90 anything else.
int reportSqlFailure(const Db* db, int rc);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_SQLITE_DB_H_
