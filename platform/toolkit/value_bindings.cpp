#include "platform/toolkit/value_bindings.h"

#include <algorithm>

#include "platform/toolkit/binding_io.h"
#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

std::string capitaliseWords(std::string s) {
  bool start = true;
  for (char& ch : s) {
    bool letter = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
    if (letter && start) ch = text::upperChar(ch);
    start = !letter && ch != '\'';
  }
  return s;
}

}  // namespace

std::string ValueBindings::cellText(const Control& c, int row, const ListColumn& col) const {
  if (row < 1 || row > rowCount(c)) return {};
  if (c.source != nullptr) {
    std::string cell = c.source->cell(static_cast<size_t>(row - 1), col.field);
    return Picture::parse(col.picture).format(Value(cell));
  }
  return c.choices[static_cast<size_t>(row - 1)].text;
}

std::string ValueBindings::choiceValue(const Control& c, int item) const {
  if (item < 1 || item > rowCount(c)) return {};
  if (c.source != nullptr) {
    int fieldNo = c.columnsDlu.empty() ? 1 : c.columnsDlu.front().field;
    return c.source->cell(static_cast<size_t>(item - 1), fieldNo);
  }
  return c.choices[static_cast<size_t>(item - 1)].value;
}

bool ValueBindings::isInput(const Control& c) const {
  if (!c.bind.bound()) return false;
  switch (c.type) {
    case TYPE::Entry: case TYPE::Spin: case TYPE::Combo: case TYPE::DropCombo: case TYPE::Text: case TYPE::Rtf:
    case TYPE::Check: case TYPE::Option: case TYPE::List: case TYPE::DropList:
      return true;
    default:
      return false;
  }
}

void ValueBindings::syncChoiceFromVariable(Control& c) {
  if (!c.bind.bound() || !isListType(c.type)) return;
  int n = rowCount(c);
  int found = 0;
  for (int i = 1; i <= n && found == 0; ++i)
    if (bindingEquals(c.bind, Value(choiceValue(c, i)))) found = i;
  c.selected = found;
  changes_.control(c);
}

void ValueBindings::display(Control& c) {
  if (c.type == TYPE::Radio) return;  // shown through its option
  if (!c.bind.bound()) {
    if (isListType(c.type) || c.type == TYPE::Sheet) changes_.control(c);
    return;
  }
  Value v = readBinding(c.bind);
  switch (c.type) {
    case TYPE::Entry: case TYPE::Spin:
      c.screen = c.picture.format(v);
      break;
    case TYPE::Combo: case TYPE::DropCombo:
      c.screen = c.picture.format(v);
      syncChoiceFromVariable(c);
      break;
    case TYPE::Text: case TYPE::Rtf:
      c.screen = v.str();
      break;
    case TYPE::String: case TYPE::SString:
      c.text = v.str();
      c.naturalValid = false;
      break;
    case TYPE::Check:
      c.checked = !bindingEquals(c.bind, Value(c.falseValue));
      break;
    case TYPE::Option: {
      c.chosen = 0;
      for (const auto& r : controls_)
        if (r->type == TYPE::Radio && r->parent == c.field && bindingEquals(c.bind, Value(r->radioValue))) {
          c.chosen = r->field;
          break;
        }
      for (const auto& r : controls_)
        if (r->type == TYPE::Radio && r->parent == c.field) changes_.control(*r);
      break;
    }
    case TYPE::List: case TYPE::DropList:
      syncChoiceFromVariable(c);
      break;
    default:
      break;
  }
  c.edited = false;
  changes_.control(c);
}

void ValueBindings::display(int field) {
  if (field != 0) {
    if (Control* c = controls_.find(field)) display(*c);
    return;
  }
  for (const auto& c : controls_) display(*c);
}

