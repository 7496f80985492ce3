#include "platform/view/qt/bound_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTabWidget>
#include <algorithm>
#include <set>

#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/key_codes.h"
#include "platform/view/qt/qt_context.h"
#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

using toolkit::ControlSnapshot;
using toolkit::InputMessage;
using toolkit::WindowSnapshot;

namespace {

bool sameFace(const toolkit::FontDesc& a, const toolkit::FontDesc& b) {
  return a.face == b.face && a.size == b.size && a.style == b.style;
}

bool sameColors(const ControlSnapshot& a, const ControlSnapshot& b) {
  return a.font.color == b.font.color && a.background == b.background && a.selectedColor == b.selectedColor &&
         a.selectedFill == b.selectedFill;
}

bool sameRect(const ControlSnapshot& a, const ControlSnapshot& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

// Sets one palette role from the model's colour: its own colour, or where
// the model says "the default" and the host had given one, the
// application's default for the widget.
void setRole(QPalette& pal, const QWidget* w, QPalette::ColorRole role, int32_t color, int32_t designed) {
  std::optional<QColor> c = toColor(color);
  if (!c) {
    if (designed == COLOR::None) return;  // the designed palette has it already
    c = QApplication::palette(w).color(QPalette::Active, role);
  }
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) pal.setColor(g, role, *c);
}

}  // namespace

BoundWindow::BoundWindow(QWidget* root, std::vector<BoundControl> controls, DesignedLooks& looks, QtContext& ctx,
                         Post post)
    : root_(root), looks_(looks), ctx_(ctx), post_(std::move(post)) {
  for (BoundControl& c : controls) {
    if (c.widget != nullptr && looks_.controls.find(c.widget) == looks_.controls.end())
      looks_.controls[c.widget].look = lookOf(c.widget, c.sheet, c.tabIndex);
    byDepth_.push_back(c.field);
    controls_[c.field] = std::move(c);
  }
  std::stable_sort(byDepth_.begin(), byDepth_.end(),
                   [this](int a, int b) { return controls_[a].depth < controls_[b].depth; });
  if (!looks_.windowSeen && root_ != nullptr) {
    looks_.title = root_->windowTitle();
    looks_.font = root_->font();
    looks_.ownFont = root_->testAttribute(Qt::WA_SetFont);
    looks_.icon = root_->windowIcon();
    looks_.focusChain.clear();
    // The tab order as the host left it: the controls that take the focus,
    // in focus-chain order (Qt orders only those). A control that holds
    // others (a tab widget) is left out: Qt moves a widget together with
    // what it holds, and ordering it among them would cut the chain.
    std::set<const QWidget*> bound;
    for (const auto& [field, c] : controls_)
      if (c.widget != nullptr && c.sheet == nullptr && c.widget->focusPolicy() != Qt::NoFocus) bound.insert(c.widget);
    for (auto it = bound.begin(); it != bound.end();) {
      bool holds = false;
      for (const QWidget* other : bound)
        if (other != *it && (*it)->isAncestorOf(other)) holds = true;
      it = holds ? bound.erase(it) : std::next(it);
    }
    for (QWidget* w = root_->nextInFocusChain(); w != nullptr && w != root_; w = w->nextInFocusChain()) {
      if (bound.erase(w) != 0) looks_.focusChain.emplace_back(w);
      if (bound.empty()) break;
    }
  }
}

BoundWindow::~BoundWindow() {
  setRouting(false);
  for (auto& [field, e] : extras_) delete e.widget.data();
}

bool BoundWindow::modelRect(int field, QRect& rect) const {
  auto it = shown_.find(field);
  if (it == shown_.end()) return false;
  rect = controlRect(it->second);
  return true;
}

// ---- Updates ------------------------------------------------------------------------

