// How a script that does not fit the program fails: at once, with a message
// that names the step or dialog. The watchdog is set far away (120 s), so a
// failure message that names the step shows the scripted user found it out
// by itself rather than by waiting.
#include "platform/toolkit/scripted_user.h"

#include <gtest/gtest.h>

#include <atomic>

#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using testing::TestWindow;

RunOptions patient() {
  RunOptions o;
  o.stallSeconds = 120;
  return o;
}

// Opens a window with an OK button and runs its loop until the window closes.
void mainWindow() {
  TestWindow d("Main");
  d.button("?OK", "OK", {10, 10, 40, 14});
  d.button("?HIDDEN", "Hidden", {10, 30, 40, 14}).hidden = true;
  d.list("?L", "", {60, 10, 60, 40}).from = "a|b";
  d.add(TYPE::Entry, "?RO", "s5", {10, 50}).props = {{PROP::ReadOnly, Value(1)}};
  Window w(d.decl());
  w.open();
  w.select(w.fieldOf("?RO"));
  while (w.accept()) {
  }
}

TEST(ScriptedUser, NoStepLeftWhileEveryThreadWaitsNamesTheWindows) {
  Script script;
  script.clickControl("?OK", "Main");
  std::atomic<bool> afterLoop{false};
  ProgramResult r = testing::runScripted(
      script,
      [&] {
        mainWindow();
        afterLoop = true;
      },
      patient());
  EXPECT_TRUE(testing::failedWith(
      r, "the script has no step left (1 done) while every host thread waits for input: thread 1 waits in \"Main\""));
  EXPECT_FALSE(afterLoop);  // the failure unwound the thread
}

TEST(ScriptedUser, UnexpectedDialogsAreNamed) {
  ProgramResult r = testing::runScripted(Script{}, [] { message("Hello|there", "Wevo"); }, patient());
  EXPECT_TRUE(testing::failedWith(
      r, "unexpected dialog: message box \"Wevo\" \"Hello|there\" (OK) (the script has no step left, 0 done)"));
  EXPECT_TRUE(r.transcript.empty());  // never shown

  Script press;
  press.press(1, 2, "Main");
  r = testing::runScripted(press, [] { popup("A|B"); }, patient());
  EXPECT_TRUE(testing::failedWith(
      r, "unexpected dialog: popup menu \"A|B\"; the script's next is step 1 of 1 (press at 1,2 in \"Main\")"));

  Script other;
  other.answer("Other", BUTTON::Ok);
  r = testing::runScripted(other, [] { message("x", "Wevo"); }, patient());
  EXPECT_TRUE(testing::failedWith(r, "expects the message box \"Other\""));

  Script wrongButton;
  wrongButton.answer("Wevo", BUTTON::Retry);
  r = testing::runScripted(
      wrongButton, [] { message("x", "Wevo", ICON::Question, BUTTON::Yes | BUTTON::No); }, patient());
  EXPECT_TRUE(testing::failedWith(r, "has no Retry button"));

  Script stopStep;
  stopStep.stopChoice(false);
  r = testing::runScripted(
      stopStep,
      [] {
        int32_t color = 0;
        colorDialog("Text Color", color);
      },
      patient());
  EXPECT_TRUE(testing::failedWith(r, "unexpected dialog: colour dialog \"Text Color\""));
}

TEST(ScriptedUser, PopupChoicesMustExistAndBeEnabled) {
  Script disabled;
  disabled.choosePopup(2);
  ProgramResult r = testing::runScripted(disabled, [] { popup("&Insert|-|~&Change|~&Delete"); }, patient());
  EXPECT_TRUE(testing::failedWith(r, "item 2 of the popup menu \"&Insert|-|~&Change|~&Delete\" is disabled"));
  Script tooFar;
  tooFar.choosePopup(4);
  r = testing::runScripted(tooFar, [] { popup("&Insert|-|~&Change|~&Delete"); }, patient());
  EXPECT_TRUE(testing::failedWith(r, "has 3 items"));
}

TEST(ScriptedUser, StepsThatCannotBeDeliveredAreNamedWithTheReason) {
  struct Case {
    Script script;
    const char* failure;
  };
  std::vector<Case> cases;
  cases.push_back({Script().clickControl("?OK", "Nowhere"),
                   "step 1 of 1 (click ?OK in \"Nowhere\") cannot be delivered: no open window is called \"Nowhere\""});
  cases.push_back({Script().clickControl("?HIDDEN", "Main"), "?HIDDEN in \"Main\" is not visible"});
  cases.push_back({Script().clickControl("?NONE", "Main"), "window \"Main\" has no control ?NONE"});
  cases.push_back({Script().selectRow("?L", 3, "Main"), "?L in \"Main\" has 2 rows, not 3"});
  cases.push_back({Script().selectTab("?OK", "Main"), "?OK in \"Main\" is not a tab that shows"});
  cases.push_back({Script().type("abc"), "step 1 of 1 (type \"abc\") cannot be delivered: ?RO in \"Main\" takes no typing"});
  cases.push_back({Script().answer("Wevo", BUTTON::Ok),
                   "step 1 of 1 (answer the message box \"Wevo\" with OK) waits for a dialog, but none was shown"});
  for (const Case& c : cases) {
    ProgramResult r = testing::runScripted(c.script, mainWindow, patient());
    EXPECT_TRUE(testing::failedWith(r, c.failure));
  }
}

