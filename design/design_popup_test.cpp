// The popup menu of design mode, driven by the scripted user: its text, what
// each item does, and how design mode takes the input back.
#include "design/design_popup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "design/design_test_support.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::kMarker;
using testing::kProcedure;
using testing::pixelRect;
using testing::Rect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;
using wevo::testing::transcriptHas;

const std::string kForm = "BUTTON ?SaveBtn";

std::string menuLine(const std::string& label, int choice) {
  return "popup \"Edit " + label + "|Show Processed Fields|Full Field List/Tab Order|Reset " + label +
         " to original|Quit Editing Mode\" -> " + std::to_string(choice);
}

bool sameRows(const std::vector<store::WindowControls>& a, const std::vector<store::WindowControls>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::memcmp(&a[i], &b[i], sizeof a[i]) != 0) return false;
  return true;
}

// What design mode holds while it waits for input again.
struct Input {
  bool overlayHasCapture = false;
  bool overlayHidden = false;
  int64_t hostPixels = -1;
  int32_t selected = -1;
};

class PopupTest : public DesignModeTest {
 protected:
  PopupTest() {
    decl.button("?SaveBtn", "Save", {10, 10, 50, 14});  // pixels 15,16 75x23
    decl.entry("?Name", "@s20", Binding{}, {10, 40, 100, 12});
  }
  static Input input() {
    Input in;
    DesignSession* s = RunningSession();
    if (s == nullptr) return in;
    in.overlayHasCapture = capture() == s->overlay().handle() && capture() != 0;
    in.overlayHidden = s->overlay().get(0, PROP::Hide).truthy();
    in.hostPixels = s->host().get(0, PROP::Pixels).num();
    in.selected = s->state().CONTROLNO;
    return in;
  }
  static void expectTakenBack(const Input& in) {
    EXPECT_TRUE(in.overlayHasCapture);
    EXPECT_TRUE(in.overlayHidden);
    EXPECT_EQ(in.hostPixels, 1);
  }
  TestWindow decl{"Order", 300, 200};
};

constexpr int kButtonX = 45, kButtonY = 27;  // inside ?SaveBtn
constexpr int kEmptyX = 400, kEmptyY = 300;  // on no control

TEST(DesignMenuText, NamesTheControlInTheFirstAndFourthItems) {
  EXPECT_EQ(DesignMenuText("?OK  "),
            "Edit ?OK|Show Processed Fields|Full Field List/Tab Order|Reset ?OK to original|Quit Editing Mode");
}

TEST_F(PopupTest, WithTheWindowSelectedTheMenuNamesWindowAndEscapingChangesNothing) {
  std::vector<store::WindowControls> before, afterEscape;
  Input in;
  Rect moved;
  Script steps;
  // The right press itself stores the window's placement (design mode
  // stores what the user pressed on); the escape that follows must not.
  steps.rightPress(kEmptyX, kEmptyY).choosePopup(0);
  steps.call([&] { before = rows(); });
  steps.rightPress(kEmptyX, kEmptyY).choosePopup(0);
  steps.call([&] {
    afterEscape = rows();
    in = input();
  });
  // Design mode goes on: a drag still moves the button.
  steps.drag(kButtonX, kButtonY, kButtonX + 10, kButtonY + 6).call([&] { moved = pixelRect(*host, 1); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), nullptr, steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript, (std::vector<std::string>{menuLine("WINDOW", 0), menuLine("WINDOW", 0)}));
  EXPECT_TRUE(sameRows(before, afterEscape));
  expectTakenBack(in);
  EXPECT_EQ(in.selected, 0);
  EXPECT_EQ(moved, (Rect{25, 22, 75, 23}));
  EXPECT_TRUE(after.returned);
}

TEST_F(PopupTest, EditThenSaveShowsTheRowAtOnceAndCancelLeavesTheControl) {
  std::string afterSave, afterCancel;
  int64_t hostPixelsInForm = -1;
  int64_t captureInForm = -1;
  Input in;
  Script steps;
  steps.rightPress(kButtonX, kButtonY).choosePopup(1);
  steps.call(
      [&] {
        hostPixelsInForm = host->get(0, PROP::Pixels).num();
        captureInForm = capture();
      },
      kForm);
  steps.clickControl("?WIN:CONTROLTEXT", kForm).type("Keep").clickControl("?OK", kForm);
  steps.call([&] {
    afterSave = host->get(1, PROP::Text).str();
    in = input();
  });
  steps.rightPress(kButtonX, kButtonY).choosePopup(1);
  steps.clickControl("?WIN:CONTROLTEXT", kForm).type("Other").clickControl("?CANCEL", kForm);
  steps.answer("Update Cancelled", BUTTON::Yes);
  steps.call([&] { afterCancel = host->get(1, PROP::Text).str(); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), nullptr, steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript.front(), menuLine("?SaveBtn", 1) + " \"Edit ?SaveBtn\"");
  EXPECT_EQ(hostPixelsInForm, 0);
  EXPECT_EQ(captureInForm, 0);
  EXPECT_EQ(afterSave, "Keep");
  expectTakenBack(in);
  EXPECT_EQ(in.selected, 1);
  EXPECT_EQ(afterCancel, "Keep");
  EXPECT_EQ(testing::clipped(text::field(row("?SaveBtn").CONTROLTEXT)), "Keep");
}

