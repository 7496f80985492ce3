// The changes of a window model not yet sent to the view: whether the window
// itself changed, which controls did (each once, in the order they first
// changed), which were destroyed, and whether everything goes out again (a
// newly opened window, a new size, a font, a tab brought forward).
#ifndef WEVO_PLATFORM_TOOLKIT_CHANGE_LOG_H_
#define WEVO_PLATFORM_TOOLKIT_CHANGE_LOG_H_

#include <vector>

#include "platform/toolkit/control.h"

namespace wevo::toolkit {

class ChangeLog {
 public:
  bool pending() const { return opened_ || window_ || all_ || !controls_.empty() || !destroyed_.empty(); }

  // A newly opened window: everything goes out, marked as opened.
  void opened() { opened_ = all_ = window_ = true; }
  void window() { window_ = true; }
  void all() { all_ = window_ = true; }
  void control(Control& c) {
    if (c.dirty) return;
    c.dirty = true;
    controls_.push_back(c.field);
  }
  // The control is gone: it goes out as destroyed instead of changed.
  void destroyed(int field);
  // Forgets everything (a window closing).
  void clear();

  // Taking the changes for an update: read, then taken().
  bool isOpening() const { return opened_; }
  bool windowChanged() const { return opened_ || window_ || all_; }
  bool allChanged() const { return all_; }
  std::vector<int>& changedControls() { return controls_; }  // the caller clears each one's dirty flag
  std::vector<int> takeDestroyed();
  void taken();

 private:
  bool opened_ = false;
  bool window_ = false;
  bool all_ = false;
  std::vector<int> controls_;
  std::vector<int> destroyed_;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_CHANGE_LOG_H_
