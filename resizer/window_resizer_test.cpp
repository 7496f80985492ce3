#include "resizer/window_resizer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "resizer/rect_printing.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::resizer {

namespace {

using testing::TestWindow;
using Layout = std::map<std::string, Rect>;

// The headless view's "MS Sans Serif" 8: one dialog unit is 1.5 pixels across
// and 1.625 down, so a window of 200 x 120 units is 300 x 195 pixels.
constexpr int pxAcross(int units) { return units * 3 / 2; }
constexpr int pxDown(int units) { return units * 13 / 8; }

Rect rectOf(const Window& w, int field) {
  Rect r;
  w.getPosition(field, r.XPOS, r.YPOS, r.WIDTH, r.HEIGHT);
  return r;
}

Rect rectOf(const Window& w, std::string_view label) { return rectOf(w, w.fieldOf(label)); }

// Every labelled control's rectangle.
Layout layoutOf(const Window& w) {
  Layout out;
  for (int f = w.firstField(); f != 0; f = w.get(0, PROP::NextField, f).i32())
    if (!w.label(f).empty()) out[w.label(f)] = rectOf(w, f);
  return out;
}

struct Size {
  int32_t width = 0, height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

Size innerSize(const Window& w) {
  return {w.get(0, PROP::ClientWidth).i32(), w.get(0, PROP::ClientHeight).i32()};
}

// A form laid out like the library's own: an entry and a drop list on top, a
// list in the middle, a button at each bottom corner.
TestWindow formWindow() {
  static char name[20];
  static int32_t mode = 0;
  TestWindow d("Form", 200, 120);
  d.entry("?NAME", "s20", Binding::text(name), {10, 10, 100, 12});
  d.dropList("?MODE", "One|#0|Two|#1", Binding::long32(&mode), {120, 10, 70, 12});
  d.list("?LIST", "", {10, 30, 180, 60}).from = "a|b|c";
  d.button("?HELP", "Help", {10, 96, 40, 14});
  d.button("?OK", "OK", {150, 96, 40, 14});
  return d;
}

// Opens `d`, starts a resizer on it with strategy 1, keeping the minimum size,
// and runs the loop the library's forms run: a sized window posts the user
// event the resizer reflows on.
struct Running {
  Window* window = nullptr;
  WindowResizer* resizer = nullptr;
};

ProgramResult runForm(const TestWindow& d, const Script& script, Running& at, int strategy = 1,
                      bool keepMinimum = true, bool postUserOnSized = true) {
  return testing::runScripted(script, [&, strategy, keepMinimum, postUserOnSized] {
    Window w(d.decl());
    w.open();
    WindowResizer resizer(w);
    resizer.StartResizer(strategy, keepMinimum, false);
    at.window = &w;
    at.resizer = &resizer;
    while (w.accept())
      if (event() == EVENT::Sized && postUserOnSized) postToThread(EVENT::User);
    at.window = nullptr;
    at.resizer = nullptr;
  });
}

TEST(WindowResizer, HalfAgainAsWideThenBackToTheStartingSize) {
  Running at;
  Layout start, wider, back;
  Size widerSize;
  std::vector<MoveRow> moves;
  Script script;
  script.call([&] { start = layoutOf(*at.window); })
      .resizeWindow(pxAcross(300), pxDown(120), "Form")
      .call([&] {
        wider = layoutOf(*at.window);
        widerSize = innerSize(*at.window);
        moves = at.resizer->RESIZELIST;
      })
      .resizeWindow(pxAcross(200), pxDown(120), "Form")
      .call([&] { back = layoutOf(*at.window); })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at)));

  EXPECT_EQ(start.at("?OK"), (Rect{150, 96, 40, 14}));
  EXPECT_EQ(widerSize, (Size{300, 120}));
  // The button near the right edge keeps its distance to it and its size.
  EXPECT_EQ(wider.at("?OK"), (Rect{250, 96, 40, 14}));
  // The one near the left edge stays.
  EXPECT_EQ(wider.at("?HELP"), (Rect{10, 96, 40, 14}));
  // The entry, and the drop list that counts as one, grow half again and keep their height.
  EXPECT_EQ(wider.at("?NAME"), (Rect{15, 10, 150, 12}));
  EXPECT_EQ(wider.at("?MODE"), (Rect{180, 10, 105, 12}));
  // The list scales (only across here).
  EXPECT_EQ(wider.at("?LIST"), (Rect{15, 30, 270, 60}));
  // Every managed control got a move row, before and after.
  ASSERT_EQ(moves.size(), 5u);
  EXPECT_EQ(moves[4].BEFORE, (Rect{150, 96, 40, 14}));
  EXPECT_EQ(moves[4].AFTER, (Rect{250, 96, 40, 14}));
  EXPECT_EQ(moves[4].TYPE, TYPE::Button);

  EXPECT_EQ(back, start);
}

