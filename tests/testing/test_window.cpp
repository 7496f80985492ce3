#include "tests/testing/test_window.h"

#include <utility>

namespace wevo::testing {

TestWindow::TestWindow(std::string caption, int width, int height) {
  decl_.caption = std::move(caption);
  decl_.at = At{kDefault, kDefault, width, height};
}

ControlDecl& TestWindow::add(int type, std::string use, std::string text, At at) {
  ControlDecl c;
  c.type = type;
  c.use = std::move(use);
  c.text = std::move(text);
  c.at = at;
  decl_.controls.push_back(std::move(c));
  return decl_.controls.back();
}

ControlDecl& TestWindow::button(std::string use, std::string text, At at) {
  return add(TYPE::Button, std::move(use), std::move(text), at);
}

ControlDecl& TestWindow::prompt(std::string use, std::string text, At at) {
  return add(TYPE::Prompt, std::move(use), std::move(text), at);
}

ControlDecl& TestWindow::string(std::string use, std::string text, At at) {
  return add(TYPE::String, std::move(use), std::move(text), at);
}

ControlDecl& TestWindow::entry(std::string use, std::string picture, Binding bind, At at) {
  ControlDecl& c = add(TYPE::Entry, std::move(use), std::move(picture), at);
  c.bind = bind;
  return c;
}

ControlDecl& TestWindow::spin(std::string use, std::string picture, Binding bind, int low, int high, At at) {
  ControlDecl& c = add(TYPE::Spin, std::move(use), std::move(picture), at);
  c.bind = bind;
  c.rangeLow = low;
  c.rangeHigh = high;
  return c;
}

ControlDecl& TestWindow::text(std::string use, Binding bind, At at) {
  ControlDecl& c = add(TYPE::Text, std::move(use), "", at);
  c.bind = bind;
  return c;
}

ControlDecl& TestWindow::check(std::string use, std::string text, Binding bind, At at) {
  ControlDecl& c = add(TYPE::Check, std::move(use), std::move(text), at);
  c.bind = bind;
  return c;
}

ControlDecl& TestWindow::option(std::string use, std::string text, Binding bind, At at) {
  ControlDecl& c = add(TYPE::Option, std::move(use), std::move(text), at);
  c.bind = bind;
  return c;
}

ControlDecl& TestWindow::radio(std::string use, std::string text, std::string value, std::string option, At at) {
  ControlDecl& c = add(TYPE::Radio, std::move(use), std::move(text), at);
  c.value = std::move(value);
  c.parent = std::move(option);
  return c;
}

ControlDecl& TestWindow::group(std::string use, std::string text, At at) {
  return add(TYPE::Group, std::move(use), std::move(text), at);
}

ControlDecl& TestWindow::list(std::string use, std::string format, At at) {
  ControlDecl& c = add(TYPE::List, std::move(use), "", at);
  c.format = std::move(format);
  return c;
}

ControlDecl& TestWindow::dropList(std::string use, std::string from, Binding bind, At at) {
  ControlDecl& c = add(TYPE::DropList, std::move(use), "", at);
  c.from = std::move(from);
  c.drop = 5;
  c.bind = bind;
  return c;
}

ControlDecl& TestWindow::sheet(std::string use, At at) { return add(TYPE::Sheet, std::move(use), "", at); }

ControlDecl& TestWindow::tab(std::string use, std::string text, std::string sheet) {
  ControlDecl& c = add(TYPE::Tab, std::move(use), std::move(text));
  c.parent = std::move(sheet);
  return c;
}

ControlDecl& TestWindow::region(std::string use, At at) { return add(TYPE::Region, std::move(use), "", at); }

}  // namespace wevo::testing
