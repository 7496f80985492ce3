#include "platform/view/qt/update_queue.h"

namespace wevo::qtview {

using toolkit::ViewUpdate;

void UpdateQueue::merge(Pending& into, const ViewUpdate& u) {
  ViewUpdate& w = into.update;
  if (u.closed) {
    w = ViewUpdate{};
    w.handle = u.handle;
    w.closed = true;
    into.controls.clear();
    return;
  }
  w.opened = w.opened || u.opened;
  if (u.window) w.window = u.window;
  for (int f : u.destroyed) {
    into.controls.erase(f);
    w.destroyed.push_back(f);
  }
  for (const toolkit::ControlSnapshot& c : u.controls) into.controls[c.field] = c;
}

bool UpdateQueue::add(const std::vector<ViewUpdate>& batch) {
  base::MutexLock lock(mu_);
  bool wasEmpty = order_.empty();
  for (const ViewUpdate& u : batch) {
    auto it = pending_.find(u.handle);
    if (it == pending_.end()) {
      it = pending_.emplace(u.handle, Pending{}).first;
      it->second.update.handle = u.handle;
      order_.push_back(u.handle);
    }
    merge(it->second, u);
  }
  return wasEmpty && !order_.empty();
}

std::vector<ViewUpdate> UpdateQueue::take() {
  std::vector<int64_t> order;
  std::unordered_map<int64_t, Pending> pending;
  {
    base::MutexLock lock(mu_);
    order.swap(order_);
    pending.swap(pending_);
  }
  std::vector<ViewUpdate> out;
  out.reserve(order.size());
  for (int64_t h : order) {
    Pending& p = pending[h];
    ViewUpdate u = std::move(p.update);
    u.controls.reserve(p.controls.size());
    for (auto& [field, c] : p.controls) u.controls.push_back(std::move(c));
    out.push_back(std::move(u));
  }
  return out;
}

bool UpdateQueue::empty() const {
  base::MutexLock lock(mu_);
  return order_.empty();
}

}  // namespace wevo::qtview
