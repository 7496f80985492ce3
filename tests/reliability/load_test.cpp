// Load: several processes, each with two host threads, customise windows of
// 20 to 200 controls in one password-protected store while they store control
// placements and add new rows. Afterwards every placement stored is in the
// store (and was applied on every later open), no UID is given twice, the
// database is consistent, and nobody saw a message other than the store's
// own retry path (numbering that asks to retry).
//
// Short form: 400 window opens and 80 placements stored; long form
// (WEVO_RELIABILITY=long): 10,000 and 2,000. Prints opens per second, how
// long the calls took and how long of that they waited for other stations to
// let them have the store: the worst and the 99th percentile of each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/fair_lock.h"
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

constexpr int kProcesses = 4;
constexpr int kThreads = 2;
constexpr const char* kPassword = "load test password";
const int kSizes[] = {20, 40, 80, 120, 160, 200};

using Clock = std::chrono::steady_clock;

int64_t microsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

// A placement one desk stored, as the control reported it in dialog units.
struct Placement {
  std::string procedure, marker, label;
  int field = 0;
  int x = 0, y = 0, width = 0, height = 0;
};

// What one process did, gathered from its threads.
struct DeskResults {
  std::mutex mutex;
  int opens = 0;
  int stores = 0;
  // Every call's time, and how much of it it waited for other stations.
  std::vector<int64_t> openMicros, openWaitMicros;
  std::vector<int64_t> storeMicros, storeWaitMicros;
  int lostOnReopen = 0;  // placements a later open did not apply
  std::vector<Placement> placements;
  std::vector<std::string> notes;
};

std::string procedureOf(int size) { return "Window" + std::to_string(size); }

// One host thread's share of the work: `opens` windows opened and
// customised; `stores` of them get a control moved and stored.
void deskThread(int process, int thread, int opens, int stores, const std::string& folder, DeskResults& out) {
  std::mt19937 rng(static_cast<unsigned>(1000 * process + thread + 1));
  const std::string marker = "Desk" + std::to_string(process) + "." + std::to_string(thread);
  std::map<std::string, std::map<int, Placement>> mine;  // procedure -> field -> last placement
  std::vector<int64_t> openMicros, openWaitMicros, storeMicros, storeWaitMicros;
  int stored = 0, lost = 0;
  for (int i = 0; i < opens; ++i) {
    // Every tenth open is of a window nobody has seen yet: its original rows
    // are new rows. The others share a few windows with every other desk.
    const bool fresh = i % 10 == 9;
    const int size = fresh ? 20 : kSizes[rng() % std::size(kSizes)];
    const std::string procedure =
        fresh ? "Fresh" + std::to_string(process) + "." + std::to_string(thread) + "." + std::to_string(i)
              : procedureOf(size);
    Window w(windowOf(procedure, size));
    w.open();
    WEVOSETTINGS settings = settingsFor(folder, kPassword);
    const auto start = Clock::now();
    uint64_t waited = kf::turnWaitMicros();
    WEVO::SETWINDOWCONTROLS(w, procedure, marker, settings);
    openMicros.push_back(microsSince(start));
    openWaitMicros.push_back(static_cast<int64_t>(kf::turnWaitMicros() - waited));

    // Every placement this desk stored for the window was applied.
    w.set(0, PROP::Pixels, 0);
    for (const auto& [field, p] : mine[procedure]) {
      int x = 0, y = 0, width = 0, height = 0;
      w.getPosition(field, x, y, width, height);
      if (x != p.x || y != p.y) ++lost;
    }

    // Spread the stores evenly over the opens.
    if ((i + 1) * stores / opens > stored) {
      const int field = 1 + static_cast<int>(rng() % static_cast<unsigned>(size));
      w.setPosition(field, static_cast<int>(rng() % 400), static_cast<int>(rng() % 300),
                    20 + static_cast<int>(rng() % 60), 10 + static_cast<int>(rng() % 10));
      store::WindowControls seen{};
      kf::clearRecord(store::winDecl(), &seen);
      apply::CapturePlacement(w, field, seen);
      Placement p{procedure, marker, controlLabel(field), field, seen.X, seen.Y, seen.WIDTH, seen.HEIGHT};
      const auto storeStart = Clock::now();
      waited = kf::turnWaitMicros();
      apply::StoreControlPlacement(field, w, procedure, marker, p.label);
      storeMicros.push_back(microsSince(storeStart));
      storeWaitMicros.push_back(static_cast<int64_t>(kf::turnWaitMicros() - waited));
      mine[procedure][field] = p;
      ++stored;
    }
    w.close();
  }
  std::lock_guard lock(out.mutex);
  out.opens += opens;
  out.stores += stored;
  for (auto [to, from] : {std::pair{&out.openMicros, &openMicros}, std::pair{&out.openWaitMicros, &openWaitMicros},
                          std::pair{&out.storeMicros, &storeMicros},
                          std::pair{&out.storeWaitMicros, &storeWaitMicros}})
    to->insert(to->end(), from->begin(), from->end());
  out.lostOnReopen += lost;
  for (auto& [procedure, fields] : mine)
    for (auto& [field, p] : fields) out.placements.push_back(p);
}