TEST(WindowResizer, OddSizesComeBackExactly) {
  Running at;
  Layout start, odd, back;
  Script script;
  script.call([&] { start = layoutOf(*at.window); })
      .resizeWindow(437, 251, "Form")
      .resizeWindow(389, 233, "Form")
      .call([&] { odd = layoutOf(*at.window); })
      .resizeWindow(pxAcross(200), pxDown(120), "Form")
      .call([&] { back = layoutOf(*at.window); })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at)));
  EXPECT_NE(odd, start);
  // Placed from the captured layout, not from the last one: 389 x 233 px is
  // 259 x 143 units (factors 1.295 and 1.1917).
  EXPECT_EQ(odd.at("?NAME"), (Rect{13, 12, 130, 12}));
  EXPECT_EQ(odd.at("?OK"), (Rect{209, 119, 40, 14}));
  EXPECT_EQ(odd.at("?LIST"), (Rect{13, 36, 233, 72}));
  EXPECT_EQ(back, start);
}

TEST(WindowResizer, TheSameSizeAgainChangesNothing) {
  Running at;
  Rect afterFirst, nudged, afterSecond;
  size_t movesFirst = 0, movesSecond = 1;
  Script script;
  script.resizeWindow(pxAcross(300), pxDown(120), "Form")
      .call([&] {
        afterFirst = rectOf(*at.window, "?OK");
        movesFirst = at.resizer->RESIZELIST.size();
        // Moved by the program: a reflow would put it back.
        at.window->setPosition(at.window->fieldOf("?OK"), 7, 8, 9, 10);
        nudged = rectOf(*at.window, "?OK");
      })
      .resizeWindow(pxAcross(300), pxDown(120), "Form")
      .call([&] {
        afterSecond = rectOf(*at.window, "?OK");
        movesSecond = at.resizer->RESIZELIST.size();
      })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at)));
  EXPECT_EQ(afterFirst, (Rect{250, 96, 40, 14}));
  EXPECT_EQ(movesFirst, 5u);
  EXPECT_EQ(nudged, (Rect{7, 8, 9, 10}));
  EXPECT_EQ(afterSecond, nudged);
  EXPECT_EQ(movesSecond, 0u);
}

TEST(WindowResizer, TheWindowCannotShrinkBelowItsStartingSize) {
  Running at;
  Layout start, shrunk;
  Size minimum, size;
  Script script;
  script.call([&] {
          start = layoutOf(*at.window);
          minimum = {at.window->get(0, PROP::MinWidth).i32(), at.window->get(0, PROP::MinHeight).i32()};
        })
      .resizeWindow(pxAcross(100), pxDown(60), "Form")
      .call([&] {
        shrunk = layoutOf(*at.window);
        size = innerSize(*at.window);
      })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at)));
  EXPECT_EQ(minimum, (Size{200, 120}));
  EXPECT_EQ(size, (Size{200, 120}));
  EXPECT_EQ(shrunk, start);
}

TEST(WindowResizer, WithoutTheMinimumKeptControlsScaleDown) {
  Running at;
  Layout smaller;
  Size minimum{-1, -1};
  Script script;
  script.call([&] { minimum = {at.window->get(0, PROP::MinWidth).i32(), at.window->get(0, PROP::MinHeight).i32()}; })
      .resizeWindow(pxAcross(100), pxDown(120), "Form")
      .call([&] { smaller = layoutOf(*at.window); })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at, 1, false)));
  EXPECT_EQ(minimum, (Size{0, 0}));
  EXPECT_EQ(smaller.at("?OK"), (Rect{50, 96, 40, 14}));
  EXPECT_EQ(smaller.at("?HELP"), (Rect{10, 96, 40, 14}));
  EXPECT_EQ(smaller.at("?NAME"), (Rect{5, 10, 50, 12}));
  EXPECT_EQ(smaller.at("?LIST"), (Rect{5, 30, 90, 60}));
}

