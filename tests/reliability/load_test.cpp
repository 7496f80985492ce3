// Load: several processes, each with two host threads, customise windows of
// 20 to 200 controls in one password-protected store while they store control
// placements and add new rows. Afterwards every placement stored is in the
// store (and was applied on every later open), no UID is given twice, the
// database is consistent, and nobody saw a message other than the store's
// own retry path (numbering that asks to retry).
//
// The same load runs on a store in a file and on a PostgreSQL server. On the
// server it runs once more while the server restarts (ServerRestart): every
// call either did its work or told its user through the store's messages,
// nothing a call stored without a message is lost, and the calls after the
// restart connect again by themselves.
//
// Short form: 400 window opens and 80 placements stored; long form
// (WEVO_RELIABILITY=long): 10,000 and 2,000. Prints opens per second, how
// long the calls took and how long of that they waited for other stations to
// let them have the store: the worst and the 99th percentile of each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>
#include <sstream>
#include <string>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/fair_lock.h"
#include "platform/keyedfile/test_stores.h"
#include "store/window_controls.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/child_process.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/reliability_form.h"
#include "tests/reliability/store_check.h"
#include "tests/reliability/store_outcome.h"
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

// Where the desks keep their store, and how they judge their calls.
struct Station {
  std::string location;  // WEVOPATH
  std::string program;   // the program path the store is named after
  std::string password;
  // During a server's restart a call may fail: it must then have said so
  // (a store message on its window), and what it stored is not counted on.
  // The desks then work until this file appears, storing a placement every
  // third open.
  std::string stopFile;
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
  int reported = 0;      // calls that failed and said so
  int failedLast = 0;    // threads whose last call still failed
  std::vector<Placement> placements;
  std::vector<std::string> notes;
};

// The dialogs shown for each window (by its handle) in this process.
class DialogsByWindow {
 public:
  void seen(int64_t window) {
    std::lock_guard lock(mutex_);
    ++count_[window];
  }
  int of(int64_t window) {
    std::lock_guard lock(mutex_);
    return count_[window];
  }

 private:
  std::mutex mutex_;
  std::map<int64_t, int> count_;
};

std::string procedureOf(int size) { return "Window" + std::to_string(size); }

