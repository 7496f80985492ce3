// `rekey`: a store file's password changed, or an unprotected store file
// protected, by copying every row into a new file under the new password
// that then takes the store's place, as the library protects a store.
#ifndef WEVO_ADMIN_STORE_REKEY_H_
#define WEVO_ADMIN_STORE_REKEY_H_

#include <ostream>
#include <string_view>

#include "admin/admin_store.h"

namespace wevo::admin {

// The store must open with its current password (the store's open reports
// it when it does not). An unprotected store is protected as the library
// protects one (the old file kept as "<store>.01bak"); a protected one is
// copied under the new password, the old file kept as "<store>.rekey.bak"
// (still under the old password). The store is held alone throughout
// (another station holding it fails the copy, which changes nothing); the
// new store is opened with the new password and its rows counted before
// the command says it is done. Fails (kExitUsage) for a server store (its
// password is its role's, kept by the server), an empty new password, or
// the password it has already.
// Fails (kExitUsage) when `given` names a server store: its password is its
// role's, which the server keeps (ALTER ROLE there), so only files are rekeyed.
void refuseServerRekey(std::string_view given);

void rekeyStore(AdminStore& store, const kf::Secret& newPassword, std::ostream& out);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_STORE_REKEY_H_
