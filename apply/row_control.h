// Which live control a stored row belongs to. Rows name their control by
// label; the field number they keep (FEQ) is only where the control was when
// the row was last matched, and a redesigned window may have renumbered it.
#ifndef WEVO_APPLY_ROW_CONTROL_H_
#define WEVO_APPLY_ROW_CONTROL_H_

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::apply {

inline constexpr int kNoControl = -1;

// The field of the control `row` names:
//   0 for the window's own row (label "WINDOW" in any case, FEQ 0);
//   FEQ when the control with that number has the row's label;
//   otherwise the first of the fields 1 ... lastField() whose control has
//   the row's label;
//   kNoControl when no control has it (or the label is blank).
// Labels compare letter for letter, trailing blanks ignored.
int ControlOfRow(const Window& window, const store::WindowControls& row);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_ROW_CONTROL_H_
