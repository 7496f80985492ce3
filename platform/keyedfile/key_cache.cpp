#include "platform/keyedfile/key_cache.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <atomic>
#include <map>

#include "platform/base/mutex.h"

namespace wevo::kf {
namespace {

using Digest = std::array<unsigned char, 32>;

// Cached keys stay few (one per store and password); a runaway number of
// files would be cut back rather than grow the cache without end.
constexpr size_t kMaxEntries = 256;

class Cache {
 public:
  ~Cache() {
    base::MutexLock lock(mutex_);
    wipeAll();
  }

  bool find(const Digest& digest, DerivedKey& key) EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    auto it = keys_.find(digest);
    if (it == keys_.end()) return false;
    key = it->second;
    return true;
  }

  void keep(const Digest& digest, const DerivedKey& key) EXCLUDES(mutex_) {
    derivations_.fetch_add(1, std::memory_order_relaxed);
    base::MutexLock lock(mutex_);
    if (keys_.size() >= kMaxEntries) wipeAll();
    keys_[digest] = key;
  }

  void clear() EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    wipeAll();
  }

  uint64_t derivations() const { return derivations_.load(std::memory_order_relaxed); }

 private:
  void wipeAll() REQUIRES(mutex_) {
    for (auto& entry : keys_) OPENSSL_cleanse(entry.second.data(), entry.second.size());
    keys_.clear();
  }

  base::Mutex mutex_;
  std::map<Digest, DerivedKey> keys_ GUARDED_BY(mutex_);
  std::atomic<uint64_t> derivations_{0};
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
  if (c.find(digest, key)) return true;
  // Derived outside the lock: other threads' opens of known files go on.
  if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), salt.data(),
                             static_cast<int>(salt.size()), kKdfRounds, static_cast<int>(key.size()),
                             key.data()) != 1)
    return false;
  c.keep(digest, key);
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

uint64_t keyDerivations() { return cache().derivations(); }

void clearKeyCache() { cache().clear(); }

}  // namespace wevo::kf
