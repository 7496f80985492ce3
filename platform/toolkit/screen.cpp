#include "platform/toolkit/screen.h"

#include <algorithm>

#include "wevo/text.h"

namespace wevo::toolkit {

void Screen::apply(const ViewUpdate& u) {
  std::lock_guard<std::mutex> lock(mu_);
  if (u.closed) {
    windows_.erase(u.handle);
    return;
  }
  ScreenWindow& w = windows_[u.handle];
  ++w.updates;
  if (u.window) w.window = *u.window;
  for (int f : u.destroyed) w.controls.erase(f);
  for (const ControlSnapshot& c : u.controls) w.controls[c.field] = c;
}

void Screen::noteInvalidate(int64_t handle) {
  std::lock_guard<std::mutex> lock(mu_);
  for (auto& [h, w] : windows_)
    if (h == handle || w.window.clientHandle == handle) ++w.invalidations;
}

void Screen::clear() {
  std::lock_guard<std::mutex> lock(mu_);
  windows_.clear();
}

std::optional<ScreenWindow> Screen::window(int64_t handle) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = windows_.find(handle);
  if (it == windows_.end()) return std::nullopt;
  return it->second;
}

std::vector<WindowSnapshot> Screen::windows() const {
  std::lock_guard<std::mutex> lock(mu_);
  std::vector<WindowSnapshot> out;
  for (const auto& [h, w] : windows_) out.push_back(w.window);
  std::sort(out.begin(), out.end(),
            [](const WindowSnapshot& a, const WindowSnapshot& b) { return a.openOrder < b.openOrder; });
  return out;
}

std::optional<WindowSnapshot> Screen::find(std::string_view caption) const {
  std::lock_guard<std::mutex> lock(mu_);
  const WindowSnapshot* best = nullptr;
  auto consider = [&](const WindowSnapshot& w) {
    if (best == nullptr || w.openOrder > best->openOrder) best = &w;
  };
  if (text::clip(caption).empty()) {
    for (const auto& [h, w] : windows_)
      if (!w.window.hidden) consider(w.window);
  } else {
    for (const auto& [h, w] : windows_)
      if (text::sameClipped(w.window.caption, caption)) consider(w.window);
    if (best == nullptr)
      for (const auto& [h, w] : windows_)
        if (text::sameNoCase(w.window.caption, caption)) consider(w.window);
  }
  if (best == nullptr) return std::nullopt;
  return *best;
}

std::optional<ControlSnapshot> Screen::control(int64_t handle, int field) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = windows_.find(handle);
  if (it == windows_.end()) return std::nullopt;
  auto c = it->second.controls.find(field);
  if (c == it->second.controls.end()) return std::nullopt;
  return c->second;
}

std::optional<ControlSnapshot> Screen::control(int64_t handle, std::string_view label) const {
  std::lock_guard<std::mutex> lock(mu_);
  auto it = windows_.find(handle);
  if (it == windows_.end()) return std::nullopt;
  for (const auto& [f, c] : it->second.controls)
    if (text::sameNoCase(c.label, label)) return c;
  return std::nullopt;
}

}  // namespace wevo::toolkit
