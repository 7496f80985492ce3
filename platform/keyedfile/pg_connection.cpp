#include "platform/keyedfile/pg_connection.h"

#include <libpq-fe.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/pg_codec.h"

namespace wevo::kf {
namespace {

// Type numbers of the server's built-in types, as the protocol gives them.
constexpr Oid kBoolOid = 16;
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kInt2Oid = 21;
constexpr Oid kInt4Oid = 23;
constexpr Oid kTextOid = 25;
constexpr Oid kOidOid = 26;

// How long, beyond what a statement itself may wait (a lock), the server
// has to answer before the connection counts as lost.
constexpr int kAnswerMillis = 10000;
// The wait for a new connection, unless the address says otherwise.
constexpr const char* kConnectTimeoutSeconds = "5";

// The SQLSTATE of a lost connection, as the driver number of error 100.
constexpr int kLostConnectionCode = 8006;
constexpr int kNoConnectionCode = 8001;

thread_local uint64_t tRoundTrips = 0;
thread_local uint64_t tConnects = 0;

int64_t nowMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The client library's message as one line: its own line breaks and the
// indentation of its hints become single blanks.
std::string oneLine(const char* text) {
  std::string out;
  bool blank = false;
  for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
    const bool space = *p == '\n' || *p == '\t' || *p == ' ' || *p == '\r';
    if (space) {
      blank = !out.empty();
      continue;
    }
    if (blank) out.push_back(' ');
    blank = false;
    out.push_back(*p);
  }
  return out;
}

void ignoreNotice(void*, const char*) {}

uint64_t bigEndian(const char* p, int n) {
  uint64_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | static_cast<unsigned char>(p[i]);
  return v;
}

void setLost(const std::string& why) { setError(kErrConnection, kLostConnectionCode, why); }

// The SQLSTATE as a number when it is one (23505), else 0 (42P01).
int codeOf(const std::string& state) {
  int n = 0;
  auto [end, ec] = std::from_chars(state.data(), state.data() + state.size(), n);
  return ec == std::errc() && end == state.data() + state.size() ? n : 0;
}

}  // namespace

uint64_t serverRoundTrips() { return tRoundTrips; }
uint64_t serverConnects() { return tConnects; }

// ---- Values and results ------------------------------------------------------

PgValue PgValue::integer(int64_t n) {
  PgValue v;
  v.type = Type::kInt;
  v.number = n;
  return v;
}

PgValue PgValue::text(std::string_view recordText) {
  PgValue v;
  v.type = Type::kText;
  v.bytes = toServerText(recordText);
  return v;
}

PgValue PgValue::raw(std::string_view bytes) {
  PgValue v;
  v.type = Type::kBytes;
  v.bytes = std::string(bytes);
  return v;
}

PgResult::PgResult(PGresult* r) : r_(r) {}
PgResult::~PgResult() { PQclear(r_); }
PgResult::PgResult(PgResult&& other) noexcept : r_(other.r_) { other.r_ = nullptr; }
PgResult& PgResult::operator=(PgResult&& other) noexcept {
  if (this != &other) {
    PQclear(r_);
    r_ = other.r_;
    other.r_ = nullptr;
  }
  return *this;
}

bool PgResult::ok() const {
  const ExecStatusType st = r_ != nullptr ? PQresultStatus(r_) : PGRES_FATAL_ERROR;
  return st == PGRES_TUPLES_OK || st == PGRES_COMMAND_OK;
}

bool PgResult::skipped() const { return r_ != nullptr && PQresultStatus(r_) == PGRES_PIPELINE_ABORTED; }

int PgResult::rows() const { return r_ != nullptr ? PQntuples(r_) : 0; }

bool PgResult::isNull(int row, int col) const { return PQgetisnull(r_, row, col) != 0; }

int64_t PgResult::integer(int row, int col) const {
  if (r_ == nullptr || PQgetisnull(r_, row, col)) return 0;
  const char* p = PQgetvalue(r_, row, col);
  const int n = PQgetlength(r_, row, col);
  switch (PQftype(r_, col)) {
    case kBoolOid:
      return n > 0 && p[0] != 0 ? 1 : 0;
    case kInt2Oid:
      return static_cast<int16_t>(bigEndian(p, 2));
    case kInt4Oid:
      return static_cast<int32_t>(bigEndian(p, 4));
    case kOidOid:
      return static_cast<int64_t>(bigEndian(p, 4));
    case kInt8Oid:
      return static_cast<int64_t>(bigEndian(p, 8));
    default:
      return 0;
  }
}

