// Crashes: a writer killed with SIGKILL at a random point (while it creates
// the store, writes rows, or converts an older store) costs no committed row.
// Afterwards the store opens through the library without a word (a torn
// transaction is rolled back on the way), the database is consistent, every
// row the writer reported written is there, and a conversion leaves the old
// store or the new one whole, with its backup, and is finished by the next
// call.
//
// Short form: a few runs of each; long form (WEVO_RELIABILITY=long): 100
// kills during row writes, 30 during creation and 34 during each conversion.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_copy.h"
#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/child_process.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/reliability_form.h"
#include "tests/reliability/store_check.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::reliability {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kPassword = "crash test password";
constexpr int kControls = 20;

// ---- Helpers --------------------------------------------------------------

// Reads the child's lines until `until` (or until it is gone).
void collectUntil(const Pipe& from, std::string& buffer, Clock::time_point until) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
    if (left <= 0) return;
    if (!from.readSome(buffer, static_cast<int>(left))) return;
  }
}

// Waits for the child's first line ("started") and returns the rest read so far.
bool waitStarted(const Pipe& from, std::string& buffer) {
  const auto deadline = Clock::now() + std::chrono::seconds(30);
  while (buffer.find('\n') == std::string::npos && Clock::now() < deadline)
    if (!from.readSome(buffer, 1000)) break;
  const size_t nl = buffer.find('\n');
  if (nl == std::string::npos || buffer.substr(0, nl) != "started") return false;
  buffer.erase(0, nl + 1);
  return true;
}

// In a child: a program that customises one small window of its own through
// the library. 0 when it ended normally without a single dialog.
int customiseQuietly(const std::string& folder, const std::string& procedure) {
  ProgramResult r = run(
      [&] {
        Window w(windowOf(procedure, 5));
        w.open();
        WEVOSETTINGS settings = settingsFor(folder, kPassword);
        WEVO::SETWINDOWCONTROLS(w, procedure, "Check", settings);
      },
      programOptions(answeringView()));
  if (r.failed) return 40;
  if (r.halted) return 41;
  return r.transcript.empty() ? 0 : 42;
}

// The library opens the store after a crash as it would any other day.
::testing::AssertionResult reopensQuietly(const std::string& folder, const std::string& procedure) {
  Child check([&] { return customiseQuietly(folder, procedure); });
  ChildEnd end = check.wait(120 * 1000);
  if (end.ok()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the next program's customisation " << end.describe()
                                       << " (40 failed, 41 ended the program, 42 showed a dialog)";
}

std::vector<std::string> leftovers(const std::string& folder) {
  std::vector<std::string> out;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    for (const char* part : {".creating.", ".converting", ".protecting", ".kfcopy", "-journal"})
      if (name.find(part) != std::string::npos) out.push_back(name);
  }
  return out;
}

// ---- Row writes -----------------------------------------------------------

// What the writer says: "try ..." before a write, "done" after it returned.
//   try originals <procedure>
//   try place <procedure> <label> <x> <y> <width> <height>
struct Write {
  bool originals = false;
  std::string procedure, label;
  int x = 0, y = 0, width = 0, height = 0;
};

std::optional<Write> parseTry(const std::string& line) {
  std::istringstream in(line);
  std::string word, kind;
  in >> word >> kind;
  if (word != "try") return std::nullopt;
  Write w;
  w.originals = kind == "originals";
  in >> w.procedure;
  if (!w.originals) in >> w.label >> w.x >> w.y >> w.width >> w.height;
  return w;
}

