// The store work of one operation in one write transaction: its reads share
// one lock, its writes reach the disk together or not at all, and no other
// station writes between a lookup and the write that depends on it (two
// stations never both add a row they both found missing).
//
// Nothing is kept unless commit() says so: leaving the scope without it (an
// early return, the program ending and unwinding the thread) rolls the work
// back. A commit that fails is reported like any other failed write: the
// error is saved, the work rolled back, and message 15 names the file.
//
// A station that holds the store is waited for, as long as the store's other
// transactions wait (2 s). Whether the work may go on without a transaction
// of its own when the store stays held (or when the file is already inside
// an enclosing operation's transaction, which the work then joins) is the
// caller's choice, made by the way it begins:
//
//   { store::StoreUse use;
//     auto transaction = store::StoreTransaction::beginOrGoOnWithout(store::winFile());
//     ...
//     transaction.commit(); }
#ifndef WEVO_STORE_STORE_TRANSACTION_H_
#define WEVO_STORE_STORE_TRANSACTION_H_

#include "platform/keyedfile/keyed_file.h"

namespace wevo::store {

class StoreTransaction {
 public:
  static constexpr int kWaitSeconds = 2;

  // Begins a write transaction on `file`. When none can begin, the work
  // that follows runs without one: each write on its own, as it would
  // outside any transaction (or inside the enclosing one). `file` must be
  // open and stay open for the life of the object.
  [[nodiscard]] static StoreTransaction beginOrGoOnWithout(kf::File& file);

  // Rolls back what was not committed.
  ~StoreTransaction();
  StoreTransaction(const StoreTransaction&) = delete;
  StoreTransaction& operator=(const StoreTransaction&) = delete;

  // Whether this object began a transaction (and so owns its end).
  bool begun() const { return begun_; }

  // Makes the work permanent. True when it was committed, or when no
  // transaction was begun (the writes are already where they went). On
  // failure: the error saved and the work rolled back, message 15 with the
  // file's label shown, false. Once called, the object ends nothing more.
  bool commit();

 private:
  StoreTransaction(kf::File& file, bool begun) : file_(file), begun_(begun) {}

  kf::File& file_;
  bool begun_;
  bool ended_ = false;
};

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_TRANSACTION_H_
