// Design mode with the keyboard alone, driven by the scripted user: from the
// hot key to saving, walking the controls in tab order, moving and sizing
// them, the property form, the menu, undo, and what assistive tools are told.
#include "design/design_keys.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "design/design_test_support.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::pixelRect;
using testing::Rect;
using testing::unitRect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;
using wevo::testing::transcriptHas;

const std::string kForm = "BUTTON ?SAVE";

// What assistive tools were last told of the host window.
struct Told {
  int field = -1;
  std::string text;
};
Told told(Window& host) {
  std::optional<toolkit::ScreenWindow> w = wevo::testing::screenWindow(host.handle());
  return w ? Told{w->announcedField, w->announcement} : Told{};
}

class KeyboardTest : public DesignModeTest {
 protected:
  KeyboardTest() {
    decl.entry("?NAME", "@s20", Binding{}, {10, 10, 100, 12});
    decl.button("?SAVE", "Save", {10, 40, 50, 14});  // pixels 15,65 75x23
    decl.button("?QUIT", "Quit", {70, 40, 50, 14});
  }
  TestWindow decl{"Order", 300, 200};
};

TEST_F(KeyboardTest, AKeyboardOnlySessionFromTheHotKeyToSaving) {
  settings.PROMPTONEXIT = 1;
  bool formAfterFirstEnter = true;
  int afterTab = -1, afterBack = -1;
  Told toldAfterTab, toldOfWindow;
  Rect gridMoved, sized, storedSized, unitsSized;
  std::string described, undone, redone;
  bool formGone = false, stillRunningAfterMenu = false;
  Script steps;
  // Right after the hot key, Enter opens nothing: the user chose nothing yet.
  steps.key(KEY::Enter).call([&] { formAfterFirstEnter = wevo::testing::shownWindow(kForm).has_value(); });
  steps.key(KEY::Tab).call([&] {
    afterTab = testing::running().CONTROLNO;
    toldAfterTab = told(*host);
  });
  steps.key(KEY::Ctrl | KEY::Right).call([&] { gridMoved = pixelRect(*host, 2); });
  steps.key(KEY::Shift | KEY::Down).key(KEY::Shift | KEY::Down).call([&] {
    sized = pixelRect(*host, 2);
    storedSized = stored(row("?SAVE"));
    unitsSized = unitRect(*host, 2);
  });
  steps.key(KEY::Tab | KEY::Shift).key(KEY::Tab | KEY::Shift).call([&] {
    afterBack = testing::running().CONTROLNO;
    toldOfWindow = told(*host);
  });
  steps.key(KEY::Tab).key(KEY::Tab);
  // The property form, by keyboard: the description has the focus; Save is
  // two places back from it.
  steps.key(KEY::Enter).type("Keyboard").key(KEY::Tab | KEY::Shift).key(KEY::Tab | KEY::Shift).key(KEY::Enter);
  steps.call([&] {
    formGone = !wevo::testing::shownWindow(kForm).has_value();
    described = testing::clipped(text::field(row("?SAVE").DESCRIPTION));
  });
  steps.key(KEY::Ctrl + 'Z').call([&] { undone = testing::clipped(text::field(row("?SAVE").DESCRIPTION)); });
  steps.key(KEY::Ctrl + 'Y').call([&] { redone = testing::clipped(text::field(row("?SAVE").DESCRIPTION)); });
  // The context-menu key opens the design menu for the selection.
  steps.key(KEY::Apps).choosePopup(0).call([&] { stillRunningAfterMenu = RunningSession() != nullptr; });
  steps.key(KEY::Esc).answer("Wevo", 0);
  After after;
  ProgramResult r = run(decl.decl(), [](Window& w) { return w.fieldOf("?NAME"); }, steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);

  EXPECT_FALSE(formAfterFirstEnter);
  EXPECT_EQ(afterTab, 2);
  EXPECT_EQ(toldAfterTab.field, 2);
  EXPECT_EQ(toldAfterTab.text, "?SAVE, BUTTON, at x 10, y 40, width 50, height 14");
  EXPECT_EQ(gridMoved, (Rect{23, 65, 75, 23}));  // one grid step of 8 pixels
  EXPECT_EQ(sized, (Rect{23, 65, 75, 25}));
  EXPECT_EQ(storedSized, unitsSized);  // stored as it went
  EXPECT_EQ(afterBack, 0);  // back past ?NAME to the window, first in tab order
  EXPECT_EQ(toldOfWindow.field, 0);
  EXPECT_EQ(toldOfWindow.text.rfind("WINDOW, the window, at x ", 0), 0u) << toldOfWindow.text;
  EXPECT_TRUE(formGone);
  EXPECT_EQ(described, "Keyboard");
  EXPECT_EQ(undone, "SAVE");
  EXPECT_EQ(redone, "Keyboard");
  EXPECT_TRUE(stillRunningAfterMenu);
  EXPECT_TRUE(transcriptHas(r, "popup \"Edit ?SAVE|Show Processed Fields|"));
  EXPECT_TRUE(transcriptHas(r, "message \"Wevo\" \"Do you want to save your changes?\""));
  EXPECT_TRUE(after.returned);
  EXPECT_EQ(testing::clipped(text::field(row("?SAVE").DESCRIPTION)), "Keyboard");
  EXPECT_EQ(stored(row("?SAVE")), storedSized);
}

TEST(DesignKeys, TheWalkFollowsTheTabOrderPassesHiddenControlsAndGoesRound) {
  TestWindow d("Order", 200, 100);
  d.button("?ONE", "One", {10, 10, 40, 14});
  d.button("?TWO", "Two", {10, 30, 40, 14}).hidden = true;
  d.button("?THREE", "Three", {10, 50, 40, 14});
  std::vector<int32_t> forward, backward;
  ProgramResult r = wevo::run([&] {
    Window w(d.decl());
    w.open();
    controllist::ControlQueue q(4);
    const int32_t order[][2] = {{0, 3}, {1, 1}, {2, 2}, {3, 0}};  // field, tab order: ?THREE first, the window last
    for (size_t i = 0; i < q.size(); ++i) {
      q[i].FEQ = order[i][0];
      q[i].TABORDER = order[i][1];
    }
    int32_t at = 1;
    for (int i = 0; i < 4; ++i) forward.push_back(at = NextInTabOrder(q, w, at, false));
    for (int i = 0; i < 4; ++i) backward.push_back(at = NextInTabOrder(q, w, at, true));
  });
  ASSERT_FALSE(r.failed || r.halted) << describe(r);
  EXPECT_EQ(forward, (std::vector<int32_t>{0, 3, 1, 0}));
  EXPECT_EQ(backward, (std::vector<int32_t>{1, 3, 0, 1}));
}

}  // namespace
}  // namespace wevo::design
