// A toolkit window shown by widgets that a host program built itself (a Qt
// Widgets form, from Designer or code) instead of widgets the view makes.
//
// The host's form stays what it is: its widgets, layouts and data are its
// own. The toolkit window is a model of it, built from the widgets, in
// which the library's algorithms work; what they change comes back here as
// snapshots and reaches the widgets. Only differences are applied: the
// first snapshot of the window is how the widgets stand, so a window whose
// model nothing changes is left exactly as it was. A value that returns to
// the one the host designed puts back the host's own setting (its font,
// palette, caption...), not a value rebuilt from the toolkit's.
//
// Geometry is applied only while the window is placed (setPlaced): in a
// form laid out by Qt layouts the layouts own it. Controls the model has
// and the form has not (the grab handles of design mode) are drawn by
// widgets of the view's own, over the form.
//
// While input is routed (design mode), no widget of the form gets a mouse
// or key event: presses, moves, releases and keys go to the toolkit as the
// user's input on the window, at screen positions measured from the
// model's window position; a form deleted meanwhile sends Esc.
//
// Made and used on the Qt thread; the window binder hands it its updates.
#ifndef WEVO_PLATFORM_VIEW_QT_BOUND_WINDOW_H_
#define WEVO_PLATFORM_VIEW_QT_BOUND_WINDOW_H_

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/view/qt/control_apply.h"
#include "platform/view/qt/widget_look.h"
#include "platform/view/view.h"

class QTabWidget;

namespace wevo::qtview {

struct QtContext;

// One control of the model and the widget that shows it.
struct BoundControl {
  int field = 0;
  QPointer<QWidget> widget;
  QPointer<QTabWidget> sheet;  // a tab: its tab widget (the widget is its page)
  int tabIndex = -1;
  // Its position is the model's while the window is placed (its parent is
  // a container whose layout is off, not a tab widget or a toolbar).
  bool placeable = false;
  int depth = 0;  // in the widget tree: containers are placed before what they hold
};

// How the host made its form look, for every window of the form that was
// ever bound: kept as long as the form, across bindings, so that "back to
// what it was designed as" means the same after any number of them.
struct DesignedLooks {
  struct Control {
    WidgetLook look;
    bool seen = false;  // `snap` holds the model's first snapshot of it
    toolkit::ControlSnapshot snap;
  };
  std::map<const QWidget*, Control> controls;
  // The window itself.
  bool windowSeen = false;
  toolkit::WindowSnapshot window;
  QString title;
  QFont font;
  bool ownFont = false;
  QIcon icon;
  std::vector<QPointer<QWidget>> focusChain;  // the form's tab order, as designed: its focusable controls
};

class BoundWindow : public QObject {
  Q_OBJECT
 public:
  using Post = std::function<bool(const toolkit::InputMessage&)>;
  // `controls` in any order; `looks` outlives the binding.
  BoundWindow(QWidget* root, std::vector<BoundControl> controls, DesignedLooks& looks, QtContext& ctx, Post post);
  ~BoundWindow() override;

  QWidget* root() const { return root_; }
  int64_t handle() const { return handle_; }
  int thread() const { return window_.thread; }
  void setHandle(int64_t handle) { handle_ = handle; }

  void apply(const toolkit::ViewUpdate& u);
  // The model's rectangle of a control, window-relative pixels (the last
  // snapshot); false for a field the model has not shown.
  bool modelRect(int field, QRect& rect) const;
  const toolkit::WindowSnapshot& windowSnapshot() const { return window_; }

  // Placed: every placeable control takes the model's rectangle now and
  // with every change.
  void setPlaced(bool placed);
  bool placed() const { return placed_; }
  // Routed: the form's input goes to the toolkit (see above).
  void setRouting(bool on);
  bool routing() const { return routing_; }

  void setFocus(int field);
  void invalidate();

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyWindow(const toolkit::WindowSnapshot& w, bool first);
  void applyControl(const toolkit::ControlSnapshot& s);
  void applyLook(const BoundControl& c, DesignedLooks::Control& d, const toolkit::ControlSnapshot& old,
                 const toolkit::ControlSnapshot& s);
  void applyExtra(const toolkit::ControlSnapshot& s);
  void removeExtra(int field);
  void place(const BoundControl& c, const toolkit::ControlSnapshot& s);
  void applyTabOrder();
  bool inForm(const QObject* o) const;
  bool routeMouse(QWidget* receiver, QEvent* event);
  bool routeKey(QEvent* event);

  QPointer<QWidget> root_;
  std::map<int, BoundControl> controls_;  // by field
  std::vector<int> byDepth_;              // fields, containers first
  DesignedLooks& looks_;
  QtContext& ctx_;
  Post post_;
  int64_t handle_ = 0;
  bool opened_ = false;
  toolkit::WindowSnapshot window_;
  std::map<int, toolkit::ControlSnapshot> shown_;  // the last snapshot of each control
  struct Extra {
    WidgetKind kind = WidgetKind::None;
    QPointer<QWidget> widget;
  };
  std::map<int, Extra> extras_;
  bool placed_ = false;
  bool routing_ = false;
  std::vector<std::pair<QPointer<QWidget>, bool>> tracking_;  // mouse tracking before routing
  QMetaObject::Connection destroyed_;
  // Repeats the Esc that leaves design mode for a form deleted meanwhile.
  QTimer* leaveGone_ = nullptr;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_BOUND_WINDOW_H_
