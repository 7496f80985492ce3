// What one kind of store does under kf::File: the seam between the keyed-file
// API (declarations, operations, per-thread instances, error numbers) and
// the places rows are kept. Two kinds: files (SQLCipher, sqlite_file.h) and
// PostgreSQL servers (pg_file.h), chosen by the store's name (server_name.h).
//
// kf::File checks what every kind checks alike (open or not, key numbers,
// writes refused in a read transaction, a current row to rewrite) and then
// asks its backend. A backend works on the instance's state (the record
// buffer, blob, current row, watch, cursor, transaction) and leaves the
// thread's error state as the operation's contract says; nothing is thrown.
#ifndef WEVO_PLATFORM_KEYEDFILE_BACKEND_H_
#define WEVO_PLATFORM_KEYEDFILE_BACKEND_H_

#include <cstdint>
#include <span>
#include <string>

#include "platform/keyedfile/cursor.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/row_codec.h"
#include "platform/keyedfile/secret.h"

namespace wevo::kf {

class Backend {
 public:
  explicit Backend(File::State& s) : s_(s) {}
  virtual ~Backend() = default;
  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;

  // Whether a store of this name is of this backend's kind.
  virtual bool serves(const std::string& name) const = 0;

  // ---- The store as a whole; the instance is closed ---------------------
  virtual bool create(const std::string& name, const Secret& owner) = 0;
  virtual bool createIfMissing(const std::string& name, const Secret& owner, bool* created) = 0;
  // Opens in `mode`, waiting up to `waitMillis` for a lock another opener
  // holds; on success the instance's state is set up as open (File does the
  // rest).
  virtual bool open(const std::string& name, const Secret& owner, int mode, int waitMillis) = 0;
  virtual bool buildClosed(const std::string& name, const Secret& owner) = 0;
  virtual bool copy(const std::string& name, const std::string& dest) = 0;

  // ---- The open store ----------------------------------------------------
  // Closes: a stream committed, a transaction rolled back; false (error set)
  // when the stream's commit failed. The instance is closed either way.
  virtual bool close() = 0;
  virtual bool records(uint64_t& count) = 0;
  // The cursor's next row in the direction asked (cursor.h), with the
  // backend's own turn taken around the read.
  virtual Cursor::Fetch fetch(Cursor& cursor, bool forward, const KeyTuple& pins, void* record, std::string& blob,
                              int64_t& row, int64_t& version) = 0;
  // The first row whose key values equal the buffer's, read into the buffer.
  virtual bool get(int key) = 0;
  // The row with this id: read into the buffer (values null), or only its
  // values of `key` taken. 33 when it is gone.
  virtual bool rowAt(int64_t row, int key, KeyTuple* values) = 0;
  // Every range in one state of the store (File::readRanges).
  virtual bool readRanges(std::span<const File::RangeRead> ranges, int waitMillis) = 0;
  virtual bool add() = 0;
  virtual bool append() = 0;
  // Rewrite / delete the current row, guarded by its version when watched.
  virtual bool put(bool watched) = 0;
  virtual bool del(bool watched) = 0;
  virtual bool build() = 0;
  virtual bool duplicateCheck(int key) = 0;
  virtual bool stream() = 0;
  virtual bool flush() = 0;
  virtual bool begin(int waitMillis) = 0;
  virtual bool commit() = 0;
  virtual bool rollback() = 0;
  virtual bool beginRead(int waitMillis) = 0;
  virtual bool endRead() = 0;

 protected:
  File::State& s_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_BACKEND_H_
