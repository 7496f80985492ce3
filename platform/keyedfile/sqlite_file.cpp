#include "platform/keyedfile/sqlite_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/keyedfile/connection.h"
#include "platform/keyedfile/connection_pool.h"
#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/fair_lock.h"
#include "platform/keyedfile/file_lock.h"
#include "platform/keyedfile/keyed_file_state.h"
#include "platform/keyedfile/read_counter.h"
#include "platform/keyedfile/row_codec.h"
#include "platform/keyedfile/server_name.h"
#include "platform/keyedfile/sqlite_db.h"
#include "platform/keyedfile/whole_file.h"
#include "wevo/text.h"

namespace wevo::kf {
namespace {

constexpr const char* kMetaLayout = Schema::kMetaLayout;
constexpr const char* kMetaKeys = Schema::kMetaKeys;
constexpr const char* kKeysValid = Schema::kKeysValid;
constexpr const char* kKeysInvalid = Schema::kKeysInvalid;
// How long a commit waits for the readers that came before it.
constexpr int kCommitWaitMillis = 2000;

using Clock = std::chrono::steady_clock;
using Line = FairLock::Line;
using Tx = File::State::Tx;

int millisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}


// Reads one metadata value; the result code of the failure otherwise.
int readMeta(Db& db, const char* name, std::string& value) {
  int rc = kSqlOk;
  Stmt* stmt = db.prepare(Schema::readMetaSql(), &rc);
  if (stmt == nullptr) return rc;
  StmtUse use(*stmt);
  stmt->bindText(1, name);
  rc = stmt->step();
  if (rc == kSqlRow) {
    value = std::string(stmt->columnText(0));
    return kSqlOk;
  }
  value.clear();
  return rc == kSqlDone ? kSqlOk : rc;
}

int writeMeta(Db& db, const char* name, const std::string& value) {
  int rc = kSqlOk;
  Stmt* stmt = db.prepare(Schema::writeMetaSql(), &rc);
  if (stmt == nullptr) return rc;
  StmtUse use(*stmt);
  stmt->bindText(1, name);
  stmt->bindText(2, value);
  rc = stmt->step();
  return rc == kSqlDone ? kSqlOk : rc;
}

// Checks that the connected file holds this declaration's layout: 0, 36 (not
// readable: wrong or missing password, or not a database), 47 (another
// layout, or a database that is not a keyed file), or another error.
int checkLayout(Db& db, const Schema& schema, bool* keysValid) {
  std::string layout;
  int rc = readMeta(db, kMetaLayout, layout);
  if (rc != kSqlOk) {
    if ((rc & 0xff) == 1 /* SQLITE_ERROR: no metadata table */) {
      setError(kErrLayout, rc, db.errmsg());
      return kErrLayout;
    }
    return reportSqlFailure(&db, rc);
  }
  if (layout != schema.signature()) {
    setError(kErrLayout, 0, layout.empty() ? "no layout recorded" : "file layout: " + layout);
    return kErrLayout;
  }
  std::string keys;
  rc = readMeta(db, kMetaKeys, keys);
  if (rc != kSqlOk) return reportSqlFailure(&db, rc);
  *keysValid = keys == kKeysValid;
  return kNoError;
}

int execAll(Db& db, const std::vector<std::string>& statements) {
  for (const std::string& sql : statements)
    if (int rc = db.exec(sql); rc != kSqlOk) return rc;
  return kSqlOk;
}

int rebuildKeys(Db& db, const Schema& schema, bool active) {
  WriteTransaction tx(db, active);
  if (int rc = tx.began(); rc != kSqlOk) return rc;
  if (int rc = execAll(db, schema.dropIndexStatements()); rc != kSqlOk) return rc;
  if (int rc = execAll(db, schema.createIndexStatements()); rc != kSqlOk) return rc;
  if (int rc = writeMeta(db, kMetaKeys, kKeysValid); rc != kSqlOk) return rc;
  return tx.commit();
}

int fillEmpty(Db& db, const Schema& schema) {
  WriteTransaction tx(db, false);
  if (int rc = tx.began(); rc != kSqlOk) return rc;
  if (int rc = execAll(db, schema.createStatements()); rc != kSqlOk) return rc;
  if (int rc = writeMeta(db, kMetaLayout, schema.signature()); rc != kSqlOk) return rc;
  if (int rc = writeMeta(db, kMetaKeys, kKeysValid); rc != kSqlOk) return rc;
  return tx.commit();
}

// Keys are left behind for a whole load and built once at its end; the mark
// makes a load that never reached its build visible at the next open.
int dropKeys(Db& db, const Schema& schema, bool active) {
  WriteTransaction tx(db, active);
  if (int rc = tx.began(); rc != kSqlOk) return rc;
  if (int rc = execAll(db, schema.dropIndexStatements()); rc != kSqlOk) return rc;
  if (int rc = writeMeta(db, kMetaKeys, kKeysInvalid); rc != kSqlOk) return rc;
  return tx.commit();
}

// Makes the file at `path` (none may be there) empty with the schema's
// layout, protected with `password` (blank: none). A failure leaves nothing
// there; the error state tells why.
bool buildEmpty(const Schema& schema, const std::string& path, const Secret& password) {
  Db db;
  int code = connect(db, path, password.view(), true, false);
  if (code != kNoError) {
    ::unlink(path.c_str());
    return false;
  }
  int rc = db.exec("PRAGMA journal_mode=DELETE");
  if (rc == kSqlOk) rc = fillEmpty(db, schema);
  if (rc != kSqlOk) {
    reportSqlFailure(&db, rc);
    db.close();
    ::unlink(path.c_str());
    ::unlink((path + "-journal").c_str());
    return false;
  }
  db.close();
  return true;
}

// The temporary names createIfMissing() builds a file under, beside it:
// "<file>.creating.<host>.<pid>.<n>".
std::string creatorPrefix(const std::string& path) {
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0) host[0] = '\0';
  return path + ".creating." + host + ".";
}

