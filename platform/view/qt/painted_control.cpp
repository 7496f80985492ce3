#include "platform/view/qt/painted_control.h"

#include <QPainter>
#include <QStyle>
#include <QFontMetrics>
#include <QRegion>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <cstdlib>
#include <qdrawutil.h>

#include "platform/view/qt/font_measure.h"
#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

PaintedControl::PaintedControl(QWidget* parent, ImageCache& images) : QWidget(parent), images_(images) {}

void PaintedControl::setSnapshot(const toolkit::ControlSnapshot& s) {
  snap_ = s;
  update();
}

void PaintedControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const toolkit::ControlSnapshot& s = snap_;
  QRect r = rect();
  std::optional<QColor> back = s.transparent ? std::nullopt : toColor(s.background);
  switch (s.type) {
    case TYPE::SString: case TYPE::String: case TYPE::Prompt:
      if (back) p.fillRect(r, *back);
      paintText(p, r);
      break;
    case TYPE::Image:
      ImageCache::paint(p, r, images_.pixmap(s.text), s.wallpaperMode);
      break;
    case TYPE::Line: case TYPE::Box: case TYPE::Ellipse:
      paintShape(p);
      break;
    case TYPE::Region: {
      if (std::optional<QColor> fill = toColor(s.fill); fill && !s.transparent) p.fillRect(r, *fill);
      if (std::optional<QColor> border = toColor(s.background)) {
        p.setPen(*border);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
      }
      paintBevel(p, r);
      break;
    }
    case TYPE::Group: case TYPE::Option:
      if (back) p.fillRect(r, *back);
      if (s.type == TYPE::Group || s.boxed) paintFrameBox(p, r);
      paintBevel(p, r);
      break;
    case TYPE::Toolbar: {
      p.fillRect(r, back ? *back : palette().color(QPalette::Button));
      if (!s.wallpaper.empty()) ImageCache::paint(p, r, images_.pixmap(s.wallpaper), s.wallpaperMode);
      p.setPen(palette().color(QPalette::Mid));
      p.drawLine(r.bottomLeft(), r.bottomRight());
      paintBevel(p, r);
      break;
    }
    default:  // panels, custom controls
      if (back) p.fillRect(r, *back);
      paintBevel(p, r);
      break;
  }
}

void PaintedControl::paintText(QPainter& p, const QRect& r) {
  const toolkit::ControlSnapshot& s = snap_;
  QColor color = palette().color(s.disabled ? QPalette::Disabled : QPalette::Active, QPalette::WindowText);
  if (std::optional<QColor> c = toColor(s.font.color); c && !s.disabled) color = *c;
  p.setPen(color);
  Qt::Alignment align = toAlignment(s.justify);
  QRect tr = r;
  if (align & Qt::AlignRight)
    tr.adjust(0, 0, -s.justifyOffset, 0);
  else
    tr.adjust(s.justifyOffset, 0, 0, 0);
  p.drawText(tr, static_cast<int>(align | Qt::AlignTop | Qt::TextShowMnemonic), toQ(s.text));
}

// The toolkit lays a box out with its title on the frame's top line: the
// line runs through the middle of the title's first text line, and the
// controls in the box start below the title. The style's own group box puts
// the whole title above the frame, where those controls would cross the
// line; so the frame (an etched line, drawn here: a style's group frame
// keeps its own room for a title above it) starts half a text line down,
// broken where the title stands.
void PaintedControl::paintFrameBox(QPainter& p, const QRect& r) {
  const QFontMetrics fm(font());
  const QString title = toQ(snap_.text);
  QRect titleRect;
  if (!title.isEmpty()) {
    const int pad = 2;
    titleRect = QRect(r.left() + fm.averageCharWidth(), r.top(),
                      fm.horizontalAdvance(withoutMnemonics(title)) + 2 * pad, fm.height())
                    .intersected(r);
  }
  p.save();
  if (!titleRect.isEmpty()) p.setClipRegion(QRegion(r).subtracted(QRegion(titleRect)));
  qDrawShadeRect(&p, r.adjusted(0, title.isEmpty() ? 0 : fm.height() / 2, 0, 0), palette(), true, 1, 0);
  p.restore();
  if (titleRect.isEmpty()) return;
  QColor color = palette().color(snap_.disabled ? QPalette::Disabled : QPalette::Active, QPalette::WindowText);
  if (std::optional<QColor> c = toColor(snap_.font.color); c && !snap_.disabled) color = *c;
  p.setPen(color);
  p.drawText(titleRect, static_cast<int>(Qt::AlignCenter | Qt::TextShowMnemonic), title);
}

