// The override rows of one window and marker reaching the live window: their
// properties, and the tab order their ORDER gives.
#ifndef WEVO_APPLY_OVERRIDE_ROWS_H_
#define WEVO_APPLY_OVERRIDE_ROWS_H_

#include <string_view>
#include <vector>

#include "apply/row_writes.h"
#include "platform/keyedfile/keyed_file.h"
#include "wevo/window.h"

namespace wevo::apply {

// Reads the rows of (procedureName, uniqueMarker) from the open store `file`
// (the thread's winFile()) into `rows`, in label order. False when the read
// failed (rows empty).
bool ReadOverrideRows(kf::File& file, std::string_view procedureName, std::string_view uniqueMarker,
                      kf::RowSet& rows);

// An override row and the control it reaches.
struct RowOfControl {
  size_t row;  // in the rows read
  int field;   // 0: the window
};

// Finds the control of every row of `rows` (as ReadOverrideRows read them),
// in label order (row_control.h; the window row reaches the window). When
// that control's number differs from the row's FEQ, the row is rewritten
// with the number through `writes` (and, written, in `rows`). Rows with a
// blank label, and rows whose label names no control, are left out and kept
// as they are.
std::vector<RowOfControl> MatchOverrideRows(const Window& window, kf::RowSet& rows, RowWrites& writes);

// Applies the matched rows to their controls, in that order.
//
// The window must be in dialog units.
void ApplyOverrideRows(Window& window, const kf::RowSet& rows, const std::vector<RowOfControl>& matched);

// Restores the tab order of the rows, taken in `order` (their ORDERKEY
// order): the controls of the rows follow one another, each right after the
// one before it; the first keeps its place. Each is redisplayed. The
// window's row and rows whose label names no control take no part. Returns
// the first control in that order, 0 when there is none.
int ApplyTabOrder(Window& window, const kf::RowSet& rows, const std::vector<size_t>& order);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_OVERRIDE_ROWS_H_
