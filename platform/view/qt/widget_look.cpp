#include "platform/view/qt/widget_look.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextEdit>
#include <cmath>

#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

ColorRoles colorRolesOf(const QWidget* w) {
  if (qobject_cast<const QCheckBox*>(w) != nullptr || qobject_cast<const QRadioButton*>(w) != nullptr)
    return {QPalette::WindowText, QPalette::Window, true};
  if (qobject_cast<const QAbstractButton*>(w) != nullptr) return {QPalette::ButtonText, QPalette::Button, false};
  if (qobject_cast<const QLineEdit*>(w) != nullptr || qobject_cast<const QTextEdit*>(w) != nullptr ||
      qobject_cast<const QPlainTextEdit*>(w) != nullptr || qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
      qobject_cast<const QAbstractItemView*>(w) != nullptr || qobject_cast<const QComboBox*>(w) != nullptr)
    return {QPalette::Text, QPalette::Base, false};
  return {QPalette::WindowText, QPalette::Window, true};
}

toolkit::FontDesc fontDesc(const QFont& f) {
  toolkit::FontDesc d;
  d.face = fromQ(f.family());
  if (f.pointSize() > 0) {
    d.size = f.pointSize();
  } else {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
    d.size = std::max(1, static_cast<int>(std::lround(f.pixelSize() * 72.0 / dpi)));
  }
  d.style = static_cast<int>(f.weight()) & 0xFFF;
  if (f.weight() == QFont::Normal) d.style = 0;
  if (f.italic()) d.style |= 0x1000;
  if (f.underline()) d.style |= 0x2000;
  if (f.strikeOut()) d.style |= 0x4000;
  return d;
}

int32_t ownColor(const QWidget* w, QPalette::ColorRole role) {
  if (!w->testAttribute(Qt::WA_SetPalette)) return COLOR::None;
  const QColor mine = w->palette().color(QPalette::Active, role);
  const QWidget* parent = w->isWindow() ? nullptr : w->parentWidget();
  const QColor inherited =
      parent != nullptr ? parent->palette().color(QPalette::Active, role) : QApplication::palette(w).color(QPalette::Active, role);
  return mine == inherited ? COLOR::None : fromColor(mine);
}

bool captionOf(const QWidget* w, QString& text) {
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
    text = b->text();
    return true;
  }
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    if (!l->pixmap().isNull()) return false;  // a picture: its file is not known
    text = l->text();
    return true;
  }
  if (auto* g = qobject_cast<const QGroupBox*>(w)) {
    text = g->title();
    return true;
  }
  return false;
}

void setCaption(QWidget* w, const QString& text) {
  if (auto* b = qobject_cast<QAbstractButton*>(w))
    b->setText(text);
  else if (auto* l = qobject_cast<QLabel*>(w))
    l->setText(text);
  else if (auto* g = qobject_cast<QGroupBox*>(w))
    g->setTitle(text);
}

bool readOnlyOf(const QWidget* w) {
  if (auto* e = qobject_cast<const QLineEdit*>(w)) return e->isReadOnly();
  if (auto* t = qobject_cast<const QTextEdit*>(w)) return t->isReadOnly();
  if (auto* t = qobject_cast<const QPlainTextEdit*>(w)) return t->isReadOnly();
  if (auto* s = qobject_cast<const QAbstractSpinBox*>(w)) return s->isReadOnly();
  return false;
}

void setReadOnly(QWidget* w, bool on) {
  if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setReadOnly(on);
  else if (auto* t = qobject_cast<QTextEdit*>(w))
    t->setReadOnly(on);
  else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
    p->setReadOnly(on);
  else if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
    s->setReadOnly(on);
}

bool flatOf(const QWidget* w) {
  if (auto* b = qobject_cast<const QPushButton*>(w)) return b->isFlat();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->isFlat();
  return false;
}

void setFlat(QWidget* w, bool on) {
  if (auto* b = qobject_cast<QPushButton*>(w))
    b->setFlat(on);
  else if (auto* g = qobject_cast<QGroupBox*>(w))
    g->setFlat(on);
}

bool alignmentOf(const QWidget* w, Qt::Alignment& alignment) {
  if (auto* l = qobject_cast<const QLabel*>(w)) {
    alignment = l->alignment();
    return true;
  }
  if (auto* e = qobject_cast<const QLineEdit*>(w)) {
    alignment = e->alignment();
    return true;
  }
  if (auto* s = qobject_cast<const QAbstractSpinBox*>(w)) {
    alignment = s->alignment();
    return true;
  }
  return false;
}

