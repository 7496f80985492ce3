// What wevo keeps for one host form for as long as the form lives: how the
// host designed it, and how it is laid out now.
//
// A form is laid out by its layouts, or placed:
//   laid out   the host's layouts own every widget's geometry: a form whose
//              stored rows move or size nothing looks and resizes exactly
//              as the host made it;
//   placed     the layouts of the form and of its plain containers (group
//              boxes, frames, tab pages) are off; each control stands where
//              the store puts it, relative to the form at its designed
//              size, and when the form's size changes every control is
//              placed again by the window resizer's rules (buttons, checks
//              and radios keep their size and their distance to the nearer
//              edges of their container, entries, combos and spins stretch
//              across and keep their height, everything else scales), each
//              inside the container that holds it.
// A form is placed when a call leaves any control's stored rectangle other
// than the designed one, and laid out again when a later call finds none.
// Design mode places the form while it runs.
//
// The designed size is the size the form has when wevo first sees it,
// laid out as show() would lay it out; design mode starts at that size, so
// that what the user places is placed relative to it.
//
// Made on first use as a child object of the form (it dies with it). Qt
// thread only.
#ifndef WEVO_QTHOST_FORM_STATE_H_
#define WEVO_QTHOST_FORM_STATE_H_

#include <QLayout>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

#include "platform/view/qt/bound_window.h"
#include "qthost/form_scan.h"
#include "qthost/model_window.h"
#include "wevo/window_decl.h"

namespace wevo::qthost {

class FormState : public QObject {
  Q_OBJECT
 public:
  // The state of `form`, made the first time.
  static FormState& of(QWidget* form);

  qtview::DesignedLooks looks;
  bool busy = false;  // a call on the form runs (calls on it do not nest)
  bool customised = false;
  // The controls' designed rectangles in dialog units of the designed
  // font, by label; the store's original rows hold the same.
  bool knowsDesign = false;
  UnitRects designedUnits;
  FontSpec designedFont;

  // Lays the form out as show() would (a hidden form gets its size and
  // every layout and tab page its geometry) and, the first time, takes its
  // size as the designed size.
  void layOut();
  QSize designedSize() const { return designedSize_; }
  // Back at the designed size, not maximized: where design mode works.
  void toDesignedSize();

  bool placed() const { return placed_; }
  // Layouts off and every placeable control where the binding's model has
  // it (`units`: the model's rectangles in dialog units of the designed
  // font; a side whose units are the designed ones keeps its designed
  // pixels, which the units only round); the form's size and these
  // rectangles are what later sizes are worked out from.
  void place(const ScannedForm& form, qtview::BoundWindow& binding, const UnitRects& units);
  // Layouts off, nothing moved yet (design mode starts so).
  void layoutsOff(const ScannedForm& form);
  // Layouts on again; they lay the form out at its size.
  void layoutsOn();
  // Every look back as the host designed it, laid out again.
  void restoreDesigned();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit FormState(QWidget* form);
  void reflow();

  QPointer<QWidget> form_;
  bool sized_ = false;
  QSize designedSize_;
  bool placed_ = false;
  std::vector<QPointer<QLayout>> off_;  // layouts switched off
  // The resizer's table: one row per control, containers first.
  struct Row {
    QPointer<QWidget> widget;
    int type = 0;
    bool dropDown = false;
    bool placeable = false;
    bool isTab = false;
    int parent = -1;  // row of the container it lies in; -1 the form
    QRect rect;       // form-relative, at the reference size
  };
  std::vector<Row> rows_;
  QSize referenceSize_;
};

}  // namespace wevo::qthost

#endif  // WEVO_QTHOST_FORM_STATE_H_
