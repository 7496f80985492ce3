#include "store/protect_store.h"

#include "store/store_copy.h"
#include "store/store_file_vars.h"
#include "store/window_controls.h"

namespace wevo::store {

bool ProtectStore(std::string_view password) {
  const std::string store = storeFileName();
  StoreCopy copy;
  copy.from = &winDecl();
  copy.to = &win2Decl();
  copy.fromOwner.clear();
  copy.toOwner = std::string(password);
  copy.tempName = protectTempName(store);
  copy.backupName = store + ".01bak";
  copy.transfer = [](const void* src, void* dst) { kf::copyByName(winDecl(), src, win2Decl(), dst); };
  return copyStore(store, copy);
}

}  // namespace wevo::store
