// Helpers for wevoadmin's tests (header only; included by *_test.cpp files
// alone): rows with every field set, stores staged on disk, and the real
// program run with its arguments, environment and standard input.
#ifndef WEVO_ADMIN_TEST_ADMIN_H_
#define WEVO_ADMIN_TEST_ADMIN_H_

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "admin/layout_json.h"
#include "platform/keyedfile/test_stores.h"
#include "store/test_store.h"
#include "tests/testing/base/file_bytes.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/text.h"

extern char** environ;

namespace wevo::admin::testing {

using wevo::testing::fileBytes;
using wevo::testing::TempDir;
using wevo::testing::writeFileBytes;

// Row `n` of (procedure, marker, label) with every one of the 79 fields
// given a value of its own: numbers that differ per field and row (negative
// ones too), texts that differ per field and row, one text filling its
// field, one in UTF-8 and one of bytes that are not UTF-8.
inline StoredRow fullRow(uint32_t n, const std::string& procedure, const std::string& marker,
                         const std::string& label) {
  StoredRow r;
  const kf::FileDecl& decl = store::winDecl();
  char* bytes = reinterpret_cast<char*>(&r.record);
  for (size_t i = 0; i < decl.fields.size(); ++i) {
    const kf::FieldDecl& f = decl.fields[i];
    if (f.type == kf::FieldType::String) {
      std::string value = f.name.substr(0, 3) + std::to_string(n);
      if (f.name == "TIP") value = std::string(f.width - 1, 't') + "T";
      if (f.name == "MESSAGE") value = "Größe " + std::to_string(n);
      if (f.name == "CURSOR") value = std::string("\xFF\x01\x02\x7F", 4) + std::to_string(n);
      text::assign(bytes + f.offset, f.width, value);
    } else {
      const int64_t value = static_cast<int64_t>(i + 1) * 1000 + n;
      kf::writeNumber(f, &r.record, f.type == kf::FieldType::Long && i % 2 == 0 ? -value : value);
    }
  }
  r.record.UID = n;
  text::assign(r.record.PROCEDURENAME, procedure);
  text::assign(r.record.UNIQUEMARKER, marker);
  text::assign(r.record.CONTROLLABEL, label);
  for (uint32_t b = 0; b < 40 + n; ++b) r.blob.push_back(static_cast<char>((b * 37 + n) & 0xFF));
  return r;
}

// A store at `path` holding `rows` with their blobs, made through the
// current layout's declaration.
inline bool stageStore(const std::string& path, const std::string& password, const std::vector<StoredRow>& rows) {
  std::vector<store::WindowControls> records;
  std::vector<std::string> blobs;
  for (const StoredRow& r : rows) {
    records.push_back(r.record);
    blobs.push_back(r.blob);
  }
  return store::testing::stage(store::winDecl(), path, password, records, blobs);
}

// Every row of the store in the order they were added; empty with `ok`
// false when it does not open.
struct StoreRows {
  bool ok = false;
  std::vector<StoredRow> rows;
};
inline StoreRows storeRows(const std::string& path, const std::string& password) {
  auto read = store::testing::readAll<store::WindowControls>(store::winDecl(), path, password);
  StoreRows out;
  out.ok = read.ok;
  for (size_t i = 0; i < read.rows.size(); ++i) out.rows.push_back({read.rows[i], read.blobs[i]});
  return out;
}

// Whether two rows hold the same bytes in every field (but UID, unless
// `withUid`) and the same blob.
inline bool sameRow(const StoredRow& a, const StoredRow& b, bool withUid) {
  store::WindowControls x = a.record, y = b.record;
  if (!withUid) x.UID = y.UID = 0;
  return std::memcmp(&x, &y, sizeof x) == 0 && a.blob == b.blob;
}

// The rows sorted by procedure, marker and label, for comparing stores whose
// rows were added in another order.
inline std::vector<StoredRow> byKey(std::vector<StoredRow> rows) {
  auto key = [](const StoredRow& r) {
    return text::upper(text::clipped(r.record.PROCEDURENAME)) + '\0' +
           text::upper(text::clipped(r.record.UNIQUEMARKER)) + '\0' + text::upper(text::clipped(r.record.CONTROLLABEL));
  };
  std::sort(rows.begin(), rows.end(), [&](const StoredRow& a, const StoredRow& b) { return key(a) < key(b); });
  return rows;
}

// How a run of wevoadmin ended.
struct Outcome {
  int code = -1;
  std::string out, err;
};

// Runs the real wevoadmin with `args`, the environment of this process
// without WEVO_PASSWORD, WEVO_TO_PASSWORD and WEVO_NEW_PASSWORD, plus `env`,
// and `input` on standard input (a file, so never a terminal), in `dir` as
// its current folder. Outputs go through files in `dir`.
inline Outcome runAdmin(const TempDir& dir, const std::vector<std::string>& args,
                        const std::map<std::string, std::string>& env = {}, const std::string& input = "") {
  const std::string in = dir.file("admin.in"), out = dir.file("admin.out"), err = dir.file("admin.err");
  writeFileBytes(in, input);
  std::vector<std::string> environment;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (name != "WEVO_PASSWORD" && name != "WEVO_TO_PASSWORD" && name != "WEVO_NEW_PASSWORD" && env.count(name) == 0)
      environment.push_back(entry);
  }
  for (const auto& [name, value] : env) environment.push_back(name + "=" + value);
  std::vector<std::string> argv = {WEVOADMIN_PROGRAM};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> argp, envp;
  for (std::string& a : argv) argp.push_back(a.data());
  argp.push_back(nullptr);
  for (std::string& e : environment) envp.push_back(e.data());
  envp.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    const int i = open(in.c_str(), O_RDONLY), o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600),
              e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (i < 0 || o < 0 || e < 0 || chdir(dir.path().c_str()) != 0) _exit(127);
    dup2(i, 0);
    dup2(o, 1);
    dup2(e, 2);
    execve(argp[0], argp.data(), envp.data());
    _exit(127);
  }
  Outcome r;
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.code = WEXITSTATUS(status);
  r.out = fileBytes(out);
  r.err = fileBytes(err);
  return r;
}

// A store of the test's own on the PostgreSQL server scripts/test starts
// (gone when the test ends), named as an administrator names it: the URI
// the stations put in WEVOPATH and --program. Unavailable without a server.
class ServerStore {
 public:
  ServerStore() {
    if (!stores_.available()) return;
    const kf::testing::TestStores::Program p = stores_.program();
    name_ = p.store;
    program_ = p.path.substr(p.path.rfind('/') + 1);
    program_.resize(program_.size() - std::string(".EXE").size());
  }
  bool available() const { return stores_.available(); }
  // The store's name in the keyed-file layer, to stage and read it.
  const std::string& name() const { return name_; }
  const std::string& program() const { return program_; }
  std::string uri() const { return stores_.location(); }
  // The role's password, the store's.
  std::string password() const { return stores_.password(); }
  // `command`, the store's URI, --program and then `more`.
  std::vector<std::string> args(const std::string& command, const std::vector<std::string>& more = {}) const {
    std::vector<std::string> a = {command, uri(), "--program", program_};
    a.insert(a.end(), more.begin(), more.end());
    return a;
  }

 private:
  kf::testing::TestStores stores_{kf::testing::StoreKind::kServer};
  std::string name_, program_;
};

#define WEVO_SKIP_WITHOUT_SERVER(server) \
  if (!(server).available()) GTEST_SKIP() << ::wevo::kf::testing::kNoServer

// The lines of a text (without their ends).
inline std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace wevo::admin::testing

#endif  // WEVO_ADMIN_TEST_ADMIN_H_