TEST(WindowResizer, MaximizeRestoreAndFocusEventsReflowWithoutTheUserEvent) {
  Running at;
  Layout start, maximized, restored, focused;
  Script script;
  script.call([&] { start = layoutOf(*at.window); })
      .maximizeWindow(pxAcross(400), pxDown(240), "Form")
      .call([&] { maximized = layoutOf(*at.window); })
      .restoreWindow(pxAcross(200), pxDown(120), "Form")
      .call([&] {
        restored = layoutOf(*at.window);
        // A size the program set reaches the controls on the next focus event.
        at.window->set(0, PROP::Width, 300);
        at.window->post(EVENT::GainFocus);
      })
      .call([&] { focused = layoutOf(*at.window); })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at, 1, true, false)));
  EXPECT_EQ(maximized.at("?OK"), (Rect{350, 216, 40, 14}));
  EXPECT_EQ(maximized.at("?HELP"), (Rect{10, 216, 40, 14}));
  EXPECT_EQ(maximized.at("?NAME"), (Rect{20, 20, 200, 12}));
  EXPECT_EQ(maximized.at("?LIST"), (Rect{20, 60, 360, 120}));
  EXPECT_EQ(restored, start);
  EXPECT_EQ(focused.at("?OK"), (Rect{250, 96, 40, 14}));
}

TEST(WindowResizer, NoResizeCaptureTabsAndMenusAreLeftAlone) {
  int32_t flag = 0;
  TestWindow d("Form", 200, 120);
  d.add(TYPE::MenuBar, "?BAR");
  d.add(TYPE::Menu, "?FILE", "&File").parent = "?BAR";
  d.add(TYPE::Item, "?EXIT", "E&xit").parent = "?FILE";
  d.sheet("?SHEET", {5, 5, 190, 80});
  d.tab("?TAB1", "One", "?SHEET");
  d.tab("?TAB2", "Two", "?SHEET");
  d.check("?ON", "On", Binding::long32(&flag), {10, 30, 40, 10}).parent = "?TAB1";
  d.button("?FIXED", "Fixed", {150, 96, 40, 14}).props = {{PROP::NoResizeCapture, Value(1)}};
  d.button("?OK", "OK", {40, 96, 40, 14});
  Running at;
  std::vector<int32_t> managed;
  std::vector<std::string> moved;
  Rect fixed, ok, sheet;
  Script script;
  script.call([&] {
          for (const ControlRow& r : at.resizer->CONTROLQUEUE) managed.push_back(r.ID);
        })
      .resizeWindow(pxAcross(300), pxDown(180), "Form")
      .call([&] {
        for (const MoveRow& m : at.resizer->RESIZELIST) moved.push_back(at.window->label(m.CONTROLID));
        fixed = rectOf(*at.window, "?FIXED");
        ok = rectOf(*at.window, "?OK");
        sheet = rectOf(*at.window, "?SHEET");
      })
      .closeWindow("Form");
  std::map<std::string, int> fields;
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    for (const char* label : {"?SHEET", "?ON", "?OK"}) fields[label] = w.fieldOf(label);
    WindowResizer resizer(w);
    resizer.StartResizer(1, true, false);
    at = {&w, &resizer};
    while (w.accept())
      if (event() == EVENT::Sized) postToThread(EVENT::User);
    at = {};
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(managed, (std::vector<int32_t>{fields["?SHEET"], fields["?ON"], fields["?OK"]}));
  EXPECT_EQ(moved, (std::vector<std::string>{"?SHEET", "?ON", "?OK"}));
  EXPECT_EQ(fixed, (Rect{150, 96, 40, 14}));
  // OK: nearer the left edge and the bottom; it keeps both distances.
  EXPECT_EQ(ok, (Rect{40, 156, 40, 14}));
  EXPECT_EQ(sheet, (Rect{8, 8, 285, 120}));
}

// A resizer that reports what the reflow sees while it places controls.
class WatchingResizer : public WindowResizer {
 public:
  using WindowResizer::WindowResizer;
  Rect PlaceControl(const Rect& oldParent, const Rect& newParent, const ControlRow& control) override {
    deferredDuring.push_back(systemGet(PROP::DeferMove).i32());
    Rect r = WindowResizer::PlaceControl(oldParent, newParent, control);
    if (control.TYPE == TYPE::Button) r.YPOS += 1;  // so the override's own result is seen
    return r;
  }
  std::vector<int32_t> deferredDuring;
};

