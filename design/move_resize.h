// Dragging the selection: each mouse move while the button is down moves the
// selected control (or the window itself) or resizes it from a grab handle,
// on the live window at once, in pixels. Nothing is stored while dragging;
// the release stores the result.
#ifndef WEVO_DESIGN_MOVE_RESIZE_H_
#define WEVO_DESIGN_MOVE_RESIZE_H_

#include "design/design_windows.h"
#include "design/morph_state.h"

namespace wevo::design {

// Moves the selection by (dx, dy): X then Y are written, the handles are made
// again around it and the host window is repainted. Only handle 0 moves;
// any other handle does nothing.
void MoveSelection(MorphState& s, const DesignWindows& w, int handle, int dx, int dy);

// Resizes the selection from handle 1 to 8 so that the edges under the handle
// follow the mouse and the opposite edges stay; each property is read and
// written back in this order:
//   1 height - dy, Y + dy, X + dx, width - dx     5 width + dx, height + dy
//   2 height - dy, Y + dy                         6 height + dy
//   3 height - dy, Y + dy, width + dx             7 X + dx, width - dx, height + dy
//   4 width + dx                                  8 X + dx, width - dx
// Values are written as computed (no minimum, no clamping). The handles are
// then made again; the host window is not repainted.
void ResizeSelection(MorphState& s, const DesignWindows& w, int handle, int dx, int dy);

// One mouse move at (mouseX, mouseY) of the overlay: the step since the last
// mouse event (NEWX/NEWY, then OLDX/OLDY take the new point). With no button
// down the cursor follows the handle under the mouse; with the button down a
// step that moved resizes from OVERGRABHANDLE, or moves when the press fell
// inside the selection, or does nothing.
void TrackMove(MorphState& s, const DesignWindows& w, int mouseX, int mouseY);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_MOVE_RESIZE_H_
