#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>

#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using testing::TestWindow;

TEST(Program, MessageBoxAnsweredByTheScriptIsInTheTranscript) {
  Script script;
  script.answer("Wevo", BUTTON::No);
  int answer = 0;
  ProgramResult r = testing::runScripted(script, [&] {
    answer = message("Do you want to save your changes?", "Wevo", ICON::Question, BUTTON::Yes | BUTTON::No,
                     BUTTON::Yes);
  });
  EXPECT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(answer, BUTTON::No);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0],
            "message \"Wevo\" \"Do you want to save your changes?\" icon=question buttons=Yes|No default=Yes -> No");
}

TEST(Program, WindowClosedByTheUserEndsItsLoop) {
  Script script;
  script.clickControl("?OK", "Main").closeWindow("Main");
  int accepted = 0, opened = 0;
  ProgramResult r = testing::runScripted(script, [&] {
    TestWindow d("Main");
    d.button("?OK", "&OK", {10, 10, 40, 14});
    Window w(d.decl());
    w.open();
    while (w.accept()) {
      if (event() == EVENT::OpenWindow) ++opened;
      if (event() == EVENT::Accepted && field() == w.fieldOf("?OK")) ++accepted;
    }
    EXPECT_FALSE(w.isOpen());
  });
  EXPECT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(accepted, 1);
}

}  // namespace
}  // namespace wevo
