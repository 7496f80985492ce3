#include "wevo/script.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "wevo/codes.h"

namespace wevo {

namespace {

ScriptStep at(ScriptStep::Kind kind, int x, int y, std::string window) {
  ScriptStep s{};
  s.kind = kind;
  s.x = x;
  s.y = y;
  s.window = std::move(window);
  return s;
}

ScriptStep of(ScriptStep::Kind kind) {
  ScriptStep s{};
  s.kind = kind;
  return s;
}

}  // namespace

Script& Script::add(ScriptStep step) {
  steps_.push_back(std::move(step));
  return *this;
}

Script& Script::press(int x, int y, std::string window) { return add(at(ScriptStep::Press, x, y, std::move(window))); }
Script& Script::move(int x, int y, std::string window) { return add(at(ScriptStep::Move, x, y, std::move(window))); }
Script& Script::release(int x, int y, std::string window) {
  return add(at(ScriptStep::Release, x, y, std::move(window)));
}

Script& Script::click(int x, int y, std::string window) {
  press(x, y, window);
  return release(x, y, std::move(window));
}

Script& Script::drag(int fromX, int fromY, int toX, int toY, std::string window, int stepPixels) {
  if (stepPixels < 1) stepPixels = 1;
  press(fromX, fromY, window);
  int dx = toX - fromX, dy = toY - fromY;
  int steps = std::max((std::abs(dx) + stepPixels - 1) / stepPixels, (std::abs(dy) + stepPixels - 1) / stepPixels);
  for (int i = 1; i <= steps; ++i) move(fromX + dx * i / steps, fromY + dy * i / steps, window);
  return release(toX, toY, std::move(window));
}

Script& Script::rightPress(int x, int y, std::string window) {
  return add(at(ScriptStep::RightPress, x, y, std::move(window)));
}

Script& Script::rightRelease(int x, int y, std::string window) {
  return add(at(ScriptStep::RightRelease, x, y, std::move(window)));
}

Script& Script::rightClick(int x, int y, std::string window) {
  add(at(ScriptStep::RightPress, x, y, window));
  return add(at(ScriptStep::RightRelease, x, y, std::move(window)));
}

Script& Script::doubleClick(int x, int y, std::string window) {
  return add(at(ScriptStep::DoubleClick, x, y, std::move(window)));
}

Script& Script::key(int code) {
  ScriptStep s = of(ScriptStep::Key);
  s.code = code;
  return add(std::move(s));
}

Script& Script::type(std::string text) {
  ScriptStep s = of(ScriptStep::Type);
  s.text = std::move(text);
  return add(std::move(s));
}

Script& Script::clickControl(std::string label, std::string window) {
  ScriptStep s = of(ScriptStep::ClickControl);
  s.label = std::move(label);
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::selectTab(std::string label, std::string window) {
  ScriptStep s = of(ScriptStep::SelectTab);
  s.label = std::move(label);
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::selectRow(std::string label, int row, std::string window) {
  ScriptStep s = of(ScriptStep::SelectRow);
  s.label = std::move(label);
  s.code = row;
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::closeWindow(std::string window) {
  ScriptStep s = of(ScriptStep::CloseWindow);
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::resizeWindow(int width, int height, std::string window) {
  return add(at(ScriptStep::ResizeWindow, width, height, std::move(window)));
}

Script& Script::maximizeWindow(int width, int height, std::string window) {
  ScriptStep s = at(ScriptStep::ResizeWindow, width, height, std::move(window));
  s.code = EVENT::Maximized;
  return add(std::move(s));
}

Script& Script::restoreWindow(int width, int height, std::string window) {
  ScriptStep s = at(ScriptStep::ResizeWindow, width, height, std::move(window));
  s.code = EVENT::Restored;
  return add(std::move(s));
}

Script& Script::answer(std::string title, int button) {
  ScriptStep s = of(ScriptStep::Answer);
  s.text = std::move(title);
  s.code = button;
  return add(std::move(s));
}

Script& Script::choosePopup(int item) {
  ScriptStep s = of(ScriptStep::ChoosePopup);
  s.code = item;
  return add(std::move(s));
}

Script& Script::pickColor(int32_t color) {
  ScriptStep s = of(ScriptStep::PickColor);
  s.code = color;
  return add(std::move(s));
}

Script& Script::cancelColor() {
  ScriptStep s = of(ScriptStep::PickColor);
  s.cancel = true;
  return add(std::move(s));
}

Script& Script::pickFile(std::string path) {
  ScriptStep s = of(ScriptStep::PickFile);
  s.text = std::move(path);
  return add(std::move(s));
}

Script& Script::cancelFile() {
  ScriptStep s = of(ScriptStep::PickFile);
  s.cancel = true;
  return add(std::move(s));
}

Script& Script::stopChoice(bool endProgram) {
  ScriptStep s = of(ScriptStep::StopChoice);
  s.code = endProgram ? 1 : 0;
  return add(std::move(s));
}

Script& Script::call(std::function<void()> fn, std::string window) {
  ScriptStep s = of(ScriptStep::Call);
  s.call = std::move(fn);
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::screenshot(std::string name, std::string window) {
  ScriptStep s = of(ScriptStep::Screenshot);
  s.text = std::move(name);
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::scroll(std::string label, int event, int thumb, std::string window) {
  ScriptStep s = of(ScriptStep::Scroll);
  s.label = std::move(label);
  s.code = event;
  s.x = thumb;
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::activate(std::string window) {
  ScriptStep s = of(ScriptStep::Activate);
  s.window = std::move(window);
  return add(std::move(s));
}

Script& Script::switchAway() { return add(of(ScriptStep::SwitchAway)); }

}  // namespace wevo
