// What the store gives away: a protected store holds none of its labels,
// texts or tips in the clear; a program with the wrong password (or none)
// reads no row and leaves the file as it was; and no SQL statement the
// library runs carries a name, text or password of the host's: every value
// travels as a bound parameter.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_stores.h"
#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/store_check.h"
#include "tests/reliability/store_outcome.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::reliability {
namespace {

constexpr const char* kPassword = "security test password";

// Words that must never be seen outside the program: in the window's
// design, in the names the host passes, in what the user stores.
const std::vector<std::string>& secrets() {
  static const std::vector<std::string> words = {
      "ProcedureZqx", "MarkerZqx", "?LabelZqx", "TextZqx", "TipZqx", "MessageZqx", "O'Brien; DROP TABLE x"};
  return words;
}

WindowDecl secretWindow() {
  WindowDecl d;
  d.caption = "Secrets";
  d.at = {kDefault, kDefault, 200, 80};
  ControlDecl c;
  c.type = TYPE::Button;
  c.use = "?LabelZqx";
  c.text = "TextZqx";
  c.tip = "TipZqx";
  c.msg = "MessageZqx";
  c.at = {10, 10, 60, 14};
  d.controls.push_back(c);
  ControlDecl q;
  q.type = TYPE::Prompt;
  q.use = "?Quoted";
  q.text = "O'Brien; DROP TABLE x";
  q.at = {10, 30};
  d.controls.push_back(q);
  return d;
}

// A program customising the window and storing its button's placement.
ProgramResult customise(const std::string& folder, const std::string& password,
                        const std::string& program = kProgram) {
  return run(
      [&] {
        WEVOSETTINGS settings = settingsFor(folder, password);
        Window w(secretWindow());
        w.open();
        WEVO::SETWINDOWCONTROLS(w, "ProcedureZqx", "MarkerZqx", settings);
        w.set(0, PROP::Pixels, 0);
        w.setPosition(1, 40, 20, 60, 14);
        apply::StoreControlPlacement(1, w, "ProcedureZqx", "MarkerZqx", "?LabelZqx");
      },
      programOptions(answeringView(), program));
}

std::vector<std::string> secretsIn(const std::string& bytes) {
  std::vector<std::string> found;
  for (const std::string& word : secrets())
    if (bytes.find(word) != std::string::npos) found.push_back(word);
  return found;
}

TEST(Security, AProtectedStoreHoldsNothingInTheClearAndAPlainOneIsProtectedWhole) {
  wevo::testing::TempDir dir;
  const std::string path = storePathIn(dir.path());
  // The same store unprotected shows the words: the check can see them.
  ASSERT_EQ(outcomeOf(customise(dir.path(), "")), Outcome::kWentOn);
  EXPECT_FALSE(secretsIn(store::testing::fileBytes(path)).empty());

  // The host now passes a password: the store is protected, and holds none.
  ASSERT_EQ(outcomeOf(customise(dir.path(), kPassword)), Outcome::kWentOn);
  EXPECT_EQ(secretsIn(store::testing::fileBytes(path)), std::vector<std::string>{});
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
  const StoreRows rows = readStore(path, kPassword);
  ASSERT_TRUE(rows.ok) << rows.error;
  EXPECT_EQ(rows.rows.size(), 4u);  // window and two originals, one override

  // A store protected from its first row on holds none either.
  wevo::testing::TempDir fresh;
  ASSERT_EQ(outcomeOf(customise(fresh.path(), kPassword)), Outcome::kWentOn);
  EXPECT_EQ(secretsIn(store::testing::fileBytes(storePathIn(fresh.path()))), std::vector<std::string>{});
}

TEST(Security, AWrongOrMissingPasswordReadsNoRowAndLeavesTheFileAsItWas) {
  wevo::testing::TempDir dir;
  const std::string path = storePathIn(dir.path());
  ASSERT_EQ(outcomeOf(customise(dir.path(), kPassword)), Outcome::kWentOn);
  const std::string before = store::testing::fileBytes(path);

  for (const std::string& wrong : {std::string("another password"), std::string("")}) {
    std::string shownText = "?";
    ProgramResult r = run(
        [&] {
          WEVOSETTINGS settings = settingsFor(dir.path(), wrong);
          Window w(secretWindow());
          w.open();
          w.set(1, PROP::Text, "Designed");
          WEVO::SETWINDOWCONTROLS(w, "ProcedureZqx", "MarkerZqx", settings);
          shownText = w.get(1, PROP::Text).str();
        },
        programOptions(answeringView()));
    std::string why;
    EXPECT_NE(outcomeOf(r, &why), Outcome::kUndefined) << why;
    EXPECT_NE(outcomeOf(r), Outcome::kWentOn) << "a store it cannot read is reported: " << describe(r);
    // Nothing of the store reached the window, nothing of the window the store.
    EXPECT_TRUE(shownText == "?" || shownText == "Designed") << shownText;
    EXPECT_EQ(store::testing::fileBytes(path), before) << "password '" << wrong << "'";

    const StoreRows rows = readStore(path, wrong);
    EXPECT_FALSE(rows.ok);
    EXPECT_EQ(rows.error, kf::kErrBadPassword);
    EXPECT_TRUE(rows.rows.empty());
  }
}

// Every SQL statement that any connection of this process runs, as SQLite
// was given it (bound parameters are not part of the text).
class StatementLog {
 public:
  static StatementLog& instance() {
    static StatementLog* log = new StatementLog;
    return *log;
  }
  // From now on every connection opened in the process is traced.
  void install() {
    std::call_once(installed_, [] { sqlite3_auto_extension(reinterpret_cast<void (*)(void)>(&traceConnection)); });
  }
  std::vector<std::string> take() {
    std::lock_guard lock(mutex_);
    return std::move(statements_);
  }