// In a child: opens new windows (their original rows are written in one
// transaction) and moves and stores controls of them, reporting each write
// before and after, until it is killed.
int rowWriter(const std::string& folder, int runNumber, const Pipe& out) {
  out.writeLine("started");
  std::mt19937 rng(static_cast<unsigned>(7919 * runNumber + 1));
  ProgramResult r = run(
      [&] {
        std::vector<std::string> procedures;
        for (int i = 0; i < 2000; ++i) {
          WEVOSETTINGS settings = settingsFor(folder, kPassword);
          if (i % 4 == 0) {
            procedures.push_back("Run" + std::to_string(runNumber) + "Window" + std::to_string(i));
            Window w(windowOf(procedures.back(), kControls));
            w.open();
            out.writeLine("try originals " + procedures.back());
            WEVO::SETWINDOWCONTROLS(w, procedures.back(), "Crash", settings);
            out.writeLine("done");
            continue;
          }
          const std::string& procedure = procedures[rng() % procedures.size()];
          Window w(windowOf(procedure, kControls));
          w.open();
          WEVO::SETWINDOWCONTROLS(w, procedure, "Crash", settings);
          const int field = 1 + static_cast<int>(rng() % kControls);
          w.set(0, PROP::Pixels, 0);
          w.setPosition(field, static_cast<int>(rng() % 400), static_cast<int>(rng() % 300),
                        20 + static_cast<int>(rng() % 60), 10 + static_cast<int>(rng() % 10));
          WindowControls seen{};
          kf::clearRecord(store::winDecl(), &seen);
          apply::CapturePlacement(w, field, seen);
          out.writeLine("try place " + procedure + " " + controlLabel(field) + " " + std::to_string(seen.X) + " " +
                        std::to_string(seen.Y) + " " + std::to_string(seen.WIDTH) + " " +
                        std::to_string(seen.HEIGHT));
          apply::StoreControlPlacement(field, w, procedure, "Crash", controlLabel(field));
          out.writeLine("done");
        }
      },
      programOptions(answeringView()));
  return r.failed || r.halted || !r.transcript.empty() ? 50 : 0;
}

// What the store must hold after the writers so far: every write that was
// done, and for each row the values of its last done write or of the one
// write that was under way when the writer died.
struct Expected {
  std::map<std::string, bool> originals;  // procedure -> done (false: the write was under way)
  struct Place {
    std::optional<Write> done, underWay;
  };
  std::map<std::pair<std::string, std::string>, Place> places;  // (procedure, label)

  void take(const std::vector<std::string>& lines) {
    std::optional<Write> pending;
    for (const std::string& line : lines) {
      if (line == "done") {
        if (!pending) continue;
        if (pending->originals)
          originals[pending->procedure] = true;
        else
          places[{pending->procedure, pending->label}] = {pending, std::nullopt};
        pending.reset();
      } else if (std::optional<Write> w = parseTry(line)) {
        pending = w;
      }
    }
    if (!pending) return;
    if (pending->originals) {
      originals.emplace(pending->procedure, false);
    } else {
      places[{pending->procedure, pending->label}].underWay = pending;
    }
  }
};

::testing::AssertionResult holdsEverythingWritten(const std::vector<WindowControls>& rows, const Expected& e) {
  std::map<std::string, int> originals;
  std::map<std::pair<std::string, std::string>, const WindowControls*> places;
  for (const WindowControls& r : rows) {
    const std::string procedure(text::clipped(r.PROCEDURENAME));
    if (text::clipped(r.UNIQUEMARKER) == store::kOriginalMarker)
      ++originals[procedure];
    else if (text::clipped(r.UNIQUEMARKER) == "Crash")
      places[{procedure, std::string(text::clipped(r.CONTROLLABEL))}] = &r;
  }
  for (const auto& [procedure, done] : e.originals) {
    const int n = originals[procedure];
    // A window's original rows go in together or not at all.
    if (n != kControls + 1 && (done || n != 0))
      return ::testing::AssertionFailure() << procedure << " has " << n << " original rows ("
                                           << (done ? "written" : "under way") << ")";
  }
  auto same = [](const WindowControls& r, const Write& w) {
    return r.X == w.x && r.Y == w.y && r.WIDTH == w.width && r.HEIGHT == w.height;
  };
  for (const auto& [key, place] : e.places) {
    const auto found = places.find(key);
    if (found == places.end()) {
      if (!place.done) continue;  // its first store was under way
      return ::testing::AssertionFailure() << key.first << " " << key.second << " lost its stored placement";
    }
    const WindowControls& r = *found->second;
    if ((place.done && same(r, *place.done)) || (place.underWay && same(r, *place.underWay))) continue;
    return ::testing::AssertionFailure() << key.first << " " << key.second << " holds " << +r.X << "," << +r.Y
                                         << " " << +r.WIDTH << "x" << +r.HEIGHT;
  }
  return ::testing::AssertionSuccess();
}