// One host thread's share of the work: `opens` windows opened and
// customised; `stores` of them get a control moved and stored.
void deskThread(int process, int thread, int opens, int stores, const Station& station, DialogsByWindow& dialogs,
                DeskResults& out) {
  std::mt19937 rng(static_cast<unsigned>(1000 * process + thread + 1));
  const std::string marker = "Desk" + std::to_string(process) + "." + std::to_string(thread);
  std::map<std::string, std::map<int, Placement>> mine;  // procedure -> field -> last placement
  std::set<std::pair<std::string, int>> uncertain;       // stored by a call that failed
  std::vector<int64_t> openMicros, openWaitMicros, storeMicros, storeWaitMicros;
  int stored = 0, lost = 0, reported = 0;
  bool lastFailed = false;
  const bool untilStopped = !station.stopFile.empty();
  int done = 0;
  for (int i = 0; untilStopped ? !std::filesystem::exists(station.stopFile) : i < opens; ++i) {
    ++done;
    // Every tenth open is of a window nobody has seen yet: its original rows
    // are new rows. The others share a few windows with every other desk.
    const bool fresh = i % 10 == 9;
    const int size = fresh ? 20 : kSizes[rng() % std::size(kSizes)];
    const std::string procedure =
        fresh ? "Fresh" + std::to_string(process) + "." + std::to_string(thread) + "." + std::to_string(i)
              : procedureOf(size);
    Window w(windowOf(procedure, size));
    w.open();
    WEVOSETTINGS settings = settingsFor(station.location, station.password);
    const auto start = Clock::now();
    uint64_t waited = kf::turnWaitMicros();
    WEVO::SETWINDOWCONTROLS(w, procedure, marker, settings);
    openMicros.push_back(microsSince(start));
    openWaitMicros.push_back(static_cast<int64_t>(kf::turnWaitMicros() - waited));
    const bool openReported = dialogs.of(w.handle()) > 0;

    // Every placement this desk stored for the window was applied (unless
    // the open said it could not do its work).
    w.set(0, PROP::Pixels, 0);
    int missed = 0;
    for (const auto& [field, p] : mine[procedure]) {
      if (uncertain.count({procedure, field}) != 0) continue;
      int x = 0, y = 0, width = 0, height = 0;
      w.getPosition(field, x, y, width, height);
      if (x != p.x || y != p.y) ++missed;
    }
    if (openReported)
      ++reported;
    else
      lost += missed;
    lastFailed = openReported;

    // Spread the stores evenly over the opens.
    if (untilStopped ? i % 3 == 2 : (i + 1) * stores / opens > stored) {
      const int field = 1 + static_cast<int>(rng() % static_cast<unsigned>(size));
      w.setPosition(field, static_cast<int>(rng() % 400), static_cast<int>(rng() % 300),
                    20 + static_cast<int>(rng() % 60), 10 + static_cast<int>(rng() % 10));
      store::WindowControls seen{};
      kf::clearRecord(store::winDecl(), &seen);
      apply::CapturePlacement(w, field, seen);
      Placement p{procedure, marker, controlLabel(field), field, seen.X, seen.Y, seen.WIDTH, seen.HEIGHT};
      const int before = dialogs.of(w.handle());
      const auto storeStart = Clock::now();
      waited = kf::turnWaitMicros();
      apply::StoreControlPlacement(field, w, procedure, marker, p.label);
      storeMicros.push_back(microsSince(storeStart));
      storeWaitMicros.push_back(static_cast<int64_t>(kf::turnWaitMicros() - waited));
      mine[procedure][field] = p;
      // A store that said it failed may or may not have reached the store.
      const bool storeReported = dialogs.of(w.handle()) > before;
      if (storeReported) {
        uncertain.insert({procedure, field});
        ++reported;
      } else {
        uncertain.erase({procedure, field});
      }
      lastFailed = storeReported;
      ++stored;
    }
    w.close();
  }
  std::lock_guard lock(out.mutex);
  out.opens += done;
  out.stores += stored;
  for (auto [to, from] : {std::pair{&out.openMicros, &openMicros}, std::pair{&out.openWaitMicros, &openWaitMicros},
                          std::pair{&out.storeMicros, &storeMicros},
                          std::pair{&out.storeWaitMicros, &storeWaitMicros}})
    to->insert(to->end(), from->begin(), from->end());
  out.lostOnReopen += lost;
  out.reported += reported;
  out.failedLast += lastFailed ? 1 : 0;
  for (auto& [procedure, fields] : mine)
    for (auto& [field, p] : fields)
      if (uncertain.count({procedure, field}) == 0) out.placements.push_back(p);
}

