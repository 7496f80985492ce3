#include "platform/keyedfile/keyed_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <optional>

#include "platform/keyedfile/connection.h"
#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/file_lock.h"
#include "platform/keyedfile/key_cache.h"
#include "platform/keyedfile/keyed_file_state.h"
#include "platform/keyedfile/read_counter.h"
#include "platform/keyedfile/row_codec.h"
#include "platform/keyedfile/whole_file.h"
#include "wevo/text.h"

namespace wevo::kf {
namespace {

constexpr const char* kMetaLayout = "layout";
constexpr const char* kMetaKeys = "keys";
constexpr const char* kKeysValid = "valid";
constexpr const char* kKeysInvalid = "invalid";
constexpr int kMaxRecoverSeconds = 3600;

bool fail(File::State& s, int rc) {
  reportSqlFailure(&s.db, rc);
  return false;
}

bool failWith(int code) {
  setError(code);
  return false;
}

bool succeed() {
  clearError();
  return true;
}

bool requireOpen(const File::State& s) {
  if (!s.open) return failWith(kErrNotOpen);
  return true;
}

bool requireWritable(const File::State& s) {
  if (!requireOpen(s)) return false;
  if (s.readOnly) {
    setError(kErrAccessDenied, 0, "the file is open for reading only");
    return false;
  }
  return true;
}

bool requireKey(const File::State& s, int key, bool physicalAllowed) {
  if (!s.schema.validKey(key) || (key < 0 && !physicalAllowed)) {
    setError(kErrBadRequest, 0, "no key number " + std::to_string(key));
    return false;
  }
  return true;
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

std::optional<int64_t> parsePosition(std::string_view position) {
  position = text::clip(position);
  int64_t row = 0;
  auto [end, ec] = std::from_chars(position.data(), position.data() + position.size(), row);
  if (ec != std::errc() || end != position.data() + position.size() || row <= 0) return std::nullopt;
  return row;
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

}  // namespace

File::File(const FileDecl& decl, void* record) : s_(std::make_unique<State>(decl, record)) {}

// Closing on the way out leaves the thread's error state alone: it still
// tells the caller about the last operation.
File::~File() { s_->shutdown(); }

const FileDecl& File::decl() const { return s_->decl; }
void* File::record() const { return s_->record; }

void File::setName(std::string_view name) { s_->name = std::string(text::clip(name)); }
void File::setOwner(std::string_view owner) { s_->owner = Secret(text::clip(owner)); }
void File::useDeclaredName() { s_->name.reset(); }
void File::useDeclaredOwner() { s_->owner.reset(); }

std::string File::name() const {
  if (s_->name) return *s_->name;
  return s_->decl.name ? std::string(text::clip(s_->decl.name())) : std::string();
}

Secret File::owner() const {
  if (s_->owner) return *s_->owner;
  if (!s_->decl.owner) return Secret();
  const Secret declared = s_->decl.owner();
  return Secret(text::clip(declared.view()));
}

bool File::isOpen() const { return s_->open; }

bool File::create() {
  State& s = *s_;
  if (s.open) return failWith(kErrAlreadyOpen);
  if (!s.schema.usable()) {
    setError(kErrBadRequest, 0, s.schema.problem());
    return false;
  }
  const std::string path = name();
  if (path.empty()) return failWith(kErrNotFound);
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
  if (!buildEmpty(s.schema, path, owner())) return false;
  return succeed();
}

bool File::createIfMissing(bool* created) {
  State& s = *s_;
  if (created != nullptr) *created = false;
  if (s.open) return failWith(kErrAlreadyOpen);
  if (!s.schema.usable()) {
    setError(kErrBadRequest, 0, s.schema.problem());
    return false;
  }
  const std::string path = name();
  if (path.empty()) return failWith(kErrNotFound);
  if (fileExists(path)) return succeed();
  removeDeadCreators(path);
  static std::atomic<unsigned> serial{0};
  const std::string temp = creatorPrefix(path) + std::to_string(::getpid()) + "." + std::to_string(serial.fetch_add(1));
  if (!buildEmpty(s.schema, temp, owner())) return false;
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

bool File::open(int mode) {
  State& s = *s_;
  if (s.open) return failWith(kErrAlreadyOpen);
  if (!s.schema.usable()) {
    setError(kErrBadRequest, 0, s.schema.problem());
    return false;
  }
  const std::string path = name();
  if (!fileExists(path)) return failWith(kErrNotFound);
  const bool exclusive = (mode & 0xf0) != kDenyNone;
  const bool readOnly = (mode & 0x0f) == kReadOnly;
  const int waitMillis = s.recoverSeconds * 1000;
  s.recoverSeconds = 0;
  switch (s.lock.acquire(path, exclusive, waitMillis)) {
    case FileLock::Result::kLocked:
      break;
    case FileLock::Result::kBusy:
      return failWith(kErrLocked);
    case FileLock::Result::kError:
      reportErrno(s.lock.error(), FileLock::lockName(path));
      return false;
  }
  const Secret password = owner();
  s.connection = ConnectionKey::of(path, password.view(), readOnly, &s.connectionKnown);
  // A connection this thread made on this very file earlier is taken back
  // with its statements and pages; the layout and keys are checked anew.
  const bool reused = s.connectionKnown && takeConnection(s.connection, s.db);
  int code = reused ? kNoError : connect(s.db, path, password.view(), false, readOnly);
  bool keysValid = false;
  if (code == kNoError) code = checkLayout(s.db, s.schema, &keysValid);
  if (code == kNoError && !keysValid) {
    setError(kErrKeysDamaged);
    code = kErrKeysDamaged;
  }
  if (code == kNoError && !readOnly && !reused) {
    if (int rc = s.db.exec("PRAGMA journal_mode=DELETE"); rc != kSqlOk) code = reportSqlFailure(&s.db, rc);
  }
  if (code != kNoError) {
    s.db.close();
    s.lock.release();
    return false;
  }
  s.open = true;
  s.readOnly = readOnly;
  s.resetPosition();
  s.tx = State::Tx::kNone;
  s.streaming = false;
  s.keysDropped = false;
  return succeed();
}

bool File::close() {
  State& s = *s_;
  if (!s.open) return true;  // nothing done: the last operation's error stays readable
  if (s.shutdown()) return succeed();
  return false;
}

bool File::State::shutdown() {
  if (!open) return true;
  int rc = kSqlOk;
  if (tx == Tx::kStream) rc = db.exec("COMMIT");
  if (rc != kSqlOk) reportSqlFailure(&db, rc);
  if (!db.autocommit()) db.exec("ROLLBACK");
  if (connectionKnown)
    parkConnection(connection, db);
  else
    db.close();
  lock.release();
  open = false;
  tx = Tx::kNone;
  streaming = false;
  resetPosition();
  return rc == kSqlOk;
}

bool File::send(std::string_view command) {
  std::string c = text::upper(text::clip(command));
  size_t start = c.find_first_not_of(' ');
  c = start == std::string::npos ? std::string() : c.substr(start);
  constexpr std::string_view kRecover = "RECOVER=";
  if (c.rfind(kRecover, 0) == 0) {
    int seconds = -1;
    const char* first = c.data() + kRecover.size();
    auto [end, ec] = std::from_chars(first, c.data() + c.size(), seconds);
    if (ec == std::errc() && end == c.data() + c.size() && seconds >= 0 && seconds <= kMaxRecoverSeconds) {
      s_->recoverSeconds = seconds;
      return succeed();
    }
  }
  setError(kErrBadRequest, 0, "unknown driver command: " + std::string(command));
  return false;
}

bool File::copy(const std::string& dest) {
  if (s_->open) return failWith(kErrAlreadyOpen);
  return copyWholeFile(name(), dest) == kNoError;
}

bool File::remove() {
  if (s_->open) return failWith(kErrAlreadyOpen);
  return removeFile(name());
}

bool File::exists(const std::string& name) { return fileExists(name); }

bool File::removeFile(const std::string& name) {
  dropConnections(name);
  return removeWholeFile(name) == kNoError;
}

bool File::records(uint64_t& count) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  int rc = kSqlOk;
  Stmt* stmt = s.db.prepare(s.schema.countSql(), &rc);
  if (stmt == nullptr) return fail(s, rc);
  StmtUse use(*stmt);
  rc = stmt->step();
  if (rc != kSqlRow) return fail(s, rc);
  count = static_cast<uint64_t>(stmt->columnInt(0));
  return succeed();
}

// ---- Sequential reading ------------------------------------------------

bool File::set(int key) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, false)) return false;
  s.cursor.start(key);
  return succeed();
}

