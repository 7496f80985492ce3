// The popup menu of design mode, opened by the right button at the mouse
// after the button selected and stored the control under it:
//
//   Edit <label> | Show Processed Fields | Full Field List/Tab Order |
//   Reset <label> to original | Quit Editing Mode
//
// <label> is the selected control's label as the controls queue lists it
// ("WINDOW" for the window itself). Edit runs the property form for it and,
// when the form saved, shows the saved row on the control at once; Show
// Processed Fields runs the browse of the window's stored rows; Full Field
// List/Tab Order runs the control list; Reset puts the control's row back to
// its original row and shows it; Quit ends design mode. While the menu and
// what it opens run, the mouse capture is released and the host window is in
// dialog units; afterwards (and when the user chose nothing) design mode
// takes the input back: the host in pixels, the capture and the focus on the
// overlay, the overlay hidden.
//
// With several controls selected, Reset acts on each of them, and below a
// separator an "Align" submenu lines them up with the selected control the
// menu names (align.h). Every command that changes controls is one step of
// design mode's undo history.
#ifndef WEVO_DESIGN_DESIGN_POPUP_H_
#define WEVO_DESIGN_DESIGN_POPUP_H_

#include <string>
#include <string_view>

namespace wevo::design {

class DesignSession;

// The menu's text for a control listed under `label`.
std::string DesignMenuText(std::string_view label);

// Runs the popup menu for the selected control (session.state().CONTROLNO)
// and the command chosen. Returns true when the user chose to quit design
// mode; the caller then ends it (the input is not taken back).
bool runDesignPopup(DesignSession& session);

// The menu's Edit without the menu (the keyboard's Enter): the property
// form for the selected control, the saved row shown on it, and the input
// taken back.
void EditSelection(DesignSession& session);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_DESIGN_POPUP_H_
