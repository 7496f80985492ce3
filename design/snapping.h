// Snapping while the mouse drags or sizes a control: the lines a moving
// edge or centre line snaps to, the snap itself, and the thin guide lines
// that show it while it holds.
#ifndef WEVO_DESIGN_SNAPPING_H_
#define WEVO_DESIGN_SNAPPING_H_

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "design/design_windows.h"
#include "design/mark_fields.h"
#include "wevo/design_options.h"

namespace wevo::design {

// Vertical lines (x) and horizontal lines (y) in host client pixels, each
// sorted, without repeats.
struct SnapLines {
  std::vector<int> xs, ys;
};

// The lines of the visible controls numbered first to last, except those in
// `moving`: their left edges, centres and right edges (x), their tops,
// middles and bottoms (y); and the window's own: its client area's edges and
// the margin lines `options.margin` inside them. Read once, when a drag
// starts: dragging reads nothing more.
SnapLines CollectSnapLines(const Window& host, int32_t first, int32_t last, const std::vector<int32_t>& moving,
                           const DesignOptions& options);

struct AxisSnap {
  bool held = false;
  int shift = 0;  // how far the values move to lie on the line
  int line = 0;
};

// The line nearest to any of `values` within `distance` pixels (the first
// value wins a tie); not held when none is that near.
AxisSnap SnapAxis(const std::vector<int>& lines, std::initializer_list<int> values, int distance);

// The two guide lines: a vertical one through the client area's height at
// the line x snapped to, a horizontal one through its width at the line y.
class Guides {
 public:
  explicit Guides(MarkFields marks) : marks_(marks) {}
  // Shows each guide whose axis is held, at its line; hides the other.
  void show(const DesignWindows& w, const AxisSnap& x, const AxisSnap& y);
  void remove(const DesignWindows& w);

  static constexpr int32_t kColor = 0xFF00FF;  // magenta

 private:
  void place(const DesignWindows& w, int32_t field, bool held, int x, int y, int width, int height);

  MarkFields marks_;
};

}  // namespace wevo::design

#endif  // WEVO_DESIGN_SNAPPING_H_