 private:
  static int traceConnection(sqlite3* db, const char**, const void*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, &onStatement, nullptr);
    return SQLITE_OK;
  }
  static int onStatement(unsigned, void*, void*, void* text) {
    StatementLog& log = instance();
    std::lock_guard lock(log.mutex_);
    log.statements_.emplace_back(static_cast<const char*>(text));
    return 0;
  }

  std::once_flag installed_;
  std::mutex mutex_;
  std::vector<std::string> statements_;
};

TEST(Security, NoStatementCarriesTheHostsNamesTextsOrPassword) {
  StatementLog::instance().install();
  StatementLog::instance().take();
  wevo::testing::TempDir dir;
  // Created plain, then protected, then worked on protected: every path
  // that writes rows or keys a file.
  ASSERT_EQ(outcomeOf(customise(dir.path(), "")), Outcome::kWentOn);
  ASSERT_EQ(outcomeOf(customise(dir.path(), kPassword)), Outcome::kWentOn);
  ASSERT_EQ(outcomeOf(customise(dir.path(), kPassword)), Outcome::kWentOn);
  const std::vector<std::string> statements = StatementLog::instance().take();
  ASSERT_GT(statements.size(), 10u) << "the trace saw the library's statements";
  bool sawInsert = false;
  for (const std::string& sql : statements) {
    if (sql.rfind("INSERT", 0) == 0) sawInsert = true;
    EXPECT_EQ(secretsIn(sql), std::vector<std::string>{}) << sql;
    EXPECT_EQ(sql.find(kPassword), std::string::npos) << sql;
  }
  EXPECT_TRUE(sawInsert);
}

// The same on a server: the statements it ran, as its log shows them for a
// role whose every statement it logs, name none of the host's texts, and
// the password shows nowhere (values travel as parameters, which the log
// shows apart, on lines of their own).
TEST(Security, NoStatementAServerRunsCarriesTheHostsNamesTextsOrPassword) {
  kf::testing::TestStores stores(kf::testing::StoreKind::kServer);
  WEVO_SKIP_WITHOUT_STORES(stores);
  const char* logPath = std::getenv("WEVO_TEST_POSTGRES_LOG");
  if (logPath == nullptr || *logPath == '\0') GTEST_SKIP() << "no server log: scripts/with-postgres names it";
  std::string address = stores.location();
  const size_t user = address.find("://wevo@");
  ASSERT_NE(user, std::string::npos) << address;
  address.replace(user, 8, "://wevo_logged@");
  const std::string program = stores.program().path;
  const std::streamoff from = static_cast<std::streamoff>(std::filesystem::file_size(logPath));
  ASSERT_EQ(outcomeOf(customise(address, stores.password(), program)), Outcome::kWentOn);
  ASSERT_EQ(outcomeOf(customise(address, stores.password(), program)), Outcome::kWentOn);

  std::ifstream log(logPath);
  log.seekg(from);
  int statements = 0;
  bool sawInsert = false;
  for (std::string line; std::getline(log, line);) {
    EXPECT_EQ(line.find(stores.password()), std::string::npos) << line;
    if (line.find("LOG:  execute") == std::string::npos && line.find("LOG:  statement:") == std::string::npos)
      continue;
    ++statements;
    if (line.find("INSERT INTO") != std::string::npos) sawInsert = true;
    EXPECT_EQ(secretsIn(line), std::vector<std::string>{}) << line;
  }
  EXPECT_GT(statements, 10) << "the log shows the library's statements";
  EXPECT_TRUE(sawInsert);
}

}  // namespace
}  // namespace wevo::reliability
