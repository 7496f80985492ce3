#include "platform/keyedfile/pg_file.h"

#include <algorithm>
#include <optional>

#include "platform/keyedfile/connection.h"
#include "platform/keyedfile/connection_pool.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/fair_lock.h"
#include "platform/keyedfile/keyed_file_state.h"
#include "platform/keyedfile/pg_codec.h"
#include "platform/keyedfile/pg_connection.h"
#include "platform/keyedfile/pg_sql.h"
#include "platform/keyedfile/read_counter.h"
#include "platform/keyedfile/server_name.h"

namespace wevo::kf {
namespace {

using Tx = File::State::Tx;

// A lock another opener holds is waited for this long even when the open
// asks for no wait: a station's lock is given back with its next statement,
// not waited for, and may reach the server a moment after it closed.
constexpr int kGraceMillis = 250;

const std::string kBeginRead = "BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY";
// Writers are kept in line by the writers' lock, taken in every write
// transaction: each statement sees what the writers before it committed.
const std::string kBeginWrite = "BEGIN ISOLATION LEVEL READ COMMITTED";
const std::string kCommit = "COMMIT";
const std::string kRollback = "ROLLBACK";
const std::string kSetLockWait = "SELECT pg_catalog.set_config('lock_timeout', $1, false)";
const std::string kSetStoreSchema = "SELECT pg_catalog.set_config('wevo.schema', $1, true)";
// A lock held to the end of the transaction: the writers' own, or (for
// work on the whole store) the openers' lock alone.
const std::string kXactLock = "SELECT pg_catalog.pg_advisory_xact_lock($1)";
const std::string kLockShared = "SELECT pg_catalog.pg_advisory_lock_shared($1)";
const std::string kLockExclusive = "SELECT pg_catalog.pg_advisory_lock($1)";
const std::string kUnlockShared = "SELECT pg_catalog.pg_advisory_unlock_shared($1)";
const std::string kUnlockExclusive = "SELECT pg_catalog.pg_advisory_unlock($1)";

// The advisory lock that stands for one of a store's locks: the opener's
// (access modes), the writers' (transactions), the creators'. The store is
// its schema: one per database.
int64_t lockKey(const char* kind, const std::string& schema) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (const std::string_view part : {std::string_view("wevo "), std::string_view(kind), std::string_view(" "),
                                      std::string_view(schema)})
    for (char c : part) {
      h ^= static_cast<unsigned char>(c);
      h *= 1099511628211ull;
    }
  return static_cast<int64_t>(h);
}

PgValue millis(int ms) { return PgValue::text(std::to_string(std::max(ms, 1))); }

// The first `count` (all: -1) component values of `key` in `record`, as
// parameters.
std::vector<PgValue> keyParams(const FileDecl& decl, int key, const void* record, int count = -1) {
  std::vector<PgValue> params;
  const KeyTuple values = keyTuple(decl, key, record);
  for (size_t j = 0; j < values.size() && (count < 0 || static_cast<int>(j) < count); ++j)
    params.push_back(pgValue(values[j]));
  return params;
}

// A statement that is not one of the store's own failed: a missing table or
// schema means no store there.
int reportStoreFailure(const PgResult& r) {
  const std::string state = r.sqlState();
  if (state == "42P01" || state == "3F000") {
    setError(kErrNotFound, 0, r.message());
    return kErrNotFound;
  }
  return reportPgFailure(r);
}

// A connection to a store for work on the store as a whole: a parked one of
// this thread, or a new one; parked again when the work is done.
class Session {
 public:
  Session(const std::string& name, const Secret& owner) : name_(name), owner_(owner) {}
  ~Session() {
    if (c_ != nullptr) parkServerConnection(name_, owner_.view(), std::move(c_));
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // False with the error set (2 a name without a schema; the connection's).
  bool start() {
    where_ = parseServerStoreName(name_);
    if (!where_) {
      setError(kErrNotFound, 0, "the store's name names no schema after '#'");
      return false;
    }
    parked_ = takeServerConnection(name_, owner_.view(), c_);
    return parked_ || connectAnew();
  }
  // Runs the batch `fill` makes; null (error set) when the connection
  // failed. A parked connection that turns out to be gone (the server
  // restarted meanwhile) is replaced once.
  template <typename Fill>
  PgBatch* run(Fill fill, int waitMillis = 0) {
    for (;;) {
      batch_.emplace(*c_);
      fill(*batch_);
      if (batch_->run(waitMillis)) {
        parked_ = false;
        return &*batch_;
      }
      if (!parked_) return nullptr;
      parked_ = false;
      if (!connectAnew()) return nullptr;
    }
  }
  // Ends the transaction the session's batches began, after a failure.
  void rollBack() {
    if (c_ != nullptr) c_->sendAndForget(kRollback);
  }
  PgConnection& connection() { return *c_; }
  const ServerStore& where() const { return *where_; }
  std::unique_ptr<PgConnection> take() { return std::move(c_); }

 private:
  bool connectAnew() {
    c_ = std::make_unique<PgConnection>();
    if (c_->connect(where_->uri, where_->schema, owner_) == kNoError) return true;
    c_.reset();
    return false;
  }

  const std::string& name_;
  const Secret& owner_;
  std::optional<ServerStore> where_;
  std::unique_ptr<PgConnection> c_;
  std::optional<PgBatch> batch_;
  bool parked_ = false;
};

class PgFile final : public Backend {
 public:
  explicit PgFile(File::State& s) : Backend(s), sql_(s.schema) {}
  ~PgFile() override { close(); }

