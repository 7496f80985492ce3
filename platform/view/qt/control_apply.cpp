#include "platform/view/qt/control_apply.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "platform/view/qt/edit_controls.h"
#include "platform/view/qt/font_measure.h"
#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/list_controls.h"
#include "platform/view/qt/painted_control.h"
#include "platform/view/qt/qt_context.h"
#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

using toolkit::ControlSnapshot;

bool isMenuType(int type) { return type == TYPE::Menu || type == TYPE::Item || type == TYPE::MenuBar; }

bool isEditKind(WidgetKind k) {
  return k == WidgetKind::Entry || k == WidgetKind::Text || k == WidgetKind::Spin || k == WidgetKind::DropEdit;
}

WidgetKind widgetKind(const ControlSnapshot& s) {
  switch (s.type) {
    case TYPE::Tab: case TYPE::Menu: case TYPE::Item: case TYPE::MenuBar: return WidgetKind::None;
    case TYPE::Sheet: return WidgetKind::Sheet;
    case TYPE::Entry: return WidgetKind::Entry;
    case TYPE::Text: case TYPE::Rtf: return WidgetKind::Text;
    case TYPE::Spin: return WidgetKind::Spin;
    case TYPE::Button: return WidgetKind::Button;
    case TYPE::Check: return WidgetKind::Check;
    case TYPE::Radio: return WidgetKind::Radio;
    case TYPE::List: return s.drop > 0 ? WidgetKind::Drop : WidgetKind::List;
    case TYPE::DropList: return WidgetKind::Drop;
    case TYPE::Combo: case TYPE::DropCombo: return WidgetKind::DropEdit;
    default: return WidgetKind::Painted;
  }
}

QRect controlRect(const ControlSnapshot& s) {
  int x = s.x, y = s.y, w = s.width, h = s.height;
  if (w < 0) {
    x += w;
    w = -w;
  }
  if (h < 0) {
    y += h;
    h = -h;
  }
  if (s.type == TYPE::Line) {
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (s.width != 0) ++w;  // the far end is drawn too
    if (s.height != 0) ++h;
  }
  return QRect(x, y, w, h);
}

QWidget* makeControlWidget(WidgetKind kind, QWidget* client, QtContext& ctx, ControlCallbacks cb) {
  QWidget* w = nullptr;
  switch (kind) {
    case WidgetKind::None: return nullptr;
    case WidgetKind::Painted: w = new PaintedControl(client, ctx.images); break;
    case WidgetKind::Sheet: w = new SheetControl(client, ctx.images); break;
    case WidgetKind::Entry: w = new EntryControl(client); break;
    case WidgetKind::Text: w = new TextControl(client); break;
    case WidgetKind::Spin: w = new SpinControl(client, std::move(cb.spinStep)); break;
    case WidgetKind::Button: w = new QPushButton(client); break;
    case WidgetKind::Check: w = new QCheckBox(client); break;
    case WidgetKind::Radio: {
      auto* r = new QRadioButton(client);
      r->setAutoExclusive(false);  // the model decides which radio of an option is on
      w = r;
      break;
    }
    case WidgetKind::List: w = new ListControl(client, std::move(cb.scroll)); break;
    case WidgetKind::Drop: w = new DropControl(client, false, std::move(cb.choose)); break;
    case WidgetKind::DropEdit: w = new DropControl(client, true, std::move(cb.choose)); break;
  }
  // The model owns the focus: Qt moves it only when the model says so.
  w->setFocusPolicy(Qt::NoFocus);
  for (QWidget* inner : w->findChildren<QWidget*>()) inner->setFocusPolicy(Qt::NoFocus);
  w->setMouseTracking(true);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) area->viewport()->setMouseTracking(true);
  return w;
}

