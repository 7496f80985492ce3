// A control's (or the window's) place in design mode's pixels, read and
// written as a whole.
#ifndef WEVO_DESIGN_PIXEL_RECT_H_
#define WEVO_DESIGN_PIXEL_RECT_H_

#include <vector>

#include "wevo/window.h"

namespace wevo::design {

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Control `field`'s position and size (for 0 the window's: its client area's
// screen position and its client size), in the host window's current mode.
PixelRect RectOf(const Window& host, int field);

// The same in pixels whatever the host's mode, which it keeps.
PixelRect PixelRectOf(Window& host, int field);

// Gives control `field` the rectangle, writing only what differs from what
// it has, in the order X, Y, width, height (writing a width or height ends
// the control's default or full size that way, and only that way).
void PlaceAt(Window& host, int field, const PixelRect& r);

// Whether control `field` (not the window) shows and has a rectangle to
// select: it exists and is visible.
bool Showing(const Window& host, int field);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_PIXEL_RECT_H_