  bool serves(const std::string& name) const override { return isServerName(name); }

  bool create(const std::string& name, const Secret& owner) override;
  bool createIfMissing(const std::string& name, const Secret& owner, bool* created) override;
  bool open(const std::string& name, const Secret& owner, int mode, int waitMillis) override;
  bool buildClosed(const std::string& name, const Secret& owner) override;
  bool copy(const std::string&, const std::string&) override {
    setError(kErrBadRequest, 0, "a store on a server is not copied whole; its rows are copied one by one");
    return false;
  }

  bool close() override;
  bool records(uint64_t& count) override;
  Cursor::Fetch fetch(Cursor& cursor, bool forward, const KeyTuple& pins, void* record, std::string& blob,
                      int64_t& row, int64_t& version) override;
  bool get(int key) override;
  bool rowAt(int64_t row, int key, KeyTuple* values) override;
  bool readRanges(std::span<const File::RangeRead> ranges, int waitMillis) override;
  bool add() override { return insert(); }
  bool append() override;
  bool put(bool watched) override;
  bool del(bool watched) override;
  bool build() override;
  bool duplicateCheck(int key) override;
  bool stream() override;
  bool flush() override;
  bool begin(int waitMillis) override { return beginWrite(waitMillis, Tx::kUser); }
  bool commit() override;
  bool rollback() override;
  bool beginRead(int) override;
  bool endRead() override;

 private:
  // Before each operation on the open store: a connection that broke is
  // replaced, and the store's lock taken again, while no transaction
  // depended on it; otherwise false with the error set (100; 90 for a
  // transaction that failed before).
  bool ready();
  // Runs the batch; false with the error of the first statement that failed
  // (a transaction is then lost on the server, and said to be).
  bool run(PgBatch& b, int waitMillis = 0);
  // The BEGIN of a read transaction whose first read this is.
  void startRead(PgBatch& b);
  // For a write outside a transaction: the writers' lock, held until the
  // write's own commit (the batch is one transaction).
  void holdWriters(PgBatch& b);
  // The statements that take the opener's lock in the open's mode.
  void lockOpener(PgBatch& b, int waitMillis);
  // Sends the ending of the open transaction, not waited for.
  void endOnServer(const std::string& how);
  bool beginWrite(int waitMillis, Tx kind);
  bool insert();
  // A rewrite or delete that touched nothing: gone (33), changed (89), or
  // its new values would take another row's unique key (40).
  bool explainMissedWrite(bool watched);
  bool keysStatements(PgBatch& b, bool drop, bool create, const char* state);

