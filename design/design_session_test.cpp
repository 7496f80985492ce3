// Design mode driven only by the scripted user: the start and the end, what
// a press selects, the handles, dragging, nudging and storing.
#include "design/design_session.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "design/design_test_support.h"
#include "platform/keyedfile/read_counter.h"
#include "platform/toolkit/program_state.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::marked;
using testing::pixelRect;
using testing::placePixels;
using testing::Rect;
using testing::unitRect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;

// The handles' top-left corners, handle 1 to 8.
std::vector<std::pair<int, int>> handleCorners(Window& host) {
  std::vector<std::pair<int, int>> out;
  for (int n = 0; n < 8; ++n) {
    Rect r = pixelRect(host, 10001 + n);
    out.emplace_back(r.x, r.y);
  }
  return out;
}

TEST_F(DesignModeTest, StartingWithTheWindowMarksItsClientAreaAndEndingGivesTheWindowBack) {
  TestWindow d("Order", 300, 200);
  d.button("?OK", "OK", {10, 10, 40, 14});
  Rect client;
  std::vector<std::pair<int, int>> corners;
  bool handlesAreRedRegions = true, overlayHidden = false, overlayHasCapture = false;
  int64_t hostPixels = -1, deferMove = -1;
  Script steps;
  steps.call([&] {
    client = pixelRect(*host, 0);
    corners = handleCorners(*host);
    for (int n = 0; n < 8; ++n) {
      const int f = 10001 + n;
      handlesAreRedRegions = handlesAreRedRegions && host->get(f, PROP::Type).num() == TYPE::Region &&
                             host->get(f, PROP::Fill).num() == COLOR::Red &&
                             host->get(f, PROP::Background).num() == COLOR::Black &&
                             host->get(f, PROP::RegionKeep).num() == 1 && pixelRect(*host, f).w == 6 &&
                             pixelRect(*host, f).h == 6 && host->get(f, PROP::Visible).num() == 1;
    }
    std::optional<toolkit::WindowSnapshot> overlay = wevo::testing::shownWindow("MORPHWINDOW");
    overlayHidden = overlay.has_value() && overlay->hidden;
    overlayHasCapture = overlay.has_value() && capture() == overlay->handle;
    hostPixels = host->get(0, PROP::Pixels).num();
    deferMove = systemGet(PROP::DeferMove).num();
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(d.decl(), nullptr, steps, after);
  ASSERT_TRUE(endedNormally(r));

  const int w = client.w, h = client.h;
  ASSERT_GT(w, 100);
  std::vector<std::pair<int, int>> want = {{0, 0},
                                           {w / 2 - 3 + (w % 2), 0},  // halves rounded up
                                           {w - 6, 0},
                                           {w - 6, h / 2 - 3 + (h % 2)},
                                           {w - 6, h - 6},
                                           {w / 2 - 3 + (w % 2), h - 6},
                                           {0, h - 6},
                                           {0, h / 2 - 3 + (h % 2)}};
  EXPECT_EQ(corners, want);
  EXPECT_TRUE(handlesAreRedRegions);
  EXPECT_TRUE(overlayHidden);
  EXPECT_TRUE(overlayHasCapture);
  EXPECT_EQ(hostPixels, 1);
  EXPECT_EQ(deferMove, 1);

  EXPECT_TRUE(after.returned);
  EXPECT_EQ(after.pixels, 0);
  EXPECT_EQ(after.globalResponse, 2);
  EXPECT_TRUE(after.resumed);
  EXPECT_TRUE(after.focusKey);
  EXPECT_FALSE(after.handlesLeft);
  EXPECT_FALSE(after.overlayOpen);
  EXPECT_EQ(after.capture, 0);
  EXPECT_EQ(after.cursor, "");
  EXPECT_FALSE(wevo::testing::transcriptHas(r, "message"));  // PROMPTONEXIT 0: no question
  // Starting listed every control with a row.
  EXPECT_NE(+row("WINDOW").UID, 0u);
  EXPECT_NE(+row("?OK").UID, 0u);
}

TEST_F(DesignModeTest, StartingWithAControlMarksItFromInside) {
  TestWindow d("Order", 300, 200);
  d.button("?OK", "OK", {10, 10, 40, 14});
  d.region("?SMALL", {20, 40, 20, 20});
  std::vector<std::pair<int, int>> corners;
  Rect marks;
  Script steps;
  steps.call([&] {
    corners = handleCorners(*host);
    marks = marked(*host);
  });
  steps.key(KEY::F10);
  After after;
  ProgramResult r = run(
      d.decl(),
      [](Window& w) {
        placePixels(w, 2, {100, 50, 20, 10});
        return 2;
      },
      steps, after);
  ASSERT_TRUE(endedNormally(r));
  std::vector<std::pair<int, int>> want = {{100, 50}, {107, 50}, {114, 50}, {114, 52},
                                           {114, 54}, {107, 54}, {100, 54}, {100, 52}};
  EXPECT_EQ(corners, want);
  EXPECT_EQ(marks, (Rect{100, 50, 20, 10}));
  EXPECT_TRUE(after.resumed);
}

TEST_F(DesignModeTest, StartingWithANumberThatNamesNoControlSelectsTheWindow) {
  TestWindow d("Order", 300, 200);
  d.button("?OK", "OK", {10, 10, 40, 14});
  MorphState atStart;
  Rect marks;
  Script steps;
  steps.call([&] {
    atStart = testing::running();
    marks = marked(*host);
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(d.decl(), [](Window&) { return 99; }, steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(atStart.CONTROLNO, 0);
  EXPECT_EQ(marks, (Rect{0, 0, 450, 325}));
  EXPECT_TRUE(after.resumed);
}

TEST_F(DesignModeTest, APressSelectsTheSmallestVisibleControlUnderIt) {
  TestWindow d("Order", 300, 200);
  d.group("?GROUP", "Group", {});
  d.button("?INGROUP", "In", {});
  d.button("?HIDDENOVER", "Hidden", {}).hidden = true;
  d.button("?HIDDENALONE", "Alone", {}).hidden = true;
  d.region("?TWIN1", {});
  d.region("?TWIN2", {});
  d.sheet("?SHEET", {});
  d.tab("?TAB1", "One", "?SHEET");
  d.tab("?TAB2", "Two", "?SHEET");
  d.button("?ONTAB2", "Hidden by its tab", {}).parent = "?TAB2";
  d.region("?TINY", {});
  std::vector<int> selected;
  std::vector<Rect> marks;
  auto look = [&] {
    selected.push_back(testing::running().CONTROLNO);
    marks.push_back(marked(*host));
  };
  MorphState onHandle;
  Script steps;
  steps.click(120, 70).call(look);   // 1: the button inside the group
  steps.click(90, 120).call(look);   // 2: the group beside it, where a hidden button lies
  steps.click(400, 290).call(look);  // 3: only the hidden button: the window
  steps.click(35, 235).call(look);   // 4: two regions of equal size: the lower number
  steps.click(260, 45).call(look);   // 5: sheet and its tab, 5 below their top: the tab
  steps.click(260, 60).call(look);   // 6: 20 below: still the tab
  steps.click(260, 61).call(look);   // 7: 21 below: the sheet
  steps.click(390, 100).call(look);  // 8: over a button of the tab not showing: the sheet
  steps.click(80, 90).call(look);    // 9: on the group's left edge: the group
  // 10: on the group's first handle, over a smaller control: the smaller
  // control is selected, the group's handle kept for the drag.
  steps.press(82, 42).call([&] { onHandle = testing::running(); }).release(82, 42).call(look);
  steps.key(KEY::Esc);
  After after;
  int group = 0, inGroup = 0, twin1 = 0, sheet = 0, tab1 = 0, tiny = 0;  // set by the setup
  ProgramResult r = run(
      d.decl(),
      [&](Window& w) {
        group = w.fieldOf("?GROUP");
        inGroup = w.fieldOf("?INGROUP");
        twin1 = w.fieldOf("?TWIN1");
        sheet = w.fieldOf("?SHEET");
        tab1 = w.fieldOf("?TAB1");
        tiny = w.fieldOf("?TINY");
        placePixels(w, group, {80, 40, 100, 100});
        placePixels(w, inGroup, {100, 60, 40, 20});
        placePixels(w, w.fieldOf("?HIDDENOVER"), {85, 110, 10, 20});
        placePixels(w, w.fieldOf("?HIDDENALONE"), {390, 280, 30, 30});
        placePixels(w, twin1, {30, 230, 20, 20});
        placePixels(w, w.fieldOf("?TWIN2"), {30, 230, 20, 20});
        placePixels(w, sheet, {200, 40, 220, 120});
        placePixels(w, w.fieldOf("?ONTAB2"), {380, 90, 30, 20});
        placePixels(w, tiny, {81, 41, 4, 4});
        return inGroup;
      },
      steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(selected, (std::vector<int>{inGroup, group, 0, twin1, tab1, tab1, sheet, sheet, group, tiny}));
  ASSERT_EQ(marks.size(), 10u);
  EXPECT_EQ(marks[0], (Rect{100, 60, 40, 20}));
  EXPECT_EQ(marks[1], (Rect{80, 40, 100, 100}));
  EXPECT_EQ(marks[2].x, 0);  // the window's client area
  EXPECT_EQ(marks[2].y, 0);
  EXPECT_EQ(marks[2].w, 450);
  EXPECT_EQ(marks[2].h, 325);
  EXPECT_EQ(marks[3], (Rect{30, 230, 20, 20}));
  EXPECT_EQ(marks[9], (Rect{81, 41, 4, 4}));
  EXPECT_EQ(onHandle.CONTROLNO, tiny);
  EXPECT_EQ(onHandle.OVERGRABHANDLE, 1);
  EXPECT_EQ(onHandle.MOUSEISDOWN, 1);
  EXPECT_EQ(onHandle.CLICKINGONCONTROL, 1);  // inside the tiny control too, but the handle wins
}

// A window with three 60 x 30 pixel regions: ?A at (100, 50), ?B at
// (100, 150), ?C at (250, 50). Their handles (clockwise from the top left)
// lie at x 100, 127, 154 and y 50, 62, 74 for ?A.
class DragTest : public DesignModeTest {
 protected:
  DragTest() {
    decl.region("?A", {});
    decl.region("?B", {});
    decl.region("?C", {});
  }
  // Places the three and starts with `first` selected.
  std::function<int(Window&)> setup(int first) {
    return [first](Window& w) {
      placePixels(w, 1, {100, 50, 60, 30});
      placePixels(w, 2, {100, 150, 60, 30});
      placePixels(w, 3, {250, 50, 60, 30});
      return first;
    };
  }
  TestWindow decl{"Order", 300, 200};
};

TEST_F(DragTest, DraggingAHandleResizesFromItAndTheReleaseStoresAtOnceWithoutTouchingTheStoreBefore) {
  std::string bytesBefore, bytesDuring;
  uint64_t readsDuring = 99;
  Rect afterHandle1, afterHandle4, afterInside, storedAfterRelease, unitsAfterRelease;
  MorphState duringDrag;
  Script steps;
  // Handle 1 of ?A by (+5, +3), in two moves. The press reads ?A's row for
  // its snapshot; the moves touch no row.
  steps.press(101, 51).call([&] {
    bytesBefore = store::testing::fileBytes(storeName);
    kf::resetRowsRead();
  });
  steps.move(104, 53).move(106, 54);
  steps.call([&] {
    readsDuring = kf::rowsRead();
    bytesDuring = store::testing::fileBytes(storeName);
    duringDrag = testing::running();
    afterHandle1 = pixelRect(*host, 1);
  });
  steps.release(106, 54).call([&] {
    storedAfterRelease = stored(row("?A"));
    unitsAfterRelease = unitRect(*host, 1);
  });
  // ?A is now (105, 53) 55 x 27: handle 4 at (154, 64), its half pixel
  // rounded up. By (+6, +9).
  steps.press(156, 66).move(162, 75).release(162, 75).call([&] { afterHandle4 = pixelRect(*host, 1); });
  // Inside ?B by (-2, +7): the press selects it and starts a move.
  steps.press(115, 160).move(114, 163).move(113, 167).release(113, 167).call([&] {
    afterInside = pixelRect(*host, 2);
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1), steps, after);
  ASSERT_TRUE(endedNormally(r));

  EXPECT_EQ(afterHandle1, (Rect{105, 53, 55, 27}));  // the bottom-right corner stays at (160, 80)
  EXPECT_EQ(duringDrag.OVERGRABHANDLE, 1);
  EXPECT_EQ(duringDrag.CONTROLNO, 1);
  EXPECT_EQ(readsDuring, 0u);             // no row read while dragging
  EXPECT_EQ(bytesDuring, bytesBefore);    // nor written
  EXPECT_EQ(storedAfterRelease, unitsAfterRelease);  // stored in dialog units by the release
  EXPECT_EQ(unitsAfterRelease, (Rect{70, 33, 37, 17}));
  EXPECT_EQ(afterHandle4, (Rect{105, 53, 61, 27}));  // the vertical part ignored
  EXPECT_EQ(afterInside, (Rect{98, 157, 60, 30}));
  // With PROMPTONEXIT 0 every change stays.
  EXPECT_EQ(stored(row("?A")), (Rect{70, 33, 41, 17}));
  EXPECT_EQ(stored(row("?B")), (Rect{65, 97, 40, 18}));
  EXPECT_FALSE(wevo::testing::transcriptHas(r, "message"));
}

TEST_F(DragTest, APressOnAnEdgeSelectsWithoutADragAndAStillMoveDoesNothing) {
  MorphState onEdge, pressed;
  Rect afterEdgeDrag;
  int repaintsBefore = -1, repaintsAfter = -2;
  Rect beforeStill, afterStill;
  Script steps;
  // The window is selected; ?A's bottom edge is pressed and dragged.
  steps.press(130, 80).call([&] { onEdge = testing::running(); });
  steps.move(140, 90).move(150, 95).release(150, 95).call([&] { afterEdgeDrag = pixelRect(*host, 1); });
  // A press inside ?A, then a move to the same point.
  steps.press(115, 60).call([&] {
    pressed = testing::running();
    repaintsBefore = repaints();
    beforeStill = pixelRect(*host, 1);
  });
  steps.move(115, 60).call([&] {
    repaintsAfter = repaints();
    afterStill = pixelRect(*host, 1);
  });
  steps.release(115, 60).key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(0), steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(onEdge.CONTROLNO, 1);
  EXPECT_EQ(onEdge.OVERGRABHANDLE, 0);
  EXPECT_EQ(onEdge.CLICKINGONCONTROL, 0);
  EXPECT_EQ(afterEdgeDrag, (Rect{100, 50, 60, 30}));
  EXPECT_EQ(pressed.CLICKINGONCONTROL, 1);
  EXPECT_EQ(pressed.OVERGRABHANDLE, 0);
  EXPECT_GE(repaintsBefore, 0);
  EXPECT_EQ(repaintsAfter, repaintsBefore);
  EXPECT_EQ(afterStill, beforeStill);
}

TEST_F(DragTest, TheCursorFollowsTheHandlesUntilAPressAndTheReleaseGivesTheArrow) {
  std::vector<std::string> cursors;
  std::vector<int> over;
  auto look = [&] {
    cursors.push_back(cursor());
    over.push_back(testing::running().OVERGRABHANDLE);
  };
  Script steps;
  steps.move(102, 52).call(look);   // handle 1
  steps.move(130, 52).call(look);   // handle 2
  steps.move(157, 52).call(look);   // handle 3
  steps.move(157, 65).call(look);   // handle 4
  steps.move(160, 80).call(look);   // handle 5, its far corner
  steps.move(130, 77).call(look);   // handle 6
  steps.move(103, 77).call(look);   // handle 7
  steps.move(100, 62).call(look);   // handle 8, its near corner
  steps.move(300, 300).call(look);  // none
  steps.press(115, 60).call(look);  // inside: the four-way arrow
  steps.move(118, 64).call(look);   // dragging: unchanged
  steps.release(118, 64).call(look);
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1), steps, after);
  ASSERT_TRUE(endedNormally(r));
  const std::vector<std::string> want = {CURSOR::SizeNWSE, CURSOR::SizeNS, CURSOR::SizeNESW, CURSOR::SizeWE,
                                         CURSOR::SizeNWSE, CURSOR::SizeNS, CURSOR::SizeNESW, CURSOR::SizeWE,
                                         CURSOR::Arrow,    CURSOR::Size,   CURSOR::Size,     CURSOR::Arrow};
  EXPECT_EQ(cursors, want);
  EXPECT_EQ(over, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 0, 0, 0, 0}));
  EXPECT_EQ(after.cursor, "");
}

TEST_F(DragTest, ArrowsNudgeTheSelectionAndReachTheStoreOnlyWithTheNextPressAndRelease) {
  Rect live, storedAfterNudge, storedAtStart, storedAfterClick, windowBefore, windowAfter, cAfter;
  Script steps;
  steps.call([&] { storedAtStart = stored(row("?A")); });
  steps.key(KEY::Right).key(KEY::Right).key(KEY::Right).key(KEY::Down).key(KEY::Left).key(KEY::Up).key(KEY::Down);
  steps.call([&] {
    live = pixelRect(*host, 1);
    storedAfterNudge = stored(row("?A"));
  });
  steps.click(120, 60).call([&] { storedAfterClick = stored(row("?A")); });
  // ?C nudged, then the window selected: ?C's row is never stored again.
  steps.click(270, 60).key(KEY::Down).click(400, 300);
  steps.call([&] { windowBefore = pixelRect(*host, 0); }).key(KEY::Right).call([&] {
    windowAfter = pixelRect(*host, 0);
    cAfter = stored(row("?C"));
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1), steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(live, (Rect{102, 51, 60, 30}));
  EXPECT_EQ(storedAfterNudge, storedAtStart);
  EXPECT_EQ(storedAtStart, (Rect{67, 31, 40, 18}));
  EXPECT_EQ(storedAfterClick, (Rect{68, 31, 40, 18}));
  EXPECT_EQ(cAfter, (Rect{167, 31, 40, 18}));  // still where the click before the nudge stored it
  EXPECT_EQ(windowAfter.x, windowBefore.x + 1);
  EXPECT_EQ(windowAfter.y, windowBefore.y);
}

TEST_F(DragTest, WithTheWindowSelectedArrowsAndDragsMoveTheWindowAndTheReleaseStoresIt) {
  Rect start, nudged, dragged, storedWindow, unitsWindow;
  MorphState pressed;
  Script steps;
  steps.call([&] { start = pixelRect(*host, 0); });
  steps.key(KEY::Right).call([&] { nudged = pixelRect(*host, 0); });
  // A press on no control selects the window, inside its client area.
  steps.press(300, 250).call([&] { pressed = testing::running(); });
  steps.move(310, 255).release(310, 255).call([&] {
    dragged = pixelRect(*host, 0);
    storedWindow = stored(row("WINDOW"));
    unitsWindow = unitRect(*host, 0);
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(0), steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(nudged, (Rect{start.x + 1, start.y, start.w, start.h}));
  EXPECT_EQ(pressed.CONTROLNO, 0);
  EXPECT_EQ(pressed.CLICKINGONCONTROL, 1);
  EXPECT_EQ(dragged, (Rect{start.x + 11, start.y + 5, start.w, start.h}));
  EXPECT_EQ(storedWindow, unitsWindow);
}

TEST_F(DragTest, EscF8F9F10ADoubleClickOrLosingTheFocusEndDesignModeAndOtherKeysDoNot) {
  struct Ending {
    const char* name;
    std::function<void(Script&)> add;
  };
  const Ending endings[] = {
      {"Esc", [](Script& s) { s.key(KEY::Esc); }},
      {"F8", [](Script& s) { s.key(KEY::F8); }},
      {"F9", [](Script& s) { s.key(KEY::F9); }},
      {"F10", [](Script& s) { s.key(KEY::F10); }},
      {"double click", [](Script& s) { s.doubleClick(300, 300); }},
      {"another application", [](Script& s) { s.switchAway(); }},
  };
  for (const Ending& e : endings) {
    SCOPED_TRACE(e.name);
    bool stillRunning = false;
    Script steps;
    steps.key(KEY::letter('A')).key(KEY::Enter).key(KEY::F1 + 6).key(KEY::Right | KEY::Shift);
    steps.call([&] { stillRunning = RunningSession() != nullptr; });
    e.add(steps);
    After after;
    ProgramResult r = run(decl.decl(), setup(1), steps, after);
    ASSERT_TRUE(endedNormally(r));
    EXPECT_TRUE(stillRunning);
    EXPECT_TRUE(after.returned);
    EXPECT_TRUE(after.resumed);
    EXPECT_TRUE(after.focusKey);
    EXPECT_EQ(after.globalResponse, 2);
    EXPECT_EQ(after.pixels, 0);
    EXPECT_FALSE(after.handlesLeft);
    EXPECT_EQ(after.capture, 0);
    EXPECT_FALSE(wevo::testing::transcriptHas(r, "stop"));  // a key press shows nothing
  }
}

TEST_F(DragTest, AnsweringNoPutsEverySnapshottedRowBackInTheStoreAndOnTheControls) {
  settings.PROMPTONEXIT = 1;
  std::vector<store::WindowControls> atStart;
  Rect aMoved, bChanged;
  Script steps;
  steps.call([&] { atStart = rows(); });
  steps.drag(115, 60, 125, 70).drag(125, 70, 135, 75);  // ?A twice: one snapshot, the first
  steps.click(115, 160).key(KEY::Right).key(KEY::Right);  // ?B nudged, then resized from handle 5
  steps.press(158, 176).move(168, 186).release(168, 186);
  steps.call([&] {
    aMoved = stored(row("?A"));
    bChanged = stored(row("?B"));
  });
  steps.key(KEY::Esc).answer("Wevo", BUTTON::No);
  After after;
  Rect aLive, bLive, cLive;
  ProgramResult r = run(
      decl.decl(),
      [&](Window& w) {
        int first = setup(0)(w);
        w.registerHandler(EVENT::Resumed, [&](Window& win, int) {
          aLive = unitRect(win, 1);
          bLive = unitRect(win, 2);
          cLive = unitRect(win, 3);
          return true;
        });
        return first;
      },
      steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(wevo::testing::transcriptHas(
      r, "message \"Wevo\" \"Do you want to save your changes?\" icon=question buttons=Yes|No default=Yes -> No"));
  // The changes had reached the store.
  EXPECT_EQ(aMoved, (Rect{80, 40, 40, 18}));
  EXPECT_EQ(bChanged, (Rect{68, 92, 47, 25}));
  std::vector<store::WindowControls> atEnd = rows();
  ASSERT_EQ(atEnd.size(), atStart.size());
  for (size_t i = 0; i < atEnd.size(); ++i) {
    SCOPED_TRACE(testing::clipped(text::field(atEnd[i].CONTROLLABEL)));
    EXPECT_TRUE(store::testing::sameBytes(&atEnd[i], &atStart[i], sizeof atEnd[i]));
  }
  EXPECT_EQ(aLive, (Rect{67, 31, 40, 18}));
  EXPECT_EQ(bLive, (Rect{67, 92, 40, 18}));
  EXPECT_EQ(cLive, (Rect{167, 31, 40, 18}));
  EXPECT_TRUE(after.resumed);
  EXPECT_EQ(after.globalResponse, 2);
}

TEST_F(DragTest, AnsweringYesKeepsTheChanges) {
  settings.PROMPTONEXIT = 1;
  Script steps;
  steps.drag(115, 60, 125, 70).key(KEY::Esc).answer("Wevo", BUTTON::Yes);
  After after;
  ProgramResult r = run(decl.decl(), setup(0), steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(wevo::testing::transcriptHas(r, "message \"Wevo\" \"Do you want to save your changes?\""));
  EXPECT_EQ(stored(row("?A")), (Rect{73, 37, 40, 18}));
}

TEST_F(DragTest, TheRightButtonSelectsAndStoresTheControlUnderTheMouseAndDesignModeGoesOn) {
  MorphState afterRight;
  Rect storedAfterRight;
  bool stillRunning = false;
  Script steps;
  steps.key(KEY::Right).key(KEY::Right);  // ?B, selected at the start, nudged
  steps.rightPress(120, 165).choosePopup(0).call([&] {
    afterRight = testing::running();
    storedAfterRight = stored(row("?B"));
    stillRunning = RunningSession() != nullptr;
  });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(2), steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(afterRight.CONTROLNO, 2);
  EXPECT_EQ(afterRight.MOUSEISDOWN, 0);
  EXPECT_EQ(afterRight.CLICKINGONCONTROL, 0);
  EXPECT_EQ(storedAfterRight, (Rect{68, 92, 40, 18}));
  EXPECT_TRUE(stillRunning);
  EXPECT_TRUE(wevo::testing::transcriptHas(r, "popup \"Edit ?B|"));
}

TEST_F(DragTest, InputThatQueuesUpIsHandledAtThePointsWhereItHappened) {
  Rect moved;
  Script steps;
  steps.call([&] {
    const int sx = host->get(0, PROP::XPos).i32(), sy = host->get(0, PROP::YPos).i32();
    auto input = [&](toolkit::InputMessage::Kind kind, int x, int y) {
      toolkit::InputMessage m;
      m.kind = kind;
      m.window = host->handle();
      m.x = sx + x;
      m.y = sy + y;
      ASSERT_TRUE(toolkit::Program::current()->postInput(m));
    };
    // Press, move and release arrive before design mode gets to any of them.
    input(toolkit::InputMessage::LeftDown, 115, 60);
    input(toolkit::InputMessage::MouseMove, 125, 67);
    input(toolkit::InputMessage::LeftUp, 125, 67);
  });
  steps.call([&] { moved = pixelRect(*host, 1); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1), steps, after);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(moved, (Rect{110, 57, 60, 30}));
}

// A host written against the C entry: the window by its handle, a right
// click as its hot key. The pending right button is not taken for a press
// in design mode; null strings count as blank; a handle of no window, or no
// settings, does nothing.
TEST_F(DesignModeTest, TheCEntryTakesTheWindowsHandleAndIgnoresWhatNamesNoWindow) {
  TestWindow d("Order", 300, 200);
  d.button("?OK", "OK", {10, 10, 40, 14});
  d.decl().alerts = {KEY::MouseRight};
  int pendingKey = -1;
  bool ranForNothing = true;
  Script script;
  script.rightClick(200, 150).call([&] { pendingKey = keyCode(); }).key(KEY::Esc);
  RunOptions options;
  options.args = {store::testing::kProgram};
  ProgramResult r = wevo::testing::runScripted(
      script,
      [&] {
        Window w(d.decl());
        w.open();
        store::GlobalResponse() = 7;
        WEVO_PROCESSWINDOW(0, 0, "OrderForm", "Mark", &settings);
        WEVO_PROCESSWINDOW(w.handle() + 1000, 0, "OrderForm", "Mark", &settings);
        WEVO_PROCESSWINDOW(w.handle(), 0, "OrderForm", "Mark", nullptr);
        ranForNothing = store::GlobalResponse() != 7 || wevo::testing::shownWindow("MORPHWINDOW").has_value();
        while (w.accept()) {
          if (event() == EVENT::AlertKey && keyCode() == KEY::MouseRight) {
            WEVO_PROCESSWINDOW(w.handle(), 1, "OrderForm", nullptr, &settings);
            break;
          }
        }
      },
      options);
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(ranForNothing);
  EXPECT_EQ(pendingKey, 0);
  bool blankMarker = false;
  for (const store::WindowControls& row : rows())
    blankMarker = blankMarker || (testing::clipped(text::field(row.UNIQUEMARKER)).empty() &&
                                  testing::clipped(text::field(row.CONTROLLABEL)) == "?OK");
  EXPECT_TRUE(blankMarker);
}

TEST(DesignClaim, OneWindowAtATimeIsInDesignMode) {
  auto first = std::make_unique<DesignClaim>();
  EXPECT_TRUE(first->held());
  {
    DesignClaim second;
    EXPECT_FALSE(second.held());
  }
  EXPECT_TRUE(first->held());  // the refused claim gave nothing back
  DesignClaim third;
  EXPECT_FALSE(third.held());
  first.reset();
  DesignClaim fourth;
  EXPECT_TRUE(fourth.held());
}

}  // namespace
}  // namespace wevo::design
