// Undo and redo in design mode, driven by the scripted user: every kind of
// step is put back on the live control and in its stored row, and done
// again; the history lasts one run, and leaving with No still puts back
// everything the run changed.
#include "design/undo_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/design_test_support.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::kHotKey;
using testing::pixelRect;
using testing::placePixels;
using testing::Rect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;

constexpr int kUndo = KEY::Ctrl + 'Z';
constexpr int kRedo = KEY::Ctrl + 'Y';
constexpr int kRedoToo = KEY::Ctrl + KEY::Shift + 'Z';
const std::string kForm = "BUTTON ?SAVE";
const std::string kList = "  All Screen Fields";

// A control as the screen shows it and as the store keeps it.
struct Seen {
  Rect live;
  std::string text;
  store::WindowControls row{};
};

bool operator==(const Seen& a, const Seen& b) {
  return a.live == b.live && a.text == b.text && store::testing::sameBytes(&a.row, &b.row, sizeof a.row);
}
std::ostream& operator<<(std::ostream& os, const Seen& s) {
  return os << s.live << " \"" << s.text << "\" row X " << s.row.X << " Y " << s.row.Y << " W " << s.row.WIDTH
            << " H " << s.row.HEIGHT << " text \"" << testing::clipped(text::field(s.row.CONTROLTEXT)) << "\"";
}

// A button ?SAVE at pixels (15, 16) 75 x 23, and two regions: ?A at
// (100, 100) 60 x 30, ?B at (250, 100) 60 x 30.
class UndoTest : public DesignModeTest {
 protected:
  UndoTest() {
    decl.button("?SAVE", "Save", {10, 10, 50, 14});
    decl.region("?A", {});
    decl.region("?B", {});
  }
  std::function<int(Window&)> setup(int first, bool originals = false) {
    return [=, this](Window& w) {
      if (originals) WEVO::SETWINDOWCONTROLS(w, testing::kProcedure, testing::kMarker, settings);
      placePixels(w, 2, {100, 100, 60, 30});
      placePixels(w, 3, {250, 100, 60, 30});
      return first;
    };
  }
  Seen seen(const std::string& label) {
    const int f = host->fieldOf(label);
    return {pixelRect(*host, f), host->get(f, PROP::Text).str(), row(label)};
  }
  std::vector<int32_t> orders() {
    std::vector<int32_t> out;
    for (const store::WindowControls& r : rows())
      if (testing::clipped(text::field(r.UNIQUEMARKER)) == testing::kMarker) out.push_back(+r.ORDER);
    return out;
  }
  TestWindow decl{"Order", 300, 200};
};