// Removes what creators on this machine that died half way left beside the
// file (their process is gone), so that crashes do not pile files up there.
void removeDeadCreators(const std::string& path) {
  const std::filesystem::path file(path);
  const std::string prefix = std::filesystem::path(creatorPrefix(path)).filename().string();
  std::error_code ec;
  std::filesystem::directory_iterator it(file.has_parent_path() ? file.parent_path() : ".", ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.rfind(prefix, 0) != 0) continue;
    int pid = 0;
    const char* first = name.data() + prefix.size();
    auto [end, parsed] = std::from_chars(first, name.data() + name.size(), pid);
    if (parsed != std::errc() || end == first || *end != '.' || pid <= 0) continue;
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    ::unlink(it->path().c_str());
  }
}

class SqliteFile;

// The turns (fair_lock.h) one operation outside a transaction takes for
// itself: a shared access turn to read; to write (which reaches the file at
// once) the writers' turn and the access turn alone, waiting 5 s in all.
// Inside a transaction the transaction's turns cover it and nothing is taken.
// Given back when the object ends.
class OwnTurn {
 public:
  OwnTurn(SqliteFile& f, bool write);
  ~OwnTurn();
  OwnTurn(const OwnTurn&) = delete;
  OwnTurn& operator=(const OwnTurn&) = delete;

  // False, with 32 or the lock file's error set, when the turn did not come.
  bool ok() const { return ok_; }

 private:
  SqliteFile& f_;
  bool ok_ = true;
  bool taken_ = false;
};

class SqliteFile final : public Backend {
 public:
  explicit SqliteFile(File::State& s) : Backend(s) {}
  ~SqliteFile() override { close(); }

  bool serves(const std::string& name) const override { return !isServerName(name); }

  bool create(const std::string& name, const Secret& owner) override;
  bool createIfMissing(const std::string& name, const Secret& owner, bool* created) override;
  bool open(const std::string& name, const Secret& owner, int mode, int waitMillis) override;
  bool buildClosed(const std::string& name, const Secret& owner) override;
  bool copy(const std::string& name, const std::string& dest) override;

