#include "platform/toolkit/control_set.h"

#include "wevo/text.h"

namespace wevo::toolkit {

std::string ControlSet::label(int field) const {
  const Control* c = find(field);
  return c != nullptr ? c->label : std::string();
}

int ControlSet::fieldOf(std::string_view lbl) const {
  if (text::clip(lbl).empty()) return 0;
  for (const auto& c : controls_)
    if (text::sameNoCase(c->label, lbl)) return c->field;
  return 0;
}

std::vector<int> ControlSet::fields() const {
  std::vector<int> out;
  out.reserve(controls_.size());
  for (const auto& c : controls_) out.push_back(c->field);
  return out;
}

std::vector<int> ControlSet::children(int parent) const {
  std::vector<int> out;
  for (const auto& c : controls_)
    if (c->parent == parent) out.push_back(c->field);
  return out;
}

Control* ControlSet::make(int field, int type, int parent) {
  auto c = std::make_unique<Control>();
  c->field = field;
  c->type = type;
  c->parent = parent;
  c->createdSeq = ++createSeq_;
  Control* raw = c.get();
  controls_.insert(at(field), std::move(c));
  return raw;
}

void ControlSet::erase(int field) {
  auto it = at(field);
  if (it != controls_.end() && (*it)->field == field) controls_.erase(it);
}

bool ControlSet::visible(const Control& c) const {
  const Control* cur = &c;
  for (int depth = 0; cur != nullptr && depth < 64; ++depth) {
    if (cur->hidden) return false;
    if (cur->type == TYPE::Tab) {
      const Control* sheet = find(cur->parent);
      if (sheet != nullptr && sheet->type == TYPE::Sheet && sheet->selected != cur->field) return false;
    }
    cur = cur->parent != 0 ? find(cur->parent) : nullptr;
  }
  return true;
}

bool ControlSet::enabled(const Control& c) const {
  const Control* cur = &c;
  for (int depth = 0; cur != nullptr && depth < 64; ++depth) {
    if (cur->disabled) return false;
    cur = cur->parent != 0 ? find(cur->parent) : nullptr;
  }
  return true;
}

}  // namespace wevo::toolkit
