// What assistive tools (screen readers) are told about design mode's
// selection, so that a user who cannot see the handles can design too: the
// primary control's label, its kind and its place in the dialog units the
// store and the property form use, and how many are selected.
#ifndef WEVO_DESIGN_SELECTION_REPORT_H_
#define WEVO_DESIGN_SELECTION_REPORT_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "controllist/control_queue.h"
#include "wevo/window.h"

namespace wevo::design {

// "?OK, BUTTON, at x 10, y 20, width 40, height 14" ("WINDOW, the window,
// at ..." for the window itself), followed by ", 3 controls selected" when
// `selected` is more than one. The host window keeps its coordinate mode.
std::string SelectionReport(Window& host, controllist::ControlQueue& controls, int32_t field, size_t selected);

// Tells assistive tools that control `field` (0: the window) is selected,
// as `report` says, when that differs from what they were told last.
class SelectionAnnouncer {
 public:
  void tell(Window& host, int32_t field, const std::string& report);
  // Withdraws the last report.
  void withdraw(Window& host);

 private:
  int32_t field_ = -1;
  std::string told_;
};

}  // namespace wevo::design

#endif  // WEVO_DESIGN_SELECTION_REPORT_H_