TEST(Crash, WriterKilledDuringRowWritesLosesNoCommittedRow) {
  const int runs = scaled(8, 100);
  std::mt19937 rng(20240601);
  wevo::testing::TempDir dir;
  const std::string path = storePathIn(dir.path());
  Expected expected;
  int killedWhileWriting = 0;
  for (int run = 0; run < runs; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    Pipe lines;
    Child writer([&] { return rowWriter(dir.path(), run, lines); });
    lines.closeWrite();
    std::string buffer;
    ASSERT_TRUE(waitStarted(lines, buffer));
    // The first run also creates the store; later ones find it.
    const int delayMillis = static_cast<int>(rng() % 250);
    collectUntil(lines, buffer, Clock::now() + std::chrono::milliseconds(delayMillis));
    writer.kill();
    ChildEnd end = writer.wait(30 * 1000);
    EXPECT_TRUE(end.signaled && end.signal == SIGKILL) << end.describe();
    collectUntil(lines, buffer, Clock::now() + std::chrono::seconds(5));
    std::vector<std::string> said = takeLines(buffer);
    if (!said.empty() && said.back() != "done") ++killedWhileWriting;
    expected.take(said);

    ASSERT_TRUE(reopensQuietly(dir.path(), "AfterRun" + std::to_string(run)));
    EXPECT_EQ(integrityCheck(path, kPassword), "ok");
    const StoreRows all = readStore(path, kPassword);
    ASSERT_TRUE(all.ok) << all.error;
    EXPECT_EQ(duplicateUids(all.rows), std::vector<uint32_t>{});
    EXPECT_EQ(duplicateKeys(all.rows), std::vector<RowKey>{});
    EXPECT_TRUE(holdsEverythingWritten(all.rows, expected));
    EXPECT_EQ(leftovers(dir.path()), std::vector<std::string>{});
  }
  EXPECT_FALSE(expected.places.empty());
  reportFigure("crash: writers killed during row writes",
               std::to_string(runs) + " runs, " + std::to_string(killedWhileWriting) + " between a write's start and its end, " +
                   std::to_string(expected.originals.size()) + " windows and " + std::to_string(expected.places.size()) +
                   " placements checked");
}

// ---- Creating the store -----------------------------------------------------

int firstWindow(const std::string& folder, const Pipe& out) {
  out.writeLine("started");
  ProgramResult r = run(
      [&] {
        Window w(windowOf("FirstWindow", kControls));
        w.open();
        WEVOSETTINGS settings = settingsFor(folder, kPassword);
        WEVO::SETWINDOWCONTROLS(w, "FirstWindow", "Crash", settings);
        out.writeLine("done");
      },
      programOptions(answeringView()));
  return r.failed || r.halted || !r.transcript.empty() ? 50 : 0;
}

TEST(Crash, WriterKilledWhileCreatingTheStoreLeavesNoneOrAWholeOne) {
  const int runs = scaled(6, 30);
  std::mt19937 rng(777);
  int none = 0, whole = 0;
  for (int run = 0; run < runs; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    wevo::testing::TempDir dir;
    const std::string path = storePathIn(dir.path());
    Pipe lines;
    Child writer([&] { return firstWindow(dir.path(), lines); });
    lines.closeWrite();
    std::string buffer;
    ASSERT_TRUE(waitStarted(lines, buffer));
    collectUntil(lines, buffer, Clock::now() + std::chrono::milliseconds(rng() % 90));
    writer.kill();
    writer.wait(30 * 1000);
    collectUntil(lines, buffer, Clock::now() + std::chrono::seconds(5));
    const bool done = takeLines(buffer) == std::vector<std::string>{"done"};
    if (kf::File::exists(path)) {
      ++whole;
      EXPECT_EQ(integrityCheck(path, kPassword), "ok");
    } else {
      ++none;
      EXPECT_FALSE(done);
    }
    ASSERT_TRUE(reopensQuietly(dir.path(), "AfterCrash"));
    const StoreRows all = readStore(path, kPassword);
    ASSERT_TRUE(all.ok) << all.error;
    std::map<std::string, int> perWindow;
    for (const WindowControls& r : all.rows) ++perWindow[std::string(text::clipped(r.PROCEDURENAME))];
    EXPECT_EQ(perWindow["AfterCrash"], 6);
    // The first window's rows went in whole, or (killed before they did) not at all.
    EXPECT_TRUE(perWindow["FirstWindow"] == kControls + 1 || (!done && perWindow["FirstWindow"] == 0))
        << perWindow["FirstWindow"];
    EXPECT_EQ(leftovers(dir.path()), std::vector<std::string>{});
  }
  reportFigure("crash: writers killed while creating the store",
               std::to_string(runs) + " runs: " + std::to_string(none) + " left no store, " + std::to_string(whole) +
                   " a whole one");
}

