// The override rows of one window and marker reaching the live window: their
// properties, and the tab order their ORDER gives.
#ifndef WEVO_APPLY_OVERRIDE_ROWS_H_
#define WEVO_APPLY_OVERRIDE_ROWS_H_

#include <string_view>

#include "wevo/window.h"

namespace wevo::apply {

// Applies every row of (procedureName, uniqueMarker), in label order, to the
// control its label names (row_control.h; the window row to the window).
// When that control's number differs from the row's FEQ, the row's FEQ is
// corrected in the store. Rows with a blank label, and rows whose label names
// no control, are skipped and kept as they are.
//
// Preconditions: the store is open on this thread (winFile()) and the window
// is in dialog units. Uses WIN().
void ApplyOverrideRows(Window& window, std::string_view procedureName, std::string_view uniqueMarker);

// Restores the tab order of (procedureName, uniqueMarker): the controls of
// the rows, taken in ORDER order, follow one another, each right after the
// one before it; the first keeps its place. Each is redisplayed. The window's
// row and rows whose label names no control take no part. Returns the first
// control in that order, 0 when there is none.
//
// Preconditions as for ApplyOverrideRows.
int ApplyTabOrder(Window& window, std::string_view procedureName, std::string_view uniqueMarker);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_OVERRIDE_ROWS_H_
