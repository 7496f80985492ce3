// One control on screen: which widget shows a control type, and how a
// snapshot reaches it (geometry, visibility, state, font, colours, tip,
// cursor, and what the type shows).
#ifndef WEVO_PLATFORM_VIEW_QT_CONTROL_APPLY_H_
#define WEVO_PLATFORM_VIEW_QT_CONTROL_APPLY_H_

#include <QWidget>
#include <functional>

#include "platform/view/view.h"

namespace wevo::qtview {

struct QtContext;

enum class WidgetKind {
  None,     // tabs and menus: drawn by their sheet or the menu bar
  Painted,  // strings, prompts, images, shapes, group and option boxes, toolbars, panels
  Sheet,
  Entry,
  Text,
  Spin,
  Button,
  Check,
  Radio,
  List,
  Drop,      // drop list
  DropEdit,  // combo: a drop list with an entry
};

WidgetKind widgetKind(const toolkit::ControlSnapshot& s);
bool isMenuType(int type);
// Widgets whose text the user edits in place.
bool isEditKind(WidgetKind k);

// What a control's widget reports back, for the window to pass on.
struct ControlCallbacks {
  std::function<void(int key)> spinStep;
  std::function<void(int row)> choose;
  std::function<void(int event, int thumb)> scroll;
};

// A new widget for the control, a child of `client`, stacked on top, not
// yet shown.
QWidget* makeControlWidget(WidgetKind kind, QWidget* client, QtContext& ctx, ControlCallbacks callbacks);

// Brings the widget in line with the snapshot. `old` is the snapshot it
// showed before (nullptr for a new widget); `windowFont` the window's font,
// which the widget inherits when the control has no font of its own.
void applyControl(QWidget* w, WidgetKind kind, const toolkit::ControlSnapshot& s,
                  const toolkit::ControlSnapshot* old, const toolkit::FontDesc& windowFont, QtContext& ctx);

// The widget's area for a control: lines keep at least one pixel across,
// boxes given with a negative size extend up or left.
QRect controlRect(const toolkit::ControlSnapshot& s);

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_CONTROL_APPLY_H_
