// Opening the store: with recovery from the usual failures of a keyed file,
// with creation of a missing store, and counted per thread so that nested
// operations share one open.
//
// Program-ending outcomes go through the standard messages
// (store_messages.h) and wevo::halt, which unwinds the calling host thread;
// nothing is left counted or open by an open that ended the program.
#ifndef WEVO_STORE_STORE_OPEN_H_
#define WEVO_STORE_STORE_OPEN_H_

#include "platform/keyedfile/keyed_file.h"
#include "store/store_thread.h"

namespace wevo::store {

// Opens `file` in `mode` (default 66: read and write, others may read and
// write) or ends the program:
//   locked (32): "Recover=10" is sent once and the open repeated once;
//   already open (52): done;
//   missing (2): created empty and opened when `createAllowed` (message 4
//     ends the program when it cannot be created, 5 when the new file does
//     not open); otherwise message 4;
//   damaged keys (46): message 2 asks; No ends the program, Yes rebuilds the
//     keys (message 3 ends it when that fails) and opens again;
//   another layout (47): message 1 ends the program;
//   still not open: message 30, then the program ends with "Disk Error";
//   a server that cannot be reached (100): message 30 naming the store (the
//     server's address, never a password) and the server's reason, once per
//     entry call (store_context.h); the file stays closed and the caller goes
//     on without the store (its operations then fail with 37), as a program
//     is not ended for a network that is down.
void openWithRecovery(kf::File& file, bool createAllowed = true, int mode = kf::kShared);

// The counting open and close of one of the thread's instances (store_thread.h):
// openCounted opens with recovery only when the thread's count is 0, then
// adds 1; closeCounted subtracts 1 and closes at 0 (a close with the count at
// 0 does nothing).
void openCounted(kf::File& file);
void closeCounted(kf::File& file);

// openCounted for the life of a scope:
//   { StoreUse use;  ...WIN()... }            // winFile()
//   { StoreUse use(win2File()); ... }
class StoreUse {
 public:
  explicit StoreUse(kf::File& file = winFile()) : file_(file) { openCounted(file_); }
  ~StoreUse() { closeCounted(file_); }
  StoreUse(const StoreUse&) = delete;
  StoreUse& operator=(const StoreUse&) = delete;

 private:
  kf::File& file_;
};

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_OPEN_H_
