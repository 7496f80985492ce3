#include "platform/view/qt/top_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>

#include "platform/view/qt/font_measure.h"
#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/painted_control.h"
#include "platform/view/qt/qt_context.h"
#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

using toolkit::ControlSnapshot;
using toolkit::WindowSnapshot;

// ---- Client area -----------------------------------------------------------------

ClientArea::ClientArea(TopWindow* top, QtContext& ctx) : QWidget(top), top_(top), ctx_(ctx) {
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
}

void ClientArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const WindowSnapshot& w = top_->snapshot();
  std::optional<QColor> back = toColor(w.background);
  p.fillRect(rect(), back ? *back : palette().color(QPalette::Window));
  if (!w.wallpaper.empty()) ImageCache::paint(p, rect(), ctx_.images.pixmap(w.wallpaper), w.wallpaperMode);
}

// ---- Window ----------------------------------------------------------------------

TopWindow::TopWindow(QtContext& ctx, const WindowSnapshot& first) : QWidget(nullptr), ctx_(ctx), snap_(first) {
  Qt::WindowFlags flags = Qt::Window;
  if (first.frameType == 3) flags |= Qt::FramelessWindowHint;
  setWindowFlags(flags);
  setAttribute(Qt::WA_QuitOnClose, false);
  setFocusPolicy(Qt::NoFocus);
  client_ = new ClientArea(this, ctx);
}

TopWindow::~TopWindow() {
  // Focus and activation leave while the window is whole; the controls'
  // widgets go before the maps that name them.
  dying_ = true;
  hide();
  fields_.clear();
  delete client_;
  client_ = nullptr;
}

const ControlItem* TopWindow::item(int field) const {
  auto it = items_.find(field);
  return it != items_.end() ? &it->second : nullptr;
}

QWidget* TopWindow::widget(int field) const {
  const ControlItem* i = item(field);
  return i != nullptr ? i->widget : nullptr;
}

int TopWindow::fieldOf(const QWidget* w) const { return fields_.value(w, 0); }

QAction* TopWindow::action(int field) const {
  auto it = actions_.find(field);
  return it != actions_.end() ? it->second.data() : nullptr;
}

QPoint TopWindow::toScreen(const QPoint& p) const { return p + QPoint(snap_.x, snap_.y); }
QPoint TopWindow::fromScreen(const QPoint& p) const { return p - QPoint(snap_.x, snap_.y); }

int TopWindow::menuBarHeight() const {
  return menuBar_ != nullptr && !menuBar_->isHidden() ? menuBar_->heightForWidth(std::max(1, snap_.width)) : 0;
}

int TopWindow::statusBarHeight() const { return status_ != nullptr ? status_->sizeHint().height() : 0; }

void TopWindow::placeChildren() {
  int mb = menuBarHeight(), sb = statusBarHeight();
  int w = std::max(0, width());
  int clientH = std::max(0, height() - mb - sb);
  if (menuBar_ != nullptr) menuBar_->setGeometry(0, 0, w, mb);
  client_->setGeometry(0, mb, w, clientH);
  if (status_ != nullptr) status_->setGeometry(0, mb + clientH, w, sb);
}

void TopWindow::applyGeometry() {
  int mb = menuBarHeight(), sb = statusBarHeight();
  QRect g(snap_.x, snap_.y - mb, std::max(1, snap_.width), std::max(1, snap_.height + mb + sb));
  if (snap_.frameType == 2) {
    setMinimumSize(std::max(1, snap_.minWidth), snap_.minHeight > 0 ? snap_.minHeight + mb + sb : 1);
    setMaximumSize(snap_.maxWidth > 0 ? snap_.maxWidth : QWIDGETSIZE_MAX,
                   snap_.maxHeight > 0 ? snap_.maxHeight + mb + sb : QWIDGETSIZE_MAX);
  } else {
    setFixedSize(g.size());
  }
  if (geometry() != g) setGeometry(g);
  placeChildren();
}

void TopWindow::apply(const toolkit::ViewUpdate& u) {
  // Applied in one go, without returning to the event loop: no half-applied
  // window is ever drawn, and Qt repaints only what changed.
  applying_ = true;
  bool wasHidden = snap_.hidden;
  int oldFocus = snap_.focusedField;
  if (u.window) applyWindow(*u.window, u.opened);
  for (int f : u.destroyed) removeControl(f);
  for (const ControlSnapshot& c : u.controls) applyControlSnapshot(c);
  if (menusDirty_) rebuildMenus();
  for (int sheet : dirtySheets_) refreshSheet(sheet);
  dirtySheets_.clear();
  if (u.window || menusDirty_) applyGeometry();
  menusDirty_ = false;
  updateStatus();
  if (u.window) applyVisibility(u.opened, wasHidden);
  if (u.opened || snap_.focusedField != oldFocus) focusField(snap_.focusedField);
  applying_ = false;
}

