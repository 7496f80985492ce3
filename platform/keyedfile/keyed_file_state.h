// The inside of a kf::File, shared with its backend (backend.h) and with
// kf::View (which reads rows into the file's buffer and makes them its
// current row).
#ifndef WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_STATE_H_
#define WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_STATE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/keyedfile/backend.h"
#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/schema.h"

namespace wevo::kf {

struct File::State {
  State(const FileDecl& d, void* r) : decl(d), record(r), schema(d) {}

  const FileDecl& decl;
  void* record;
  Schema schema;
  std::optional<std::string> name;  // set on the instance, else the declaration's
  std::optional<Secret> owner;

  // The kind of store the instance last worked on; replaced (while closed)
  // when its name names a store of another kind.
  std::unique_ptr<Backend> backend;
  Backend& backendFor(const std::string& storeName);

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

  enum class Tx { kNone, kUser, kStream, kRead };
  Tx tx = Tx::kNone;       // the transaction this instance began
  bool streaming = false;  // between stream() and flush()

  // Reads the cursor's next / previous row into the buffer.
  bool read(bool forward);
  // The row at a position: its key values for `key`, and its id.
  bool locate(int key, std::string_view position, KeyTuple& values, int64_t& row);
  // Makes a row just read the current one (and the watched one, as asked).
  void becameCurrent(int64_t row, int64_t version);
  void resetPosition();
  // The instance as a closed one after its backend closed it.
  void closed();
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_STATE_H_
