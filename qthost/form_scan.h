// A Qt Widgets form read as a toolkit window: which widgets are controls,
// of which type, inside which container, and the window declaration that
// models the form as it stands.
//
// Every widget with an object name is a control, labelled "?" + its name
// (a name used twice gets ":2", ":3", ... in widget-tree order); widgets
// without one are left alone, though named widgets inside them are
// controls. Types by class:
//   QPushButton, QToolButton and other buttons  BUTTON
//   QCheckBox  CHECK        QRadioButton  RADIO
//   QLabel  PROMPT (IMAGE when it shows a picture)
//   QLineEdit  ENTRY        QPlainTextEdit  TEXT     QTextEdit  RTF TEXT
//   QComboBox  a drop LIST (COMBO when editable)
//   QListView, QTreeView, QTableView and their widgets  LIST
//   QSpinBox, QDoubleSpinBox, date and time edits  SPIN
//   QGroupBox  GROUP (OPTION when it holds radio buttons)
//   QTabWidget  SHEET, each page a TAB with the tab's text (a page without
//     a name is labelled after its sheet: "?<sheet>:TAB<n>")
//   QToolBar  TOOLBAR
//   plain QWidget and QFrame containers, scroll areas, splitters, stacked
//     widgets, dock widgets  PANEL
//   QProgressBar and every class not named here  CUSTOM
// Menus, menu bars and status bars are not controls. The contents of
// containers are scanned; the insides of every other widget (a spin box's
// line edit, a list's scroll bars, a custom widget's parts) are not.
//
// Controls are numbered in the form's tab order (its focus chain), so that
// the toolkit's tab order starts as the form's. Positions are pixels
// relative to the form. What is read is the look the host gave each
// widget, never its data: entries, text boxes, spins and combos are
// declared without their contents, lists without rows, boxes unchecked.
// Qt thread only.
#ifndef WEVO_QTHOST_FORM_SCAN_H_
#define WEVO_QTHOST_FORM_SCAN_H_

#include <QPointer>
#include <QRect>
#include <string>
#include <vector>

#include "platform/view/qt/bound_window.h"
#include "wevo/window_decl.h"

class QTabWidget;
class QWidget;

namespace wevo::qthost {

struct ScannedControl {
  QPointer<QWidget> widget;
  QPointer<QTabWidget> sheet;  // a tab: its tab widget (the widget is the page)
  int tabIndex = -1;
  QRect rect;           // pixels, relative to the form
  bool placeable = false;  // its parent is a container whose layout wevo may switch off
  int depth = 0;
};

struct ScannedForm {
  QPointer<QWidget> root;
  WindowDecl decl;                        // controls in field order (1, 2, ...)
  std::vector<ScannedControl> controls;   // the same order
  QPoint screenPos;                       // the form's top left on the screen
  QSize size;
  // Containers whose layout is off while the form is placed: the form
  // itself (unless a main window, whose layout holds its tool bars and
  // central widget), group boxes, and plain widgets and frames that hold
  // controls (tab pages among them).
  std::vector<QPointer<QWidget>> placedContainers;

  // The field of a widget (0 for the form or a widget that is no control).
  int fieldOf(const QWidget* w) const;
  // The controls as the view binds them.
  std::vector<qtview::BoundControl> bindings() const;
};

ScannedForm scanForm(QWidget* root);

}  // namespace wevo::qthost

#endif  // WEVO_QTHOST_FORM_SCAN_H_