  bool close() override;
  bool records(uint64_t& count) override;
  Cursor::Fetch fetch(Cursor& cursor, bool forward, const KeyTuple& pins, void* record, std::string& blob,
                      int64_t& row, int64_t& version) override;
  bool get(int key) override;
  bool rowAt(int64_t row, int key, KeyTuple* values) override;
  bool readRanges(std::span<const File::RangeRead> ranges, int waitMillis) override;
  bool add() override;
  bool append() override;
  bool put(bool watched) override;
  bool del(bool watched) override;
  bool build() override;
  bool duplicateCheck(int key) override;
  bool stream() override;
  bool flush() override;
  bool begin(int waitMillis) override;
  bool commit() override;
  bool rollback() override;
  bool beginRead(int waitMillis) override;
  bool endRead() override;

  // Takes a turn in `line`, waiting up to `waitMillis`; false with 32 when
  // the stations before it keep the file, or the lock file's error.
  bool takeTurn(Line line, bool exclusive, int waitMillis);
  FairLock& turns() { return turns_; }
  bool inTransaction() const { return s_.tx != Tx::kNone; }

 private:
  bool fail(int rc) {
    reportSqlFailure(&db_, rc);
    return false;
  }
  // Steps a statement that selects one row and makes it current.
  bool readOne(Stmt& stmt);
  bool readRange(const File::RangeRead& range);
  bool insert();
  bool explainMissedWrite();
  // COMMIT of the write transaction, in its turn.
  bool commitWrites();

  Db db_;
  // What the open connection was made for; a closed file parks it under
  // this key (connection_pool.h) unless it is not known.
  ConnectionKey connection_;
  std::string lockPath_;  // the file opened, whose lock file holds the turns
  bool connectionKnown_ = false;
  FileLock lock_;
  FairLock turns_;      // this instance's place in the file's lines (fair_lock.h)
  bool wrote_ = false;  // the transaction has written something
  bool keysDropped_ = false;  // this connection dropped the keys for appends
};

OwnTurn::OwnTurn(SqliteFile& f, bool write) : f_(f) {
  if (f.inTransaction()) return;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kBusyMillis);
  if (write) {
    ok_ = f.takeTurn(Line::kWriters, true, kBusyMillis) && f.takeTurn(Line::kAccess, true, millisLeft(deadline));
  } else {
    ok_ = f.takeTurn(Line::kAccess, false, kBusyMillis);
  }
  taken_ = true;
}

OwnTurn::~OwnTurn() {
  if (!taken_) return;
  f_.turns().give(Line::kAccess);
  f_.turns().give(Line::kWriters);
}

bool SqliteFile::takeTurn(Line line, bool exclusive, int waitMillis) {
  switch (turns_.take(line, exclusive, waitMillis)) {
    case FairLock::Result::kHeld:
      return true;
    case FairLock::Result::kTimedOut:
      setError(kErrLocked, kSqlBusy, "other stations kept the file past the wait");
      return false;
    case FairLock::Result::kError:
      reportErrno(errno, FileLock::lockName(lockPath_));
      return false;
  }
  return false;
}

// ---- The file as a whole ---------------------------------------------------

bool SqliteFile::create(const std::string& path, const Secret& owner) {
  FileLock lock;
  switch (lock.acquire(path, true, 0)) {
    case FileLock::Result::kLocked:
      break;
    case FileLock::Result::kBusy:
      return failWith(kErrLocked);
    case FileLock::Result::kError:
      reportErrno(lock.error(), FileLock::lockName(path));
      return false;
  }
  dropConnections(path);
  if (fileExists(path) && ::unlink(path.c_str()) != 0) {
    reportErrno(errno, path);
    return false;
  }
  ::unlink((path + "-journal").c_str());
  if (!buildEmpty(s_.schema, path, owner)) return false;
  return succeed();
}

