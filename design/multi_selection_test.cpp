// Several controls selected at once, driven by the scripted user: Ctrl+click,
// the rubber band, the handles of every selected control, moving, nudging,
// aligning and resetting them together, and what Esc and a plain click do.
#include "design/multi_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/align.h"
#include "design/design_test_support.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::pixelRect;
using testing::placePixels;
using testing::Rect;
using testing::unitRect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;
using wevo::testing::transcriptHas;

constexpr int kUndo = KEY::Ctrl + 'Z';

// What is selected: the primary first.
std::vector<int32_t> selected() {
  DesignSession* s = RunningSession();
  return s != nullptr ? s->selection().all(s->state()) : std::vector<int32_t>{-1};
}

// The rectangle the handles of the `other`th selected control besides the
// primary mark, and whether they are white.
struct Marks {
  Rect at;
  bool white = false;
};
Marks marksOf(Window& host, size_t other) {
  const MarkFields& m = RunningSession()->marks();
  const Rect h1 = pixelRect(host, m.otherHandle(other, 1)), h5 = pixelRect(host, m.otherHandle(other, 5));
  return {{h1.x, h1.y, h5.x + h5.w - h1.x, h5.y + h5.h - h1.y},
          host.get(m.otherHandle(other, 1), PROP::Fill).num() == COLOR::White};
}

// Four regions: ?A (100, 50) 60 x 30, ?B (130, 150) 40 x 20, ?C (250, 90)
// 80 x 40, ?D (400, 250) 20 x 20, in pixels.
class SeveralTest : public DesignModeTest {
 protected:
  SeveralTest() {
    for (const char* label : {"?A", "?B", "?C", "?D"}) decl.region(label, {});
  }
  static std::function<int(Window&)> setup(int first) {
    return [first](Window& w) {
      placePixels(w, 1, {100, 50, 60, 30});
      placePixels(w, 2, {130, 150, 40, 20});
      placePixels(w, 3, {250, 90, 80, 40});
      placePixels(w, 4, {400, 250, 20, 20});
      return first;
    };
  }
  TestWindow decl{"Order", 300, 200};
};

