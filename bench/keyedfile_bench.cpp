// The store at its working size: 100,000 rows of the WindowControls layout
// over 500 procedures x 4 markers (50 labels each), protected with a
// password, built once per run in a temporary folder.
//
//   keyedfile_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "platform/keyedfile/connection_pool.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/key_cache.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/view.h"
#include "store/store_file_vars.h"
#include "store/window_controls.h"
#include "wevo/text.h"

namespace wevo {
namespace {

constexpr int kProcedures = 500;
constexpr int kMarkers = 4;
constexpr int kLabels = 50;
constexpr int kRows = kProcedures * kMarkers * kLabels;

std::string procedureName(int p) { return "Procedure" + std::to_string(p); }
std::string markerName(int m) { return m == 0 ? "WEVO_ORIGINAL" : "Marker" + std::to_string(m); }
std::string labelName(int l) { return "?Control" + std::to_string(l); }

void fillKey(store::WindowControls& rec, int p, int m, int l) {
  text::assign(rec.PROCEDURENAME, procedureName(p));
  text::assign(rec.UNIQUEMARKER, markerName(m));
  text::assign(rec.CONTROLLABEL, labelName(l));
}

class Store {
 public:
  static Store& get() {
    static Store s;
    return s;
  }
  const std::string& path() const { return path_; }

