// The inside of a kf::File, shared with kf::View (which reads rows into the
// file's buffer and makes them its current row).
#ifndef WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_STATE_H_
#define WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_STATE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/keyedfile/connection_pool.h"
#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/file_lock.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/row_codec.h"
#include "platform/keyedfile/schema.h"
#include "platform/keyedfile/sqlite_db.h"

namespace wevo::kf {

struct File::State {
  State(const FileDecl& d, void* r) : decl(d), record(r), schema(d) {}

  const FileDecl& decl;
  void* record;
  Schema schema;
  std::optional<std::string> name;   // set on the instance, else the declaration's
  std::optional<Secret> owner;

  Db db;
  // What the open connection was made for; a closed file parks it under
  // this key (connection_pool.h) unless it is not known.
  ConnectionKey connection;
  bool connectionKnown = false;
  FileLock lock;
  bool open = false;
  bool readOnly = false;
  int recoverSeconds = 0;  // wait of the next open for a held lock

  Cursor cursor;
  int64_t current = 0;  // row id of the current row; 0 none
  bool watchArmed = false;
  int64_t watchedRow = 0;  // 0 none
  int64_t watchedVersion = 0;
  std::string blob;
  bool blobChanged = false;

  enum class Tx { kNone, kUser, kStream };
  Tx tx = Tx::kNone;        // the transaction this instance began
  int txWaitMillis = 0;     // how long begin() waited; its commit waits as long
  bool streaming = false;   // between stream() and flush()
  bool keysDropped = false; // this connection dropped the keys for appends

  // Reads the next/previous row of the cursor (among rows matching `pins`)
  // into the buffer.
  bool read(bool forward, const KeyTuple& pins);
  // Steps a statement that selects one row and makes it current.
  bool readOne(Stmt& stmt);
  // Makes a row just read the current one (and the watched one, as asked).
  void becameCurrent(int64_t row, int64_t version);
  // The row at a position: its key values for `key`, and its id.
  bool locate(int key, std::string_view position, KeyTuple& values, int64_t& row);
  bool insert();
  bool explainMissedWrite();
  void resetPosition();
  // Closes (a stream committed, a transaction rolled back); false, with the
  // error state set, when the stream's commit failed.
  bool shutdown();
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_STATE_H_