void PaintedControl::paintShape(QPainter& p) {
  const toolkit::ControlSnapshot& s = snap_;
  QColor pen = Qt::black;
  if (std::optional<QColor> c = toColor(s.background))
    pen = *c;
  else if (std::optional<QColor> f = toColor(s.font.color))
    pen = *f;
  p.setRenderHint(QPainter::Antialiasing, s.type == TYPE::Ellipse);
  p.setPen(pen);
  if (s.type == TYPE::Line) {
    // The widget covers the line's box; the snapshot's signs say which
    // corners the line joins.
    int w = width() - 1, h = height() - 1;
    if (s.width == 0)
      p.drawLine(0, 0, 0, h);
    else if (s.height == 0)
      p.drawLine(0, 0, w, 0);
    else if ((s.width < 0) != (s.height < 0))
      p.drawLine(w, 0, 0, h);
    else
      p.drawLine(0, 0, w, h);
    return;
  }
  std::optional<QColor> fill = s.transparent ? std::nullopt : toColor(s.fill);
  p.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
  QRect r = rect().adjusted(0, 0, -1, -1);
  if (s.type == TYPE::Ellipse)
    p.drawEllipse(r);
  else
    p.drawRect(r);
}

void PaintedControl::paintBevel(QPainter& p, QRect r) {
  int outer = snap_.bevelOuter, inner = snap_.bevelInner;
  if (outer != 0) {
    qDrawShadePanel(&p, r, palette(), outer < 0, std::abs(outer));
    int inset = std::abs(outer);
    r.adjust(inset, inset, -inset, -inset);
  }
  if (inner != 0) qDrawShadePanel(&p, r, palette(), inner < 0, std::abs(inner));
}

// ---- Sheets ----------------------------------------------------------------

SheetControl::SheetControl(QWidget* parent, ImageCache& images) : PaintedControl(parent, images) {}

void SheetControl::setTabs(std::vector<SheetTab> tabs, FontMeasure& measure) {
  for (SheetTab& t : tabs) {
    std::string text = fromQ(t.text);
    t.width = measure.textWidth(t.font, text) + 2 * measure.metrics(t.font).aveCharWidth;
  }
  tabs_ = std::move(tabs);
  strip_ = measure.tabStripHeight(snap_.font);
  update();
}

QRect SheetControl::tabRect(int field) const {
  int left = 0;
  for (const SheetTab& t : tabs_) {
    if (t.field == field) return QRect(left, 0, t.width, strip_);
    left += t.width;
  }
  return {};
}

int SheetControl::tabAt(const QPoint& pt) const {
  for (const SheetTab& t : tabs_)
    if (tabRect(t.field).contains(pt)) return t.field;
  return 0;
}

void SheetControl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (std::optional<QColor> back = snap_.transparent ? std::nullopt : toColor(snap_.background))
    p.fillRect(rect(), *back);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = QRect(0, strip_ - 1, width(), std::max(0, height() - strip_ + 1));
  frame.shape = QTabBar::RoundedNorth;
  frame.lineWidth = 1;
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
  for (size_t i = 0; i < tabs_.size(); ++i) {
    const SheetTab& t = tabs_[i];
    QStyleOptionTab opt;
    opt.initFrom(this);
    opt.rect = tabRect(t.field);
    opt.text = t.text;
    opt.shape = QTabBar::RoundedNorth;
    opt.position = tabs_.size() == 1 ? QStyleOptionTab::OnlyOneTab
                   : i == 0          ? QStyleOptionTab::Beginning
                   : i + 1 == tabs_.size() ? QStyleOptionTab::End
                                           : QStyleOptionTab::Middle;
    bool current = t.field == snap_.currentTab;
    if (current)
      opt.state |= QStyle::State_Selected;
    else
      opt.state &= ~QStyle::State_Selected;
    if (t.disabled || snap_.disabled) opt.state &= ~QStyle::State_Enabled;
    p.setFont(toFont(t.font));
    opt.fontMetrics = p.fontMetrics();
    // The toolkit sizes a tab to its text; the style's own label padding
    // would elide the text, so the label is drawn over the shape here. The
    // shape stays within the strip: some styles draw a selected tab on down
    // into the page, over what the page shows there.
    p.save();
    p.setClipRect(opt.rect);
    style()->drawControl(QStyle::CE_TabBarTabShape, &opt, &p, this);
    p.restore();
    p.setPen(palette().color((opt.state & QStyle::State_Enabled) ? QPalette::Active : QPalette::Disabled,
                             QPalette::WindowText));
    p.drawText(opt.rect, static_cast<int>(Qt::AlignCenter | Qt::TextShowMnemonic), t.text);
  }
}

}  // namespace wevo::qtview
