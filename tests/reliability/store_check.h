// Looking at a store from outside the library: every row through the
// keyed-file layer, and the database's own consistency check through the
// SQLCipher library, opened with the passphrase as an administrator would
// (or, for a store on a server, through its client library).
//
// Header only: included by *_test.cpp files alone.
#ifndef WEVO_TESTS_RELIABILITY_STORE_CHECK_H_
#define WEVO_TESTS_RELIABILITY_STORE_CHECK_H_

#include <sqlite3.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/server_name.h"
#include "platform/keyedfile/test_stores.h"
#include "store/window_controls.h"
#include "wevo/text.h"

namespace wevo::reliability {

using store::WindowControls;

struct StoreRows {
  bool ok = false;
  int error = 0;  // why the store did not open or read
  std::vector<WindowControls> rows;
};

// Every row of the store in physical order, read with `password`.
inline StoreRows readStore(const std::string& path, const std::string& password) {
  StoreRows out;
  WindowControls buffer{};
  kf::File f(store::winDecl(), &buffer);
  f.setName(path);
  f.setOwner(password);
  if (!f.open()) {
    out.error = kf::errorCode();
    return out;
  }
  f.setPhysical();
  while (f.next()) out.rows.push_back(buffer);
  out.ok = kf::errorCode() == kf::kErrNoRecord;
  if (!out.ok) out.error = kf::errorCode();
  f.close();
  return out;
}

// "ok" when the server finds every index of the store's table consistent
// with its rows (amcheck, which scripts/with-postgres installs); otherwise
// what it reports.
inline std::string serverIntegrityCheck(const std::string& store) {
  const std::optional<kf::ServerStore> where = kf::parseServerStoreName(store);
  if (!where) return "not a server's store";
  const std::string password = kf::testing::testServerPassword();
  const char* keywords[] = {"dbname", "password", nullptr};
  const char* values[] = {where->uri.c_str(), password.c_str(), nullptr};
  PGconn* c = PQconnectdbParams(keywords, values, 1);
  std::string result = "connect: " + std::string(PQerrorMessage(c));
  if (PQstatus(c) == CONNECTION_OK) {
    const char* params[] = {where->schema.c_str()};
    PGresult* r = PQexecParams(c,
                               "SELECT bt_index_check(i.indexrelid, true) FROM pg_index i "
                               "JOIN pg_class t ON t.oid = i.indrelid JOIN pg_namespace n ON n.oid = t.relnamespace "
                               "WHERE n.nspname = $1 AND t.relname = 'WindowControls'",
                               1, nullptr, params, nullptr, nullptr, 0);
    result = PQresultStatus(r) != PGRES_TUPLES_OK ? PQresultErrorMessage(r)
             : PQntuples(r) < 4                   ? "indexes missing"
                                                  : "ok";
    PQclear(r);
  }
  PQfinish(c);
  return result;
}

// "ok" when SQLite finds the file consistent; otherwise what it reports (or
// why it could not look). The file is opened with the passphrase and the
// page size the library writes, and, as the sqlcipher shell opens it, for
// writing: a transaction that a crash tore is rolled back first.
inline std::string integrityCheck(const std::string& path, const std::string& password) {
  if (kf::isServerName(path)) return serverIntegrityCheck(path);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
    std::string why = db ? sqlite3_errmsg(db) : "cannot open";
    sqlite3_close(db);
    return "open: " + why;
  }
  std::string result;
  auto exec = [&](const std::string& sql) {
    return sqlite3_exec(
        db, sql.c_str(),
        [](void* out, int n, char** values, char**) {
          auto* s = static_cast<std::string*>(out);
          for (int i = 0; i < n; ++i) {
            if (!s->empty()) *s += "; ";
            *s += values[i] ? values[i] : "NULL";
          }
          return 0;
        },
        &result, nullptr);
  };
  if (!password.empty()) {
    std::string quoted;
    for (char c : password) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    exec("PRAGMA key='" + quoted + "'");
    exec("PRAGMA cipher_page_size=4096");
    result.clear();
  }
  int rc = exec("PRAGMA integrity_check");
  if (rc != SQLITE_OK) result = std::string("integrity_check: ") + sqlite3_errmsg(db);
  sqlite3_close(db);
  return result;
}

// The UIDs that more than one row carries.
inline std::vector<uint32_t> duplicateUids(const std::vector<WindowControls>& rows) {
  std::map<uint32_t, int> seen;
  for (const WindowControls& r : rows) ++seen[+r.UID];
  std::vector<uint32_t> out;
  for (const auto& [uid, n] : seen)
    if (n > 1) out.push_back(uid);
  return out;
}

// A row's key as the store compares it: procedure and marker ignoring case,
// label letter for letter (trailing blanks never count).
using RowKey = std::tuple<std::string, std::string, std::string>;
inline RowKey keyOf(const WindowControls& r) {
  return {text::upper(text::clipped(r.PROCEDURENAME)), text::upper(text::clipped(r.UNIQUEMARKER)),
          std::string(text::clipped(r.CONTROLLABEL))};
}

// The keys that more than one row carries.
inline std::vector<RowKey> duplicateKeys(const std::vector<WindowControls>& rows) {
  std::map<RowKey, int> seen;
  for (const WindowControls& r : rows) ++seen[keyOf(r)];
  std::vector<RowKey> out;
  for (const auto& [key, n] : seen)
    if (n > 1) out.push_back(key);
  return out;
}

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_STORE_CHECK_H_