void TopWindow::applyWindow(const WindowSnapshot& w, bool opened) {
  WindowSnapshot old = snap_;
  snap_ = w;
  if (opened || old.caption != w.caption) setWindowTitle(toQ(w.caption));
  if (opened || old.icon != w.icon) setWindowIcon(ctx_.images.icon(w.icon));
  if (opened || old.font != w.font) client_->setFont(toFont(w.font));
  if (opened || old.statusBar != w.statusBar) {
    if (w.statusBar && status_ == nullptr) {
      status_ = new QStatusBar(this);
      status_->setSizeGripEnabled(w.frameType == 2);
      statusText_ = new QLabel(status_);
      status_->addWidget(statusText_, 1);
      status_->show();
    } else if (!w.statusBar && status_ != nullptr) {
      delete status_;
      status_ = nullptr;
      statusText_ = nullptr;
    }
  }
  if (old.background != w.background || old.wallpaper != w.wallpaper || old.wallpaperMode != w.wallpaperMode)
    client_->update();
}

void TopWindow::applyVisibility(bool opened, bool wasHidden) {
  if (snap_.hidden) {
    if (!isHidden()) hide();
    return;
  }
  if (snap_.iconized) {
    if (!isMinimized()) showMinimized();
  } else if (snap_.maximized) {
    if (!isMaximized()) showMaximized();
  } else if (isHidden() || isMinimized() || isMaximized()) {
    showNormal();
  }
  if (opened || wasHidden) {
    // Without a window system there is no stacking to change.
    static const bool stacked = QGuiApplication::platformName() != QLatin1String("offscreen") &&
                                QGuiApplication::platformName() != QLatin1String("minimal");
    if (stacked) raise();
    activateWindow();
  }
}

void TopWindow::updateStatus() {
  if (statusText_ == nullptr) return;
  QString t = toQ(snap_.statusText);
  if (statusText_->text() != t) statusText_->setText(t);
}

void TopWindow::showItemMessage(const QString& msg) {
  if (status_ == nullptr) return;
  if (msg.isEmpty())
    status_->clearMessage();
  else
    status_->showMessage(msg);
}

ControlCallbacks TopWindow::callbacksFor(int field) {
  ControlCallbacks cb;
  cb.spinStep = [this, field](int key) {
    if (ctx_.events != nullptr) ctx_.events->spinStepped(*this, field, key);
  };
  cb.choose = [this, field](int row) {
    if (ctx_.events != nullptr) ctx_.events->itemChosen(*this, field, row);
  };
  cb.scroll = [this, field](int event, int thumb) {
    if (ctx_.events != nullptr) ctx_.events->listScrolled(*this, field, event, thumb);
  };
  return cb;
}

void TopWindow::applyControlSnapshot(const ControlSnapshot& s) {
  WidgetKind kind = widgetKind(s);
  auto it = items_.find(s.field);
  if (it != items_.end() && (it->second.kind != kind || it->second.snap.type != s.type)) {
    removeControl(s.field);
    it = items_.end();
  }
  bool fresh = it == items_.end();
  if (fresh) {
    it = items_.emplace(s.field, ControlItem{}).first;
    it->second.kind = kind;
    it->second.widget = makeControlWidget(kind, client_, ctx_, callbacksFor(s.field));
    if (QWidget* w = it->second.widget) {
      fields_.insert(w, s.field);
      // Later fields stack above earlier ones, as the model finds them.
      for (auto next = std::next(it); next != items_.end(); ++next)
        if (next->second.widget != nullptr) {
          w->stackUnder(next->second.widget);
          break;
        }
    }
  }
  ControlItem& item = it->second;
  if (isMenuType(s.type)) menusDirty_ = true;
  if (s.type == TYPE::Tab) {
    dirtySheets_.insert(s.parent);
    if (!fresh && item.snap.parent != s.parent) dirtySheets_.insert(item.snap.parent);
  }
  if (s.type == TYPE::Sheet) dirtySheets_.insert(s.field);
  applyControl(item.widget, kind, s, fresh ? nullptr : &item.snap, snap_.font, ctx_);
  item.snap = s;
}

void TopWindow::removeControl(int field) {
  auto it = items_.find(field);
  if (it == items_.end()) return;
  int type = it->second.snap.type;
  if (isMenuType(type)) menusDirty_ = true;
  if (type == TYPE::Tab) dirtySheets_.insert(it->second.snap.parent);
  if (QWidget* w = it->second.widget) {
    fields_.remove(w);
    delete w;
  }
  items_.erase(it);
  dirtySheets_.erase(field);
}

