// What reaches the view: snapshots carry everything a widget needs, and
// changes go out when the thread waits.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using testing::TestWindow;
using toolkit::ControlSnapshot;
using toolkit::ScreenWindow;

TEST(WindowSnapshot, AnOpenedWindowShowsWhatTheModelSays) {
  char name[10];
  std::memcpy(name, "Ann       ", 10);
  int32_t amount = 0, flag = 1;
  char mode[4] = {'B', ' ', ' ', ' '};
  int32_t layout = 2;
  TestWindow d("Sample", 200, 150);
  d.decl().font = FontSpec{"Arial", 10, COLOR::None, 0, 0};
  d.entry("?NAME", "s10", Binding::text(name), {10, 10}).msg = "Type a name";
  d.entry("?AMOUNT", "n-14b", Binding::long32(&amount), {10, 25}).props = {{PROP::Right, Value(1)},
                                                                           {PROP::RightOffset, Value(2)}};
  ControlDecl& check = d.check("?FLAG", "Flag", Binding::long32(&flag), {10, 40});
  check.textColor = COLOR::Red;
  check.background = 0xD7FFFF;
  d.option("?MODE", "Mode", Binding::text(mode), {100, 10, 80, 40});
  d.radio("?MODE:A", "A", "A", "?MODE", {105, 20});
  d.radio("?MODE:B", "B", "B", "?MODE", {105, 30});
  d.dropList("?LAYOUT", "Default|#0|Left to Right|#1|Right to Left|#2", Binding::long32(&layout), {10, 60, 80, 10});
  d.group("?G", "Group", {10, 80, 80, 40}).disabled = true;
  d.button("?IN", "Inside", {15, 90, 40, 14}).parent = "?G";
  d.sheet("?SHEET", {100, 60, 90, 60});
  d.tab("?T1", "One", "?SHEET");
  d.tab("?T2", "Two", "?SHEET");
  d.button("?ON2", "On two", {105, 80, 40, 14}).parent = "?T2";
  d.prompt("?P", "Prompt", {10, 130}).font = FontSpec{"", 0, COLOR::None, 700, 0};

  std::optional<ScreenWindow> screen;
  Script script;
  script.call([&] { screen = testing::screenWindow(target()->handle()); }).closeWindow();
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept()) {
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  ASSERT_TRUE(screen.has_value());
  const toolkit::WindowSnapshot& win = screen->window;
  EXPECT_EQ(win.caption, "Sample");
  EXPECT_EQ(win.width, 200 * 8 / 4);   // Arial 10: 8 x 16 px; 2 px a unit across
  EXPECT_EQ(win.height, 150 * 2);      // 16 / 8 = 2 px a unit down
  EXPECT_EQ(win.font.face, "Arial");
  EXPECT_EQ(win.focusedField, 1);
  EXPECT_EQ(win.statusText, "Type a name");
  EXPECT_FALSE(win.blocked);
  EXPECT_NE(win.handle, 0);
  EXPECT_EQ(win.clientHandle, win.handle + 1);

  auto c = [&](int field) -> const ControlSnapshot& { return screen->controls.at(field); };
  EXPECT_EQ(c(1).label, "?NAME");
  EXPECT_EQ(c(1).type, TYPE::Entry);
  EXPECT_EQ(c(1).text, "Ann");
  EXPECT_EQ(c(1).picture, "s10");
  EXPECT_EQ(c(1).x, 20);
  EXPECT_EQ(c(1).y, 20);
  EXPECT_EQ(c(1).width, 11 * 8);  // natural: ten characters and one of room
  EXPECT_TRUE(c(1).focused);
  EXPECT_EQ(c(1).tabOrder, 1);
  EXPECT_EQ(c(1).font.face, "Arial");  // inherited from the window
  EXPECT_EQ(c(2).text, "");            // "b": blank when zero
  EXPECT_EQ(c(2).justify, 'R');
  EXPECT_EQ(c(2).justifyOffset, 4);
  EXPECT_TRUE(c(3).checked);
  EXPECT_EQ(c(3).font.color, COLOR::Red);
  EXPECT_EQ(c(3).background, 0xD7FFFF);
  EXPECT_FALSE(c(5).checked);  // radio A
  EXPECT_TRUE(c(6).checked);   // radio B: the option's variable holds "B"
  EXPECT_EQ(c(6).parent, 4);
  EXPECT_EQ(c(7).choices, (std::vector<std::string>{"Default", "Left to Right", "Right to Left"}));
  EXPECT_EQ(c(7).selected, 3);
  EXPECT_EQ(c(7).drop, 5);
  EXPECT_TRUE(c(8).disabled);            // the group itself
  EXPECT_TRUE(c(9).disabled);            // inside a disabled group
  EXPECT_FALSE(c(9).hidden);
  EXPECT_EQ(c(10).currentTab, 11);
  EXPECT_TRUE(c(11).visible);
  EXPECT_FALSE(c(12).visible);
  EXPECT_FALSE(c(13).visible);  // on the tab that does not show
  EXPECT_EQ(c(14).font.style, 700);
  EXPECT_EQ(c(14).width, 6 * 8);
}

TEST(WindowSnapshot, ChangesGoOutWhenTheThreadWaits) {
  TestWindow d("Main");
  d.string("?S", "one", {10, 10});
  Script script;
  std::vector<std::string> seen;
  std::vector<bool> handlesShown;
  auto shown = [&] {
    std::optional<ControlSnapshot> s = testing::shownControl("Main", "?S");
    seen.push_back(s ? s->text : "(none)");
    std::optional<ScreenWindow> w = testing::screenWindow(target()->handle());
    handlesShown.push_back(w->controls.count(10001) == 1);
  };
  script
      .call([&] {
        shown();
        Window* w = target();
        w->set(1, PROP::Text, "two");
        w->create(10001, TYPE::Region);
        w->set(10001, PROP::Fill, 255);
        shown();
      })
      .call([&] {
        shown();
        target()->destroy(10001);
      })
      .call(shown)
      .closeWindow();
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    while (w.accept()) {
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(seen, (std::vector<std::string>{"one", "one", "two", "two"}));
  EXPECT_EQ(handlesShown, (std::vector<bool>{false, false, true, false}));
  EXPECT_FALSE(testing::shownWindow("Main").has_value());  // no program runs any more
}

TEST(WindowSnapshot, ClosingAWindowTakesItOffTheScreen) {
  TestWindow a("A");
  TestWindow b("B");
  bool bShownBefore = false, bShownAfter = true;
  Script script;
  script.call([&] { bShownBefore = testing::shownWindow("B").has_value(); }, "B").closeWindow("B").call(
      [&] { bShownAfter = testing::shownWindow("B").has_value(); }, "A").closeWindow("A");
  ProgramResult r = testing::runScripted(script, [&] {
    Window wa(a.decl());
    wa.open();
    start([&] {
      Window wb(b.decl());
      wb.open();
      while (wb.accept()) {
      }
    });
    while (wa.accept()) {
    }
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_TRUE(bShownBefore);
  EXPECT_FALSE(bShownAfter);
}

}  // namespace
}  // namespace wevo
