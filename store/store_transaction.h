// The store work of one operation in one write transaction: its reads share
// one lock, its writes reach the disk together (or, the commit failing or the
// thread unwinding, not at all), and no other station writes between a
// lookup and the write that depends on it (two stations never both add a row
// they both found missing).
//
// A station that holds the store is waited for, as long as the store's other
// transactions wait (2 s). When the store is still held after that, or the
// file is already inside a transaction (an enclosing operation's), nothing is
// begun and the work runs as it would without one.
//
//   { store::StoreUse use;  store::StoreTransaction tx(store::winFile());  ... }
#ifndef WEVO_STORE_STORE_TRANSACTION_H_
#define WEVO_STORE_STORE_TRANSACTION_H_

#include <exception>

#include "platform/keyedfile/keyed_file.h"

namespace wevo::store {

class StoreTransaction {
 public:
  static constexpr int kWaitSeconds = 2;

  // `file` must be open and stay open for the life of the object.
  explicit StoreTransaction(kf::File& file) : file_(file), begun_(file.begin(kWaitSeconds)) {}
  ~StoreTransaction() {
    if (!begun_) return;
    if (std::uncaught_exceptions() > 0 || !file_.commit()) file_.rollback();
  }
  StoreTransaction(const StoreTransaction&) = delete;
  StoreTransaction& operator=(const StoreTransaction&) = delete;

  bool begun() const { return begun_; }

 private:
  kf::File& file_;
  bool begun_;
};

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_TRANSACTION_H_