TEST(WindowResizer, DeferredMovesCoverOneReflowAndPlacementCanBeReplaced) {
  Window* window = nullptr;
  std::vector<int32_t> during;
  int32_t afterPositive = 99, afterNegative = 99;
  Rect ok;
  size_t rows = 0;
  Script script;
  script.call([] { systemSet(PROP::DeferMove, Value(7)); })
      .resizeWindow(pxAcross(300), pxDown(120), "Form")
      .call([&] {
        afterPositive = systemGet(PROP::DeferMove).i32();
        systemSet(PROP::DeferMove, Value(-3));
      })
      .resizeWindow(pxAcross(250), pxDown(120), "Form")
      .call([&] {
        afterNegative = systemGet(PROP::DeferMove).i32();
        ok = rectOf(*window, "?OK");
      })
      .closeWindow("Form");
  TestWindow d = formWindow();
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    window = &w;
    WatchingResizer resizer(w);
    resizer.StartResizer(1, true, false);
    rows = resizer.CONTROLQUEUE.size();
    while (w.accept())
      if (event() == EVENT::Sized) postToThread(EVENT::User);
    during = resizer.deferredDuring;
  });
  ASSERT_TRUE(testing::endedNormally(r));
  ASSERT_EQ(rows, 5u);
  EXPECT_EQ(during, std::vector<int32_t>(10, 5));
  EXPECT_EQ(afterPositive, 0);
  EXPECT_EQ(afterNegative, -3);
  EXPECT_EQ(ok, (Rect{200, 97, 40, 14}));
}

TEST(WindowResizer, RestoreStartLayoutPutsTheWindowAndEveryControlBack) {
  Running at;
  Layout start, restored;
  Size size;
  bool maximizedBefore = false, maximizedAfter = true;
  Script script;
  script.call([&] { start = layoutOf(*at.window); })
      .maximizeWindow(pxAcross(400), pxDown(200), "Form")
      .call([&] {
        maximizedBefore = at.window->get(0, PROP::Maximize).truthy();
        at.resizer->RestoreStartLayout();
        restored = layoutOf(*at.window);
        size = innerSize(*at.window);
        maximizedAfter = at.window->get(0, PROP::Maximize).truthy();
      })
      .closeWindow("Form");
  ASSERT_TRUE(testing::endedNormally(runForm(formWindow(), script, at)));
  EXPECT_TRUE(maximizedBefore);
  EXPECT_FALSE(maximizedAfter);
  EXPECT_EQ(size, (Size{200, 120}));
  EXPECT_EQ(restored, start);
}

TEST(WindowResizer, StartRecordsTheWindowAndEveryManagedControl) {
  TestWindow d = formWindow();
  d.list("?DROPLIST", "", {10, 92, 30, 10}).drop = 4;  // a plain list with a drop-down
  d.decl().controls.back().from = "x|y";
  ProgramResult r = testing::runScripted(Script(), [&] {
    Window w(d.decl());
    w.open();
    w.set(0, PROP::XPos, 30);
    w.set(0, PROP::YPos, 40);
    WindowResizer resizer(w);
    resizer.StartResizer(1, true, false);
    EXPECT_EQ(resizer.APPSTRATEGY, 1);
    EXPECT_EQ(resizer.DEFERMOVES, 1);
    EXPECT_EQ(resizer.RESIZECALLED, 0);
    EXPECT_EQ(w.get(0, PROP::ResizerMark).i32(), 1);
    EXPECT_EQ(resizer.ORIGWIN.XPOS, 30);
    EXPECT_EQ(resizer.ORIGWIN.YPOS, 40);
    EXPECT_EQ(resizer.ORIGWIN.WIDTH, 200);
    EXPECT_EQ(resizer.ORIGWIN.HEIGHT, 120);
    EXPECT_EQ(resizer.ORIGWIN.MAXIMIZED, 0);
    EXPECT_EQ(resizer.PREVIOUSWIN, (Rect{30, 40, 200, 120}));

    const std::vector<std::string> labels = {"?NAME", "?MODE", "?LIST", "?HELP", "?OK", "?DROPLIST"};
    const std::vector<int32_t> types = {8, 8, 14, 9, 9, 8};
    const std::vector<uint16_t> placement = {0, 0, 0, 4112, 4112, 0};
    const std::vector<uint16_t> sizing = {2, 2, 0, 3, 3, 2};
    ASSERT_EQ(resizer.CONTROLQUEUE.size(), labels.size());
    for (size_t i = 0; i < labels.size(); ++i) {
      const ControlRow& row = resizer.CONTROLQUEUE[i];
      EXPECT_EQ(row.ID, w.fieldOf(labels[i])) << labels[i];
      EXPECT_EQ(row.TYPE, types[i]) << labels[i];
      EXPECT_EQ(row.POSITIONALSTRATEGY, placement[i]) << labels[i];
      EXPECT_EQ(row.RESIZESTRATEGY, sizing[i]) << labels[i];
      EXPECT_EQ(row.POS, rectOf(w, row.ID)) << labels[i];
      EXPECT_EQ(row.PARENTID, 0) << labels[i];
      EXPECT_EQ(row.HASCHILDREN, 0) << labels[i];
      EXPECT_EQ(resizer.ParentOfControl(row.ID), 0);
    }

    // A second capture refreshes what it knows and adds what it does not.
    int name = w.fieldOf("?NAME");
    w.setPosition(name, 20, 20, 100, 12);
    resizer.CONTROLQUEUE[0].RESIZESTRATEGY = SIZE::RightMargin;  // a strategy set by hand stays
    int added = w.create(0, TYPE::Check);
    w.setPosition(added, 60, 60, 30, 10);
    resizer.RESIZECALLED = 1;
    resizer.CaptureLayout();
    ASSERT_EQ(resizer.CONTROLQUEUE.size(), labels.size() + 1);
    EXPECT_EQ(resizer.CONTROLQUEUE[0].POS, (Rect{20, 20, 100, 12}));
    EXPECT_EQ(resizer.CONTROLQUEUE[0].RESIZESTRATEGY, SIZE::RightMargin);
    EXPECT_EQ(resizer.CONTROLQUEUE.back().ID, added);
    EXPECT_EQ(resizer.CONTROLQUEUE.back().POSITIONALSTRATEGY, 4112);
    EXPECT_EQ(resizer.CONTROLQUEUE.back().POS, (Rect{60, 60, 30, 10}));
    EXPECT_EQ(resizer.RESIZECALLED, 0);
    EXPECT_EQ(resizer.row(added), &resizer.CONTROLQUEUE.back());
    EXPECT_EQ(resizer.row(9999), nullptr);
  });
  ASSERT_TRUE(testing::endedNormally(r));
}

