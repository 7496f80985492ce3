// The controls of a window model, kept in field order: finding them by number
// or label, the containment tree, and whether a control shows and takes
// input as its containers allow.
#ifndef WEVO_PLATFORM_TOOLKIT_CONTROL_SET_H_
#define WEVO_PLATFORM_TOOLKIT_CONTROL_SET_H_

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/toolkit/control.h"

namespace wevo::toolkit {

class ControlSet {
 public:
  using Controls = std::vector<std::unique_ptr<Control>>;

  Control* find(int field) {
    auto it = at(field);
    return it != controls_.end() && (*it)->field == field ? it->get() : nullptr;
  }
  const Control* find(int field) const { return const_cast<ControlSet*>(this)->find(field); }

  int firstField() const { return controls_.empty() ? 0 : controls_.front()->field; }
  int lastField() const { return controls_.empty() ? 0 : controls_.back()->field; }
  size_t size() const { return controls_.size(); }
  Controls::const_iterator begin() const { return controls_.begin(); }
  Controls::const_iterator end() const { return controls_.end(); }

  // "?OkButton"; "" for an unknown field.
  std::string label(int field) const;
  // The control with this label (case ignored), 0 when none.
  int fieldOf(std::string_view label) const;
  // Fields in number order.
  std::vector<int> fields() const;
  // Children of a control (0: top-level controls), in number order.
  std::vector<int> children(int parent) const;

  // A new control with this number, in its place by number, made after every
  // control made before it (its stacking order). The field must be free.
  Control* make(int field, int type, int parent);
  // Removes this one control (not the controls inside it).
  void erase(int field);
  void clear() { controls_.clear(); }

  // Shows: neither it nor a container is hidden, and a tab it is on is its
  // sheet's current one.
  bool visible(const Control& c) const;
  // Neither disabled itself nor in a disabled container.
  bool enabled(const Control& c) const;

 private:
  Controls::iterator at(int field) {
    return std::lower_bound(controls_.begin(), controls_.end(), field,
                            [](const std::unique_ptr<Control>& c, int f) { return c->field < f; });
  }

  Controls controls_;  // sorted by field
  int64_t createSeq_ = 0;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_CONTROL_SET_H_
