// What wevo reads of and writes to a widget that a host program made
// itself: the palette roles its text and background colours live in, its
// font as the toolkit describes fonts, the colours the host gave it, and
// the whole look the host gave it, kept so that it can be put back exactly.
//
// Only the look is ever read or written here, never the host's data: the
// text of a line edit, text box, spin box or combo box, what is chosen in a
// list or combo, whether a box is checked, stay the host's. Qt thread only.
#ifndef WEVO_PLATFORM_VIEW_QT_WIDGET_LOOK_H_
#define WEVO_PLATFORM_VIEW_QT_WIDGET_LOOK_H_

#include <QFont>
#include <QIcon>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <cstdint>

#include "platform/view/view.h"

class QTabWidget;
class QWidget;

namespace wevo::qtview {

// Where a widget's text colour and background live in its palette, and
// whether its background is painted only when it fills its own (check
// boxes, labels, frames and other widgets drawn on their parent).
struct ColorRoles {
  QPalette::ColorRole text = QPalette::WindowText;
  QPalette::ColorRole back = QPalette::Window;
  bool fillsBackground = true;
};
ColorRoles colorRolesOf(const QWidget* w);

// A font as the toolkit describes it (a size in pixels read as points at
// the screen's resolution).
toolkit::FontDesc fontDesc(const QFont& font);

// The colour the host gave `role` itself (a palette of the widget's own
// that differs there from what it would inherit), else COLOR::None.
int32_t ownColor(const QWidget* w, QPalette::ColorRole role);

// The text the widget shows as its caption: a button's, a label's, a group
// box's title. False for widgets whose text is the host's data or that
// have none.
bool captionOf(const QWidget* w, QString& text);
void setCaption(QWidget* w, const QString& text);

// The look the host gave one widget (for a tab: the tab's own part of it).
struct WidgetLook {
  QPointer<QWidget> widget;
  QPointer<QTabWidget> sheet;  // a tab page: its tab widget
  int tabIndex = -1;
  bool hasCaption = false;
  QString caption;
  QFont font;
  bool ownFont = false;
  QPalette palette;
  bool ownPalette = false;
  bool autoFill = false;
  QString tip, whatsThis, statusTip;
  bool hidden = false;
  bool disabled = false;  // disabled itself, not through a container
  bool readOnly = false;
  bool flat = false;
  Qt::Alignment alignment;
  bool password = false;
  QIcon icon;
  Qt::FocusPolicy focusPolicy = Qt::NoFocus;
};
// `sheet` and `tabIndex` name the tab when `w` is a tab page.
WidgetLook lookOf(QWidget* w, QTabWidget* sheet = nullptr, int tabIndex = -1);

// Each part of the look as the host made it, put back.
void restoreCaption(const WidgetLook& look);
void restoreFont(const WidgetLook& look);
void restorePalette(const WidgetLook& look);
void restoreTexts(const WidgetLook& look);  // tip, what's this, status tip
void restoreHidden(const WidgetLook& look);
void restoreDisabled(const WidgetLook& look);
void restoreSwitches(const WidgetLook& look);  // read-only, flat, alignment, password

// Read-only, flat, alignment and password as a widget of its class has them.
bool readOnlyOf(const QWidget* w);
void setReadOnly(QWidget* w, bool on);
bool flatOf(const QWidget* w);
void setFlat(QWidget* w, bool on);
// The horizontal alignment a widget shows its text with, for the widgets
// that have one (labels, line edits, spin boxes); false for the others.
bool alignmentOf(const QWidget* w, Qt::Alignment& alignment);
void setHorizontalAlignment(QWidget* w, Qt::Alignment horizontal);
bool passwordOf(const QWidget* w);
void setPassword(QWidget* w, bool on);

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_WIDGET_LOOK_H_