TEST(WindowResizer, StoppingUnhooksOnlyItsOwnHandlers) {
  TestWindow d = formWindow();
  Running at;
  int ownCalls = 0;
  Rect afterStop;
  size_t rowsAfterStop = 1;
  Script script;
  script.call([&] {
          at.resizer->StopResizer();
          rowsAfterStop = at.resizer->CONTROLQUEUE.size();
        })
      .resizeWindow(pxAcross(300), pxDown(120), "Form")
      .call([&] { afterStop = rectOf(*at.window, "?OK"); })
      .closeWindow("Form");
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    WindowResizer resizer(w);
    resizer.StartResizer(1, true, false);
    EXPECT_TRUE(resizer.started());
    // Reopening drops every handler and numbers them afresh: stopping must not
    // take the new owner's handler, which may have the number the resizer had.
    w.close();
    w.open();
    w.registerHandler(EVENT::User, [&](Window&, int) {
      ++ownCalls;
      return true;
    });
    resizer.StartResizer(1, false, false);
    at = {&w, &resizer};
    while (w.accept())
      if (event() == EVENT::Sized) postToThread(EVENT::User);
    EXPECT_FALSE(resizer.started());
    at = {};
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(rowsAfterStop, 0u);
  EXPECT_EQ(afterStop, (Rect{150, 96, 40, 14}));  // no longer laid out
  EXPECT_EQ(ownCalls, 1);                         // the other handler still runs
}

