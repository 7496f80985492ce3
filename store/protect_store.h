// The protection copy: a store written without a password is copied row by
// row into a new file protected with the host's password (store_copy.h),
// keeping the old store as "<store>.01bak".
#ifndef WEVO_STORE_PROTECT_STORE_H_
#define WEVO_STORE_PROTECT_STORE_H_

#include <string>
#include <string_view>

namespace wevo::store {

// Reads the unprotected store `store` through
// winDecl() and writes every row, field by field by name with its blob, into
// a new file of win2Decl() protected with `password`, which takes the store's
// place. True when the store was replaced; false when the copy was abandoned
// (the error was shown; the store is unchanged).
bool ProtectStore(const std::string& store, std::string_view password);

}  // namespace wevo::store

#endif  // WEVO_STORE_PROTECT_STORE_H_
