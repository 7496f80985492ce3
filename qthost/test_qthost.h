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
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/view/qt/top_window.h"
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

// Shows a form and waits until it is on the (offscreen) screen.
inline void showForm(QWidget& form) {
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
}

// One test's world: the application, a store folder, settings that name it
// (asking before design mode keeps a change) and the program's attachment.
class QtHost : public ::testing::Test {
 protected:
  struct Application {
    Application() { app(); }
  } application;
  StoreFolder store;
  WEVOSETTINGS settings = store.settings();
  QtAttachment wevo;

  QtHost() = default;
  explicit QtHost(QtAttachmentOptions options) : wevo(std::move(options)) {}

  // The order form's original rows, as its first customise writes them.
  void writeOriginals() {
    OrderForm first;
    wevo.customise(&first, "OrderForm", "STANDARD", settings);
  }
};

// The row of (marker, label); nullptr when there is none.
inline const store::WindowControls* findRow(const std::vector<store::WindowControls>& rows,
                                            const std::string& marker, const std::string& label) {
  for (const store::WindowControls& r : rows)
    if (text::sameNoCase(text::clipped(r.UNIQUEMARKER), marker) && text::clipped(r.CONTROLLABEL) == label) return &r;
  return nullptr;
}

// Override rows under `marker`: copies of the original rows, changed by `edit`.
inline void seed(const StoreFolder& folder, const std::string& marker,
                 const std::vector<std::pair<std::string, std::function<void(store::WindowControls&)>>>& edits) {
  std::vector<store::WindowControls> rows = folder.rows();
  uint32_t uid = 0;
  for (const store::WindowControls& r : rows)
    if (r.UID > uid) uid = r.UID;  // (a packed field: no reference to it)
  std::vector<store::WindowControls> added;
  for (const auto& [label, edit] : edits) {
    const store::WindowControls* original = findRow(rows, "WEVO_ORIGINAL", label);
    ASSERT_NE(original, nullptr) << label;
    store::WindowControls r = *original;
    r.UID = ++uid;
    text::assign(r.UNIQUEMARKER, marker);
    edit(r);
    added.push_back(r);
  }
  rows.insert(rows.end(), added.begin(), added.end());
  ASSERT_TRUE(folder.replace(rows));
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

// The widget of the control labelled `label` in a shown window of the
// library's own (the property form, the control list, the browse), or nullptr.
inline const qtview::ControlItem* libraryItem(const std::string& label) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* top = qobject_cast<qtview::TopWindow*>(w);
    if (top == nullptr || !top->isVisible()) continue;
    for (const auto& [field, item] : top->items())
      if (item.snap.label == label && item.widget != nullptr) return &item;
  }
  return nullptr;
}
inline QWidget* libraryControl(const std::string& label) {
  const qtview::ControlItem* item = libraryItem(label);
  return item != nullptr ? item->widget : nullptr;
}
// Whether a shown list of the library's has a row whose first cell is `cell`.
inline bool listShows(const std::string& list, const std::string& cell) {
  const qtview::ControlItem* item = libraryItem(list);
  if (item == nullptr) return false;
  for (const std::vector<std::string>& row : item->snap.rows)
    if (!row.empty() && text::clip(row[0]) == cell) return true;
  return false;
}

inline QMenu* shownMenu() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* menu = qobject_cast<QMenu*>(w); menu != nullptr && menu->isVisible()) return menu;
  return nullptr;
}

// The form's own child widgets, before design mode adds any.
inline std::vector<QWidget*> childWidgets(const QWidget* form) {
  std::vector<QWidget*> out;
  for (QObject* o : form->children())
    if (o->isWidgetType()) out.push_back(static_cast<QWidget*>(o));
  return out;
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
inline User::Step designing(const QWidget* form) {
  return [form, own = childWidgets(form)] { return handlesOn(form, own) >= 8; };
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
// Chooses the popup menu's item whose text starts with `start`.
inline User::Step choose(const QString& start) {
  return [start] {
    QMenu* menu = shownMenu();
    if (menu == nullptr) return false;
    for (QAction* a : menu->actions())
      if (a->text().startsWith(start)) {
        a->trigger();
        menu->hide();
        return true;
      }
    return false;
  };
}
// Clicks the control labelled `label` of a window of the library's.
inline User::Step click(const std::string& label) {
  return [label] {
    QWidget* w = libraryControl(label);
    if (w == nullptr) return false;
    QTest::mouseClick(w, Qt::LeftButton);
    return true;
  };
}
inline User::Step rightClick(QWidget* w, QPoint at) {
  return [w, at] {
    QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, at);
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