// One process: a program with two host threads at work; its results go to
// `resultFile`. Returns the exit status.
int desk(int process, int opensEach, int storesEach, const Station& station, const std::string& resultFile,
         StartLine& start) {
  start.wait();
  DeskResults results;
  DialogsByWindow dialogs;
  Answers answers{.retryNumbering = true, .rebuildKeys = false};
  answers.onDialog = [&dialogs](int64_t window) { dialogs.seen(window); };
  ProgramResult r = run(
      [&] {
        for (int t = 1; t < kThreads; ++t)
          wevo::start([&, t] { deskThread(process, t, opensEach, storesEach, station, dialogs, results); });
        deskThread(process, 0, opensEach, storesEach, station, dialogs, results);
      },
      programOptions(answeringView(answers), station.program));
  std::ofstream out(resultFile);
  out << "stat " << results.opens << " " << results.stores << " " << results.lostOnReopen << " " << results.reported
      << " " << results.failedLast << "\n";
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
  int opens = 0, stores = 0, lostOnReopen = 0, reported = 0, failedLast = 0;
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
      int opens = 0, stores = 0, lost = 0, reported = 0, failedLast = 0;
      fields >> kind >> opens >> stores >> lost >> reported >> failedLast;
      into.opens += opens;
      into.stores += stores;
      into.lostOnReopen += lost;
      into.reported += reported;
      into.failedLast += failedLast;
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

// Runs the load of `opens` window opens and `stores` placements stored over
// 4 processes of 2 threads on the store `path`, the parent doing `meanwhile`
// once the desks are at work; checks what every load must keep and returns
// the desks' results and the store's rows.
struct LoadRun {
  Parsed results;
  StoreRows all;
  double seconds = 0;
};

LoadRun runLoad(const Station& station, const std::string& path, wevo::testing::TempDir& dir, int opens, int stores,
                const std::function<void()>& meanwhile = {}) {
  LoadRun run;
  const int desks = kProcesses * kThreads;
  // Nobody has the store yet: the processes also race to create it.
  StartLine start;
  std::vector<std::unique_ptr<Child>> children;
  for (int p = 0; p < kProcesses; ++p) {
    const std::string resultFile = dir.file("desk" + std::to_string(p) + ".txt");
    children.push_back(std::make_unique<Child>(
        [&, p, resultFile] { return desk(p, opens / desks, stores / desks, station, resultFile, start); }));
    EXPECT_TRUE(children.back()->started());
  }
  const auto began = Clock::now();
  start.release();
  if (meanwhile) meanwhile();
  for (auto& child : children) {
    ChildEnd end = child->wait(longForm() ? 3 * 3600 * 1000 : 280 * 1000);
    EXPECT_TRUE(end.ok()) << end.describe();
  }
  run.seconds = static_cast<double>(microsSince(began)) / 1e6;

  Parsed& results = run.results;
  for (int p = 0; p < kProcesses; ++p) parseResults(dir.file("desk" + std::to_string(p) + ".txt"), results);
  EXPECT_EQ(results.ends.size(), static_cast<size_t>(kProcesses));
  for (const std::string& end : results.ends) EXPECT_EQ(end, "normal");
  if (station.stopFile.empty()) {
    EXPECT_EQ(results.opens, opens / desks * desks);
    EXPECT_EQ(results.stores, stores / desks * desks);
  }
  EXPECT_EQ(results.openMicros.size(), static_cast<size_t>(results.opens));
  EXPECT_EQ(results.storeMicros.size(), static_cast<size_t>(results.stores));
  EXPECT_EQ(results.lostOnReopen, 0);

  run.all = readStore(path, station.password);
  const StoreRows& all = run.all;
  EXPECT_TRUE(all.ok) << "error " << all.error;
  EXPECT_EQ(duplicateUids(all.rows), std::vector<uint32_t>{});
  std::map<RowKey, std::vector<const WindowControls*>> byKey;
  for (const WindowControls& r : all.rows) byKey[keyOf(r)].push_back(&r);
  EXPECT_FALSE(results.placements.empty());
  // Every placement stored without a word is in the store.
  for (const Placement& p : results.placements) {
    const auto found = byKey.find({text::upper(p.procedure), text::upper(p.marker), p.label});
    if (found == byKey.end() || found->second.size() != 1) {
      ADD_FAILURE() << p.procedure << " " << p.marker << " " << p.label << ": "
                    << (found == byKey.end() ? 0 : found->second.size()) << " rows";
      continue;
    }
    const WindowControls& row = *found->second.front();
    EXPECT_EQ(+row.X, p.x) << p.label;
    EXPECT_EQ(+row.Y, p.y) << p.label;
    EXPECT_EQ(+row.WIDTH, p.width) << p.label;
    EXPECT_EQ(+row.HEIGHT, p.height) << p.label;
  }
  EXPECT_EQ(duplicateKeys(all.rows), std::vector<RowKey>{});
  EXPECT_EQ(integrityCheck(path, station.password), "ok");
  return run;
}

void reportTimes(const std::string& kind, const LoadRun& run) {
  const Parsed& results = run.results;
  char rate[64];
  std::snprintf(rate, sizeof rate, "%.1f", results.opens / run.seconds);
  std::vector<int64_t> every = results.openMicros, waits = results.openWaitMicros;
  every.insert(every.end(), results.storeMicros.begin(), results.storeMicros.end());
  waits.insert(waits.end(), results.storeWaitMicros.begin(), results.storeWaitMicros.end());
  const std::string what = "load" + kind + ": ";
  reportFigure(what + "window opens", std::to_string(results.opens) + " opens, " + std::to_string(results.stores) +
                                          " stores, " + std::to_string(run.all.rows.size()) + " rows, in " +
                                          std::to_string(run.seconds) + " s");
  reportFigure(what + "opens per second (4 processes x 2 threads)", rate);
  reportFigure(what + "window opens, time of one call", spread(results.openMicros));
  reportFigure(what + "window opens, wait for other stations in one call", spread(results.openWaitMicros));
  reportFigure(what + "placements stored, time of one call", spread(results.storeMicros));
  reportFigure(what + "placements stored, wait for other stations in one call", spread(results.storeWaitMicros));
  reportFigure(what + "every call, time of one call", spread(every));
  reportFigure(what + "every call, wait for other stations in one call", spread(waits));
}

// The load on a store in a file and on a server alike.
class Load : public ::testing::TestWithParam<kf::testing::StoreKind> {};
INSTANTIATE_TEST_SUITE_P(Stores, Load, kf::testing::kBothKinds, kf::testing::kindName);

TEST_P(Load, FourProcessesOfTwoThreadsKeepEveryPlacementInOneProtectedStore) {
  kf::testing::TestStores stores(GetParam());
  WEVO_SKIP_WITHOUT_STORES(stores);
  const kf::testing::TestStores::Program program = stores.program();
  const Station station{stores.location(), program.path, stores.password(kPassword), ""};
  const int opens = scaled(400, 10000);
  const int stores_ = scaled(80, 2000);
  const int desks = kProcesses * kThreads;
  const LoadRun run = runLoad(station, program.store, stores.dir(), opens, stores_);
  // Nobody saw a message other than the store's own retry path.
  for (const std::string& dialog : run.results.dialogs) EXPECT_TRUE(isRetryPath(dialog)) << dialog;
  EXPECT_EQ(run.results.reported, 0);

  // One original row per control of every window opened, whoever opened it first.
  std::set<RowKey> keys;
  for (const WindowControls& r : run.all.rows) keys.insert(keyOf(r));
  int expectedOriginals = 0;
  for (int size : kSizes)
    if (keys.count({text::upper(procedureOf(size)), text::upper(store::kOriginalMarker), "WINDOW"}))
      expectedOriginals += size + 1;
  expectedOriginals += (opens / desks / 10) * desks * 21;  // the fresh windows
  int originals = 0;
  for (const WindowControls& r : run.all.rows)
    if (text::clipped(r.UNIQUEMARKER) == store::kOriginalMarker) ++originals;
  EXPECT_EQ(originals, expectedOriginals);
  reportTimes(stores.server() ? " (server)" : "", run);
}

// A server restarted while the desks work: every call either did its work
// or said why not through the store's messages; every placement stored
// without a word is kept; each desk's last call works again.
TEST(ServerRestart, CallsDuringARestartWorkOrSaySoAndNothingCommittedIsLost) {
  kf::testing::TestStores stores(kf::testing::StoreKind::kServer);
  WEVO_SKIP_WITHOUT_STORES(stores);
  const char* restart = std::getenv("WEVO_TEST_POSTGRES_RESTART");
  if (restart == nullptr || *restart == '\0')
    GTEST_SKIP() << "no way to restart the server: scripts/with-postgres sets WEVO_TEST_POSTGRES_RESTART";
  const kf::testing::TestStores::Program program = stores.program();
  const std::string stop = stores.dir().file("stop");
  const Station station{stores.location(), program.path, stores.password(kPassword), stop};
  int restarts = 0;
  const LoadRun run = runLoad(station, program.store, stores.dir(), 0, 0, [&] {
    // The desks work before, during and after each restart: once in the
    // short form, every few seconds for a minute in the long one.
    const int times = longForm() ? 20 : 1;
    for (int i = 0; i < times; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(longForm() ? 3000 : 300));
      if (std::system(restart) == 0) ++restarts;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    std::ofstream(stop) << "stop\n";
  });
  EXPECT_GT(restarts, 0);
  for (const std::string& dialog : run.results.dialogs) EXPECT_TRUE(isStoreMessage(dialog)) << dialog;
  EXPECT_EQ(run.results.failedLast, 0) << "the calls after the restart connect again by themselves";
  reportFigure("server restart: calls that failed and said so", std::to_string(run.results.reported) + " of " +
                                                                    std::to_string(run.results.opens +
                                                                                   run.results.stores));
  reportFigure("server restart: restarts", std::to_string(restarts));
  reportTimes(" (server, restarting)", run);
}

}  // namespace
}  // namespace wevo::reliability
