#include "qthost/form_scan.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QRubberBand>
#include <QScrollArea>
#include <QSizeGrip>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <algorithm>
#include <climits>
#include <map>
#include <typeinfo>
#include <unordered_map>

#include "platform/view/qt/qt_convert.h"
#include "platform/view/qt/widget_look.h"
#include "wevo/codes.h"
#include "wevo/props.h"

namespace wevo::qthost {

namespace {

using qtview::fromQ;

enum class Inside { Nothing, Children, Pages, Content };

struct Kind {
  int type = TYPE::Custom;
  Inside inside = Inside::Nothing;
  bool placedContainer = false;  // its layout goes off while the form is placed
  bool skip = false;             // neither a control nor scanned
};

// A class of the host's own without Q_OBJECT has its base's meta-object:
// only the C++ type tells a plain QWidget from it.
template <typename T>
bool exactly(const QWidget* w) {
  return typeid(*w) == typeid(T);
}

Kind classify(const QWidget* w) {
  if (qobject_cast<const QMenuBar*>(w) != nullptr || qobject_cast<const QStatusBar*>(w) != nullptr ||
      qobject_cast<const QMenu*>(w) != nullptr || qobject_cast<const QSizeGrip*>(w) != nullptr ||
      qobject_cast<const QRubberBand*>(w) != nullptr)
    return {0, Inside::Nothing, false, true};
  if (qobject_cast<const QCheckBox*>(w) != nullptr) return {TYPE::Check};
  if (qobject_cast<const QRadioButton*>(w) != nullptr) return {TYPE::Radio};
  if (qobject_cast<const QAbstractButton*>(w) != nullptr) return {TYPE::Button};
  if (auto* l = qobject_cast<const QLabel*>(w)) return {l->pixmap().isNull() ? TYPE::Prompt : TYPE::Image};
  if (qobject_cast<const QLineEdit*>(w) != nullptr) return {TYPE::Entry};
  if (qobject_cast<const QPlainTextEdit*>(w) != nullptr) return {TYPE::Text};
  if (qobject_cast<const QTextEdit*>(w) != nullptr) return {TYPE::Rtf};
  if (auto* c = qobject_cast<const QComboBox*>(w)) return {c->isEditable() ? TYPE::Combo : TYPE::List};
  if (qobject_cast<const QAbstractItemView*>(w) != nullptr) return {TYPE::List};
  if (qobject_cast<const QAbstractSpinBox*>(w) != nullptr) return {TYPE::Spin};
  if (qobject_cast<const QGroupBox*>(w) != nullptr) return {TYPE::Group, Inside::Children, true};
  if (qobject_cast<const QTabWidget*>(w) != nullptr) return {TYPE::Sheet, Inside::Pages};
  if (qobject_cast<const QToolBar*>(w) != nullptr) return {TYPE::Toolbar};
  if (qobject_cast<const QScrollArea*>(w) != nullptr || qobject_cast<const QDockWidget*>(w) != nullptr)
    return {TYPE::Panel, Inside::Content};
  if (qobject_cast<const QSplitter*>(w) != nullptr || qobject_cast<const QStackedWidget*>(w) != nullptr)
    return {TYPE::Panel, Inside::Children};
  if (exactly<QWidget>(w) || exactly<QFrame>(w))
    return {TYPE::Panel, Inside::Children, true};
  return {TYPE::Custom};  // a progress bar, or a class of the host's own
}

bool isContainer(int type) {
  return type == TYPE::Group || type == TYPE::Option || type == TYPE::Sheet || type == TYPE::Tab ||
         type == TYPE::Toolbar || type == TYPE::Panel;
}

bool isFocusableType(int type) {
  switch (type) {
    case TYPE::Entry: case TYPE::Button: case TYPE::Check: case TYPE::Radio: case TYPE::List: case TYPE::Combo:
    case TYPE::Spin: case TYPE::Text: case TYPE::Rtf:
      return true;
    default:
      return false;
  }
}

bool isNamed(const QWidget* w) {
  const QString n = w->objectName();
  return !n.isEmpty() && !n.startsWith(QLatin1String("qt_"));  // Qt's own parts of composite widgets
}

struct Found {
  QWidget* widget = nullptr;
  QTabWidget* sheet = nullptr;
  int tabIndex = -1;
  int type = 0;
  std::string label;
  std::string parent;
  int depth = 0;
  bool placeable = false;
  int order = 0;  // in the focus chain
};

class Scanner {
 public:
  explicit Scanner(QWidget* root) : root_(root) {}

  ScannedForm run();

 private:
  void children(QWidget* container, const std::string& parent, int depth, bool placed);
  void visit(QWidget* w, const std::string& parent, int depth, bool parentPlaced);
  void pages(QTabWidget* sheet, const std::string& sheetLabel, const std::string& parent, int depth);
  std::string labelFor(const std::string& name);
  ControlDecl declOf(const Found& f, const toolkit::FontDesc& windowFont) const;