TEST_F(UndoTest, MovesResizesAndNudgeRunsAreUndoneOnTheControlAndInTheStoreAndRedone) {
  Seen start, moved, undoneMove, redoneMove, resized, undoneResize, nudged, undoneNudges, undoneAgain, redoneAgain;
  Script steps;
  steps.call([&] { start = seen("?A"); });
  steps.drag(120, 110, 140, 130).call([&] { moved = seen("?A"); });
  steps.key(kUndo).call([&] { undoneMove = seen("?A"); });
  steps.key(kRedo).call([&] { redoneMove = seen("?A"); });
  // ?A at (120, 120): handle 5 at (174, 144), dragged by (+10, +5).
  steps.drag(176, 146, 186, 151).call([&] { resized = seen("?A"); });
  steps.key(kUndo).call([&] { undoneResize = seen("?A"); });
  // Three arrows are one step; they never reached the store.
  steps.key(KEY::Right).key(KEY::Right).key(KEY::Down).call([&] { nudged = seen("?A"); });
  steps.key(kUndo).call([&] { undoneNudges = seen("?A"); });
  steps.key(kUndo).call([&] { undoneAgain = seen("?A"); });
  steps.key(kRedoToo).call([&] { redoneAgain = seen("?A"); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(2), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);

  EXPECT_EQ(moved.live, (Rect{120, 120, 60, 30}));
  EXPECT_NE(+moved.row.X, +start.row.X);  // the release stored it
  EXPECT_EQ(undoneMove, start);
  EXPECT_EQ(redoneMove, moved);
  EXPECT_EQ(resized.live, (Rect{120, 120, 70, 35}));
  EXPECT_NE(+resized.row.WIDTH, +moved.row.WIDTH);
  EXPECT_EQ(undoneResize, moved);
  EXPECT_EQ(nudged.live, (Rect{122, 121, 60, 30}));
  EXPECT_TRUE(store::testing::sameBytes(&nudged.row, &moved.row, sizeof moved.row));
  EXPECT_EQ(undoneNudges, moved);
  EXPECT_EQ(undoneAgain, start);  // the resize was undone before: next comes the move
  EXPECT_EQ(redoneAgain, moved);
}

TEST_F(UndoTest, FormSavesResetsAndTabOrderAppliesAreUndoneAndRedone) {
  Seen start, saved, undoneSave, redoneSave, reset, undoneReset;
  std::vector<int32_t> ordersBefore, ordersApplied, ordersUndone, ordersRedone;
  Script steps;
  steps.call([&] { start = seen("?SAVE"); });
  steps.rightPress(40, 25).choosePopup(1);
  steps.clickControl("?WIN:CONTROLTEXT", kForm).type("Keep").clickControl("?OK", kForm);
  steps.call([&] { saved = seen("?SAVE"); });
  steps.key(kUndo).call([&] { undoneSave = seen("?SAVE"); });
  steps.key(kRedo).call([&] { redoneSave = seen("?SAVE"); });
  steps.rightPress(40, 25).choosePopup(4).call([&] { reset = seen("?SAVE"); });
  steps.key(kUndo).call([&] { undoneReset = seen("?SAVE"); });
  // The tab order: ?SAVE one place down, applied.
  steps.call([&] { ordersBefore = orders(); });
  steps.rightPress(400, 300).choosePopup(3).selectTab("?TAB2", kList).selectRow("?TABORDER", 2, kList);
  steps.clickControl("?DOWN", kList).clickControl("?APPLY", kList).clickControl("?CANCEL", kList);
  steps.call([&] { ordersApplied = orders(); });
  steps.key(kUndo).call([&] { ordersUndone = orders(); });
  steps.key(kRedo).call([&] { ordersRedone = orders(); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(1, true), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);

  EXPECT_EQ(saved.text, "Keep");
  EXPECT_EQ(testing::clipped(text::field(saved.row.CONTROLTEXT)), "Keep");
  EXPECT_EQ(undoneSave, start);
  EXPECT_EQ(redoneSave, saved);
  EXPECT_EQ(reset.text, "Save");
  EXPECT_EQ(testing::clipped(text::field(reset.row.CONTROLTEXT)), "Save");
  EXPECT_EQ(undoneReset, saved);
  EXPECT_NE(ordersApplied, ordersBefore);
  EXPECT_EQ(ordersUndone, ordersBefore);
  EXPECT_EQ(ordersRedone, ordersApplied);
}

TEST_F(UndoTest, TheHistoryEndsWithTheRunAndNoStillPutsBackTheWholeRun) {
  settings.PROMPTONEXIT = 1;
  Seen aStart, bStart, aInNextRun, aAtEnd, bAtEnd;
  Rect bUnitsAtEnd;
  Script steps;
  steps.call([&] {
    aStart = seen("?A");
    bStart = seen("?B");
  });
  // First run: ?A moved, kept; the history goes with the run.
  steps.drag(120, 110, 130, 120).key(KEY::Esc).answer("Wevo", BUTTON::Yes);
  steps.key(kHotKey).key(kUndo).call([&] { aInNextRun = seen("?A"); });
  // In this run: ?A undone and redone, ?B moved; No puts both back.
  steps.drag(130, 120, 150, 140).key(kUndo).key(kRedo).drag(270, 110, 280, 115);
  steps.key(KEY::Esc).answer("Wevo", BUTTON::No);
  steps.call([&] {
    aAtEnd = seen("?A");
    bAtEnd = seen("?B");
    bUnitsAtEnd = testing::unitRect(*host, 3);
  });
  After after;
  ProgramResult r = run(decl.decl(), setup(0), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);
  EXPECT_EQ(aInNextRun.live, (Rect{110, 110, 60, 30}));  // nothing to undo in a new run
  EXPECT_EQ(+aAtEnd.row.X, +aInNextRun.row.X);             // back as the second run found it
  EXPECT_EQ(+aAtEnd.row.Y, +aInNextRun.row.Y);
  EXPECT_TRUE(store::testing::sameBytes(&bAtEnd.row, &bStart.row, sizeof bStart.row));
  EXPECT_EQ(bUnitsAtEnd, stored(bStart.row));
}

}  // namespace
}  // namespace wevo::design
