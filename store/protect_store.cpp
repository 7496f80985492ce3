#include "store/protect_store.h"

#include "store/store_copy.h"
#include "store/window_controls.h"

namespace wevo::store {

bool ProtectStore(const std::string& store, std::string_view password) {
  StoreCopy copy;
  copy.from = &winDecl();
  copy.to = &win2Decl();
  copy.fromOwner = kf::Secret();
  copy.toOwner = kf::Secret(password);
  copy.tempName = protectTempName(store);
  copy.backupName = store + ".01bak";
  copy.transfer = [](const void* src, void* dst) { kf::copyByName(winDecl(), src, win2Decl(), dst); };
  return copyStore(store, copy);
}

}  // namespace wevo::store
