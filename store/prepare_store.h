// What both entry points do before they touch the store: name it, set its
// password, and bring a store on disk up to date.
#ifndef WEVO_STORE_PREPARE_STORE_H_
#define WEVO_STORE_PREPARE_STORE_H_

#include "wevo/wevo.h"

namespace wevo::store {

// Sets the process-wide store name and password from `settings`
// (store_name.h; WEVOPATH may gain a trailing "/"), then checks the store
// (checkStoreFormat). Runs on the calling host thread; assumes no other
// thread or process is converting the same store.
void PrepareStore(WEVOSETTINGS& settings);

// The format check of the store the process-wide name and password name:
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
void checkStoreFormat();

}  // namespace wevo::store

#endif  // WEVO_STORE_PREPARE_STORE_H_
