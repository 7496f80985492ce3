#include "design/drag_tracker.h"

#include "design/grab_handles.h"

namespace wevo::design {
namespace {

// Which edges handle n (1 top left, clockwise) drags.
bool dragsLeft(int n) { return n == 1 || n == 7 || n == 8; }
bool dragsRight(int n) { return n == 3 || n == 4 || n == 5; }
bool dragsTop(int n) { return n == 1 || n == 2 || n == 3; }
bool dragsBottom(int n) { return n == 5 || n == 6 || n == 7; }

}  // namespace

void DragTracker::start(const MorphState& s, const DesignWindows& w, std::vector<int32_t> dragged,
                        std::optional<SnapLines> lines, int snapDistance) {
  active_ = true;
  moved_ = false;
  handle_ = s.OVERGRABHANDLE;
  pressX_ = s.OLDX;
  pressY_ = s.OLDY;
  dragged_ = std::move(dragged);
  from_.clear();
  for (int32_t f : dragged_) from_.push_back(RectOf(w.host, f));
  lines_ = std::move(lines);
  snapDistance_ = snapDistance;
}

PixelRect DragTracker::sized(int dx, int dy) const {
  PixelRect r = from_.front();
  if (dragsLeft(handle_)) {
    r.x += dx;
    r.w -= dx;
  }
  if (dragsRight(handle_)) r.w += dx;
  if (dragsTop(handle_)) {
    r.y += dy;
    r.h -= dy;
  }
  if (dragsBottom(handle_)) r.h += dy;
  return r;
}

void DragTracker::step(MorphState& s, const DesignWindows& w, MultiSelection& selection, int mouseX, int mouseY,
                       bool snapOff) {
  s.NEWX = mouseX;
  s.NEWY = mouseY;
  const bool still = s.NEWX == s.OLDX && s.NEWY == s.OLDY;
  s.OLDX = s.NEWX;
  s.OLDY = s.NEWY;
  if (!active_ || still || from_.empty()) return;
  const int dx = mouseX - pressX_, dy = mouseY - pressY_;
  const bool snap = lines_.has_value() && !snapOff;
  AxisSnap sx, sy;
  if (handle_ >= 1 && handle_ <= kHandleCount) {
    PixelRect r = sized(dx, dy);
    if (snap) {
      if (dragsLeft(handle_)) sx = SnapAxis(lines_->xs, {r.x}, snapDistance_);
      if (dragsRight(handle_)) sx = SnapAxis(lines_->xs, {r.right()}, snapDistance_);
      if (dragsTop(handle_)) sy = SnapAxis(lines_->ys, {r.y}, snapDistance_);
      if (dragsBottom(handle_)) sy = SnapAxis(lines_->ys, {r.bottom()}, snapDistance_);
      r = sized(dx + sx.shift, dy + sy.shift);
    }
    PlaceAt(w.host, dragged_.front(), r);
    RemoveHandles(s, w);
    PlaceHandles(s, w);
  } else if (s.CLICKINGONCONTROL == 1) {
    const PixelRect& p = from_.front();
    const PixelRect r{p.x + dx, p.y + dy, p.w, p.h};
    if (snap) {
      sx = SnapAxis(lines_->xs, {r.x, r.x + r.w / 2, r.right()}, snapDistance_);
      sy = SnapAxis(lines_->ys, {r.y, r.y + r.h / 2, r.bottom()}, snapDistance_);
    }
    for (size_t i = 0; i < dragged_.size(); ++i) {
      const PixelRect& f = from_[i];
      PlaceAt(w.host, dragged_[i], {f.x + dx + sx.shift, f.y + dy + sy.shift, f.w, f.h});
    }
    RemoveHandles(s, w);
    PlaceHandles(s, w);
    selection.showMarks(s, w);
    RepaintHost(w.host);
  } else {
    return;
  }
  moved_ = true;
  if (lines_) guides_.show(w, sx, sy);
}

void DragTracker::stop(const DesignWindows& w) {
  if (active_ && lines_) guides_.remove(w);
  active_ = false;
  lines_.reset();
}

}  // namespace wevo::design
