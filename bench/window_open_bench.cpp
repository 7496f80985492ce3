// What opening a customised window costs: SETWINDOWCONTROLS on a window
// whose design did not change since it was last opened (nothing is written),
// beside the store work the call cannot avoid, done straight on the keyed-file
// layer.
//
// The store is protected with a password and holds 100,000 rows of 500 other
// procedures beside the rows of the two windows measured: the original rows
// (written by a first call before timing) and one override row per control
// and for the window itself.
//
//   A  BM_SetWindowControls/200
//        the call on a 200-control window of mixed types
//   B  BM_StoreWorkOnly/controls:200/inTransaction:0
//        one open with the cached key, the 201 original-row lookups, the walks
//        over the 201 override rows in label order and in ORDERKEY order,
//        close; each read on its own (inTransaction:1: all in one
//        transaction, as the call frames them)
//   C  BM_SetWindowControls/21
//        the call on a 21-control window
//
//   cmake --build build --target window_open_bench && build/bench/window_open_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/window_controls.h"
#include "tests/testing/mixed_window.h"
#include "tests/testing/other_rows.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo {
namespace {

constexpr const char* kProgram = "/opt/apps/SALES.EXE";
constexpr const char* kPassword = "bench password";
constexpr const char* kMarker = "Bench";

[[noreturn]] void fail(const char* what) { testing::failKeyedFile(what); }

std::string procedureOf(int controls) { return controls == 200 ? "BigWindow" : "ControlWindow"; }
std::string labelOf(int i) { return testing::mixedControlLabel(i); }

// A window of `n` controls cycling through ten types, in rows of ten.
WindowDecl windowOf(int n) { return testing::mixedWindow(procedureOf(n), n); }

void clear(store::WindowControls& r) { kf::clearRecord(store::winDecl(), &r); }

// The override rows of a window: one per control (tab order reversed) and
// the window's own.
void addOverrides(kf::File& f, store::WindowControls& r, const WindowDecl& d, uint32_t& uid) {
  clear(r);
  r.UID = ++uid;
  text::assign(r.PROCEDURENAME, d.caption);
  text::assign(r.UNIQUEMARKER, kMarker);
  text::assign(r.CONTROLLABEL, store::kWindowLabel);
  text::assign(r.DESCRIPTION, store::kWindowLabel);
  text::assign(r.ICON, "bench.ico");
  text::assign(r.TYPEFACE, "MS Sans Serif");
  r.FONTSIZE = 8;
  if (!f.append()) fail("append");
  const int n = static_cast<int>(d.controls.size());
  for (int i = 1; i <= n; ++i) {
    const ControlDecl& c = d.controls[static_cast<size_t>(i - 1)];
    clear(r);
    r.UID = ++uid;
    text::assign(r.PROCEDURENAME, d.caption);
    text::assign(r.UNIQUEMARKER, kMarker);
    text::assign(r.CONTROLLABEL, c.use);
    text::assign(r.DESCRIPTION, c.use.substr(1));
    r.FEQ = i;
    r.ORDER = n + 1 - i;
    r.TYPE = c.type;
    text::assign(r.CONTROLTEXT, c.type == TYPE::Entry || c.type == TYPE::Spin ? "@s30" : "Custom " + c.use);
    r.TEXTCOLOR = 0x0000FF;
    r.BACKGROUND = 0xF0F0F0;
    r.SELECTEDTEXT = r.SELECTEDFILL = COLOR::None;
    r.X = c.at.x + 2;
    r.Y = c.at.y + 1;
    r.WIDTH = 56;
    r.HEIGHT = 14;
    r.WIDTHTYPE = 2;
    r.HEIGHTTYPE = 2;
    text::assign(r.TIP, "Custom tip " + std::to_string(i));
    text::assign(r.TYPEFACE, "Arial");
    r.FONTSIZE = 9;
    if (!f.append()) fail("append");
  }
}

// The store, built once per run in a temporary folder.
class Bench {
 public:
  static Bench& get() {
    static Bench b;
    return b;
  }
  const std::string& folder() const { return dir_; }
  const std::string& store() const { return store_; }

