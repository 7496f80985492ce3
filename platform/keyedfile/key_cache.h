// The keys SQLCipher derives from owner passwords, derived once per process.
//
// SQLCipher turns a passphrase into the file's key with 64,000 rounds of
// PBKDF2-HMAC-SHA1 over the file's salt (its first 16 bytes) on every open,
// which costs tens of milliseconds; the library opens its store several times
// per window. Here the key is derived once per (salt, password) and kept in a
// process-wide cache (the derived key only: entries are found by a digest of
// salt and password, never by the password itself); files are then opened
// with the raw key, which gives the same file as the passphrase would.
#ifndef WEVO_PLATFORM_KEYEDFILE_KEY_CACHE_H_
#define WEVO_PLATFORM_KEYEDFILE_KEY_CACHE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wevo::kf {

inline constexpr size_t kSaltSize = 16;
inline constexpr size_t kKeySize = 32;
inline constexpr int kKdfRounds = 64000;

using Salt = std::array<unsigned char, kSaltSize>;
using DerivedKey = std::array<unsigned char, kKeySize>;

// The key for `password` over `salt`; false only when OpenSSL fails.
// Thread-safe.
bool derivedKey(const Salt& salt, std::string_view password, DerivedKey& key);

// A fresh random salt for a new file.
bool randomSalt(Salt& salt);

// SQLCipher's raw-key form: "x'<64 hex>'" for an existing file, with the salt
// appended ("x'<64 hex><32 hex>'") for a file being created.
std::string rawKeyForm(const DerivedKey& key);
std::string rawKeyForm(const DerivedKey& key, const Salt& salt);

// How many derivations have run in this process (each costs the full rounds).
uint64_t keyDerivations();
// Forgets every cached key.
void clearKeyCache();

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_KEY_CACHE_H_
