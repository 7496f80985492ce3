// Where the keyed-file and store tests keep their stores, so that one suite
// runs on both kinds (header only; included by *_test.cpp files alone):
// files in a temporary folder, or schemas on the PostgreSQL server that
// scripts/test starts for the run and names in the environment:
//   WEVO_TEST_POSTGRES           its address, a URI without password
//   WEVO_TEST_POSTGRES_PASSWORD  the test role's password
// Without them (a developer running ctest by hand) the server's cases skip.
//
//   class MyTest : public ::testing::TestWithParam<kf::testing::StoreKind> {
//     void SetUp() override { WEVO_SKIP_WITHOUT_STORES(stores); ... }
//     kf::testing::TestStores stores{GetParam()};
//   };
//   INSTANTIATE_TEST_SUITE_P(Stores, MyTest, kf::testing::kBothKinds, kf::testing::kindName);
#ifndef WEVO_PLATFORM_KEYEDFILE_TEST_STORES_H_
#define WEVO_PLATFORM_KEYEDFILE_TEST_STORES_H_

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/keyedfile/server_name.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf::testing {

enum class StoreKind { kFile, kServer };

inline const auto kBothKinds = ::testing::Values(StoreKind::kFile, StoreKind::kServer);

inline std::string kindName(const ::testing::TestParamInfo<StoreKind>& info) {
  return info.param == StoreKind::kFile ? "File" : "Server";
}

// How GoogleTest shows the parameter (in test lists: "GetParam() = Server").
inline void PrintTo(StoreKind kind, std::ostream* out) { *out << (kind == StoreKind::kFile ? "File" : "Server"); }

inline std::string environment(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? v : "";
}

inline std::string testServerUri() { return environment("WEVO_TEST_POSTGRES"); }
inline std::string testServerPassword() { return environment("WEVO_TEST_POSTGRES_PASSWORD"); }

inline const char* kNoServer =
    "no PostgreSQL server for the tests: scripts/test starts one and sets WEVO_TEST_POSTGRES "
    "(and WEVO_TEST_POSTGRES_PASSWORD)";

#define WEVO_SKIP_WITHOUT_STORES(stores) \
  if (!(stores).available()) GTEST_SKIP() << ::wevo::kf::testing::kNoServer

// The stores of one test, gone when it ends: its folder with everything in
// it, and every schema it named on the server.
class TestStores {
 public:
  explicit TestStores(StoreKind kind) : kind_(kind) {}
  ~TestStores() { dropSchemas(); }
  TestStores(const TestStores&) = delete;
  TestStores& operator=(const TestStores&) = delete;

  StoreKind kind() const { return kind_; }
  bool server() const { return kind_ == StoreKind::kServer; }
  bool available() const { return !server() || !testServerUri().empty(); }

  // A store of this test called `base`: a file in the test's folder, or a
  // schema of its own on the server ("t<pid>_<n>_<base>").
  std::string name(const std::string& base) {
    if (!server()) return dir_.file(base);
    static std::atomic<int> serial{0};
    std::string schema = "t" + std::to_string(::getpid()) + "_" + std::to_string(serial.fetch_add(1)) + "_" + base;
    schema.resize(std::min(schema.size(), kServerSchemaWidth));
    schemas_.push_back(schema);
    return serverStoreName(testServerUri(), schema);
  }
  // A program whose store is this test's own: with WEVOPATH location(), the
  // program at `path` keeps its store at `store` (for a file
  // /opt/apps/SALES.EXE and <folder>/SALES.wevo; on the server a program
  // name of its own, and its schema).
  struct Program {
    std::string path;
    std::string store;
  };
  Program program() {
    if (!server()) return {"/opt/apps/SALES.EXE", dir_.file("SALES.wevo")};
    const std::string base = name("SALES").substr(testServerUri().size() + 1);
    schemas_.back() = base + ".wevo";
    return {"/opt/apps/" + base + ".EXE", serverStoreName(testServerUri(), base + ".wevo")};
  }
  // The password a store takes: for a file the one given (blank: none), on
  // the server the test role's.
  std::string password(const std::string& forFile = "") const {
    return server() ? testServerPassword() : forFile;
  }
  // What a host passes as WEVOPATH to keep its store here.
  std::string location() const { return server() ? testServerUri() : dir_.path(); }
  wevo::testing::TempDir& dir() { return dir_; }

 private:
  void dropSchemas() {
    if (schemas_.empty() || testServerUri().empty()) return;
    const std::string password = testServerPassword();
    const char* keywords[] = {"dbname", "password", nullptr};
    const std::string uri = testServerUri();
    const char* values[] = {uri.c_str(), password.c_str(), nullptr};
    PGconn* c = PQconnectdbParams(keywords, values, 1);
    if (PQstatus(c) == CONNECTION_OK) {
      PQsetNoticeProcessor(c, [](void*, const char*) {}, nullptr);
      for (const std::string& schema : schemas_) {
        char* quoted = PQescapeIdentifier(c, schema.c_str(), schema.size());
        if (quoted == nullptr) continue;
        PQclear(PQexec(c, ("DROP SCHEMA IF EXISTS " + std::string(quoted) + " CASCADE").c_str()));
        PQfreemem(quoted);
      }
    }
    PQfinish(c);
  }

  StoreKind kind_;
  wevo::testing::TempDir dir_;
  std::vector<std::string> schemas_;
};

// What the server's `table` of the store holds, down to each row's last
// write (each row's id and the transaction that last wrote it): the same
// before and after only when nothing was written. Empty when it cannot be
// read.
inline std::string serverTableState(const std::string& store, const std::string& table) {
  const std::optional<ServerStore> where = parseServerStoreName(store);
  if (!where) return "";
  const std::string password = testServerPassword();
  const char* keywords[] = {"dbname", "password", nullptr};
  const char* values[] = {where->uri.c_str(), password.c_str(), nullptr};
  PGconn* c = PQconnectdbParams(keywords, values, 1);
  std::string state;
  if (PQstatus(c) == CONNECTION_OK) {
    char* schema = PQescapeIdentifier(c, where->schema.c_str(), where->schema.size());
    char* name = PQescapeIdentifier(c, table.c_str(), table.size());
    if (schema != nullptr && name != nullptr) {
      PGresult* r = PQexec(c, ("SELECT kf_row || ':' || xmin FROM " + std::string(schema) + "." + name +
                               " ORDER BY kf_row")
                                  .c_str());
      if (PQresultStatus(r) == PGRES_TUPLES_OK)
        for (int i = 0; i < PQntuples(r); ++i) state += std::string(PQgetvalue(r, i, 0)) + ";";
      PQclear(r);
    }
    PQfreemem(schema);
    PQfreemem(name);
  }
  PQfinish(c);
  return state;
}

}  // namespace wevo::kf::testing

#endif  // WEVO_PLATFORM_KEYEDFILE_TEST_STORES_H_
