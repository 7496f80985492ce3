// The store's process-wide file name (256 characters) and owner password (128
// characters). Every declaration of the store reads them when a file is
// created, opened, copied or removed; every exported call sets them again from
// the caller's settings. Both are blank when the library is loaded. Reads and
// writes are guarded, so threads that meet here see whole values.
#ifndef WEVO_STORE_STORE_FILE_VARS_H_
#define WEVO_STORE_STORE_FILE_VARS_H_

#include <string>
#include <string_view>

namespace wevo::store {

inline constexpr size_t kFileNameWidth = 256;
inline constexpr size_t kOwnerWidth = 128;

// Values are cut at their width; trailing blanks are not significant.
void setStoreFileName(std::string_view name);
void setStoreOwner(std::string_view owner);
// The values without trailing blanks.
std::string storeFileName();
std::string storeOwner();

}  // namespace wevo::store

#endif  // WEVO_STORE_STORE_FILE_VARS_H_
