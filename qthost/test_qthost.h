// Helpers for the Qt host's tests (header only; included by *_test.cpp
// files alone): the application, the order form of the Qt example, a store
// folder, waiting for what the user would see, and a user who works design
// mode with Qt's own input simulation while design() runs.
#ifndef WEVO_QTHOST_TEST_QTHOST_H_
#define WEVO_QTHOST_TEST_QTHOST_H_

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "store/test_store.h"
#include "store/window_controls.h"
#include "tests/testing/base/temp_dir.h"
#include "ui_order_form.h"
#include "wevo/qt.h"
#include "wevo/text.h"

namespace wevo::qthost::testing {

// The process's application, made once (offscreen under CTest).
inline QApplication& app() {
  if (auto* a = qobject_cast<QApplication*>(QCoreApplication::instance())) return *a;
  static int argc = 1;
  static char name[] = "qthost_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* made = new QApplication(argc, argv);
  return *made;
}

// The Qt example's order form, from its Designer file.
struct OrderForm : QWidget {
  OrderForm() { ui.setupUi(this); }
  Ui::OrderForm ui;
};

// A folder for the store of this test program (its name is the program's).
struct StoreFolder {
  wevo::testing::TempDir dir;
  std::string password = "s3cret";
  std::string path = dir.file("qthost_tests.wevo");

  WEVOSETTINGS settings(int prompt = 1) const { return store::testing::settings(dir.path(), password, prompt); }
  std::vector<store::WindowControls> rows() const {
    return store::testing::readAll<store::WindowControls>(store::winDecl(), path, password).rows;
  }
  // Makes the store anew with these rows.
  bool replace(const std::vector<store::WindowControls>& rows) const {
    std::remove(path.c_str());
    return store::testing::stage(store::winDecl(), path, password, rows);
  }
};

// The row of (marker, label); nullptr when there is none.
inline const store::WindowControls* findRow(const std::vector<store::WindowControls>& rows,
                                            const std::string& marker, const std::string& label) {
  for (const store::WindowControls& r : rows)
    if (text::sameNoCase(text::clipped(r.UNIQUEMARKER), marker) && text::clipped(r.CONTROLLABEL) == label) return &r;
  return nullptr;
}

// Runs the event loop until `done` holds; false after `ms` without.
inline bool waitFor(const std::function<bool()>& done, int ms = 15000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QTest::qWait(5);
  }
  return true;
}

// The message box shown with this text, or nullptr.
inline QMessageBox* shownMessage(const QString& text) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible() && box->text() == text)
      return box;
  return nullptr;
}

inline QMenu* shownMenu() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* menu = qobject_cast<QMenu*>(w); menu != nullptr && menu->isVisible()) return menu;
  return nullptr;
}

// Widgets wevo put on the form in design mode (the grab handles): children
// of the form that the form itself did not make.
inline int handlesOn(const QWidget* form, const std::vector<QWidget*>& own) {
  int n = 0;
  for (QObject* o : form->children())
    if (o->isWidgetType() && std::find(own.begin(), own.end(), o) == own.end() &&
        static_cast<QWidget*>(o)->isVisible())
      ++n;
  return n;
}

// A person working the form while design() runs: steps taken in turn from
// the nested event loop, each an action (returns true) or a wait for what
// the person would see (returns false until then).
class User : public QObject {
 public:
  using Step = std::function<bool()>;
  User& then(Step s) {
    steps_.push_back(std::move(s));
    return *this;
  }
  // Starts once the loop runs; fails the test when a step waits too long.
  void start() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    clock_.start();
    timer_.start();
  }
  bool finished() const { return at_ >= steps_.size(); }
  size_t at() const { return at_; }

 private:
  void tick() {
    if (running_) return;
    running_ = true;
    while (at_ < steps_.size()) {
      if (!steps_[at_]()) {
        if (clock_.elapsed() > 15000) {
          ADD_FAILURE() << "step " << at_ << " of the user waited 15 s for nothing";
          steps_.clear();
          timer_.stop();
        }
        break;
      }
      ++at_;
      clock_.restart();
    }
    if (at_ >= steps_.size()) timer_.stop();
    running_ = false;
  }

  std::vector<Step> steps_;
  size_t at_ = 0;
  QTimer timer_;
  QElapsedTimer clock_;
  bool running_ = false;
};

// Steps of a user, as Qt's input simulation gives them.
namespace steps {

// Design mode has started: its grab handles show on the form.
inline User::Step designing(const QWidget* form, std::vector<QWidget*> own) {
  return [form, own] { return handlesOn(form, own) >= 8; };
}
// A left-button drag on `w` from `from` by (dx, dy), in a few moves.
inline User::Step drag(QWidget* w, QPoint from, int dx, int dy) {
  return [w, from, dx, dy] {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= 4; ++i) QTest::mouseMove(w, from + QPoint(dx * i / 4, dy * i / 4));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, from + QPoint(dx, dy));
    return true;
  };
}
inline User::Step key(QWidget* w, Qt::Key k) {
  return [w, k] {
    QTest::keyClick(w, k);
    return true;
  };
}
// Answers the message box with this text by clicking a button.
inline User::Step answer(const QString& text, QMessageBox::StandardButton button) {
  return [text, button] {
    QMessageBox* box = shownMessage(text);
    if (box == nullptr || box->button(button) == nullptr) return false;
    QTest::mouseClick(box->button(button), Qt::LeftButton);
    return true;
  };
}
inline User::Step when(std::function<bool()> seen) { return [seen = std::move(seen)] { return seen(); }; }
inline User::Step act(std::function<void()> fn) {
  return [fn = std::move(fn)] {
    fn();
    return true;
  };
}

}  // namespace steps

inline const QString kSaveQuestion = QStringLiteral("Do you want to save your changes?");

}  // namespace wevo::qthost::testing

#endif  // WEVO_QTHOST_TEST_QTHOST_H_