namespace {

bool sameFace(const toolkit::FontDesc& a, const toolkit::FontDesc& b) {
  return a.face == b.face && a.size == b.size && a.style == b.style;
}

void applyFont(QWidget* w, const ControlSnapshot& s, const ControlSnapshot* old, const toolkit::FontDesc& windowFont) {
  if (old != nullptr && sameFace(old->font, s.font)) return;
  if (sameFace(s.font, windowFont)) {
    if (w->testAttribute(Qt::WA_SetFont)) w->setFont(QFont());
  } else {
    w->setFont(toFont(s.font));
  }
}

bool sameColors(const ControlSnapshot& a, const ControlSnapshot& b) {
  return a.font.color == b.font.color && a.background == b.background && a.selectedColor == b.selectedColor &&
         a.selectedFill == b.selectedFill && a.transparent == b.transparent;
}

void applyColors(QWidget* w, WidgetKind kind, const ControlSnapshot& s, const ControlSnapshot* old) {
  if (kind == WidgetKind::Painted || kind == WidgetKind::Sheet) return;  // they draw from the snapshot
  if (old != nullptr && sameColors(*old, s)) return;
  std::optional<QColor> text = toColor(s.font.color), back = toColor(s.background);
  std::optional<QColor> selText = toColor(s.selectedColor), selFill = toColor(s.selectedFill);
  bool any = text || back || selText || selFill || s.transparent;
  if (!any) {
    if (w->testAttribute(Qt::WA_SetPalette)) w->setPalette(QPalette());
    w->setAutoFillBackground(false);
    return;
  }
  QPalette pal = w->palette();
  auto set = [&pal](QPalette::ColorRole role, const std::optional<QColor>& c) {
    if (c) {
      pal.setColor(QPalette::Active, role, *c);
      pal.setColor(QPalette::Inactive, role, *c);
    }
  };
  switch (kind) {
    case WidgetKind::Button:
      set(QPalette::ButtonText, text);
      set(QPalette::Button, back);
      break;
    case WidgetKind::Check: case WidgetKind::Radio:
      set(QPalette::WindowText, text);
      set(QPalette::Window, back);
      w->setAutoFillBackground(back.has_value() && !s.transparent);
      break;
    case WidgetKind::Drop:
      set(QPalette::ButtonText, text);
      set(QPalette::Text, text);
      set(QPalette::Button, back);
      set(QPalette::Base, back);
      break;
    default:  // entries, text boxes, spins, lists, combos
      set(QPalette::Text, text);
      set(QPalette::Base, s.transparent ? std::optional<QColor>(QColor(Qt::transparent)) : back);
      break;
  }
  set(QPalette::HighlightedText, selText);
  set(QPalette::Highlight, selFill);
  w->setPalette(pal);
}

void applyCursor(QWidget* w, const ControlSnapshot& s, const ControlSnapshot* old, ImageCache& images) {
  if (old != nullptr ? old->cursor == s.cursor : s.cursor.empty()) return;
  if (std::optional<Qt::CursorShape> shape = stockCursor(s.cursor)) {
    w->setCursor(*shape);
    return;
  }
  QPixmap pm = images.pixmap(s.cursor);
  if (pm.isNull())
    w->unsetCursor();
  else
    w->setCursor(QCursor(pm));
}

template <typename Button>
void applyButtonText(Button* b, const ControlSnapshot& s, const ControlSnapshot* old, ImageCache& images) {
  if (old == nullptr || old->text != s.text) b->setText(toQ(s.text));
  if (old == nullptr ? !s.icon.empty() : old->icon != s.icon) b->setIcon(images.icon(s.icon));
}

}  // namespace

void applyControl(QWidget* w, WidgetKind kind, const ControlSnapshot& s, const ControlSnapshot* old,
                  const toolkit::FontDesc& windowFont, QtContext& ctx) {
  if (w == nullptr) return;
  QRect g = controlRect(s);
  if (w->geometry() != g) w->setGeometry(g);
  if (w->isEnabled() == s.disabled) w->setEnabled(!s.disabled);
  if (old != nullptr ? old->tip != s.tip : !s.tip.empty()) w->setToolTip(toQ(s.tip));
  if (old != nullptr ? old->rightToLeft != s.rightToLeft : s.rightToLeft)
    w->setLayoutDirection(s.rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
  applyFont(w, s, old, windowFont);
  applyColors(w, kind, s, old);
  applyCursor(w, s, old, ctx.images);
  switch (kind) {
    case WidgetKind::Painted: case WidgetKind::Sheet:
      static_cast<PaintedControl*>(w)->setSnapshot(s);
      break;
    case WidgetKind::Entry: static_cast<EntryControl*>(w)->apply(s, old); break;
    case WidgetKind::Text: static_cast<TextControl*>(w)->apply(s, old); break;
    case WidgetKind::Spin: static_cast<SpinControl*>(w)->apply(s, old); break;
    case WidgetKind::Button: {
      auto* b = static_cast<QPushButton*>(w);
      applyButtonText(b, s, old, ctx.images);
      b->setFlat(s.flat);
      if (old == nullptr ? s.justify == 'L' || s.justify == 'R' : old->justify != s.justify) {
        if (s.justify == 'L')
          b->setStyleSheet(QStringLiteral("text-align: left"));
        else if (s.justify == 'R')
          b->setStyleSheet(QStringLiteral("text-align: right"));
        else
          b->setStyleSheet(QString());
      }
      break;
    }
    case WidgetKind::Check: {
      auto* c = static_cast<QCheckBox*>(w);
      applyButtonText(c, s, old, ctx.images);
      if (c->isChecked() != s.checked) c->setChecked(s.checked);
      break;
    }
    case WidgetKind::Radio: {
      auto* r = static_cast<QRadioButton*>(w);
      applyButtonText(r, s, old, ctx.images);
      if (r->isChecked() != s.checked) r->setChecked(s.checked);
      break;
    }
    case WidgetKind::List: static_cast<ListControl*>(w)->apply(s, old, ctx.measure); break;
    case WidgetKind::Drop: case WidgetKind::DropEdit: static_cast<DropControl*>(w)->apply(s, old); break;
    case WidgetKind::None: break;
  }
  if (w->isHidden() == s.visible) w->setVisible(s.visible);
}

}  // namespace wevo::qtview
