#include "platform/keyedfile/connection.h"

#include <openssl/crypto.h>
#include <sys/stat.h>

#include <cerrno>
#include <mutex>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/key_cache.h"
#include "platform/keyedfile/secret.h"

namespace wevo::kf {
namespace {

int keyFor(Db& db, std::string_view owner, bool create) {
  Salt salt{};
  if (!create) {
    // An existing file's salt is its first 16 bytes (read through SQLite's
    // own handle). A file too short to hold one reads as zeros and then fails
    // to decrypt like any other file that is not ours.
    int rc = db.readRaw(salt.data(), static_cast<int>(salt.size()), 0);
    if (rc != kSqlOk) return reportSqlFailure(&db, rc);
  } else if (!randomSalt(salt)) {
    setError(kErrDriver, 0, "no random salt");
    return kErrDriver;
  }
  DerivedKey key{};
  if (!derivedKey(salt, owner, key)) {
    setError(kErrDriver, 0, "key derivation failed");
    return kErrDriver;
  }
  std::string form = create ? rawKeyForm(key, salt) : rawKeyForm(key);
  OPENSSL_cleanse(key.data(), key.size());
  int rc = db.setKey(form);
  wipe(form);
  if (rc != kSqlOk) return reportSqlFailure(&db, rc);
  rc = db.exec("PRAGMA cipher_page_size=4096");
  if (rc != kSqlOk) return reportSqlFailure(&db, rc);
  return kNoError;
}

}  // namespace

bool cipherAvailable() {
  static std::once_flag once;
  static bool available = false;
  std::call_once(once, [] {
    Db probe;
    if (probe.open(":memory:", true, false) != kSqlOk) return;
    int rc = kSqlOk;
    Stmt* stmt = probe.prepare("PRAGMA cipher_version", &rc);
    if (stmt == nullptr) return;
    StmtUse use(*stmt);
    available = stmt->step() == kSqlRow && !stmt->columnText(0).empty();
  });
  return available;
}

int connect(Db& db, const std::string& path, std::string_view owner, bool create, bool readOnly) {
  if (!cipherAvailable()) {
    setError(kErrDriver, 0, "the SQLite library linked is not SQLCipher");
    return kErrDriver;
  }
  int rc = db.open(path, create, readOnly);
  if (rc != kSqlOk) {
    struct stat st {};
    int code;
    if (!create && ::stat(path.c_str(), &st) != 0 && errno == ENOENT) {
      setError(kErrNotFound);
      code = kErrNotFound;
    } else {
      code = reportSqlFailure(&db, rc);
    }
    db.close();
    return code;
  }
  db.setBusyTimeout(kBusyMillis);
  if (!owner.empty()) {
    if (int code = keyFor(db, owner, create); code != kNoError) {
      db.close();
      return code;
    }
  }
  rc = db.exec("PRAGMA synchronous=FULL");
  if (rc != kSqlOk) {
    int code = reportSqlFailure(&db, rc);
    db.close();
    return code;
  }
  return kNoError;
}

}  // namespace wevo::kf
