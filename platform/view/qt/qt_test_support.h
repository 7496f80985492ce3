// Helpers for the Qt view's tests: look at the widgets of the running
// program from its host threads.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_TEST_SUPPORT_H_
#define WEVO_PLATFORM_VIEW_QT_QT_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <functional>

#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/top_window.h"
#include "wevo/window.h"

namespace wevo::qtview::testing {

// Puts the calling host thread's changes on screen and runs `fn` on the Qt
// thread with the window's widget (nullptr when it is not shown).
inline void onScreen(const Window& w, const std::function<void(TopWindow*)>& fn) {
  QtView* view = QtView::running();
  ASSERT_NE(view, nullptr) << "no program runs on the Qt view";
  int64_t handle = w.handle();
  ASSERT_TRUE(view->whenShown([&] { fn(view->window(handle)); }));
}

// The control's widget, cast to what the test expects.
template <typename T>
T* widgetOf(TopWindow* top, const Window& w, const char* label) {
  if (top == nullptr) return nullptr;
  return qobject_cast<T*>(top->widget(w.fieldOf(label)));
}

// Runs the window's loop until everything queued so far, and every event
// that brought on, has been taken, calling `each` for each event. Input
// messages bring their events on behind the marker event posted here, so
// it stops after two rounds in a row with no event.
inline void drain(Window& w, const std::function<void()>& each = {}) {
  int quiet = 0;
  for (int round = 0; round < 50 && quiet < 2 && w.isOpen(); ++round) {
    int seen = 0;
    w.post(EVENT::User);
    while (w.accept()) {
      if (event() == EVENT::User) break;
      ++seen;
      if (each) each();
    }
    quiet = seen == 0 ? quiet + 1 : 0;
  }
}

}  // namespace wevo::qtview::testing

#endif  // WEVO_PLATFORM_VIEW_QT_QT_TEST_SUPPORT_H_
