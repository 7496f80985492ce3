#include "platform/toolkit/change_log.h"

#include <cstddef>
#include <utility>

namespace wevo::toolkit {

void ChangeLog::destroyed(int field) {
  for (size_t i = controls_.size(); i-- > 0;)
    if (controls_[i] == field) controls_.erase(controls_.begin() + static_cast<std::ptrdiff_t>(i));
  destroyed_.push_back(field);
}

void ChangeLog::clear() {
  opened_ = window_ = all_ = false;
  controls_.clear();
  destroyed_.clear();
}

std::vector<int> ChangeLog::takeDestroyed() {
  std::vector<int> out = std::move(destroyed_);
  destroyed_.clear();
  return out;
}

void ChangeLog::taken() {
  controls_.clear();
  opened_ = window_ = all_ = false;
}

}  // namespace wevo::toolkit
