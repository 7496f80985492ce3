// Several stations opening the same window for the first time at once, while
// another writer holds the store: the window's original rows are added once,
// whoever comes first, and every station goes on without a message.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/store_file_vars.h"
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

constexpr const char* kPassword = "shared window password";
constexpr int kStations = 3;
constexpr int kControls = 12;

// In a child: opens the store, holds its write lock for a moment and lets it go.
int holdWriteLock(const std::string& path, const Pipe& holding) {
  WindowControls row{};
  kf::File f(store::winDecl(), &row);
  f.setName(path);
  f.setOwner(kPassword);
  if (!f.open() || !f.begin(0)) return 30;
  holding.writeLine("holding");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  return f.commit() && f.close() ? 0 : 31;
}

// Makes an empty store at `path`, has another writer hold it, and starts the
// stations (`station(number, start)` in a child each) together while it
// does; waits for all of them.
void stationsWhileHeld(const std::string& path, const std::function<int(int, StartLine&)>& station, int round) {
  {
    WindowControls row{};
    kf::File f(store::winDecl(), &row);
    f.setName(path);
    f.setOwner(kPassword);
    ASSERT_TRUE(f.create());
  }
  Pipe holding;
  Child holder([&] { return holdWriteLock(path, holding); });
  holding.closeWrite();
  std::string said;
  while (said.empty() && holding.readSome(said, 5000)) {
  }
  ASSERT_EQ(said, "holding\n");
  StartLine start;
  std::vector<std::unique_ptr<Child>> stations;
  for (int s = 0; s < kStations; ++s) stations.push_back(std::make_unique<Child>([&, s] { return station(s, start); }));
  start.release();
  EXPECT_TRUE(holder.wait(30 * 1000).ok());
  for (auto& child : stations) {
    ChildEnd end = child->wait(60 * 1000);
    EXPECT_TRUE(end.ok()) << "round " << round << ": " << end.describe();
  }
}

int openSharedWindow(const std::string& folder, StartLine& start) {
  start.wait();
  ProgramResult r = run(
      [&] {
        Window w(windowOf("SharedWindow", kControls));
        w.open();
        WEVOSETTINGS settings = settingsFor(folder, kPassword);
        WEVO::SETWINDOWCONTROLS(w, "SharedWindow", "Desk", settings);
      },
      programOptions(answeringView()));
  if (r.failed || r.halted) return 20;
  return r.transcript.empty() ? 0 : 21;
}

TEST(SharedWindow, StationsOpeningANewWindowTogetherAddItsOriginalRowsOnce) {
  for (int round = 0; round < scaled(4, 20); ++round) {
    wevo::testing::TempDir dir;
    const std::string path = storePathIn(dir.path());
    stationsWhileHeld(path, [&](int, StartLine& start) { return openSharedWindow(dir.path(), start); }, round);
    const StoreRows all = readStore(path, kPassword);
    ASSERT_TRUE(all.ok) << all.error;
    EXPECT_EQ(all.rows.size(), static_cast<size_t>(kControls + 1)) << "round " << round;
    EXPECT_EQ(duplicateKeys(all.rows), std::vector<RowKey>{}) << "round " << round;
  }
}

// In a child: moves control 3 of the shared window to a place of its own and
// stores it under the marker every station shares.
int storeSharedControl(const std::string& path, int station, StartLine& start) {
  start.wait();
  ProgramResult r = run(
      [&] {
        store::setStoreFileName(path);
        store::setStoreOwner(kPassword);
        Window w(windowOf("SharedWindow", kControls));
        w.open();
        w.set(0, PROP::Pixels, 0);
        w.setPosition(3, 100 + 10 * station, 50, 40, 12);
        apply::StoreControlPlacement(3, w, "SharedWindow", "Desk", controlLabel(3));
      },
      programOptions(answeringView()));
  if (r.failed || r.halted) return 20;
  return r.transcript.empty() ? 0 : 21;
}

TEST(SharedWindow, StationsStoringTheSameNewControlTogetherKeepOneRowForIt) {
  for (int round = 0; round < scaled(4, 20); ++round) {
    wevo::testing::TempDir dir;
    const std::string path = storePathIn(dir.path());
    stationsWhileHeld(path, [&](int s, StartLine& start) { return storeSharedControl(path, s, start); }, round);
    const StoreRows all = readStore(path, kPassword);
    ASSERT_TRUE(all.ok) << all.error;
    ASSERT_EQ(all.rows.size(), 1u) << "round " << round;
    // The last station to store it has its place in the row.
    EXPECT_EQ(+all.rows[0].Y, 50);
    EXPECT_TRUE(all.rows[0].X == 100 || all.rows[0].X == 110 || all.rows[0].X == 120) << +all.rows[0].X;
  }
}

}  // namespace
}  // namespace wevo::reliability
