// What customising a Qt form costs beside what the form costs Qt itself.
//
// The form: 200 named widgets in layouts (four group boxes of twelve rows of
// a label, a line edit, a combo box and a check box, and four buttons). The
// store is protected with a password and holds 100,000 rows of 500 other
// procedures beside the form's own: its original rows (written by a first
// customise before timing) and an override row per control that changes
// its text colour and tip (no control moves: the form keeps its layouts).
//
//   A  BM_QtCreateAndShow
//        Qt alone: the form made from scratch, shown, its events handled
//   B  BM_QtCustomise
//        customise() on a new form before it is shown: the form read, the
//        toolkit window made on a host thread, the store's work, the rows
//        applied to the widgets (making and showing the form not timed)
//   C  BM_QtCustomiseAndShow
//        A and B together: what opening a customised form costs the program
// The goal is B at most twice A.
//
//   cmake --build build --target qt_customise_bench && QT_QPA_PLATFORM=offscreen build/bench/qt_customise_bench
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/window_controls.h"
#include "tests/testing/other_rows.h"
#include "wevo/qt.h"
#include "wevo/text.h"

namespace wevo {
namespace {

constexpr const char* kPassword = "bench password";
constexpr const char* kProcedure = "QtOrders";
constexpr const char* kMarker = "Bench";
constexpr int kBoxes = 4;
constexpr int kRows = 12;

[[noreturn]] void fail(const char* what) { testing::failKeyedFile(what); }

// The form, 200 named widgets in layouts.
class BigForm : public QWidget {
 public:
  BigForm() {
    setWindowTitle(QStringLiteral("Orders"));
    auto* layout = new QVBoxLayout(this);
    for (int b = 0; b < kBoxes; ++b) {
      auto* box = new QGroupBox(QStringLiteral("Box %1").arg(b), this);
      box->setObjectName(QStringLiteral("box%1").arg(b));
      auto* grid = new QGridLayout(box);
      for (int r = 0; r < kRows; ++r) {
        const QString n = QStringLiteral("%1_%2").arg(b).arg(r);
        auto* label = new QLabel(QStringLiteral("Field %1:").arg(n), box);
        label->setObjectName(QStringLiteral("label") + n);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(QStringLiteral("edit") + n);
        auto* combo = new QComboBox(box);
        combo->setObjectName(QStringLiteral("combo") + n);
        combo->addItems({QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")});
        auto* check = new QCheckBox(QStringLiteral("Checked"), box);
        check->setObjectName(QStringLiteral("check") + n);
        grid->addWidget(label, r, 0);
        grid->addWidget(edit, r, 1);
        grid->addWidget(combo, r, 2);
        grid->addWidget(check, r, 3);
      }
      layout->addWidget(box);
    }
    auto* buttons = new QHBoxLayout;
    for (const char* name : {"newButton", "saveButton", "printButton", "closeButton"}) {
      auto* button = new QPushButton(QString::fromLatin1(name), this);
      button->setObjectName(QString::fromLatin1(name));
      buttons->addWidget(button);
    }
    layout->addLayout(buttons);
  }
};

// The store in a temporary folder, named for this program, with 100,000
// rows of other procedures.
class Bench {
 public:
  static Bench& get() {
    static Bench b;
    return b;
  }
  const std::string& folder() const { return dir_; }

  WEVOSETTINGS settings() const {
    WEVOSETTINGS s{};
    text::assign(s.WEVOPATH, dir_);
    text::assign(s.PASSWORD, kPassword);
    s.PROMPTONEXIT = 0;
    return s;
  }

 private:
  Bench() {
    char pattern[] = "/tmp/wevo-qt-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    dir_ = pattern;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").filename().string();
    store_ = dir_ + "/" + program + ".wevo";
    store::WindowControls r{};
    kf::File f(store::winDecl(), &r);
    f.setName(store_);
    f.setOwner(kPassword);
    if (!f.create() || !f.open() || !f.stream()) fail("create");
    testing::appendOtherRows(f, r, uid_);
    if (!f.flush() || !f.build() || !f.close()) fail("build");
    // The form's original rows, then an override of each that changes its
    // text colour and tip but not its place.
    WEVOSETTINGS s = settings();
    {
      BigForm form;
      QtAttachment::current()->customise(&form, kProcedure, kMarker, s);
    }
    if (!f.open() || !f.stream()) fail("reopen");
    std::vector<store::WindowControls> originals;
    f.setPhysical();
    while (f.next()) {
      if (r.UID > uid_) uid_ = r.UID;  // (a packed field: no reference to it)
      if (text::clipped(r.UNIQUEMARKER) == store::kOriginalMarker && text::clipped(r.PROCEDURENAME) == kProcedure)
        originals.push_back(r);
    }
    for (store::WindowControls o : originals) {
      o.UID = ++uid_;
      text::assign(o.UNIQUEMARKER, kMarker);
      o.TEXTCOLOR = 0x800000;
      text::assign(o.TIP, "Bench tip");
      r = o;
      if (!f.append()) fail("append override");
    }
    if (!f.flush() || !f.build() || !f.close()) fail("close");
    std::fprintf(stderr, "the store: 100,000 other rows, %zu original and %zu override rows of the form\n",
                 originals.size(), originals.size());
  }
  ~Bench() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string dir_, store_;
  uint32_t uid_ = 0;
};

void BM_QtCreateAndShow(benchmark::State& state) {
  for (auto _ : state) {
    BigForm form;
    form.show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_QtCreateAndShow)->Unit(benchmark::kMillisecond);

void BM_QtCustomise(benchmark::State& state) {
  WEVOSETTINGS settings = Bench::get().settings();
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<BigForm>();
    state.ResumeTiming();
    QtAttachment::current()->customise(form.get(), kProcedure, kMarker, settings);
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_QtCustomise)->Unit(benchmark::kMillisecond);

void BM_QtCustomiseAndShow(benchmark::State& state) {
  WEVOSETTINGS settings = Bench::get().settings();
  for (auto _ : state) {
    BigForm form;
    QtAttachment::current()->customise(&form, kProcedure, kMarker, settings);
    form.show();
    QApplication::processEvents();
  }
}
BENCHMARK(BM_QtCustomiseAndShow)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace wevo

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  wevo::QtAttachment attachment;
  wevo::Bench::get();  // the store, before anything is timed
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
