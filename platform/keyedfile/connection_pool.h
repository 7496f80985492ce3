// Connections a thread closed, kept for its next open of the same file.
//
// Opening a connection costs far more than the work most callers do with
// it: SQLite opens and reads the schema, the cipher is keyed, and every
// statement is prepared again. A caller that opens a file for each operation
// (as the library's entry points do, several times per window) would pay it
// on every open. A closed instance therefore parks its connection here, with
// its prepared statements and page cache; the next open on the same thread
// of the same path, password and access takes it back, when the path still
// names the very file the connection was made on (same device and inode: a
// file replaced by a copy, a conversion or a create is never reused).
//
// A parked connection holds no lock: statements are reset after every use
// and it is parked outside transactions only. It keeps the file's descriptor
// open, nothing else. Connections are SQLite connections without their own
// mutex, so parking is per thread; each thread keeps a few, closes the oldest
// beyond that, and closes its own when it ends.
#ifndef WEVO_PLATFORM_KEYEDFILE_CONNECTION_POOL_H_
#define WEVO_PLATFORM_KEYEDFILE_CONNECTION_POOL_H_

#include <memory>
#include <string>
#include <string_view>

#include "platform/keyedfile/sqlite_db.h"

namespace wevo::kf {

class PgConnection;

// What a connection was made for: the file's path, a digest of the password
// (never the password), the access, and the file's identity on disk when it
// was connected.
struct ConnectionKey {
  std::string path;
  std::string ownerDigest;
  bool readOnly = false;
  unsigned long long device = 0;
  unsigned long long inode = 0;

  // The key for connecting `path` now; `known` false when the file cannot be
  // looked at (it is then never reused).
  static ConnectionKey of(const std::string& path, std::string_view owner, bool readOnly, bool* known);
};

// Moves a parked connection of this thread made for `key` (same identity on
// disk included) into `db` (which must be closed); false when there is none.
bool takeConnection(const ConnectionKey& key, Db& db);

// Parks the open connection `db` (left closed) under `key`; a connection in a
// transaction, or one the thread can no longer keep (it is ending), is closed
// instead.
void parkConnection(const ConnectionKey& key, Db& db);

// Closes this thread's parked connections to `path`.
void dropConnections(const std::string& path);

// Connections to stores on a server (pg_connection.h), parked the same way
// by the store's name and a digest of the password: takeServerConnection
// moves one into `out` (a connection that can no longer be used, or that
// another process made, is let go instead); parkServerConnection keeps a
// usable one; dropServerConnections closes those to `store`.
bool takeServerConnection(const std::string& store, std::string_view owner, std::unique_ptr<PgConnection>& out);
void parkServerConnection(const std::string& store, std::string_view owner, std::unique_ptr<PgConnection> c);
void dropServerConnections(const std::string& store);

// How many connections this thread has parked (for tests).
int parkedConnections();

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_CONNECTION_POOL_H_
