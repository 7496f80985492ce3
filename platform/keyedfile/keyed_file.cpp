#include "platform/keyedfile/keyed_file.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file_state.h"
#include "platform/keyedfile/pg_file.h"
#include "platform/keyedfile/row_codec.h"
#include "platform/keyedfile/server_name.h"
#include "platform/keyedfile/sqlite_file.h"
#include "wevo/text.h"

namespace wevo::kf {
namespace {

constexpr int kMaxRecoverSeconds = 3600;

using Tx = File::State::Tx;

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
  if (s.tx == Tx::kRead) {
    setError(kErrTransactionActive, 0, "no writes inside a read transaction");
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

bool requireUsable(const File::State& s) {
  if (!s.schema.usable()) {
    setError(kErrBadRequest, 0, s.schema.problem());
    return false;
  }
  return true;
}

std::optional<int64_t> parsePosition(std::string_view position) {
  position = text::clip(position);
  int64_t row = 0;
  auto [end, ec] = std::from_chars(position.data(), position.data() + position.size(), row);
  if (ec != std::errc() || end != position.data() + position.size() || row <= 0) return std::nullopt;
  return row;
}

int millisOf(int seconds) { return seconds > 0 ? seconds * 1000 : 0; }

}  // namespace

// ---- State -----------------------------------------------------------------

Backend& File::State::backendFor(const std::string& storeName) {
  if (backend == nullptr || (!open && !backend->serves(storeName)))
    backend = isServerName(storeName) ? makePgBackend(*this) : makeSqliteBackend(*this);
  return *backend;
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

void File::State::closed() {
  open = false;
  tx = Tx::kNone;
  streaming = false;
  resetPosition();
}

// ---- File ------------------------------------------------------------------

File::File(const FileDecl& decl, void* record) : s_(std::make_unique<State>(decl, record)) {}

// Closing on the way out leaves the thread's error state alone: it still
// tells the caller about the last operation.
File::~File() {
  if (s_->open) s_->backend->close();
}

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
  if (!requireUsable(s)) return false;
  const std::string path = name();
  if (path.empty()) return failWith(kErrNotFound);
  return s.backendFor(path).create(path, owner());
}

bool File::createIfMissing(bool* created) {
  State& s = *s_;
  if (created != nullptr) *created = false;
  if (s.open) return failWith(kErrAlreadyOpen);
  if (!requireUsable(s)) return false;
  const std::string path = name();
  if (path.empty()) return failWith(kErrNotFound);
  return s.backendFor(path).createIfMissing(path, owner(), created);
}

bool File::open(int mode) {
  State& s = *s_;
  if (s.open) return failWith(kErrAlreadyOpen);
  if (!requireUsable(s)) return false;
  const std::string path = name();
  const int waitMillis = millisOf(s.recoverSeconds);
  s.recoverSeconds = 0;
  if (path.empty()) return failWith(kErrNotFound);
  if (!s.backendFor(path).open(path, owner(), mode, waitMillis)) return false;
  s.open = true;
  s.readOnly = (mode & 0x0f) == kReadOnly;
  s.tx = Tx::kNone;
  s.streaming = false;
  s.resetPosition();
  return succeed();
}

bool File::close() {
  State& s = *s_;
  if (!s.open) return true;  // nothing done: the last operation's error stays readable
  const bool closed = s.backend->close();
  s.closed();
  if (closed) return succeed();
  return false;
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
  const std::string path = name();
  return s_->backendFor(path).copy(path, dest);
}

bool File::remove() {
  if (s_->open) return failWith(kErrAlreadyOpen);
  const std::string path = name();
  return removeFile(path, owner());
}

bool File::exists(const std::string& name) {
  return isServerName(name) ? pgStoreExists(name, Secret()) : sqliteStoreExists(name);
}

bool File::exists(const std::string& name, const Secret& owner) {
  return isServerName(name) ? pgStoreExists(name, owner) : sqliteStoreExists(name);
}

bool File::removeFile(const std::string& name) { return removeFile(name, Secret()); }

bool File::removeFile(const std::string& name, const Secret& owner) {
  return isServerName(name) ? removePgStore(name, owner) : removeSqliteStore(name);
}

bool File::records(uint64_t& count) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  return s.backend->records(count);
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

bool File::next() { return s_->read(true); }
bool File::previous() { return s_->read(false); }

bool File::State::read(bool forward) {
  if (!requireOpen(*this)) return false;
  if (!cursor.active()) return failWith(kErrNoRecord);
  int64_t row = 0, version = 0;
  switch (backend->fetch(cursor, forward, {}, record, blob, row, version)) {
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

bool File::get(int key) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, false)) return false;
  return s.backend->get(key);
}

bool File::readRange(int key, int components, RowSet& rows) {
  const RangeRead range{key, components, s_->record, &rows};
  return readRanges(std::span<const RangeRead>(&range, 1), 0);
}

bool File::readRanges(std::span<const RangeRead> ranges, int waitSeconds) {
  State& s = *s_;
  for (const RangeRead& r : ranges) r.rows->reset(s.decl.recordSize);
  if (!requireOpen(s)) return false;
  for (const RangeRead& r : ranges) {
    if (!requireKey(s, r.key, false)) return false;
    if (r.components < 0 || r.components > s.schema.componentCount(r.key)) {
      setError(kErrBadRequest, 0, "no " + std::to_string(r.components) + " components in key " + std::to_string(r.key));
      return false;
    }
  }
  if (s.backend->readRanges(ranges, millisOf(waitSeconds))) return true;
  for (const RangeRead& r : ranges) r.rows->reset(s.decl.recordSize);
  return false;
}

std::vector<size_t> File::keyOrder(const RowSet& rows, int key) const {
  const State& s = *s_;
  std::vector<size_t> order(rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  if (!s.schema.validKey(key) || key < 0) return order;
  if (rows.size() < 2) return order;
  // Components that every row has alike (a range's) decide nothing: only
  // the ones after the first that differs are compared.
  const int n = s.schema.componentCount(key);
  const KeyTuple first = keyTuple(s.decl, key, rows.record(0));
  int alike = 0;
  for (; alike < n; ++alike) {
    const FieldDecl& f = s.schema.component(key, alike);
    const bool nocase = s.schema.textNoCase(key, alike);
    size_t i = 1;
    while (i < rows.size() && compareValues(fieldValue(f, rows.record(i)), first[static_cast<size_t>(alike)], nocase) == 0)
      ++i;
    if (i < rows.size()) break;
  }
  std::vector<KeyTuple> values(rows.size());
  for (size_t i = 0; i < rows.size(); ++i)
    for (int j = alike; j < n; ++j) values[i].push_back(fieldValue(s.schema.component(key, j), rows.record(i)));
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    for (size_t j = 0; j < values[a].size(); ++j)
      if (int c = compareValues(values[a][j], values[b][j], s.schema.textNoCase(key, alike + static_cast<int>(j)));
          c != 0)
        return c < 0;
    return rows.insertion(a) < rows.insertion(b);
  });
  return order;
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
  if (!backend->rowAt(*parsed, key, &values)) return false;
  row = *parsed;
  return true;
}

