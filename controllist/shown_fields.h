// The "Show" choice of the control list and the rows it lets through to the
// field list of its first tab.
#ifndef WEVO_CONTROLLIST_SHOWN_FIELDS_H_
#define WEVO_CONTROLLIST_SHOWN_FIELDS_H_

#include "controllist/control_queue.h"

namespace wevo::controllist {

// LOC:SHOW: each radio stores the first letter of its own text.
inline constexpr char kShowAll = 'A';
inline constexpr char kShowPrompts = 'P';
inline constexpr char kShowEntries = 'E';
inline constexpr char kShowButtons = 'B';

// Empties `shown` and copies into it, in the controls queue's order, the
// rows `show` selects: PROMPT controls for 'P', ENTRY controls (type 8 only:
// not spins, texts or combos) for 'E', BUTTON controls for 'B', every row
// for any other value.
void FilterControlQueue(const ControlQueue& controls, char show, ControlQueue& shown);

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_SHOWN_FIELDS_H_
