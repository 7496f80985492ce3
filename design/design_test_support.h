// Running design mode in tests: a host program whose window enters design
// mode on Ctrl+Alt+D, the scripted user's steps, and what the host saw
// after design mode returned. Header only; included by design/*_test.cpp.
#ifndef WEVO_DESIGN_DESIGN_TEST_SUPPORT_H_
#define WEVO_DESIGN_DESIGN_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "design/design_session.h"
#include "store/store_file_vars.h"
#include "store/store_thread.h"
#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::design::testing {

inline constexpr int kHotKey = KEY::Ctrl + KEY::Alt + 'D';  // 1604
inline constexpr const char* kProcedure = "OrderForm";
inline constexpr const char* kMarker = "Mark";
inline constexpr int kAfterKey = KEY::F1 + 1;  // F2: the host's own key after design mode

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};
inline std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.x << ", " << r.y << ", " << r.w << " x " << r.h << ")";
}

// A control's (or, for 0, the window's) rectangle in pixels, whatever mode
// the window is in.
inline Rect pixelRect(Window& w, int field) {
  const auto mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 1);
  Rect r{w.get(field, PROP::XPos).i32(), w.get(field, PROP::YPos).i32(), w.get(field, PROP::Width).i32(),
         w.get(field, PROP::Height).i32()};
  w.set(0, PROP::Pixels, mode);
  return r;
}

inline Rect unitRect(Window& w, int field) {
  const auto mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 0);
  Rect r{w.get(field, PROP::XPos).i32(), w.get(field, PROP::YPos).i32(), w.get(field, PROP::Width).i32(),
         w.get(field, PROP::Height).i32()};
  w.set(0, PROP::Pixels, mode);
  return r;
}

// Places a control at a pixel rectangle.
inline void placePixels(Window& w, int field, Rect r) {
  const auto mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 1);
  w.setPosition(field, r.x, r.y, r.w, r.h);
  w.set(0, PROP::Pixels, mode);
}

// What the selection's handles mark: from handle 1's corner to handle 5's
// far corner.
inline Rect marked(Window& w) {
  Rect h1 = pixelRect(w, 10001), h5 = pixelRect(w, 10005);
  return {h1.x, h1.y, h5.x + h5.w - h1.x, h5.y + h5.h - h1.y};
}

// The design state of the run in progress on the calling thread (a call
// step runs there); a blank state when none runs.
inline MorphState running() {
  DesignSession* s = RunningSession();
  MorphState none;
  none.CONTROLNO = -1;
  return s != nullptr ? s->state() : none;
}

inline std::string clipped(std::string_view s) { return std::string(text::clip(s)); }

// What the host saw once design mode returned.
struct After {
  bool returned = false;
  bool resumed = false;         // EVENT::Resumed reached the host's loop
  bool focusKey = false;        // F2, pressed after design mode, reached the host
  int64_t pixels = -1;          // the host's coordinate mode
  int32_t globalResponse = -1;
  int64_t capture = -1;
  std::string cursor = "?";
  bool handlesLeft = true;
  bool overlayOpen = true;
};

class DesignModeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    store::setStoreFileName("");
    store::setStoreOwner("");
  }

  // Runs a host program. `setup` (on the open window, before anything else)
  // returns the field design mode starts with. The script presses the hot
  // key, then `steps`, then F2 for the host; the host's loop enters design
  // mode on the hot key and ends on F2.
  ProgramResult run(const WindowDecl& decl, const std::function<int(Window&)>& setup, const Script& steps,
                    After& after) {
    Script script;
    script.key(kHotKey);
    for (const ScriptStep& s : steps.steps()) script.steps().push_back(s);
    script.key(kAfterKey);
    WindowDecl d = decl;
    d.alerts.push_back(kHotKey);
    d.alerts.push_back(kAfterKey);
    RunOptions options;
    options.args = {store::testing::kProgram};
    return wevo::testing::runScripted(
        script,
        [&] {
          Window window(d);
          window.open();
          host = &window;
          const int field = setup ? setup(window) : 0;
          while (window.accept()) {
            if (event() == EVENT::AlertKey && keyCode() == kHotKey) {
              WEVO::PROCESSWINDOW(window, field, kProcedure, kMarker, settings);
              after.returned = true;
              after.pixels = window.get(0, PROP::Pixels).num();
              after.globalResponse = store::GlobalResponse();
              after.capture = capture();
              after.cursor = cursor();
              after.handlesLeft = false;
              for (int n = 0; n < 8; ++n) after.handlesLeft = after.handlesLeft || window.exists(10001 + n);
              after.overlayOpen = wevo::testing::shownWindow("MORPHWINDOW").has_value();
            } else if (event() == EVENT::Resumed) {
              after.resumed = true;
            } else if (event() == EVENT::AlertKey && keyCode() == kAfterKey) {
              after.focusKey = true;
              break;
            }
          }
          host = nullptr;
        },
        options);
  }

  std::vector<store::WindowControls> rows() {
    store::testing::Read<store::WindowControls> all =
        store::testing::readAll<store::WindowControls>(store::winDecl(), storeName, "");
    EXPECT_TRUE(all.ok) << all.error;
    return all.rows;
  }
  // The override row of `label`; a cleared row with UID 0 when none.
  store::WindowControls row(const std::string& label) {
    for (const store::WindowControls& r : rows())
      if (clipped(text::field(r.UNIQUEMARKER)) == kMarker && clipped(text::field(r.CONTROLLABEL)) == label)
        return r;
    store::WindowControls none{};
    none.UID = 0;
    return none;
  }
  static Rect stored(const store::WindowControls& r) { return {r.X, r.Y, r.WIDTH, r.HEIGHT}; }

  // Repaints asked of the host window so far.
  int repaints() {
    if (host == nullptr) return -1;
    std::optional<toolkit::ScreenWindow> w = wevo::testing::screenWindow(host->handle());
    return w ? w->invalidations : -1;
  }

  wevo::testing::TempDir dir;
  std::string storeName = dir.file("SALES.wevo");
  WEVOSETTINGS settings = store::testing::settings(dir.path());
  Window* host = nullptr;  // while the program runs
};

}  // namespace wevo::design::testing

#endif  // WEVO_DESIGN_DESIGN_TEST_SUPPORT_H_
