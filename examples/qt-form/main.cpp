// The Qt form: an ordinary Qt Widgets program whose order form comes from
// a Designer file (order_form.ui: a customer box, a tab widget of items and
// delivery, a stock bar and two buttons, in layouts). wevo applies what the
// program's users stored for the form as it opens, and Ctrl+Alt+D puts it
// in design mode.
//
//   qt-form               the form on the desktop; the store beside the program
//   qt-form --seed DIR    a scripted user drags the Save button in design
//                         mode and keeps the change (the store in DIR)
//   qt-form --check DIR   opens the form, customised from the store in DIR;
//                         exits with 0 only when the Save button stands
//                         where the stored change put it
//   qt-form --tour DIR    the same as --seed, with a picture per step in DIR:
//                         before.png, design.png, moved.png, reopened.png
//
// --seed, --check and --tour need no person and no display (Qt's offscreen
// platform).
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include <wevo/qt.h>
#include <wevo/text.h>

#include "ui_order_form.h"

class OrderForm : public QWidget {
 public:
  OrderForm() { ui.setupUi(this); }
  Ui::OrderForm ui;
};

// The program's settings for wevo: the store in `folder` (blank: beside
// the program), protected by a password, asking before design mode keeps
// a change.
WEVOSETTINGS wevoSettings(const std::string& folder) {
  WEVOSETTINGS settings;
  wevo::text::assign(settings.WEVOPATH, folder);
  wevo::text::assign(settings.PASSWORD, "the store's password");
  settings.PROMPTONEXIT = 1;
  return settings;
}

namespace {

// ---- A scripted user, for the checks and the tour --------------------------------------

// Steps taken in turn from the event loop while design mode runs: each
// acts and returns true, or waits for what a person would see first.
class ScriptedUser {
 public:
  using Step = std::function<bool()>;
  void then(Step step) { steps_.push_back(std::move(step)); }
  void start() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      while (at_ < steps_.size() && steps_[at_]()) ++at_;
      if (at_ == steps_.size() || ++ticks_ > 2000) timer_.stop();  // 20 s at most
    });
    timer_.start(10);
  }
  bool done() const { return at_ == steps_.size(); }

 private:
  std::vector<Step> steps_;
  size_t at_ = 0;
  int ticks_ = 0;
  QTimer timer_;
};

void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

void pressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}

QMessageBox* shownQuestion() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) return box;
  return nullptr;
}

// The user drags the Save button 80 pixels left and 30 up in design mode,
// leaves it with Esc and keeps the change. With `pictures`, the form is
// saved as a picture in design mode and after the move.
bool dragSaveButton(wevo::QtAttachment& wevo, OrderForm& form, WEVOSETTINGS& settings,
                    const std::string& pictures) {
  QPushButton* save = form.ui.saveButton;
  const QPoint from = save->pos();
  const int ownChildren = static_cast<int>(form.children().size());
  ScriptedUser user;
  // Design mode has begun: its eight grab handles are on the form.
  user.then([&] { return static_cast<int>(form.children().size()) >= ownChildren + 8; });
  user.then([&] {
    if (!pictures.empty()) form.grab().save(QString::fromStdString(pictures + "/design.png"));
    const QPoint at(10, 8);
    mouse(save, QEvent::MouseButtonPress, at, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i) mouse(save, QEvent::MouseMove, at + QPoint(-80 * i / 4, -30 * i / 4), Qt::LeftButton);
    mouse(save, QEvent::MouseButtonRelease, at + QPoint(-80, -30), Qt::NoButton);
    return true;
  });
  // Where the mouse let go, or a few pixels off where design mode snapped it
  // to a neighbour's edge.
  user.then([&] { return (save->pos() - (from + QPoint(-80, -30))).manhattanLength() <= 10; });
  user.then([&] {
    if (!pictures.empty()) form.grab().save(QString::fromStdString(pictures + "/moved.png"));
    pressKey(save, Qt::Key_Escape);
    return true;
  });
  user.then([&] {
    QMessageBox* box = shownQuestion();
    if (box == nullptr || box->button(QMessageBox::Yes) == nullptr) return false;
    box->button(QMessageBox::Yes)->click();  // "Do you want to save your changes?"
    return true;
  });
  user.start();
  wevo.design(&form, "OrderForm", "STANDARD", settings, save);
  return user.done();
}

// Whether the Save button of a form customised from the store stands
// elsewhere than in a form the store leaves alone.
bool saveButtonMoved(wevo::QtAttachment& wevo, WEVOSETTINGS& settings, const std::string& picture) {
  OrderForm form, plain;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  form.show();
  plain.show();
  QApplication::processEvents();
  if (!picture.empty()) form.grab().save(QString::fromStdString(picture));
  std::cout << "qt-form: the Save button is at " << form.ui.saveButton->x() << "," << form.ui.saveButton->y()
            << " (designed at " << plain.ui.saveButton->x() << "," << plain.ui.saveButton->y() << ")\n";
  return form.ui.saveButton->pos() != plain.ui.saveButton->pos();
}

int seed(wevo::QtAttachment& wevo, const std::string& folder, bool tour) {
  WEVOSETTINGS settings = wevoSettings(folder);
  OrderForm form;
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  form.show();
  QApplication::processEvents();
  if (tour) form.grab().save(QString::fromStdString(folder + "/before.png"));
  if (!dragSaveButton(wevo, form, settings, tour ? folder : std::string())) {
    std::cerr << "qt-form: the scripted user could not finish in design mode\n";
    return 1;
  }
  if (!tour) return 0;
  return saveButtonMoved(wevo, settings, folder + "/reopened.png") ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool scripted = argc == 3 && (std::strcmp(argv[1], "--seed") == 0 || std::strcmp(argv[1], "--check") == 0 ||
                                      std::strcmp(argv[1], "--tour") == 0);
  if (argc != 1 && !scripted) {
    std::cerr << "usage: qt-form [--seed DIR | --check DIR | --tour DIR]\n";
    return 2;
  }
  if (scripted) setenv("QT_QPA_PLATFORM", "offscreen", 0);  // no display needed, unless one was asked for
  QApplication app(argc, argv);
  wevo::QtAttachment wevo;
  if (scripted) {
    const std::string mode = argv[1], folder = argv[2];
    if (mode == "--check") {
      WEVOSETTINGS settings = wevoSettings(folder);
      return saveButtonMoved(wevo, settings, std::string()) ? 0 : 1;
    }
    return seed(wevo, folder, mode == "--tour");
  }

  // The program as its users run it.
  OrderForm form;
  WEVOSETTINGS settings = wevoSettings("");  // the store beside the program
  wevo.customise(&form, "OrderForm", "STANDARD", settings);
  wevo.bindDesignKey(&form, "OrderForm", "STANDARD", settings);  // Ctrl+Alt+D
  form.show();
  return app.exec();
}
