// Lists and drop lists.
//
// A list shows its rows in the columns of its list format (widths, header
// texts and alignments, indents, right borders, grid colour), one row as
// high as the toolkit makes it (10/8 of the font height) under a header of
// the same height, so that a row the model finds under a point is the row
// drawn there while the list is not scrolled. Columns keep clear of the
// list's own scroll bar (see fitColumns). The model's selection is the
// current row; the user's scrolling goes to the model as scroll events.
//
// Drop lists and combos are combo boxes whose items are the rows' first
// cells; a choice the user makes goes to the model as a row selection.
#ifndef WEVO_PLATFORM_VIEW_QT_LIST_CONTROLS_H_
#define WEVO_PLATFORM_VIEW_QT_LIST_CONTROLS_H_

#include <QComboBox>
#include <QTreeWidget>
#include <functional>
#include <vector>

#include "platform/view/qt/edit_controls.h"
#include "platform/view/view.h"

namespace wevo::qtview {

class FontMeasure;
class ListDelegate;

class ListControl : public QTreeWidget {
  Q_OBJECT
 public:
  // `onScroll(event, thumb)`: the user scrolled (EVENT::ScrollUp ... ScrollBottom, or
  // EVENT::ScrollDrag with the thumb at 0 to 100).
  ListControl(QWidget* parent, std::function<void(int event, int thumb)> onScroll);
  void apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old, FontMeasure& measure);

  // The row drawn at a point of the viewport (1-based), 0 for none.
  int rowAt(const QPoint& viewportPoint) const;
  // Where the text of a cell (row 1-based, column 0-based) is drawn, in the
  // viewport's coordinates: the cell less its indent and right border.
  QRect cellTextRect(int row, int column) const;
  // Brings the row into view and returns its middle in the list's coordinates.
  QPoint showRow(int row);
  bool scrolled() const;
  // The user's scrolling, as the scroll bar reports it.
  void userScroll(int event, int thumb);

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void onAction(int action);
  // Lays the columns out in the room the viewport has: each as wide as its
  // format says, the last one taking what the others leave; a list that
  // does not scroll sideways narrows its columns from the right until they
  // fit, so that none lies under the vertical scroll bar.
  void fitColumns();
  std::function<void(int, int)> onScroll_;
  ListDelegate* delegate_;
  std::vector<int> widths_;  // the columns' own widths (pixels): the format's, or the user's
  bool applying_ = false;
  bool fitting_ = false;
};

class DropControl : public QComboBox, public EditableControl {
  Q_OBJECT
 public:
  // `onChoose(row)`: the user chose an item (1-based).
  DropControl(QWidget* parent, bool editable, std::function<void(int row)> onChoose);
  void apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old);
  // A choice the user makes, as the popup reports it.
  void userChoose(int row);

  QString editText() const override { return isEditable() ? currentText() : committed_; }
  void showModelText(const QString& t) override;
  void typeText(const QString& t) override;
  void clipboardCommand(EditCommand command) override;

 private:
  std::function<void(int)> onChoose_;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_LIST_CONTROLS_H_
