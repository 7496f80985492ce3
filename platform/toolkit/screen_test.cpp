#include "platform/toolkit/screen.h"

#include <gtest/gtest.h>

namespace wevo::toolkit {
namespace {

TEST(Screen, KeepsACopyOfWhatWasSentToTheView) {
  Screen screen;
  ViewUpdate open;
  open.handle = 100;
  open.opened = true;
  open.window = WindowSnapshot{};
  open.window->caption = "Main";
  open.window->handle = 100;
  ControlSnapshot a;
  a.field = 1;
  a.text = "one";
  ControlSnapshot b;
  b.field = 2;
  b.text = "two";
  open.controls = {a, b};
  screen.apply(open);
  ViewUpdate change;
  change.handle = 100;
  change.destroyed = {1};
  b.text = "TWO";
  change.controls = {b};
  screen.apply(change);
  screen.noteInvalidate(100);
  screen.noteInvalidate(101);  // the client handle counts for its window
  std::optional<ScreenWindow> w = screen.window(100);
  ASSERT_TRUE(w.has_value());
  EXPECT_EQ(w->controls.size(), 1u);
  EXPECT_EQ(w->controls.at(2).text, "TWO");
  EXPECT_EQ(w->invalidations, 1);  // 101 is not this window's client handle here
  EXPECT_EQ(w->updates, 2);
  ViewUpdate closed;
  closed.handle = 100;
  closed.closed = true;
  screen.apply(closed);
  EXPECT_FALSE(screen.window(100).has_value());
}

TEST(Screen, FindsWindowsByCaptionAndTheActiveOne) {
  Screen s;
  auto open = [&](int64_t h, const char* caption, int64_t order, bool hidden) {
    ViewUpdate u;
    u.handle = h;
    u.window = WindowSnapshot{};
    u.window->handle = h;
    u.window->clientHandle = h + 1;
    u.window->caption = caption;
    u.window->openOrder = order;
    u.window->hidden = hidden;
    s.apply(u);
  };
  open(10, "Main", 1, false);
  open(20, "main", 2, false);
  open(30, "Overlay", 3, true);
  open(40, "Main", 4, false);
  EXPECT_EQ(s.find("Main")->handle, 40);   // the newest of the exact matches
  EXPECT_EQ(s.find("main  ")->handle, 20); // trailing blanks do not count
  EXPECT_EQ(s.find("MAIN")->handle, 40);   // case only when nothing matches exactly
  EXPECT_EQ(s.find("")->handle, 40);       // the active window: the newest shown
  EXPECT_EQ(s.find("Overlay")->handle, 30);
  EXPECT_FALSE(s.find("Nothing").has_value());
  s.noteInvalidate(31);
  EXPECT_EQ(s.window(30)->invalidations, 1);
  ASSERT_EQ(s.windows().size(), 4u);
  EXPECT_EQ(s.windows().front().handle, 10);
}

}  // namespace
}  // namespace wevo::toolkit
