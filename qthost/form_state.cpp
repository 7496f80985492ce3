#include "qthost/form_state.h"

#include <QApplication>
#include <QResizeEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <map>
#include <string>

#include "resizer/default_strategy.h"
#include "resizer/place_control.h"
#include "wevo/codes.h"

namespace wevo::qthost {

namespace {

// Gives every widget below `w` the geometry show() would give it: pending
// resize events are delivered (tab widgets place their pages on them),
// layouts run top-down, and the pages a stacked widget does not show take
// the size of the one it shows (Qt sizes them only when they are shown).
// A tab widget not shown yet leaves its tab bar and pages where they were
// made until it is shown: placed here as it will place them then.
struct TabWidgetAccess : QTabWidget {
  static void styleOption(const QTabWidget* t, QStyleOptionTabWidgetFrame* option) {
    (t->*(&TabWidgetAccess::initStyleOption))(option);
  }
};

void placeTabWidget(QTabWidget* t) {
  auto* stack = t->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
  if (stack == nullptr) return;
  QStyleOptionTabWidgetFrame option;
  TabWidgetAccess::styleOption(t, &option);
  t->tabBar()->setGeometry(t->style()->subElementRect(QStyle::SE_TabWidgetTabBar, &option, t));
  stack->setGeometry(t->style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, t));
}

void settle(QWidget* w) {
  if (w->testAttribute(Qt::WA_PendingResizeEvent)) {
    QResizeEvent e(w->size(), QSize());
    QCoreApplication::sendEvent(w, &e);
    w->setAttribute(Qt::WA_PendingResizeEvent, false);
  }
  if (QLayout* l = w->layout()) l->activate();
  if (auto* t = qobject_cast<QTabWidget*>(w); t != nullptr && !t->isVisible()) placeTabWidget(t);
  if (auto* stack = qobject_cast<QStackedWidget*>(w))
    for (int i = 0; i < stack->count(); ++i)
      if (QWidget* page = stack->widget(i); page != nullptr && page->geometry() != stack->rect())
        page->setGeometry(stack->rect());
  for (QObject* o : w->children())
    if (o->isWidgetType() && !static_cast<QWidget*>(o)->isWindow()) settle(static_cast<QWidget*>(o));
}

resizer::Rect toRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRect toQRect(const resizer::Rect& r) { return QRect(r.XPOS, r.YPOS, r.WIDTH, r.HEIGHT); }

}  // namespace

FormState::FormState(QWidget* form) : QObject(form), form_(form) { setObjectName(QStringLiteral("qt_wevo_form")); }

FormState& FormState::of(QWidget* form) {
  if (auto* s = form->findChild<FormState*>(QString(), Qt::FindDirectChildrenOnly)) return *s;
  return *new FormState(form);
}

// ---- Size --------------------------------------------------------------------------

void FormState::layOut() {
  QWidget* f = form_;
  if (f == nullptr) return;
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  f->ensurePolished();
  // As show() will: a window nobody sized takes the size its layout asks
  // for. Show() is then left to do the same again, so that a form wevo
  // leaves alone opens exactly as it would have.
  const bool sized = f->isVisible() || !f->isWindow() || f->testAttribute(Qt::WA_Resized);
  if (!sized) f->adjustSize();
  settle(f);
  if (!sized) f->setAttribute(Qt::WA_Resized, false);
  if (!sized_) {
    designedSize_ = f->size();
    sized_ = true;
  }
}

void FormState::toDesignedSize() {
  if (!sized_) layOut();
  QWidget* f = form_;
  if (f == nullptr) return;
  if (f->isMaximized() || f->isMinimized() || f->isFullScreen()) f->showNormal();
  if (f->size() != designedSize_) f->resize(designedSize_);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  reflow();
}

// ---- Placed and laid out ----------------------------------------------------------------

void FormState::layoutsOff(const ScannedForm& form) {
  for (const QPointer<QWidget>& c : form.placedContainers) {
    if (c == nullptr) continue;
    QLayout* l = c->layout();
    if (l == nullptr || !l->isEnabled()) continue;
    l->setEnabled(false);
    off_.emplace_back(l);
  }
}

