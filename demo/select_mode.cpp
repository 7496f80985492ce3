#include "demo/select_mode.h"

#include "wevo/toolkit.h"

namespace wevo::demo {

namespace {

ControlDecl radio(std::string use, std::string caption, std::string value, int y) {
  ControlDecl c;
  c.type = TYPE::Radio;
  c.use = std::move(use);
  c.text = std::move(caption);
  c.value = std::move(value);
  c.parent = "?FORMMODE";
  c.at = {26, y, 66, kDefault};  // room for the longest text, whatever the font
  return c;
}

}  // namespace

WindowDecl selectModeDecl(char (&mode)[32]) {
  WindowDecl d;
  d.caption = kSelectModeCaption;
  d.font = {"MS Sans Serif", 8};
  d.at = {kDefault, kDefault, 109, 126};

  ControlDecl option;
  option.type = TYPE::Option;
  option.use = "?FORMMODE";
  option.text = "Form Mode";
  option.at = {12, 7, 87, 94};
  option.bind = Binding::text(mode);
  option.props = {{PROP::Boxed, 1}};
  d.controls.push_back(option);
  d.controls.push_back(radio("?FORMMODE:RADIO1", "Original", "ORIGINAL", 23));
  d.controls.push_back(radio("?FORMMODE:RADIO1:2", "Flat", "FLAT", 40));
  d.controls.push_back(radio("?FORMMODE:RADIO1:3", "Colors", "COLORS", 57));
  d.controls.push_back(radio("?FORMMODE:RADIO1:4", "Transparent", "TRANSPARENT", 73));
  d.controls.push_back(radio("?FORMMODE:RADIO1:5", "Quit", "QUIT", 87));

  ControlDecl select;
  select.type = TYPE::Button;
  select.use = "?OKBUTTON";
  select.text = "&Select";
  select.at = {11, 104, 87, 14};
  d.controls.push_back(select);
  return d;
}

std::string SelectMode(DemoState& state) {
  char mode[32];
  text::assign(mode, "ORIGINAL");
  Window window(selectModeDecl(mode));
  window.open();
  Noted noted(state, window, kSelectModeCaption);
  if (!noted) return "QUIT";
  const int select = window.fieldOf("?OKBUTTON");
  while (window.accept()) {
    if (event() == EVENT::Accepted && field() == select) window.post(EVENT::CloseWindow);
  }
  return std::string(text::clipped(mode));
}

}  // namespace wevo::demo