bool File::reget(std::string_view position) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  std::optional<int64_t> row = parsePosition(position);
  if (!row) return failWith(kErrNoRecord);
  return s.backend->rowAt(*row, kPhysical, nullptr);
}

// ---- Writing -----------------------------------------------------------

bool File::add() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  return s.backend->add();
}

bool File::append() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  return s.backend->append();
}

bool File::put() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  if (s.current == 0) return failWith(kErrNoRecord);
  return s.backend->put(s.watchedRow == s.current);
}

bool File::del() {
  State& s = *s_;
  if (!requireWritable(s)) return false;
  if (s.current == 0) return failWith(kErrNoRecord);
  return s.backend->del(s.watchedRow == s.current);
}

bool File::build() {
  State& s = *s_;
  if (s.open) {
    if (!requireWritable(s)) return false;
    return s.backend->build();
  }
  if (!requireUsable(s)) return false;
  const std::string path = name();
  if (path.empty()) return failWith(kErrNotFound);
  return s.backendFor(path).buildClosed(path, owner());
}

bool File::duplicateCheck(int key) {
  State& s = *s_;
  if (!requireOpen(s) || !requireKey(s, key, false)) return false;
  return s.backend->duplicateCheck(key);
}

// ---- Bulk mode and transactions ---------------------------------------

bool File::stream() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.streaming) return succeed();
  if (s.tx == Tx::kRead) return failWith(kErrTransactionActive);
  return s.backend->stream();
}

bool File::flush() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (!s.streaming) return succeed();
  return s.backend->flush();
}

bool File::begin(int waitSeconds) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != Tx::kNone) return failWith(kErrTransactionActive);
  return s.backend->begin(millisOf(waitSeconds));
}

bool File::commit() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != Tx::kUser) return failWith(kErrNoTransaction);
  return s.backend->commit();
}

bool File::rollback() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != Tx::kUser) return failWith(kErrNoTransaction);
  return s.backend->rollback();
}

bool File::beginRead(int waitSeconds) {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != Tx::kNone) return failWith(kErrTransactionActive);
  if (!s.backend->beginRead(millisOf(waitSeconds))) return false;
  s.tx = Tx::kRead;
  return true;
}

bool File::endRead() {
  State& s = *s_;
  if (!requireOpen(s)) return false;
  if (s.tx != Tx::kRead) return failWith(kErrNoTransaction);
  s.tx = Tx::kNone;
  return s.backend->endRead();
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
