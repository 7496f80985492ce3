// `copy`: a whole store to a new place, with a count check. The same code
// copies a file to a file, a file to a server store and a server store to a
// file: both ends are only names and passwords for the keyed-file layer,
// whose backend each name selects.
#ifndef WEVO_ADMIN_STORE_TRANSFER_H_
#define WEVO_ADMIN_STORE_TRANSFER_H_

#include <ostream>
#include <string>

#include "admin/store_location.h"
#include "platform/keyedfile/secret.h"

namespace wevo::admin {

struct CopyEnd {
  StoreLocation location;
  kf::Secret password;  // empty: none
};

// Copies every row of `from`, blob included, in the order they were added
// and with their numbers, into a new store at `to` protected with its
// password. The source is read in one transaction (the rows of one moment)
// and opened through the store layer, so a wrong password or a damaged
// store is reported as for any command. A file copy is built under a
// temporary name beside `to` ("<to>.copying"), its keys built once, its
// rows counted again, and only then given `to`'s name. A server copy is
// filled in one write transaction, its keys built and its rows counted
// before the commit, and counted again after it. Either way a copy that
// fails leaves nothing at `to`. Fails (kExitExists) when `to` holds a
// store already (on a server: one with rows; an empty one is filled),
// (kExitUsage) when both name one store, (kExitStoreError) when a step of
// the copy or the count check fails.
void copyWholeStore(const CopyEnd& from, const CopyEnd& to, std::ostream& out);

}  // namespace wevo::admin

#endif  // WEVO_ADMIN_STORE_TRANSFER_H_