bool SqliteFile::createIfMissing(const std::string& path, const Secret& owner, bool* created) {
  if (fileExists(path)) return succeed();
  // Stations that find the file missing together take turns to make it: the
  // first makes it, the others find it made (and spend nothing on a file of
  // their own). Without a turn in time, each makes its own as below.
  FileLock door;
  FairLock turn;
  if (door.acquire(path, false, 0) == FileLock::Result::kLocked && turn.attach(door.fd()))
    turn.take(Line::kWriters, true, kBusyMillis);
  if (fileExists(path)) return succeed();
  removeDeadCreators(path);
  static std::atomic<unsigned> serial{0};
  const std::string temp = creatorPrefix(path) + std::to_string(::getpid()) + "." + std::to_string(serial.fetch_add(1));
  if (!buildEmpty(s_.schema, temp, owner)) return false;
  // The new file takes the name only when the name is free. A file system
  // that cannot rename so gets the same from link(), which leaves the
  // temporary name to remove.
  int rc = ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE);
  int e = rc == 0 ? 0 : errno;
  if (rc != 0 && e != EEXIST) {
    rc = ::link(temp.c_str(), path.c_str());
    e = rc == 0 ? 0 : errno;
  }
  ::unlink(temp.c_str());
  if (rc != 0 && e != EEXIST) {
    reportErrno(e, path);
    return false;
  }
  if (created != nullptr) *created = rc == 0;
  return succeed();
}

bool SqliteFile::open(const std::string& path, const Secret& password, int mode, int waitMillis) {
  if (!fileExists(path)) return failWith(kErrNotFound);
  const bool exclusive = (mode & 0xf0) != kDenyNone;
  const bool readOnly = (mode & 0x0f) == kReadOnly;
  switch (lock_.acquire(path, exclusive, waitMillis)) {
    case FileLock::Result::kLocked:
      break;
    case FileLock::Result::kBusy:
      return failWith(kErrLocked);
    case FileLock::Result::kError:
      reportErrno(lock_.error(), FileLock::lockName(path));
      return false;
  }
  lockPath_ = path;
  // Without the turns the file still works, with SQLite's own waiting.
  turns_.attach(lock_.fd());
  connection_ = ConnectionKey::of(path, password.view(), readOnly, &connectionKnown_);
  // A connection this thread made on this very file earlier is taken back
  // with its statements and pages; the layout and keys are checked anew. A
  // new one is keyed before the turn (a first key derivation is long) and
  // set up in it (that reads the file).
  const bool reused = connectionKnown_ && takeConnection(connection_, db_);
  int code = reused ? kNoError : openKeyed(db_, path, password.view(), false, readOnly);
  if (code == kNoError && !takeTurn(Line::kAccess, false, kBusyMillis)) code = errorCode();
  if (code == kNoError && !reused) code = setUp(db_, !password.empty());
  bool keysValid = false;
  if (code == kNoError) code = checkLayout(db_, s_.schema, &keysValid);
  if (code == kNoError && !keysValid) {
    setError(kErrKeysDamaged);
    code = kErrKeysDamaged;
  }
  if (code == kNoError && !readOnly && !reused) {
    if (int rc = db_.exec("PRAGMA journal_mode=DELETE"); rc != kSqlOk) code = reportSqlFailure(&db_, rc);
  }
  turns_.give(Line::kAccess);
  if (code != kNoError) {
    db_.close();
    turns_.detach();
    lock_.release();
    return false;
  }
  keysDropped_ = false;
  return succeed();
}

bool SqliteFile::close() {
  if (!db_.isOpen()) return true;
  const bool committed = s_.tx != Tx::kStream || commitWrites();
  if (!db_.autocommit()) db_.exec("ROLLBACK");
  turns_.detach();
  if (connectionKnown_)
    parkConnection(connection_, db_);
  else
    db_.close();
  lock_.release();
  return committed;
}

bool SqliteFile::copy(const std::string& name, const std::string& dest) {
  if (isServerName(dest)) {
    setError(kErrBadRequest, 0, "a file is copied to a file; a server's store is filled row by row");
    return false;
  }
  return copyWholeFile(name, dest) == kNoError;
}

