#include "platform/keyedfile/connection_pool.h"

#include "platform/keyedfile/digest.h"
#include "platform/keyedfile/pg_connection.h"

#include <sys/stat.h>

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace wevo::kf {
namespace {

// Enough for the declarations a thread works on at once, each with a
// connection or two; older ones are closed.
constexpr size_t kMaxParked = 8;

struct Parked {
  ConnectionKey key;
  std::unique_ptr<Db> db;
};

struct ParkedServer {
  std::string store;
  std::string ownerDigest;
  std::unique_ptr<PgConnection> connection;
};

struct Pool {
  std::vector<Parked> parked;  // oldest first
  std::vector<ParkedServer> servers;  // oldest first
};

// The pool lives in a thread_local pointer with no destructor of its own, so
// that files closed by other thread_local destructors after the pool's
// owner is gone still find out (and close their connections themselves).
thread_local Pool* tPool = nullptr;
thread_local bool tPoolGone = false;

struct PoolOwner {
  ~PoolOwner() {
    delete tPool;
    tPool = nullptr;
    tPoolGone = true;
  }
};
thread_local PoolOwner tPoolOwner;

Pool* pool() {
  if (tPoolGone) return nullptr;
  if (tPool == nullptr) {
    (void)&tPoolOwner;  // constructs the owner, which deletes the pool at thread end
    tPool = new Pool;
  }
  return tPool;
}

std::string digestOf(std::string_view owner) {
  static const char kDomain[] = "wevo keyed-file connection owner";
  Sha256 out{};
  if (!sha256({std::string_view(kDomain, sizeof kDomain), owner}, out)) return {};
  return std::string(reinterpret_cast<const char*>(out.data()), out.size());
}

bool sameConnection(const ConnectionKey& a, const ConnectionKey& b) {
  return a.path == b.path && a.ownerDigest == b.ownerDigest && a.readOnly == b.readOnly && a.device == b.device &&
         a.inode == b.inode;
}

}  // namespace

ConnectionKey ConnectionKey::of(const std::string& path, std::string_view owner, bool readOnly, bool* known) {
  ConnectionKey key;
  key.path = path;
  key.readOnly = readOnly;
  key.ownerDigest = digestOf(owner);
  struct stat st {};
  *known = !key.ownerDigest.empty() && ::stat(path.c_str(), &st) == 0;
  if (*known) {
    key.device = static_cast<unsigned long long>(st.st_dev);
    key.inode = static_cast<unsigned long long>(st.st_ino);
  }
  return key;
}

bool takeConnection(const ConnectionKey& key, Db& db) {
  Pool* p = pool();
  if (p == nullptr) return false;
  // Connections to a file that is no longer at its path are of no more use:
  // closed, so that the old file's space is given back.
  std::erase_if(p->parked, [&](const Parked& e) {
    return e.key.path == key.path && (e.key.device != key.device || e.key.inode != key.inode);
  });
  // The newest first: its pages are the likeliest to be cached still.
  for (size_t i = p->parked.size(); i-- > 0;) {
    if (!sameConnection(p->parked[i].key, key)) continue;
    db.adopt(*p->parked[i].db);
    p->parked.erase(p->parked.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

void parkConnection(const ConnectionKey& key, Db& db) {
  Pool* p = pool();
  if (p == nullptr || !db.isOpen() || !db.autocommit()) {
    db.close();
    return;
  }
  if (p->parked.size() + p->servers.size() >= kMaxParked) {
    if (!p->parked.empty())
      p->parked.erase(p->parked.begin());
    else
      p->servers.erase(p->servers.begin());
  }
  Parked entry{key, std::make_unique<Db>()};
  entry.db->adopt(db);
  p->parked.push_back(std::move(entry));
}

void dropConnections(const std::string& path) {
  Pool* p = pool();
  if (p == nullptr) return;
  std::erase_if(p->parked, [&](const Parked& e) { return e.key.path == path; });
}

bool takeServerConnection(const std::string& store, std::string_view owner, std::unique_ptr<PgConnection>& out) {
  Pool* p = pool();
  if (p == nullptr) return false;
  const std::string digest = digestOf(owner);
  for (size_t i = p->servers.size(); i-- > 0;) {
    ParkedServer& e = p->servers[i];
    if (e.store != store || e.ownerDigest != digest || digest.empty()) continue;
    std::unique_ptr<PgConnection> c = std::move(e.connection);
    p->servers.erase(p->servers.begin() + static_cast<std::ptrdiff_t>(i));
    if (!c->usable()) continue;
    out = std::move(c);
    return true;
  }
  return false;
}

void parkServerConnection(const std::string& store, std::string_view owner, std::unique_ptr<PgConnection> c) {
  Pool* p = pool();
  if (p == nullptr || c == nullptr || !c->usable()) return;
  std::string digest = digestOf(owner);
  if (digest.empty()) return;
  if (p->parked.size() + p->servers.size() >= kMaxParked) {
    if (!p->servers.empty())
      p->servers.erase(p->servers.begin());
    else
      p->parked.erase(p->parked.begin());
  }
  p->servers.push_back({store, std::move(digest), std::move(c)});
}

void dropServerConnections(const std::string& store) {
  Pool* p = pool();
  if (p == nullptr) return;
  std::erase_if(p->servers, [&](const ParkedServer& e) { return e.store == store; });
}

int parkedConnections() {
  Pool* p = pool();
  return p == nullptr ? 0 : static_cast<int>(p->parked.size() + p->servers.size());
}

}  // namespace wevo::kf
