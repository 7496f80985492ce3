// Design mode over a real Qt form, worked with Qt's input simulation on its
// widgets: what the user does lands on the widgets, in the store, and on
// the form when it opens again.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <array>
#include <cstdlib>

#include "qthost/test_qthost.h"
#include "wevo/design_options.h"

namespace wevo::qthost {
namespace {

using namespace testing;  // NOLINT
using store::WindowControls;
// Drags land exactly where the mouse let go: snapping, on by default for Qt
// programs, is off for these so that each move is the mouse's.
class QtDesign : public QtHost {
 protected:
  QtDesign() : QtHost(exactDrags()) {}
  static QtAttachmentOptions exactDrags() {
    QtAttachmentOptions options;
    options.snapping = false;
    return options;
  }
};
using QtSnapping = QtHost;

// The point of `w`'s bottom-right grab handle (the handles lie inside the
// control, 6 pixels wide).
QPoint bottomRightHandle(const QWidget* w) { return QPoint(w->width() - 3, w->height() - 3); }

// Design mode on `form`: `w` dragged by (dx, dy), then Esc and `answer`.
void dragInDesign(QtAttachment& wevo, QWidget& form, QWidget* w, QPoint by, const std::string& marker,
                  WEVOSETTINGS& settings, QMessageBox::StandardButton answer = QMessageBox::Yes) {
  const QPoint at = w->pos();
  User user;
  user.then(steps::designing(&form))
      .then(steps::drag(w, QPoint(8, 6), by.x(), by.y()))
      .then(steps::when([w, at, by] { return w->pos() == at + by; }))
      .then(steps::key(w, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, answer));
  user.start();
  wevo.design(&form, "OrderForm", marker, settings);
  EXPECT_TRUE(user.finished()) << "design mode ended at step " << user.at();
}

TEST_F(QtDesign, DragAndResizeAreKeptAndTheFormTakesNoInput) {
  QRect saveMoved, editSized;
  {
    OrderForm form;
    wevo.customise(&form, "OrderForm", "STANDARD", settings);
    showForm(form);
    const QRect save = form.ui.saveButton->geometry();
    const QRect edit = form.ui.customerEdit->geometry();
    QSignalSpy clicked(form.ui.saveButton, &QPushButton::clicked);
    User user;
    user.then(steps::designing(&form))
        .then(steps::drag(form.ui.saveButton, QPoint(10, 8), -60, -20))
        .then(steps::when([&] { return form.ui.saveButton->geometry().topLeft() == save.topLeft() + QPoint(-60, -20); }))
        // A press selects the entry; a drag from its handle then sizes it.
        .then(steps::act([&] { QTest::mouseClick(form.ui.customerEdit, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5)); }))
        .then(steps::drag(form.ui.customerEdit, bottomRightHandle(form.ui.customerEdit), -40, 10))
        .then(steps::when([&] { return form.ui.customerEdit->width() == edit.width() - 40; }))
        .then(steps::act([&] { QTest::keyClicks(form.ui.customerEdit, "abc"); }))
        .then(steps::key(form.ui.customerEdit, Qt::Key_Escape))
        .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
    user.start();
    wevo.design(&form, "OrderForm", "STANDARD", settings);
    ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
    saveMoved = form.ui.saveButton->geometry();
    editSized = form.ui.customerEdit->geometry();
    EXPECT_EQ(saveMoved.topLeft(), save.topLeft() + QPoint(-60, -20));
    EXPECT_EQ(saveMoved.size(), save.size());
    EXPECT_EQ(editSized.size(), QSize(edit.width() - 40, edit.height() + 10));
    // The host's widgets took none of it: no click, no typing.
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_TRUE(form.ui.customerEdit->text().isEmpty());
    // The form is the host's again afterwards.
    QTest::keyClicks(form.ui.customerEdit, "Ann");
    EXPECT_EQ(form.ui.customerEdit->text(), QStringLiteral("Ann"));
  }
  // Closed and opened again: the widgets are where the user put them (the
  // store keeps dialog units: within one of them).
  OrderForm again;
  wevo.customise(&again, "OrderForm", "STANDARD", settings);
  showForm(again);
  EXPECT_NEAR(again.ui.saveButton->x(), saveMoved.x(), 2);
  EXPECT_NEAR(again.ui.saveButton->y(), saveMoved.y(), 2);
  EXPECT_EQ(again.ui.saveButton->size(), saveMoved.size());
  EXPECT_NEAR(again.ui.customerEdit->width(), editSized.width(), 2);
  EXPECT_NEAR(again.ui.customerEdit->height(), editSized.height(), 2);
  EXPECT_EQ(again.ui.customerEdit->pos(), editSized.topLeft());
}

TEST_F(QtDesign, NoPutsEveryRowAndWidgetBack) {
  OrderForm form, plain;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showForm(form);
  showForm(plain);
  User user;
  user.then(steps::designing(&form))
      .then(steps::drag(form.ui.saveButton, QPoint(10, 8), -60, -20))
      .then(steps::act([&] { QTest::mouseClick(form.ui.customerEdit, Qt::LeftButton, Qt::NoModifier, QPoint(20, 5)); }))
      .then(steps::drag(form.ui.customerEdit, bottomRightHandle(form.ui.customerEdit), -40, 10))
      .then(steps::when([&] { return form.ui.customerEdit->width() < plain.ui.customerEdit->width(); }))
      .then(steps::key(form.ui.customerEdit, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, QMessageBox::No));
  user.start();
  wevo.design(&form, "OrderForm", "STANDARD", settings);
  ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
  EXPECT_EQ(form.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  EXPECT_EQ(form.ui.customerEdit->geometry(), plain.ui.customerEdit->geometry());
  // Laid out by its layouts again.
  form.resize(600, 520);
  plain.resize(600, 520);
  QTest::qWait(20);
  EXPECT_EQ(form.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  EXPECT_EQ(form.ui.customerEdit->geometry(), plain.ui.customerEdit->geometry());
  // The rows hold the designed places again.
  const std::vector<WindowControls> rows = store.rows();
  for (const char* label : {"?saveButton", "?customerEdit"}) {
    const WindowControls* now = findRow(rows, "STANDARD", label);
    const WindowControls* original = findRow(rows, "WEVO_ORIGINAL", label);
    ASSERT_NE(now, nullptr) << label;
    ASSERT_NE(original, nullptr) << label;
    EXPECT_EQ(+now->X, +original->X) << label;
    EXPECT_EQ(+now->Y, +original->Y) << label;
    EXPECT_EQ(+now->WIDTH, +original->WIDTH) << label;
    EXPECT_EQ(+now->HEIGHT, +original->HEIGHT) << label;
  }
  OrderForm again, plainAgain;
  wevo.customise(&again, "OrderForm", "STANDARD", settings);
  showForm(again);
  showForm(plainAgain);
  EXPECT_EQ(again.ui.saveButton->geometry(), plainAgain.ui.saveButton->geometry());
  EXPECT_EQ(again.ui.customerEdit->geometry(), plainAgain.ui.customerEdit->geometry());
}

TEST_F(QtDesign, ResetToOriginalFromThePopupMenu) {
  writeOriginals();
  seed(store, "STANDARD", {{"?saveButton", [](WindowControls& r) {
                              text::assign(r.CONTROLTEXT, "&Keep");
                              r.X -= 30;
                            }}});
  OrderForm form, plain;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showForm(form);
  showForm(plain);
  ASSERT_EQ(form.ui.saveButton->text(), QStringLiteral("&Keep"));
  ASSERT_NE(form.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  User user;
  user.then(steps::designing(&form))
      .then(steps::rightClick(form.ui.saveButton, QPoint(10, 8)))
      .then(steps::choose(QStringLiteral("Reset ?saveButton to original")))
      .then(steps::when([&] { return form.ui.saveButton->text() == QStringLiteral("&Save"); }))
      .then(steps::key(form.ui.saveButton, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
  user.start();
  wevo.design(&form, "OrderForm", "STANDARD", settings);
  ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
  EXPECT_EQ(form.ui.saveButton->text(), QStringLiteral("&Save"));
  EXPECT_EQ(form.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  OrderForm again;
  wevo.customise(&again, "OrderForm", "STANDARD", settings);
  showForm(again);
  EXPECT_EQ(again.ui.saveButton->text(), QStringLiteral("&Save"));
  EXPECT_EQ(again.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
}

TEST_F(QtDesign, EachMarkerKeepsItsOwnLayout) {
  OrderForm plain;
  showForm(plain);
  {
    OrderForm standard;
    wevo.customise(&standard, "OrderForm", "STANDARD", settings);
    showForm(standard);
    dragInDesign(wevo, standard, standard.ui.saveButton, QPoint(-50, 0), "STANDARD", settings);
  }
  {
    OrderForm compact;
    wevo.customise(&compact, "OrderForm", "COMPACT", settings);
    showForm(compact);
    EXPECT_EQ(compact.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
    dragInDesign(wevo, compact, compact.ui.cancelButton, QPoint(-20, -30), "COMPACT", settings);
  }
  OrderForm standard, compact, original;
  wevo.customise(&standard, "OrderForm", "STANDARD", settings);
  wevo.customise(&compact, "OrderForm", "COMPACT", settings);
  wevo.customise(&original, "OrderForm", "original ", settings);  // as designed, the store not read
  for (QWidget* w : {static_cast<QWidget*>(&standard), static_cast<QWidget*>(&compact), static_cast<QWidget*>(&original)})
    showForm(*w);
  EXPECT_NEAR(standard.ui.saveButton->x(), plain.ui.saveButton->x() - 50, 2);
  EXPECT_EQ(standard.ui.cancelButton->geometry(), plain.ui.cancelButton->geometry());
  EXPECT_EQ(compact.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  EXPECT_NEAR(compact.ui.cancelButton->y(), plain.ui.cancelButton->y() - 30, 2);
  EXPECT_EQ(original.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  EXPECT_EQ(original.ui.cancelButton->geometry(), plain.ui.cancelButton->geometry());
  // The same form customised again under the other marker starts from its design.
  wevo.customise(&standard, "OrderForm", "COMPACT", settings);
  QTest::qWait(20);
  EXPECT_EQ(standard.ui.saveButton->geometry(), plain.ui.saveButton->geometry());
  EXPECT_NEAR(standard.ui.cancelButton->y(), plain.ui.cancelButton->y() - 30, 2);
}

TEST_F(QtDesign, TheDesignKeyStartsOnTheFocusedControlAndArrowsNudgeIt) {
  OrderForm form;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  wevo.bindDesignKey(&form, "OrderForm", "STANDARD", settings);
  showForm(form);
  form.activateWindow();
  form.ui.phoneEdit->setFocus();
  const QPoint at = form.ui.phoneEdit->pos();
  User user;
  user.then(steps::designing(&form))
      .then(steps::key(form.ui.phoneEdit, Qt::Key_Right))
      .then(steps::key(form.ui.phoneEdit, Qt::Key_Right))
      .then(steps::key(form.ui.phoneEdit, Qt::Key_Down))
      .then(steps::when([&] { return form.ui.phoneEdit->pos() == at + QPoint(2, 1); }))
      .then(steps::key(form.ui.phoneEdit, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
  user.start();
  // The key runs design mode and returns when it ends.
  QTest::keyClick(form.ui.phoneEdit, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
  ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
  // Left where the model has it, to the dialog unit it is kept in.
  EXPECT_NEAR(form.ui.phoneEdit->x(), at.x() + 2, 1);
  EXPECT_NEAR(form.ui.phoneEdit->y(), at.y() + 1, 1);
  // A nudge reaches the store only when a press selects the control again.
  const std::vector<WindowControls> rows = store.rows();
  const WindowControls* row = findRow(rows, "STANDARD", "?phoneEdit");
  const WindowControls* original = findRow(rows, "WEVO_ORIGINAL", "?phoneEdit");
  ASSERT_NE(row, nullptr);
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(+row->X, +original->X);
}

TEST_F(QtDesign, AFormTheProgramDeletesMeanwhileEndsDesignMode) {
  auto* form = new OrderForm;
  wevo.customise(form, "OrderForm", "STANDARD", settings);
  showForm(*form);
  User user;
  user.then(steps::designing(form))
      .then(steps::act([&] { delete form; }))
      .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
  user.start();
  wevo.design(form, "OrderForm", "STANDARD", settings);
  EXPECT_TRUE(user.finished()) << "design mode ended at step " << user.at();
  // The program goes on: another form is designed as before.
  OrderForm next;
  wevo.customise(&next, "OrderForm", "STANDARD", settings);
  showForm(next);
  User again;
  again.then(steps::designing(&next))
      .then(steps::key(next.ui.saveButton, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, QMessageBox::No));
  again.start();
  wevo.design(&next, "OrderForm", "STANDARD", settings);
  EXPECT_TRUE(again.finished()) << "design mode ended at step " << again.at();
}

TEST_F(QtDesign, TheLibrarysWindowsWorkOverAQtForm) {
  OrderForm form;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showForm(form);
  auto textBox = [] { return qobject_cast<QPlainTextEdit*>(libraryControl("?WIN:CONTROLTEXT")); };
  User user;
  user.then(steps::designing(&form))
      // The property form: a new text, saved, shows on the real button.
      .then(steps::rightClick(form.ui.saveButton, QPoint(10, 8)))
      .then(steps::choose(QStringLiteral("Edit ?saveButton")))
      .then(steps::when([&] { return textBox() != nullptr && textBox()->isVisible(); }))
      .then(steps::act([&] { QTest::mouseClick(textBox(), Qt::LeftButton); }))
      .then(steps::when([&] { return textBox()->hasFocus(); }))  // the caret is there
      .then(steps::act([&] {
        QTest::keyClick(textBox(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(textBox(), "Store it");
      }))
      .then(steps::click("?OK"))
      .then(steps::when([&] { return form.ui.saveButton->text() == QStringLiteral("Store it"); }))
      // The control list and the browse open over the form and close again.
      .then(steps::rightClick(form.ui.saveButton, QPoint(10, 8)))
      .then(steps::choose(QStringLiteral("Full Field List/Tab Order")))
      .then(steps::when([] { return listShows("?FIELDS", "?customerEdit") && listShows("?FIELDS", "?itemsTab"); }))
      .then(steps::click("?CANCEL"))
      .then(steps::when([] { return libraryControl("?CANCEL") == nullptr; }))
      .then(steps::rightClick(form.ui.saveButton, QPoint(10, 8)))
      .then(steps::choose(QStringLiteral("Show Processed Fields")))
      .then(steps::when([] { return listShows("?BROWSE:1", "?cancelButton"); }))
      .then(steps::click("?CLOSE"))
      .then(steps::when([] { return libraryControl("?CLOSE") == nullptr; }))
      .then(steps::rightClick(form.ui.saveButton, QPoint(10, 8)))
      .then(steps::choose(QStringLiteral("Quit Editing Mode")))
      .then(steps::answer(kSaveQuestion, QMessageBox::Yes));
  user.start();
  wevo.design(&form, "OrderForm", "STANDARD", settings);
  ASSERT_TRUE(user.finished()) << "design mode ended at step " << user.at();
  EXPECT_EQ(form.ui.saveButton->text(), QStringLiteral("Store it"));
  OrderForm again;
  wevo.customise(&again, "OrderForm", "STANDARD", settings);
  EXPECT_EQ(again.ui.saveButton->text(), QStringLiteral("Store it"));
}

// Whether one of `w`'s vertical lines (left, centre, right) lies on one of
// another visible widget's of the form.
bool onAnotherControlsLine(const QWidget& form, const QWidget* w) {
  const auto lines = [](const QRect& r) { return std::array<int, 3>{r.left(), r.center().x(), r.right()}; };
  for (const QWidget* other : form.findChildren<QWidget*>()) {
    if (other == w || !other->isVisible() || other->parentWidget() != w->parentWidget()) continue;
    for (int a : lines(w->geometry()))
      for (int b : lines(other->geometry()))
        if (a == b) return true;
  }
  return false;
}

// A Qt program that sets no design options snaps: a button let go 2 pixels
// right of the entry's left edge does not stay where the mouse left it but
// lands on a line of a neighbour (the entry's edge, or a closer one).
TEST_F(QtSnapping, AQtProgramSnapsByDefaultUnlessItSaysOtherwise) {
  EXPECT_TRUE(designOptions().snapping);
  OrderForm form;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  showForm(form);
  QPushButton* save = form.ui.saveButton;
  const int dx = form.ui.customerEdit->x() + 2 - save->x();
  const int letGo = save->x() + dx;
  User user;
  user.then(steps::designing(&form))
      .then(steps::drag(save, QPoint(8, 6), dx, 0))
      .then(steps::when([&] {
        return save->x() != letGo && std::abs(save->x() - letGo) <= 5 && onAnotherControlsLine(form, save);
      }))
      .then(steps::key(save, Qt::Key_Escape))
      .then(steps::answer(kSaveQuestion, QMessageBox::No));
  user.start();
  wevo.design(&form, "OrderForm", "STANDARD", settings);
  EXPECT_TRUE(user.finished()) << "design mode ended at step " << user.at();

  DesignOptions own;
  own.snapping = false;
  setDesignOptions(own);
  EXPECT_FALSE(designOptions().snapping);
  clearDesignOptions();
}

}  // namespace
}  // namespace wevo::qthost