bool File::setAt(int key) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, false)) return false;
  s.cursor.startAt(key, keyTuple(s.decl, key, s.record));
  return succeed();
}

bool File::setPhysical() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  s.cursor.start(kPhysical);
  return succeed();
}

bool File::next() { return s_->read(true, {}); }
bool File::previous() { return s_->read(false, {}); }

bool File::State::read(bool forward, const KeyTuple& pins) {
  if (!requireOpen(*this)) return false;
  if (!cursor.active()) return failWith(kErrNoRecord);
  int64_t row = 0, version = 0;
  switch (cursor.fetch(db, schema, forward, pins, record, blob, row, version)) {
    case Cursor::Fetch::kRow:
      becameCurrent(row, version);
      return succeed();
    case Cursor::Fetch::kEnd:
      return failWith(kErrNoRecord);
    case Cursor::Fetch::kError:
      break;
  }
  return false;
}

void File::State::becameCurrent(int64_t row, int64_t version) {
  current = row;
  blobChanged = false;
  // Only the read that watch() armed is watched; any later read ends it.
  watchedRow = watchArmed ? row : 0;
  watchedVersion = version;
  watchArmed = false;
}

void File::State::resetPosition() {
  cursor.clear();
  current = 0;
  watchArmed = false;
  watchedRow = 0;
  blob.clear();
  blobChanged = false;
}

