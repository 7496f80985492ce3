#include "platform/view/qt/qt_view.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "platform/view/qt/qt_test_support.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::qtview {
namespace {

using wevo::testing::TestWindow;

RunOptions qtOptions() {
  RunOptions o;
  o.view = qtView();
  return o;
}

TEST(QtViewShows, Smoke) {
  ProgramResult r = run([] {
    TestWindow d("Main", 200, 100);
    d.button("?OK", "&OK", {10, 10, 40, 14});
    Window w(d.decl());
    w.open();
    testing::onScreen(w, [&](TopWindow* top) {
      ASSERT_NE(top, nullptr);
      auto* b = testing::widgetOf<QPushButton>(top, w, "?OK");
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->text(), QStringLiteral("&OK"));
    });
    w.close();
  }, qtOptions());
  EXPECT_FALSE(r.failed) << describe(r);
}

}  // namespace
}  // namespace wevo::qtview
