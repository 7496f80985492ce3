// What opening a customised window costs: SETWINDOWCONTROLS on a window
// whose design did not change since it was last opened (nothing is written),
// beside the least work SQLCipher can do to read the window's rows, and the
// same window opened and shown through the Qt view beside the same widgets
// made by Qt directly.
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
//        transaction); row by row, the way the call once worked
//   C  BM_SetWindowControls/21
//        the call on a 21-control window
//   F  BM_Floor/200
//        the floor: plain SQL through SQLCipher, no library code. One
//        connection keyed with the raw key, one read transaction, one
//        prepared statement per marker returning every column of the
//        window's original and override rows (402 rows)
//   Qa BM_QtCustomisedWindowShown/200
//        through the Qt view (offscreen): the 200-control window opened,
//        customised with SETWINDOWCONTROLS and shown, until the Qt thread
//        has drawn it
//   Qb BM_QtWidgetsShownDirectly/200
//        the same 200 widgets (types, places, texts, colours, fonts, tips,
//        tab order) made and shown by Qt directly
//
//   S  BM_SetWindowControlsOnServer/200, /21
//        the calls A and C with the same store on a PostgreSQL server, over
//        its Unix socket; the counter round_trips is how many times one call
//        waited for the server's answers
//   SF BM_ServerFloor/200
//        the floor on the server: plain libpq, one connection, one pipeline
//        of a read transaction and one prepared statement per marker
//        returning every column of the window's rows in binary
// The server's benchmarks run when WEVO_TEST_POSTGRES_SOCKET and
// WEVO_TEST_POSTGRES_PASSWORD name one (scripts/with-postgres starts one
// for the run).
//
// At the end it prints, as [figure] lines, the floor and the ratios the
// window open is held to: A / F (at most 2), C (under 0.5 ms), Qa / Qb (at
// most 2), S/200 / A (at most 2) and S's round trips (at most 5), from the
// medians of the repetitions asked for:
//
//   cmake --build build --target window_open_bench &&
//     scripts/with-postgres build/bench/window_open_bench --benchmark_repetitions=5
// (runs offscreen unless QT_QPA_PLATFORM says otherwise)
#define SQLITE_HAS_CODEC 1
#include <benchmark/benchmark.h>
#include <openssl/evp.h>
#include <libpq-fe.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/pg_connection.h"
#include "platform/keyedfile/server_name.h"
#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/host_thread.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/top_window.h"
#include "store/window_controls.h"
#include "tests/testing/mixed_window.h"
#include "tests/testing/other_rows.h"
#include "wevo/qt_view.h"
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

// What every control's override row gives it: red text on light grey in
// Arial 9, moved by (2, 1) and sized 56 x 14 dialog units, a tip and (but
// for entries and spin boxes) a text of its own.
constexpr int kCustomColor = 0x0000FF;
constexpr int kCustomBackground = 0xF0F0F0;
constexpr int kCustomWidth = 56, kCustomHeight = 14;
std::string customText(const ControlDecl& c) { return "Custom " + c.use; }
bool keepsPicture(const ControlDecl& c) { return c.type == TYPE::Entry || c.type == TYPE::Spin; }
std::string customTip(int i) { return "Custom tip " + std::to_string(i); }

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
    text::assign(r.CONTROLTEXT, keepsPicture(c) ? "@s30" : customText(c));
    r.TEXTCOLOR = kCustomColor;
    r.BACKGROUND = kCustomBackground;
    r.SELECTEDTEXT = r.SELECTEDFILL = COLOR::None;
    r.X = c.at.x + 2;
    r.Y = c.at.y + 1;
    r.WIDTH = kCustomWidth;
    r.HEIGHT = kCustomHeight;
    r.WIDTHTYPE = 2;
    r.HEIGHTTYPE = 2;
    text::assign(r.TIP, customTip(i));
    text::assign(r.TYPEFACE, "Arial");
    r.FONTSIZE = 9;
    if (!f.append()) fail("append");
  }
}

// Fills the store at `name` (made anew) with the benchmark's rows.
void buildStore(const std::string& name, const std::string& password) {
  store::WindowControls r{};
  kf::File f(store::winDecl(), &r);
  f.setName(name);
  f.setOwner(password);
  if (!f.create() || !f.open() || !f.stream()) fail("create");
  uint32_t uid = 0;
  testing::appendOtherRows(f, r, uid);
  for (int n : {200, 21}) addOverrides(f, r, windowOf(n), uid);
  if (!f.flush() || !f.build() || !f.close()) fail("build");
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
    buildStore(store_, kPassword);
  }
  ~Bench() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string dir_, store_;
};

