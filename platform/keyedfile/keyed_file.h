// A keyed record file: one declaration (file_decl.h) worked on by one thread
// through a record buffer that the caller owns.
//
// Storage. One file is one SQLCipher database holding one table named after
// the declaration's label, one column per field (named as the field), the
// blob in a column of its own, one index per key and a small metadata table
// with the layout and whether the keys are valid. Text is stored without its
// trailing blanks and padded again on load. With an owner (password) the whole
// file is encrypted; it stays readable in the sqlcipher shell with
//   PRAGMA key='<password>'; PRAGMA cipher_page_size=4096;
// Without an owner it is a plain SQLite file.
//
// Errors. Every operation returns success as a bool and leaves the thread's
// error state (error.h). Nothing is thrown.
//
// Threads. An instance belongs to one thread. Instances are independent: two
// instances over the same file (two declarations, two threads, two processes)
// each hold their own connection and their own access lock, and conflict with
// each other exactly as two processes do.
#ifndef WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_H_
#define WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/read_counter.h"  // rowsRead(): rows fetched by this thread

namespace wevo::kf {

// Access modes: one access value plus one sharing value.
inline constexpr int kReadOnly = 0x00;
inline constexpr int kReadWrite = 0x02;
inline constexpr int kDenyAll = 0x10;
inline constexpr int kDenyWrite = 0x20;
inline constexpr int kDenyNone = 0x40;
// 66: read and write, others may read and write.
inline constexpr int kShared = kReadWrite | kDenyNone;
// 34: read and write, others denied writing (and, here, opening at all).
inline constexpr int kExclusive = kReadWrite | kDenyWrite;

// The key argument that means physical (insertion) order where an operation
// takes a key: position(kPhysical), reset(kPhysical, pos).
inline constexpr int kPhysical = -1;

class View;

class File {
 public:
  // `record` must stay valid, and hold decl.recordSize bytes, as long as the
  // instance lives. The declaration must outlive the instance.
  File(const FileDecl& decl, void* record);
  ~File();  // closes the file (a stream is flushed, a transaction rolled back)
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  const FileDecl& decl() const;
  void* record() const;

  // ---- Name and owner --------------------------------------------------
  // Read at create, open, copy and remove time: the instance's own value when
  // one was set, else the declaration's function's (blank without one).
  void setName(std::string_view name);
  void setOwner(std::string_view owner);  // blank: no password
  void useDeclaredName();
  void useDeclaredOwner();
  std::string name() const;  // trailing blanks removed
  Secret owner() const;      // trailing blanks removed

  // ---- Whole file --------------------------------------------------------
  // Creates the file empty, replacing one of that name; the instance stays
  // closed. 52 when the instance is open; 32 when another opener holds it.
  bool create();
  // Creates the file empty unless a file of that name exists; an existing
  // one (also one that another thread or process made a moment earlier) is
  // left as it is and counts as success, with *created false. The new file
  // is built whole under a temporary name beside it and then given its name
  // in one step that fails when the name is taken: two processes creating
  // the file together never replace each other's, and one that dies half
  // way leaves nothing under the name (what it left under its temporary
  // name is removed by the next create on the same machine). The instance
  // stays closed; 52 when open.
  bool createIfMissing(bool* created = nullptr);
  // Opens in an access mode (kShared, kExclusive; a read-only access value
  // refuses writes). 2 no such file, 32 refused lock (after the wait a
  // "Recover=N" command asked for), 36 not readable with this owner, 46 keys
  // not rebuilt after appends (the file stays closed; build() repairs it), 47
  // the declaration's layout differs from the file's, 52 already open.
  bool open(int mode = kShared);
  // Closes: flushes a stream, rolls back a transaction begun and not ended.
  // The connection is kept for the thread's next open of the same file
  // (connection_pool.h); no lock is held meanwhile.
  // Closing a closed instance does nothing and leaves the error state as it
  // is (so `open(); ...; close();` still tells why the open failed).
  bool close();
  bool isOpen() const;
  // Driver command. "Recover=N": the next open that finds the file locked
  // waits up to N seconds for the lock before it gives up with 32.
  // Unknown commands: 80.
  bool send(std::string_view command);

