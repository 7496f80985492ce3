#include "platform/view/qt/window_binder.h"

#include <QWidget>

namespace wevo::qtview {

std::unique_ptr<BoundWindow> WindowBinder::prepare(QWidget* root, std::vector<BoundControl> controls,
                                                   DesignedLooks& looks) {
  return std::make_unique<BoundWindow>(root, std::move(controls), looks, ctx_, post_);
}

void WindowBinder::bind(int64_t handle, BoundWindow* window) {
  base::MutexLock lock(mu_);
  bound_[handle] = window;
}

void WindowBinder::unbind(int64_t handle) {
  base::MutexLock lock(mu_);
  bound_.erase(handle);
}

BoundWindow* WindowBinder::find(int64_t handle) const {
  if (handle == 0) return nullptr;
  base::MutexLock lock(mu_);
  auto it = bound_.find(handle);
  if (it == bound_.end() && (handle & 1) != 0) it = bound_.find(handle - 1);  // the client area's handle
  return it != bound_.end() ? it->second : nullptr;
}

bool WindowBinder::apply(const toolkit::ViewUpdate& u) {
  BoundWindow* w = find(u.handle);
  if (w == nullptr) return false;
  if (w->handle() == 0) w->setHandle(u.handle);
  w->apply(u);
  if (u.closed) unbind(u.handle);
  return true;
}

QWidget* WindowBinder::ownerFor(int thread) const {
  base::MutexLock lock(mu_);
  QWidget* best = nullptr;
  for (const auto& [handle, w] : bound_)
    if (w->thread() == thread && w->root() != nullptr && w->root()->isVisible()) best = w->root();
  return best;
}

}  // namespace wevo::qtview