// One process: a program with two host threads at work; its results go to
// `resultFile`. Returns the exit status.
int desk(int process, int opensEach, int storesEach, const std::string& folder, const std::string& resultFile,
         StartLine& start) {
  start.wait();
  DeskResults results;
  ProgramResult r = run(
      [&] {
        for (int t = 1; t < kThreads; ++t)
          wevo::start([&, t] { deskThread(process, t, opensEach, storesEach, folder, results); });
        deskThread(process, 0, opensEach, storesEach, folder, results);
      },
      programOptions(answeringView({.retryNumbering = true, .rebuildKeys = false})));
  std::ofstream out(resultFile);
  out << "stat " << results.opens << " " << results.stores << " " << results.lostOnReopen << "\n";
  for (size_t i = 0; i < results.openMicros.size(); ++i)
    out << "open\t" << results.openMicros[i] << "\t" << results.openWaitMicros[i] << "\n";
  for (size_t i = 0; i < results.storeMicros.size(); ++i)
    out << "store\t" << results.storeMicros[i] << "\t" << results.storeWaitMicros[i] << "\n";
  for (const Placement& p : results.placements)
    out << "placement\t" << p.procedure << "\t" << p.marker << "\t" << p.label << "\t" << p.x << "\t" << p.y
        << "\t" << p.width << "\t" << p.height << "\n";
  for (const std::string& line : dialogsOf(r)) out << "dialog\t" << line << "\n";
  out << "end\t" << (r.failed ? "failed " + r.failure : r.halted ? "halted " + r.haltText : "normal") << "\n";
  return out ? 0 : 1;
}

struct Parsed {
  int opens = 0, stores = 0, lostOnReopen = 0;
  std::vector<int64_t> openMicros, openWaitMicros, storeMicros, storeWaitMicros;
  std::vector<Placement> placements;
  std::vector<std::string> dialogs;
  std::vector<std::string> ends;
};

void parseResults(const std::string& file, Parsed& into) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string kind;
    if (line.rfind("stat ", 0) == 0) {
      int opens = 0, stores = 0, lost = 0;
      fields >> kind >> opens >> stores >> lost;
      into.opens += opens;
      into.stores += stores;
      into.lostOnReopen += lost;
    } else if (line.rfind("open\t", 0) == 0 || line.rfind("store\t", 0) == 0) {
      int64_t micros = 0, waited = 0;
      fields >> kind >> micros >> waited;
      (kind == "open" ? into.openMicros : into.storeMicros).push_back(micros);
      (kind == "open" ? into.openWaitMicros : into.storeWaitMicros).push_back(waited);
    } else if (line.rfind("placement\t", 0) == 0) {
      Placement p;
      std::string x, y, w, h;
      std::getline(fields, kind, '\t');
      std::getline(fields, p.procedure, '\t');
      std::getline(fields, p.marker, '\t');
      std::getline(fields, p.label, '\t');
      fields >> p.x >> p.y >> p.width >> p.height;
      into.placements.push_back(p);
    } else if (line.rfind("dialog\t", 0) == 0) {
      into.dialogs.push_back(line.substr(7));
    } else if (line.rfind("end\t", 0) == 0) {
      into.ends.push_back(line.substr(4));
    }
  }
}

// The worst and the 99th percentile (nearest rank) of call times, in ms.
std::string spread(std::vector<int64_t> micros) {
  if (micros.empty()) return "none";
  std::sort(micros.begin(), micros.end());
  const size_t rank = (micros.size() * 99 + 99) / 100;  // ceil(0.99 n)
  char out[96];
  std::snprintf(out, sizeof out, "worst %.1f ms, 99th percentile %.1f ms",
                static_cast<double>(micros.back()) / 1000.0, static_cast<double>(micros[rank - 1]) / 1000.0);
  return out;
}

// The store's own retry path: numbering a row failed three times and the
// user was asked whether to retry.
bool isRetryPath(const std::string& dialog) { return dialog.rfind("message \"Auto Increment Error\"", 0) == 0; }

