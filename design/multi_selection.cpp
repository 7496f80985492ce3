#include "design/multi_selection.h"

#include <algorithm>
#include <cstdlib>

#include "design/grab_handles.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"

namespace wevo::design {
namespace {

constexpr int32_t kBandColor = 0x808080;  // grey

}  // namespace

std::vector<int32_t> MultiSelection::all(const MorphState& s) const {
  std::vector<int32_t> out{s.CONTROLNO};
  out.insert(out.end(), others_.begin(), others_.end());
  return out;
}

bool MultiSelection::contains(const MorphState& s, int32_t field) const {
  return field == s.CONTROLNO || std::find(others_.begin(), others_.end(), field) != others_.end();
}

bool MultiSelection::toggle(MorphState& s, int32_t field) {
  if (field == 0) return false;
  if (s.CONTROLNO == 0) {
    s.CONTROLNO = field;
    return true;
  }
  if (field == s.CONTROLNO) {
    if (others_.empty()) {
      s.CONTROLNO = 0;
    } else {
      s.CONTROLNO = others_.front();
      others_.erase(others_.begin());
    }
    return false;
  }
  auto it = std::find(others_.begin(), others_.end(), field);
  if (it != others_.end()) {
    others_.erase(it);
    return false;
  }
  others_.push_back(field);
  return true;
}

void MultiSelection::makePrimary(MorphState& s, int32_t field) {
  auto it = std::find(others_.begin(), others_.end(), field);
  if (it == others_.end()) return;
  *it = s.CONTROLNO;
  s.CONTROLNO = field;
}

void MultiSelection::selectOnly(MorphState& s, const std::vector<int32_t>& fields) {
  if (fields.empty()) return;
  s.CONTROLNO = fields.front();
  others_.assign(fields.begin() + 1, fields.end());
}

void MultiSelection::showMarks(const MorphState& s, const DesignWindows& w) {
  if (others_.empty() && marked_ == 0) return;
  setTarget(&w.host);
  MorphState at = s;  // the handles' places, worked out as the primary's are
  for (size_t i = 0; i < others_.size(); ++i) {
    const PixelRect r = RectOf(w.host, others_[i]);
    SetHandlePositions(at, r.x, r.y, r.w, r.h);
    for (int n = 1; n <= kHandleCount; ++n) {
      const int32_t f = marks_.otherHandle(i, n);
      if (i < marked_ && w.host.exists(f)) {
        PlaceAt(w.host, f, {HandleX(at, n), HandleY(at, n), s.HSIZE, s.HSIZE});
        continue;
      }
      if (w.host.create(f, TYPE::Region) == 0) continue;
      w.host.set(f, PROP::Fill, COLOR::White);
      w.host.set(f, PROP::Background, s.HBORDERCOLOR);
      w.host.set(f, PROP::RegionKeep, 1);
      w.host.setPosition(f, HandleX(at, n), HandleY(at, n), s.HSIZE, s.HSIZE);
    }
  }
  for (size_t i = others_.size(); i < marked_; ++i)
    for (int n = 1; n <= kHandleCount; ++n) w.host.destroy(marks_.otherHandle(i, n));
  marked_ = others_.size();
  setTarget(&w.overlay);
}

void RubberBand::start(const DesignWindows& w, int x, int y) {
  active_ = true;
  fromX_ = toX_ = x;
  fromY_ = toY_ = y;
  const int32_t f = w.host.create(marks_.band(), TYPE::Region);
  if (f == 0) return;
  w.host.set(f, PROP::Fill, COLOR::None);
  w.host.set(f, PROP::Background, kBandColor);
  const PixelRect r = rect();
  w.host.setPosition(f, r.x, r.y, r.w, r.h);
}

void RubberBand::drawTo(const DesignWindows& w, int x, int y) {
  if (!active_) return;
  toX_ = x;
  toY_ = y;
  if (w.host.exists(marks_.band())) PlaceAt(w.host, marks_.band(), rect());
}

PixelRect RubberBand::finish(const DesignWindows& w) {
  active_ = false;
  w.host.destroy(marks_.band());
  return rect();
}

PixelRect RubberBand::rect() const {
  return {std::min(fromX_, toX_), std::min(fromY_, toY_), std::abs(toX_ - fromX_), std::abs(toY_ - fromY_)};
}

std::vector<int32_t> ControlsInside(const Window& host, int32_t first, int32_t last, const PixelRect& r) {
  std::vector<int32_t> out;
  for (int32_t f = std::max<int32_t>(first, 1); f <= last; ++f) {
    if (!Showing(host, f)) continue;
    const PixelRect c = RectOf(host, f);
    if (c.x >= r.x && c.y >= r.y && c.right() <= r.right() && c.bottom() <= r.bottom()) out.push_back(f);
  }
  return out;
}

}  // namespace wevo::design
