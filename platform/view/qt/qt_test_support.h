// Helpers for the Qt view's tests: look at the widgets of the running
// program from its host threads.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_TEST_SUPPORT_H_
#define WEVO_PLATFORM_VIEW_QT_QT_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <functional>
#include <string>

#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/top_window.h"
#include "wevo/codes.h"
#include "wevo/window.h"
#include "wevo/window_decl.h"

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

// Whether a picture shows anything: some pixel not fully transparent.
inline bool drawsSomething(const QPixmap& pm) {
  if (pm.isNull()) return false;
  const QImage image = pm.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return true;
  return false;
}
inline bool drawsSomething(const QIcon& icon) { return !icon.isNull() && drawsSomething(icon.pixmap(32, 32)); }

// Every picture `decl` names, on the open window `w` made from it: the
// window's icon and wallpaper, each button's, check's and radio's icon, each
// image's file and each toolbar's wallpaper. A name that draws nothing fails
// the test with the window's caption and the control's label.
inline void expectEveryPictureDraws(const Window& w, const WindowDecl& decl) {
  onScreen(w, [&](TopWindow* top) {
    ASSERT_NE(top, nullptr) << decl.caption;
    ImageCache files;
    if (!decl.icon.empty()) EXPECT_TRUE(drawsSomething(top->windowIcon())) << decl.caption << ": " << decl.icon;
    if (!decl.wallpaper.empty())
      EXPECT_TRUE(drawsSomething(files.pixmap(decl.wallpaper))) << decl.caption << ": " << decl.wallpaper;
    for (const ControlDecl& c : decl.controls) {
      if (!c.icon.empty()) {
        auto* button = widgetOf<QAbstractButton>(top, w, c.use.c_str());
        ASSERT_NE(button, nullptr) << decl.caption << ": " << c.use;
        EXPECT_TRUE(drawsSomething(button->icon())) << decl.caption << ": " << c.use << " " << c.icon;
      }
      if (c.type == TYPE::Image) EXPECT_TRUE(drawsSomething(files.pixmap(c.text))) << decl.caption << ": " << c.text;
      if (!c.wallpaper.empty())
        EXPECT_TRUE(drawsSomething(files.pixmap(c.wallpaper))) << decl.caption << ": " << c.wallpaper;
    }
  });
}

}  // namespace wevo::qtview::testing

#endif  // WEVO_PLATFORM_VIEW_QT_QT_TEST_SUPPORT_H_