void BoundWindow::apply(const toolkit::ViewUpdate& u) {
  if (root_ == nullptr) return;  // the host destroyed its form
  if (u.closed) {
    for (auto& [field, e] : extras_) delete e.widget.data();
    extras_.clear();
    return;
  }
  // The first snapshot is how the form stands: taken, not applied.
  if (u.window) applyWindow(*u.window, u.opened || !opened_);
  for (int f : u.destroyed) {
    removeExtra(f);
    shown_.erase(f);
  }
  bool orderChanged = false;
  for (const ControlSnapshot& s : u.controls) {
    auto old = shown_.find(s.field);
    if (old != shown_.end() && old->second.tabOrder != s.tabOrder && controls_.count(s.field) != 0)
      orderChanged = true;
    applyControl(s);
  }
  opened_ = true;
  if (orderChanged) applyTabOrder();
}

void BoundWindow::applyWindow(const WindowSnapshot& w, bool first) {
  if (first) {
    window_ = w;
    if (!looks_.windowSeen) {
      looks_.window = w;
      looks_.windowSeen = true;
    }
    return;
  }
  const WindowSnapshot old = window_;
  const WindowSnapshot& d = looks_.window;
  window_ = w;
  if (old.caption != w.caption) root_->setWindowTitle(w.caption == d.caption ? looks_.title : toQ(w.caption));
  if (!sameFace(old.font, w.font)) {
    if (sameFace(w.font, d.font))
      root_->setFont(looks_.ownFont ? looks_.font : QFont());
    else
      root_->setFont(toFont(w.font));
  }
  if (old.icon != w.icon) root_->setWindowIcon(w.icon == d.icon ? looks_.icon : ctx_.images.icon(w.icon));
  if (old.wallpaper != w.wallpaper || old.wallpaperMode != w.wallpaperMode) {
    // The picture becomes the window's background brush, drawn at the size
    // the window has now (tiled pictures tile at any size).
    QPixmap pm = w.wallpaper == d.wallpaper ? QPixmap() : ctx_.images.pixmap(w.wallpaper);
    QPalette pal = root_->palette();
    if (pm.isNull()) {
      pal.setBrush(QPalette::Window, QApplication::palette(root_).brush(QPalette::Window));
    } else if (w.wallpaperMode == 2) {
      pal.setBrush(QPalette::Window, QBrush(pm));
    } else {
      QPixmap canvas(root_->size().expandedTo(QSize(1, 1)));
      canvas.fill(QApplication::palette(root_).color(QPalette::Window));
      QPainter p(&canvas);
      ImageCache::paint(p, canvas.rect(), pm, w.wallpaperMode);
      p.end();
      pal.setBrush(QPalette::Window, QBrush(canvas));
    }
    root_->setPalette(pal);
    root_->setAutoFillBackground(true);
  }
  if (old.x != w.x || old.y != w.y) root_->move(root_->pos() + QPoint(w.x - old.x, w.y - old.y));
  if (old.width != w.width || old.height != w.height) root_->resize(std::max(1, w.width), std::max(1, w.height));
}

void BoundWindow::applyControl(const ControlSnapshot& s) {
  auto bound = controls_.find(s.field);
  if (bound == controls_.end()) {
    applyExtra(s);
    return;
  }
  const BoundControl& c = bound->second;
  auto shown = shown_.find(s.field);
  if (c.widget == nullptr) {
    shown_[s.field] = s;  // the host destroyed the widget; the model goes on without it
    return;
  }
  DesignedLooks::Control& d = looks_.controls[c.widget];
  if (!d.seen) {
    d.snap = shown != shown_.end() ? shown->second : s;
    d.seen = true;
  }
  if (shown == shown_.end()) {
    shown_[s.field] = s;  // the model's first sight: the widget as it stands
    return;
  }
  const ControlSnapshot old = shown->second;
  shown->second = s;
  applyLook(c, d, old, s);
  if (placed_ && c.placeable && !sameRect(old, s)) place(c, s);
}