TEST_F(PopupTest, ResetToOriginalPutsTheOriginalRowOnTheControl) {
  uint32_t uidBefore = 0;
  std::string liveAfter;
  store::WindowControls rowAfter{};
  Script steps;
  steps.call([&] { uidBefore = row("?SaveBtn").UID; });
  steps.rightPress(kButtonX, kButtonY).choosePopup(4);
  steps.call([&] {
    liveAfter = host->get(1, PROP::Text).str();
    rowAfter = row("?SaveBtn");
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(
      decl.decl(),
      [&](Window& w) {
        // The designed look is kept as the original rows; then the program
        // changes the button, which design mode stores as its override row.
        WEVO::SETWINDOWCONTROLS(w, kProcedure, kMarker, settings);
        w.set(1, PROP::Text, "Changed");
        return 0;
      },
      steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript, std::vector<std::string>{menuLine("?SaveBtn", 4) + " \"Reset ?SaveBtn to original\""});
  EXPECT_NE(uidBefore, 0u);
  EXPECT_EQ(liveAfter, "Save");
  EXPECT_EQ(testing::clipped(text::field(rowAfter.CONTROLTEXT)), "Save");
  EXPECT_EQ(+rowAfter.UID, uidBefore);
  EXPECT_EQ(testing::clipped(text::field(rowAfter.UNIQUEMARKER)), kMarker);
  EXPECT_EQ(+rowAfter.FEQ, 1);
}

TEST_F(PopupTest, QuitEndsDesignModeWithTheSaveQuestionAndNoPutsBackWhatTheFormSaved) {
  settings.PROMPTONEXIT = 1;
  std::string afterSave;
  Script steps;
  steps.rightPress(kButtonX, kButtonY).choosePopup(1);
  steps.clickControl("?WIN:CONTROLTEXT", kForm).type("Keep").clickControl("?OK", kForm);
  steps.call([&] { afterSave = host->get(1, PROP::Text).str(); });
  steps.rightPress(kButtonX, kButtonY).choosePopup(5).answer("Wevo", BUTTON::No);
  std::string liveAfter = "?";
  After after;
  ProgramResult r = run(decl.decl(), nullptr, steps, after);
  ASSERT_TRUE(endedNormally(r));
  ASSERT_EQ(r.transcript.size(), 3u);
  EXPECT_EQ(r.transcript[1], menuLine("?SaveBtn", 5) + " \"Quit Editing Mode\"");
  EXPECT_TRUE(transcriptHas(r, "message \"Wevo\" \"Do you want to save your changes?\""));
  EXPECT_EQ(afterSave, "Keep");
  EXPECT_TRUE(after.returned);
  EXPECT_TRUE(after.resumed);
  EXPECT_EQ(after.capture, 0);
  EXPECT_FALSE(after.overlayOpen);
  EXPECT_EQ(testing::clipped(text::field(row("?SaveBtn").CONTROLTEXT)), "Save");
}

TEST_F(PopupTest, TheBrowseAndTheControlListRunWithTheInputReleasedAndGiveItBack) {
  std::vector<std::string> browsed, listed;
  int64_t pixelsInBrowse = -1, captureInBrowse = -1;
  bool overlayShownInBrowse = false;
  Input afterBrowse, afterList;
  const std::string browse = "Processed controls for OrderForm";
  const std::string list = "  All Screen Fields";
  Script steps;
  steps.rightPress(kEmptyX, kEmptyY).choosePopup(2);
  steps.call(
      [&] {
        std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(browse, "?BROWSE:1");
        if (c)
          for (const auto& row : c->rows) browsed.emplace_back(text::clip(row.at(0)));
        pixelsInBrowse = host->get(0, PROP::Pixels).num();
        captureInBrowse = capture();
        overlayShownInBrowse = !RunningSession()->overlay().get(0, PROP::Hide).truthy();
      },
      browse);
  steps.clickControl("?CLOSE", browse).call([&] { afterBrowse = input(); });
  steps.rightPress(kButtonX, kButtonY).choosePopup(3);
  steps.call(
      [&] {
        std::optional<toolkit::ControlSnapshot> c = wevo::testing::shownControl(list, "?FIELDS");
        if (c)
          for (const auto& row : c->rows) listed.emplace_back(text::clip(row.at(0)));
      },
      list);
  steps.clickControl("?CANCEL", list).call([&] { afterList = input(); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), nullptr, steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript, (std::vector<std::string>{menuLine("WINDOW", 2) + " \"Show Processed Fields\"",
                                                    menuLine("?SaveBtn", 3) + " \"Full Field List/Tab Order\""}));
  EXPECT_EQ(browsed, (std::vector<std::string>{"?Name", "?SaveBtn", "WINDOW"}));
  EXPECT_EQ(pixelsInBrowse, 0);
  EXPECT_EQ(captureInBrowse, 0);
  EXPECT_TRUE(overlayShownInBrowse);
  expectTakenBack(afterBrowse);
  EXPECT_EQ(listed, (std::vector<std::string>{"WINDOW", "?SaveBtn", "?Name"}));
  expectTakenBack(afterList);
  EXPECT_EQ(afterList.selected, 1);
}

}  // namespace
}  // namespace wevo::design
