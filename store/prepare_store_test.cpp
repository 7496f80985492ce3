#include "store/prepare_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "store/store_copy.h"
#include "store/store_file_vars.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"

namespace wevo::store {
namespace {

using detail::CopyStep;
using wevo::testing::endedNormally;
using wevo::testing::runScripted;

std::vector<WindowControls> someRows(int n) {
  std::vector<WindowControls> rows;
  for (int i = 1; i <= n; ++i)
    rows.push_back(testing::row(static_cast<uint32_t>(i * 3), i % 2 ? "Customer" : "Invoice", "Form",
                                "?Field" + std::to_string(i)));
  return rows;
}

std::vector<WindowControls001> firstLayout(const std::vector<WindowControls>& rows) {
  std::vector<WindowControls001> out;
  for (const WindowControls& r : rows) out.push_back(testing::firstLayoutOf(r));
  return out;
}

// What a copy went through, from its hook.
struct Steps {
  std::vector<CopyStep> steps;
  uint32_t rows = 0;
  bool saw(CopyStep s) const {
    for (CopyStep x : steps)
      if (x == s) return true;
    return false;
  }
};

class PrepareStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    detail::setCopyHook([this](CopyStep s, uint32_t rows) {
      if (s != CopyStep::kRowCopied) seen.steps.push_back(s);
      seen.rows = rows;
    });
  }
  void TearDown() override {
    detail::setCopyHook(nullptr);
    setStoreFileName("");
    setStoreOwner("");
  }

  // Runs PrepareStore for the program /opt/apps/SALES.EXE with its store in
  // the test's folder.
  ProgramResult prepare(const std::string& password, const Script& script = Script()) {
    seen = Steps{};
    RunOptions options;
    options.args = {testing::kProgram};
    ProgramResult r = runScripted(
        script,
        [&] {
          WEVOSETTINGS s = testing::settings(dir.path(), password);
          PrepareStore(s);
          pathAfter = text::clipped(s.WEVOPATH);
        },
        options);
    return r;
  }

  // Every row of the current layout, read with `owner`; with the rows given,
  // in the same order, field for field and blob for blob.
  void expectCurrentStore(const std::string& owner, const std::vector<WindowControls>& rows,
                          const std::vector<std::string>& blobs = {}) {
    testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, owner);
    ASSERT_TRUE(all.ok) << "error " << all.error;
    ASSERT_EQ(all.rows.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_TRUE(testing::sameBytes(&all.rows[i], &rows[i], sizeof rows[i])) << "row " << i;
      EXPECT_EQ(all.blobs[i], i < blobs.size() ? blobs[i] : "") << "row " << i;
    }
  }

  wevo::testing::TempDir dir;
  const std::string store = dir.file("SALES.wevo");
  Steps seen;
  std::string pathAfter;
};

TEST_F(PrepareStoreTest, NoStoreYetNothingIsDone) {
  ProgramResult r = prepare("s3cret");
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_TRUE(seen.steps.empty());
  EXPECT_FALSE(kf::File::exists(store));
  EXPECT_EQ(storeFileName(), store);
  EXPECT_EQ(storeOwner().view(), "s3cret");
  EXPECT_EQ(pathAfter, dir.path() + "/");
}

TEST_F(PrepareStoreTest, CurrentProtectedStoreIsOnlyOpenedAndClosed) {
  const std::vector<WindowControls> rows = someRows(4);
  ASSERT_TRUE(testing::stage(winDecl(), store, "s3cret", rows));
  const std::string before = testing::fileBytes(store);
  ProgramResult r = prepare("s3cret");
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_TRUE(seen.steps.empty());
  EXPECT_EQ(testing::fileBytes(store), before);
  EXPECT_FALSE(kf::File::exists(store + ".01bak"));
  EXPECT_FALSE(kf::File::exists(store + ".01.bak"));
}

