// The user's input on the Qt windows, turned into the toolkit's input
// messages (ViewHost::postInput) from one application-wide event filter.
//
// The model decides what input does, as it does under the headless view: a
// press on a button, check box, radio, tab or list row is not handed to the
// Qt widget; it goes to the model as LeftDown/LeftUp at the point, in model
// screen pixels (the window's client position plus the point in its client
// area), and the widget shows what the model makes of it. Only what a
// widget does locally is left to it: typing and caret moves in entries,
// text boxes, spins and combos (committed to the model as one Text message
// when the user presses Enter or Tab, clicks elsewhere or leaves the
// window), opening a drop list's popup, dragging a scroll bar. While a
// window holds the mouse capture, no widget gets the mouse at all and every
// mouse message goes to the model, which routes it to the capture.
//
// Keys go to the model with the runtime's key codes (key_codes.h), for the
// window with the model's focus; a printable key on a control that does not
// edit text also goes as a character. Close, resize and move requests, menu
// items, drop-list choices, spin arrows and list scrolling are messages of
// their own. Before any of these, text the user typed in the window's
// focused control goes to the model as an edit not yet accepted
// (InputMessage::Edit), so that the model accepts it on Enter, Tab or a
// click elsewhere exactly as it would typed keys.
//
// While a script drives the program, input from the desktop is swallowed:
// only the steps the view delivers (beginDelivery ... endDelivery) reach
// the model, through this same path.
#ifndef WEVO_PLATFORM_VIEW_QT_INPUT_ROUTER_H_
#define WEVO_PLATFORM_VIEW_QT_INPUT_ROUTER_H_

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <atomic>
#include <climits>
#include <functional>

#include "platform/view/qt/qt_context.h"
#include "platform/view/view.h"

class QAbstractButton;
class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace wevo::qtview {

class TopWindow;
struct ControlItem;

class InputRouter : public QObject, public WindowEvents {
  Q_OBJECT
 public:
  using Post = std::function<bool(const toolkit::InputMessage&)>;
  explicit InputRouter(Post post);
  ~InputRouter() override;

  // Installs the filter on the application (Qt thread).
  void install();
  void uninstall();

  // Desktop input is swallowed while `scripted` holds (outside deliveries).
  void setScripted(bool scripted) { scripted_ = scripted; }
  // The window holding the mouse capture (0: none); from any thread.
  void setCapture(int64_t handle) { capture_.store(handle); }
  int64_t capture() const { return capture_.load(); }

  // A scripted step's input: taken as real; counts the messages posted.
  void beginDelivery();
  // Ends it; false when a message found no window to take it.
  bool endDelivery();
  bool delivering() const { return delivering_; }

  bool eventFilter(QObject* watched, QEvent* event) override;

  // Hands the model the text the user typed in a control, not accepted
  // (InputMessage::Edit), when it differs from what the model showed.
  void syncEdit(TopWindow& w, int field);
  // Hands the model the control's text as typed and accepted (InputMessage::Text).
  void commitEdit(TopWindow& w, int field);
  // The user activates a window, or switches to another application.
  void userActivated(TopWindow& w);
  void userSwitchedAway();
  // A message that has no Qt event of its own (a scripted call).
  bool postRaw(const toolkit::InputMessage& m);

  // WindowEvents
  void closeRequested(TopWindow& w) override;
  void resizedByUser(TopWindow& w, QSize client, int stateEvent) override;
  void movedByUser(TopWindow& w, QPoint clientScreenPos) override;
  void menuItemChosen(TopWindow& w, int field) override;
  void spinStepped(TopWindow& w, int field, int key) override;
  void itemChosen(TopWindow& w, int field, int row) override;
  void listScrolled(TopWindow& w, int field, int event, int thumb) override;

 private:
  struct Target {
    TopWindow* window = nullptr;
    QWidget* outer = nullptr;  // the window's direct child the event is in
    QWidget* control = nullptr;  // the control's widget (a direct child of the client area)
    int field = 0;
    bool inClient = false;
  };
  bool locate(QObject* watched, Target& t) const;
  bool accepting() const { return !scripted_ || delivering_; }
  bool post(toolkit::InputMessage m);
  bool mouse(QWidget* receiver, QMouseEvent* e, const Target& t);
  bool keyPress(QKeyEvent* e, const Target& t);
  bool passesPress(const ControlItem* item, QWidget* receiver) const;
  void syncFocusedEdit(TopWindow& w, int exceptField);
  void focusFirst(TopWindow& w, int field);

  Post post_;
  bool installed_ = false;
  bool scripted_ = false;
  bool delivering_ = false;
  bool deliveryFailed_ = false;
  std::atomic<int64_t> capture_{0};
  bool passingPress_ = false;
  QPointer<QAbstractButton> downButton_;
  int64_t lastMoveWindow_ = 0;
  QPoint lastMove_{INT_MIN, INT_MIN};
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_INPUT_ROUTER_H_
