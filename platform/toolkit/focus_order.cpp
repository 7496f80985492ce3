#include "platform/toolkit/focus_order.h"

#include <algorithm>
#include <cstddef>

namespace wevo::toolkit {

void FocusOrder::follows(int field, int after) {
  if (field == after || controls_.find(field) == nullptr) return;
  auto it = std::find(tabOrder_.begin(), tabOrder_.end(), field);
  if (it != tabOrder_.end()) tabOrder_.erase(it);
  auto pos = std::find(tabOrder_.begin(), tabOrder_.end(), after);
  if (pos == tabOrder_.end())
    tabOrder_.insert(tabOrder_.begin(), field);
  else
    tabOrder_.insert(pos + 1, field);
  changes_.all();
}

int FocusOrder::before(int field) const {
  int prev = 0;
  for (int f : tabOrder_) {
    if (f == field) return prev;
    prev = f;
  }
  return 0;
}

void FocusOrder::remove(int field) {
  for (size_t i = tabOrder_.size(); i-- > 0;)
    if (tabOrder_[i] == field) {
      tabOrder_.erase(tabOrder_.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  if (focus_ == field) {
    focus_ = 0;
    changes_.window();
  }
}

void FocusOrder::clear() {
  tabOrder_.clear();
  focus_ = 0;
}

bool FocusOrder::canFocus(const Control& c) const {
  return isFocusable(c.type) && controls_.visible(c) && controls_.enabled(c);
}

int FocusOrder::nextFocusable(int from, bool back) const {
  size_t n = tabOrder_.size();
  if (n == 0) return 0;
  size_t start = n;
  for (size_t i = 0; i < n; ++i)
    if (tabOrder_[i] == from) start = i;
  for (size_t k = 1; k <= n; ++k) {
    size_t i;
    if (start == n)
      i = back ? n - k : k - 1;
    else
      i = back ? (start + n - k) % n : (start + k) % n;
    const Control* c = controls_.find(tabOrder_[i]);
    if (c != nullptr && !c->skip && canFocus(*c)) return c->field;
  }
  return 0;
}

int FocusOrder::firstFocusable() const {
  for (int f : tabOrder_) {
    const Control* c = controls_.find(f);
    if (c != nullptr && !c->skip && canFocus(*c)) return f;
  }
  return 0;
}

void FocusOrder::setFocusField(int field) {
  if (Control* old = controls_.find(focus_)) changes_.control(*old);
  focus_ = field;
  changes_.window();
  Control* c = controls_.find(field);
  if (c == nullptr) return;
  changes_.control(*c);
  // A control on a tab that is not showing brings its tab forward.
  for (Control* p = controls_.find(c->parent); p != nullptr; p = controls_.find(p->parent)) {
    if (p->type != TYPE::Tab) continue;
    Control* sheet = controls_.find(p->parent);
    if (sheet != nullptr && sheet->type == TYPE::Sheet && sheet->selected != p->field) {
      sheet->selected = p->field;
      changes_.all();
    }
  }
}

}  // namespace wevo::toolkit