// ---- Conversions -------------------------------------------------------------

enum class Conversion { kLayout, kProtection, kBoth };

const char* nameOf(Conversion c) {
  switch (c) {
    case Conversion::kLayout:
      return "layout";
    case Conversion::kProtection:
      return "protection";
    case Conversion::kBoth:
      return "layout and protection";
  }
  return "";
}

constexpr int kStagedRows = 200;

std::vector<WindowControls> stagedRows() {
  std::vector<WindowControls> rows;
  for (uint32_t uid = 1; uid <= kStagedRows; ++uid)
    rows.push_back(store::testing::row(uid, "Staged" + std::to_string(uid % 7), "Marker", "?Label" + std::to_string(uid)));
  return rows;
}

// A store of `decl`'s layout holding `rows`, written in one transaction.
template <typename Record>
bool stage(const kf::FileDecl& decl, const std::string& path, const std::string& password,
           const std::vector<Record>& rows) {
  Record buffer{};
  kf::File f(decl, &buffer);
  f.setName(path);
  f.setOwner(password);
  if (!f.create() || !f.open() || !f.begin(0)) return false;
  for (const Record& r : rows) {
    buffer = r;
    if (!f.add()) return false;
  }
  return f.commit() && f.close();
}

// The store as it was before any conversion: the first layout or the
// current one, without a password (protected with one for the layout
// conversion alone, which keeps the password).
bool stageOld(Conversion c, const std::string& path) {
  std::vector<WindowControls> rows = stagedRows();
  if (c == Conversion::kProtection) return stage(store::winDecl(), path, "", rows);
  std::vector<store::WindowControls001> old;
  for (const WindowControls& r : rows) old.push_back(store::testing::firstLayoutOf(r));
  return stage(store::win001Decl(), path, c == Conversion::kLayout ? kPassword : "", old);
}

// Whether the file holds every staged row whole in the given layout and
// password; `firstLayout`: read through the first layout.
bool holdsStaged(const std::string& path, bool firstLayout, const std::string& password) {
  const std::vector<WindowControls> rows = stagedRows();
  if (firstLayout) {
    auto read = store::testing::readAll<store::WindowControls001>(store::win001Decl(), path, password);
    if (!read.ok || read.rows.size() != rows.size()) return false;
    for (size_t i = 0; i < rows.size(); ++i)
      if (std::memcmp(&read.rows[i], &rows[i], sizeof(store::WindowControls001)) != 0) return false;
    return true;
  }
  const StoreRows read = readStore(path, password);
  if (!read.ok) return false;
  std::map<uint32_t, const WindowControls*> byUid;
  for (const WindowControls& r : read.rows) byUid[+r.UID] = &r;
  for (const WindowControls& r : rows) {
    auto found = byUid.find(+r.UID);
    if (found == byUid.end()) return false;
    // The first layout's 67 fields as staged; the newer fields cleared.
    WindowControls want = r;
    std::memset(reinterpret_cast<char*>(&want) + sizeof(store::WindowControls001), 0,
                sizeof(WindowControls) - sizeof(store::WindowControls001));
    if (std::memcmp(found->second, &want, sizeof want) != 0) return false;
  }
  return true;
}

// Which whole state the files are in after a crash; "" when none.
std::string wholeState(Conversion c, const std::string& path) {
  const std::string layoutBackup = path + ".01.bak", protectBackup = path + ".01bak";
  switch (c) {
    case Conversion::kLayout:
      if (holdsStaged(path, true, kPassword)) return "old";
      if (holdsStaged(path, false, kPassword) && holdsStaged(layoutBackup, true, kPassword)) return "new";
      return "";
    case Conversion::kProtection:
      if (holdsStaged(path, false, "")) return "old";
      if (holdsStaged(path, false, kPassword) && holdsStaged(protectBackup, false, "")) return "new";
      return "";
    case Conversion::kBoth:
      if (holdsStaged(path, true, "")) return "old";
      if (!holdsStaged(layoutBackup, true, "")) return "";
      if (holdsStaged(path, false, "")) return "half";  // converted, not yet protected
      if (holdsStaged(path, false, kPassword) && holdsStaged(protectBackup, false, "")) return "new";
      return "";
  }
  return "";
}

