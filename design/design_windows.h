// The two windows design mode works on and how their coordinates relate.
//
// Both measure in pixels while design mode runs. The mouse is read relative
// to the overlay, which holds the capture; controls sit in the host window's
// client pixels; a window's own X and Y are the screen position of its
// client area.
#ifndef WEVO_DESIGN_DESIGN_WINDOWS_H_
#define WEVO_DESIGN_DESIGN_WINDOWS_H_

#include "wevo/props.h"
#include "wevo/window.h"

namespace wevo::design {

struct DesignWindows {
  Window& host;     // the window being designed
  Window& overlay;  // the hidden window that holds the mouse capture
};

// How far the overlay's client area lies right of (below) the host's: add it
// to a point in overlay pixels to get host client pixels.
inline int OverlayToHostX(const DesignWindows& w) {
  return w.overlay.get(0, PROP::XPos).i32() - w.host.get(0, PROP::XPos).i32();
}
inline int OverlayToHostY(const DesignWindows& w) {
  return w.overlay.get(0, PROP::YPos).i32() - w.host.get(0, PROP::YPos).i32();
}

}  // namespace wevo::design

#endif  // WEVO_DESIGN_DESIGN_WINDOWS_H_
