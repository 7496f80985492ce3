// Customising real Qt forms from the store: what the rows say reaches the
// widgets' own properties, the host's data stays the host's, and a form
// the store leaves alone keeps its layouts.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <algorithm>

#include "qthost/test_qthost.h"

namespace wevo::qthost {
namespace {

using namespace testing;  // NOLINT
using store::WindowControls;
using QtCustomise = QtHost;
using QtCEntries = QtHost;

// Every named widget of `a` stands and looks as its namesake in `b`.
void expectSameForms(QWidget& a, QWidget& b) {
  for (QWidget* w : a.findChildren<QWidget*>()) {
    if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
    auto* other = b.findChild<QWidget*>(w->objectName());
    ASSERT_NE(other, nullptr) << w->objectName().toStdString();
    EXPECT_EQ(w->isVisible(), other->isVisible()) << w->objectName().toStdString();
    // (What a tab not shown holds has not been laid out in a form never looked at.)
    if (w->isVisible()) EXPECT_EQ(w->geometry(), other->geometry()) << w->objectName().toStdString();
    EXPECT_EQ(w->font(), other->font()) << w->objectName().toStdString();
    EXPECT_EQ(w->palette(), other->palette()) << w->objectName().toStdString();
  }
}

void showBoth(QWidget& a, QWidget& b) {
  showForm(a);
  showForm(b);
}

TEST_F(QtCustomise, AFormTheStoreLeavesAloneStaysAsTheHostMadeIt) {
  OrderForm customised, plain;
  wevo.customise(&customised, "OrderForm", "STANDARD", settings);
  showBoth(customised, plain);
  expectSameForms(customised, plain);
  // Its layouts still lay it out.
  customised.resize(640, 560);
  plain.resize(640, 560);
  QTest::qWait(20);
  EXPECT_GT(customised.ui.saveButton->x(), 420);
  expectSameForms(customised, plain);

  // One original row per named widget and the window, typed by class and
  // numbered in the form's tab order; nothing else.
  const std::vector<WindowControls> rows = store.rows();
  EXPECT_EQ(rows.size(), 22u);
  const std::pair<const char*, int> types[] = {
      {"WINDOW", 0},          {"?saveButton", 9},    {"?customerEdit", 8}, {"?customerLabel", 10},
      {"?customerBox", 13},   {"?deliveryBox", 11},  {"?standardRadio", 21}, {"?giftCheck", 12},
      {"?productCombo", 14},  {"?quantitySpin", 16}, {"?itemList", 14},    {"?notesEdit", 17},
      {"?orderTabs", 37},     {"?itemsTab", 38},     {"?deliveryTab", 38}, {"?stockBar", 18}};
  for (const auto& [label, type] : types) {
    const WindowControls* r = findRow(rows, "WEVO_ORIGINAL", label);
    ASSERT_NE(r, nullptr) << label;
    EXPECT_EQ(+r->TYPE, type) << label;
  }
  auto feq = [&](const char* label) { return +findRow(rows, "WEVO_ORIGINAL", label)->FEQ; };
  EXPECT_LT(feq("?customerEdit"), feq("?phoneEdit"));
  EXPECT_LT(feq("?phoneEdit"), feq("?productCombo"));
  EXPECT_LT(feq("?itemList"), feq("?saveButton"));
  // What the host's data was is not in them.
  EXPECT_EQ(text::clipped(findRow(rows, "WEVO_ORIGINAL", "?customerEdit")->CONTROLTEXT), "s255");
}

TEST_F(QtCustomise, StoredRowsReachTheWidgetsOwnPropertiesButNotTheHostsData) {
  writeOriginals();
  int designedX = 0;
  seed(store, "STANDARD",
       {{"?saveButton",
         [&](WindowControls& r) {
           text::assign(r.CONTROLTEXT, "&Keep");
           r.TEXTCOLOR = 0x0000FF;
           text::assign(r.TIP, "Keeps the order");
           r.FLAT = 1;
           designedX = r.X;
           r.X -= 30;
           r.ORDER = 0;  // first in the tab order
         }},
        {"?customerEdit",
         [](WindowControls& r) {
           r.READONLY = 1;
           r.BACKGROUND = 0x00FFFF;
           r.JUSTIFICATION = 2;
           text::assign(r.HELP, "Who pays");
           text::assign(r.MESSAGE, "Type the name");
         }},
        {"?cancelButton", [](WindowControls& r) { r.HIDE = 1; }},
        {"?phoneEdit", [](WindowControls& r) { r.DISABLE = 1; }},
        {"?customerLabel",
         [](WindowControls& r) {
           text::assign(r.TYPEFACE, "Liberation Serif");
           r.FONTSIZE = 14;
           r.FONTSTYLE = 700;
         }},
        {"?itemsTab", [](WindowControls& r) { text::assign(r.CONTROLTEXT, "Goods"); }}});

  OrderForm form, plain;
  // The host's data, set before the form is customised.
  form.ui.customerEdit->setText(QStringLiteral("Ann"));
  form.ui.productCombo->setCurrentIndex(2);
  form.ui.giftCheck->setChecked(true);
  form.ui.expressRadio->setChecked(true);
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showBoth(form, plain);

  QPushButton* save = form.ui.saveButton;
  EXPECT_EQ(save->text(), QStringLiteral("&Keep"));
  EXPECT_EQ(save->palette().color(QPalette::ButtonText), QColor(255, 0, 0));
  EXPECT_EQ(save->toolTip(), QStringLiteral("Keeps the order"));
  EXPECT_TRUE(save->isFlat());
  EXPECT_LT(save->x(), plain.ui.saveButton->x() - 30);  // 30 dialog units left of where the layout put it
  EXPECT_EQ(save->y(), plain.ui.saveButton->y());
  EXPECT_EQ(save->size(), plain.ui.saveButton->size());
  QLineEdit* customer = form.ui.customerEdit;
  EXPECT_TRUE(customer->isReadOnly());
  EXPECT_EQ(customer->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_TRUE(customer->alignment() & Qt::AlignRight);
  EXPECT_EQ(customer->whatsThis(), QStringLiteral("Who pays"));
  EXPECT_EQ(customer->statusTip(), QStringLiteral("Type the name"));
  EXPECT_TRUE(form.ui.cancelButton->isHidden());
  EXPECT_FALSE(form.ui.phoneEdit->isEnabled());
  EXPECT_EQ(form.ui.customerLabel->font().family(), QStringLiteral("Liberation Serif"));
  EXPECT_EQ(form.ui.customerLabel->font().pointSize(), 14);
  EXPECT_TRUE(form.ui.customerLabel->font().bold());
  EXPECT_EQ(form.ui.orderTabs->tabText(0), QStringLiteral("Goods"));
  // The stored tab order: the controls with rows follow one another in
  // their ORDER from where the first of them (now the Save button) stands;
  // the others keep their places.
  auto chainPos = [](const QWidget& root, const QWidget* w) {
    int n = 0;
    for (QWidget* at = root.nextInFocusChain(); at != &root; at = at->nextInFocusChain(), ++n)
      if (at == w) return n;
    return -1;
  };
  EXPECT_LT(chainPos(plain, plain.ui.customerEdit), chainPos(plain, plain.ui.saveButton));
  EXPECT_LT(chainPos(form, form.ui.saveButton), chainPos(form, form.ui.customerEdit));
  EXPECT_LT(chainPos(form, form.ui.customerEdit), chainPos(form, form.ui.phoneEdit));
  EXPECT_LT(chainPos(form, form.ui.productCombo), chainPos(form, form.ui.saveButton));
  EXPECT_LT(chainPos(form, form.ui.quantitySpin), chainPos(form, form.ui.itemList));
  // Controls the rows do not move stay where the layouts had them.
  EXPECT_EQ(customer->geometry(), plain.ui.customerEdit->geometry());
  EXPECT_EQ(form.ui.orderTabs->geometry(), plain.ui.orderTabs->geometry());
  // Untouched: what the user typed and chose, and the controls without rows.
  EXPECT_EQ(customer->text(), QStringLiteral("Ann"));
  EXPECT_EQ(form.ui.productCombo->currentIndex(), 2);
  EXPECT_TRUE(form.ui.giftCheck->isChecked());
  EXPECT_TRUE(form.ui.expressRadio->isChecked());
  EXPECT_EQ(form.ui.quantityLabel->font(), plain.ui.quantityLabel->font());
  EXPECT_EQ(form.ui.notesEdit->palette(), plain.ui.notesEdit->palette());
  EXPECT_NE(designedX, 0);
}

TEST_F(QtCustomise, TheWindowRowSetsTheFormsFontAndIconAndItsControlsFollow) {
  writeOriginals();
  const std::string icon = store.dir.file("order.png");
  QPixmap picture(16, 16);
  picture.fill(Qt::green);
  ASSERT_TRUE(picture.save(QString::fromStdString(icon)));
  seed(store, "STANDARD", {{"WINDOW", [&](WindowControls& r) {
                              r.FONTSIZE = 14;
                              text::assign(r.ICON, icon);
                            }}});
  OrderForm form, plain;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showBoth(form, plain);
  EXPECT_EQ(form.font().pointSize(), 14);
  EXPECT_FALSE(form.windowIcon().isNull());
  // Controls without a font of their own take the form's, as in Qt.
  EXPECT_EQ(form.ui.quantityLabel->font().pointSize(), 14);
  EXPECT_FALSE(form.ui.quantityLabel->testAttribute(Qt::WA_SetFont));
  // Nothing moved: the layouts make room for the larger text.
  EXPECT_GT(form.ui.quantityLabel->height(), plain.ui.quantityLabel->height());
}

// A form with moved controls, at its designed size and then resized.
TEST_F(QtCustomise, AResizedFormKeepsMovedControlsInSensiblePlaces) {
  writeOriginals();
  seed(store, "STANDARD",
       {{"?saveButton", [](WindowControls& r) { r.X -= 40; }},
        {"?customerEdit", [](WindowControls& r) { r.WIDTH -= 30; }}});
  OrderForm form;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showForm(form);
  const QRect save = form.ui.saveButton->geometry();
  const QRect edit = form.ui.customerEdit->geometry();
  const QRect box = form.ui.customerBox->geometry();
  const QSize designed = form.size();

  form.resize(designed.width() * 3 / 2, designed.height() * 5 / 4);
  QTest::qWait(20);
  // A button keeps its size and its distance to the nearer edges.
  EXPECT_EQ(form.ui.saveButton->size(), save.size());
  EXPECT_EQ(form.width() - form.ui.saveButton->geometry().right(), designed.width() - save.right());
  EXPECT_EQ(form.height() - form.ui.saveButton->geometry().bottom(), designed.height() - save.bottom());
  // An entry stretches across with its box and keeps its height.
  EXPECT_GT(form.ui.customerBox->width(), box.width() * 4 / 3);
  EXPECT_GT(form.ui.customerEdit->width(), edit.width() * 4 / 3);
  EXPECT_EQ(form.ui.customerEdit->height(), edit.height());
  // Every control stays inside the form and inside its container.
  for (QWidget* w : {static_cast<QWidget*>(form.ui.saveButton), static_cast<QWidget*>(form.ui.cancelButton),
                     static_cast<QWidget*>(form.ui.customerEdit), static_cast<QWidget*>(form.ui.phoneEdit),
                     static_cast<QWidget*>(form.ui.orderTabs), static_cast<QWidget*>(form.ui.stockBar)})
    EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->objectName().toStdString();

  // Back at the designed size, everything is where the store put it.
  form.resize(designed);
  QTest::qWait(20);
  EXPECT_EQ(form.ui.saveButton->geometry(), save);
  EXPECT_EQ(form.ui.customerEdit->geometry(), edit);
}

// A custom widget class of the host's, drawn by itself.
class Signature : public QWidget {
 public:
  using QWidget::QWidget;
  QSize sizeHint() const override { return QSize(160, 40); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawLine(0, height() / 2, width(), height() / 2);
  }
};

struct CodeForm : QWidget {
  CodeForm() {
    auto* layout = new QVBoxLayout(this);
    unnamedEdit = new QLineEdit(this);
    layout->addWidget(unnamedEdit);
    signature = new Signature(this);
    signature->setObjectName(QStringLiteral("signature"));
    layout->addWidget(signature);
    unnamedButton = new QPushButton(QStringLiteral("Print"), this);
    layout->addWidget(unnamedButton);
    for (int i = 0; i < 2; ++i) {  // two widgets of one name
      auto* note = new QLabel(QStringLiteral("Note %1").arg(i), this);
      note->setObjectName(QStringLiteral("note"));
      layout->addWidget(note);
    }
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(buttons);
    resize(300, 200);
  }
  QLineEdit* unnamedEdit;
  Signature* signature;
  QPushButton* unnamedButton;
  QDialogButtonBox* buttons;
};

TEST_F(QtCustomise, UnnamedWidgetsAndClassesOfTheHostsOwnStillWork) {
  QPoint moved;
  {
    CodeForm form;
    wevo.customise(&form, "CodeForm", "", settings);
    showForm(form);
    const QPoint at = form.signature->pos();
    User user;
    user.then(steps::designing(&form))
        .then(steps::drag(form.signature, QPoint(20, 10), 30, 5))
        .then(steps::when([&] { return form.signature->pos() == at + QPoint(30, 5); }))
        .then(steps::key(form.signature, Qt::Key_Escape))
        .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
    user.start();
    wevo.design(&form, "CodeForm", "", settings);
    ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
    moved = form.signature->pos();
    // The unnamed widgets were left alone and still work.
    QSignalSpy clicked(form.unnamedButton, &QPushButton::clicked);
    QTest::mouseClick(form.unnamedButton, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    QTest::keyClicks(form.unnamedEdit, "x");
    EXPECT_EQ(form.unnamedEdit->text(), QStringLiteral("x"));
  }
  const std::vector<WindowControls> rows = store.rows();
  for (const WindowControls& r : rows) {
    const std::string label(text::clipped(r.CONTROLLABEL));
    EXPECT_TRUE(label == "WINDOW" || label == "?signature" || label == "?buttons" || label == "?note" ||
                label == "?note:2")
        << label;
  }
  ASSERT_NE(findRow(rows, "WEVO_ORIGINAL", "?note:2"), nullptr);
  EXPECT_EQ(text::clipped(findRow(rows, "WEVO_ORIGINAL", "?note:2")->CONTROLTEXT), "Note 1");
  ASSERT_NE(findRow(rows, "WEVO_ORIGINAL", "?signature"), nullptr);
  EXPECT_EQ(+findRow(rows, "WEVO_ORIGINAL", "?signature")->TYPE, 18);
  CodeForm again;
  wevo.customise(&again, "CodeForm", "", settings);
  showForm(again);
  EXPECT_NEAR(again.signature->x(), moved.x(), 2);
  EXPECT_NEAR(again.signature->y(), moved.y(), 2);
}

TEST_F(QtCEntries, TakeTheFormsAddressAndRefuseWhatIsNoWidget) {
  OrderForm form;
  int notAWidget = 0;
  WEVO_QT_SETWINDOWCONTROLS(&notAWidget, "OrderForm", "STANDARD", &settings);
  WEVO_QT_SETWINDOWCONTROLS(nullptr, "OrderForm", "STANDARD", &settings);
  WEVO_QT_SETWINDOWCONTROLS(&form, "OrderForm", "STANDARD", nullptr);
  EXPECT_TRUE(store.rows().empty());
  WEVO_QT_SETWINDOWCONTROLS(static_cast<QWidget*>(&form), "OrderForm", nullptr, &settings);
  EXPECT_NE(findRow(store.rows(), "WEVO_ORIGINAL", "?saveButton"), nullptr);

  showForm(form);
  User user;
  user.then(steps::designing(&form))
      .then(steps::drag(form.ui.cancelButton, QPoint(8, 8), -25, 0))
      .then(steps::key(form.ui.cancelButton, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
  user.start();
  WEVO_QT_PROCESSWINDOW(static_cast<QWidget*>(&form), "OrderForm", nullptr, &settings);
  ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
  // A null marker is a blank one: the row is kept under it.
  EXPECT_NE(findRow(store.rows(), "", "?cancelButton"), nullptr);
}

}  // namespace
}  // namespace wevo::qthost
