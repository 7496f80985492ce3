// Keyed files as tables on a PostgreSQL server: the backend of every store
// whose name is a server's (server_name.h; backend.h).
//
// A store is a schema: its table and "kf_meta" (pg_sql.h), made with the
// store (create) or on first use (createIfMissing), in a schema that is made
// too unless an administrator made it. The layout is checked from "kf_meta"
// at every open (47 for another one, 46 for keys a load left unbuilt).
//
// Locks are the server's advisory locks, keyed by the schema:
//   the openers' lock   held by an open instance for as long as it is open,
//                       shared (66) or alone (34); a refused one is 32 after
//                       a short grace, "Recover=N" waits N seconds for it;
//   the writers' lock   held by a write transaction from begin() to its end,
//                       and by a write outside a transaction for its own
//                       moment: writers take their turns one after the other,
//                       in the order they asked (the server queues waiters),
//                       so two stations never both add a row both found
//                       missing, and a numbering retry sees the other's row.
// A write transaction is READ COMMITTED under the writers' lock (each read
// sees what the writers before it committed); a read transaction is
// REPEATABLE READ, READ ONLY (one view of the store for all its reads,
// holding no writer up). Statements are written so that the expected
// refusals (a unique key taken) never fail on the server, which would end
// the transaction they are part of; a statement that fails anyway loses the
// transaction, and its commit reports 90.
//
// Round trips. Every operation is one batch of statements (pg_connection.h):
// an open checks the layout and takes its lock together; reads begin their
// read transaction with the first of them; readRanges reads all its ranges,
// one statement each, in one round trip with their transaction; a write
// outside a transaction takes the writers' lock with it. Giving the lock back
// at close, a rollback and the end of a read transaction are sent without
// waiting. Connections are kept per thread between opens (connection_pool.h).
//
// Faults. A connection that breaks (the server restarted, the network went)
// fails the operation with 100; the next operation outside a transaction
// connects again and takes the store's lock again; within a transaction the
// work is lost and every later operation and the commit say so.
#ifndef WEVO_PLATFORM_KEYEDFILE_PG_FILE_H_
#define WEVO_PLATFORM_KEYEDFILE_PG_FILE_H_

#include <memory>
#include <string>

#include "platform/keyedfile/backend.h"
#include "platform/keyedfile/secret.h"

namespace wevo::kf {

std::unique_ptr<Backend> makePgBackend(File::State& s);

// Whether the store's metadata table is there; false with the error set
// when the server cannot be asked.
bool pgStoreExists(const std::string& name, const Secret& owner);
// Drops the store's tables when nobody has it open (32 otherwise; 2 when
// there is no store).
bool removePgStore(const std::string& name, const Secret& owner);

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_PG_FILE_H_
