// Several controls selected at once. The primary one is MorphState's
// CONTROLNO, marked by the eight red grab handles as ever; the others are
// kept here in the order they were selected and marked by white handles of
// the same size. The window itself is never one of several: it is selected
// alone. Ctrl+click adds or removes a control; a rubber band drawn with
// Shift on the window's background selects the controls lying wholly inside
// it.
#ifndef WEVO_DESIGN_MULTI_SELECTION_H_
#define WEVO_DESIGN_MULTI_SELECTION_H_

#include <cstdint>
#include <vector>

#include "design/design_windows.h"
#include "design/mark_fields.h"
#include "design/morph_state.h"
#include "design/pixel_rect.h"

namespace wevo::design {

class MultiSelection {
 public:
  explicit MultiSelection(MarkFields marks) : marks_(marks) {}

  // The selected controls besides the primary.
  const std::vector<int32_t>& others() const { return others_; }
  bool several() const { return !others_.empty(); }
  // Every selected item, the primary (CONTROLNO, perhaps the window) first.
  std::vector<int32_t> all(const MorphState& s) const;
  bool contains(const MorphState& s, int32_t field) const;

  // Ctrl+click on control `field` (0, the window, does nothing): a control
  // not selected joins the selection (with the window selected, it becomes
  // the only one); a selected one leaves it, the first of the others taking
  // a primary's place, the window that of the last control. True when
  // `field` joined.
  bool toggle(MorphState& s, int32_t field);
  // Makes the selected control `field` the primary; the primary before takes
  // its place among the others.
  void makePrimary(MorphState& s, int32_t field);
  // Selects exactly `fields` (not empty), the first the primary.
  void selectOnly(MorphState& s, const std::vector<int32_t>& fields);
  // Only the primary stays selected.
  void clear() { others_.clear(); }

  // Marks the others with their handles (made or moved) and removes the
  // handles of controls no longer among them.
  void showMarks(const MorphState& s, const DesignWindows& w);

 private:
  MarkFields marks_;
  std::vector<int32_t> others_;
  size_t marked_ = 0;  // others whose handles exist
};

// The rubber band: a thin outline the user draws with Shift on the window's
// background, from the press to the mouse.
class RubberBand {
 public:
  explicit RubberBand(MarkFields marks) : marks_(marks) {}

  bool active() const { return active_; }
  // Starts at a point of the host's client area (pixels).
  void start(const DesignWindows& w, int x, int y);
  // Stretches it to the point.
  void drawTo(const DesignWindows& w, int x, int y);
  // Removes it and gives what it covered.
  PixelRect finish(const DesignWindows& w);

 private:
  PixelRect rect() const;

  MarkFields marks_;
  bool active_ = false;
  int fromX_ = 0, fromY_ = 0, toX_ = 0, toY_ = 0;
};

// The visible controls numbered first to last that lie wholly inside `r`
// (host client pixels), in number order.
std::vector<int32_t> ControlsInside(const Window& host, int32_t first, int32_t last, const PixelRect& r);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_MULTI_SELECTION_H_