bool File::get(int key) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, false)) return false;
  int rc = kSqlOk;
  Stmt* stmt = s.db.prepare(s.schema.exactSql(key), &rc);
  if (stmt == nullptr) return fail(s, rc);
  StmtUse use(*stmt);
  KeyTuple values = keyTuple(s.decl, key, s.record);
  for (size_t j = 0; j < values.size(); ++j) bindValue(*stmt, static_cast<int>(j + 1), values[j]);
  return s.readOne(*stmt);
}

bool File::State::readOne(Stmt& stmt) {
  int rc = stmt.step();
  if (rc == kSqlDone) return failWith(kErrNoRecord);
  if (rc != kSqlRow) return fail(*this, rc);
  countRowRead();
  readRecord(stmt, Schema::kFirstFieldColumn, decl, record, schema.blobColumn(), blob);
  becameCurrent(stmt.columnInt(Schema::kRowColumn), stmt.columnInt(Schema::kVersionColumn));
  return succeed();
}

std::string File::position() const { return position(kPhysical); }

std::string File::position(int key) const {
  const State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, true)) return {};
  if (s.current == 0) {
    setError(kErrNoRecord);
    return {};
  }
  clearError();
  return std::to_string(s.current);
}

bool File::reset(int key, std::string_view position) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, true)) return false;
  KeyTuple values;
  int64_t row = 0;
  if (!s.locate(key, position, values, row)) return false;
  s.cursor.startAtRow(key, std::move(values), row);
  return succeed();
}

bool File::State::locate(int key, std::string_view position, KeyTuple& values, int64_t& row) {
  std::optional<int64_t> parsed = parsePosition(position);
  if (!parsed) return failWith(kErrNoRecord);
  int rc = kSqlOk;
  Stmt* stmt = db.prepare(schema.selectByRowSql(), &rc);
  if (stmt == nullptr) return fail(*this, rc);
  StmtUse use(*stmt);
  stmt->bindInt(1, *parsed);
  rc = stmt->step();
  if (rc == kSqlDone) return failWith(kErrNoRecord);
  if (rc != kSqlRow) return fail(*this, rc);
  countRowRead();
  values = Cursor::tupleOf(*stmt, schema, key);
  row = *parsed;
  return true;
}

bool File::reget(std::string_view position) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  std::optional<int64_t> row = parsePosition(position);
  if (!row) return failWith(kErrNoRecord);
  int rc = kSqlOk;
  Stmt* stmt = s.db.prepare(s.schema.selectByRowSql(), &rc);
  if (stmt == nullptr) return fail(s, rc);
  StmtUse use(*stmt);
  stmt->bindInt(1, *row);
  return s.readOne(*stmt);
}