  // Copies the (closed) file to `dest`, replacing it; needs no password.
  // 52 when this instance is open, 2 no such file, 32 the file is busy.
  bool copy(const std::string& dest);
  // Removes the (closed) file with its journal and lock file. 52 when this
  // instance is open; otherwise as removeFile().
  bool remove();
  static bool exists(const std::string& name);
  // 2 no such file (a lock file nobody holds, left by a holder that died,
  // is removed even then), 32 someone has it open.
  static bool removeFile(const std::string& name);

  // Number of rows.
  bool records(uint64_t& count);

  // ---- Sequential reading ------------------------------------------------
  // set(key): the start of the key's order; next() then reads the first row,
  // previous() the last one. setAt(key): next() reads the first row whose key
  // values are at or after those in the buffer, previous() the last at or
  // before them. setPhysical(): insertion order. None of them reads.
  bool set(int key);
  bool setAt(int key);
  bool setPhysical();
  // Read the following / preceding row into the buffer (and the blob); 33 past
  // the end, the buffer unchanged. Rows of equal key values come in insertion
  // order. The row read becomes the current row.
  bool next();
  bool previous();

  // Reads the first row whose key components equal the buffer's (text
  // components compared as the key compares them); 33 when none. The row
  // becomes current; the sequential position is not changed.
  bool get(int key);
  // An opaque text that brings the current row back (empty and 33 without a
  // current row). The same text serves every key and physical order; it stays
  // valid while the row exists, also across opens.
  std::string position() const;
  std::string position(int key) const;
  // Positions the key's order (kPhysical: insertion order) at the row, so that
  // next() or previous() reads that row first. Does not read into the buffer.
  // 33 when the row no longer exists.
  bool reset(int key, std::string_view position);
  // Reads the row at the position into the buffer; it becomes current. 33 when
  // it no longer exists.
  bool reget(std::string_view position);

  // ---- Writing -------------------------------------------------------------
  // Adds the buffer (and the blob) as a new row, keys kept; 40 on a duplicate
  // unique key. The new row becomes current.
  bool add();
  // Adds without key maintenance: the first append drops the keys and marks
  // them invalid, so the file opens with 46 until build(). Meant for filling a
  // file nobody else is using (between stream() and flush()).
  bool append();
  // Rewrites the current row from the buffer and blob: 33 without a current
  // row or when it is gone, 40 on a duplicate unique key, 89 when the row was
  // watched and another connection or process changed it since it was read.
  bool put();
  // Deletes the current row (33 / 89 as put()).
  bool del();
  // Rebuilds every key and marks them valid. On an open instance within its
  // connection; on a closed one the file is opened alone for it (32 when
  // anyone has it open) and closed again. 40 when the rows hold duplicates of
  // a unique key (the keys stay invalid).
  bool build();
  // Whether the buffer's values of the key equal another row's (not the
  // current row's): true with error 40, false with 0 (or an error).
  bool duplicateCheck(int key);

  // ---- Bulk mode and transactions ---------------------------------------
  // stream(): one transaction around the writes that follow, until flush().
  bool stream();
  bool flush();
  // BEGIN IMMEDIATE, waiting up to `waitSeconds` for other writers (32 when
  // they keep it); 56 inside a transaction or stream.
  bool begin(int waitSeconds);
  // Waits for readers still in the file as long as begin() waited (32 when
  // they stay; the transaction is then still open, to roll back). 90 when
  // the driver already rolled the transaction back because a statement in it
  // failed (a damaged page, a full disk): its work is lost.
  bool commit();
  bool rollback();
  // The next row read is watched: a put() or del() of it fails with 89 when
  // another connection or process changed it after it was read.
  bool watch();

  // ---- Blob ----------------------------------------------------------------
  // The blob of the current buffer: read with each row, written with add(),
  // append() and put(). A declaration without a blob keeps it empty and
  // refuses blobSet with 80.
  std::string blobGet() const;
  bool blobSet(std::string_view bytes);
  size_t blobSize() const;
  // Resizes (0 empties it; growing pads with zero bytes).
  bool blobSetSize(size_t size);
  // Set by blobSet/blobSetSize, cleared when a row is read or written.
  bool blobChanged() const;

  struct State;  // internal

 private:
  friend class View;
  std::unique_ptr<State> s_;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_H_
