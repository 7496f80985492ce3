// "Reset List": every stored row of one window under one marker removed, so
// that the window opens with its designed look again. Rows of other markers,
// the original rows under WEVO_ORIGINAL among them, stay.
#ifndef WEVO_CONTROLLIST_RESET_LIST_H_
#define WEVO_CONTROLLIST_RESET_LIST_H_

#include <string_view>

namespace wevo::controllist {

// Deletes every row of (procedureName, uniqueMarker), both matched ignoring
// case and trailing blanks, reading them in the order of the key over
// procedure, marker and label from the first one on. A failed delete is not
// reported; the walk goes on. The deletes share one transaction when the
// store can begin one. Opens the store through the thread's use count; uses
// WIN().
void DeleteWindowRows(std::string_view procedureName, std::string_view uniqueMarker);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_RESET_LIST_H_
