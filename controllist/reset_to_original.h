// Putting one control's override row back to the control's designed look:
// the values kept in its WEVO_ORIGINAL row, under the row's own identity.
#ifndef WEVO_CONTROLLIST_RESET_TO_ORIGINAL_H_
#define WEVO_CONTROLLIST_RESET_TO_ORIGINAL_H_

#include <string_view>

namespace wevo::controllist {

// Overwrites the override row of (procedureName, uniqueMarker, label) with
// every field of the original row of (procedureName, WEVO_ORIGINAL, label),
// the description included, except UID, UNIQUEMARKER, FEQ and ORDER, which
// the override row keeps; then rewrites it. Names and markers match ignoring
// case and trailing blanks.
//
// Returns true when the row was rewritten: WIN() then holds it, ready for
// apply::ApplyRow. False when nothing was written: either row is missing, or
// the rewrite failed (which shows the runtime's stop message with the
// store's error text). WIN() is then no row to apply: a caller applies the
// row only on true.
//
// Opens the store through both declarations' use counts (its name and
// password must be set); runs on a host thread; uses WIN() and WIN2().
bool ResetControlToOriginal(std::string_view procedureName, std::string_view label, std::string_view uniqueMarker);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_RESET_TO_ORIGINAL_H_
