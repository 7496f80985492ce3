// Opening a connection to a keyed file with its owner password.
//
// With a password the key is derived once per process (key_cache.h) and given
// to SQLCipher raw; a new file gets a random salt with it, so that the
// passphrase opens it in the sqlcipher shell just as it opens one made from
// the passphrase. Pages are 4096 bytes, the journal is DELETE and writes are
// synchronous FULL. Without a password the file is plain SQLite.
#ifndef WEVO_PLATFORM_KEYEDFILE_CONNECTION_H_
#define WEVO_PLATFORM_KEYEDFILE_CONNECTION_H_

#include <string>
#include <string_view>

#include "platform/keyedfile/sqlite_db.h"

namespace wevo::kf {

// How long a statement waits for another connection's lock before it gives
// up with 32, outside transactions that say otherwise.
inline constexpr int kBusyMillis = 5000;

// Connects `db` to the file (a new one when `create`) and sets it up to be
// read. Returns 0, or the error number set in the thread's error state (2 no
// such file, 5 refused, 90 no SQLCipher or any other failure). Whether the
// password fits is known only at the first read (36).
int connect(Db& db, const std::string& path, std::string_view owner, bool create, bool readOnly);

// connect() in two steps, for a caller that reads the file only in its turn
// (fair_lock.h): openKeyed() opens the connection and gives it its key
// (deriving it costs tens of milliseconds the first time, and reads only the
// file's salt, without a lock); setUp() then sets the page size and the
// durability, which reads the file.
int openKeyed(Db& db, const std::string& path, std::string_view owner, bool create, bool readOnly);
int setUp(Db& db, bool keyed);

// Whether the linked library is SQLCipher (checked once per process).
bool cipherAvailable();

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_CONNECTION_H_