void BoundWindow::applyLook(const BoundControl& c, DesignedLooks::Control& d, const ControlSnapshot& old,
                            const ControlSnapshot& s) {
  const ControlSnapshot& ds = d.snap;
  const WidgetLook& look = d.look;
  QWidget* w = c.widget;
  QTabWidget* sheet = c.sheet;
  const bool tab = sheet != nullptr && c.tabIndex >= 0;
  // Each value: the host's own where the model's equals the designed one.
  if (old.text != s.text && look.hasCaption) {
    const QString text = s.text == ds.text ? look.caption : toQ(s.text);
    if (tab)
      sheet->setTabText(c.tabIndex, text);
    else
      setCaption(w, text);
  }
  if (old.icon != s.icon && !tab)
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setIcon(s.icon == ds.icon ? look.icon : ctx_.images.icon(s.icon));
  if (!tab && !sameFace(old.font, s.font)) {
    // A font the widget inherited follows the window's again.
    if (sameFace(s.font, ds.font) || (!look.ownFont && sameFace(s.font, window_.font)))
      restoreFont(look);
    else
      w->setFont(toFont(s.font));
  }
  if (!tab && !sameColors(old, s)) {
    if (sameColors(s, ds)) {
      restorePalette(look);
    } else {
      const ColorRoles roles = colorRolesOf(w);
      QPalette pal = look.ownPalette ? look.palette : w->palette();
      setRole(pal, w, roles.text, s.font.color, ds.font.color);
      setRole(pal, w, roles.back, s.background, ds.background);
      setRole(pal, w, QPalette::HighlightedText, s.selectedColor, ds.selectedColor);
      setRole(pal, w, QPalette::Highlight, s.selectedFill, ds.selectedFill);
      w->setPalette(pal);
      if (roles.fillsBackground) w->setAutoFillBackground(look.autoFill || s.background != COLOR::None);
    }
  }
  if (old.tip != s.tip) {
    const QString tip = s.tip == ds.tip ? look.tip : toQ(s.tip);
    if (tab)
      sheet->setTabToolTip(c.tabIndex, tip);
    else
      w->setToolTip(tip);
  }
  if (old.help != s.help) {
    const QString help = s.help == ds.help ? look.whatsThis : toQ(s.help);
    if (tab)
      sheet->setTabWhatsThis(c.tabIndex, help);
    else
      w->setWhatsThis(help);
  }
  if (old.msg != s.msg) w->setStatusTip(s.msg == ds.msg ? look.statusTip : toQ(s.msg));
  if (old.hidden != s.hidden) {
    const bool hide = s.hidden == ds.hidden ? look.hidden : s.hidden;
    if (tab)
      sheet->setTabVisible(c.tabIndex, !hide);
    else
      w->setHidden(hide);
  }
  if (old.disabled != s.disabled) {
    const bool off = s.disabled == ds.disabled ? look.disabled : s.disabled;
    if (tab)
      sheet->setTabEnabled(c.tabIndex, !off);
    else
      w->setEnabled(!off);
  }
  if (tab) return;
  if (old.readOnly != s.readOnly) setReadOnly(w, s.readOnly == ds.readOnly ? look.readOnly : s.readOnly);
  if (old.flat != s.flat) setFlat(w, s.flat == ds.flat ? look.flat : s.flat);
  if (old.justify != s.justify) {
    Qt::Alignment a;
    if (alignmentOf(w, a))
      setHorizontalAlignment(w, s.justify == ds.justify ? look.alignment : toAlignment(s.justify, a));
  }
  if (old.password != s.password) setPassword(w, s.password == ds.password ? look.password : s.password);
  if (old.skip != s.skip) {
    Qt::FocusPolicy p = look.focusPolicy;
    if (s.skip != ds.skip) p = s.skip ? Qt::NoFocus : (p == Qt::NoFocus ? Qt::StrongFocus : p);
    w->setFocusPolicy(p);
  }
}

