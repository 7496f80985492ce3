// The frame's standard actions: edit commands are the view's (the clipboard
// and the selection are the platform's); arrangements are worked out here
// from what is on screen and reach each window as the user's moves and
// sizes, on the window's own thread. Printer setup is a dialog (dialogs.cpp).
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/toolkit/input.h"
#include "platform/toolkit/program_state.h"
#include "wevo/frame_actions.h"

namespace wevo {

using toolkit::InputMessage;
using toolkit::Program;
using toolkit::WindowSnapshot;

bool editFocusedControl(int64_t handle, EditCommand command) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return false;
  // A client-area handle names its window too.
  const int64_t window = p->windowHandle(handle);
  if (window == 0) return false;
  return p->view().editFocused(window, command);
}

namespace {

struct Place {
  int64_t handle;
  int x, y;
  std::optional<std::pair<int, int>> size;  // client size to take, if any
};

void send(Program& p, const Place& place) {
  InputMessage move;
  move.kind = InputMessage::Move;
  move.window = place.handle;
  move.x = place.x;
  move.y = place.y;
  p.postInput(move);
  if (!place.size) return;
  InputMessage size;
  size.kind = InputMessage::Resize;
  size.window = place.handle;
  size.x = place.size->first;
  size.y = place.size->second;
  p.postInput(size);
}

std::vector<Place> tile(const std::vector<WindowSnapshot>& windows, int x, int y, int width, int height) {
  std::vector<Place> out;
  const int n = static_cast<int>(windows.size());
  if (n == 0) return out;
  const int cols = static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n))));
  const int rows = (n + cols - 1) / cols;
  const int cellW = std::max(1, width / cols), cellH = std::max(1, height / rows);
  for (int i = 0; i < n; ++i) {
    const WindowSnapshot& w = windows[static_cast<size_t>(i)];
    Place place{w.handle, x + (i % cols) * cellW, y + (i / cols) * cellH, std::nullopt};
    if (w.frameType == 2) place.size = std::make_pair(cellW, cellH);
    out.push_back(place);
  }
  return out;
}

// Each a step down and right of the last; one that would reach past the
// area's right or bottom edge starts again from the top left corner.
std::vector<Place> cascade(const std::vector<WindowSnapshot>& windows, int x, int y, int width, int height) {
  std::vector<Place> out;
  int step = 0;
  for (const WindowSnapshot& w : windows) {
    int at = step * kCascadeStep;
    if (step > 0 && (at + w.width > width || at + w.height > height)) {
      step = 0;
      at = 0;
    }
    out.push_back(Place{w.handle, x + at, y + at, std::nullopt});
    ++step;
  }
  return out;
}

std::vector<Place> icons(const std::vector<WindowSnapshot>& windows, int x, int y, int width, int height) {
  std::vector<Place> out;
  const int perRow = std::max(1, width / kIconWidth);
  for (size_t i = 0; i < windows.size(); ++i) {
    const int col = static_cast<int>(i) % perRow, row = static_cast<int>(i) / perRow;
    out.push_back(Place{windows[i].handle, x + col * kIconWidth, y + height - (row + 1) * kIconHeight, std::nullopt});
  }
  return out;
}

}  // namespace

void arrangeWindows(const std::vector<int64_t>& handles, Arrangement how, int x, int y, int width, int height) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  // Where each window is as the screen shows it: a window of another thread
  // is that thread's to read.
  std::vector<WindowSnapshot> windows;
  for (int64_t handle : handles) {
    std::optional<toolkit::ScreenWindow> shown = p->screen().window(handle);
    if (!shown || shown->window.hidden) continue;
    if (shown->window.iconized == (how == Arrangement::ArrangeIcons)) windows.push_back(shown->window);
  }
  std::vector<Place> places;
  switch (how) {
    case Arrangement::Tile: places = tile(windows, x, y, width, height); break;
    case Arrangement::Cascade: places = cascade(windows, x, y, width, height); break;
    case Arrangement::ArrangeIcons: places = icons(windows, x, y, width, height); break;
  }
  for (const Place& place : places) send(*p, place);
}

}  // namespace wevo
