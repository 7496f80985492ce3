#define SQLITE_HAS_CODEC 1
#include "platform/keyedfile/sqlite_db.h"

#include <sqlite3.h>

#include <utility>

#include "platform/keyedfile/error.h"

namespace wevo::kf {

static_assert(kSqlOk == SQLITE_OK && kSqlAbort == SQLITE_ABORT && kSqlBusy == SQLITE_BUSY && kSqlRow == SQLITE_ROW &&
              kSqlDone == SQLITE_DONE);

void Stmt::bindInt(int param, int64_t value) { sqlite3_bind_int64(s_, param, value); }

void Stmt::bindText(int param, std::string_view value) {
  sqlite3_bind_text(s_, param, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

void Stmt::bindBlob(int param, std::string_view bytes) {
  if (bytes.empty())
    sqlite3_bind_null(s_, param);
  else
    sqlite3_bind_blob(s_, param, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

int Stmt::step() { return sqlite3_step(s_); }

int64_t Stmt::columnInt(int col) const { return sqlite3_column_int64(s_, col); }

std::string_view Stmt::columnText(int col) const {
  const unsigned char* p = sqlite3_column_text(s_, col);
  int n = sqlite3_column_bytes(s_, col);
  if (p == nullptr || n <= 0) return {};
  return std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(n));
}

std::string_view Stmt::columnBlob(int col) const {
  const void* p = sqlite3_column_blob(s_, col);
  int n = sqlite3_column_bytes(s_, col);
  if (p == nullptr || n <= 0) return {};
  return std::string_view(static_cast<const char*>(p), static_cast<size_t>(n));
}

void Stmt::reset() { sqlite3_reset(s_); }

void Stmt::finalize() {
  sqlite3_finalize(s_);
  s_ = nullptr;
}

Db::~Db() { close(); }

int Db::open(const std::string& path, bool create, bool readOnly) {
  close();
  int flags = SQLITE_OPEN_NOMUTEX;
  if (readOnly)
    flags |= SQLITE_OPEN_READONLY;
  else
    flags |= SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (rc == SQLITE_OK) sqlite3_extended_result_codes(db_, 1);
  // On failure the handle stays until close() so that errmsg() can tell why.
  return rc;
}

void Db::close() {
  for (auto& entry : cache_) entry.second->finalize();
  cache_.clear();
  if (db_ != nullptr) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
  }
}

void Db::adopt(Db& other) {
  if (&other == this) return;
  close();
  db_ = other.db_;
  other.db_ = nullptr;
  cache_ = std::move(other.cache_);
  other.cache_.clear();
}

int Db::setKey(std::string_view keyForm) {
  return sqlite3_key(db_, keyForm.data(), static_cast<int>(keyForm.size()));
}

void Db::setBusyTimeout(int millis) { sqlite3_busy_timeout(db_, millis); }

int Db::exec(const std::string& sql) { return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr); }

Stmt* Db::prepare(const std::string& sql, int* rc) {
  auto it = cache_.find(sql);
  if (it != cache_.end()) {
    *rc = SQLITE_OK;
    return it->second.get();
  }
  sqlite3_stmt* handle = nullptr;
  *rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &handle, nullptr);
  if (*rc != SQLITE_OK) {
    sqlite3_finalize(handle);
    return nullptr;
  }
  auto stmt = std::make_unique<Stmt>(handle);
  Stmt* raw = stmt.get();
  cache_.emplace(sql, std::move(stmt));
  return raw;
}

int Db::extendedErrcode() const { return db_ ? sqlite3_extended_errcode(db_) : SQLITE_MISUSE; }

std::string Db::errmsg() const { return db_ ? sqlite3_errmsg(db_) : "no connection"; }

int Db::changes() const { return sqlite3_changes(db_); }

int64_t Db::lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }

bool Db::autocommit() const { return sqlite3_get_autocommit(db_) != 0; }

namespace {

sqlite3_file* fileOf(sqlite3* db) {
  sqlite3_file* file = nullptr;
  if (db == nullptr || sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK)
    return nullptr;
  if (file == nullptr || file->pMethods == nullptr) return nullptr;
  return file;
}

}  // namespace

int Db::readRaw(void* buffer, int size, int64_t offset) {
  sqlite3_file* f = fileOf(db_);
  if (f == nullptr) return SQLITE_CANTOPEN;
  int rc = f->pMethods->xRead(f, buffer, size, offset);
  return rc == SQLITE_IOERR_SHORT_READ ? SQLITE_OK : rc;
}

int Db::rawSize(int64_t* size) {
  sqlite3_file* f = fileOf(db_);
  if (f == nullptr) return SQLITE_CANTOPEN;
  sqlite3_int64 n = 0;
  int rc = f->pMethods->xFileSize(f, &n);
  *size = n;
  return rc;
}

int Db::lockRawShared() {
  sqlite3_file* f = fileOf(db_);
  return f == nullptr ? SQLITE_CANTOPEN : f->pMethods->xLock(f, SQLITE_LOCK_SHARED);
}

int Db::unlockRaw() {
  sqlite3_file* f = fileOf(db_);
  return f == nullptr ? SQLITE_CANTOPEN : f->pMethods->xUnlock(f, SQLITE_LOCK_NONE);
}

int Db::rawReservedByOther(bool* reserved) {
  sqlite3_file* f = fileOf(db_);
  if (f == nullptr) return SQLITE_CANTOPEN;
  int out = 0;
  int rc = f->pMethods->xCheckReservedLock(f, &out);
  *reserved = out != 0;
  return rc;
}

WriteTransaction::WriteTransaction(Db& db, bool joinActive) : db_(db) {
  if (joinActive) return;
  began_ = db_.exec("BEGIN IMMEDIATE");
  own_ = began_ == SQLITE_OK;
}

WriteTransaction::~WriteTransaction() {
  if (own_ && !db_.autocommit()) db_.exec("ROLLBACK");
}

int WriteTransaction::commit() {
  if (!own_) return SQLITE_OK;
  const int rc = db_.exec("COMMIT");
  if (rc == SQLITE_OK) own_ = false;
  return rc;
}

int reportSqlFailure(const Db* db, int rc) {
  int extended = db != nullptr && db->isOpen() ? db->extendedErrcode() : rc;
  if ((extended & 0xff) != (rc & 0xff)) extended = rc;
  std::string message = db != nullptr && db->isOpen() ? db->errmsg() : sqlite3_errstr(rc);
  int code;
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      code = kErrLocked;
      break;
    case SQLITE_NOTADB:
      code = kErrBadPassword;
      break;
    case SQLITE_CONSTRAINT:
      code = (extended == SQLITE_CONSTRAINT_UNIQUE || extended == SQLITE_CONSTRAINT_PRIMARYKEY)
                 ? kErrDuplicateKey
                 : kErrDriver;
      break;
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
      code = kErrAccessDenied;
      break;
    default:
      code = kErrDriver;
      break;
  }
  setError(code, extended, message);
  return code;
}

}  // namespace wevo::kf