// ---- Writing -----------------------------------------------------------

bool File::add() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  return s.insert();
}

bool File::State::insert() {
  int rc = kSqlOk;
  Stmt* stmt = db.prepare(schema.insertSql(), &rc);
  if (stmt == nullptr) return fail(*this, rc);
  StmtUse use(*stmt);
  bindRecord(*stmt, 1, decl, record, blob);
  rc = stmt->step();
  if (rc != kSqlDone) return fail(*this, rc);
  current = db.lastInsertRowid();
  watchArmed = false;
  watchedRow = 0;
  blobChanged = false;
  return succeed();
}

bool File::append() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  if (!s.keysDropped) {
    if (int rc = dropKeys(s.db, s.schema, s.tx != State::Tx::kNone); rc != kSqlOk) return fail(s, rc);
    s.keysDropped = true;
  }
  return s.insert();
}

bool File::put() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  if (s.current == 0) return failWith(kErrNoRecord);
  const bool watched = s.watchedRow == s.current;
  int rc = kSqlOk;
  Stmt* stmt = s.db.prepare(s.schema.updateSql(watched), &rc);
  if (stmt == nullptr) return fail(s, rc);
  {
    StmtUse use(*stmt);
    bindRecord(*stmt, 1, s.decl, s.record, s.blob);
    const int n = static_cast<int>(s.decl.fields.size()) + (s.decl.blob.empty() ? 0 : 1);
    stmt->bindInt(n + 1, s.current);
    if (watched) stmt->bindInt(n + 2, s.watchedVersion);
    rc = stmt->step();
    if (rc != kSqlDone) return fail(s, rc);
  }
  if (s.db.changes() == 0) return s.explainMissedWrite();
  if (watched) ++s.watchedVersion;
  s.blobChanged = false;
  return succeed();
}

bool File::del() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  if (s.current == 0) return failWith(kErrNoRecord);
  const bool watched = s.watchedRow == s.current;
  int rc = kSqlOk;
  Stmt* stmt = s.db.prepare(s.schema.deleteSql(watched), &rc);
  if (stmt == nullptr) return fail(s, rc);
  {
    StmtUse use(*stmt);
    stmt->bindInt(1, s.current);
    if (watched) stmt->bindInt(2, s.watchedVersion);
    rc = stmt->step();
    if (rc != kSqlDone) return fail(s, rc);
  }
  if (s.db.changes() == 0) return s.explainMissedWrite();
  s.current = 0;
  s.watchedRow = 0;
  return succeed();
}

// A rewrite or delete of the current row touched nothing: the row is gone
// (33) or, watched, has another version now (89).
bool File::State::explainMissedWrite() {
  int rc = kSqlOk;
  Stmt* stmt = db.prepare(schema.versionByRowSql(), &rc);
  if (stmt == nullptr) return fail(*this, rc);
  StmtUse use(*stmt);
  stmt->bindInt(1, current);
  rc = stmt->step();
  if (rc == kSqlRow) return failWith(kErrChanged);
  if (rc == kSqlDone) return failWith(kErrNoRecord);
  return fail(*this, rc);
}

bool File::build() {
  State& s = *s_;
  if (s.open) {
    if (!requireWritable(s)) return false;
    int rc = rebuildKeys(s.db, s.schema, s.tx != State::Tx::kNone);
    if (rc != kSqlOk) return fail(s, rc);
    s.keysDropped = false;
    return succeed();
  }
  if (!s.schema.usable()) {
    setError(kErrBadRequest, 0, s.schema.problem());
    return false;
  }
  const std::string path = name();
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
  int code = connect(db, path, owner().view(), false, false);
  bool keysValid = false;
  if (code == kNoError) code = checkLayout(db, s.schema, &keysValid);
  if (code != kNoError) return false;
  int rc = rebuildKeys(db, s.schema, false);
  if (rc != kSqlOk) {
    reportSqlFailure(&db, rc);
    return false;
  }
  return succeed();
}

