// The store writes of one command of the control list in one transaction,
// when the store can begin one within two seconds: they reach the disk
// together, or (the commit failing, or the thread unwinding) not at all. A
// store another writer keeps busy is written row by row instead.
#ifndef WEVO_CONTROLLIST_STORE_TRANSACTION_H_
#define WEVO_CONTROLLIST_STORE_TRANSACTION_H_

#include <exception>

#include "platform/keyedfile/keyed_file.h"

namespace wevo::controllist {

class CommandTransaction {
 public:
  explicit CommandTransaction(kf::File& file) : file_(file), begun_(file.begin(kWaitSeconds)) {}
  ~CommandTransaction() {
    if (!begun_) return;
    if (std::uncaught_exceptions() > 0 || !file_.commit()) file_.rollback();
  }
  CommandTransaction(const CommandTransaction&) = delete;
  CommandTransaction& operator=(const CommandTransaction&) = delete;

 private:
  static constexpr int kWaitSeconds = 2;
  kf::File& file_;
  bool begun_;
};

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_STORE_TRANSACTION_H_
