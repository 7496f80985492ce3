#include "admin/store_rekey.h"

#include "admin/failure.h"
#include "platform/keyedfile/file_decl.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/protect_store.h"
#include "store/store_copy.h"
#include "store/store_messages.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "store/window_controls.h"

namespace wevo::admin {
namespace {

uint64_t countRows() {
  StoreInUse use;
  uint64_t rows = 0;
  if (!store::winFile().records(rows)) {
    store::standardMessage(store::kMsgRetrievalError, store::kTableLabel);
    throw reportedByStore();
  }
  return rows;
}

}  // namespace

void refuseServerRekey(std::string_view given) {
  if (isServerUri(given))
    throw Failure(kExitUsage, std::string(given) +
                                  ": a server store's password is its role's, which the server keeps; only store "
                                  "files are rekeyed");
}

void rekeyStore(AdminStore& store, const kf::Secret& newPassword, std::ostream& out) {
  refuseServerRekey(store.location().given);
  if (newPassword.empty())
    throw Failure(kExitUsage,
                  "no new password given (--new-password-file, WEVO_NEW_PASSWORD "
                  "or the prompt); a store is not unprotected here");
  if (newPassword == store.context().password) throw Failure(kExitUsage, "the new password is the one the store has");
  store.requireExisting();
  const std::string& path = store.context().path;
  const uint64_t rows = countRows();
  std::string backup;
  if (!store.isProtected()) {
    backup = path + ".01bak";
    if (!store::ProtectStore(path, newPassword.view())) throw reportedByStore();
  } else {
    backup = path + ".rekey.bak";
    store::StoreCopy copy;
    copy.from = &store::winDecl();
    copy.to = &store::win2Decl();
    copy.fromOwner = store.context().password;
    copy.toOwner = newPassword;
    copy.tempName = path + ".rekeying";
    copy.backupName = backup;
    copy.transfer = [](const void* src, void* dst) { kf::copyByName(store::winDecl(), src, store::win2Decl(), dst); };
    if (!store::copyStore(path, copy)) throw reportedByStore();
  }
  AdminStore rekeyed(store.location(), newPassword);
  const uint64_t after = countRows();
  if (after != rows)
    throw Failure(kExitStoreError, "count check failed: the store had " + std::to_string(rows) + " rows and has " +
                                       std::to_string(after) + " under the new password; the store as it was is " +
                                       backup);
  out << store.location().given << ": " << after << (after == 1 ? " row" : " rows")
      << " now protected by the new password; the store as it was is " << backup << "\n";
}

}  // namespace wevo::admin
