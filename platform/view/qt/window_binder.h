// Which toolkit windows the Qt view shows through a host's own widgets
// (bound_window.h) rather than through widgets of its own.
//
// A binding is made on the Qt thread for a form (prepare), then tied to the
// toolkit window that models it by the host thread that opened that window,
// before the window's first update leaves that thread (bind): every update
// of the window then goes to the binding, in order, from the first. Untied
// (unbind) once its last update is applied, before the window closes; the
// closing update then finds nothing to do.
#ifndef WEVO_PLATFORM_VIEW_QT_WINDOW_BINDER_H_
#define WEVO_PLATFORM_VIEW_QT_WINDOW_BINDER_H_

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/base/mutex.h"
#include "platform/view/qt/bound_window.h"
#include "platform/view/view.h"

class QWidget;

namespace wevo::qtview {

struct QtContext;

class WindowBinder {
 public:
  WindowBinder(QtContext& ctx, BoundWindow::Post post) : ctx_(ctx), post_(std::move(post)) {}
  WindowBinder(const WindowBinder&) = delete;
  WindowBinder& operator=(const WindowBinder&) = delete;

  // Qt thread: a binding of `root`'s widgets, tied to no window yet.
  std::unique_ptr<BoundWindow> prepare(QWidget* root, std::vector<BoundControl> controls, DesignedLooks& looks);

  // Any thread: the window with this handle is shown through `window`
  // (which must stay alive until unbound).
  void bind(int64_t handle, BoundWindow* window);
  void unbind(int64_t handle);

  // Qt thread: hands the update to its window's binding; false when the
  // window is not bound.
  bool apply(const toolkit::ViewUpdate& u);
  // The binding of the window with this window or client-area handle.
  BoundWindow* find(int64_t handle) const;
  // The form a dialog of host thread `thread` shows over: the newest shown
  // bound window of that thread; nullptr when none.
  QWidget* ownerFor(int thread) const;

 private:
  QtContext& ctx_;
  BoundWindow::Post post_;
  mutable base::Mutex mu_;
  std::map<int64_t, BoundWindow*> bound_ GUARDED_BY(mu_);
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_WINDOW_BINDER_H_
