// What both entry points do before they touch the store: name it, set its
// password, and bring a store on disk up to date.
#ifndef WEVO_STORE_PREPARE_STORE_H_
#define WEVO_STORE_PREPARE_STORE_H_

#include "store/store_context.h"
#include "wevo/wevo.h"

namespace wevo::store {

// Takes the store's name and password from `settings` once for the calling
// entry (applyStoreSettings in store_name.h; WEVOSETTINGS.WEVOPATH may gain a
// trailing "/"; the process-wide variables are set too), then checks the
// store (checkStoreFormat). Returns the context the entry binds for its
// store work (store_context.h). Runs on the calling host thread.
StoreContext PrepareStore(WEVOSETTINGS& settings);

// The format check of the store `context` names, with its password:
//   no such file: nothing is done (opening creates it later);
//   it opens with the current layout and the password: nothing else;
//   with a password given, it reads only without one: it is protected with
//     the password (ProtectStore) and checked again, so that a first-layout
//     store is converted next;
//   with a password given, it reads without one only through the first
//     layout: it is converted (layout first, unprotected), then protected,
//     then checked again;
//   it has the first layout (read with the password or, none given,
//     without): conversion 01 (ConvertLayout);
//   any other failure: nothing is done; opening reports it later.
// A conversion that is abandoned ends the check. Temporary files that an
// interrupted conversion left beside a healthy store are removed.
void checkStoreFormat(const StoreContext& context);

}  // namespace wevo::store

#endif  // WEVO_STORE_PREPARE_STORE_H_