void BoundWindow::applyExtra(const ControlSnapshot& s) {
  const WidgetKind kind = widgetKind(s);
  if (kind == WidgetKind::None) return;
  Extra& e = extras_[s.field];
  bool fresh = false;
  if (e.widget == nullptr || e.kind != kind) {
    delete e.widget.data();
    e.widget = makeControlWidget(kind, root_, ctx_, {});
    e.kind = kind;
    fresh = true;
  }
  auto shown = shown_.find(s.field);
  qtview::applyControl(e.widget, kind, s, fresh || shown == shown_.end() ? nullptr : &shown->second, window_.font,
                       ctx_);
  e.widget->raise();
  shown_[s.field] = s;
}

void BoundWindow::removeExtra(int field) {
  auto it = extras_.find(field);
  if (it == extras_.end()) return;
  delete it->second.widget.data();
  extras_.erase(it);
}

// ---- Geometry and tab order ------------------------------------------------------------

void BoundWindow::place(const BoundControl& c, const ControlSnapshot& s) {
  QWidget* w = c.widget;
  QWidget* parent = w != nullptr ? w->parentWidget() : nullptr;
  if (parent == nullptr) return;
  const QRect r = controlRect(s);
  const QPoint at = parent == root_ ? r.topLeft() : parent->mapFrom(root_.data(), r.topLeft());
  const QRect g(at, r.size());
  if (w->geometry() != g) w->setGeometry(g);
}

void BoundWindow::setPlaced(bool placed) {
  placed_ = placed;
  if (!placed_) return;
  for (int f : byDepth_) {
    const BoundControl& c = controls_[f];
    auto s = shown_.find(f);
    if (c.placeable && c.widget != nullptr && s != shown_.end()) place(c, s->second);
  }
}

void BoundWindow::applyTabOrder() {
  // The designed chain, with the controls the model orders taking the
  // places they held in it in the model's order; the others (not in the
  // model's order: hidden, disabled, no control) keep theirs.
  std::map<const QWidget*, int> position;
  for (const auto& [field, c] : controls_) {
    if (c.widget == nullptr || c.sheet != nullptr) continue;
    auto s = shown_.find(field);
    if (s != shown_.end() && s->second.tabOrder > 0) position[c.widget] = s->second.tabOrder;
  }
  std::vector<QWidget*> chain;
  std::vector<size_t> places;
  std::vector<QWidget*> ordered;
  for (const QPointer<QWidget>& w : looks_.focusChain) {
    if (w == nullptr) continue;
    if (position.count(w) != 0) {
      places.push_back(chain.size());
      ordered.push_back(w);
    }
    chain.push_back(w);
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [&](QWidget* a, QWidget* b) { return position[a] < position[b]; });
  for (size_t i = 0; i < places.size(); ++i) chain[places[i]] = ordered[i];
  for (size_t i = 1; i < chain.size(); ++i)
    if (chain[i - 1]->window() == chain[i]->window()) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void BoundWindow::setFocus(int field) {
  if (routing_ || field == 0) return;
  auto it = controls_.find(field);
  if (it == controls_.end() || it->second.widget == nullptr || it->second.sheet != nullptr) return;
  QWidget* w = it->second.widget;
  if (w->isEnabled() && w->focusPolicy() != Qt::NoFocus) w->setFocus(Qt::OtherFocusReason);
}

void BoundWindow::invalidate() {
  if (root_ != nullptr) root_->update();
}

// ---- Input while routed ------------------------------------------------------------------

void BoundWindow::setRouting(bool on) {
  if (on == routing_) return;
  routing_ = on;
  if (on) {
    qApp->installEventFilter(this);
    // A form the program deletes meanwhile can take no more input: design
    // mode is left as Esc leaves it.
    if (root_ != nullptr)
      destroyed_ = connect(root_.data(), &QObject::destroyed, this, [this] {
        if (!routing_ || !post_) return;
        // Esc again while design mode still runs: one that arrives while
        // the session is between states can be taken for something else
        // (clearing a selection), and a form that is gone must never leave
        // the program's call waiting. Once routing ends, so does this.
        const auto leave = [this] {
          if (!routing_ || !post_) return;
          InputMessage esc;
          esc.kind = InputMessage::KeyDown;
          esc.key = KEY::Esc;
          post_(esc);
        };
        leave();
        if (leaveGone_ == nullptr) {
          leaveGone_ = new QTimer(this);
          leaveGone_->setInterval(500);
          connect(leaveGone_, &QTimer::timeout, this, leave);
        }
        leaveGone_->start();
      });
    // Moves without a button pressed reach the model too (the cursor over
    // the grab handles follows them).
    tracking_.clear();
    if (root_ != nullptr) {
      tracking_.emplace_back(root_, root_->hasMouseTracking());
      root_->setMouseTracking(true);
      for (QWidget* w : root_->findChildren<QWidget*>()) {
        tracking_.emplace_back(w, w->hasMouseTracking());
        w->setMouseTracking(true);
      }
    }
    return;
  }
  if (qApp != nullptr) qApp->removeEventFilter(this);
  disconnect(destroyed_);
  if (leaveGone_ != nullptr) leaveGone_->stop();
  for (auto& [w, was] : tracking_)
    if (w != nullptr) w->setMouseTracking(was);
  tracking_.clear();
}

bool BoundWindow::inForm(const QObject* o) const {
  if (root_ == nullptr || !o->isWidgetType()) return false;
  auto* w = static_cast<const QWidget*>(o);
  return w == root_ || root_->isAncestorOf(w);
}

bool BoundWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!routing_ || !inForm(watched)) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease: case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return routeMouse(static_cast<QWidget*>(watched), event);
    case QEvent::KeyPress:
      return routeKey(event);
    case QEvent::ShortcutOverride:
      // Keys are the model's: none triggers a shortcut of the host's.
      event->accept();
      return true;
    case QEvent::KeyRelease: case QEvent::Wheel: case QEvent::ContextMenu: case QEvent::InputMethod:
    case QEvent::TabletPress: case QEvent::TabletRelease: case QEvent::TabletMove: case QEvent::TouchBegin:
    case QEvent::TouchUpdate: case QEvent::TouchEnd: case QEvent::DragEnter: case QEvent::DragMove: case QEvent::Drop:
      return true;
    case QEvent::Close:
      if (watched != root_) return false;
      event->ignore();  // not while it is being designed
      return true;
    default:
      return false;
  }
}