 private:
  Bench() {
    char pattern[] = "/tmp/wevo-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    dir_ = pattern;
    store_ = dir_ + "/SALES.wevo";
    store::WindowControls r{};
    kf::File f(store::winDecl(), &r);
    f.setName(store_);
    f.setOwner(kPassword);
    if (!f.create() || !f.open() || !f.stream()) fail("create");
    uint32_t uid = 0;
    testing::appendOtherRows(f, r, uid);
    for (int n : {200, 21}) addOverrides(f, r, windowOf(n), uid);
    if (!f.flush() || !f.build() || !f.close()) fail("build");
  }
  ~Bench() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string dir_, store_;
};

struct Stamp {
  int64_t size = -1, mtime = -1;
  bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {static_cast<int64_t>(st.st_size),
          static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

WEVOSETTINGS benchSettings() {
  WEVOSETTINGS settings{};
  text::assign(settings.WEVOPATH, Bench::get().folder());
  text::assign(settings.PASSWORD, kPassword);
  settings.PROMPTONEXIT = 0;
  return settings;
}

RunOptions benchOptions() {
  RunOptions options;
  options.args = {kProgram};
  options.stallSeconds = 3600;
  return options;
}

// The first call for a window: it writes the window's original rows.
void firstCall(int controls) {
  static bool done[2] = {false, false};
  bool& once = done[controls == 200 ? 0 : 1];
  if (once) return;
  once = true;
  ProgramResult result = run(
      [&] {
        WEVOSETTINGS settings = benchSettings();
        Window window(windowOf(controls));
        window.open();
        WEVO::SETWINDOWCONTROLS(window, procedureOf(controls), kMarker, settings);
      },
      benchOptions());
  if (result.failed || result.halted) {
    std::fprintf(stderr, "%s\n", describe(result).c_str());
    std::abort();
  }
}

// A: the call on a window opened afresh each time (opening and closing the
// window are not timed), after the first call.
void BM_SetWindowControls(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  Bench& bench = Bench::get();
  const WindowDecl decl = windowOf(controls);
  const std::string procedure = procedureOf(controls);
  firstCall(controls);
  std::string error;
  ProgramResult result = run(
      [&] {
        WEVOSETTINGS settings = benchSettings();
        Window window(decl);
        const Stamp written = stampOf(bench.store());
        for (auto _ : state) {
          window.open();
          const auto start = std::chrono::steady_clock::now();
          WEVO::SETWINDOWCONTROLS(window, procedure, kMarker, settings);
          state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
          if (window.get(1, PROP::FontColor).num() != 0x0000FF || window.get(1, PROP::Follows).num() != 2)
            error = "the overrides were not applied";
          window.close();
        }
        if (!(stampOf(bench.store()) == written)) error = "the store was written";
      },
      benchOptions());
  if (result.failed || result.halted) error = describe(result);
  if (!error.empty()) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_SetWindowControls)->Arg(200)->Arg(21)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Reads rows of one window from the key position in the buffer while they
// belong to it (the row after them is read too, as a walk must).
int walk(kf::File& f, store::WindowControls& r, int key, const std::string& procedure) {
  if (!f.setAt(key)) fail("set");
  int rows = 0;
  while (f.next() && text::sameNoCase(text::field(r.PROCEDURENAME), procedure) &&
         text::sameNoCase(text::field(r.UNIQUEMARKER), kMarker))
    ++rows;
  return rows;
}

// B: the store work of the same call on the keyed-file layer alone, each
// read on its own (inTransaction 0) or, as the call does it, all in one
// transaction (inTransaction 1).
void BM_StoreWorkOnly(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  const bool inTransaction = state.range(1) != 0;
  Bench& bench = Bench::get();
  const std::string procedure = procedureOf(controls);
  firstCall(controls);
  store::WindowControls r{};
  kf::File f(store::winDecl(), &r);
  f.setName(bench.store());
  f.setOwner(kPassword);
  if (!f.open() || !f.close()) fail("open");  // the key is derived here, once
  std::vector<std::string> labels = {store::kWindowLabel};
  for (int i = 1; i <= controls; ++i) labels.push_back(labelOf(i));
  for (auto _ : state) {
    if (!f.open()) fail("open");
    if (inTransaction && !f.begin(0)) fail("begin");
    for (const std::string& label : labels) {
      clear(r);
      text::assign(r.PROCEDURENAME, procedure);
      text::assign(r.UNIQUEMARKER, store::kOriginalMarker);
      text::assign(r.CONTROLLABEL, label);
      if (!f.get(store::KEYPROCEDUREMARKERLABEL)) fail("original row");
    }
    clear(r);
    text::assign(r.PROCEDURENAME, procedure);
    text::assign(r.UNIQUEMARKER, kMarker);
    const int byLabel = walk(f, r, store::KEYPROCEDUREMARKERLABEL, procedure);
    clear(r);
    text::assign(r.PROCEDURENAME, procedure);
    text::assign(r.UNIQUEMARKER, kMarker);
    r.ORDER = std::numeric_limits<int32_t>::min();
    const int byOrder = walk(f, r, store::ORDERKEY, procedure);
    if (byLabel != controls + 1 || byOrder != controls + 1) fail("walk");
    if (inTransaction && !f.commit()) fail("commit");
    if (!f.close()) fail("close");
  }
}
BENCHMARK(BM_StoreWorkOnly)
    ->Args({200, 0})
    ->Args({200, 1})
    ->Args({21, 0})
    ->Args({21, 1})
    ->ArgNames({"controls", "inTransaction"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wevo

BENCHMARK_MAIN();
