// A keyed record file: one declaration (file_decl.h) worked on by one thread
// through a record buffer that the caller owns.
//
// Storage. The file's name says where it lives (server_name.h): a path names
// a file, a "postgresql://" name a schema on a PostgreSQL server; the
// operations, their results and errors are the same for both (backend.h).
// Either way the rows are one table named after the declaration's label, one
// column per field (named as the field), the blob in a column of its own, one
// index per key and a small metadata table "kf_meta" with the layout and
// whether the keys are valid. Text is stored without its trailing blanks and
// padded again on load.
//   A file is one SQLCipher database (sqlite_file.h). With an owner
// (password) the whole file is encrypted; it stays readable in the sqlcipher
// shell with
//   PRAGMA key='<password>'; PRAGMA cipher_page_size=4096;
// Without an owner it is a plain SQLite file.
//   On a server (pg_file.h) the owner is the role's password; the server
// keeps the rows safe (its own encryption at rest, TLS on the way through
// the address's sslmode), and psql reads them.
//
// Errors. Every operation returns success as a bool and leaves the thread's
// error state (error.h). Nothing is thrown.
//
// Threads. An instance belongs to one thread. Instances are independent: two
// instances over the same file (two declarations, two threads, two processes)
// each hold their own connection and their own access lock, and conflict with
// each other exactly as two processes do; only a thread's own instances never
// wait for each other's turns.
//
// Waiting. Stations get the file in the order they asked for it
// (fair_lock.h; on a server, its lock queue): a read waits only for writes
// asked for before it, a write transaction for the writes before it and,
// when it commits, for the reads before that (a server's readers never hold
// a writer up: they keep their own view). Each operation outside a
// transaction takes its own turn; every wait is bounded (begin() and
// beginRead() by their argument, a commit by 2 s, any other operation by
// 5 s) and ends in 32.
//
// A server. Its errors are the same numbers; 100 is a server that cannot be
// reached or a connection lost (the server restarted): the operation fails,
// a transaction's work is lost (its commit says so), and the next operation
// outside a transaction connects again by itself. No wait for a server is
// unbounded. The password is never part of a name or an error text.
#ifndef WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_H_
#define WEVO_PLATFORM_KEYEDFILE_KEYED_FILE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/read_counter.h"  // rowsRead(): rows fetched by this thread
#include "platform/keyedfile/row_set.h"

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
  // Files only: a store on a server, or a copy onto one, is refused (80);
  // such copies go row by row.
  bool copy(const std::string& dest);
  // Removes the (closed) file with its journal and lock file; on a server,
  // the store's tables (its schema stays). 52 when this instance is open;
  // otherwise as removeFile().
  bool remove();
  // Whether the store exists. A store on a server is asked for with the
  // server's own sources of a password (none given) or with `owner`; false
  // also when the server cannot be asked (the thread's error then says why).
  static bool exists(const std::string& name);
  static bool exists(const std::string& name, const Secret& owner);
  // 2 no such file (a lock file nobody holds, left by a holder that died,
  // is removed even then), 32 someone has it open.
  static bool removeFile(const std::string& name);
  static bool removeFile(const std::string& name, const Secret& owner);

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
  // Reads, in one go, every row whose first `components` components of
  // `key` equal the buffer's (text components compared as the key compares
  // them), in the key's order (equal values in insertion order), into
  // `rows`: one pass over the key, for a caller that wants all of a range.
  // The buffer, the current row and the sequential position are left alone.
  // 80 for a bad key or count; a failed read leaves `rows` empty.
  bool readRange(int key, int components, RowSet& rows);
  // One range of readRanges(): the rows whose first `components` components
  // of `key` equal those in `values` (a record laid out as the file's), read
  // into `rows` as readRange() reads them.
  struct RangeRead {
    int key = 0;
    int components = 0;
    const void* values = nullptr;
    RowSet* rows = nullptr;
  };
  // Reads several ranges as one state of the file. Inside a transaction of
  // the instance they are read in it; otherwise in a read transaction of
  // their own (beginRead()), which waits up to `waitSeconds` for a writer in
  // the middle of its commit; when that wait runs out, each range is read on
  // its own. On a server they travel there and back together, once. The
  // buffer, current row and sequential position are left alone; a failed
  // read leaves every set empty.
  bool readRanges(std::span<const RangeRead> ranges, int waitSeconds);
  // The indexes of `rows` (read through this file) in the order of `key`, as
  // a walk over the key would meet them: by the key's values compared as the
  // key compares them, equal values in insertion order.
  std::vector<size_t> keyOrder(const RowSet& rows, int key) const;

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
  // A write transaction: other writers are kept out until it ends, waiting
  // up to `waitSeconds` for those before it (32 when they keep the file);
  // 56 inside a transaction or stream. (A file: BEGIN IMMEDIATE; a server:
  // the writers' lock in a READ COMMITTED transaction.)
  bool begin(int waitSeconds);
  // Waits up to 2 s for the readers that asked for the file before it (32
  // when they stay; the transaction is then still open, to roll back; a
  // server's readers never hold a commit up). 90 when the driver already
  // rolled the transaction back because a statement in it failed (a damaged
  // page, a full disk; on a server any refused statement): its work is lost.
  // 100 when the connection to the server went with it.
  bool commit();
  bool rollback();
  // A read transaction: every read until endRead() sees the file as it was
  // when the first of them ran. On a file no writer can change it in between
  // (writers wait for it to end, up to their own wait), and it waits up to
  // `waitSeconds` for a writer in the middle of its commit (32 when it stays
  // there); a server keeps the reader's view and holds no writer up. No write
  // may be made in it (56); 56 inside another transaction.
  bool beginRead(int waitSeconds);
  bool endRead();
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
