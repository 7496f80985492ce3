// One toolkit window on screen: a top-level widget with the frame's menu
// bar, the client area holding every control's widget at its model
// position, and the status bar.
//
// The client area sits at the window's model position on the screen (its
// snapshot's x and y), so that a point of the client area and the screen
// position the model works with are one and the same. Menus and items are
// not widgets of the client area; they make up the menu bar. Tabs draw in
// their sheet's strip.
//
// An update is applied whole within one turn of the Qt thread, so a window
// is never drawn half updated (the toolkit itself holds changes back while a
// window's drawing is frozen). Sizes and positions the window gets from the
// model are not reported back; those the user makes are (WindowEvents).
#ifndef WEVO_PLATFORM_VIEW_QT_TOP_WINDOW_H_
#define WEVO_PLATFORM_VIEW_QT_TOP_WINDOW_H_

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <map>
#include <set>

#include "platform/view/qt/control_apply.h"
#include "platform/view/view.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QStatusBar;

namespace wevo::qtview {

struct QtContext;
class TopWindow;

class ClientArea : public QWidget {
  Q_OBJECT
 public:
  ClientArea(TopWindow* top, QtContext& ctx);
  TopWindow* top() const { return top_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TopWindow* top_;
  QtContext& ctx_;
};

struct ControlItem {
  toolkit::ControlSnapshot snap;
  WidgetKind kind = WidgetKind::None;
  QWidget* widget = nullptr;  // owned by the client area; nullptr for tabs and menus
};

class TopWindow : public QWidget {
  Q_OBJECT
 public:
  TopWindow(QtContext& ctx, const toolkit::WindowSnapshot& first);
  ~TopWindow() override;

  void apply(const toolkit::ViewUpdate& u);

  int64_t handle() const { return snap_.handle; }
  bool dying() const { return dying_; }
  const toolkit::WindowSnapshot& snapshot() const { return snap_; }
  ClientArea* client() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QStatusBar* statusBar() const { return status_; }

  const ControlItem* item(int field) const;
  const std::map<int, ControlItem>& items() const { return items_; }
  QWidget* widget(int field) const;
  // The control whose widget this is (a direct child of the client area), 0 for none.
  int fieldOf(const QWidget* controlWidget) const;
  // The menu item's action, nullptr when the field is not a menu item.
  QAction* action(int field) const;

  // A point of the client area in model screen pixels.
  QPoint toScreen(const QPoint& clientPoint) const;
  QPoint fromScreen(const QPoint& screenPoint) const;

  // Gives the Qt focus to the control's widget (the client area for 0).
  void focusField(int field);
  // Puts the menu item's message in the status bar while it is hovered.
  void showItemMessage(const QString& msg);

  // The size the user gives the client area (a scripted resize; `stateEvent`
  // as WindowEvents::resizedByUser).
  void resizeClientByUser(QSize size, int stateEvent);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void applyWindow(const toolkit::WindowSnapshot& w, bool opened);
  void applyControlSnapshot(const toolkit::ControlSnapshot& s);
  void removeControl(int field);
  void rebuildMenus();
  void addMenuChildren(int parent, QMenuBar* bar, QMenu* menu);
  void refreshSheet(int field);
  void updateStatus();
  int menuBarHeight() const;
  int statusBarHeight() const;
  void placeChildren();
  void applyGeometry();
  void applyVisibility(bool opened, bool wasHidden);
  ControlCallbacks callbacksFor(int field);

  QtContext& ctx_;
  toolkit::WindowSnapshot snap_;
  ClientArea* client_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QStatusBar* status_ = nullptr;
  QLabel* statusText_ = nullptr;
  std::map<int, ControlItem> items_;
  QHash<const QWidget*, int> fields_;
  std::map<int, QPointer<QAction>> actions_;
  std::set<int> dirtySheets_;
  bool menusDirty_ = false;
  bool applying_ = false;
  bool dying_ = false;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_TOP_WINDOW_H_
