#include "demo/demo_state.h"

#include <algorithm>
#include <utility>

#include "wevo/codes.h"

namespace wevo::demo {

bool DemoState::add(Window& window, std::string caption) {
  base::MutexLock lock(mu_);
  if (closing_) return false;
  windows_.push_back({&window, std::move(caption), std::this_thread::get_id(), window.handle()});
  return true;
}

void DemoState::remove(Window& window) {
  base::MutexLock lock(mu_);
  std::erase_if(windows_, [&](const Entry& e) { return e.window == &window; });
}

void DemoState::closeAll() {
  base::MutexLock lock(mu_);
  closing_ = true;
  // Under the lock, so that no window is destroyed while it is posted to.
  for (const Entry& e : windows_) e.window->post(EVENT::CloseWindow);
}

void DemoState::setStore(std::string location) {
  base::MutexLock lock(mu_);
  store_ = std::move(location);
}

std::string DemoState::store() const {
  base::MutexLock lock(mu_);
  return store_;
}

bool DemoState::closing() const {
  base::MutexLock lock(mu_);
  return closing_;
}

Window* DemoState::find(std::string_view caption) const {
  base::MutexLock lock(mu_);
  const std::thread::id self = std::this_thread::get_id();
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
    if (it->thread == self && it->caption == caption) return it->window;
  return nullptr;
}

size_t DemoState::count() const {
  base::MutexLock lock(mu_);
  return windows_.size();
}

void DemoState::activateSample(Window& window) {
  base::MutexLock lock(mu_);
  for (Entry& e : windows_)
    if (e.window == &window) e.activated = ++activations_;
}

int64_t DemoState::activeSample() const {
  base::MutexLock lock(mu_);
  const Entry* last = nullptr;
  for (const Entry& e : windows_)
    if (e.activated != 0 && (last == nullptr || e.activated > last->activated)) last = &e;
  return last != nullptr ? last->handle : 0;
}

std::vector<int64_t> DemoState::samples() const {
  base::MutexLock lock(mu_);
  std::vector<int64_t> out;
  for (const Entry& e : windows_)
    if (e.activated != 0) out.push_back(e.handle);
  return out;
}

Noted::Noted(DemoState& state, Window& window, std::string caption)
    : state_(state), window_(window), added_(state.add(window, std::move(caption))) {}

Noted::~Noted() {
  if (added_) state_.remove(window_);
}

}  // namespace wevo::demo
