#include "platform/view/qt/qt_dialogs.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <vector>

#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/qt_convert.h"
#include "wevo/codes.h"

namespace wevo::qtview {

using toolkit::DialogRequest;
using toolkit::DialogResult;

QString qtFileFilter(const std::string& filter) {
  std::vector<std::string> parts = toolkit::splitBars(filter);
  QStringList out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = toQ(parts[i + 1]);
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    out << toQ(parts[i]) + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

// One dialog on screen. It reports its result once, when it closes.
class ShownDialog {
 public:
  // Deleting the widget also drops its pending single-shot callbacks; the
  // dialog reports nothing more.
  virtual ~ShownDialog() {
    finished_ = true;
    delete widget_.data();
  }
  virtual void show() = 0;
  // Works the dialog as the step says and closes it.
  virtual void answer(const ScriptStep& step) = 0;
  // Closes it unanswered.
  virtual void cancel() = 0;

  std::function<void(const DialogResult&)> onDone;
  bool finished() const { return finished_; }
  const DialogResult& result() const { return result_; }
  // A dialog deleted with its owner window is answered as nobody answered it.
  void answerWhenDeleted(QObject* context, const DialogResult& unanswered) {
    if (widget_)
      QObject::connect(widget_.data(), &QObject::destroyed, context, [this, unanswered] { finish(unanswered); });
  }

 protected:
  void finish(const DialogResult& r) {
    if (finished_) return;
    finished_ = true;
    result_ = r;
    if (onDone) onDone(r);
  }
  QPointer<QWidget> widget_;

 private:
  bool finished_ = false;
  DialogResult result_;
};

namespace {

QMessageBox::StandardButton standardButton(int button) {
  switch (button) {
    case BUTTON::Ok: return QMessageBox::Ok;
    case BUTTON::Yes: return QMessageBox::Yes;
    case BUTTON::No: return QMessageBox::No;
    case BUTTON::Abort: return QMessageBox::Abort;
    case BUTTON::Retry: return QMessageBox::Retry;
    case BUTTON::Ignore: return QMessageBox::Ignore;
    case BUTTON::Cancel: return QMessageBox::Cancel;
    default: return QMessageBox::NoButton;
  }
}

int runtimeButton(QMessageBox::StandardButton b) {
  switch (b) {
    case QMessageBox::Ok: return BUTTON::Ok;
    case QMessageBox::Yes: return BUTTON::Yes;
    case QMessageBox::No: return BUTTON::No;
    case QMessageBox::Abort: return BUTTON::Abort;
    case QMessageBox::Retry: return BUTTON::Retry;
    case QMessageBox::Ignore: return BUTTON::Ignore;
    case QMessageBox::Cancel: return BUTTON::Cancel;
    default: return 0;
  }
}

constexpr int kButtonOrder[] = {BUTTON::Ok,    BUTTON::Yes,    BUTTON::No,    BUTTON::Abort,
                                BUTTON::Retry, BUTTON::Ignore, BUTTON::Cancel};

class MessageDialog : public ShownDialog {
 public:
  MessageDialog(const DialogRequest& r, QWidget* owner, ImageCache& images, bool stop)
      : stop_(stop), defaultButton_(r.defaultButton) {
    box_ = new QMessageBox(owner);
    widget_ = box_;
    box_->setWindowTitle(toQ(stop ? std::string_view("Stop") : std::string_view(r.title)));
    box_->setText(barLines(r.text));
    if (stop) {
      box_->setIcon(QMessageBox::Critical);
      box_->setStandardButtons(QMessageBox::Abort | QMessageBox::Ignore);
      box_->button(QMessageBox::Abort)->setText(QStringLiteral("End the program"));
      box_->button(QMessageBox::Ignore)->setText(QStringLiteral("Go on"));
      box_->setDefaultButton(QMessageBox::Ignore);
      box_->setEscapeButton(QMessageBox::Ignore);
    } else {
      if (r.icon == ICON::Question)
        box_->setIcon(QMessageBox::Question);
      else if (r.icon == ICON::Exclamation)
        box_->setIcon(QMessageBox::Warning);
      else if (r.icon == ICON::Error || r.icon == ICON::Hand)
        box_->setIcon(QMessageBox::Critical);
      else if (r.icon == ICON::Asterisk)
        box_->setIcon(QMessageBox::Information);
      else if (!r.icon.empty())
        box_->setIconPixmap(images.pixmap(r.icon));
      QMessageBox::StandardButtons buttons;
      for (int b : kButtonOrder)
        if ((r.buttons & b) != 0) buttons |= standardButton(b);
      box_->setStandardButtons(buttons);
      box_->setDefaultButton(standardButton(r.defaultButton));
      if ((r.buttons & BUTTON::Cancel) != 0)
        box_->setEscapeButton(QMessageBox::Cancel);
      else if ((r.buttons & BUTTON::No) != 0)
        box_->setEscapeButton(QMessageBox::No);
    }
    QObject::connect(box_, &QMessageBox::finished, box_, [this] { done(); });
  }

  void show() override {
    if (box_->parentWidget() != nullptr) box_->setWindowModality(Qt::WindowModal);
    box_->show();
  }

  void answer(const ScriptStep& step) override {
    box_->show();
    int code = stop_ ? (step.code != 0 ? BUTTON::Abort : BUTTON::Ignore)
                     : (step.code != 0 ? step.code : defaultButton_);
    if (QAbstractButton* b = box_->button(standardButton(code)))
      b->click();
    else
      box_->done(0);
  }

  void cancel() override {
    if (widget_ && !finished()) box_->done(0);
  }

 private:
  void done() {
    int button = runtimeButton(box_->standardButton(box_->clickedButton()));
    DialogResult r;
    if (stop_) {
      r.ok = button == BUTTON::Abort;
    } else {
      r.button = button != 0 ? button : defaultButton_;
    }
    finish(r);
  }
  bool stop_;
  int defaultButton_;
  QMessageBox* box_;
};

class PopupDialog : public ShownDialog {
 public:
  PopupDialog(const DialogRequest& r, QWidget* owner) : at_(r.x, r.y) {
    menu_ = new QMenu(owner);
    widget_ = menu_;
    int number = 0;
    for (std::string& part : toolkit::splitBars(r.text)) {
      if (part == "-") {
        menu_->addSeparator();
        continue;
      }
      bool enabled = true;
      if (!part.empty() && part[0] == '~') {
        enabled = false;
        part.erase(0, 1);
      }
      QAction* a = menu_->addAction(toQ(part));
      a->setEnabled(enabled);
      int n = ++number;
      items_.push_back(a);
      QObject::connect(a, &QAction::triggered, menu_, [this, n] {
        DialogResult res;
        res.item = n;
        finish(res);
      });
    }
    // Closed without a choice: reported after the menu had its chance to
    // trigger the item it closes for.
    QObject::connect(menu_, &QMenu::aboutToHide, menu_, [this] {
      QTimer::singleShot(0, menu_, [this] { finish(DialogResult{}); });
    });
  }

  void show() override { menu_->popup(at_); }

  void answer(const ScriptStep& step) override {
    menu_->popup(at_);
    if (step.code >= 1 && static_cast<size_t>(step.code) <= items_.size())
      items_[static_cast<size_t>(step.code) - 1]->trigger();
    menu_->hide();
    finish(DialogResult{});  // no item triggered: none chosen
  }

  void cancel() override {
    if (widget_) menu_->hide();
    finish(DialogResult{});
  }

 private:
  QPoint at_;
  QMenu* menu_;
  std::vector<QAction*> items_;
};

class ColorDialog : public ShownDialog {
 public:
  ColorDialog(const DialogRequest& r, QWidget* owner) {
    dialog_ = new QColorDialog(toColor(r.color).value_or(QColor(Qt::white)), owner);
    widget_ = dialog_;
    dialog_->setWindowTitle(toQ(r.title));
    dialog_->setOption(QColorDialog::DontUseNativeDialog, true);
    QObject::connect(dialog_, &QDialog::finished, dialog_, [this](int code) {
      DialogResult res;
      res.ok = code == QDialog::Accepted;
      if (res.ok) res.color = fromColor(dialog_->currentColor());
      finish(res);
    });
  }

  void show() override { dialog_->open(); }

  void answer(const ScriptStep& step) override {
    dialog_->show();
    if (step.cancel) {
      dialog_->reject();
      return;
    }
    dialog_->setCurrentColor(toColor(step.code).value_or(QColor(Qt::black)));
    dialog_->accept();
  }

  void cancel() override {
    if (widget_ && !finished()) dialog_->reject();
  }

 private:
  QColorDialog* dialog_;
};

class FileDialog : public ShownDialog {
 public:
  FileDialog(const DialogRequest& r, QWidget* owner) {
    QString start = toQ(r.value).trimmed();
    dialog_ = new QFileDialog(owner, toQ(r.title));
    widget_ = dialog_;
    dialog_->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog_->setNameFilter(qtFileFilter(r.filter));
    bool open = (r.flags & 1) == 0;
    dialog_->setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog_->setFileMode((r.flags & 16) != 0 ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!start.isEmpty()) {
      QFileInfo info(start);
      dialog_->setDirectory(info.absolutePath());
      dialog_->selectFile(info.fileName());
    }
    QObject::connect(dialog_, &QDialog::finished, dialog_, [this](int code) {
      DialogResult res;
      res.ok = code == QDialog::Accepted;
      if (res.ok) {
        QStringList files = dialog_->selectedFiles();
        res.path = fromQ(chosen_.isEmpty() && !files.isEmpty() ? files.first() : chosen_);
      }
      finish(res);
    });
  }

  void show() override { dialog_->open(); }

  void answer(const ScriptStep& step) override {
    dialog_->show();
    if (step.cancel) {
      dialog_->reject();
      return;
    }
    // The path as the script names it, whether or not such a file exists.
    chosen_ = toQ(step.text);
    dialog_->selectFile(chosen_);
    static_cast<QDialog*>(dialog_)->done(QDialog::Accepted);
  }

  void cancel() override {
    if (widget_ && !finished()) dialog_->reject();
  }

 private:
  QFileDialog* dialog_;
  QString chosen_;
};

}  // namespace

QtDialogs::QtDialogs(ImageCache& images) : images_(images) {}

QtDialogs::~QtDialogs() {
  std::map<int, std::unique_ptr<ShownDialog>> open;
  open.swap(open_);
  for (auto& [id, d] : open) d->cancel();
}

std::unique_ptr<ShownDialog> QtDialogs::make(const DialogRequest& r, QWidget* owner) {
  switch (r.kind) {
    case DialogRequest::Message: return std::make_unique<MessageDialog>(r, owner, images_, false);
    case DialogRequest::Stop: return std::make_unique<MessageDialog>(r, owner, images_, true);
    case DialogRequest::Popup: return std::make_unique<PopupDialog>(r, owner);
    case DialogRequest::Color: return std::make_unique<ColorDialog>(r, owner);
    case DialogRequest::File: return std::make_unique<FileDialog>(r, owner);
  }
  return nullptr;
}

int QtDialogs::open(const DialogRequest& r, QWidget* owner, Done done) {
  int id = nextId_++;
  std::unique_ptr<ShownDialog> d = make(r, owner);
  d->onDone = [this, id, done = std::move(done)](const DialogResult& res) {
    done(res);
    // Forget it once its signal handlers have returned.
    QTimer::singleShot(0, &guard_, [this, id] { open_.erase(id); });
  };
  DialogResult unanswered;
  unanswered.button = r.defaultButton;
  d->answerWhenDeleted(&guard_, unanswered);
  ShownDialog* raw = d.get();
  open_.emplace(id, std::move(d));
  raw->show();
  return id;
}

void QtDialogs::cancel(int id) {
  auto it = open_.find(id);
  if (it != open_.end()) it->second->cancel();
}

DialogResult QtDialogs::answer(const DialogRequest& r, QWidget* owner, const ScriptStep& step) {
  std::unique_ptr<ShownDialog> d = make(r, owner);
  d->answer(step);
  return d->result();
}

}  // namespace wevo::qtview