// In a child: the library's next call, which converts the store; killed by
// the parent, or by itself at copy step `killStep` (of copy `killCopy`, after
// row `killRow` for row steps). Says "started" when the first copy begins.
int converter(const std::string& folder, const Pipe& out, int killCopy, int killStep, uint32_t killRow) {
  int copies = 0;
  store::detail::setCopyHook([&](store::detail::CopyStep step, uint32_t rows) {
    if (step == store::detail::CopyStep::kTempCreated && ++copies == 1) out.writeLine("started");
    if (copies == killCopy && static_cast<int>(step) == killStep &&
        (step != store::detail::CopyStep::kRowCopied || rows == killRow))
      ::raise(SIGKILL);
  });
  return customiseQuietly(folder, "Converted");
}

TEST(Crash, ConversionKilledAtAnyPointLeavesTheOldOrTheNewStoreWholeWithItsBackup) {
  const int runsEach = scaled(6, 34);
  std::mt19937 rng(4242);
  std::map<std::string, int> states;
  for (Conversion c : {Conversion::kLayout, Conversion::kProtection, Conversion::kBoth}) {
    // How long an uninterrupted conversion takes, for the random kills.
    int64_t fullMicros = 0;
    {
      wevo::testing::TempDir dir;
      ASSERT_TRUE(stageOld(c, storePathIn(dir.path())));
      Pipe lines;
      Child whole([&] { return converter(dir.path(), lines, 0, -1, 0); });
      lines.closeWrite();
      std::string buffer;
      ASSERT_TRUE(waitStarted(lines, buffer));
      const auto began = Clock::now();
      ASSERT_TRUE(whole.wait(120 * 1000).ok()) << nameOf(c);
      fullMicros = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - began).count();
      EXPECT_EQ(wholeState(c, storePathIn(dir.path())), "new") << nameOf(c);
    }
    const int copies = c == Conversion::kBoth ? 2 : 1;
    for (int run = 0; run < runsEach; ++run) {
      SCOPED_TRACE(std::string(nameOf(c)) + " run " + std::to_string(run));
      wevo::testing::TempDir dir;
      const std::string path = storePathIn(dir.path());
      ASSERT_TRUE(stageOld(c, path));
      // Half the runs stop at a step of the copy, the others at a random moment.
      const bool atStep = run % 2 == 0;
      const int killCopy = 1 + static_cast<int>(rng() % copies);
      const int killStep = atStep ? static_cast<int>(rng() % 5) : -1;
      const uint32_t killRow = 1 + rng() % kStagedRows;
      Pipe lines;
      Child child([&] { return converter(dir.path(), lines, killCopy, killStep, killRow); });
      lines.closeWrite();
      std::string buffer;
      ASSERT_TRUE(waitStarted(lines, buffer));
      if (!atStep) {
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % static_cast<uint64_t>(fullMicros + 1)));
        child.kill();
      }
      ChildEnd end = child.wait(120 * 1000);
      EXPECT_TRUE(end.signaled || end.ok()) << end.describe();

      const std::string state = wholeState(c, path);
      EXPECT_NE(state, "") << "killed at step " << killStep << " row " << killRow;
      ++states[std::string(nameOf(c)) + ": " + (state.empty() ? "damaged" : state)];
      // The next call finishes the job.
      ASSERT_TRUE(reopensQuietly(dir.path(), "AfterConversion"));
      EXPECT_EQ(wholeState(c, path), "new");
      EXPECT_EQ(integrityCheck(path, kPassword), "ok");
      EXPECT_EQ(leftovers(dir.path()), std::vector<std::string>{});
    }
  }
  std::string summary;
  for (const auto& [state, n] : states) summary += (summary.empty() ? "" : ", ") + state + " " + std::to_string(n);
  reportFigure("crash: conversions killed (" + std::to_string(runsEach) + " runs each)", summary);
}

}  // namespace
}  // namespace wevo::reliability
