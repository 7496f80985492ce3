// Snapping while dragging, driven by the scripted user: off unless the host
// turns it on, edges and centres snapping to other controls with a guide
// line while it holds, Alt turning it off for the drag; and the design
// options it is turned on with.
#include "design/snapping.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/design_test_support.h"
#include "wevo/design_options.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::kHotKey;
using testing::pixelRect;
using testing::placePixels;
using testing::Rect;
using testing::unitRect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;

// ?A at pixels (100, 50) 60 x 30 and ?C at (250, 90) 80 x 40, in a window
// 450 x 325 pixels. Process-wide options are forgotten after each test.
class SnapTest : public DesignModeTest {
 protected:
  SnapTest() {
    decl.region("?A", {});
    decl.region("?C", {});
  }
  void TearDown() override {
    clearDesignOptions();
    setSnappingByDefault(false);
    DesignModeTest::TearDown();
  }
  static std::function<int(Window&)> setup(bool snapping) {
    return [snapping](Window& w) {
      placePixels(w, 1, {100, 50, 60, 30});
      placePixels(w, 2, {250, 90, 80, 40});
      if (snapping) {
        DesignOptions o;
        o.snapping = true;
        setDesignOptions(w, o);
      }
      return 1;
    };
  }
  // A guide line: where it lies, when it shows; {} when not shown.
  static std::optional<Rect> guide(Window& host, bool vertical) {
    const MarkFields& m = RunningSession()->marks();
    const int32_t f = vertical ? m.verticalGuide() : m.horizontalGuide();
    if (!host.exists(f) || host.get(f, PROP::Visible).num() == 0) return std::nullopt;
    return pixelRect(host, f);
  }
  TestWindow decl{"Order", 300, 200};
};

TEST_F(SnapTest, EdgesSnapToOtherControlsWithAGuideOnlyWhenTurnedOnAndNotWithAlt) {
  Rect unsnapped, snapped, withAlt, sized, storedSnapped, unitsSnapped;
  std::optional<Rect> guideAcross, guideDown, guideWhileSizing;
  bool guidesGoneAfterRelease = false;
  Script steps;
  // Off: ?A dragged 37 down ends 3 above ?C's top, where the mouse left it.
  steps.drag(130, 65, 130, 102).call([&] { unsnapped = pixelRect(*host, 1); });
  steps.key(KEY::Esc);
  steps.call([&] {
    placePixels(*host, 1, {100, 50, 60, 30});
    DesignOptions o;
    o.snapping = true;
    setDesignOptions(*host, o);
  });
  // On: the same drag puts its top on ?C's top, and a guide shows it.
  steps.key(kHotKey).press(130, 65).move(130, 85).move(130, 102).call([&] {
    guideAcross = guide(*host, false);
    guideDown = guide(*host, true);
  });
  steps.release(130, 102).call([&] {
    snapped = pixelRect(*host, 1);
    storedSnapped = stored(row("?A"));
    unitsSnapped = unitRect(*host, 1);
    guidesGoneAfterRelease = !guide(*host, false) && !guide(*host, true);
  });
  // Alt held: where the mouse leaves it (3 further down).
  steps.holding(KEY::Alt).drag(130, 105, 130, 108).holding(0).call([&] { withAlt = pixelRect(*host, 1); });
  // Handle 4 (the right middle) of ?A at (100, 93): its right edge dragged to
  // 3 short of ?C's left edge snaps onto it.
  steps.press(156, 107).move(200, 107).move(243, 107).call([&] { guideWhileSizing = guide(*host, true); });
  steps.release(243, 107).call([&] { sized = pixelRect(*host, 1); });
  steps.key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(false), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);

  EXPECT_EQ(unsnapped, (Rect{100, 87, 60, 30}));
  EXPECT_EQ(snapped, (Rect{100, 90, 60, 30}));
  ASSERT_TRUE(guideAcross.has_value());
  EXPECT_EQ(*guideAcross, (Rect{0, 90, 450, 1}));
  EXPECT_FALSE(guideDown.has_value());
  EXPECT_TRUE(guidesGoneAfterRelease);
  EXPECT_EQ(storedSnapped, unitsSnapped);
  EXPECT_EQ(withAlt, (Rect{100, 93, 60, 30}));
  EXPECT_EQ(sized, (Rect{100, 93, 150, 30}));
  ASSERT_TRUE(guideWhileSizing.has_value());
  EXPECT_EQ(guideWhileSizing->x, 250);
}

TEST_F(SnapTest, OptionsAreTheWindowsOwnElseTheProcessesElseTheDefaultSwitch) {
  DesignOptions start, byDefault, process, own, cleared, processAfterClear;
  DesignOptions tooSmall;
  tooSmall.snapDistance = -3;
  tooSmall.margin = -1;
  tooSmall.gridStep = 0;
  ProgramResult r = wevo::run([&] {
    Window w(decl.decl());
    w.open();
    start = designOptions(w);
    setSnappingByDefault(true);
    byDefault = designOptions(w);
    setDesignOptions(tooSmall);
    process = designOptions(w);
    DesignOptions mine;
    mine.snapping = true;
    mine.gridStep = 4;
    setDesignOptions(w, mine);
    own = designOptions(w);
    clearDesignOptions(w);
    cleared = designOptions(w);
    clearDesignOptions();
    processAfterClear = designOptions();
  });
  ASSERT_FALSE(r.failed || r.halted) << describe(r);
  EXPECT_FALSE(start.snapping);
  EXPECT_TRUE(byDefault.snapping);
  EXPECT_FALSE(process.snapping);  // what the host set wins over the default
  EXPECT_EQ(process.snapDistance, 0);
  EXPECT_EQ(process.margin, 0);
  EXPECT_EQ(process.gridStep, 1);
  EXPECT_TRUE(own.snapping);
  EXPECT_EQ(own.gridStep, 4);
  EXPECT_FALSE(cleared.snapping);
  EXPECT_EQ(cleared.gridStep, 1);
  EXPECT_TRUE(processAfterClear.snapping);
}

TEST_F(SnapTest, TheProcessWideOptionSnapsEveryWindowWithoutItsOwn) {
  DesignOptions on;
  on.snapping = true;
  setDesignOptions(on);
  Rect snapped;
  Script steps;
  steps.drag(130, 65, 130, 102).call([&] { snapped = pixelRect(*host, 1); }).key(KEY::Esc);
  After after;
  ProgramResult r = run(decl.decl(), setup(false), steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);
  EXPECT_EQ(snapped, (Rect{100, 90, 60, 30}));
}

}  // namespace
}  // namespace wevo::design