void TopWindow::refreshSheet(int field) {
  const ControlItem* sheet = item(field);
  if (sheet == nullptr || sheet->kind != WidgetKind::Sheet) return;
  std::vector<SheetTab> tabs;
  for (const auto& [f, i] : items_) {
    const ControlSnapshot& t = i.snap;
    if (t.type != TYPE::Tab || t.parent != field || t.hidden) continue;
    tabs.push_back(SheetTab{f, toQ(t.text), t.font, t.disabled, 0});
  }
  static_cast<SheetControl*>(sheet->widget)->setTabs(std::move(tabs), ctx_.measure);
}

// ---- Menus -------------------------------------------------------------------------

void TopWindow::rebuildMenus() {
  int barField = 0;
  bool any = false;
  for (const auto& [f, i] : items_) {
    if (!isMenuType(i.snap.type)) continue;
    any = true;
    if (i.snap.type == TYPE::MenuBar && barField == 0) barField = f;
  }
  actions_.clear();
  if (!any) {
    delete menuBar_;
    menuBar_ = nullptr;
    return;
  }
  if (menuBar_ == nullptr) {
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    menuBar_->show();
  }
  menuBar_->clear();
  if (barField != 0) addMenuChildren(barField, menuBar_, nullptr);
  addMenuChildren(0, menuBar_, nullptr);
  if (const ControlItem* bar = item(barField)) menuBar_->setHidden(bar->snap.hidden);
}

void TopWindow::addMenuChildren(int parent, QMenuBar* bar, QMenu* menu) {
  for (const auto& [f, i] : items_) {
    const ControlSnapshot& c = i.snap;
    if (c.parent != parent || (c.type != TYPE::Menu && c.type != TYPE::Item)) continue;
    QString text = toQ(c.text);
    if (c.type == TYPE::Menu) {
      QMenu* sub = menu != nullptr ? menu->addMenu(text) : bar->addMenu(text);
      sub->menuAction()->setEnabled(!c.disabled);
      sub->menuAction()->setVisible(!c.hidden);
      connect(sub, &QMenu::aboutToHide, this, [this] { showItemMessage({}); });
      addMenuChildren(f, nullptr, sub);
      continue;
    }
    if (text.isEmpty() || text == QLatin1String("-")) {
      if (menu != nullptr) menu->addSeparator();
      continue;
    }
    QAction* a = menu != nullptr ? menu->addAction(text) : bar->addAction(text);
    a->setEnabled(!c.disabled);
    a->setVisible(!c.hidden);
    int field = f;
    QString msg = toQ(c.msg);
    connect(a, &QAction::triggered, this, [this, field] {
      if (ctx_.events != nullptr) ctx_.events->menuItemChosen(*this, field);
    });
    connect(a, &QAction::hovered, this, [this, msg] { showItemMessage(msg); });
    actions_[f] = a;
  }
}

// ---- Focus and user actions ---------------------------------------------------------

void TopWindow::focusField(int field) {
  QWidget* w = widget(field);
  if (w == nullptr || !w->isEnabled() || w->isHidden()) w = client_;
  if (QApplication::focusWidget() != w) w->setFocus(Qt::OtherFocusReason);
}

void TopWindow::resizeClientByUser(QSize size, int stateEvent) {
  // The model sizes the window; the widget follows its next snapshot.
  if (ctx_.events != nullptr) ctx_.events->resizedByUser(*this, size, stateEvent);
}

void TopWindow::closeEvent(QCloseEvent* event) {
  // The model decides whether the window closes.
  event->ignore();
  if (ctx_.events != nullptr) ctx_.events->closeRequested(*this);
}

void TopWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  placeChildren();
  if (applying_) return;
  QSize client = client_->size();
  if (client != QSize(snap_.width, snap_.height) && ctx_.events != nullptr)
    ctx_.events->resizedByUser(*this, client, 0);
}

void TopWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || applying_ || ctx_.events == nullptr) return;
  int state = isMinimized() ? EVENT::Iconized : isMaximized() ? EVENT::Maximized : EVENT::Restored;
  bool was = state == EVENT::Iconized ? snap_.iconized : state == EVENT::Maximized ? snap_.maximized
                                                                                     : !snap_.iconized && !snap_.maximized;
  if (!was) ctx_.events->resizedByUser(*this, client_->size(), state);
}

void TopWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (applying_ || !isVisible()) return;
  QPoint clientPos = geometry().topLeft() + QPoint(0, menuBarHeight());
  if (clientPos != QPoint(snap_.x, snap_.y) && ctx_.events != nullptr) ctx_.events->movedByUser(*this, clientPos);
}

}  // namespace wevo::qtview
