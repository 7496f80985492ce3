// Design mode over a real Qt form, worked with Qt's input simulation on its
// widgets: what the user does lands on the widgets, in the store, and on
// the form when it opens again.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "qthost/test_qthost.h"

namespace wevo::qthost {
namespace {

using namespace testing;  // NOLINT

std::vector<QWidget*> ownChildren(const QWidget* form) {
  std::vector<QWidget*> out;
  for (QObject* o : form->children())
    if (o->isWidgetType()) out.push_back(static_cast<QWidget*>(o));
  return out;
}

// The point of `w`'s bottom-right grab handle (the handles lie inside the
// control, 6 pixels wide).
QPoint bottomRightHandle(const QWidget* w) { return QPoint(w->width() - 3, w->height() - 3); }

TEST(QtDesign, DragAndResizeAreKeptAndTheFormTakesNoInput) {
  app();
  StoreFolder store;
  WEVOSETTINGS settings = store.settings();
  QRect saveMoved, editSized;
  QString typed;
  {
    QtAttachment wevo;
    OrderForm form;
    wevo.customise(&form, "OrderForm", "STANDARD", settings);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const QRect save = form.ui.saveButton->geometry();
    const QRect edit = form.ui.customerEdit->geometry();
    QSignalSpy clicked(form.ui.saveButton, &QPushButton::clicked);
    User user;
    user.then(steps::designing(&form, ownChildren(&form)))
        .then(steps::drag(form.ui.saveButton, QPoint(10, 8), -60, -20))
        .then(steps::when([&] { return form.ui.saveButton->geometry().topLeft() == save.topLeft() + QPoint(-60, -20); }))
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
    // The form still works as the host's afterwards.
    QTest::keyClicks(form.ui.customerEdit, "Ann");
    typed = form.ui.customerEdit->text();
  }
  EXPECT_EQ(typed, QStringLiteral("Ann"));
  // Stored in dialog units and found again by a new form with the same marker.
  const store::WindowControls* row = findRow(store.rows(), "STANDARD", "?saveButton");
  ASSERT_NE(row, nullptr);
  {
    QtAttachment wevo;
    OrderForm again;
    wevo.customise(&again, "OrderForm", "STANDARD", settings);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    // Dialog units round: within one unit of where the user left them.
    EXPECT_NEAR(again.ui.saveButton->x(), saveMoved.x(), 2);
    EXPECT_NEAR(again.ui.saveButton->y(), saveMoved.y(), 2);
    EXPECT_NEAR(again.ui.customerEdit->width(), editSized.width(), 2);
    EXPECT_NEAR(again.ui.customerEdit->height(), editSized.height(), 2);
  }
}

}  // namespace
}  // namespace wevo::qthost