TEST_F(PrepareStoreTest, UnprotectedStoreIsProtectedWithTheGivenPassword) {
  const std::vector<WindowControls> rows = someRows(5);
  const std::vector<std::string> blobs = {"", "\x01\x02 picture\x00 bytes", "", "", "last"};
  ASSERT_TRUE(testing::stage(winDecl(), store, "", rows, blobs));
  const std::string old = testing::fileBytes(store);

  ProgramResult r = prepare("s3cret");
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_EQ(seen.steps, (std::vector<CopyStep>{CopyStep::kTempCreated, CopyStep::kTempComplete,
                                               CopyStep::kBackupWritten, CopyStep::kStoreReplaced}));
  EXPECT_EQ(seen.rows, 5u);
  expectCurrentStore("s3cret", rows, blobs);
  EXPECT_EQ(testing::readAll<WindowControls>(winDecl(), store, "").error, kf::kErrBadPassword);
  EXPECT_EQ(testing::fileBytes(store + ".01bak"), old);
  EXPECT_FALSE(kf::File::exists(protectTempName(store)));

  // The keys of the new store work.
  WindowControls key{};
  kf::File f(winDecl(), &key);
  f.setName(store);
  f.setOwner("s3cret");
  ASSERT_TRUE(f.open());
  text::assign(key.PROCEDURENAME, "INVOICE");
  text::assign(key.UNIQUEMARKER, "form");
  text::assign(key.CONTROLLABEL, "?field4");
  ASSERT_TRUE(f.get(KEYPROCEDUREMARKERLABEL));
  EXPECT_EQ(+key.UID, 12u);
  f.close();

  // Checked again: nothing left to do.
  const std::string protectedBytes = testing::fileBytes(store);
  ProgramResult again = prepare("s3cret");
  ASSERT_TRUE(endedNormally(again));
  EXPECT_TRUE(again.transcript.empty());
  EXPECT_TRUE(seen.steps.empty());
  EXPECT_EQ(testing::fileBytes(store), protectedBytes);
  EXPECT_EQ(testing::fileBytes(store + ".01bak"), old);
}

TEST_F(PrepareStoreTest, FirstLayoutStoreIsConverted) {
  for (const std::string password : {"", "s3cret"}) {
    SCOPED_TRACE("password \"" + password + "\"");
    const std::vector<WindowControls> rows = someRows(6);
    std::vector<WindowControls001> old = firstLayout(rows);
    ASSERT_TRUE(testing::stage(win001Decl(), store, password, old));
    const std::string oldBytes = testing::fileBytes(store);

    ProgramResult r = prepare(password);
    ASSERT_TRUE(endedNormally(r));
    EXPECT_TRUE(r.transcript.empty());
    EXPECT_EQ(seen.rows, 6u);
    // Every row keeps its first 67 fields; the 12 fields the first layout
    // lacked are 0 (testing::row leaves them 0).
    expectCurrentStore(password, rows);
    EXPECT_EQ(testing::fileBytes(store + ".01.bak"), oldBytes);
    testing::Read<WindowControls001> backup = testing::readAll<WindowControls001>(win001Decl(), store + ".01.bak",
                                                                                   password);
    ASSERT_TRUE(backup.ok);
    EXPECT_EQ(backup.rows.size(), 6u);
    EXPECT_FALSE(kf::File::exists(layoutTempName(store)));
    if (!password.empty()) {
      EXPECT_EQ(testing::readAll<WindowControls>(winDecl(), store, "").error, kf::kErrBadPassword);
    }

    ProgramResult again = prepare(password);
    EXPECT_TRUE(again.transcript.empty());
    EXPECT_TRUE(seen.steps.empty());
    ASSERT_TRUE(kf::File::removeFile(store));
    ASSERT_TRUE(kf::File::removeFile(store + ".01.bak"));
  }
}

TEST_F(PrepareStoreTest, AddedFieldsAreZeroNotBlank) {
  // A first-layout row whose text runs to the end of its record.
  WindowControls full = testing::row(1, "P", "M", "?A");
  text::assign(full.WALLPAPER, std::string(256, 'w'));
  ASSERT_TRUE(testing::stage(win001Decl(), store, "", firstLayout({full})));
  ProgramResult r = prepare("");
  ASSERT_TRUE(endedNormally(r));
  testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, "");
  ASSERT_EQ(all.rows.size(), 1u);
  const WindowControls& c = all.rows[0];
  for (int32_t v : {c.TABLOCATION, c.TABSCROLLING, c.TEXTORIENTATION, c.TABWIDTH, c.SPREAD, c.WIZARD, c.NOSHEET,
                    c.JOIN, c.PROCESSEDFLAG, c.UP, c.DOWN, c.USEBLOB})
    EXPECT_EQ(v, 0);
  EXPECT_EQ(text::clipped(c.WALLPAPER), std::string(256, 'w'));
  EXPECT_EQ(+c.ANGLE, 0x123456);
}

