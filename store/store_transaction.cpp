#include "store/store_transaction.h"

#include <string>

#include "platform/keyedfile/error.h"
#include "store/store_messages.h"

namespace wevo::store {

StoreTransaction StoreTransaction::beginOrGoOnWithout(kf::File& file) {
  return StoreTransaction(file, file.begin(kWaitSeconds));
}

// The rollback leaves the thread's error state as the work left it, so that
// it still tells why the work stopped.
StoreTransaction::~StoreTransaction() {
  if (!begun_ || ended_) return;
  const int code = kf::errorCode();
  const int driverCode = kf::driverErrorCode();
  const std::string driverText = kf::driverErrorText();
  file_.rollback();
  if (code == kf::kNoError)
    kf::clearError();
  else
    kf::setError(code, driverCode, driverText);
}

bool StoreTransaction::commit() {
  if (!begun_ || ended_) return true;
  ended_ = true;
  if (file_.commit()) return true;
  saveError(file_);  // rolls back what the commit left
  standardMessage(kMsgUpdateError, file_.decl().label);
  return false;
}

}  // namespace wevo::store
