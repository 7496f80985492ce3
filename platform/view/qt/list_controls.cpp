#include "platform/view/qt/list_controls.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/view/qt/font_measure.h"
#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

// Draws cells as the list format says and sizes rows as the toolkit does.
class ListDelegate : public QStyledItemDelegate {
 public:
  explicit ListDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

  int rowHeight = 16;
  std::vector<toolkit::ListColumn> columns;
  std::optional<QColor> grid;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), rowHeight);
  }

  const toolkit::ListColumn* column(int n) const {
    return n >= 0 && n < static_cast<int>(columns.size()) ? &columns[static_cast<size_t>(n)] : nullptr;
  }

  // The text keeps the column's indent from the edge it is aligned to (at
  // least a pixel) and a pixel from the other edge, where the right border
  // is drawn: a column as wide as its format says holds what fits in it less
  // the indent, as the toolkit lays lists out.
  QRect textRect(const QRect& cell, int n) const {
    const toolkit::ListColumn* col = column(n);
    const int indent = std::max(1, col != nullptr ? col->indent : 0);
    if (toAlignment(col != nullptr ? col->align : 'L') & Qt::AlignRight) return cell.adjusted(1, 0, -indent, 0);
    return cell.adjusted(indent, 0, -1, 0);
  }

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QPalette& pal = opt.palette;
    bool selected = (opt.state & QStyle::State_Selected) != 0;
    if (selected) p->fillRect(opt.rect, pal.color(QPalette::Highlight));
    const toolkit::ListColumn* col = column(index.column());
    const QRect tr = textRect(opt.rect, index.column());
    Qt::Alignment align = toAlignment(col != nullptr ? col->align : 'L');
    p->setPen(pal.color(opt.state & QStyle::State_Enabled ? QPalette::Active : QPalette::Disabled,
                        selected ? QPalette::HighlightedText : QPalette::Text));
    p->setFont(opt.font);
    p->drawText(tr, static_cast<int>(align | Qt::AlignVCenter), opt.text);
    if (grid) {
      p->setPen(*grid);
      p->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
      p->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
    } else if (col != nullptr && col->rightBorder) {
      p->setPen(pal.color(QPalette::Mid));
      p->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
    }
  }
};

// ---- Lists -----------------------------------------------------------------------

ListControl::ListControl(QWidget* parent, std::function<void(int, int)> onScroll)
    : QTreeWidget(parent), onScroll_(std::move(onScroll)), delegate_(new ListDelegate(this)) {
  setItemDelegate(delegate_);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setItemsExpandable(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFrameShape(QFrame::Box);
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  header()->setStretchLastSection(false);
  header()->setSectionsMovable(false);
  header()->setMinimumSectionSize(1);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int action) { onAction(action); });
  connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
    if (!fitting_ && column >= 0 && column < static_cast<int>(widths_.size()))
      widths_[static_cast<size_t>(column)] = size;
  });
}

void ListControl::resizeEvent(QResizeEvent* e) {
  QTreeWidget::resizeEvent(e);
  fitColumns();
}

void ListControl::fitColumns() {
  const int n = static_cast<int>(widths_.size());
  if (n == 0 || fitting_ || columnCount() != n) return;
  std::vector<int> w = widths_;
  for (int& width : w) width = std::max(1, width);
  const int room = viewport()->width();
  int total = 0;
  for (int i = 0; i + 1 < n; ++i) total += w[static_cast<size_t>(i)];
  int& last = w.back();
  last = std::max(last, room - total);
  total += last;
  if (horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff)
    for (int i = n - 1; i >= 0 && total > room; --i) {
      int& width = w[static_cast<size_t>(i)];
      const int cut = std::min(width - 1, total - room);
      width -= cut;
      total -= cut;
    }
  fitting_ = true;
  for (int i = 0; i < n; ++i)
    if (header()->sectionSize(i) != w[static_cast<size_t>(i)]) header()->resizeSection(i, w[static_cast<size_t>(i)]);
  fitting_ = false;
}

void ListControl::onAction(int action) {
  if (applying_) return;
  QScrollBar* bar = verticalScrollBar();
  int event = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: event = EVENT::ScrollDown; break;
    case QAbstractSlider::SliderSingleStepSub: event = EVENT::ScrollUp; break;
    case QAbstractSlider::SliderPageStepAdd: event = EVENT::PageDown; break;
    case QAbstractSlider::SliderPageStepSub: event = EVENT::PageUp; break;
    case QAbstractSlider::SliderToMinimum: event = EVENT::ScrollTop; break;
    case QAbstractSlider::SliderToMaximum: event = EVENT::ScrollBottom; break;
    case QAbstractSlider::SliderMove: event = EVENT::ScrollDrag; break;
    default: return;
  }
  int range = bar->maximum() - bar->minimum();
  int thumb = range > 0 ? (bar->sliderPosition() - bar->minimum()) * 100 / range : 0;
  userScroll(event, thumb);
}

void ListControl::userScroll(int event, int thumb) {
  if (onScroll_) onScroll_(event, std::clamp(thumb, 0, 100));
}