TEST_F(PrepareStoreTest, UnprotectedFirstLayoutStoreIsConvertedThenProtected) {
  const std::vector<WindowControls> rows = someRows(3);
  ASSERT_TRUE(testing::stage(win001Decl(), store, "", firstLayout(rows)));
  const std::string oldBytes = testing::fileBytes(store);
  ProgramResult r = prepare("s3cret");
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  expectCurrentStore("s3cret", rows);
  EXPECT_EQ(testing::fileBytes(store + ".01.bak"), oldBytes);  // the first layout, as it was
  testing::Read<WindowControls> middle = testing::readAll<WindowControls>(winDecl(), store + ".01bak", "");
  ASSERT_TRUE(middle.ok);  // the current layout without a password
  EXPECT_EQ(middle.rows.size(), 3u);

  ProgramResult again = prepare("s3cret");
  EXPECT_TRUE(again.transcript.empty());
  EXPECT_TRUE(seen.steps.empty());
}

TEST_F(PrepareStoreTest, StoreOfAnotherPasswordIsLeftForOpeningToReport) {
  const std::vector<WindowControls> rows = someRows(2);
  ASSERT_TRUE(testing::stage(winDecl(), store, "other", rows));
  const std::string before = testing::fileBytes(store);
  for (const std::string password : {"s3cret", ""}) {
    ProgramResult r = prepare(password);
    ASSERT_TRUE(endedNormally(r));
    EXPECT_TRUE(r.transcript.empty());
    EXPECT_TRUE(seen.steps.empty());
    EXPECT_EQ(testing::fileBytes(store), before);
    EXPECT_EQ(storeOwner().view(), password);
  }
}

TEST_F(PrepareStoreTest, ProgressWindowCountsUpToTheRowCount) {
  constexpr int kRows = 300;
  ASSERT_TRUE(testing::stage(win001Decl(), store, "", firstLayout(someRows(kRows))));
  std::vector<std::string> shown;
  std::string prompt;
  bool shownAfter = true;
  detail::setCopyHook([&](CopyStep s, uint32_t rows) {
    if (s != CopyStep::kRowCopied) return;
    // What reached the screen when the row was copied.
    std::optional<toolkit::ControlSnapshot> count = wevo::testing::shownControl("Converting File", "?COUNT");
    shown.push_back(count ? count->text : "<not shown>");
    if (rows == 1) {
      std::optional<toolkit::ControlSnapshot> p = wevo::testing::shownControl("Converting File", "?PROMPT1");
      prompt = p ? p->text : "<not shown>";
    }
  });
  RunOptions options;
  options.args = {testing::kProgram};
  ProgramResult r = runScripted(
      Script(),
      [&] {
        WEVOSETTINGS s = testing::settings(dir.path());
        PrepareStore(s);
        shownAfter = wevo::testing::shownWindow("Converting File").has_value();
      },
      options);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(shown.size(), static_cast<size_t>(kRows));
  for (int i = 0; i < kRows; ++i) ASSERT_EQ(shown[static_cast<size_t>(i)], std::to_string(i + 1));
  EXPECT_EQ(prompt, "Converting Record #:");
  EXPECT_FALSE(shownAfter);
}

TEST_F(PrepareStoreTest, AbandonedCopyLeavesTheStoreAsItWas) {
  const std::vector<WindowControls> rows = someRows(3);
  ASSERT_TRUE(testing::stage(win001Decl(), store, "", firstLayout(rows)));
  const std::string before = testing::fileBytes(store);
  ASSERT_EQ(mkdir((store + ".01.bak").c_str(), 0700), 0);  // the backup cannot be written
  Script script;
  script.answer("", BUTTON::Ok);
  ProgramResult r = prepare("", script);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0].rfind("message \"\" \"Error: ", 0), 0u) << r.transcript[0];
  EXPECT_NE(r.transcript[0].find(store + ".01.bak"), std::string::npos) << r.transcript[0];
  EXPECT_FALSE(seen.saw(CopyStep::kBackupWritten));
  EXPECT_EQ(testing::fileBytes(store), before);
  EXPECT_FALSE(kf::File::exists(layoutTempName(store)));
  rmdir((store + ".01.bak").c_str());
}

