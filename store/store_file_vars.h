// The store's process-wide file name (256 characters) and owner password (128
// characters). Every exported call sets them again from the caller's
// settings; the store's declarations read them when no call's own context is
// bound on the thread (store_context.h). Both are blank when the library is
// loaded. Reads and writes are guarded, so threads that meet here see whole
// values; a password replaced is wiped.
#ifndef WEVO_STORE_STORE_FILE_VARS_H_
#define WEVO_STORE_STORE_FILE_VARS_H_

#include <string>
#include <string_view>

#include "platform/keyedfile/secret.h"

namespace wevo::store {

inline constexpr size_t kFileNameWidth = 256;
inline constexpr size_t kOwnerWidth = 128;

// Values are cut at their width; trailing blanks are not significant.
void setStoreFileName(std::string_view name);
void setStoreOwner(std::string_view owner);
// The values without trailing blanks.
std::string storeFileName();
kf::Secret storeOwner();

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_FILE_VARS_H_