  PgSql sql_;
  std::unique_ptr<PgConnection> conn_;
  std::string name_;
  ServerStore where_;
  Secret password_;
  bool exclusive_ = false;
  int64_t openKey_ = 0, writeKey_ = 0;
  bool readBegun_ = false;  // the read transaction's BEGIN was sent
  bool txFailed_ = false;   // the open transaction is lost on the server
  bool keysDropped_ = false;
};

// ---- The store as a whole --------------------------------------------------

bool PgFile::create(const std::string& name, const Secret& owner) {
  Session session(name, owner);
  if (!session.start()) return false;
  const std::string& schema = session.where().schema;
  PgBatch* b = session.run([&](PgBatch& batch) {
    batch.addOnce(kBeginWrite);
    batch.add(kSetLockWait, {millis(kGraceMillis)});
    batch.add(kXactLock, {PgValue::integer(lockKey("open", schema))});
    batch.add(kSetStoreSchema, {PgValue::text(schema)});
    batch.addOnce(PgSql::createSchemaSql());
    batch.addOnce(PgSql::dropStoreSql());
    batch.addOnce("DROP TABLE IF EXISTS \"" + s_.decl.label + "\"");
    for (const std::string& st : sql_.tableStatements()) batch.addOnce(st);
    for (const std::string& st : sql_.createIndexStatements()) batch.addOnce(st);
    batch.add(PgSql::writeMetaSql(), {PgValue::text(Schema::kMetaLayout), PgValue::text(s_.schema.signature())});
    batch.add(PgSql::writeMetaSql(), {PgValue::text(Schema::kMetaKeys), PgValue::text(Schema::kKeysValid)});
    batch.addOnce(kCommit);
  });
  if (b == nullptr) return false;
  if (const int f = b->failed(); f >= 0) {
    session.rollBack();
    reportPgFailure(b->result(f));
    return false;
  }
  dropServerConnections(name);
  return succeed();
}

bool PgFile::createIfMissing(const std::string& name, const Secret& owner, bool* created) {
  Session session(name, owner);
  if (!session.start()) return false;
  const std::string& schema = session.where().schema;
  PgBatch* b = session.run([&](PgBatch& batch) { batch.add(PgSql::existsSql()); });
  if (b == nullptr) return false;
  if (const int f = b->failed(); f >= 0) {
    reportPgFailure(b->result(f));
    return false;
  }
  if (b->result(0).integer(0, 0) != 0) return succeed();
  // Stations that find the store missing together make it one after the
  // other: the first makes it, the others find it made.
  int layout = -1;
  b = session.run([&](PgBatch& batch) {
    batch.addOnce(kBeginWrite);
    batch.add(kSetLockWait, {millis(kBusyMillis)});
    batch.add(kXactLock, {PgValue::integer(lockKey("create", schema))});
    batch.add(kSetStoreSchema, {PgValue::text(schema)});
    batch.addOnce(PgSql::createSchemaSql());
    for (const std::string& st : sql_.tableStatements()) batch.addOnce(st);
    for (const std::string& st : sql_.createIndexStatements()) batch.addOnce(st);
    layout = batch.add(PgSql::addMetaSql(), {PgValue::text(Schema::kMetaLayout), PgValue::text(s_.schema.signature())});
    batch.add(PgSql::addMetaSql(), {PgValue::text(Schema::kMetaKeys), PgValue::text(Schema::kKeysValid)});
    batch.addOnce(kCommit);
  });
  if (b == nullptr) return false;
  if (const int f = b->failed(); f >= 0) {
    session.rollBack();
    reportPgFailure(b->result(f));
    return false;
  }
  if (created != nullptr) *created = b->result(layout).rows() > 0;
  return succeed();
}

bool PgFile::open(const std::string& name, const Secret& owner, int mode, int waitMillis) {
  Session session(name, owner);
  if (!session.start()) return false;
  const std::string& schema = session.where().schema;
  exclusive_ = (mode & 0xf0) != kDenyNone;
  openKey_ = lockKey("open", schema);
  writeKey_ = lockKey("write", schema);
  int lock = -1;
  PgBatch* b = nullptr;
  {
    const TurnWait waited;
    b = session.run(
        [&](PgBatch& batch) {
          batch.add(PgSql::readMetaSql());
          lockOpener(batch, waitMillis);
          lock = static_cast<int>(batch.size()) - 1;
          // What waits for a lock later (a table a load holds) waits as
          // any operation does.
          batch.add(kSetLockWait, {millis(kBusyMillis)});
        },
        waitMillis);
  }
  if (b == nullptr) return false;
  const PgResult& meta = b->result(0);
  if (!meta.ok()) {
    reportStoreFailure(meta);
    return false;
  }
  const PgResult& locked = b->result(lock);
  if (!locked.ok()) {
    reportPgFailure(locked);
    if (errorCode() == kErrLocked)
      setError(kErrLocked, driverErrorCode(),
               exclusive_ ? "other stations have the store open" : "another station has the store open alone");
    return false;
  }
  int code = kNoError;
  if (meta.isNull(0, 0) || fromServerText(meta.bytes(0, 0)) != s_.schema.signature()) {
    setError(kErrLayout, 0, meta.isNull(0, 0) ? "no layout recorded" : "store layout: " + fromServerText(meta.bytes(0, 0)));
    code = kErrLayout;
  } else if (fromServerText(meta.bytes(0, 1)) != Schema::kKeysValid) {
    setError(kErrKeysDamaged);
    code = kErrKeysDamaged;
  }
  if (code != kNoError) {
    session.connection().sendAndForget(exclusive_ ? kUnlockExclusive : kUnlockShared, {PgValue::integer(openKey_)});
    return false;
  }
  conn_ = session.take();
  name_ = name;
  where_ = session.where();
  password_ = owner;
  readBegun_ = false;
  txFailed_ = false;
  keysDropped_ = false;
  return succeed();
}

bool PgFile::buildClosed(const std::string& name, const Secret& owner) {
  Session session(name, owner);
  if (!session.start()) return false;
  const std::string& schema = session.where().schema;
  PgBatch* b = session.run([&](PgBatch& batch) {
    batch.addOnce(kBeginWrite);
    batch.add(kSetLockWait, {millis(kGraceMillis)});
    batch.add(kXactLock, {PgValue::integer(lockKey("open", schema))});
    batch.add(PgSql::readMetaSql());
  });
  if (b == nullptr) return false;
  PgConnection& c = session.connection();
  if (const int f = b->failed(); f >= 0) {
    session.rollBack();
    if (f == 3)
      reportStoreFailure(b->result(f));
    else
      reportPgFailure(b->result(f));
    return false;
  }
  const PgResult& meta = b->result(3);
  if (meta.isNull(0, 0) || fromServerText(meta.bytes(0, 0)) != s_.schema.signature()) {
    session.rollBack();
    setError(kErrLayout, 0, "store layout differs");
    return false;
  }
  PgBatch rebuild(c);
  keysStatements(rebuild, true, true, Schema::kKeysValid);
  rebuild.addOnce(kCommit);
  if (!rebuild.run()) return false;
  if (const int f = rebuild.failed(); f >= 0) {
    session.rollBack();
    reportPgFailure(rebuild.result(f));
    return false;
  }
  return succeed();
}

bool PgFile::keysStatements(PgBatch& b, bool drop, bool create, const char* state) {
  if (drop)
    for (const std::string& st : sql_.dropIndexStatements()) b.addOnce(st);
  if (create)
    for (const std::string& st : sql_.createIndexStatements()) b.addOnce(st);
  b.add(PgSql::writeMetaSql(), {PgValue::text(Schema::kMetaKeys), PgValue::text(state)});
  return true;
}

// ---- The open store --------------------------------------------------------

void PgFile::lockOpener(PgBatch& b, int waitMillis) {
  b.add(kSetLockWait, {millis(std::max(waitMillis, kGraceMillis))});
  b.add(exclusive_ ? kLockExclusive : kLockShared, {PgValue::integer(openKey_)});
}

bool PgFile::ready() {
  if (conn_ == nullptr) return failWith(kErrNotOpen);
  if (txFailed_) {
    setError(kErrDriver, 0, "the transaction was rolled back after an earlier error");
    return false;
  }
  if (conn_->usable()) return true;
  if (s_.tx != Tx::kNone) {
    txFailed_ = true;
    setError(kErrConnection, 8006, "the connection to the server was lost with the transaction's work");
    return false;
  }
  // A new connection, holding the store as the open did.
  auto fresh = std::make_unique<PgConnection>();
  if (fresh->connect(where_.uri, where_.schema, password_) != kNoError) return false;
  PgBatch b(*fresh);
  lockOpener(b, 0);
  if (!b.run(kGraceMillis)) return false;
  if (const int f = b.failed(); f >= 0) {
    reportPgFailure(b.result(f));
    return false;
  }
  conn_ = std::move(fresh);
  readBegun_ = false;
  return true;
}

bool PgFile::run(PgBatch& b, int waitMillis) {
  const bool inTransaction = s_.tx != Tx::kNone;
  if (!b.run(waitMillis)) {
    if (inTransaction) txFailed_ = true;
    return false;
  }
  if (const int f = b.failed(); f >= 0) {
    reportPgFailure(b.result(f));
    // A statement that failed inside a transaction ended it on the server.
    if (inTransaction) txFailed_ = true;
    return false;
  }
  return true;
}

void PgFile::startRead(PgBatch& b) {
  if (s_.tx != Tx::kRead || readBegun_) return;
  b.addOnce(kBeginRead);
  readBegun_ = true;
}

void PgFile::holdWriters(PgBatch& b) {
  if (s_.tx != Tx::kNone) return;
  b.add(kSetLockWait, {millis(kBusyMillis)});
  b.add(kXactLock, {PgValue::integer(writeKey_)});
}

void PgFile::endOnServer(const std::string& how) {
  if (conn_ != nullptr) conn_->sendAndForget(how);
}

bool PgFile::close() {
  if (conn_ == nullptr) return true;
  bool committed = true;
  if (s_.tx == Tx::kStream) {
    committed = commit();
  } else if (s_.tx == Tx::kUser || (s_.tx == Tx::kRead && readBegun_)) {
    endOnServer(kRollback);
  }
  conn_->sendAndForget(exclusive_ ? kUnlockExclusive : kUnlockShared, {PgValue::integer(openKey_)});
  parkServerConnection(name_, password_.view(), std::move(conn_));
  conn_.reset();
  password_ = Secret();
  readBegun_ = false;
  txFailed_ = false;
  return committed;
}

bool PgFile::records(uint64_t& count) {
  if (!ready()) return false;
  PgBatch b(*conn_);
  startRead(b);
  const int i = b.add(sql_.countSql());
  if (!run(b)) return false;
  count = static_cast<uint64_t>(b.result(i).integer(0, 0));
  return succeed();
}

Cursor::Fetch PgFile::fetch(Cursor& cursor, bool forward, const KeyTuple& pins, void* record, std::string& blob,
                            int64_t& row, int64_t& version) {
  if (!ready()) return Cursor::Fetch::kError;
  const int key = cursor.key();
  const Cursor::Seek wanted = cursor.seek(forward);
  const int n = s_.schema.componentCount(key);
  const int pinned = static_cast<int>(pins.size());
  std::vector<PgValue> params;
  for (const FieldValue& v : pins) params.push_back(pgValue(v));
  if (wanted.bounded) {
    for (int j = pinned; j < n; ++j) params.push_back(pgValue((*wanted.values)[static_cast<size_t>(j)]));
    params.push_back(PgValue::integer(wanted.row));
  }
  PgBatch b(*conn_);
  startRead(b);
  const int i = b.add(sql_.seekSql(key, pinned, forward, wanted.bounded, wanted.inclusive), std::move(params));
  if (!run(b)) return Cursor::Fetch::kError;
  const PgResult& r = b.result(i);
  if (r.rows() == 0) return cursor.ended(forward);
  countRowRead();
  readPgRecord(r, 0, s_.decl, record, blob);
  row = r.integer(0, Schema::kRowColumn);
  version = r.integer(0, Schema::kVersionColumn);
  // The server's order is the index's: no row of a sound server lies behind
  // the walk.
  return cursor.found(s_.schema, forward, pgKeyTuple(r, 0, s_.decl, key), row, false);
}

bool PgFile::get(int key) {
  if (!ready()) return false;
  PgBatch b(*conn_);
  startRead(b);
  const int i = b.add(sql_.exactSql(key), keyParams(s_.decl, key, s_.record));
  if (!run(b)) return false;
  const PgResult& r = b.result(i);
  if (r.rows() == 0) return failWith(kErrNoRecord);
  countRowRead();
  readPgRecord(r, 0, s_.decl, s_.record, s_.blob);
  s_.becameCurrent(r.integer(0, Schema::kRowColumn), r.integer(0, Schema::kVersionColumn));
  return succeed();
}

bool PgFile::rowAt(int64_t row, int key, KeyTuple* values) {
  if (!ready()) return false;
  PgBatch b(*conn_);
  startRead(b);
  const int i = b.add(sql_.selectByRowSql(), {PgValue::integer(row)});
  if (!run(b)) return false;
  const PgResult& r = b.result(i);
  if (r.rows() == 0) return failWith(kErrNoRecord);
  countRowRead();
  if (values != nullptr) {
    *values = pgKeyTuple(r, 0, s_.decl, key);
    return true;
  }
  readPgRecord(r, 0, s_.decl, s_.record, s_.blob);
  s_.becameCurrent(r.integer(0, Schema::kRowColumn), r.integer(0, Schema::kVersionColumn));
  return succeed();
}

bool PgFile::readRanges(std::span<const File::RangeRead> ranges, int) {
  if (!ready()) return false;
  PgBatch b(*conn_);
  // Several ranges outside a transaction are read in one of their own, in
  // the same round trip: one state of the store, seen by all of them.
  const bool own = s_.tx == Tx::kNone && ranges.size() > 1;
  if (own)
    b.addOnce(kBeginRead);
  else
    startRead(b);
  std::vector<int> at;
  for (const File::RangeRead& range : ranges) {
    at.push_back(b.add(sql_.rangeSql(range.key, range.components),
                       keyParams(s_.decl, range.key, range.values, range.components)));
  }
  if (own) b.addOnce(kCommit);
  if (!run(b)) {
    if (own) endOnServer(kRollback);
    return false;
  }
  for (size_t k = 0; k < ranges.size(); ++k) {
    const PgResult& r = b.result(at[k]);
    RowSet& rows = *ranges[k].rows;
    for (int i = 0; i < r.rows(); ++i) {
      countRowRead();
      const int64_t row = r.integer(i, Schema::kRowColumn);
      void* record = rows.add(std::to_string(row), row);
      readPgRecord(r, i, s_.decl, record, rows.lastBlob());
    }
  }
  return succeed();
}

bool PgFile::insert() {
  if (!ready()) return false;
  std::vector<PgValue> params;
  appendRecord(params, s_.decl, s_.record, s_.blob);
  PgBatch b(*conn_);
  holdWriters(b);
  const int i = b.add(sql_.insertSql(), std::move(params));
  std::optional<TurnWait> waited;
  if (s_.tx == Tx::kNone) waited.emplace();
  if (!run(b)) return false;
  const PgResult& r = b.result(i);
  if (r.rows() == 0) return failWith(kErrDuplicateKey);
  s_.current = r.integer(0, 0);
  s_.watchArmed = false;
  s_.watchedRow = 0;
  s_.blobChanged = false;
  return succeed();
}

bool PgFile::append() {
  if (keysDropped_) return insert();
  if (!ready()) return false;
  // The keys are left behind for the whole load and built once at its end;
  // the mark makes a load that never reached its build visible at the next
  // open, as on a file.
  PgBatch b(*conn_);
  holdWriters(b);
  keysStatements(b, true, false, Schema::kKeysInvalid);
  if (!run(b)) return false;
  keysDropped_ = true;
  return insert();
}

bool PgFile::put(bool watched) {
  if (!ready()) return false;
  std::vector<PgValue> params;
  appendRecord(params, s_.decl, s_.record, s_.blob);
  params.push_back(PgValue::integer(s_.current));
  if (watched) params.push_back(PgValue::integer(s_.watchedVersion));
  PgBatch b(*conn_);
  holdWriters(b);
  const int i = b.add(sql_.updateSql(watched), std::move(params));
  if (!run(b)) return false;
  const PgResult& r = b.result(i);
  if (r.rows() == 0) return explainMissedWrite(watched);
  if (watched) s_.watchedVersion = r.integer(0, 0);
  s_.blobChanged = false;
  return succeed();
}

bool PgFile::del(bool watched) {
  if (!ready()) return false;
  std::vector<PgValue> params{PgValue::integer(s_.current)};
  if (watched) params.push_back(PgValue::integer(s_.watchedVersion));
  PgBatch b(*conn_);
  holdWriters(b);
  const int i = b.add(sql_.deleteSql(watched), std::move(params));
  if (!run(b)) return false;
  if (b.result(i).rows() == 0) return explainMissedWrite(watched);
  s_.current = 0;
  s_.watchedRow = 0;
  return succeed();
}

bool PgFile::explainMissedWrite(bool watched) {
  PgBatch b(*conn_);
  const int i = b.add(sql_.versionByRowSql(), {PgValue::integer(s_.current)});
  if (!run(b)) return false;
  const PgResult& r = b.result(i);
  if (r.rows() == 0) return failWith(kErrNoRecord);
  if (watched && r.integer(0, 0) != s_.watchedVersion) return failWith(kErrChanged);
  return failWith(kErrDuplicateKey);
}

bool PgFile::build() {
  if (!ready()) return false;
  PgBatch b(*conn_);
  holdWriters(b);
  keysStatements(b, true, true, Schema::kKeysValid);
  if (!run(b)) return false;
  keysDropped_ = false;
  return succeed();
}

bool PgFile::duplicateCheck(int key) {
  if (!ready()) return false;
  std::vector<PgValue> params = keyParams(s_.decl, key, s_.record);
  params.push_back(PgValue::integer(s_.current));
  PgBatch b(*conn_);
  startRead(b);
  const int i = b.add(sql_.duplicateSql(key), std::move(params));
  if (!run(b)) return false;
  if (b.result(i).rows() > 0) {
    countRowRead();
    setError(kErrDuplicateKey);
    return true;
  }
  clearError();
  return false;
}

// ---- Bulk mode and transactions ---------------------------------------

bool PgFile::beginWrite(int waitMillis, Tx kind) {
  if (!ready()) return false;
  PgBatch b(*conn_);
  b.addOnce(kBeginWrite);
  b.add(kSetLockWait, {millis(waitMillis)});
  b.add(kXactLock, {PgValue::integer(writeKey_)});
  {
    const TurnWait waited;
    if (!b.run(waitMillis)) return false;
  }
  if (const int f = b.failed(); f >= 0) {
    endOnServer(kRollback);
    reportPgFailure(b.result(f));
    return false;
  }
  s_.tx = kind;
  txFailed_ = false;
  return succeed();
}

bool PgFile::stream() {
  if (s_.tx == Tx::kNone && !beginWrite(kBusyMillis, Tx::kStream)) return false;
  s_.streaming = true;
  return succeed();
}

bool PgFile::flush() {
  s_.streaming = false;
  if (s_.tx != Tx::kStream) return succeed();
  return commit();
}

bool PgFile::commit() {
  const bool failed = txFailed_;
  s_.tx = Tx::kNone;
  s_.streaming = false;
  txFailed_ = false;
  if (failed) {
    // The server ended the transaction when a statement in it failed (or
    // the connection went with it): its work is lost, and the commit says so.
    endOnServer(kRollback);
    keysDropped_ = false;
    setError(kErrDriver, 0, "the transaction was rolled back after an earlier error");
    return false;
  }
  if (conn_ == nullptr || !conn_->usable()) {
    setError(kErrConnection, 8006, "the connection to the server was lost with the transaction's work");
    return false;
  }
  PgBatch b(*conn_);
  const int i = b.addOnce(kCommit);
  if (!b.run()) return false;
  const PgResult& r = b.result(i);
  if (!r.ok()) {
    reportPgFailure(r);
    return false;
  }
  if (r.commandStatus() == kRollback) {
    setError(kErrDriver, 0, "the transaction was rolled back after an earlier error");
    return false;
  }
  return succeed();
}

bool PgFile::rollback() {
  if (s_.tx != Tx::kNone && conn_ != nullptr && conn_->usable()) endOnServer(kRollback);
  s_.tx = Tx::kNone;
  s_.streaming = false;
  txFailed_ = false;
  keysDropped_ = false;  // a drop inside the transaction went with it
  return succeed();
}

bool PgFile::beginRead(int) {
  if (conn_ == nullptr) return failWith(kErrNotOpen);
  // Sent with the first read (startRead), in the same round trip.
  readBegun_ = false;
  txFailed_ = false;
  return succeed();
}

bool PgFile::endRead() {
  const bool begun = readBegun_;
  readBegun_ = false;
  if (begun && conn_ != nullptr && conn_->usable()) endOnServer(txFailed_ ? kRollback : kCommit);
  txFailed_ = false;
  return succeed();
}

}  // namespace

std::unique_ptr<Backend> makePgBackend(File::State& s) { return std::make_unique<PgFile>(s); }

bool pgStoreExists(const std::string& name, const Secret& owner) {
  Session session(name, owner);
  if (!session.start()) return false;
  PgBatch* b = session.run([&](PgBatch& batch) { batch.add(PgSql::existsSql()); });
  if (b == nullptr) return false;
  if (const int f = b->failed(); f >= 0) {
    reportPgFailure(b->result(f));
    return false;
  }
  clearError();
  return b->result(0).integer(0, 0) != 0;
}

bool removePgStore(const std::string& name, const Secret& owner) {
  Session session(name, owner);
  if (!session.start()) return false;
  const std::string& schema = session.where().schema;
  PgBatch* b = session.run([&](PgBatch& batch) {
    batch.addOnce(kBeginWrite);
    batch.add(kSetLockWait, {millis(kGraceMillis)});
    batch.add(kXactLock, {PgValue::integer(lockKey("open", schema))});
    batch.add(PgSql::existsSql());
  });
  if (b == nullptr) return false;
  PgConnection& c = session.connection();
  if (const int f = b->failed(); f >= 0) {
    session.rollBack();
    reportPgFailure(b->result(f));
    return false;
  }
  if (b->result(3).integer(0, 0) == 0) {
    session.rollBack();
    return failWith(kErrNotFound);
  }
  PgBatch drop(c);
  drop.add(kSetStoreSchema, {PgValue::text(schema)});
  drop.addOnce(PgSql::dropStoreSql());
  drop.addOnce(kCommit);
  if (!drop.run()) return false;
  if (const int f = drop.failed(); f >= 0) {
    session.rollBack();
    reportPgFailure(drop.result(f));
    return false;
  }
  dropServerConnections(name);
  return succeed();
}

}  // namespace wevo::kf
