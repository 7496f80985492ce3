// Creating the store when nobody has it yet, by several processes at the same
// moment: one file comes into being, nobody's file replaces another's, and
// nobody is told that the store cannot be created.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
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

constexpr int kStations = 6;
constexpr const char* kPassword = "creation password";

std::string stationName(int station) { return "Station" + std::to_string(station); }

// In a child: creates the file unless it is there, then adds one row of its
// own. 0 when the row went in; `madeIt` tells the parent who made the file.
int createAndAdd(const std::string& path, int station, StartLine& start, const Pipe& madeIt) {
  start.wait();
  WindowControls row{};
  kf::clearRecord(store::winDecl(), &row);
  kf::File f(store::winDecl(), &row);
  f.setName(path);
  f.setOwner(kPassword);
  bool created = false;
  if (!f.createIfMissing(&created)) return 10;
  if (created) madeIt.writeLine(stationName(station));
  f.send("Recover=10");
  if (!f.open()) return 11;
  text::assign(row.PROCEDURENAME, stationName(station));
  text::assign(row.UNIQUEMARKER, "Creation");
  text::assign(row.CONTROLLABEL, "WINDOW");
  for (uint32_t uid = 1; uid <= kStations; ++uid) {
    row.UID = uid;
    if (f.add()) return f.close() ? 0 : 12;
    if (kf::errorCode() != kf::kErrDuplicateKey) return 13;
  }
  return 14;
}

TEST(StoreCreation, ProcessesCreatingOneFileTogetherMakeItOnceAndKeepEveryRow) {
  for (int round = 0; round < scaled(8, 40); ++round) {
    wevo::testing::TempDir dir;
    const std::string path = dir.file("shared.wevo");
    StartLine start;
    Pipe madeIt;
    std::vector<std::unique_ptr<Child>> children;
    for (int station = 0; station < kStations; ++station)
      children.push_back(
          std::make_unique<Child>([&, station] { return createAndAdd(path, station, start, madeIt); }));
    madeIt.closeWrite();
    start.release();
    for (auto& child : children) {
      ChildEnd end = child->wait(60 * 1000);
      EXPECT_TRUE(end.ok()) << "round " << round << ": " << end.describe();
    }
    std::string made = madeIt.readAll();
    EXPECT_EQ(takeLines(made).size(), 1u) << "round " << round;  // one station made the file

    const StoreRows all = readStore(path, kPassword);
    ASSERT_TRUE(all.ok) << "round " << round << ": error " << all.error;
    std::set<std::string> stations;
    for (const WindowControls& r : all.rows) stations.insert(std::string(text::clipped(r.PROCEDURENAME)));
    EXPECT_EQ(stations.size(), static_cast<size_t>(kStations)) << "round " << round;
    EXPECT_EQ(all.rows.size(), static_cast<size_t>(kStations)) << "round " << round;
    // Nothing of the stations' own files is left beside the store.
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      if (entry.path().filename().string().find(".creating.") != std::string::npos)
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{}) << "round " << round;
  }
}

TEST(StoreCreation, CreatingAFileThatExistsLeavesItsRowsAlone) {
  wevo::testing::TempDir dir;
  WindowControls row{};
  kf::clearRecord(store::winDecl(), &row);
  kf::File f(store::winDecl(), &row);
  f.setName(dir.file("kept.wevo"));
  f.setOwner(kPassword);
  bool created = false;
  ASSERT_TRUE(f.createIfMissing(&created));
  EXPECT_TRUE(created);
  ASSERT_TRUE(f.open());
  row.UID = 7;
  text::assign(row.PROCEDURENAME, "Kept");
  ASSERT_TRUE(f.add());
  // Open: refused, nothing made.
  EXPECT_FALSE(f.createIfMissing(&created));
  EXPECT_EQ(kf::errorCode(), kf::kErrAlreadyOpen);
  ASSERT_TRUE(f.close());
  ASSERT_TRUE(f.createIfMissing(&created));
  EXPECT_FALSE(created);
  const StoreRows all = readStore(dir.file("kept.wevo"), kPassword);
  ASSERT_TRUE(all.ok);
  ASSERT_EQ(all.rows.size(), 1u);
  EXPECT_EQ(+all.rows[0].UID, 7u);
  // A folder that does not exist: the name's error, nothing left behind.
  f.setName(dir.file("no/such/folder/x.wevo"));
  EXPECT_FALSE(f.createIfMissing(&created));
  EXPECT_NE(kf::errorCode(), kf::kNoError);
  EXPECT_FALSE(kf::File::exists(dir.file("no/such/folder/x.wevo")));
}

// In a child: a program that customises one window of its own while the
// store may not exist yet. 0 when it ended normally and showed nothing.
int customiseFirst(const std::string& folder, int station, StartLine& start) {
  start.wait();
  ProgramResult r = run(
      [&] {
        Window w(windowOf(stationName(station), 10));
        w.open();
        WEVOSETTINGS settings = settingsFor(folder, kPassword);
        WEVO::SETWINDOWCONTROLS(w, stationName(station), "First", settings);
      },
      programOptions(answeringView()));
  if (r.failed || r.halted) return 20;
  return r.transcript.empty() ? 0 : 21;
}

TEST(StoreCreation, ProgramsOpeningTheirFirstWindowsTogetherAllGoOnWithOneStore) {
  for (int round = 0; round < scaled(8, 40); ++round) {
    wevo::testing::TempDir dir;
    StartLine start;
    std::vector<std::unique_ptr<Child>> children;
    for (int station = 0; station < kStations; ++station)
      children.push_back(
          std::make_unique<Child>([&, station] { return customiseFirst(dir.path(), station, start); }));
    start.release();
    for (auto& child : children) {
      ChildEnd end = child->wait(120 * 1000);
      EXPECT_TRUE(end.ok()) << "round " << round << ": " << end.describe();
    }
    const StoreRows all = readStore(storePathIn(dir.path()), kPassword);
    ASSERT_TRUE(all.ok) << "round " << round << ": error " << all.error;
    // Every station's eleven original rows (the window and ten controls).
    std::map<std::string, int> perStation;
    for (const WindowControls& r : all.rows) ++perStation[std::string(text::clipped(r.PROCEDURENAME))];
    for (int station = 0; station < kStations; ++station)
      EXPECT_EQ(perStation[stationName(station)], 11) << "round " << round << " " << stationName(station);
    EXPECT_EQ(duplicateUids(all.rows), std::vector<uint32_t>{});
  }
}

}  // namespace
}  // namespace wevo::reliability