bool File::duplicateCheck(int key) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, false)) return false;
  int rc = kSqlOk;
  Stmt* stmt = s.db.prepare(s.schema.duplicateSql(key), &rc);
  if (stmt == nullptr) return fail(s, rc);
  StmtUse use(*stmt);
  KeyTuple values = keyTuple(s.decl, key, s.record);
  for (size_t j = 0; j < values.size(); ++j) bindValue(*stmt, static_cast<int>(j + 1), values[j]);
  stmt->bindInt(static_cast<int>(values.size() + 1), s.current);
  rc = stmt->step();
  if (rc == kSqlRow) {
    countRowRead();
    setError(kErrDuplicateKey);
    return true;
  }
  if (rc != kSqlDone) return fail(s, rc);
  clearError();
  return false;
}

// ---- Bulk mode and transactions ---------------------------------------

bool File::stream() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.streaming) return succeed();
  if (s.tx == State::Tx::kNone) {
    int rc = s.db.exec("BEGIN IMMEDIATE");
    if (rc != kSqlOk) return fail(s, rc);
    s.tx = State::Tx::kStream;
  }
  s.streaming = true;
  return succeed();
}

bool File::flush() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (!s.streaming) return succeed();
  s.streaming = false;
  if (s.tx != State::Tx::kStream) return succeed();
  int rc = s.db.exec("COMMIT");
  if (rc != kSqlOk) {
    // Still in the transaction (a reader held the file): stay streaming so
    // that a later flush or close can finish it.
    if (!s.db.autocommit()) {
      s.streaming = true;
    } else {
      s.tx = State::Tx::kNone;
    }
    return fail(s, rc);
  }
  s.tx = State::Tx::kNone;
  return succeed();
}

bool File::begin(int waitSeconds) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != State::Tx::kNone) return failWith(kErrTransactionActive);
  s.txWaitMillis = waitSeconds > 0 ? waitSeconds * 1000 : 0;
  s.db.setBusyTimeout(s.txWaitMillis);
  int rc = s.db.exec("BEGIN IMMEDIATE");
  s.db.setBusyTimeout(kBusyMillis);
  if (rc != kSqlOk) return fail(s, rc);
  s.tx = State::Tx::kUser;
  return succeed();
}

bool File::commit() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != State::Tx::kUser) return failWith(kErrNoTransaction);
  if (s.db.autocommit()) {
    // The driver ended the transaction itself when a statement in it failed
    // (a damaged page, a full disk): its work is lost, and the commit says so.
    s.tx = State::Tx::kNone;
    setError(kErrDriver, kSqlAbort, "the transaction was rolled back after an earlier error");
    return false;
  }
  // Readers still in the file hold the commit up; it waits for them as long
  // as the transaction waited to begin.
  s.db.setBusyTimeout(s.txWaitMillis);
  int rc = s.db.exec("COMMIT");
  s.db.setBusyTimeout(kBusyMillis);
  if (rc != kSqlOk) {
    if (s.db.autocommit()) s.tx = State::Tx::kNone;
    return fail(s, rc);
  }
  s.tx = State::Tx::kNone;
  s.streaming = false;
  return succeed();
}

bool File::rollback() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != State::Tx::kUser) return failWith(kErrNoTransaction);
  s.tx = State::Tx::kNone;
  s.streaming = false;
  s.keysDropped = false;  // a drop inside the transaction went with it
  if (s.db.autocommit()) return succeed();
  int rc = s.db.exec("ROLLBACK");
  if (rc != kSqlOk) return fail(s, rc);
  return succeed();
}

bool File::watch() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  s.watchArmed = true;
  return succeed();
}

// ---- Blob ----------------------------------------------------------------

std::string File::blobGet() const { return s_->blob; }

bool File::blobSet(std::string_view bytes) {
  if (s_->decl.blob.empty()) {
    setError(kErrBadRequest, 0, "the file has no blob");
    return false;
  }
  s_->blob.assign(bytes);
  s_->blobChanged = true;
  return succeed();
}

size_t File::blobSize() const { return s_->blob.size(); }

bool File::blobSetSize(size_t size) {
  if (s_->decl.blob.empty()) {
    if (size == 0) return succeed();
    setError(kErrBadRequest, 0, "the file has no blob");
    return false;
  }
  s_->blob.resize(size, '\0');
  s_->blobChanged = true;
  return succeed();
}

bool File::blobChanged() const { return s_->blobChanged; }

}  // namespace wevo::kf
