#include "design/design_keys.h"

#include <algorithm>

#include "design/pixel_rect.h"
#include "wevo/codes.h"

namespace wevo::design {
namespace {

constexpr int kArrows[] = {KEY::Left, KEY::Up, KEY::Right, KEY::Down};

bool arrow(int key, int& dx, int& dy) {
  dx = dy = 0;
  switch (key) {
    case KEY::Left: dx = -1; return true;
    case KEY::Up: dy = -1; return true;
    case KEY::Right: dx = 1; return true;
    case KEY::Down: dy = 1; return true;
    default: return false;
  }
}

}  // namespace

KeyAction DesignKeyAction(int key) {
  KeyAction a;
  const int modifiers = key & (KEY::Shift | KEY::Ctrl | KEY::Alt);
  if (arrow(key & ~modifiers, a.dx, a.dy)) {
    if (modifiers == 0) a.command = KeyCommand::kNudge;
    if (modifiers == KEY::Ctrl) a.command = KeyCommand::kGridMove;
    if (modifiers == KEY::Shift) a.command = KeyCommand::kResize;
    return a;
  }
  switch (key) {
    case KEY::MouseRight: a.command = KeyCommand::kRightButton; break;
    case KEY::Tab: a.command = KeyCommand::kNext; break;
    case KEY::Tab | KEY::Shift: a.command = KeyCommand::kPrevious; break;
    case KEY::Enter: a.command = KeyCommand::kEdit; break;
    case KEY::Apps: a.command = KeyCommand::kMenu; break;
    case KEY::Ctrl + 'Z': a.command = KeyCommand::kUndo; break;
    case KEY::Ctrl + 'Y': case KEY::Ctrl + KEY::Shift + 'Z': a.command = KeyCommand::kRedo; break;
    case KEY::Esc: a.command = KeyCommand::kEscape; break;
    default: a.command = KeyCommand::kEnd; break;
  }
  return a;
}

std::vector<int> DesignAlertedKeys() {
  std::vector<int> keys = {KEY::MouseRight, KEY::MouseLeft2, KEY::Esc, KEY::Left, KEY::Up,
                           KEY::Right,      KEY::Down,       KEY::F8,  KEY::F9,   KEY::F10};
  for (int a : kArrows) {
    keys.push_back(a | KEY::Ctrl);
    keys.push_back(a | KEY::Shift);
  }
  keys.insert(keys.end(), {KEY::Tab, KEY::Tab | KEY::Shift, KEY::Enter, KEY::Apps, KEY::Ctrl + 'Z', KEY::Ctrl + 'Y',
                           KEY::Ctrl + KEY::Shift + 'Z'});
  return keys;
}

int32_t NextInTabOrder(const controllist::ControlQueue& controls, const Window& host, int32_t from, bool backwards) {
  controllist::ControlQueue order = controls;
  controllist::SortByTabOrder(order);
  std::vector<int32_t> walk;
  for (const controllist::WNCTL& row : order)
    if (row.FEQ == 0 || Showing(host, row.FEQ)) walk.push_back(row.FEQ);
  if (walk.empty()) return from;
  auto at = std::find(walk.begin(), walk.end(), from);
  if (at == walk.end()) return backwards ? walk.back() : walk.front();
  const size_t n = walk.size();
  const size_t i = static_cast<size_t>(at - walk.begin());
  return walk[backwards ? (i + n - 1) % n : (i + 1) % n];
}

}  // namespace wevo::design