TEST(ScriptedUser, AWindowBlockedByALaterWindowOfItsThreadTakesNoInput) {
  TestWindow host("Host");
  host.button("?OPEN", "Open", {10, 10, 40, 14});
  TestWindow form("Form");
  Script script;
  script.clickControl("?OPEN", "Host").clickControl("?OPEN", "Host");
  ProgramResult r = testing::runScripted(
      script,
      [&] {
        Window h(host.decl());
        h.open();
        while (h.accept())
          if (event() == EVENT::Accepted) {
            Window f(form.decl());
            f.open();
            while (f.accept()) {
            }
          }
      },
      patient());
  EXPECT_TRUE(testing::failedWith(
      r, "step 2 of 2 (click ?OPEN in \"Host\") cannot be delivered: window \"Host\" is blocked by a later window"));
}

TEST(ScriptedUser, KeysNeedAFocusedWindow) {
  Script script;
  script.switchAway().key(KEY::Enter);
  ProgramResult r = testing::runScripted(script, mainWindow, patient());
  EXPECT_TRUE(testing::failedWith(r, "step 2 of 2 (key Enter (13)) cannot be delivered: no window has the focus"));
}

TEST(ScriptedUser, DescribesEveryKindOfStep) {
  using toolkit::ScriptedUser;
  Script s;
  s.press(1, 2).move(3, 4, "W").release(5, 6).rightClick(7, 8).doubleClick(9, 10).key(KEY::Ctrl | KEY::Alt | 'D')
      .type("t").clickControl("?B", "W").selectTab("?T").selectRow("?L", 2).closeWindow("W").resizeWindow(30, 40)
      .answer("Wevo", 0).choosePopup(5).pickColor(255).cancelColor().pickFile("f").cancelFile().stopChoice(true)
      .call([] {}).screenshot("s.png", "W").scroll("?L", EVENT::ScrollDrag, 50).activate("W").switchAway();
  std::vector<std::string> got;
  for (const ScriptStep& step : s.steps()) got.push_back(ScriptedUser::describe(step));
  std::vector<std::string> want = {"press at 1,2 in the active window",
                                   "move to 3,4 in \"W\"",
                                   "release at 5,6 in the active window",
                                   "right press at 7,8 in the active window",
                                   "right release at 7,8 in the active window",
                                   "double click at 9,10 in the active window",
                                   "key Ctrl+Alt+D (1604)",
                                   "type \"t\"",
                                   "click ?B in \"W\"",
                                   "select tab ?T in the active window",
                                   "select row 2 of ?L in the active window",
                                   "close \"W\"",
                                   "resize the active window to 30x40",
                                   "answer the message box \"Wevo\" with its default button",
                                   "choose popup item 5",
                                   "pick colour 255",
                                   "cancel the colour dialog",
                                   "pick file \"f\"",
                                   "cancel the file dialog",
                                   "end the program at the stop message",
                                   "call in the active window",
                                   "screenshot \"s.png\" of \"W\"",
                                   "scroll ?L (event 13, thumb 50) in the active window",
                                   "activate \"W\"",
                                   "switch to another application"};
  EXPECT_EQ(got, want);
}

TEST(ScriptedUser, DragMovesInStepsOfAtMostTheGivenSize) {
  Script s;
  s.drag(10, 10, 30, 14, "W", 5);
  ASSERT_EQ(s.steps().size(), 6u);  // press, four moves, release
  EXPECT_EQ(s.steps()[0].kind, ScriptStep::Press);
  EXPECT_EQ(s.steps()[1].x, 15);
  EXPECT_EQ(s.steps()[1].y, 11);
  EXPECT_EQ(s.steps()[4].x, 30);
  EXPECT_EQ(s.steps()[4].y, 14);
  EXPECT_EQ(s.steps()[5].kind, ScriptStep::Release);
  Script still;
  still.drag(5, 5, 5, 5);
  EXPECT_EQ(still.steps().size(), 2u);  // no move at all
}

}  // namespace
}  // namespace wevo
