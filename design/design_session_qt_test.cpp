// Design mode under the Qt view (offscreen), driven by the scripted user
// through real Qt key events: the keys reach design mode even while an entry
// of the window keeps Qt's focus, and the selection is described to
// assistive tools on its widget.
#include <gtest/gtest.h>

#include <QWidget>
#include <string>

#include "design/design_test_support.h"
#include "platform/view/qt/qt_test_support.h"
#include "wevo/qt_view.h"

namespace wevo::design {
namespace {

using testing::After;
using testing::DesignModeTest;
using testing::pixelRect;
using testing::Rect;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;

TEST_F(DesignModeTest, UnderQtTheKeysReachDesignModeAndTheSelectionIsDescribedOnItsWidget) {
  view = qtView();
  TestWindow d("Order", 200, 100);
  d.entry("?NAME", "@s20", Binding{}, {10, 10, 80, 10});
  d.button("?OK", "OK", {10, 30, 40, 14});
  Rect start, nudged, undone;
  std::string okDescription;
  Script steps;
  steps.call([&] { start = pixelRect(*host, 1); });
  steps.key(KEY::Left).key(KEY::Left).call([&] { nudged = pixelRect(*host, 1); });
  steps.key(KEY::Ctrl + 'Z').call([&] { undone = pixelRect(*host, 1); });
  steps.key(KEY::Tab).call([&] {
    qtview::testing::onScreen(*host, [&](qtview::TopWindow* top) {
      if (top != nullptr) okDescription = top->widget(2)->accessibleDescription().toStdString();
    });
  });
  steps.key(KEY::Esc);
  After after;
  // The entry has the focus, and with it Qt's, when design mode starts on it.
  ProgramResult r = run(d.decl(), [](Window& w) { return w.fieldOf("?NAME"); }, steps, after);
  ASSERT_TRUE(endedNormally(r)) << describe(r);
  EXPECT_EQ(nudged, (Rect{start.x - 2, start.y, start.w, start.h}));
  EXPECT_EQ(undone, start);
  EXPECT_EQ(okDescription.rfind("?OK, BUTTON, at x 10, y 30", 0), 0u) << okDescription;
  EXPECT_TRUE(after.returned);
}

}  // namespace
}  // namespace wevo::design
