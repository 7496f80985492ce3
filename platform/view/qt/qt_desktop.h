// The Qt thread's side of the screen: the open windows by handle, and the
// desktop services that act on them (focus, repaint, the global cursor).
// Qt thread only.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_DESKTOP_H_
#define WEVO_PLATFORM_VIEW_QT_QT_DESKTOP_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/view/view.h"

namespace wevo::qtview {

struct QtContext;
class TopWindow;

class QtDesktop {
 public:
  explicit QtDesktop(QtContext& ctx);
  ~QtDesktop();

  void apply(const toolkit::ViewUpdate& u);
  // The window with this window or client-area handle, nullptr when none.
  TopWindow* window(int64_t handle) const;
  std::vector<TopWindow*> windows() const;  // oldest first
  void closeAll();

  void setFocus(int64_t handle, int field);
  void invalidate(int64_t handle);
  // CURSOR:: identifier or a file; "" restores the controls' own cursors.
  void setCursor(const std::string& cursor);
  // Gives the control's widget (the client area for field 0) `description`
  // as its accessible description and tells assistive tools that it has the
  // focus and a new description; the widget described before gets its own
  // description back. "" only gives it back.
  void announce(int64_t handle, int field, const std::string& description);

 private:
  QtContext& ctx_;
  std::map<int64_t, std::unique_ptr<TopWindow>> windows_;
  bool overrideCursor_ = false;
  QPointer<QWidget> announced_;
  QString announcedBefore_;  // its own accessible description
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_QT_DESKTOP_H_