void setHorizontalAlignment(QWidget* w, Qt::Alignment horizontal) {
  Qt::Alignment now;
  if (!alignmentOf(w, now)) return;
  const Qt::Alignment a = (now & ~Qt::AlignHorizontal_Mask) | (horizontal & Qt::AlignHorizontal_Mask);
  if (auto* l = qobject_cast<QLabel*>(w))
    l->setAlignment(a);
  else if (auto* e = qobject_cast<QLineEdit*>(w))
    e->setAlignment(a);
  else if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
    s->setAlignment(a);
}

bool passwordOf(const QWidget* w) {
  auto* e = qobject_cast<const QLineEdit*>(w);
  return e != nullptr && e->echoMode() == QLineEdit::Password;
}

void setPassword(QWidget* w, bool on) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
}

WidgetLook lookOf(QWidget* w, QTabWidget* sheet, int tabIndex) {
  WidgetLook k;
  k.widget = w;
  k.sheet = sheet;
  k.tabIndex = tabIndex;
  if (sheet != nullptr && tabIndex >= 0) {
    k.hasCaption = true;
    k.caption = sheet->tabText(tabIndex);
    k.hidden = !sheet->isTabVisible(tabIndex);
    k.disabled = !sheet->isTabEnabled(tabIndex);
    k.tip = sheet->tabToolTip(tabIndex);
    k.whatsThis = sheet->tabWhatsThis(tabIndex);
    k.icon = sheet->tabIcon(tabIndex);
  } else {
    k.hasCaption = captionOf(w, k.caption);
    k.hidden = w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
    k.disabled = w->testAttribute(Qt::WA_ForceDisabled);
    k.tip = w->toolTip();
    k.whatsThis = w->whatsThis();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) k.icon = b->icon();
  }
  k.font = w->font();
  k.ownFont = w->testAttribute(Qt::WA_SetFont);
  k.palette = w->palette();
  k.ownPalette = w->testAttribute(Qt::WA_SetPalette);
  k.autoFill = w->autoFillBackground();
  k.statusTip = w->statusTip();
  k.readOnly = readOnlyOf(w);
  k.flat = flatOf(w);
  alignmentOf(w, k.alignment);
  k.password = passwordOf(w);
  k.focusPolicy = w->focusPolicy();
  return k;
}

void restoreCaption(const WidgetLook& k) {
  if (k.sheet != nullptr) {
    k.sheet->setTabText(k.tabIndex, k.caption);
    k.sheet->setTabIcon(k.tabIndex, k.icon);
    return;
  }
  if (k.widget == nullptr) return;
  if (k.hasCaption) setCaption(k.widget, k.caption);
  if (auto* b = qobject_cast<QAbstractButton*>(k.widget.data())) b->setIcon(k.icon);
}

void restoreFont(const WidgetLook& k) {
  if (k.widget == nullptr) return;
  // A font the widget only inherited goes back to being inherited.
  k.widget->setFont(k.ownFont ? k.font : QFont());
}

void restorePalette(const WidgetLook& k) {
  if (k.widget == nullptr) return;
  k.widget->setPalette(k.ownPalette ? k.palette : QPalette());
  k.widget->setAutoFillBackground(k.autoFill);
}

void restoreTexts(const WidgetLook& k) {
  if (k.sheet != nullptr) {
    k.sheet->setTabToolTip(k.tabIndex, k.tip);
    k.sheet->setTabWhatsThis(k.tabIndex, k.whatsThis);
  } else if (k.widget != nullptr) {
    k.widget->setToolTip(k.tip);
    k.widget->setWhatsThis(k.whatsThis);
  }
  if (k.widget != nullptr) k.widget->setStatusTip(k.statusTip);
}

void restoreHidden(const WidgetLook& k) {
  if (k.sheet != nullptr) {
    k.sheet->setTabVisible(k.tabIndex, !k.hidden);
    return;
  }
  if (k.widget == nullptr) return;
  if (k.hidden) {
    k.widget->hide();
  } else if (k.widget->isHidden()) {
    k.widget->show();
  }
}

void restoreDisabled(const WidgetLook& k) {
  if (k.sheet != nullptr) {
    k.sheet->setTabEnabled(k.tabIndex, !k.disabled);
    return;
  }
  if (k.widget != nullptr) k.widget->setEnabled(!k.disabled);
}

void restoreSwitches(const WidgetLook& k) {
  if (k.widget == nullptr) return;
  setReadOnly(k.widget, k.readOnly);
  setFlat(k.widget, k.flat);
  Qt::Alignment a;
  if (alignmentOf(k.widget, a)) setHorizontalAlignment(k.widget, k.alignment);
  setPassword(k.widget, k.password);
  k.widget->setFocusPolicy(k.focusPolicy);
}

}  // namespace wevo::qtview