bool BoundWindow::routeMouse(QWidget* receiver, QEvent* event) {
  auto* e = static_cast<QMouseEvent*>(event);
  const QPoint at = e->position().toPoint();
  const QPoint local = receiver == root_ ? at : receiver->mapTo(root_.data(), at);
  InputMessage m;
  m.window = handle_;
  m.x = window_.x + local.x();
  m.y = window_.y + local.y();
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      if (e->button() == Qt::LeftButton)
        m.kind = InputMessage::LeftDown;
      else if (e->button() == Qt::RightButton)
        m.kind = InputMessage::RightDown;
      else
        return true;
      break;
    case QEvent::MouseButtonRelease:
      if (e->button() == Qt::LeftButton)
        m.kind = InputMessage::LeftUp;
      else if (e->button() == Qt::RightButton)
        m.kind = InputMessage::RightUp;
      else
        return true;
      break;
    case QEvent::MouseButtonDblClick:
      if (e->button() == Qt::LeftButton)
        m.kind = InputMessage::LeftDoubleClick;
      else if (e->button() == Qt::RightButton)
        m.kind = InputMessage::RightDown;
      else
        return true;
      break;
    default:
      m.kind = InputMessage::MouseMove;
      break;
  }
  if (post_) post_(m);
  return true;
}

bool BoundWindow::routeKey(QEvent* event) {
  auto* e = static_cast<QKeyEvent*>(event);
  const int code = keyCodeFromQt(e->key(), e->modifiers());
  if (code == 0) return true;
  InputMessage m;
  m.kind = InputMessage::KeyDown;  // for the window with the model's focus (design mode's overlay)
  m.key = code;
  if (post_) post_(m);
  return true;
}

}  // namespace wevo::qtview
