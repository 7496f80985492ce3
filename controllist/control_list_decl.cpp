#include "controllist/control_list_decl.h"

#include <string>
#include <utility>

#include "wevo/codes.h"

namespace wevo::controllist {
namespace {

ControlDecl control(int type, const char* use, std::string text, At at, const char* parent = "") {
  ControlDecl c;
  c.type = type;
  c.use = use;
  c.text = std::move(text);
  c.at = at;
  c.parent = parent;
  return c;
}

ControlDecl button(const char* use, std::string text, const char* icon, At at, const char* parent = "") {
  ControlDecl c = control(TYPE::Button, use, std::move(text), at, parent);
  c.icon = icon;
  return c;
}

ControlDecl radio(const char* use, const char* text, At at) {
  ControlDecl c = control(TYPE::Radio, use, text, at, LIST::Show);
  c.value = std::string(1, text[0]);
  return c;
}

ControlDecl list(const char* use, const char* format, At at, const char* parent) {
  ControlDecl c = control(TYPE::List, use, "", at, parent);
  c.format = format;
  c.background = kListBackground;
  c.alerts = {KEY::MouseLeft2};
  return c;
}

}  // namespace

WindowDecl ControlListDecl(char (&show)[1]) {
  WindowDecl d;
  d.caption = kControlListCaption;
  // As wide as its rightmost control (Exit, and the Up, Down and Apply
  // buttons one unit short of it), and the sheet across it from its left
  // edge, so that every control shows whole with its borders.
  d.at = {kDefault, kDefault, 381, 233};
  d.font = {"Arial", 8};
  d.icon = "app.ico";
  d.modal = true;

  d.controls.push_back(control(TYPE::Sheet, LIST::Sheet, "", {0, 1, 381, 214}));
  d.controls.push_back(control(TYPE::Tab, LIST::TabFields, "All Fields", {}, LIST::Sheet));
  ControlDecl option = control(TYPE::Option, LIST::Show, "Show", {7, 21, 213, 23}, LIST::TabFields);
  option.bind = Binding::text(show);
  d.controls.push_back(option);
  d.controls.push_back(radio(LIST::ShowAll, "All", {13, 30, 29, 10}));
  d.controls.push_back(radio(LIST::ShowPrompts, "Prompts", {53, 30, 41, 10}));
  d.controls.push_back(radio(LIST::ShowEntries, "Entries", {113, 30, 41, 10}));
  d.controls.push_back(radio(LIST::ShowButtons, "Buttons", {163, 30, 41, 10}));
  d.controls.push_back(list(LIST::Fields, kFieldsFormat, {7, 49, 359, 159}, LIST::TabFields));
  // Shown with the first tab, in the button row under the sheet.
  d.controls.push_back(button(LIST::Edit, "Edit", "Edit.ico", {291, 217, 43, 14}, LIST::TabFields));

  d.controls.push_back(control(TYPE::Tab, LIST::TabOrderTab, "Tab Order", {}, LIST::Sheet));
  d.controls.push_back(list(LIST::TabOrder, kTabOrderFormat, {4, 21, 348, 181}, LIST::TabOrderTab));
  d.controls.push_back(button(LIST::Up, "", "up.ico", {355, 84, 25, 25}, LIST::TabOrderTab));
  d.controls.push_back(button(LIST::Down, "", "down.ico", {355, 114, 25, 25}, LIST::TabOrderTab));
  ControlDecl apply = button(LIST::Apply, "", "apply.ico", {355, 143, 25, 25}, LIST::TabOrderTab);
  apply.tip = "Apply Tab Order Changes";
  d.controls.push_back(apply);

  d.controls.push_back(button(LIST::Reset, " Reset List", "delete.ico", {7, 216, 68, 14}));
  d.controls.push_back(button(LIST::ResetSelected, " Reset Selected", "undo.ico", {78, 216, 79, 14}));
  d.controls.push_back(button(LIST::Cancel, "Exit", "exit.ico", {338, 217, 43, 14}));
  return d;
}

}  // namespace wevo::controllist