void FormState::place(const ScannedForm& form, qtview::BoundWindow& binding, const UnitRects& units) {
  layoutsOff(form);
  binding.setPlaced(true);
  // A form that is not shown yet keeps the size it was placed at.
  if (form_ != nullptr && form_->isWindow()) form_->setAttribute(Qt::WA_Resized, true);
  rows_.clear();
  std::map<std::string, int> byLabel;
  for (size_t i = 0; i < form.controls.size(); ++i) byLabel[form.decl.controls[i].use] = static_cast<int>(i);
  for (size_t i = 0; i < form.controls.size(); ++i) {
    const ScannedControl& c = form.controls[i];
    const ControlDecl& d = form.decl.controls[i];
    Row r;
    r.widget = c.widget;
    r.type = d.type;
    r.dropDown = d.drop > 0;
    r.placeable = c.placeable;
    r.isTab = c.sheet != nullptr;
    auto p = byLabel.find(d.parent);
    r.parent = d.parent.empty() || p == byLabel.end() ? -1 : p->second;
    if (!binding.modelRect(static_cast<int>(i) + 1, r.rect)) r.rect = c.rect;
    auto designed = designedUnits.find(d.use);
    auto now = units.find(d.use);
    if (knowsDesign && designed != designedUnits.end() && now != units.end()) {
      const UnitRect& a = designed->second;
      const UnitRect& b = now->second;
      // (Sides first: moving the left edge keeps the right one where the units say.)
      const int right = a.x + a.w == b.x + b.w ? c.rect.x() + c.rect.width() : r.rect.x() + r.rect.width();
      const int bottom = a.y + a.h == b.y + b.h ? c.rect.y() + c.rect.height() : r.rect.y() + r.rect.height();
      if (a.x == b.x) r.rect.moveLeft(c.rect.x());
      if (a.y == b.y) r.rect.moveTop(c.rect.y());
      if (a.w == b.w) r.rect.setWidth(c.rect.width());
      else r.rect.setWidth(right - r.rect.x());
      if (a.h == b.h) r.rect.setHeight(c.rect.height());
      else r.rect.setHeight(bottom - r.rect.y());
    }
    rows_.push_back(r);
  }
  // A tab has its sheet's rectangle; containers come before what they hold.
  for (Row& r : rows_)
    if (r.isTab && r.parent >= 0) r.rect = rows_[static_cast<size_t>(r.parent)].rect;
  referenceSize_ = form_ != nullptr ? form_->size() : QSize();
  if (!placed_ && form_ != nullptr) form_->installEventFilter(this);
  placed_ = true;
  reflow();
}

void FormState::layoutsOn() {
  for (const QPointer<QLayout>& l : off_)
    if (l != nullptr) l->setEnabled(true);
  // Top-down, each at its widget's size: the containers' own geometry is
  // set by the layout above them first.
  for (const QPointer<QLayout>& l : off_)
    if (l != nullptr) {
      l->invalidate();
      l->activate();
    }
  off_.clear();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  if (placed_ && form_ != nullptr) form_->removeEventFilter(this);
  placed_ = false;
  rows_.clear();
}

void FormState::restoreDesigned() {
  for (auto& [widget, c] : looks.controls) {
    const qtview::WidgetLook& k = c.look;
    if (k.widget == nullptr) continue;
    qtview::restoreCaption(k);
    qtview::restoreFont(k);
    qtview::restorePalette(k);
    qtview::restoreTexts(k);
    qtview::restoreHidden(k);
    qtview::restoreDisabled(k);
    qtview::restoreSwitches(k);
  }
  if (form_ != nullptr && looks.windowSeen) {
    form_->setWindowTitle(looks.title);
    form_->setFont(looks.ownFont ? looks.font : QFont());
    form_->setWindowIcon(looks.icon);
  }
  std::vector<QWidget*> chain;
  for (const QPointer<QWidget>& w : looks.focusChain)
    if (w != nullptr) chain.push_back(w);
  for (size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
  layoutsOn();
}

// ---- Resizing a placed form ------------------------------------------------------------

bool FormState::eventFilter(QObject* watched, QEvent* event) {
  // Not while a call works on the form: its model places the controls then.
  if (watched == form_ && event->type() == QEvent::Resize && !busy) reflow();
  return false;
}

void FormState::reflow() {
  if (!placed_ || form_ == nullptr) return;
  const QSize now = form_->size();
  const QRect oldForm(QPoint(0, 0), referenceSize_), newForm(QPoint(0, 0), now);
  std::vector<QRect> fresh(rows_.size());
  std::vector<size_t> order(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Containers are placed before what they hold (a parent's row always
  // has a smaller depth); rows come in field order, so sort by depth.
  auto depth = [this](size_t i) {
    int d = 0;
    for (int p = rows_[i].parent; p >= 0 && d < 64; p = rows_[static_cast<size_t>(p)].parent) ++d;
    return d;
  };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return depth(a) < depth(b); });
  for (size_t i : order) {
    const Row& r = rows_[i];
    const QRect oldParent = r.parent < 0 ? oldForm : rows_[static_cast<size_t>(r.parent)].rect;
    const QRect newParent = r.parent < 0 ? newForm : fresh[static_cast<size_t>(r.parent)];
    if (r.isTab) {
      fresh[i] = newParent;
      continue;
    }
    QWidget* w = r.widget;
    if (w == nullptr) {
      fresh[i] = r.rect;
      continue;
    }
    if (!r.placeable) {
      // Where the host's own layouts (a main window's, a splitter's) put it.
      fresh[i] = QRect(w->mapTo(form_.data(), QPoint(0, 0)), w->size());
      continue;
    }
    QRect n = r.rect;
    if (now != referenceSize_ && resizer::IsManagedType(r.type)) {
      const resizer::DefaultStrategy s = resizer::DefaultStrategyFor(2, resizer::RecordedType(r.type, r.dropDown));
      n = toQRect(resizer::PlaceRect(toRect(oldParent), toRect(newParent), toRect(r.rect), s.positional, s.resize));
    }
    fresh[i] = n;
    QWidget* parent = w->parentWidget();
    const QPoint at = parent == form_ ? n.topLeft() : parent->mapFrom(form_.data(), n.topLeft());
    const QRect g(at, n.size().expandedTo(QSize(0, 0)));
    if (w->geometry() != g) w->setGeometry(g);
  }
}

}  // namespace wevo::qthost
