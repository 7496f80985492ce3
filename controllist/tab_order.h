// The tab order of a window being designed, as the controls queue holds it:
// numbering, moving one row, and writing it into the stored rows' ORDER,
// which the window entry turns into the live tab sequence the next time the
// host opens the window.
#ifndef WEVO_CONTROLLIST_TAB_ORDER_H_
#define WEVO_CONTROLLIST_TAB_ORDER_H_

#include <cstddef>

#include "controllist/control_queue.h"

namespace wevo::controllist {

// Sorts the queue by TABORDER, numbers its rows 1, 2, 3 ... in that order
// and sorts again. Rows sharing a number keep their order.
void RenumberTabOrder(ControlQueue& queue);

// Swaps the tab order of the row at `position` (1-based, in the queue's
// order) with that of the row before (after) it and sorts the queue again;
// `position` then names the moved row's new place. Returns false, changing
// nothing, for the first (last) row or a position outside the queue. The
// queue must be numbered (RenumberTabOrder) so that the swap moves the row
// by exactly one place.
bool MoveUp(ControlQueue& queue, size_t& position);
bool MoveDown(ControlQueue& queue, size_t& position);

// Writes each row's TABORDER into the ORDER of the stored row with its UID.
// Rows without a stored row (UID 0), or whose row is gone, are skipped;
// failures are not reported. The rows are written in one transaction when
// the store can begin one. Opens the store through the thread's use count;
// uses WIN().
void StoreTabOrder(const ControlQueue& queue);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_TAB_ORDER_H_
