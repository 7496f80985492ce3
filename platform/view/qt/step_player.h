// Scripted steps performed on the Qt windows as a person would perform
// them: mouse steps become Qt mouse events sent to the widget under the
// point (moves and the release go to the widget that took the press, as a
// real mouse's do), keys become key events on the focused widget, a tab is
// clicked in its sheet's strip, a list row is clicked where it is drawn,
// typing fills the control and commits it, a close request is a close event.
// Everything then takes the view's normal input path (InputRouter).
// Screenshots save the window as the user sees it. Qt thread only.
#ifndef WEVO_PLATFORM_VIEW_QT_STEP_PLAYER_H_
#define WEVO_PLATFORM_VIEW_QT_STEP_PLAYER_H_

#include <QPointer>
#include <QString>
#include <string>

#include "platform/view/view.h"

class QWidget;

namespace wevo::qtview {

class InputRouter;
class QtDesktop;
class TopWindow;

// Saves the window (menu bar, client area, status bar) as a PNG, making
// the file's folder when needed. False when it cannot be written.
bool saveWindowImage(TopWindow& w, const QString& path);

class StepPlayer {
 public:
  StepPlayer(QtDesktop& desktop, InputRouter& router, std::string screenshotDir)
      : desktop_(desktop), router_(router), screenshotDir_(std::move(screenshotDir)) {}

  bool play(const toolkit::ResolvedStep& step, std::string& why);
  // Where a screenshot named `name` goes.
  QString screenshotPath(const std::string& name) const;

 private:
  bool perform(const toolkit::ResolvedStep& r, TopWindow* w, std::string& why);
  // `keysHeld`: the KEY::Shift/Ctrl/Alt keys held, as the event's modifiers.
  void mouse(TopWindow& w, QWidget* target, QPoint clientPoint, int type, Qt::MouseButton button,
             int keysHeld = 0);
  void click(TopWindow& w, QWidget* target, QPoint clientPoint);
  bool key(TopWindow& w, int code);

  QtDesktop& desktop_;
  InputRouter& router_;
  std::string screenshotDir_;
  QPointer<QWidget> pressed_;  // the widget that took the last press
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_STEP_PLAYER_H_
