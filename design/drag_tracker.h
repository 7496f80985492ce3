// A drag that moves several selected controls together, or snaps: each
// mouse move places the dragged controls where the mouse has taken them
// since the press (so that a snap never builds up), moved or sized as the
// press decided (inside the selection: every selected control moves; on a
// grab handle: the primary is sized from it), then snapped, and the handles
// follow. Nothing is stored or read from the store while dragging; the
// release stores the result. A drag of one control without snapping goes
// through TrackMove (move_resize.h) instead, step by step as ever.
#ifndef WEVO_DESIGN_DRAG_TRACKER_H_
#define WEVO_DESIGN_DRAG_TRACKER_H_

#include <cstdint>
#include <optional>
#include <vector>

#include "design/design_windows.h"
#include "design/mark_fields.h"
#include "design/morph_state.h"
#include "design/multi_selection.h"
#include "design/pixel_rect.h"
#include "design/snapping.h"

namespace wevo::design {

class DragTracker {
 public:
  explicit DragTracker(MarkFields marks) : guides_(marks) {}

  // Follows the drag the press just began (MOUSEISDOWN 1, OVERGRABHANDLE and
  // CLICKINGONCONTROL set, OLDX/OLDY at the press). `dragged`: what moves,
  // the primary first (only the primary when sizing). `lines`: where edges
  // snap, within `snapDistance` pixels; none: no snapping.
  void start(const MorphState& s, const DesignWindows& w, std::vector<int32_t> dragged,
             std::optional<SnapLines> lines, int snapDistance);
  bool active() const { return active_; }
  // Whether any step changed a place since the press.
  bool moved() const { return moved_; }

  // One mouse move to (mouseX, mouseY) of the overlay; `snapOff` (Alt held)
  // leaves this step unsnapped. OLDX/OLDY and NEWX/NEWY follow the mouse as
  // TrackMove keeps them.
  void step(MorphState& s, const DesignWindows& w, MultiSelection& selection, int mouseX, int mouseY, bool snapOff);

  // The drag is over: the guides go.
  void stop(const DesignWindows& w);

 private:
  PixelRect sized(int dx, int dy) const;

  Guides guides_;
  bool active_ = false;
  bool moved_ = false;
  int handle_ = 0;
  int pressX_ = 0, pressY_ = 0;
  std::vector<int32_t> dragged_;
  std::vector<PixelRect> from_;  // the dragged controls' places at the press
  std::optional<SnapLines> lines_;
  int snapDistance_ = 0;
};

}  // namespace wevo::design

#endif  // WEVO_DESIGN_DRAG_TRACKER_H_
