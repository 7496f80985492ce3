// The tab order of a window's controls and the control that has the focus
// within the window (which window has the keyboard focus is the program's).
#ifndef WEVO_PLATFORM_TOOLKIT_FOCUS_ORDER_H_
#define WEVO_PLATFORM_TOOLKIT_FOCUS_ORDER_H_

#include <vector>

#include "platform/toolkit/change_log.h"
#include "platform/toolkit/control.h"
#include "platform/toolkit/control_set.h"

namespace wevo::toolkit {

class FocusOrder {
 public:
  FocusOrder(ControlSet& controls, ChangeLog& changes) : controls_(controls), changes_(changes) {}

  // ---- Tab order ----
  const std::vector<int>& tabOrder() const { return tabOrder_; }
  void append(int field) { tabOrder_.push_back(field); }
  // Moves `field` to just after `after` (to the front when `after` is in no
  // place of the order).
  void follows(int field, int after);
  // The control before `field` in tab order; 0 for the first or an unknown one.
  int before(int field) const;
  // Takes the control out of the order; one with the focus loses it.
  void remove(int field);
  void clear();

  // ---- Focus ----
  bool canFocus(const Control& c) const;
  // The next focusable control after `from` in tab order (backwards when
  // `back`), wrapping; 0 when none.
  int nextFocusable(int from, bool back) const;
  int firstFocusable() const;
  int focus() const { return focus_; }
  // No events; switches a sheet to the control's tab.
  void setFocusField(int field);

 private:
  ControlSet& controls_;
  ChangeLog& changes_;
  std::vector<int> tabOrder_;
  int focus_ = 0;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_FOCUS_ORDER_H_