bool SqliteFile::buildClosed(const std::string& path, const Secret& owner) {
  if (!fileExists(path)) return failWith(kErrNotFound);
  FileLock lock;
  switch (lock.acquire(path, true, 0)) {
    case FileLock::Result::kLocked:
      break;
    case FileLock::Result::kBusy:
      return failWith(kErrLocked);
    case FileLock::Result::kError:
      reportErrno(lock.error(), FileLock::lockName(path));
      return false;
  }
  Db db;
  int code = connect(db, path, owner.view(), false, false);
  bool keysValid = false;
  if (code == kNoError) code = checkLayout(db, s_.schema, &keysValid);
  if (code != kNoError) return false;
  int rc = rebuildKeys(db, s_.schema, false);
  if (rc != kSqlOk) {
    reportSqlFailure(&db, rc);
    return false;
  }
  return succeed();
}

// ---- Reading -----------------------------------------------------------------

bool SqliteFile::records(uint64_t& count) {
  OwnTurn turn(*this, false);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.countSql(), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  rc = stmt->step();
  if (rc != kSqlRow) return fail(rc);
  count = static_cast<uint64_t>(stmt->columnInt(0));
  return succeed();
}

Cursor::Fetch SqliteFile::fetch(Cursor& cursor, bool forward, const KeyTuple& pins, void* record, std::string& blob,
                                int64_t& row, int64_t& version) {
  OwnTurn turn(*this, false);
  if (!turn.ok()) return Cursor::Fetch::kError;
  return cursor.fetch(db_, s_.schema, forward, pins, record, blob, row, version);
}

bool SqliteFile::get(int key) {
  OwnTurn turn(*this, false);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.exactSql(key), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  KeyTuple values = keyTuple(s_.decl, key, s_.record);
  for (size_t j = 0; j < values.size(); ++j) bindValue(*stmt, static_cast<int>(j + 1), values[j]);
  return readOne(*stmt);
}

bool SqliteFile::readOne(Stmt& stmt) {
  int rc = stmt.step();
  if (rc == kSqlDone) return failWith(kErrNoRecord);
  if (rc != kSqlRow) return fail(rc);
  countRowRead();
  readRecord(stmt, Schema::kFirstFieldColumn, s_.decl, s_.record, s_.schema.blobColumn(), s_.blob);
  s_.becameCurrent(stmt.columnInt(Schema::kRowColumn), stmt.columnInt(Schema::kVersionColumn));
  return succeed();
}

bool SqliteFile::rowAt(int64_t row, int key, KeyTuple* values) {
  OwnTurn turn(*this, false);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.selectByRowSql(), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  stmt->bindInt(1, row);
  if (values == nullptr) return readOne(*stmt);
  rc = stmt->step();
  if (rc == kSqlDone) return failWith(kErrNoRecord);
  if (rc != kSqlRow) return fail(rc);
  countRowRead();
  *values = Cursor::tupleOf(*stmt, s_.schema, key);
  return true;
}

bool SqliteFile::readRange(const File::RangeRead& range) {
  RowSet& rows = *range.rows;
  OwnTurn turn(*this, false);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.rangeSql(range.key, range.components), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  const KeyTuple values = keyTuple(s_.decl, range.key, range.values);
  for (int j = 0; j < range.components; ++j) bindValue(*stmt, j + 1, values[static_cast<size_t>(j)]);
  while ((rc = stmt->step()) == kSqlRow) {
    countRowRead();
    const int64_t row = stmt->columnInt(Schema::kRowColumn);
    void* record = rows.add(std::to_string(row), row);
    readRecord(*stmt, Schema::kFirstFieldColumn, s_.decl, record, s_.schema.blobColumn(), rows.lastBlob());
  }
  if (rc != kSqlDone) return fail(rc);
  return true;
}

bool SqliteFile::readRanges(std::span<const File::RangeRead> ranges, int waitMillis) {
  // One read transaction, so that no writer comes between the ranges; when
  // the file stays busy past the wait, each is read on its own (as a walk
  // always could be).
  const bool together = s_.tx == Tx::kNone && ranges.size() > 1 && beginRead(waitMillis);
  if (together) s_.tx = Tx::kRead;
  bool ok = true;
  for (const File::RangeRead& range : ranges)
    if (!(ok = readRange(range))) break;
  if (together) {
    s_.tx = Tx::kNone;
    // What was read stands; ending a transaction that only read changes nothing.
    const int code = errorCode();
    const int driverCode = driverErrorCode();
    const std::string driverText = driverErrorText();
    endRead();
    if (!ok) setError(code, driverCode, driverText);
  }
  if (!ok) return false;
  return succeed();
}