TEST(Load, FourProcessesOfTwoThreadsKeepEveryPlacementInOneProtectedStore) {
  const int opens = scaled(400, 10000);
  const int stores = scaled(80, 2000);
  const int desks = kProcesses * kThreads;
  wevo::testing::TempDir dir;
  const std::string path = storePathIn(dir.path());

  // Nobody has the store yet: the processes also race to create it.
  StartLine start;
  std::vector<std::unique_ptr<Child>> children;
  for (int p = 0; p < kProcesses; ++p) {
    const std::string resultFile = dir.file("desk" + std::to_string(p) + ".txt");
    children.push_back(std::make_unique<Child>(
        [&, p, resultFile] { return desk(p, opens / desks, stores / desks, dir.path(), resultFile, start); }));
    ASSERT_TRUE(children.back()->started());
  }
  const auto began = Clock::now();
  start.release();
  for (auto& child : children) {
    ChildEnd end = child->wait(longForm() ? 3 * 3600 * 1000 : 280 * 1000);
    EXPECT_TRUE(end.ok()) << end.describe();
  }
  const double seconds = static_cast<double>(microsSince(began)) / 1e6;

  Parsed results;
  for (int p = 0; p < kProcesses; ++p) parseResults(dir.file("desk" + std::to_string(p) + ".txt"), results);
  ASSERT_EQ(results.ends.size(), static_cast<size_t>(kProcesses));
  for (const std::string& end : results.ends) EXPECT_EQ(end, "normal");
  for (const std::string& dialog : results.dialogs) EXPECT_TRUE(isRetryPath(dialog)) << dialog;
  EXPECT_EQ(results.opens, opens / desks * desks);
  EXPECT_EQ(results.stores, stores / desks * desks);
  EXPECT_EQ(results.openMicros.size(), static_cast<size_t>(results.opens));
  EXPECT_EQ(results.storeMicros.size(), static_cast<size_t>(results.stores));
  EXPECT_EQ(results.lostOnReopen, 0);

  const StoreRows all = readStore(path, kPassword);
  ASSERT_TRUE(all.ok) << "error " << all.error;
  EXPECT_EQ(duplicateUids(all.rows), std::vector<uint32_t>{});
  std::map<RowKey, std::vector<const WindowControls*>> byKey;
  for (const WindowControls& r : all.rows) byKey[keyOf(r)].push_back(&r);
  ASSERT_FALSE(results.placements.empty());
  for (const Placement& p : results.placements) {
    const auto found = byKey.find({text::upper(p.procedure), text::upper(p.marker), p.label});
    ASSERT_NE(found, byKey.end()) << p.procedure << " " << p.marker << " " << p.label;
    ASSERT_EQ(found->second.size(), 1u) << p.procedure << " " << p.marker << " " << p.label;
    const WindowControls& row = *found->second.front();
    EXPECT_EQ(+row.X, p.x) << p.label;
    EXPECT_EQ(+row.Y, p.y) << p.label;
    EXPECT_EQ(+row.WIDTH, p.width) << p.label;
    EXPECT_EQ(+row.HEIGHT, p.height) << p.label;
  }
  // One original row per control of every window opened, whoever opened it first.
  int expectedOriginals = 0;
  for (int size : kSizes)
    if (byKey.count({text::upper(procedureOf(size)), text::upper(store::kOriginalMarker), "WINDOW"}))
      expectedOriginals += size + 1;
  expectedOriginals += (opens / desks / 10) * desks * 21;  // the fresh windows
  int originals = 0;
  for (const WindowControls& r : all.rows)
    if (text::clipped(r.UNIQUEMARKER) == store::kOriginalMarker) ++originals;
  EXPECT_EQ(originals, expectedOriginals);
  EXPECT_EQ(duplicateKeys(all.rows), std::vector<RowKey>{});
  EXPECT_EQ(integrityCheck(path, kPassword), "ok");

  char rate[64];
  std::snprintf(rate, sizeof rate, "%.1f", results.opens / seconds);
  std::vector<int64_t> every = results.openMicros, waits = results.openWaitMicros;
  every.insert(every.end(), results.storeMicros.begin(), results.storeMicros.end());
  waits.insert(waits.end(), results.storeWaitMicros.begin(), results.storeWaitMicros.end());
  reportFigure("load: window opens", std::to_string(results.opens) + " opens, " +
                                         std::to_string(results.stores) + " stores, " +
                                         std::to_string(all.rows.size()) + " rows, in " +
                                         std::to_string(seconds) + " s");
  reportFigure("load: opens per second (4 processes x 2 threads)", rate);
  reportFigure("load: window opens, time of one call", spread(results.openMicros));
  reportFigure("load: window opens, wait for other stations in one call", spread(results.openWaitMicros));
  reportFigure("load: placements stored, time of one call", spread(results.storeMicros));
  reportFigure("load: placements stored, wait for other stations in one call", spread(results.storeWaitMicros));
  reportFigure("load: every call, time of one call", spread(every));
  reportFigure("load: every call, wait for other stations in one call", spread(waits));
}

}  // namespace
}  // namespace wevo::reliability
