// The window model's cost on the two paths that matter most: a design-mode
// drag step and customising a large window.
//
//   cmake --build build --target toolkit_bench && build/bench/toolkit_bench
#include <benchmark/benchmark.h>

#include <string>

#include "platform/toolkit/window_model.h"
#include "platform/view/headless/headless_view.h"
#include "wevo/props.h"

namespace wevo::toolkit {
namespace {

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

// A mouse move of a drag: the selected control moves (two reads, two
// writes), then the eight grab handles are destroyed and made again.
void BM_DesignDragStep(benchmark::State& state) {
  HeadlessView view;
  WindowModel m(nullptr, manyControls(40));
  m.build(&view, 0, 0);
  m.set(0, PROP::Pixels, -1, Value(1));
  const int selected = 5;
  for (int h = 0; h < 8; ++h) m.create(10001 + h, TYPE::Region, 0);
  ViewUpdate update;
  bool flush = state.range(0) != 0;
  int step = 0;
  for (auto _ : state) {
    int dx = (step++ & 1) != 0 ? 1 : -1;
    m.set(selected, PROP::XPos, -1, Value(m.get(selected, PROP::XPos).num() + dx));
    m.set(selected, PROP::YPos, -1, Value(m.get(selected, PROP::YPos).num() + dx));
    for (int h = 0; h < 8; ++h) m.destroy(10001 + h);
    for (int h = 0; h < 8; ++h) {
      int f = m.create(10001 + h, TYPE::Region, 0);
      m.set(f, PROP::Fill, -1, Value(255));
      m.set(f, PROP::Background, -1, Value(0));
      m.set(f, PROP::RegionKeep, -1, Value(1));
      m.set(f, PROP::Width, -1, Value(6));
      m.set(f, PROP::Height, -1, Value(6));
      m.set(f, PROP::XPos, -1, Value(100 + h * 7));
      m.set(f, PROP::YPos, -1, Value(50 + h));
      m.set(f, PROP::Hide, -1, Value(0));
    }
    if (flush) {
      m.takeUpdate(update);
      benchmark::DoNotOptimize(update);
    }
  }
}
BENCHMARK(BM_DesignDragStep)->Arg(0)->Arg(1)->ArgNames({"withViewUpdate"});

// Customising a window of 200 controls: about 60 property reads and writes
// per control (capture reads, then an apply writes), in dialog units.
void BM_CustomiseWindow200(benchmark::State& state) {
  HeadlessView view;
  WindowModel m(nullptr, manyControls(200));
  m.build(&view, 0, 0);
  const int32_t reads[] = {PROP::Type,      PROP::Text,     PROP::Flat,      PROP::Left,    PROP::Right,
                           PROP::Center,    PROP::Decimal,  PROP::Layout,    PROP::Hide,    PROP::Disable,
                           PROP::Skip,      PROP::Scroll,   PROP::Trn,       PROP::Upr,     PROP::Cap,
                           PROP::Ins,       PROP::Ovr,      PROP::Req,       PROP::ReadOnly, PROP::Password,
                           PROP::FontColor, PROP::Background, PROP::XPos,    PROP::YPos,    PROP::Width,
                           PROP::NoWidth,   PROP::Height,   PROP::NoHeight,  PROP::Tip,     PROP::Msg};
  const int32_t writes[] = {PROP::Flat,      PROP::Hide,     PROP::Disable,   PROP::Skip,     PROP::Trn,
                            PROP::Req,       PROP::ReadOnly, PROP::FontColor, PROP::Background, PROP::SelectedColor,
                            PROP::SelectedFill, PROP::XPos,  PROP::YPos,      PROP::Width,    PROP::Height,
                            PROP::FontSize,  PROP::FontStyle, PROP::FontCharset, PROP::VScroll, PROP::Boxed,
                            PROP::Tip,       PROP::Hlp,      PROP::Msg,       PROP::HScroll,  PROP::Scroll,
                            PROP::Left,      PROP::Right,    PROP::Center,    PROP::Decimal,  PROP::FontName};
  ViewUpdate update;
  for (auto _ : state) {
    int64_t sum = 0;
    for (int f = 1; f <= 200; ++f) {
      for (int32_t p : reads) sum += m.get(f, p, -1).num();
      for (int32_t p : writes) {
        if (p == PROP::Tip || p == PROP::Hlp || p == PROP::Msg || p == PROP::FontName)
          m.set(f, p, -1, Value(""));
        else
          m.set(f, p, -1, Value(p == PROP::XPos || p == PROP::YPos || p == PROP::Width || p == PROP::Height ? 12 : 0));
      }
    }
    m.takeUpdate(update);
    benchmark::DoNotOptimize(sum);
    benchmark::DoNotOptimize(update);
  }
  state.SetItemsProcessed(state.iterations() * 200 * 60);
}
BENCHMARK(BM_CustomiseWindow200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wevo::toolkit

BENCHMARK_MAIN();
