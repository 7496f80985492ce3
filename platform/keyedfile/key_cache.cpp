#include "platform/keyedfile/key_cache.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <atomic>
#include <map>
#include <set>

#include "platform/base/mutex.h"
#include "platform/keyedfile/digest.h"

namespace wevo::kf {
namespace {

using Digest = Sha256;

// Cached keys stay few (one per store and password); a runaway number of
// files would be cut back rather than grow the cache without end.
constexpr size_t kMaxEntries = 256;

class Cache {
 public:
  ~Cache() {
    base::MutexLock lock(mutex_);
    wipeAll();
  }

  // The cached key; or, when none is cached, the caller is to derive it
  // (false) and hand it to keep() or drop() after. A key another thread is
  // deriving is waited for rather than derived twice: each derivation costs
  // the full rounds.
  bool findOrClaim(const Digest& digest, DerivedKey& key) EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    for (;;) {
      auto it = keys_.find(digest);
      if (it != keys_.end()) {
        key = it->second;
        return true;
      }
      if (deriving_.insert(digest).second) return false;
      derived_.wait(mutex_);
    }
  }

  void keep(const Digest& digest, const DerivedKey& key) EXCLUDES(mutex_) {
    derivations_.fetch_add(1, std::memory_order_relaxed);
    base::MutexLock lock(mutex_);
    if (keys_.size() >= kMaxEntries) wipeAll();
    keys_[digest] = key;
    deriving_.erase(digest);
    derived_.notifyAll();
  }

  // The claimed derivation failed: a waiting thread tries itself.
  void drop(const Digest& digest) EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    deriving_.erase(digest);
    derived_.notifyAll();
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
  base::CondVar derived_;
  std::map<Digest, DerivedKey> keys_ GUARDED_BY(mutex_);
  std::set<Digest> deriving_ GUARDED_BY(mutex_);
  std::atomic<uint64_t> derivations_{0};
};

Cache& cache() {
  static Cache c;
  return c;
}

bool lookupDigest(const Salt& salt, std::string_view password, Digest& out) {
  static const char kSeparator = 0;
  return sha256({std::string_view(reinterpret_cast<const char*>(salt.data()), salt.size()),
                 std::string_view(&kSeparator, 1), password},
                out);
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
  if (c.findOrClaim(digest, key)) return true;
  // Derived outside the lock: other threads' opens of known files go on.
  if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), salt.data(),
                             static_cast<int>(salt.size()), kKdfRounds, static_cast<int>(key.size()),
                             key.data()) != 1) {
    c.drop(digest);
    return false;
  }
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
