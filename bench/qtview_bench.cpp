// Opening and showing a window of many controls through the Qt view, beside
// making and showing the same kinds of Qt widgets directly. Both are timed
// from nothing to a shown window painted once; the view's figure includes
// building the window model, its snapshots, handing them to the Qt thread
// and making the widgets there.
//
//   cmake --build build --target qtview_bench && build/bench/qtview_bench
// (runs offscreen unless QT_QPA_PLATFORM says otherwise)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/host_thread.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/top_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using Clock = std::chrono::steady_clock;

// Prompts, entries, buttons and check boxes in a grid, in dialog units.
WindowDecl manyControls(int n) {
  WindowDecl d;
  d.caption = "Big";
  d.at = {kDefault, kDefault, 600, 400};
  for (int i = 0; i < n; ++i) {
    ControlDecl c;
    int kind = i % 4;
    c.type = kind == 0 ? TYPE::Prompt : kind == 1 ? TYPE::Entry : kind == 2 ? TYPE::Button : TYPE::Check;
    c.use = "?CONTROL" + std::to_string(i);
    c.text = kind == 1 ? "s20" : "Control " + std::to_string(i);
    c.at = {(i % 10) * 55, (i / 10) * 18, kind == 0 ? kDefault : 50, kDefault};
    d.controls.push_back(c);
  }
  return d;
}

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }

void BM_OpenAndShowThroughTheQtView(benchmark::State& state) {
  WindowDecl decl = manyControls(static_cast<int>(state.range(0)));
  RunOptions options;
  options.view = qtView();
  ProgramResult r = run(
      [&] {
        qtview::QtView* view = qtview::QtView::running();
        qsizetype shown = 0;
        for (auto _ : state) {
          Clock::time_point start = Clock::now();
          Window w(decl);
          w.open();
          toolkit::flushThread(*toolkit::thisThread());
          view->onQtThread([&] {
            qtview::TopWindow* top = view->window(w.handle());
            top->repaint();
            shown = top->client()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size();
          });
          state.SetIterationTime(seconds(start));
          w.close();
          view->onQtThread([] {});  // the close is through before the next window
        }
        state.counters["widgets"] = static_cast<double>(shown);
      },
      options);
  if (r.failed) state.SkipWithError(r.failure.c_str());
}
BENCHMARK(BM_OpenAndShowThroughTheQtView)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OpenAndShowQtWidgetsDirectly(benchmark::State& state) {
  WindowDecl decl = manyControls(static_cast<int>(state.range(0)));
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  QFontMetrics fm(font);
  double dx = fm.averageCharWidth() / 4.0, dy = fm.height() / 8.0;
  auto px = [](double v) { return static_cast<int>(std::floor(v + 0.5)); };
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    auto top = std::make_unique<QWidget>();
    top->setWindowTitle(QString::fromStdString(decl.caption));
    top->setFont(font);
    top->resize(px(decl.at.w * dx), px(decl.at.h * dy));
    for (const ControlDecl& c : decl.controls) {
      QString text = QString::fromStdString(c.text);
      QWidget* w = nullptr;
      switch (c.type) {
        case TYPE::Prompt: w = new QLabel(text, top.get()); break;
        case TYPE::Entry: w = new QLineEdit(top.get()); break;
        case TYPE::Button: w = new QPushButton(text, top.get()); break;
        default: w = new QCheckBox(text, top.get()); break;
      }
      QSize natural = w->sizeHint();
      w->setGeometry(px(c.at.x * dx), px(c.at.y * dy), c.at.w == kDefault ? natural.width() : px(c.at.w * dx),
                     natural.height());
    }
    top->move(60, 40);
    top->show();
    top->repaint();
    state.SetIterationTime(seconds(start));
    state.counters["widgets"] = static_cast<double>(top->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size());
    top.reset();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_OpenAndShowQtWidgetsDirectly)->Arg(200)->UseManualTime()->Unit(benchmark::kMillisecond);

// One step of a design-mode drag on a window of 200 controls: the selected
// control moves and the eight grab handles are made again; timed until the
// Qt thread has taken the change and drawn it.
void BM_DragStepThroughTheQtView(benchmark::State& state) {
  WindowDecl decl = manyControls(200);
  RunOptions options;
  options.view = qtView();
  run(
      [&] {
        qtview::QtView* view = qtview::QtView::running();
        Window w(decl);
        w.open();
        w.set(0, PROP::Pixels, 1);
        toolkit::flushThread(*toolkit::thisThread());
        view->onQtThread([] { QCoreApplication::processEvents(); });
        const int selected = 5;
        int step = 0;
        for (auto _ : state) {
          Clock::time_point start = Clock::now();
          int d = (step++ & 1) != 0 ? 1 : -1;
          w.set(selected, PROP::XPos, w.get(selected, PROP::XPos).i32() + d);
          w.set(selected, PROP::YPos, w.get(selected, PROP::YPos).i32() + d);
          for (int h = 0; h < 8; ++h) w.destroy(10001 + h);
          for (int h = 0; h < 8; ++h) {
            int f = w.create(10001 + h, TYPE::Region);
            w.set(f, PROP::Fill, 255);
            w.set(f, PROP::Background, 0);
            w.setPosition(f, 100 + h * 7 + d, 50 + h, 6, 6);
          }
          toolkit::flushThread(*toolkit::thisThread());
          view->onQtThread([] { QCoreApplication::processEvents(); });
          state.SetIterationTime(seconds(start));
        }
        w.close();
      },
      options);
}
BENCHMARK(BM_DragStepThroughTheQtView)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wevo

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int qtArgc = 1;
  static char name[] = "qtview_bench";
  static char* qtArgv[] = {name, nullptr};
  // The view uses the application made here, on this (the main) thread.
  static QApplication* app = new QApplication(qtArgc, qtArgv);
  (void)app;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
