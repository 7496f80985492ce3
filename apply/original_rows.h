// The original rows of a window: its designed properties, kept under the
// marker WEVO_ORIGINAL and shared by every marker of the procedure, so that a
// control can be reset to them.
#ifndef WEVO_APPLY_ORIGINAL_ROWS_H_
#define WEVO_APPLY_ORIGINAL_ROWS_H_

#include <string_view>

#include "apply/row_writes.h"
#include "platform/keyedfile/keyed_file.h"
#include "wevo/window.h"

namespace wevo::apply {

// Reads the original rows of `procedureName` from the open store `file`
// (the thread's winFile()) into `rows`, in label order. False when the read
// failed (rows empty).
bool ReadOriginalRows(kf::File& file, std::string_view procedureName, kf::RowSet& rows);

// Writes or refreshes the original rows of `window` for `procedureName`,
// given `rows` as ReadOriginalRows read them: the window's row and one row
// per labelled control among the fields 1 ... lastField(), in field order,
// each found by its label (letter case ignored; of several, the one stored
// first). A control without a row gets a new one (captured whole, under a
// new UID). An existing row is captured again from the control its label
// names, with FEQ set to that control's number, and rewritten only when some
// byte of it changed, so that opening a window whose design did not change
// writes nothing. Field numbers without a control, and controls without a
// label (no row could find them again), get no row. The writes go to
// `writes` in that order; a row written is written in `rows` too (a new one
// is only remembered, for controls that share its label).
//
// The window must be in dialog units.
void RefreshOriginalRows(Window& window, std::string_view procedureName, kf::RowSet& rows, RowWrites& writes);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_ORIGINAL_ROWS_H_
