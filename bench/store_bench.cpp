// What the store costs the entry points: the format check every call makes,
// the counted open and close around each operation, numbering a new row, and
// converting a first-layout store (per row, with its progress window).
//
//   store_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/keyedfile/keyed_file.h"
#include "store/new_uid.h"
#include "store/prepare_store.h"
#include "store/store_file_vars.h"
#include "store/store_open.h"
#include "store/window_controls.h"
#include "wevo/program.h"
#include "wevo/text.h"

namespace wevo {
namespace {

class Folder {
 public:
  Folder() {
    char pattern[] = "/tmp/wevo-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    path_ = pattern;
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void fillRow(store::WindowControls& r, int i) {
  kf::clearRecord(store::winDecl(), &r);
  text::assign(r.PROCEDURENAME, "Procedure" + std::to_string(i / 50));
  text::assign(r.UNIQUEMARKER, "Marker");
  text::assign(r.CONTROLLABEL, "?Control" + std::to_string(i % 50));
  text::assign(r.CONTROLTEXT, "Some text");
  r.FEQ = r.ORDER = i % 50 + 1;
}

// A protected current store of `rows` rows, named in the process-wide variables.
void makeStore(const std::string& name, int rows) {
  store::setStoreFileName(name);
  store::setStoreOwner("bench password");
  store::WindowControls r{};
  kf::File f(store::winDecl(), &r);
  if (!f.create() || !f.open() || !f.stream()) std::abort();
  for (int i = 0; i < rows; ++i) {
    fillRow(r, i);
    r.UID = static_cast<uint32_t>(i + 1);
    if (!f.append()) std::abort();
  }
  if (!f.flush() || !f.build() || !f.close()) std::abort();
}

// The check an entry point makes on every call, on a store that needs nothing.
void BM_FormatCheckCurrentStore(benchmark::State& state) {
  Folder dir;
  makeStore(dir.file("SALES.wevo"), 2000);
  const store::StoreContext context{dir.file("SALES.wevo"), kf::Secret("bench password")};
  for (auto _ : state) store::checkStoreFormat(context);
}
BENCHMARK(BM_FormatCheckCurrentStore)->Unit(benchmark::kMicrosecond);

// The counted open and close of one operation that finds the store closed.
void BM_CountedOpenClose(benchmark::State& state) {
  Folder dir;
  makeStore(dir.file("SALES.wevo"), 2000);
  for (auto _ : state) store::StoreUse use;
}
BENCHMARK(BM_CountedOpenClose)->Unit(benchmark::kMicrosecond);

// A new row under the next UID, on an open store (one committed add each).
void BM_AddRecordWithNewUid(benchmark::State& state) {
  Folder dir;
  makeStore(dir.file("SALES.wevo"), 2000);
  store::StoreUse use;
  int i = 0;
  for (auto _ : state) {
    fillRow(store::WIN(), i++);
    if (!store::AddRecordWithNewUid()) std::abort();
  }
}
BENCHMARK(BM_AddRecordWithNewUid)->Unit(benchmark::kMicrosecond);

// Conversion 01 of a first-layout store of range(0) rows, progress window
// included (headless view).
void BM_ConvertFirstLayout(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  Folder dir;
  const std::string name = dir.file("SALES.wevo");
  for (auto _ : state) {
    store::setStoreFileName(name);
    store::setStoreOwner("");
    store::WindowControls001 r{};
    kf::File f(store::win001Decl(), &r);
    if (!f.create() || !f.open() || !f.stream()) std::abort();
    for (int i = 0; i < rows; ++i) {
      store::WindowControls full{};
      fillRow(full, i);
      full.UID = static_cast<uint32_t>(i + 1);
      std::memcpy(&r, &full, sizeof r);
      if (!f.append()) std::abort();
    }
    if (!f.flush() || !f.build() || !f.close()) std::abort();
    double seconds = 0;
    ProgramResult result = run([&] {
      const auto start = std::chrono::steady_clock::now();
      store::checkStoreFormat({name, kf::Secret()});
      seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    });
    if (result.failed || result.halted || !result.transcript.empty()) std::abort();
    state.SetIterationTime(seconds);
    std::filesystem::remove(name + ".01.bak");
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ConvertFirstLayout)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wevo

BENCHMARK_MAIN();
