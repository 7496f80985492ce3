#include "design/snapping.h"

#include <algorithm>
#include <cstdlib>

#include "design/pixel_rect.h"
#include "wevo/codes.h"
#include "wevo/props.h"

namespace wevo::design {
namespace {

void sortUnique(std::vector<int>& v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

// The line of sorted `lines` nearest to `value`.
const int* nearest(const std::vector<int>& lines, int value) {
  auto at = std::lower_bound(lines.begin(), lines.end(), value);
  const int* best = nullptr;
  if (at != lines.end()) best = &*at;
  if (at != lines.begin() && (best == nullptr || value - *(at - 1) <= *best - value)) best = &*(at - 1);
  return best;
}

}  // namespace

SnapLines CollectSnapLines(const Window& host, int32_t first, int32_t last, const std::vector<int32_t>& moving,
                           const DesignOptions& options) {
  SnapLines out;
  const int width = host.get(0, PROP::Width).i32();
  const int height = host.get(0, PROP::Height).i32();
  out.xs = {0, options.margin, width - options.margin, width};
  out.ys = {0, options.margin, height - options.margin, height};
  for (int32_t f = std::max<int32_t>(first, 1); f <= last; ++f) {
    if (!Showing(host, f) || std::find(moving.begin(), moving.end(), f) != moving.end()) continue;
    const PixelRect r = RectOf(host, f);
    out.xs.insert(out.xs.end(), {r.x, r.x + r.w / 2, r.right()});
    out.ys.insert(out.ys.end(), {r.y, r.y + r.h / 2, r.bottom()});
  }
  sortUnique(out.xs);
  sortUnique(out.ys);
  return out;
}

AxisSnap SnapAxis(const std::vector<int>& lines, std::initializer_list<int> values, int distance) {
  AxisSnap best;
  int bestDistance = distance + 1;
  for (int v : values) {
    const int* line = nearest(lines, v);
    if (line == nullptr || std::abs(*line - v) >= bestDistance) continue;
    bestDistance = std::abs(*line - v);
    best = {true, *line - v, *line};
  }
  return best;
}

void Guides::show(const DesignWindows& w, const AxisSnap& x, const AxisSnap& y) {
  const int width = w.host.get(0, PROP::Width).i32();
  const int height = w.host.get(0, PROP::Height).i32();
  place(w, marks_.verticalGuide(), x.held, x.line, 0, 1, height);
  place(w, marks_.horizontalGuide(), y.held, 0, y.line, width, 1);
}

void Guides::remove(const DesignWindows& w) {
  w.host.destroy(marks_.verticalGuide());
  w.host.destroy(marks_.horizontalGuide());
}

void Guides::place(const DesignWindows& w, int32_t field, bool held, int x, int y, int width, int height) {
  if (!held) {
    if (w.host.exists(field) && w.host.get(field, PROP::Hide).num() == 0) w.host.set(field, PROP::Hide, 1);
    return;
  }
  if (!w.host.exists(field)) {
    if (w.host.create(field, TYPE::Region) == 0) return;
    w.host.set(field, PROP::Fill, kColor);
    w.host.set(field, PROP::Background, COLOR::None);
  }
  PlaceAt(w.host, field, {x, y, width, height});
  if (w.host.get(field, PROP::Hide).num() != 0) w.host.set(field, PROP::Hide, 0);
}

}  // namespace wevo::design