// ---- Writing -------------------------------------------------------------

bool SqliteFile::add() {
  OwnTurn turn(*this, true);
  if (!turn.ok()) return false;
  return insert();
}

bool SqliteFile::insert() {
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.insertSql(), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  bindRecord(*stmt, 1, s_.decl, s_.record, s_.blob);
  rc = stmt->step();
  if (rc != kSqlDone) return fail(rc);
  s_.current = db_.lastInsertRowid();
  wrote_ = true;
  s_.watchArmed = false;
  s_.watchedRow = 0;
  s_.blobChanged = false;
  return succeed();
}

bool SqliteFile::append() {
  OwnTurn turn(*this, true);
  if (!turn.ok()) return false;
  if (!keysDropped_) {
    if (int rc = dropKeys(db_, s_.schema, inTransaction()); rc != kSqlOk) return fail(rc);
    wrote_ = true;
    keysDropped_ = true;
  }
  return insert();
}

bool SqliteFile::put(bool watched) {
  OwnTurn turn(*this, true);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.updateSql(watched), &rc);
  if (stmt == nullptr) return fail(rc);
  {
    StmtUse use(*stmt);
    bindRecord(*stmt, 1, s_.decl, s_.record, s_.blob);
    const int n = static_cast<int>(s_.decl.fields.size()) + (s_.decl.blob.empty() ? 0 : 1);
    stmt->bindInt(n + 1, s_.current);
    if (watched) stmt->bindInt(n + 2, s_.watchedVersion);
    rc = stmt->step();
    if (rc != kSqlDone) return fail(rc);
  }
  if (db_.changes() == 0) return explainMissedWrite();
  wrote_ = true;
  if (watched) ++s_.watchedVersion;
  s_.blobChanged = false;
  return succeed();
}

bool SqliteFile::del(bool watched) {
  OwnTurn turn(*this, true);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.deleteSql(watched), &rc);
  if (stmt == nullptr) return fail(rc);
  {
    StmtUse use(*stmt);
    stmt->bindInt(1, s_.current);
    if (watched) stmt->bindInt(2, s_.watchedVersion);
    rc = stmt->step();
    if (rc != kSqlDone) return fail(rc);
  }
  if (db_.changes() == 0) return explainMissedWrite();
  wrote_ = true;
  s_.current = 0;
  s_.watchedRow = 0;
  return succeed();
}

// A rewrite or delete of the current row touched nothing: the row is gone
// (33) or, watched, has another version now (89).
bool SqliteFile::explainMissedWrite() {
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.versionByRowSql(), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  stmt->bindInt(1, s_.current);
  rc = stmt->step();
  if (rc == kSqlRow) return failWith(kErrChanged);
  if (rc == kSqlDone) return failWith(kErrNoRecord);
  return fail(rc);
}

bool SqliteFile::build() {
  OwnTurn turn(*this, true);
  if (!turn.ok()) return false;
  wrote_ = true;
  int rc = rebuildKeys(db_, s_.schema, inTransaction());
  if (rc != kSqlOk) return fail(rc);
  keysDropped_ = false;
  return succeed();
}

bool SqliteFile::duplicateCheck(int key) {
  OwnTurn turn(*this, false);
  if (!turn.ok()) return false;
  int rc = kSqlOk;
  Stmt* stmt = db_.prepare(s_.schema.duplicateSql(key), &rc);
  if (stmt == nullptr) return fail(rc);
  StmtUse use(*stmt);
  KeyTuple values = keyTuple(s_.decl, key, s_.record);
  for (size_t j = 0; j < values.size(); ++j) bindValue(*stmt, static_cast<int>(j + 1), values[j]);
  stmt->bindInt(static_cast<int>(values.size() + 1), s_.current);
  rc = stmt->step();
  if (rc == kSqlRow) {
    countRowRead();
    setError(kErrDuplicateKey);
    return true;
  }
  if (rc != kSqlDone) return fail(rc);
  clearError();
  return false;
}

// ---- Bulk mode and transactions ---------------------------------------