void ListControl::apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old,
                        FontMeasure& measure) {
  applying_ = true;
  std::vector<toolkit::ListColumn> cols = s.columns;
  bool formatted = !cols.empty();
  if (!formatted) cols.push_back(toolkit::ListColumn{});
  bool headers = std::any_of(cols.begin(), cols.end(), [](const toolkit::ListColumn& c) { return !c.header.empty(); });
  int rowH = std::max(1, measure.rowHeight(s.font));
  delegate_->rowHeight = rowH;
  delegate_->columns = cols;
  delegate_->grid = toColor(s.gridColor);

  bool layoutChanged = old == nullptr || old->columns != s.columns || old->font != s.font;
  if (layoutChanged) {
    setColumnCount(static_cast<int>(cols.size()));
    QStringList labels;
    for (const toolkit::ListColumn& c : cols) labels << toQ(c.header);
    setHeaderLabels(labels);
    widths_.clear();
    for (int i = 0; i < static_cast<int>(cols.size()); ++i) {
      const toolkit::ListColumn& c = cols[static_cast<size_t>(i)];
      headerItem()->setTextAlignment(i, toAlignment(c.headerAlign) | Qt::AlignVCenter);
      widths_.push_back(formatted ? c.width : 0);
      header()->setSectionResizeMode(i, c.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
    setHeaderHidden(!headers);
    if (headers) header()->setFixedHeight(rowH);
  }
  if (old == nullptr || old->rows != s.rows || layoutChanged) {
    clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(s.rows.size()));
    for (const std::vector<std::string>& row : s.rows) {
      QStringList cells;
      for (const std::string& cell : row) cells << toQ(cell);
      items.append(new QTreeWidgetItem(cells));
    }
    addTopLevelItems(items);
  }
  setHorizontalScrollBarPolicy(s.hScroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(s.vScroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  fitColumns();
  {
    QSignalBlocker block(this);
    QSignalBlocker blockSel(selectionModel());
    if (s.selected > 0 && s.selected <= topLevelItemCount()) {
      QTreeWidgetItem* item = topLevelItem(s.selected - 1);
      setCurrentItem(item);
      if (old == nullptr || old->selected != s.selected) scrollToItem(item);
    } else {
      clearSelection();
      setCurrentItem(nullptr);
    }
  }
  if (old != nullptr && old->vScrollPos != s.vScrollPos) {
    QScrollBar* bar = verticalScrollBar();
    QSignalBlocker block(bar);
    bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) * s.vScrollPos / 100);
  }
  viewport()->update();
  applying_ = false;
}

QRect ListControl::cellTextRect(int row, int column) const {
  QTreeWidgetItem* item = row >= 1 ? topLevelItem(row - 1) : nullptr;
  if (item == nullptr) return {};
  return delegate_->textRect(visualRect(indexFromItem(item, column)), column);
}

int ListControl::rowAt(const QPoint& viewportPoint) const {
  QTreeWidgetItem* item = itemAt(viewportPoint);
  return item != nullptr ? indexOfTopLevelItem(item) + 1 : 0;
}

QPoint ListControl::showRow(int row) {
  QTreeWidgetItem* item = row >= 1 ? topLevelItem(row - 1) : nullptr;
  if (item == nullptr) return {};
  applying_ = true;
  scrollToItem(item);
  applying_ = false;
  QRect r = visualItemRect(item);
  return viewport()->mapTo(this, r.center());
}

bool ListControl::scrolled() const { return verticalScrollBar()->value() > verticalScrollBar()->minimum(); }

// ---- Drop lists and combos ----------------------------------------------------------

DropControl::DropControl(QWidget* parent, bool editable, std::function<void(int row)> onChoose)
    : QComboBox(parent), onChoose_(std::move(onChoose)) {
  setEditable(editable);
  setInsertPolicy(QComboBox::NoInsert);
  connect(this, &QComboBox::activated, this, [this](int index) { userChoose(index + 1); });
}

void DropControl::userChoose(int row) {
  if (onChoose_) onChoose_(row);
}

void DropControl::showModelText(const QString& t) {
  if (isEditable() && currentText() != t) setEditText(t);
  setCommitted(t);
}

void DropControl::typeText(const QString& t) {
  if (!isEditable()) return;
  setEditText(t);
  lineEdit()->end(false);
}

void DropControl::clipboardCommand(EditCommand command) {
  if (isEditable()) runLineEditCommand(*lineEdit(), command);
}

void DropControl::apply(const toolkit::ControlSnapshot& s, const toolkit::ControlSnapshot* old) {
  QSignalBlocker block(this);
  if (old == nullptr || old->rows != s.rows) {
    clear();
    QStringList items;
    for (const std::vector<std::string>& row : s.rows) {
      QString item;
      for (const std::string& cell : row) {
        if (!item.isEmpty()) item += QStringLiteral("  ");
        item += toQ(cell);
      }
      items << item;
    }
    addItems(items);
  }
  setMaxVisibleItems(s.drop > 0 ? s.drop : 10);
  bool indexChanged = old == nullptr || old->selected != s.selected || old->rows != s.rows;
  if (indexChanged) setCurrentIndex(s.selected >= 1 && s.selected <= count() ? s.selected - 1 : -1);
  if (isEditable()) {
    lineEdit()->setReadOnly(s.readOnly);
    // Choosing an index rewrote the edit text: show the model's again.
    if (indexChanged || old == nullptr || old->text != s.text) showModelText(toQ(s.text));
  } else {
    setCommitted(currentText());
  }
}

}  // namespace wevo::qtview