 private:
  Store() {
    char pattern[] = "/tmp/wevo-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    dir_ = pattern;
    path_ = dir_ + "/BENCH.wevo";
    store::setStoreFileName(path_);
    store::setStoreOwner("bench password");
    const auto start = std::chrono::steady_clock::now();
    store::WindowControls rec{};
    kf::File f(store::winDecl(), &rec);
    if (!f.create() || !f.open() || !f.stream()) fail("create");
    uint32_t uid = 0;
    for (int p = 0; p < kProcedures; ++p)
      for (int m = 0; m < kMarkers; ++m)
        for (int l = 0; l < kLabels; ++l) {
          kf::clearRecord(store::winDecl(), &rec);
          rec.UID = ++uid;
          fillKey(rec, p, m, l);
          text::assign(rec.DESCRIPTION, labelName(l).substr(1));
          text::assign(rec.CONTROLTEXT, "&Text of control " + std::to_string(l));
          text::assign(rec.TIP, "Tip for control " + std::to_string(l));
          text::assign(rec.TYPEFACE, "MS Sans Serif");
          rec.FEQ = l + 1;
          rec.ORDER = l + 1;
          rec.TYPE = 1 + l % 21;
          rec.X = 4 * l;
          rec.Y = 12 * l;
          rec.WIDTH = 60;
          rec.HEIGHT = 12;
          rec.FONTSIZE = 8;
          if (!f.append()) fail("append");
        }
    if (!f.flush() || !f.build() || !f.close()) fail("build");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "built %d rows in %.1f s (%.1f MB)\n", kRows, seconds,
                 static_cast<double>(std::filesystem::file_size(path_)) / 1e6);
  }
  ~Store() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  static void fail(const char* what) {
    std::fprintf(stderr, "%s failed: %d %s %s\n", what, kf::errorCode(), kf::errorText().c_str(),
                 kf::driverErrorText().c_str());
    std::abort();
  }
  std::string dir_, path_;
};

// Open and close with no derived key cached and no connection kept: the one
// full key derivation of a process.
void BM_OpenCloseFirst(benchmark::State& state) {
  const std::string& path = Store::get().path();
  store::WindowControls rec{};
  kf::File f(store::winDecl(), &rec);
  for (auto _ : state) {
    kf::clearKeyCache();
    kf::dropConnections(path);
    if (!f.open() || !f.close()) state.SkipWithError("open failed");
  }
}
BENCHMARK(BM_OpenCloseFirst)->Unit(benchmark::kMillisecond);

// Every later open and close of the protected store.
void BM_OpenCloseLater(benchmark::State& state) {
  Store::get();
  store::WindowControls rec{};
  kf::File f(store::winDecl(), &rec);
  if (!f.open() || !f.close()) state.SkipWithError("open failed");
  for (auto _ : state) {
    if (!f.open() || !f.close()) state.SkipWithError("open failed");
  }
}
BENCHMARK(BM_OpenCloseLater)->Unit(benchmark::kMicrosecond);

// One control's row by (procedure, marker, label).
void BM_PointLookup(benchmark::State& state) {
  Store::get();
  store::WindowControls rec{};
  kf::File f(store::winDecl(), &rec);
  if (!f.open()) state.SkipWithError("open failed");
  std::mt19937 random(1);
  for (auto _ : state) {
    fillKey(rec, static_cast<int>(random() % kProcedures), static_cast<int>(random() % kMarkers),
            static_cast<int>(random() % kLabels));
    if (!f.get(store::KEYPROCEDUREMARKERLABEL)) state.SkipWithError("get failed");
  }
}
BENCHMARK(BM_PointLookup)->Unit(benchmark::kMicrosecond);

// 200 rows in key order from the start of one (procedure, marker).
void BM_Walk200(benchmark::State& state) {
  Store::get();
  store::WindowControls rec{};
  kf::File f(store::winDecl(), &rec);
  if (!f.open()) state.SkipWithError("open failed");
  std::mt19937 random(2);
  for (auto _ : state) {
    kf::clearRecord(store::winDecl(), &rec);
    fillKey(rec, static_cast<int>(random() % (kProcedures - 2)), static_cast<int>(random() % kMarkers), 0);
    text::assign(rec.CONTROLLABEL, "");
    if (!f.setAt(store::KEYPROCEDUREMARKERLABEL)) state.SkipWithError("set failed");
    // A walk that meets the end of the file goes on from the start of the key.
    for (int i = 0; i < 200; ++i)
      if (!f.next() && !(kf::errorCode() == kf::kErrNoRecord && f.set(store::KEYPROCEDUREMARKERLABEL) && f.next()))
        state.SkipWithError("next failed");
  }
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_Walk200)->Unit(benchmark::kMicrosecond);

// The browse's view over one window's rows (all 50, then its end).
void BM_ViewOneWindow(benchmark::State& state) {
  Store::get();
  store::WindowControls rec{};
  kf::File f(store::winDecl(), &rec);
  if (!f.open()) state.SkipWithError("open failed");
  char procedure[80], marker[80];
  kf::View view(f);
  view.bind("BRW1::Sort1:Save:WIN:ProcedureName", procedure, sizeof procedure);
  view.bind("LOC:UniqueMarker", marker, sizeof marker);
  view.setOrder("+UPPER(WIN:ProcedureName),+UPPER(WIN:UniqueMarker),+UPPER(WIN:ControlLabel)");
  view.setFilter(
      "UPPER(WIN:ProcedureName) = UPPER(BRW1::Sort1:Save:WIN:ProcedureName) AND UPPER(WIN:UniqueMarker) = "
      "UPPER(LOC:UniqueMarker)");
  if (!view.open()) state.SkipWithError("view failed");
  std::mt19937 random(3);
  int64_t rows = 0;
  for (auto _ : state) {
    text::assign(procedure, procedureName(static_cast<int>(random() % kProcedures)));
    text::assign(marker, markerName(static_cast<int>(random() % kMarkers)));
    if (!view.set()) state.SkipWithError("set failed");
    while (view.next()) ++rows;
  }
  state.SetItemsProcessed(rows);
}
BENCHMARK(BM_ViewOneWindow)->Unit(benchmark::kMicrosecond);

// Read a row, change it and rewrite it in a transaction (synchronous FULL:
// the commit waits for the disk).
void BM_PutInTransaction(benchmark::State& state) {
  Store::get();
  store::WindowControls rec{};
  kf::File f(store::winDecl(), &rec);
  if (!f.open()) state.SkipWithError("open failed");
  std::mt19937 random(4);
  for (auto _ : state) {
    rec.UID = 1 + random() % kRows;
    if (!f.begin(2) || !f.get(store::KEYUID)) state.SkipWithError("begin/get failed");
    rec.X += 1;
    if (!f.put() || !f.commit()) state.SkipWithError("put failed");
  }
}
BENCHMARK(BM_PutInTransaction)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wevo

BENCHMARK_MAIN();