bool SqliteFile::stream() {
  if (s_.tx == Tx::kNone) {
    if (!takeTurn(Line::kWriters, true, kBusyMillis)) return false;
    int rc = db_.exec("BEGIN IMMEDIATE");
    if (rc != kSqlOk) {
      turns_.give(Line::kWriters);
      return fail(rc);
    }
    s_.tx = Tx::kStream;
    wrote_ = false;
  }
  s_.streaming = true;
  return succeed();
}

// Ends the write transaction with COMMIT, its writes reaching the file in
// their turn on the access line. A failed commit leaves the transaction open
// (the driver's rollback aside), to be committed again or rolled back.
bool SqliteFile::commitWrites() {
  if (wrote_ && !takeTurn(Line::kAccess, true, kCommitWaitMillis)) return false;
  // Other programs' readers (outside the lines) are waited for as long.
  db_.setBusyTimeout(kCommitWaitMillis);
  const int rc = db_.exec("COMMIT");
  db_.setBusyTimeout(kBusyMillis);
  turns_.give(Line::kAccess);
  if (rc == kSqlOk || db_.autocommit()) {
    turns_.give(Line::kWriters);
    s_.tx = Tx::kNone;
  }
  if (rc != kSqlOk) return fail(rc);
  return true;
}

bool SqliteFile::flush() {
  s_.streaming = false;
  if (s_.tx != Tx::kStream) return succeed();
  if (!commitWrites()) {
    // Still in the transaction (readers held the file): stay streaming so
    // that a later flush or close can finish it.
    if (s_.tx == Tx::kStream) s_.streaming = true;
    return false;
  }
  return succeed();
}

bool SqliteFile::begin(int waitMillis) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMillis);
  if (!takeTurn(Line::kWriters, true, waitMillis)) return false;
  // Other programs' writers (outside the lines) are waited for in the time left.
  db_.setBusyTimeout(millisLeft(deadline));
  int rc = db_.exec("BEGIN IMMEDIATE");
  db_.setBusyTimeout(kBusyMillis);
  if (rc != kSqlOk) {
    turns_.give(Line::kWriters);
    return fail(rc);
  }
  s_.tx = Tx::kUser;
  wrote_ = false;
  return succeed();
}

bool SqliteFile::commit() {
  if (db_.autocommit()) {
    // The driver ended the transaction itself when a statement in it failed
    // (a damaged page, a full disk): its work is lost, and the commit says so.
    s_.tx = Tx::kNone;
    turns_.give(Line::kWriters);
    setError(kErrDriver, kSqlAbort, "the transaction was rolled back after an earlier error");
    return false;
  }
  if (!commitWrites()) return false;
  s_.streaming = false;
  return succeed();
}

bool SqliteFile::rollback() {
  s_.tx = Tx::kNone;
  s_.streaming = false;
  keysDropped_ = false;  // a drop inside the transaction went with it
  int rc = db_.autocommit() ? kSqlOk : db_.exec("ROLLBACK");
  turns_.give(Line::kAccess);
  turns_.give(Line::kWriters);
  if (rc != kSqlOk) return fail(rc);
  return succeed();
}

bool SqliteFile::beginRead(int waitMillis) {
  if (!takeTurn(Line::kAccess, false, waitMillis)) return false;
  int rc = db_.exec("BEGIN");
  if (rc != kSqlOk) {
    turns_.give(Line::kAccess);
    return fail(rc);
  }
  return succeed();
}

bool SqliteFile::endRead() {
  int rc = db_.autocommit() ? kSqlOk : db_.exec("COMMIT");
  if (rc != kSqlOk) db_.exec("ROLLBACK");
  turns_.give(Line::kAccess);
  if (rc != kSqlOk) return fail(rc);
  return succeed();
}

}  // namespace

std::unique_ptr<Backend> makeSqliteBackend(File::State& s) { return std::make_unique<SqliteFile>(s); }

bool sqliteStoreExists(const std::string& name) { return fileExists(name); }

bool removeSqliteStore(const std::string& name) {
  dropConnections(name);
  return removeWholeFile(name) == kNoError;
}

}  // namespace wevo::kf