TEST_F(PrepareStoreTest, StoreOfNoKnownLayoutIsReportedAndKept) {
  // A keyed file of another table: neither layout opens it.
  kf::FileDecl foreign = win001Decl();
  foreign.label = "Customers";
  foreign.fields.resize(4);  // UID, PROCEDURENAME, UNIQUEMARKER, CONTROLLABEL
  foreign.keys.resize(2);    // KEYUID, KEYPROCEDUREMARKERLABEL
  foreign.recordSize = 244;
  std::vector<char> record(244, ' ');
  kf::File f(foreign, record.data());
  f.setName(store);
  f.setOwner("");
  ASSERT_TRUE(f.create());
  const std::string before = testing::fileBytes(store);
  Script script;
  script.answer("", BUTTON::Ok);
  ProgramResult r = prepare("", script);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0],
            "message \"\" \"Conversion 01 error: 47 Record layout differs from the file's\" icon=none buttons=OK "
            "default=OK -> OK");
  EXPECT_TRUE(seen.steps.empty());
  EXPECT_EQ(testing::fileBytes(store), before);
}

// ---- Interrupted conversions -------------------------------------------------------

struct Crash {
  CopyStep step;
  uint32_t row;  // for kRowCopied: the row after which it stops
};

// Runs PrepareStore in a child process that dies at the step, as a crash
// would: no destructor, no close, no clean-up.
void convertAndDieAt(const std::string& folder, const std::string& password, Crash crash) {
  pid_t pid = fork();
  if (pid == 0) {
    detail::setCopyHook([crash](CopyStep s, uint32_t rows) {
      if (s == crash.step && (s != CopyStep::kRowCopied || rows == crash.row)) _exit(0);
    });
    RunOptions options;
    options.args = {testing::kProgram};
    wevo::run(
        [&] {
          WEVOSETTINGS s = testing::settings(folder, password);
          PrepareStore(s);
        },
        options);
    _exit(3);  // the step was never reached
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_EQ(WEXITSTATUS(status), 0) << "the conversion did not reach the step";
}

TEST_F(PrepareStoreTest, ConversionInterruptedAtAnyStepLosesNothing) {
  const std::vector<WindowControls> rows = someRows(20);
  const std::vector<Crash> crashes = {{CopyStep::kTempCreated, 0},   {CopyStep::kRowCopied, 1},
                                      {CopyStep::kRowCopied, 11},    {CopyStep::kTempComplete, 0},
                                      {CopyStep::kBackupWritten, 0}, {CopyStep::kStoreReplaced, 0}};
  struct Conversion {
    std::string name;
    bool firstLayout;
    std::string password;
  };
  for (const Conversion& c : {Conversion{"layout", true, ""}, Conversion{"protection", false, "s3cret"}}) {
    for (const Crash& crash : crashes) {
      SCOPED_TRACE(c.name + " conversion stopped at step " + std::to_string(static_cast<int>(crash.step)) +
                   ", row " + std::to_string(crash.row));
      if (c.firstLayout)
        ASSERT_TRUE(testing::stage(win001Decl(), store, "", firstLayout(rows)));
      else
        ASSERT_TRUE(testing::stage(winDecl(), store, "", rows));
      convertAndDieAt(dir.path(), c.password, crash);

      // The store is one whole store: the old one or the new one, every row in it.
      testing::Read<WindowControls> now = testing::readAll<WindowControls>(winDecl(), store, c.password);
      if (now.ok) {
        EXPECT_EQ(now.rows.size(), rows.size());
      } else if (c.firstLayout) {
        testing::Read<WindowControls001> old = testing::readAll<WindowControls001>(win001Decl(), store, "");
        ASSERT_TRUE(old.ok) << "neither layout opens the store: " << now.error << ", " << old.error;
        EXPECT_EQ(old.rows.size(), rows.size());
      } else {
        testing::Read<WindowControls> old = testing::readAll<WindowControls>(winDecl(), store, "");
        ASSERT_TRUE(old.ok) << "the store opens neither with nor without the password: " << now.error << ", "
                            << old.error;
        EXPECT_EQ(old.rows.size(), rows.size());
      }
      EXPECT_EQ(now.ok, crash.step == CopyStep::kStoreReplaced);

      // The next call finishes the work and clears what the crash left.
      ProgramResult r = prepare(c.password);
      ASSERT_TRUE(endedNormally(r));
      EXPECT_TRUE(r.transcript.empty());
      expectCurrentStore(c.password, rows);
      EXPECT_FALSE(kf::File::exists(layoutTempName(store)));
      EXPECT_FALSE(kf::File::exists(protectTempName(store)));
      for (const std::string& name : {store, store + ".01.bak", store + ".01bak"})
        if (kf::File::exists(name)) {
          ASSERT_TRUE(kf::File::removeFile(name)) << name;
        }
    }
  }
}

}  // namespace
}  // namespace wevo::store