std::string_view PgResult::bytes(int row, int col) const {
  if (r_ == nullptr || PQgetisnull(r_, row, col)) return {};
  return std::string_view(PQgetvalue(r_, row, col), static_cast<size_t>(PQgetlength(r_, row, col)));
}

std::string PgResult::sqlState() const {
  const char* s = r_ != nullptr ? PQresultErrorField(r_, PG_DIAG_SQLSTATE) : nullptr;
  return s != nullptr ? s : "";
}

std::string PgResult::message() const {
  const char* s = r_ != nullptr ? PQresultErrorField(r_, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
  if (s == nullptr && r_ != nullptr) s = PQresultErrorMessage(r_);
  return oneLine(s);
}

std::string PgResult::commandStatus() const { return r_ != nullptr ? PQcmdStatus(r_) : ""; }

int reportPgFailure(const PgResult& result) {
  const std::string state = result.sqlState();
  const std::string text = result.message();
  if (state == "23505") {
    setError(kErrDuplicateKey, codeOf(state), text);
    return kErrDuplicateKey;
  }
  if (state == "55P03" || state == "57014" || state == "40P01" || state == "40001") {
    setError(kErrLocked, codeOf(state), text);
    return kErrLocked;
  }
  if (state == "42501") {
    setError(kErrAccessDenied, 0, text);
    return kErrAccessDenied;
  }
  // Class 08 is the connection's; 57P01 to 57P03 a server shutting down,
  // restarting or starting up.
  if (state.rfind("08", 0) == 0 || state == "57P01" || state == "57P02" || state == "57P03") {
    setLost(text);
    return kErrConnection;
  }
  if (state == "25P02") {
    setError(kErrDriver, 0, "the transaction was rolled back after an earlier error");
    return kErrDriver;
  }
  setError(kErrDriver, codeOf(state), text.empty() ? std::string("the server refused the statement") : text);
  return kErrDriver;
}

// ---- The connection ------------------------------------------------------------

PgConnection::~PgConnection() { close(); }

int PgConnection::connect(const std::string& uri, const std::string& schema, const Secret& password) {
  close();
  ++tConnects;
  // Defaults first, then the address (whatever it says wins), then what
  // this layer needs whatever it says.
  std::string pw(password.view());
  std::vector<const char*> keywords = {"connect_timeout", "fallback_application_name"};
  std::vector<const char*> values = {kConnectTimeoutSeconds, "wevo"};
  if (!pw.empty()) {
    keywords.push_back("password");
    values.push_back(pw.c_str());
  }
  for (auto [k, v] : {std::pair{"dbname", uri.c_str()}, std::pair{"client_encoding", "UTF8"}}) {
    keywords.push_back(k);
    values.push_back(v);
  }
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  conn_ = PQconnectdbParams(keywords.data(), values.data(), 1);
  wipe(pw);
  pid_ = ::getpid();
  broken_ = false;
  forgotten_ = 0;
  prepared_.clear();
  if (conn_ == nullptr) {
    setError(kErrConnection, kNoConnectionCode, "out of memory connecting to the server");
    return kErrConnection;
  }
  if (PQstatus(conn_) != CONNECTION_OK) {
    const std::string why = oneLine(PQerrorMessage(conn_));
    // The server answered but wanted a password it did not get, or refused
    // the one it got: the store is not readable with this password.
    const bool refused = PQconnectionNeedsPassword(conn_) != 0 ||
                         (PQconnectionUsedPassword(conn_) != 0 && why.find("authentication failed") != std::string::npos);
    PQfinish(conn_);
    conn_ = nullptr;
    if (refused) {
      setError(kErrBadPassword, 0, why);
      return kErrBadPassword;
    }
    setError(kErrConnection, kNoConnectionCode, why);
    return kErrConnection;
  }
  PQsetNoticeProcessor(conn_, ignoreNotice, nullptr);
  if (PQsetnonblocking(conn_, 1) != 0 || PQenterPipelineMode(conn_) != 1) {
    setError(kErrConnection, kNoConnectionCode, oneLine(PQerrorMessage(conn_)));
    PQfinish(conn_);
    conn_ = nullptr;
    return kErrConnection;
  }
  // Every statement names the store's tables alone; the schema is the
  // connection's search path, set from a bound value (quoted by the server).
  sendAndForget("SELECT pg_catalog.set_config('search_path', pg_catalog.quote_ident($1), false)",
                {PgValue::text(schema)});
  if (broken_) {
    setLost("the server closed the connection");
    return kErrConnection;
  }
  return kNoError;
}

bool PgConnection::usable() const { return conn_ != nullptr && !broken_ && pid_ == ::getpid(); }

void PgConnection::close() {
  if (conn_ == nullptr) return;
  // A connection inherited through fork() is the parent's: its socket is
  // left alone (and its memory with it).
  if (pid_ == ::getpid()) PQfinish(conn_);
  conn_ = nullptr;
  broken_ = false;
  forgotten_ = 0;
  prepared_.clear();
}

void PgConnection::broke() {
  broken_ = true;
  if (conn_ != nullptr && pid_ == ::getpid()) {
    PQfinish(conn_);
    conn_ = nullptr;
  }
}

bool PgConnection::queue(const std::string& sql, const std::vector<PgValue>& params, bool prepare,
                         bool* newlyPrepared, std::string* name) {
  *newlyPrepared = false;
  const int n = static_cast<int>(params.size());
  std::vector<Oid> types(params.size());
  std::vector<const char*> values(params.size());
  std::vector<int> lengths(params.size());
  std::vector<int> formats(params.size(), 1);
  std::vector<std::array<char, 8>> numbers(params.size());
  for (size_t i = 0; i < params.size(); ++i) {
    const PgValue& v = params[i];
    switch (v.type) {
      case PgValue::Type::kInt: {
        types[i] = kInt8Oid;
        uint64_t u = static_cast<uint64_t>(v.number);
        for (int k = 7; k >= 0; --k) {
          numbers[i][static_cast<size_t>(k)] = static_cast<char>(u & 0xFF);
          u >>= 8;
        }
        values[i] = numbers[i].data();
        lengths[i] = 8;
        break;
      }
      case PgValue::Type::kText:
        types[i] = kTextOid;
        values[i] = v.bytes.data();
        lengths[i] = static_cast<int>(v.bytes.size());
        break;
      case PgValue::Type::kBytes:
        types[i] = kByteaOid;
        // An empty blob is none (NULL), as a file keeps it.
        values[i] = v.bytes.empty() ? nullptr : v.bytes.data();
        lengths[i] = static_cast<int>(v.bytes.size());
        break;
    }
  }
  int sent = 0;
  if (prepare) {
    auto it = prepared_.find(sql);
    if (it == prepared_.end()) {
      *name = "w" + std::to_string(++serial_);
      if (PQsendPrepare(conn_, name->c_str(), sql.c_str(), n, types.data()) != 1) {
        broke();
        return false;
      }
      *newlyPrepared = true;
      // Known from now on, so that the same statement later in the batch
      // uses it; forgotten again if the server does not prepare it.
      prepared_.emplace(sql, *name);
    } else {
      *name = it->second;
    }
    sent = PQsendQueryPrepared(conn_, name->c_str(), n, values.data(), lengths.data(), formats.data(), 1);
  } else {
    sent = PQsendQueryParams(conn_, sql.c_str(), n, types.data(), values.data(), lengths.data(), formats.data(), 1);
  }
  if (sent != 1) {
    broke();
    return false;
  }
  return true;
}

bool PgConnection::sync() {
  if (PQpipelineSync(conn_) != 1) {
    broke();
    return false;
  }
  return true;
}

PGresult* PgConnection::next(int64_t deadline, bool* failed) {
  *failed = false;
  for (;;) {
    if (PQconsumeInput(conn_) == 0) {
      *failed = true;
      return nullptr;
    }
    // Whatever is still to be sent goes first (the batch may be larger
    // than the socket takes at once).
    const int flushed = PQflush(conn_);
    if (flushed < 0) {
      *failed = true;
      return nullptr;
    }
    if (flushed == 0 && PQisBusy(conn_) == 0) return PQgetResult(conn_);
    const int64_t left = deadline - nowMillis();
    if (left <= 0) {
      *failed = true;
      return nullptr;
    }
    pollfd p{PQsocket(conn_), static_cast<short>(POLLIN | (flushed == 1 ? POLLOUT : 0)), 0};
    const int r = ::poll(&p, 1, static_cast<int>(left));
    if (r < 0 && errno != EINTR) {
      *failed = true;
      return nullptr;
    }
  }
}

bool PgConnection::drain(int64_t deadline) {
  while (forgotten_ > 0) {
    bool failed = false;
    PGresult* r = next(deadline, &failed);
    if (failed) return false;
    if (r == nullptr) continue;  // the end of one statement's answers
    const bool synced = PQresultStatus(r) == PGRES_PIPELINE_SYNC;
    PQclear(r);
    if (synced) --forgotten_;
  }
  return true;
}

void PgConnection::sendAndForget(const std::string& sql, std::vector<PgValue> params) {
  if (!usable()) return;
  bool newlyPrepared = false;
  std::string name;
  if (!queue(sql, params, false, &newlyPrepared, &name) || !sync()) return;
  ++forgotten_;
  // Out now, so that the server acts on it at once.
  if (PQflush(conn_) < 0) broke();
}

// ---- Batches -------------------------------------------------------------------

int PgBatch::add(const std::string& sql, std::vector<PgValue> params) {
  items_.push_back({sql, std::move(params), true});
  return static_cast<int>(items_.size()) - 1;
}

int PgBatch::addOnce(const std::string& sql) {
  items_.push_back({sql, {}, false});
  return static_cast<int>(items_.size()) - 1;
}

int PgBatch::failed() const {
  for (size_t i = 0; i < results_.size(); ++i)
    if (!results_[i].ok()) return static_cast<int>(i);
  return -1;
}

bool PgBatch::run(int waitMillis) {
  results_.clear();
  if (!c_.usable()) {
    setLost("the connection to the server was lost");
    return false;
  }
  const int64_t deadline = nowMillis() + (waitMillis > 0 ? waitMillis : 0) + kAnswerMillis;
  struct Sent {
    bool newlyPrepared = false;
    std::string name;
  };
  std::vector<Sent> sent(items_.size());
  bool ok = true;
  for (size_t i = 0; ok && i < items_.size(); ++i)
    ok = c_.queue(items_[i].sql, items_[i].params, items_[i].prepare, &sent[i].newlyPrepared, &sent[i].name);
  ok = ok && c_.sync();
  ++tRoundTrips;
  ok = ok && c_.drain(deadline);
  for (size_t i = 0; ok && i < items_.size(); ++i) {
    bool failed = false;
    // A statement that could not be prepared answers with the reason.
    PgResult prepared;
    if (sent[i].newlyPrepared) {
      PGresult* prep = c_.next(deadline, &failed);
      if (failed || prep == nullptr) {
        ok = false;
        break;
      }
      if (PQresultStatus(prep) != PGRES_COMMAND_OK) c_.prepared_.erase(items_[i].sql);
      prepared = PgResult(prep);
      while (!failed && (prep = c_.next(deadline, &failed)) != nullptr) PQclear(prep);
      if (failed) {
        ok = false;
        break;
      }
    }
    PGresult* r = c_.next(deadline, &failed);
    if (failed || r == nullptr) {
      if (r != nullptr) PQclear(r);
      ok = false;
      break;
    }
    if (sent[i].newlyPrepared && !prepared.ok() && !prepared.skipped()) {
      PQclear(r);
      results_.push_back(std::move(prepared));
    } else {
      results_.emplace_back(r);
    }
    PGresult* rest = nullptr;
    while (!failed && (rest = c_.next(deadline, &failed)) != nullptr) PQclear(rest);
    if (failed) ok = false;
  }
  if (ok) {
    bool failed = false;
    PGresult* end = c_.next(deadline, &failed);
    ok = !failed && end != nullptr && PQresultStatus(end) == PGRES_PIPELINE_SYNC;
    if (end != nullptr) PQclear(end);
  }
  if (!ok) {
    // The server's last word, when it gave one, says why.
    std::string why;
    for (const PgResult& r : results_)
      if (!r.ok() && !r.skipped()) why = r.message();
    if (c_.conn_ != nullptr && why.empty()) why = oneLine(PQerrorMessage(c_.conn_));
    if (why.empty()) why = "the server did not answer";
    c_.broke();
    setLost(why);
    return false;
  }
  return true;
}

}  // namespace wevo::kf