TEST(WindowResizer, AResizerMayOutliveItsWindow) {
  TestWindow d = formWindow();
  bool startedOnClosed = true, startedWhenGone = false;
  ProgramResult r = testing::runScripted(Script(), [&] {
    std::unique_ptr<WindowResizer> resizer;
    {
      Window w(d.decl());
      resizer = std::make_unique<WindowResizer>(w);
      resizer->StartResizer(1, true, false);  // not open yet: nothing to manage
      startedOnClosed = resizer->started();
      w.open();
      resizer->StartResizer(1, true, false);
    }
    startedWhenGone = resizer->started();
    resizer.reset();  // stops without touching the window that is gone
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_FALSE(startedOnClosed);
  EXPECT_TRUE(startedWhenGone);
}

TEST(WindowResizer, EnclosingContainersBecomeParents) {
  TestWindow d("Form", 200, 120);
  d.region("?OUTER", {10, 10, 100, 100});
  d.region("?SAME", {10, 10, 100, 100});
  d.group("?GROUP", "Group", {20, 20, 50, 50});
  d.button("?INSIDE", "In", {30, 30, 20, 10});
  d.string("?WORDS", "w", {32, 32, 5, 5});    // inside the button, which holds nothing
  d.button("?OUTSIDE", "Out", {150, 20, 30, 10});
  std::map<std::string, std::pair<std::string, int>> parents;  // label: parent label, HASCHILDREN
  ProgramResult r = testing::runScripted(Script(), [&] {
    Window w(d.decl());
    w.open();
    WindowResizer resizer(w);
    resizer.StartResizer(2, true, false);
    for (const ControlRow& row : resizer.CONTROLQUEUE)
      parents[w.label(row.ID)] = {w.label(resizer.ParentOfControl(row.ID)), row.HASCHILDREN};
  });
  ASSERT_TRUE(testing::endedNormally(r));
  using P = std::pair<std::string, int>;
  EXPECT_EQ(parents["?OUTER"], (P{"", 1}));
  EXPECT_EQ(parents["?SAME"], (P{"?OUTER", 1}));   // as large and later: inside the earlier
  EXPECT_EQ(parents["?GROUP"], (P{"?SAME", 1}));   // the innermost of the two
  EXPECT_EQ(parents["?INSIDE"], (P{"?GROUP", 0}));
  EXPECT_EQ(parents["?WORDS"], (P{"?GROUP", 0}));
  EXPECT_EQ(parents["?OUTSIDE"], (P{"", 0}));
}

TEST(WindowResizer, ControlsInsideAContainerFollowIt) {
  TestWindow d("Form", 200, 120);
  d.group("?GROUP", "Group", {100, 20, 90, 60});
  d.button("?IN", "In", {150, 60, 30, 14});  // nearer the group's right and bottom edges
  d.button("?FREE", "Free", {150, 90, 30, 14});
  auto run = [&](int strategy) {
    Running at;
    Layout wider;
    Script script;
    script.resizeWindow(pxAcross(300), pxDown(120), "Form")
        .call([&] { wider = layoutOf(*at.window); })
        .closeWindow("Form");
    EXPECT_TRUE(testing::endedNormally(runForm(d, script, at, strategy)));
    return wider;
  };
  Layout inside = run(2);
  EXPECT_EQ(inside.at("?GROUP"), (Rect{150, 20, 135, 60}));
  EXPECT_EQ(inside.at("?IN"), (Rect{245, 60, 30, 14}));   // 10 from the group's new right edge
  EXPECT_EQ(inside.at("?FREE"), (Rect{250, 90, 30, 14}));  // 20 from the window's
  Layout flat = run(1);
  EXPECT_EQ(flat.at("?GROUP"), (Rect{150, 20, 135, 60}));
  EXPECT_EQ(flat.at("?IN"), (Rect{250, 60, 30, 14}));
  Layout kept = run(3);
  EXPECT_EQ(kept.at("?GROUP"), (Rect{100, 20, 90, 60}));
  EXPECT_EQ(kept.at("?IN"), (Rect{150, 60, 30, 14}));
  Layout centred = run(5);
  EXPECT_EQ(centred.at("?GROUP"), (Rect{150, 20, 90, 60}));  // 50 right of the centre, which moved 50
  EXPECT_EQ(centred.at("?IN"), (Rect{200, 60, 30, 14}));
}

TEST(WindowResizer, ReflowingOneControlPlacesItsChildren) {
  TestWindow d("Form", 200, 120);
  d.group("?GROUP", "Group", {100, 20, 90, 60});
  d.button("?IN", "In", {110, 30, 30, 14});
  Rect in, loopRow;
  ProgramResult r = testing::runScripted(Script(), [&] {
    Window w(d.decl());
    w.open();
    WindowResizer resizer(w);
    resizer.StartResizer(2, true, false);
    int group = w.fieldOf("?GROUP");
    w.setPosition(group, 40, 50, 90, 60);
    resizer.ReflowControls(group);
    in = rectOf(w, "?IN");
    // Parents set by hand into a ring still end.
    resizer.row(group)->PARENTID = w.fieldOf("?IN");
    resizer.row(w.fieldOf("?IN"))->HASCHILDREN = 1;
    w.setPosition(group, 0, 0, 90, 60);
    resizer.ReflowControls(group);
    loopRow = rectOf(w, "?IN");
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(in, (Rect{50, 60, 30, 14}));
  EXPECT_EQ(loopRow, (Rect{10, 10, 30, 14}));
}

}  // namespace
}  // namespace wevo::resizer
