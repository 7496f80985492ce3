// The seam where the right button's popup menu plugs into design mode.
#ifndef WEVO_DESIGN_DESIGN_POPUP_H_
#define WEVO_DESIGN_DESIGN_POPUP_H_

namespace wevo::design {

class DesignSession;

// Runs the popup menu for the selected control (session.state().CONTROLNO)
// after the right button selected and stored it, and gives the input back to
// the overlay afterwards. Returns true when the user chose to quit design
// mode. The menu is not built yet: this shows nothing and returns false.
bool runDesignPopup(DesignSession& session);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_DESIGN_POPUP_H_
