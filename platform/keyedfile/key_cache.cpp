#include "platform/keyedfile/key_cache.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <atomic>
#include <map>
#include <mutex>

namespace wevo::kf {
namespace {

using Digest = std::array<unsigned char, 32>;

// Cached keys stay few (one per store and password); a runaway number of
// files would be cut back rather than grow the cache without end.
constexpr size_t kMaxEntries = 256;

struct Cache {
  std::mutex mutex;
  std::map<Digest, DerivedKey> keys;
  std::atomic<uint64_t> derivations{0};

  ~Cache() { wipeAll(); }
  void wipeAll() {
    for (auto& entry : keys) OPENSSL_cleanse(entry.second.data(), entry.second.size());
    keys.clear();
  }
};

Cache& cache() {
  static Cache c;
  return c;
}

bool lookupDigest(const Salt& salt, std::string_view password, Digest& out) {
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  if (ctx == nullptr) return false;
  unsigned int n = 0;
  static const unsigned char kSeparator = 0;
  bool ok = EVP_DigestInit_ex(ctx, EVP_sha256(), nullptr) == 1 &&
            EVP_DigestUpdate(ctx, salt.data(), salt.size()) == 1 &&
            EVP_DigestUpdate(ctx, &kSeparator, 1) == 1 &&
            EVP_DigestUpdate(ctx, password.data(), password.size()) == 1 &&
            EVP_DigestFinal_ex(ctx, out.data(), &n) == 1 && n == out.size();
  EVP_MD_CTX_free(ctx);
  return ok;
}

void appendHex(std::string& out, const unsigned char* bytes, size_t n) {
  static const char kDigits[] = "0123456789abcdef";
  for (size_t i = 0; i < n; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 0xf]);
  }
}

}  // namespace

bool derivedKey(const Salt& salt, std::string_view password, DerivedKey& key) {
  Digest digest;
  if (!lookupDigest(salt, password, digest)) return false;
  Cache& c = cache();
  {
    std::lock_guard lock(c.mutex);
    auto it = c.keys.find(digest);
    if (it != c.keys.end()) {
      key = it->second;
      return true;
    }
  }
  // Derived outside the lock: other threads' opens of known files go on.
  if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), salt.data(),
                             static_cast<int>(salt.size()), kKdfRounds, static_cast<int>(key.size()),
                             key.data()) != 1)
    return false;
  c.derivations.fetch_add(1, std::memory_order_relaxed);
  std::lock_guard lock(c.mutex);
  if (c.keys.size() >= kMaxEntries) c.wipeAll();
  c.keys[digest] = key;
  return true;
}

bool randomSalt(Salt& salt) { return RAND_bytes(salt.data(), static_cast<int>(salt.size())) == 1; }

std::string rawKeyForm(const DerivedKey& key) {
  std::string form = "x'";
  form.reserve(2 + 2 * kKeySize + 1);
  appendHex(form, key.data(), key.size());
  form.push_back('\'');
  return form;
}

std::string rawKeyForm(const DerivedKey& key, const Salt& salt) {
  std::string form = "x'";
  form.reserve(2 + 2 * (kKeySize + kSaltSize) + 1);
  appendHex(form, key.data(), key.size());
  appendHex(form, salt.data(), salt.size());
  form.push_back('\'');
  return form;
}

void wipe(std::string& secret) {
  if (!secret.empty()) OPENSSL_cleanse(secret.data(), secret.size());
  secret.clear();
}

uint64_t keyDerivations() { return cache().derivations.load(std::memory_order_relaxed); }

void clearKeyCache() {
  Cache& c = cache();
  std::lock_guard lock(c.mutex);
  c.wipeAll();
}

}  // namespace wevo::kf
