// The property form laid out for the control its record describes: which
// justification choices it offers, which controls show, where some move.
//
//   window (FEQ 0), toolbar: frame type, wallpaper and icon rows instead of
//     justification, offset, the Mode and Options groups, case, entry mode,
//     read-only and password ("Justification:" reads "Frame Type"; a
//     toolbar hides it);
//   entry: "Picture:" over a one-line control text, the rows below moved up;
//   button, prompt, option, check, radio, group, list, combo, spin, text and
//     drop list: their own rows and groups;
//   any other type (a primed record has type 0): the form as declared.
#ifndef WEVO_EDITOR_FORM_LAYOUT_H_
#define WEVO_EDITOR_FORM_LAYOUT_H_

#include <string>

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::editor {

// The first `count` choices of the justification choices (all five for a
// count outside 1 to 4).
std::string JustificationChoices(int count);

// Lays out the open property form `form` (form_decl.h, as opened) for
// `record`: a record with FEQ 0 is the window's, any other is laid out by its
// TYPE. Sets the Justification list's choices, hides, shows and moves
// controls. The font tab is not touched.
void LayOutForRecord(Window& form, const store::WindowControls& record);

}  // namespace wevo::editor

#endif  // WEVO_EDITOR_FORM_LAYOUT_H_
