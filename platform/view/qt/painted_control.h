// Controls drawn by the view itself: strings and prompts, images, regions,
// lines, boxes and ellipses, group and option boxes, toolbars, panels, and
// sheets with their tab strips. Each draws its snapshot: text with its
// shortcut marks, font and colours, justification and offset, fill and
// border colours, bevels, and (images, toolbars) a picture stretched,
// centred or tiled.
//
// A sheet lays its tabs out as the toolkit does, so that a click lands on
// the tab the model finds there: a strip 14/8 of the sheet font's height,
// each visible tab as wide as its text plus two average characters, left to
// right from the sheet's left edge.
#ifndef WEVO_PLATFORM_VIEW_QT_PAINTED_CONTROL_H_
#define WEVO_PLATFORM_VIEW_QT_PAINTED_CONTROL_H_

#include <QWidget>
#include <vector>

#include "platform/view/view.h"

namespace wevo::qtview {

class ImageCache;
class FontMeasure;

class PaintedControl : public QWidget {
  Q_OBJECT
 public:
  PaintedControl(QWidget* parent, ImageCache& images);
  void setSnapshot(const toolkit::ControlSnapshot& s);
  const toolkit::ControlSnapshot& snapshot() const { return snap_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  ImageCache& images_;
  toolkit::ControlSnapshot snap_;

 private:
  void paintText(QPainter& p, const QRect& r);
  void paintFrameBox(QPainter& p, const QRect& r);
  void paintShape(QPainter& p);
  void paintBevel(QPainter& p, QRect r);
};

// One tab of a sheet, as its strip shows it.
struct SheetTab {
  int field = 0;
  QString text;
  toolkit::FontDesc font;
  bool disabled = false;
  int width = 0;  // pixels
};

class SheetControl : public PaintedControl {
  Q_OBJECT
 public:
  SheetControl(QWidget* parent, ImageCache& images);
  // The sheet's visible tabs in order; widths are worked out here.
  void setTabs(std::vector<SheetTab> tabs, FontMeasure& measure);
  // The tab's button in the strip, in the sheet's coordinates (empty when
  // the tab is not shown).
  QRect tabRect(int field) const;
  int tabAt(const QPoint& p) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<SheetTab> tabs_;
  int strip_ = 0;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_PAINTED_CONTROL_H_
