// What reached the screen: the snapshots of every open window and its
// controls, kept up to date from the updates sent to the view. Safe to use
// from any thread; queries return copies.
//
// The program keeps one: the scripted user finds windows and controls in it
// as a person would find them on screen, a view reads a window's through
// ViewHost::window, and tests assert on what was sent to the view.
#ifndef WEVO_PLATFORM_TOOLKIT_SCREEN_H_
#define WEVO_PLATFORM_TOOLKIT_SCREEN_H_

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/view/view.h"

namespace wevo::toolkit {

struct ScreenWindow : ShownWindow {
  int invalidations = 0;  // repaints asked for since the window opened
  int updates = 0;        // view updates received for it
};

class Screen {
 public:
  void apply(const ViewUpdate& update);
  // A repaint asked for the window with this window or client handle.
  void noteInvalidate(int64_t handle);
  void clear();

  std::optional<ScreenWindow> window(int64_t handle) const;
  std::vector<WindowSnapshot> windows() const;  // oldest first
  // The window with this caption (trailing blanks ignored; exact letters
  // first, then ignoring case; the newest when several match). An empty
  // caption names the active window: the newest one that is not hidden.
  std::optional<WindowSnapshot> find(std::string_view caption) const;
  std::optional<ControlSnapshot> control(int64_t handle, int field) const;
  std::optional<ControlSnapshot> control(int64_t handle, std::string_view label) const;

 private:
  mutable std::mutex mu_;
  std::map<int64_t, ScreenWindow> windows_;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_SCREEN_H_
