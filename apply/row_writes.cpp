#include "apply/row_writes.h"

#include <cstring>

#include "store/new_uid.h"
#include "store/store_thread.h"

namespace wevo::apply {

bool PlannedWrites::rewrite(const std::string&, const store::WindowControls&) {
  ++count_;
  return true;
}

bool PlannedWrites::add(store::WindowControls&, std::string& position) {
  ++count_;
  position.clear();
  return true;
}

bool StoreWrites::rewrite(const std::string& position, const store::WindowControls& row) {
  if (!file_.reget(position)) return false;
  std::memcpy(file_.record(), &row, sizeof row);
  return file_.put();
}

bool StoreWrites::add(store::WindowControls& row, std::string& position) {
  std::memcpy(file_.record(), &row, sizeof row);
  file_.blobSetSize(0);
  if (!store::AddRecordWithNewUid(file_, store::KEYUID)) return false;
  std::memcpy(&row, file_.record(), sizeof row);
  position = file_.position();
  return true;
}

}  // namespace wevo::apply
