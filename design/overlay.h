// The overlay MORPHWINDOW: a hidden window that holds the mouse capture
// while design mode runs, so that every mouse message of the program reaches
// it. Its replaced window procedures turn presses, moves and releases into
// accepted events on three pseudo-controls, and it alerts the keys design
// mode reacts to.
#ifndef WEVO_DESIGN_OVERLAY_H_
#define WEVO_DESIGN_OVERLAY_H_

#include <cstdint>

#include "wevo/window.h"
#include "wevo/window_decl.h"

namespace wevo::design {

// The pseudo-controls: events only, never shown.
inline constexpr int kDownField = 1020;       // ?DOWN: a left press
inline constexpr int kMouseMoveField = 1030;  // ?MOUSEMOVE: a mouse move
inline constexpr int kUpField = 1050;         // ?UP: a left release

// The overlay as data: hidden, alerting the right button, the left double
// click, Esc, the four arrows, F8, F9 and F10, and the keys of design mode's
// keyboard commands (design_keys.h).
WindowDecl MorphWindowDecl();

// Design mode for the process. Capture and the overlay's replaced procedures
// are process-wide, so one window at a time may be in design mode: a claim
// is held for the whole run and refused while another is held.
class DesignClaim {
 public:
  DesignClaim();   // tries to claim
  ~DesignClaim();  // gives the claim back (if held) and forgets saved procedures
  DesignClaim(const DesignClaim&) = delete;
  DesignClaim& operator=(const DesignClaim&) = delete;

  bool held() const { return held_; }

  // Saves the open overlay's frame and client-area procedures and installs
  // design mode's own, which post EVENT::Accepted for ?MOUSEMOVE on a mouse
  // move, ?DOWN on a left press and ?UP on a left release (making the
  // overlay the target window), and then always pass the message on to the
  // saved procedure. Key presses get no handling of their own. Only with the
  // claim held.
  void install(Window& overlay);

 private:
  bool held_ = false;
};

}  // namespace wevo::design

#endif  // WEVO_DESIGN_OVERLAY_H_