TEST_F(SeveralTest, CtrlClickSelectsSeveralThatMoveNudgeAndStoreTogetherAndEscOrAClickLeavesOne) {
  std::vector<int32_t> afterCtrl, afterRemove, afterEsc, afterClick;
  Marks bMarks, cMarks;
  Rect primaryMarks;
  std::vector<Rect> moved, nudged;
  std::vector<Rect> storedMoved, unitsMoved;
  bool runningAfterEsc = false;
  int handlesAfterEsc = -1;
  Script steps;
  steps.holding(KEY::Ctrl).click(150, 160).click(290, 110).holding(0).call([&] {
    afterCtrl = selected();
    primaryMarks = testing::marked(*host);
    bMarks = marksOf(*host, 0);
    cMarks = marksOf(*host, 1);
  });
  // A drag inside ?B moves all three; the release stores all three.
  steps.drag(150, 160, 160, 165).call([&] {
    for (int f : {1, 2, 3}) moved.push_back(pixelRect(*host, f));
    for (const char* l : {"?A", "?B", "?C"}) storedMoved.push_back(stored(row(l)));
    for (int f : {1, 2, 3}) unitsMoved.push_back(unitRect(*host, f));
  });
  steps.key(KEY::Left).call([&] {
    for (int f : {1, 2, 3}) nudged.push_back(pixelRect(*host, f));
  });
  steps.holding(KEY::Ctrl).click(300, 115).holding(0).call([&] { afterRemove = selected(); });
  steps.key(KEY::Esc).call([&] {
    afterEsc = selected();
    runningAfterEsc = RunningSession() != nullptr;
    handlesAfterEsc = 0;
    for (int n = 1; n <= kHandleCount; ++n) handlesAfterEsc += host->exists(RunningSession()->marks().otherHandle(0, n));
  });
  // Several again; a plain click on one of them without a drag leaves it alone.
  steps.holding(KEY::Ctrl).click(260, 100).holding(0).click(260, 100).call([&] { afterClick = selected(); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);

  EXPECT_EQ(afterCtrl, (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(primaryMarks, (Rect{100, 50, 60, 30}));  // red, around the primary
  EXPECT_EQ(bMarks.at, (Rect{130, 150, 40, 20}));
  EXPECT_TRUE(bMarks.white);
  EXPECT_EQ(cMarks.at, (Rect{250, 90, 80, 40}));
  ASSERT_EQ(moved.size(), 3u);
  EXPECT_EQ(moved[0], (Rect{110, 55, 60, 30}));
  EXPECT_EQ(moved[1], (Rect{140, 155, 40, 20}));
  EXPECT_EQ(moved[2], (Rect{260, 95, 80, 40}));
  EXPECT_EQ(storedMoved, unitsMoved);
  ASSERT_EQ(nudged.size(), 3u);
  EXPECT_EQ(nudged[0].x, 109);
  EXPECT_EQ(nudged[1].x, 139);
  EXPECT_EQ(nudged[2].x, 259);
  EXPECT_EQ(afterRemove, (std::vector<int32_t>{2, 1}));  // ?B, pressed last, leads
  EXPECT_EQ(afterEsc, (std::vector<int32_t>{2}));
  EXPECT_TRUE(runningAfterEsc);
  EXPECT_EQ(handlesAfterEsc, 0);
  EXPECT_EQ(afterClick, (std::vector<int32_t>{3}));
}

TEST_F(SeveralTest, ARubberBandOnTheBackgroundSelectsTheControlsWhollyInsideIt) {
  bool bandShown = false;
  Rect band;
  std::vector<int32_t> afterBand, afterShiftOnControl;
  bool bandGone = false;
  Script steps;
  // From the background above ?A to below ?C: ?A and ?C inside, ?B not.
  steps.holding(KEY::Shift).press(90, 40).move(200, 100).move(340, 140).call([&] {
    const int32_t f = RunningSession()->marks().band();
    bandShown = host->exists(f) && host->get(f, PROP::Visible).num() == 1;
    band = pixelRect(*host, f);
  });
  steps.release(340, 140).holding(0).call([&] {
    afterBand = selected();
    bandGone = !host->exists(RunningSession()->marks().band());
  });
  // Shift on a control is a plain press.
  steps.holding(KEY::Shift).click(410, 260).holding(0).call([&] { afterShiftOnControl = selected(); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(0), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);
  EXPECT_TRUE(bandShown);
  EXPECT_EQ(band, (Rect{90, 40, 250, 100}));
  EXPECT_TRUE(bandGone);
  EXPECT_EQ(afterBand, (std::vector<int32_t>{1, 3}));
  EXPECT_EQ(afterShiftOnControl, (std::vector<int32_t>{4}));
}

TEST_F(SeveralTest, AlignLinesThreeUpWithTheOneRightClickedInOneUndoStep) {
  std::vector<Rect> lefts, undone, sameSize, spacedDown;
  std::vector<Rect> storedLefts;
  Script steps;
  steps.holding(KEY::Ctrl).click(150, 160).click(290, 110).holding(0);
  // The right button on ?C makes it the one the others line up with.
  steps.rightPress(290, 110).choosePopup(6).call([&] {
    for (int f : {1, 2, 3}) lefts.push_back(pixelRect(*host, f));
    for (const char* l : {"?A", "?B", "?C"}) storedLefts.push_back(stored(row(l)));
  });
  steps.key(kUndo).call([&] {
    for (int f : {1, 2, 3}) undone.push_back(pixelRect(*host, f));
  });
  steps.rightPress(290, 110).choosePopup(6 + static_cast<int>(AlignCommand::kSameSize)).call([&] {
    for (int f : {1, 2, 3}) sameSize.push_back(pixelRect(*host, f));
  });
  steps.key(kUndo).rightPress(290, 110).choosePopup(6 + static_cast<int>(AlignCommand::kSpaceDown)).call([&] {
    for (int f : {1, 2, 3}) spacedDown.push_back(pixelRect(*host, f));
  });
  steps.key(KEY::Esc).key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);
  EXPECT_TRUE(transcriptHas(r, "popup \"Edit ?C|Show Processed Fields|Full Field List/Tab Order|Reset ?C to "
                               "original|Quit Editing Mode|-|Align{Lefts|Rights|Tops|Bottoms|Centres|Middles|Same "
                               "Width|Same Height|Same Size|Space Evenly Across|Space Evenly Down}\" -> 6 \"Lefts\""));
  EXPECT_EQ(lefts, (std::vector<Rect>{{250, 50, 60, 30}, {250, 150, 40, 20}, {250, 90, 80, 40}}));
  ASSERT_EQ(storedLefts.size(), 3u);
  EXPECT_EQ(storedLefts[0].x, storedLefts[2].x);
  EXPECT_EQ(storedLefts[1].x, storedLefts[2].x);
  EXPECT_EQ(undone, (std::vector<Rect>{{100, 50, 60, 30}, {130, 150, 40, 20}, {250, 90, 80, 40}}));
  EXPECT_EQ(sameSize, (std::vector<Rect>{{100, 50, 80, 40}, {130, 150, 80, 40}, {250, 90, 80, 40}}));
  // ?A (50..80) and ?B (150..170) stay; ?C goes between them with equal gaps:
  // room 120 - 30 - 20 - 40 = 30, gaps of 15.
  EXPECT_EQ(spacedDown, (std::vector<Rect>{{100, 50, 60, 30}, {130, 150, 40, 20}, {250, 95, 80, 40}}));
}

TEST_F(SeveralTest, ResetToOriginalResetsEverySelectedControl) {
  std::vector<Rect> changed, reset;
  Script steps;
  steps.call([&] {
    for (int f : {1, 2}) changed.push_back(unitRect(*host, f));
  });
  steps.holding(KEY::Ctrl).click(150, 160).holding(0).rightPress(120, 60).choosePopup(4).call([&] {
    for (int f : {1, 2}) reset.push_back(unitRect(*host, f));
  });
  steps.key(KEY::Esc).key(KEY::Esc);
  After after;
  std::vector<Rect> designed;
  ProgramResult r = run(
      decl.decl(),
      [&](Window& w) {
        for (int f : {1, 2}) designed.push_back(unitRect(w, f));
        WEVO::SETWINDOWCONTROLS(w, testing::kProcedure, testing::kMarker, settings);
        return setup(1)(w);
      },
      steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);
  EXPECT_NE(changed, designed);
  EXPECT_EQ(reset, designed);
  EXPECT_EQ(stored(row("?A")), designed[0]);
  EXPECT_EQ(stored(row("?B")), designed[1]);
}

TEST(Align, SpacingNeedsThreeAndGivesTheFirstGapsThePixelsLeftOver) {
  const std::vector<PixelRect> two = {{0, 0, 10, 10}, {50, 0, 10, 10}};
  EXPECT_EQ(Aligned(AlignCommand::kSpaceAcross, two), two);
  // Room 100 - 30 = 70 across three gaps: 24, 23, 23.
  const std::vector<PixelRect> four = {{90, 5, 10, 10}, {0, 0, 10, 10}, {30, 0, 5, 5}, {12, 0, 5, 5}};
  const std::vector<PixelRect> spaced = Aligned(AlignCommand::kSpaceAcross, four);
  EXPECT_EQ(spaced[1].x, 0);
  EXPECT_EQ(spaced[3].x, 34);
  EXPECT_EQ(spaced[2].x, 62);
  EXPECT_EQ(spaced[0].x, 90);
  const std::vector<PixelRect> centred = Aligned(AlignCommand::kCentres, {{10, 0, 40, 10}, {0, 30, 10, 10}});
  EXPECT_EQ(centred[1].x, 25);
}

}  // namespace
}  // namespace wevo::design