// The same store on the server named in the environment, built once per
// run (as the schema "SALES.wevo", replacing one left by an earlier run).
class ServerBench {
 public:
  // Null without a server.
  static ServerBench* get() {
    static ServerBench* b = [] {
      const char* uri = std::getenv("WEVO_TEST_POSTGRES_SOCKET");
      const char* password = std::getenv("WEVO_TEST_POSTGRES_PASSWORD");
      return uri != nullptr && *uri != '\0' && password != nullptr ? new ServerBench(uri, password) : nullptr;
    }();
    return b;
  }
  const std::string& address() const { return address_; }
  const std::string& password() const { return password_; }
  std::string store() const { return kf::serverStoreName(address_, "SALES.wevo"); }

 private:
  ServerBench(std::string address, std::string password)
      : address_(std::move(address)), password_(std::move(password)) {
    buildStore(store(), password_);
  }
  std::string address_, password_;
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

WEVOSETTINGS benchSettings(bool onServer = false) {
  WEVOSETTINGS settings{};
  text::assign(settings.WEVOPATH, onServer ? ServerBench::get()->address() : Bench::get().folder());
  text::assign(settings.PASSWORD, onServer ? ServerBench::get()->password() : kPassword);
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
void firstCall(int controls, bool onServer = false) {
  static bool done[2][2] = {{false, false}, {false, false}};
  bool& once = done[onServer ? 1 : 0][controls == 200 ? 0 : 1];
  if (once) return;
  once = true;
  ProgramResult result = run(
      [&] {
        WEVOSETTINGS settings = benchSettings(onServer);
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

// S: the same call with the store on the server.
void BM_SetWindowControlsOnServer(benchmark::State& state) {
  ServerBench* server = ServerBench::get();
  if (server == nullptr) {
    state.SkipWithError("no server: run under scripts/with-postgres");
    return;
  }
  const int controls = static_cast<int>(state.range(0));
  const WindowDecl decl = windowOf(controls);
  const std::string procedure = procedureOf(controls);
  firstCall(controls, true);
  std::string error;
  uint64_t roundTrips = 0, calls = 0;
  ProgramResult result = run(
      [&] {
        WEVOSETTINGS settings = benchSettings(true);
        Window window(decl);
        for (auto _ : state) {
          window.open();
          const uint64_t before = kf::serverRoundTrips();
          const auto start = std::chrono::steady_clock::now();
          WEVO::SETWINDOWCONTROLS(window, procedure, kMarker, settings);
          state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
          roundTrips += kf::serverRoundTrips() - before;
          ++calls;
          if (window.get(1, PROP::FontColor).num() != 0x0000FF || window.get(1, PROP::Follows).num() != 2)
            error = "the overrides were not applied";
          window.close();
        }
      },
      benchOptions());
  if (calls > 0) state.counters["round_trips"] = static_cast<double>(roundTrips) / static_cast<double>(calls);
  if (result.failed || result.halted) error = describe(result);
  if (!error.empty()) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_SetWindowControlsOnServer)->Arg(200)->Arg(21)->UseManualTime()->Unit(benchmark::kMicrosecond);

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

// ---- F: the floor --------------------------------------------------------

// SQLCipher's key for the password over the store's salt (its first 16
// bytes), in the raw form: what the library keeps after its first open.
std::string rawKeyOf(const std::string& path, const std::string& password) {
  std::ifstream in(path, std::ios::binary);
  unsigned char salt[16] = {};
  in.read(reinterpret_cast<char*>(salt), sizeof salt);
  unsigned char key[32] = {};
  if (!in || PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), salt, sizeof salt, 64000,
                                    sizeof key, key) != 1)
    std::abort();
  static const char kDigits[] = "0123456789abcdef";
  std::string form = "x'";
  for (unsigned char b : key) {
    form.push_back(kDigits[b >> 4]);
    form.push_back(kDigits[b & 0xf]);
  }
  return form + "'";
}

// Steps `stmt` to its end, reading every column of every row as its type
// says; returns the rows read.
int readEveryColumn(sqlite3_stmt* stmt) {
  int rows = 0;
  int64_t sink = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    ++rows;
    const int n = sqlite3_column_count(stmt);
    for (int c = 0; c < n; ++c) {
      if (sqlite3_column_type(stmt, c) == SQLITE_INTEGER) {
        sink += sqlite3_column_int64(stmt, c);
      } else {
        const unsigned char* text = sqlite3_column_text(stmt, c);
        sink += sqlite3_column_bytes(stmt, c) + (text != nullptr ? text[0] : 0);
      }
    }
  }
  benchmark::DoNotOptimize(sink);
  return rows;
}

void BM_Floor(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  Bench& bench = Bench::get();
  firstCall(controls);
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(bench.store().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) std::abort();
  const std::string key = rawKeyOf(bench.store(), kPassword);
  if (sqlite3_key(db, key.data(), static_cast<int>(key.size())) != SQLITE_OK ||
      sqlite3_exec(db, "PRAGMA cipher_page_size=4096", nullptr, nullptr, nullptr) != SQLITE_OK)
    std::abort();
  // One statement per marker, in the order of the key that holds the rows.
  const char* sql =
      "SELECT * FROM \"WindowControls\" WHERE \"PROCEDURENAME\"=?1 COLLATE NOCASE AND \"UNIQUEMARKER\"=?2 "
      "COLLATE NOCASE ORDER BY \"CONTROLLABEL\" COLLATE NOCASE, \"kf_row\"";
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) std::abort();
  const std::string procedure = procedureOf(controls);
  for (auto _ : state) {
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    int rows = 0;
    for (const char* marker : {store::kOriginalMarker, kMarker}) {
      sqlite3_bind_text(stmt, 1, procedure.c_str(), -1, SQLITE_STATIC);
      sqlite3_bind_text(stmt, 2, marker, -1, SQLITE_STATIC);
      rows += readEveryColumn(stmt);
      sqlite3_reset(stmt);
    }
    if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) std::abort();
    if (rows != 2 * (controls + 1)) state.SkipWithError("the floor did not read every row");
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}
BENCHMARK(BM_Floor)->Arg(200)->Unit(benchmark::kMicrosecond);

// SF: the floor on the server. The window's rows by marker, as the store's
// key finds them (lower(column) under "C"), in one round trip.
void BM_ServerFloor(benchmark::State& state) {
  ServerBench* server = ServerBench::get();
  if (server == nullptr) {
    state.SkipWithError("no server: run under scripts/with-postgres");
    return;
  }
  const int controls = static_cast<int>(state.range(0));
  firstCall(controls, true);
  const std::string password = server->password();
  const char* keywords[] = {"dbname", "password", nullptr};
  const char* values[] = {server->address().c_str(), password.c_str(), nullptr};
  PGconn* c = PQconnectdbParams(keywords, values, 1);
  if (PQstatus(c) != CONNECTION_OK) std::abort();
  PQclear(PQexec(c, "SET search_path = \"SALES.wevo\""));
  const char* sql =
      "SELECT * FROM \"WindowControls\" WHERE lower(\"PROCEDURENAME\") = lower($1 COLLATE \"C\") AND "
      "lower(\"UNIQUEMARKER\") = lower($2 COLLATE \"C\") ORDER BY lower(\"CONTROLLABEL\"), \"kf_row\"";
  PQclear(PQprepare(c, "floor", sql, 2, nullptr));
  if (PQenterPipelineMode(c) != 1) std::abort();
  const std::string procedure = procedureOf(controls);
  int64_t sink = 0;
  for (auto _ : state) {
    PQsendQueryParams(c, "BEGIN ISOLATION LEVEL REPEATABLE READ, READ ONLY", 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (const char* marker : {store::kOriginalMarker, kMarker}) {
      const char* params[] = {procedure.c_str(), marker};
      PQsendQueryPrepared(c, "floor", 2, params, nullptr, nullptr, 1);
    }
    PQsendQueryParams(c, "COMMIT", 0, nullptr, nullptr, nullptr, nullptr, 0);
    PQpipelineSync(c);
    int rows = 0;
    for (int q = 0; q < 4; ++q) {
      PGresult* r = PQgetResult(c);
      if (PQresultStatus(r) == PGRES_TUPLES_OK) {
        rows += PQntuples(r);
        for (int i = 0; i < PQntuples(r); ++i)
          for (int col = 0; col < PQnfields(r); ++col) sink += PQgetlength(r, i, col) + *PQgetvalue(r, i, col);
      }
      PQclear(r);
      PQclear(PQgetResult(c));  // the end of the statement's results
    }
    PQclear(PQgetResult(c));  // the sync
    if (rows != 2 * (controls + 1)) state.SkipWithError("the floor did not read every row");
  }
  benchmark::DoNotOptimize(sink);
  PQfinish(c);
}
BENCHMARK(BM_ServerFloor)->Arg(200)->Unit(benchmark::kMicrosecond);

// ---- Qa, Qb: through the Qt view, and Qt alone ---------------------------

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void BM_QtCustomisedWindowShown(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  const WindowDecl decl = windowOf(controls);
  const std::string procedure = procedureOf(controls);
  firstCall(controls);
  RunOptions options = benchOptions();
  options.view = qtView();
  std::string error;
  ProgramResult result = run(
      [&] {
        qtview::QtView* view = qtview::QtView::running();
        WEVOSETTINGS settings = benchSettings();
        qsizetype shown = 0;
        for (auto _ : state) {
          const Clock::time_point start = Clock::now();
          Window w(decl);
          w.open();
          WEVO::SETWINDOWCONTROLS(w, procedure, kMarker, settings);
          toolkit::flushThread(*toolkit::thisThread());
          view->onQtThread([&] {
            qtview::TopWindow* top = view->window(w.handle());
            top->repaint();
            shown = top->client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size();
          });
          state.SetIterationTime(secondsSince(start));
          if (w.get(1, PROP::FontColor).num() != kCustomColor) error = "the overrides were not applied";
          w.close();
          view->onQtThread([] {});  // the close is through before the next window
        }
        state.counters["widgets"] = static_cast<double>(shown);
      },
      options);
  if (result.failed || result.halted) error = describe(result);
  if (!error.empty()) state.SkipWithError(error.c_str());
}
BENCHMARK(BM_QtCustomisedWindowShown)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

QWidget* makeDirectly(const ControlDecl& c, QWidget* parent) {
  const QString text = QString::fromStdString(customText(c));
  switch (c.type) {
    case TYPE::Prompt: case TYPE::String: return new QLabel(text, parent);
    case TYPE::Entry: return new QLineEdit(parent);
    case TYPE::Button: return new QPushButton(text, parent);
    case TYPE::Check: return new QCheckBox(text, parent);
    case TYPE::List: {
      auto* list = new QTreeWidget(parent);
      list->setHeaderLabels({QStringLiteral("Line")});
      return list;
    }
    case TYPE::Spin: return new QSpinBox(parent);
    case TYPE::Text: return new QPlainTextEdit(text, parent);
    case TYPE::Group: return new QGroupBox(text, parent);
    default: return new QFrame(parent);
  }
}

void BM_QtWidgetsShownDirectly(benchmark::State& state) {
  const int controls = static_cast<int>(state.range(0));
  const WindowDecl decl = windowOf(controls);
  QFont windowFont(QStringLiteral("MS Sans Serif"), 8);
  QFont controlFont(QStringLiteral("Arial"), 9);
  QFontMetrics fm(windowFont);
  const double dx = fm.averageCharWidth() / 4.0, dy = fm.height() / 8.0;
  auto px = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
  QPalette palette;
  const QColor red(255, 0, 0), grey(0xF0, 0xF0, 0xF0);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) palette.setColor(role, red);
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) palette.setColor(role, grey);
  qsizetype shown = 0;
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    auto top = std::make_unique<QWidget>();
    top->setWindowTitle(QString::fromStdString(decl.caption));
    top->setFont(windowFont);
    top->resize(px(decl.at.w * dx), px(decl.at.h * dy));
    std::vector<QWidget*> made;
    for (size_t i = 0; i < decl.controls.size(); ++i) {
      const ControlDecl& c = decl.controls[i];
      QWidget* w = makeDirectly(c, top.get());
      w->setGeometry(px((c.at.x + 2) * dx), px((c.at.y + 1) * dy), px(kCustomWidth * dx), px(kCustomHeight * dy));
      w->setFont(controlFont);
      w->setPalette(palette);
      w->setToolTip(QString::fromStdString(customTip(static_cast<int>(i) + 1)));
      made.push_back(w);
    }
    for (size_t i = made.size(); i-- > 1;) QWidget::setTabOrder(made[i], made[i - 1]);
    top->move(60, 40);
    top->show();
    top->repaint();
    state.SetIterationTime(secondsSince(start));
    shown = top->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size();
    top.reset();
    QCoreApplication::processEvents();
  }
  state.counters["widgets"] = static_cast<double>(shown);
}
BENCHMARK(BM_QtWidgetsShownDirectly)->Arg(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

// ---- The figures -----------------------------------------------------------

// Keeps the real time of every repetition of every benchmark, and prints the
// figures the window open is held to from their medians.
class FigureReporter : public benchmark::ConsoleReporter {
 public:
  // In colour on a terminal only, as Google Benchmark's own reporter.
  FigureReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.function_name + "/" + run.run_name.args;
      const double seconds = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      // A call's round trips, from the runs themselves or their median.
      if (auto trips = run.counters.find("round_trips");
          trips != run.counters.end() && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
        roundTrips_[name] = trips->second.value;
      if (run.run_type == Run::RT_Iteration) {
        times_[name].push_back(seconds);
        ++repetitions_[name];
      } else if (run.aggregate_name == "median") {
        // Only the aggregates are reported: the median stands for them.
        times_[name] = {seconds};
        repetitions_[name] = static_cast<size_t>(run.repetitions);
      }
    }
  }

  // Prints one [figure] line on the reporter's own stream.
  __attribute__((format(printf, 2, 3))) void figure(const char* format, ...) const {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    GetOutputStream() << "[figure] window open: " << line << std::endl;
  }

  void printFigures() const {
    const double open200 = median("BM_SetWindowControls/200"), open21 = median("BM_SetWindowControls/21");
    const double floor = median("BM_Floor/200");
    const double viaQt = median("BM_QtCustomisedWindowShown/200"), direct = median("BM_QtWidgetsShownDirectly/200");
    size_t n = 0;
    for (const auto& [name, count] : repetitions_) n = std::max(n, count);
    figure("medians of %zu repetition(s)", n);
    if (floor > 0) figure("floor (SQLCipher alone, 402 rows) %.3f ms", floor * 1e3);
    if (open200 > 0 && floor > 0)
      figure("SETWINDOWCONTROLS/200 %.3f ms = %.2f x the floor (goal: at most 2)", open200 * 1e3, open200 / floor);
    if (open21 > 0) figure("SETWINDOWCONTROLS/21 %.3f ms (goal: under 0.5 ms)", open21 * 1e3);
    if (viaQt > 0 && direct > 0)
      figure("through the Qt view (a) %.3f ms / Qt directly (b) %.3f ms = %.2f (goal: at most 2)", viaQt * 1e3,
             direct * 1e3, viaQt / direct);
    const double server200 = median("BM_SetWindowControlsOnServer/200");
    const double server21 = median("BM_SetWindowControlsOnServer/21");
    const double serverFloor = median("BM_ServerFloor/200");
    if (serverFloor > 0) figure("floor on the server (libpq alone, 402 rows, one round trip) %.3f ms", serverFloor * 1e3);
    if (server200 > 0 && open200 > 0)
      figure("SETWINDOWCONTROLS/200 on the server %.3f ms = %.2f x SQLCipher's (goal: at most 2)", server200 * 1e3,
             server200 / open200);
    if (server21 > 0) figure("SETWINDOWCONTROLS/21 on the server %.3f ms", server21 * 1e3);
    for (const auto& [name, trips] : roundTrips_)
      figure("%s: %.1f round trips to the server per call (goal: at most 5)", name.c_str(), trips);
  }

 private:
  double median(const std::string& name) const {
    auto it = times_.find(name);
    if (it == times_.end() || it->second.empty()) return 0;
    std::vector<double> v = it->second;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 != 0 ? v[m] : (v[m - 1] + v[m]) / 2;
  }

  std::map<std::string, std::vector<double>> times_;
  std::map<std::string, size_t> repetitions_;
  std::map<std::string, double> roundTrips_;
};

}  // namespace
}  // namespace wevo

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int qtArgc = 1;
  static char name[] = "window_open_bench";
  static char* qtArgv[] = {name, nullptr};
  // The Qt view uses the application made here, on this (the main) thread.
  static QApplication* app = new QApplication(qtArgc, qtArgv);
  (void)app;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  wevo::FigureReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printFigures();
  benchmark::Shutdown();
  return 0;
}