bool ValueBindings::update(int field) {
  Control* cp = controls_.find(field);
  if (cp == nullptr) return true;
  Control& c = *cp;
  if (!c.bind.bound()) return true;
  switch (c.type) {
    case TYPE::Entry: case TYPE::Spin: case TYPE::Combo: case TYPE::DropCombo: {
      Value v;
      if (!c.picture.check(c.screen, v)) return false;
      if (c.type == TYPE::Spin && c.picture.isNumber() && (c.rangeLow != 0 || c.rangeHigh != 0) &&
          (v.num() < c.rangeLow || v.num() > c.rangeHigh))
        return false;
      writeBinding(c.bind, v);
      c.screen = c.picture.format(readBinding(c.bind));
      break;
    }
    case TYPE::Text: case TYPE::Rtf:
      writeBinding(c.bind, Value(c.screen));
      break;
    case TYPE::Check:
      writeBinding(c.bind, Value(c.checked ? c.trueValue : c.falseValue));
      break;
    case TYPE::Option:
      if (const Control* r = controls_.find(c.chosen)) writeBinding(c.bind, Value(r->radioValue));
      break;
    case TYPE::List: case TYPE::DropList:
      if (c.selected > 0) writeBinding(c.bind, Value(choiceValue(c, c.selected)));
      break;
    default:
      break;
  }
  c.edited = false;
  changes_.control(c);
  return true;
}

void ValueBindings::updateAll() {
  for (const auto& c : controls_) update(c->field);
}

void ValueBindings::bind(int field, Binding b) {
  Control* c = controls_.find(field);
  if (c == nullptr) return;
  c->bind = b;
  display(*c);
}

void ValueBindings::setList(int field, const ListSource* source) {
  Control* c = controls_.find(field);
  if (c == nullptr) return;
  c->source = source;
  int n = rowCount(*c);
  if (c->selected > n) c->selected = n;
  if (c->bind.bound()) syncChoiceFromVariable(*c);
  changes_.control(*c);
}

int ValueBindings::selection(int field) const {
  const Control* c = controls_.find(field);
  if (c == nullptr) return 0;
  if (c->type == TYPE::Option) {
    int n = 0;
    for (const auto& r : controls_)
      if (r->type == TYPE::Radio && r->parent == c->field) {
        ++n;
        if (r->field == c->chosen) return n;
      }
    return 0;
  }
  return c->selected;
}

void ValueBindings::setSelection(int field, int row) {
  Control* c = controls_.find(field);
  if (c == nullptr) return;
  if (c->type == TYPE::Sheet) {
    Control* tab = controls_.find(row);
    if (tab != nullptr && tab->type == TYPE::Tab && tab->parent == c->field) selectTab(*tab);
    return;
  }
  if (c->type == TYPE::Option) {
    int n = 0;
    for (const auto& r : controls_)
      if (r->type == TYPE::Radio && r->parent == c->field && ++n == row) {
        chooseRadio(*r);
        return;
      }
    return;
  }
  c->selected = std::clamp(row, 0, rowCount(*c));
  changes_.control(*c);
}

void ValueBindings::setScreenText(Control& c, std::string s) {
  if (c.upper) s = text::upper(s);
  if (c.capitalise) s = capitaliseWords(std::move(s));
  c.screen = std::move(s);
  c.edited = true;
  changes_.control(c);
}

void ValueBindings::toggleCheck(Control& c) {
  c.checked = !c.checked;
  changes_.control(c);
}

void ValueBindings::chooseRadio(Control& radio) {
  Control* option = controls_.find(radio.parent);
  if (option == nullptr || option->type != TYPE::Option) return;
  option->chosen = radio.field;
  changes_.control(*option);
  for (const auto& r : controls_)
    if (r->type == TYPE::Radio && r->parent == option->field) changes_.control(*r);
}

bool ValueBindings::selectRow(Control& c, int row) {
  row = std::clamp(row, 0, rowCount(c));
  if (row == c.selected) return false;
  c.selected = row;
  if (c.bind.bound() && row > 0) {
    writeBinding(c.bind, Value(choiceValue(c, row)));
    if (c.type == TYPE::Combo || c.type == TYPE::DropCombo) c.screen = c.picture.format(readBinding(c.bind));
  }
  changes_.control(c);
  return true;
}

void ValueBindings::selectTab(Control& tab) {
  Control* sheet = controls_.find(tab.parent);
  if (sheet == nullptr || sheet->type != TYPE::Sheet || sheet->selected == tab.field) return;
  sheet->selected = tab.field;
  changes_.all();
}

}  // namespace wevo::toolkit
