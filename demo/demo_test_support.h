// Running the demonstration in tests: the program in a folder of its own
// (its store is <folder>/wevodemo.wevo), its rows read back, and the
// controls' places. Header only; included by demo/*_test.cpp.
#ifndef WEVO_DEMO_DEMO_TEST_SUPPORT_H_
#define WEVO_DEMO_DEMO_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo/demo_settings.h"
#include "demo/demo_state.h"
#include "demo/frame.h"
#include "demo/tour_steps.h"
#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "wevo/toolkit.h"

namespace wevo::demo {

inline void PrintTo(const PixelRect& r, std::ostream* os) {
  *os << "(" << r.x << ", " << r.y << ", " << r.w << " x " << r.h << ")";
}

}  // namespace wevo::demo

namespace wevo::demo::testing {

using store::WindowControls;

inline std::string password() { return std::string(text::clip(kPasswordLiteral)); }

// The control's place in pixels, whatever mode the window is in.
inline PixelRect placeOf(Window& w, const std::string& label) {
  const int64_t mode = w.get(0, PROP::Pixels).num();
  w.set(0, PROP::Pixels, 1);
  const int f = w.fieldOf(label);
  PixelRect r{w.get(f, PROP::XPos).i32(), w.get(f, PROP::YPos).i32(), w.get(f, PROP::Width).i32(),
              w.get(f, PROP::Height).i32()};
  w.set(0, PROP::Pixels, mode);
  return r;
}

struct DemoFolder {
  wevo::testing::TempDir dir;
  std::string program = dir.file("wevodemo");
  std::string store = dir.file("wevodemo.wevo");
  std::shared_ptr<DemoState> state = std::make_shared<DemoState>();

  // Runs the whole program (the frame and what the script opens from it)
  // as <folder>/wevodemo, on the headless view unless `view` says otherwise.
  ProgramResult run(const Script& script, ViewFactory view = {}) {
    RunOptions options;
    options.args = {program};
    options.view = std::move(view);
    std::shared_ptr<DemoState> s = state;
    return wevo::testing::runScripted(script, [s] { DemoProgram(s); }, options);
  }

  store::testing::Read<WindowControls> read(const std::string& owner) const {
    return store::testing::readAll<WindowControls>(store::winDecl(), store, owner);
  }
  std::vector<WindowControls> rows() const {
    store::testing::Read<WindowControls> all = read(password());
    EXPECT_TRUE(all.ok) << "error " << all.error;
    return all.rows;
  }
};

// The row of (procedure, marker, label); nullptr when there is none.
inline const WindowControls* findRow(const std::vector<WindowControls>& rows, const std::string& procedure,
                                     const std::string& marker, const std::string& label) {
  for (const WindowControls& r : rows)
    if (text::clipped(r.PROCEDURENAME) == procedure && text::clipped(r.UNIQUEMARKER) == marker &&
        text::clipped(r.CONTROLLABEL) == label)
      return &r;
  return nullptr;
}

inline size_t countRows(const std::vector<WindowControls>& rows, const std::string& procedure,
                        const std::string& marker) {
  size_t n = 0;
  for (const WindowControls& r : rows)
    if (text::clipped(r.PROCEDURENAME) == procedure && text::clipped(r.UNIQUEMARKER) == marker) ++n;
  return n;
}

}  // namespace wevo::demo::testing

#endif  // WEVO_DEMO_DEMO_TEST_SUPPORT_H_
