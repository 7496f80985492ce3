// Helpers for the tests of capture and application (header only; included by
// *_test.cpp files alone): programs run on the headless view under the
// program /opt/apps/SALES.EXE, stores in a test's folder, and rows read back
// from them.
//
// Number fields of a packed row go into assertions by value (`+row.X`):
// GoogleTest binds its arguments to references, which a field at an odd
// offset cannot take.
#ifndef WEVO_APPLY_TEST_APPLY_H_
#define WEVO_APPLY_TEST_APPLY_H_

#include <sys/stat.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/keyedfile/server_name.h"
#include "platform/keyedfile/test_stores.h"
#include "store/store_file_vars.h"
#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "wevo/text.h"
#include "wevo/wevo.h"

namespace wevo::apply::testing {

using store::WindowControls;

// Where the store of the test's program lives: by default a folder with the
// store of the program /opt/apps/SALES.EXE in it; on the tests' server
// (kf/test_stores.h), a schema named after a program of the test's own.
struct StoreFolder {
  explicit StoreFolder(kf::testing::StoreKind kind = kf::testing::StoreKind::kFile)
      : stores(kind), dir(stores.dir()), program(stores.program()), password(stores.password("s3cret")) {}

  kf::testing::TestStores stores;
  wevo::testing::TempDir& dir;
  kf::testing::TestStores::Program program;
  std::string password;
  std::string path = program.store;

  WEVOSETTINGS settings() const { return store::testing::settings(stores.location(), password); }
  bool exists() const { return kf::File::exists(path, kf::Secret(password)); }

  // Runs `main` as a program of that name; the store's name and password are
  // set as an entry point sets them, for the code that does not set them
  // itself. Clears them again when it ends.
  ProgramResult run(const std::function<void()>& main, const Script& script = Script()) const {
    RunOptions options;
    options.args = {program.path};
    store::setStoreFileName(path);
    store::setStoreOwner(password);
    ProgramResult r = wevo::testing::runScripted(script, main, options);
    store::setStoreFileName("");
    store::setStoreOwner("");
    return r;
  }

  std::vector<WindowControls> rows() const {
    store::testing::Read<WindowControls> all =
        store::testing::readAll<WindowControls>(store::winDecl(), path, password);
    return all.rows;
  }

  bool stage(const std::vector<WindowControls>& rows) const {
    return store::testing::stage(store::winDecl(), path, password, rows);
  }
};

// The rows of one marker, in the order the store holds them.
inline std::vector<WindowControls> rowsOf(const std::vector<WindowControls>& rows, const std::string& marker) {
  std::vector<WindowControls> out;
  for (const WindowControls& r : rows)
    if (text::clipped(r.UNIQUEMARKER) == marker) out.push_back(r);
  return out;
}

// The row of (marker, label); nullptr when there is none.
inline const WindowControls* findRow(const std::vector<WindowControls>& rows, const std::string& marker,
                                     const std::string& label) {
  for (const WindowControls& r : rows)
    if (text::clipped(r.UNIQUEMARKER) == marker && text::clipped(r.CONTROLLABEL) == label) return &r;
  return nullptr;
}

// An override row of `label` with the key and identity fields set and every
// property cleared.
inline WindowControls overrideRow(uint32_t uid, const std::string& procedure, const std::string& marker,
                                  const std::string& label, int feq, int type) {
  WindowControls r;
  kf::clearRecord(store::winDecl(), &r);
  r.UID = uid;
  text::assign(r.PROCEDURENAME, procedure);
  text::assign(r.UNIQUEMARKER, marker);
  text::assign(r.CONTROLLABEL, label);
  text::assign(r.DESCRIPTION, label.substr(label.empty() ? 0 : 1));
  r.FEQ = feq;
  r.ORDER = feq;
  r.TYPE = type;
  r.WIDTHTYPE = 3;  // neither size is touched unless a test says so
  r.HEIGHTTYPE = 3;
  return r;
}

// What a file looks like on disk: its bytes and its modification time; for a
// store on a server, what its rows' last writes were.
struct FileState {
  std::string bytes;
  int64_t mtimeNanos = -1;
  bool operator==(const FileState&) const = default;
};

inline FileState fileState(const std::string& path) {
  FileState s;
  if (kf::isServerName(path)) {
    s.bytes = kf::testing::serverTableState(path, store::winDecl().label);
    return s;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return s;
  s.bytes = store::testing::fileBytes(path);
  s.mtimeNanos = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return s;
}

// The names of the fields whose bytes differ between two rows.
inline std::vector<std::string> changedFields(const WindowControls& a, const WindowControls& b) {
  std::vector<std::string> out;
  const auto* pa = reinterpret_cast<const unsigned char*>(&a);
  const auto* pb = reinterpret_cast<const unsigned char*>(&b);
  for (const kf::FieldDecl& f : store::winDecl().fields)
    if (std::memcmp(pa + f.offset, pb + f.offset, f.width) != 0) out.push_back(f.name);
  return out;
}

}  // namespace wevo::apply::testing

#endif  // WEVO_APPLY_TEST_APPLY_H_
