// ControlListWindow: the modal window "  All Screen Fields" that lists every
// control of the window being designed, edits one control's stored row in
// the property form, resets one control or the whole window to the designed
// look, and changes the tab order.
//
//   controllist::FillControlQueue(controls, host, procedure, marker);   // once per design run
//   controllist::ControlListWindow(controls, host, procedure, marker);  // as often as asked
//
// The first tab, "All Fields", lists the controls the "Show" option selects
// (all, prompts, entries or buttons); Edit, or a double click on a row, runs
// the property form for it and, when the form saved, shows the row's new
// description in both lists (the live control is left as it is). The second
// tab, "Tab Order", lists the whole queue in tab order; Up and Down move the
// selected row one place (nothing for the first or last row), Apply writes
// the order into the stored rows, where the window entry finds it the next
// time the host opens the window. "Reset List" asks, removes every row of
// the window under the marker (the original rows stay), says so and closes
// the window; "Reset Selected" asks, then resets the selected control's row
// from its original row and shows it on the live control. Exit closes.
#ifndef WEVO_CONTROLLIST_CONTROL_LIST_WINDOW_H_
#define WEVO_CONTROLLIST_CONTROL_LIST_WINDOW_H_

#include <cstdint>
#include <functional>
#include <string_view>

#include "controllist/control_queue.h"
#include "wevo/window.h"

namespace wevo::controllist {

// What a caller may be told around each command that changes stored rows,
// so that it can note them (design mode's undo): `before` just before the
// command starts (before its question), `after` once it is over, whether it
// changed anything or not. `feq` is the control concerned (Edit, Reset
// Selected), 0 for the whole window (Apply, Reset List). Either may be empty.
struct ListCommandWatch {
  enum Command { kEdit, kResetSelected, kApplyTabOrder, kResetList };
  std::function<void(Command, int32_t feq)> before;
  std::function<void(Command, int32_t feq)> after;
};

// Runs the window to its end on the calling thread, which owns `host`.
// `controls` must have been filled by FillControlQueue for `host`; the window
// sorts it by tab order and numbers it 1, 2, 3 ..., and leaves it in the
// order Up and Down gave it, for the next opening. The store's name and
// password must be set. The host keeps its coordinate mode. Clears
// GlobalRequest as it starts (and a pending right button) and leaves
// GlobalResponse at 2.
void ControlListWindow(ControlQueue& controls, Window& host, std::string_view procedureName,
                       std::string_view uniqueMarker, const ListCommandWatch& watch = {});

}  // namespace wevo::controllist

#endif  // WEVO_CONTROLLIST_CONTROL_LIST_WINDOW_H_
