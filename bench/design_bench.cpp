// A design-mode drag step through the design code: a mouse move resizes the
// selected control from its top-left handle (four property reads and
// writes) and the eight grab handles are made again around it. Measured
// twice: the step alone, and from a mouse message through the overlay's
// replaced procedure and event loop. Either way no store row is read.
//
//   cmake --build build --target design_bench && build/bench/design_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "design/grab_handles.h"
#include "design/morph_state.h"
#include "design/move_resize.h"
#include "design/overlay.h"
#include "platform/keyedfile/read_counter.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/toolkit.h"

namespace wevo::design {
namespace {

WindowDecl hostWindow(int controls) {
  WindowDecl d;
  d.caption = "Host";
  d.at = {kDefault, kDefault, 600, 400};
  for (int i = 0; i < controls; ++i) {
    ControlDecl c;
    const int kind = i % 4;
    c.type = kind == 0 ? TYPE::Prompt : kind == 1 ? TYPE::Entry : kind == 2 ? TYPE::Button : TYPE::Check;
    c.use = "?CONTROL" + std::to_string(i);
    c.text = kind == 1 ? "s20" : "Control " + std::to_string(i);
    c.at = {(i % 10) * 55, (i / 10) * 18, kind == 0 ? kDefault : 50, kDefault};
    d.controls.push_back(c);
  }
  return d;
}

// A host window of 40 controls in design mode with control 5 selected and
// pressed on its first handle, as a drag from that handle starts.
class Dragging {
 public:
  Dragging() : host_(hostWindow(40)), overlay_(MorphWindowDecl()), windows_{host_, overlay_} {
    host_.open();
    host_.set(0, PROP::Pixels, 1);
    host_.setPosition(kSelected, 100, 50, 60, 30);
    state_ = StartingState(kSelected, host_.firstField(), host_.lastField());
    PlaceHandles(state_, windows_);
    overlay_.open();
    overlay_.set(0, PROP::Hide, 1);
    overlay_.set(0, PROP::Pixels, 1);
    setCapture(overlay_.handle());
    claim_.install(overlay_);
    state_.MOUSEISDOWN = 1;
    state_.OVERGRABHANDLE = 1;
    // Whatever opening queued for the overlay is handled first.
    overlay_.post(EVENT::User);
    while (overlay_.accept() && event() != EVENT::User) {
    }
  }
  ~Dragging() { releaseCapture(); }

  // The step to the next point: one pixel out and back, both ways.
  void step(int& x, int& y) {
    const int d = (n_++ & 1) != 0 ? -1 : 1;
    x = state_.OLDX + d;
    y = state_.OLDY + d;
  }
  // Each step out and back leaves the width as it was; an odd step left it
  // a pixel narrower.
  bool resized(benchmark::State& state) const {
    return host_.get(kSelected, PROP::Width).num() == 60 - static_cast<int64_t>(state.iterations() % 2);
  }
  // What the host window sends the view after the step (keeps the pending
  // changes from piling up, as the loop's flush does).
  void flush() {
    toolkit::modelOf(host_).takeUpdate(update_);
    benchmark::DoNotOptimize(update_);
  }

  static constexpr int kSelected = 5;
  Window host_;
  Window overlay_;
  DesignWindows windows_;
  DesignClaim claim_;
  MorphState state_;
  toolkit::ViewUpdate update_;
  int n_ = 0;
};

void checkNoRowsRead(benchmark::State& state, uint64_t before) {
  const uint64_t read = kf::rowsRead() - before;
  state.counters["rowsRead"] = static_cast<double>(read);
  if (read != 0) state.SkipWithError("a drag read the store");
}

void BM_DragStep(benchmark::State& state) {
  Dragging d;
  const uint64_t before = kf::rowsRead();
  for (auto _ : state) {
    int x, y;
    d.step(x, y);
    TrackMove(d.state_, d.windows_, x, y);
    d.flush();
  }
  if (!d.resized(state)) state.SkipWithError("the drag did not resize");
  checkNoRowsRead(state, before);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

void BM_DragStepFromMouseMessage(benchmark::State& state) {
  Dragging d;
  const int sx = d.overlay_.get(0, PROP::XPos).i32(), sy = d.overlay_.get(0, PROP::YPos).i32();
  const uint64_t before = kf::rowsRead();
  for (auto _ : state) {
    int x, y;
    d.step(x, y);
    toolkit::InputMessage m;
    m.kind = toolkit::InputMessage::MouseMove;
    m.window = d.host_.handle();
    m.x = sx + x;
    m.y = sy + y;
    if (!toolkit::Program::current()->postInput(m) || !d.overlay_.accept() || field() != kMouseMoveField) {
      state.SkipWithError("the move did not reach the overlay");
      break;
    }
    TrackMove(d.state_, d.windows_, mouseX(), mouseY());
    d.flush();
  }
  if (!d.resized(state)) state.SkipWithError("the drag did not resize");
  checkNoRowsRead(state, before);
}
BENCHMARK(BM_DragStepFromMouseMessage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace wevo::design

// The benchmarks run on a host thread of a headless program, as design mode does.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  wevo::RunOptions options;
  options.stallSeconds = 24 * 3600;
  wevo::ProgramResult r = wevo::run([] { benchmark::RunSpecifiedBenchmarks(); }, options);
  benchmark::Shutdown();
  if (r.failed || r.halted) {
    std::fprintf(stderr, "%s", wevo::describe(r).c_str());
    return 1;
  }
  return 0;
}
