// The modal loop and the code it runs: a window destroyed or closed by its
// own handler, procedure or a call ends its loop (as a dialog deleted in its
// own exec() does), and the loop of a window is never entered twice.
#include "platform/toolkit/event_loop.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo {
namespace {

using testing::TestWindow;

TEST(EventLoop, AWindowGoneUnderItsLoopEndsIt) {
  TestWindow d("Main");
  d.entry("?E", "s20", {}, {10, 10, 60, 10});
  std::vector<std::string> seen;
  Script script;
  script.call([] { delete target(); }, "Main").type("abc");
  ProgramResult r = testing::runScripted(script, [&] {
    // Destroyed by its own handler, whatever the handler returns.
    for (bool consume : {false, true}) {
      auto* w = new Window(d.decl());
      w->open();
      w->registerHandler(EVENT::User, [w, consume](Window&, int) {
        delete w;
        return !consume;
      });
      w->post(EVENT::User);
      while (w->accept()) {
      }
      seen.push_back("handler");
    }
    // Closed by its own handler: the loop ends and the window opens again.
    Window kept(d.decl());
    kept.open();
    kept.registerHandler(EVENT::User, [](Window& w, int) {
      w.close();
      return true;
    });
    kept.post(EVENT::User);
    while (kept.accept()) {
    }
    seen.push_back(kept.isOpen() ? "still open" : "closed");
    // Destroyed by a call the script makes while the loop waits, then by its
    // frame procedure while typing goes through it.
    auto* called = new Window(d.decl());
    called->open();
    while (called->accept()) {
    }
    seen.push_back("call");
    auto* typed = new Window(d.decl());
    typed->open();
    typed->set(0, PROP::WndProc, registerWindowProc([typed](Window&, const RawMessage& m) {
      if (m.kind == RawMessage::Char) delete typed;
      return int64_t{0};
    }));
    while (typed->accept()) {
    }
    seen.push_back("procedure");
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_EQ(seen, (std::vector<std::string>{"handler", "handler", "closed", "call", "procedure"}));
}

TEST(EventLoop, AcceptForAWindowWhoseLoopRunsIsRefused) {
  TestWindow d("Main");
  std::string refused;
  int users = 0;
  Script script;
  script.closeWindow("Main");
  ProgramResult r = testing::runScripted(script, [&] {
    Window w(d.decl());
    w.open();
    w.registerHandler(EVENT::User, [&](Window& self, int) {
      try {
        self.accept();
      } catch (const std::logic_error& e) {
        refused = e.what();
      }
      return true;
    });
    w.post(EVENT::User);
    while (w.accept())
      if (event() == EVENT::User) ++users;
  });
  ASSERT_TRUE(testing::endedNormally(r));
  EXPECT_NE(refused.find("running already"), std::string::npos) << refused;
  EXPECT_EQ(users, 1) << "the loop goes on after the refusal";
}

}  // namespace
}  // namespace wevo
