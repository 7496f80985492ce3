// The original rows of a window: its designed properties, kept under the
// marker WEVO_ORIGINAL and shared by every marker of the procedure, so that a
// control can be reset to them.
#ifndef WEVO_APPLY_ORIGINAL_ROWS_H_
#define WEVO_APPLY_ORIGINAL_ROWS_H_

#include <string_view>

#include "wevo/window.h"

namespace wevo::apply {

// Writes or refreshes the original rows of `window` for `procedureName`: the
// window's row and one row per labelled control among the fields
// 1 ... lastField(), each found by its label. A control without a row gets a
// new one (captured whole, under a new UID). An existing row is captured
// again from the control its label names, with FEQ set to that control's
// number, and rewritten only when some byte of it changed, so that opening a
// window whose design did not change writes nothing. Field numbers without a
// control, and controls without a label (no row could find them again), get
// no row.
//
// Preconditions: the store is open on this thread (winFile()) and the window
// is in dialog units. Uses WIN() and WIN2() as working buffers.
void RefreshOriginalRows(Window& window, std::string_view procedureName);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_ORIGINAL_ROWS_H_
