// What a key does in design mode, and the keyboard's walk through the
// controls. The overlay alerts exactly the keys listed here.
//
//   Left, Up, Right, Down       nudge the selection one pixel (the store takes it at the next click)
//   Ctrl + arrow                move the selection one grid step, and store it
//   Shift + arrow               size the selection one pixel (Right/Down larger), and store it
//   Tab, Shift+Tab              select the next (previous) control in tab order
//   Enter                       open the property form of a selection the user chose
//   Apps (the context-menu key) store the selection and open the design menu
//   Ctrl+Z; Ctrl+Y, Ctrl+Shift+Z   undo; redo
//   Esc                         drop the other selected controls; with one selected, end design mode
//   F8, F9, F10, double click   end design mode
//   right button                select and store the control under the mouse, then the design menu
#ifndef WEVO_DESIGN_DESIGN_KEYS_H_
#define WEVO_DESIGN_DESIGN_KEYS_H_

#include <cstdint>
#include <vector>

#include "controllist/control_queue.h"
#include "wevo/window.h"

namespace wevo::design {

enum class KeyCommand {
  kNudge,
  kGridMove,
  kResize,
  kNext,
  kPrevious,
  kEdit,
  kMenu,
  kUndo,
  kRedo,
  kEscape,
  kEnd,
  kRightButton,
};

struct KeyAction {
  KeyCommand command = KeyCommand::kEnd;
  int dx = 0, dy = 0;  // arrows: the direction, -1, 0 or 1
};

// The command of an alerted key; any other key ends design mode, as every
// alerted key without a command of its own always has.
KeyAction DesignKeyAction(int key);

// The keys the overlay alerts.
std::vector<int> DesignAlertedKeys();

// The control after (`backwards`: before) `from` in the window's tab order,
// as the controls queue holds it (the window itself among them), going round
// at the ends; controls that do not show are passed over. `from` itself
// when nothing else can be selected.
int32_t NextInTabOrder(const controllist::ControlQueue& controls, const Window& host, int32_t from, bool backwards);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_DESIGN_KEYS_H_