  QWidget* root_;
  std::vector<Found> found_;
  std::map<std::string, int> used_;  // labels in upper case: how often taken
  ScannedForm form_;
};

std::string Scanner::labelFor(const std::string& name) {
  std::string label = "?" + name;
  int& n = used_[text::upper(label)];
  ++n;
  if (n > 1) label += ":" + std::to_string(n);
  return label;
}

void Scanner::children(QWidget* container, const std::string& parent, int depth, bool placed) {
  if (placed) form_.placedContainers.emplace_back(container);
  for (QObject* o : container->children())
    if (o->isWidgetType()) visit(static_cast<QWidget*>(o), parent, depth, placed);
}

void Scanner::visit(QWidget* w, const std::string& parent, int depth, bool parentPlaced) {
  if (w->isWindow()) return;  // dialogs and popups of the form are windows of their own
  Kind k = classify(w);
  if (k.skip) return;
  std::string inner = parent;
  std::string label;
  if (isNamed(w)) {
    label = labelFor(fromQ(w->objectName()));
    Found f;
    f.widget = w;
    f.type = k.type;
    f.label = label;
    f.parent = parent;
    f.depth = depth;
    f.placeable = parentPlaced;
    found_.push_back(f);
    if (isContainer(k.type)) inner = label;
  }
  switch (k.inside) {
    case Inside::Nothing: break;
    case Inside::Children: children(w, inner, depth + 1, k.placedContainer); break;
    case Inside::Pages: pages(static_cast<QTabWidget*>(w), label, inner, depth + 1); break;
    case Inside::Content: {
      QWidget* content = nullptr;
      if (auto* s = qobject_cast<QScrollArea*>(w)) content = s->widget();
      if (auto* d = qobject_cast<QDockWidget*>(w)) content = d->widget();
      if (content != nullptr) visit(content, inner, depth + 1, false);
      break;
    }
  }
}

void Scanner::pages(QTabWidget* sheet, const std::string& sheetLabel, const std::string& parent, int depth) {
  for (int i = 0; i < sheet->count(); ++i) {
    QWidget* page = sheet->widget(i);
    if (page == nullptr) continue;
    // A tab of a named sheet is a control even without a name of its own:
    // what lies on it shows only while it is the current tab.
    std::string label;
    if (isNamed(page))
      label = labelFor(fromQ(page->objectName()));
    else if (!sheetLabel.empty())
      label = labelFor(sheetLabel.substr(1) + ":TAB" + std::to_string(i + 1));
    std::string inner = parent;
    if (!label.empty()) {
      Found f;
      f.widget = page;
      f.sheet = sheet;
      f.tabIndex = i;
      f.type = TYPE::Tab;
      f.label = label;
      f.parent = sheetLabel.empty() ? parent : sheetLabel;
      f.depth = depth;
      found_.push_back(f);
      inner = label;
    }
    const Kind k = classify(page);
    if (k.inside == Inside::Children) children(page, inner, depth + 1, k.placedContainer);
  }
}

ControlDecl Scanner::declOf(const Found& f, const toolkit::FontDesc& windowFont) const {
  ControlDecl d;
  d.type = f.type;
  d.use = f.label;
  d.parent = f.parent;
  QWidget* w = f.widget;
  if (f.sheet != nullptr) {
    d.text = fromQ(f.sheet->tabText(f.tabIndex));
    d.hidden = !f.sheet->isTabVisible(f.tabIndex);
    d.disabled = !f.sheet->isTabEnabled(f.tabIndex);
    d.tip = fromQ(f.sheet->tabToolTip(f.tabIndex));
    d.help = fromQ(f.sheet->tabWhatsThis(f.tabIndex));
    return d;
  }
  QString caption;
  if (qtview::captionOf(w, caption)) d.text = fromQ(caption);
  // Entries, spins and combos declare a picture, not the host's text.
  if (d.type == TYPE::Entry || d.type == TYPE::Combo) d.text = "s255";
  if (d.type == TYPE::Spin) d.text = "n-14";
  if (w->testAttribute(Qt::WA_SetFont)) {
    const toolkit::FontDesc own = qtview::fontDesc(w->font());
    if (own.face != windowFont.face || own.size != windowFont.size || own.style != windowFont.style) {
      d.font.face = own.face;
      d.font.size = own.size;
      d.font.style = own.style;
    }
  }
  const qtview::ColorRoles roles = qtview::colorRolesOf(w);
  d.textColor = qtview::ownColor(w, roles.text);
  d.background = qtview::ownColor(w, roles.back);
  if (int32_t c = qtview::ownColor(w, QPalette::HighlightedText); c != COLOR::None)
    d.props.emplace_back(PROP::SelectedColor, Value(c));
  if (int32_t c = qtview::ownColor(w, QPalette::Highlight); c != COLOR::None)
    d.props.emplace_back(PROP::SelectedFill, Value(c));
  d.hidden = w->isHidden() && w->testAttribute(Qt::WA_WState_ExplicitShowHide);
  d.disabled = w->testAttribute(Qt::WA_ForceDisabled);
  d.flat = qtview::flatOf(w);
  d.tip = fromQ(w->toolTip());
  d.msg = fromQ(w->statusTip());
  d.help = fromQ(w->whatsThis());
  if (qtview::readOnlyOf(w)) d.props.emplace_back(PROP::ReadOnly, Value(1));
  if (qtview::passwordOf(w)) d.props.emplace_back(PROP::Password, Value(1));
  Qt::Alignment a;
  if (qtview::alignmentOf(w, a)) {
    if (a & Qt::AlignRight) d.props.emplace_back(PROP::Right, Value(1));
    if (a & Qt::AlignHCenter) d.props.emplace_back(PROP::Center, Value(1));
  }
  if (isFocusableType(d.type) && w->focusPolicy() == Qt::NoFocus) d.props.emplace_back(PROP::Skip, Value(1));
  if (auto* c = qobject_cast<QComboBox*>(w)) d.drop = std::max(1, c->maxVisibleItems());
  if (auto* s = qobject_cast<QSpinBox*>(w)) {
    d.rangeLow = s->minimum();
    d.rangeHigh = s->maximum();
    d.step = s->singleStep();
  } else if (auto* ds = qobject_cast<QDoubleSpinBox*>(w)) {
    d.rangeLow = static_cast<int>(ds->minimum());
    d.rangeHigh = static_cast<int>(ds->maximum());
    d.step = std::max(1, static_cast<int>(ds->singleStep()));
  }
  return d;
}

ScannedForm Scanner::run() {
  form_.root = root_;
  const bool mainWindow = qobject_cast<QMainWindow*>(root_) != nullptr;
  children(root_, std::string(), 0, !mainWindow);

  // Group boxes that hold radio buttons are option boxes.
  for (Found& g : found_) {
    if (g.type != TYPE::Group) continue;
    for (const Found& r : found_)
      if (r.type == TYPE::Radio && r.parent == g.label) {
        g.type = TYPE::Option;
        break;
      }
  }

  // Numbered in the focus chain's order, which is the form's tab order.
  std::unordered_map<const QWidget*, int> chain;
  int pos = 0;
  for (QWidget* w = root_->nextInFocusChain(); w != nullptr && w != root_; w = w->nextInFocusChain()) {
    if (chain.count(w) != 0) break;
    chain[w] = ++pos;
  }
  for (Found& f : found_) {
    auto it = chain.find(f.widget);
    f.order = it != chain.end() ? it->second : INT_MAX;
  }
  std::stable_sort(found_.begin(), found_.end(), [](const Found& a, const Found& b) { return a.order < b.order; });

  WindowDecl& decl = form_.decl;
  decl.caption = fromQ(root_->windowTitle());
  const toolkit::FontDesc font = qtview::fontDesc(root_->font());
  decl.font.face = font.face;
  decl.font.size = font.size;
  decl.font.style = font.style;
  decl.frameType = 2;  // resizable
  decl.hidden = !root_->isVisible();
  form_.screenPos = root_->mapToGlobal(QPoint(0, 0));
  form_.size = root_->size();
  for (const Found& f : found_) {
    decl.controls.push_back(declOf(f, font));
    ScannedControl c;
    c.widget = f.widget;
    c.sheet = f.sheet;
    c.tabIndex = f.tabIndex;
    c.rect = QRect(f.widget->mapTo(root_, QPoint(0, 0)), f.widget->size());
    c.placeable = f.placeable;
    c.depth = f.depth;
    form_.controls.push_back(c);
  }
  return std::move(form_);
}

}  // namespace

int ScannedForm::fieldOf(const QWidget* w) const {
  if (w == nullptr) return 0;
  for (size_t i = 0; i < controls.size(); ++i)
    if (controls[i].widget == w && controls[i].sheet == nullptr) return static_cast<int>(i) + 1;
  return 0;
}

std::vector<qtview::BoundControl> ScannedForm::bindings() const {
  std::vector<qtview::BoundControl> out;
  out.reserve(controls.size());
  for (size_t i = 0; i < controls.size(); ++i) {
    const ScannedControl& s = controls[i];
    qtview::BoundControl b;
    b.field = static_cast<int>(i) + 1;
    b.widget = s.widget;
    b.sheet = s.sheet;
    b.tabIndex = s.tabIndex;
    b.placeable = s.placeable;
    b.depth = s.depth;
    out.push_back(b);
  }
  return out;
}

ScannedForm scanForm(QWidget* root) { return Scanner(root).run(); }

}  // namespace wevo::qthost
