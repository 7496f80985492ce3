// One connection to a PostgreSQL server, worked in pipelines: the statements
// of one operation go to the server together and their answers come back
// together, one round trip (PgBatch). Statements are prepared once per
// connection; values travel as bound binary parameters, never in SQL text.
// Only this folder's .cpp files see libpq itself.
//
// Every wait for the server is bounded: a server that stops answering (a
// pulled cable, a machine switched off) leaves the connection broken after
// the wait, and the operation fails with 100; so does a server that closed
// the connection (restarted, shut down). A broken connection is never used
// again; its owner connects anew.
#ifndef WEVO_PLATFORM_KEYEDFILE_PG_CONNECTION_H_
#define WEVO_PLATFORM_KEYEDFILE_PG_CONNECTION_H_

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/keyedfile/secret.h"

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace wevo::kf {

// How many times this thread waited for a server's answers (one per batch,
// however many statements it carried), and how many connections it made.
uint64_t serverRoundTrips();
uint64_t serverConnects();

// A parameter value. Text is given as the record holds it (bytes, one per
// character) and travels in the server's encoding (pg_codec.h).
struct PgValue {
  enum class Type : uint8_t { kInt, kText, kBytes };
  Type type = Type::kInt;
  int64_t number = 0;
  std::string bytes;

  static PgValue integer(int64_t n);
  static PgValue text(std::string_view recordText);
  static PgValue raw(std::string_view bytes);  // bytea
};

// One statement's answer (binary format).
class PgResult {
 public:
  PgResult() = default;
  explicit PgResult(PGresult* r);
  ~PgResult();
  PgResult(PgResult&& other) noexcept;
  PgResult& operator=(PgResult&& other) noexcept;
  PgResult(const PgResult&) = delete;
  PgResult& operator=(const PgResult&) = delete;

  // Ran without error (rows or a command's status).
  bool ok() const;
  // Not run because an earlier statement of the batch failed.
  bool skipped() const;
  int rows() const;
  bool isNull(int row, int col) const;
  // A number column (int2, int4, int8, bool, oid) as a number.
  int64_t integer(int row, int col) const;
  // A text or bytea column's bytes as the server sent them.
  std::string_view bytes(int row, int col) const;
  std::string sqlState() const;
  std::string message() const;  // the server's primary message, one line
  std::string commandStatus() const;

 private:
  PGresult* r_ = nullptr;
};

class PgConnection {
 public:
  PgConnection() = default;
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // Connects to the server of `uri` (a URI without password) as its user
  // with `password` (empty: the client library's own sources), working in
  // `schema`. 0, or the error number set in the thread's error state: 36
  // the server refused the password (or wanted one), 100 the server could
  // not be reached or refused the connection (its text names the host).
  int connect(const std::string& uri, const std::string& schema, const Secret& password);
  // Connected, not broken, and made by this process (a connection inherited
  // through fork() belongs to the parent).
  bool usable() const;
  // Sends the server a goodbye when usable; a connection of another
  // process is let go without touching it.
  void close();
  // Marks the connection unusable and lets it go.
  void broke();

  // Statements whose answers nobody waits for (a lock given back, a
  // rollback): sent at once, their answers read and dropped by the next
  // batch. In order with everything else sent on the connection.
  void sendAndForget(const std::string& sql, std::vector<PgValue> params = {});

 private:
  friend class PgBatch;
  // Queues one statement (prepared when `prepare`); false when it could not
  // be queued (the connection is then broken).
  bool queue(const std::string& sql, const std::vector<PgValue>& params, bool prepare, bool* newlyPrepared,
             std::string* name);
  bool sync();
  // The next result, waiting until `deadline` (steady clock, ms); null when
  // none is due, or when the connection broke or timed out (then broken).
  PGresult* next(int64_t deadlineMillis, bool* failed);
  // Reads and drops the answers of forgotten statements.
  bool drain(int64_t deadlineMillis);

  PGconn* conn_ = nullptr;
  pid_t pid_ = 0;
  bool broken_ = false;
  int forgotten_ = 0;  // syncs sent whose answers are still to be dropped
  // SQL text -> statement name, from the moment its preparation is sent.
  std::unordered_map<std::string, std::string> prepared_;
  int serial_ = 0;
};

// The statements of one round trip. Statements are queued with add(), sent
// and answered by run(); a statement that fails makes the server skip the
// rest of the batch.
class PgBatch {
 public:
  explicit PgBatch(PgConnection& connection) : c_(connection) {}

  // Queues a statement, prepared on the connection (once); its index.
  int add(const std::string& sql, std::vector<PgValue> params = {});
  // Queues a statement that is not prepared (schema statements, BEGIN).
  int addOnce(const std::string& sql);

  // Sends the batch and reads every answer, waiting up to `waitMillis` more
  // than the server needs to answer at all. False when the connection
  // failed (error 100 set); otherwise true, each statement's outcome in
  // result(i).
  bool run(int waitMillis = 0);

  const PgResult& result(int i) const { return results_[static_cast<size_t>(i)]; }
  // The first statement that failed (-1: none).
  int failed() const;
  size_t size() const { return items_.size(); }

 private:
  struct Item {
    std::string sql;
    std::vector<PgValue> params;
    bool prepare = true;
  };
  PgConnection& c_;
  std::vector<Item> items_;
  std::vector<PgResult> results_;
};

// Sets the thread's error state for a statement that failed: 40 a unique
// key would be duplicated, 32 a lock that did not come in time (or a
// deadlock, or the server cancelling), 5 refused access, 100 the
// connection lost (the server shut down or restarted), 90 anything else,
// with the server's message and code. Returns the error number set.
int reportPgFailure(const PgResult& result);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_PG_CONNECTION_H_
