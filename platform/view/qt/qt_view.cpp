#include "platform/view/qt/qt_view.h"

#include <QApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <stdexcept>

#include "platform/base/mutex.h"
#include "platform/view/qt/edit_controls.h"
#include "platform/view/qt/image_cache.h"
#include "platform/view/qt/input_router.h"
#include "platform/view/qt/qt_context.h"
#include "platform/view/qt/qt_convert.h"
#include "platform/view/qt/qt_desktop.h"
#include "platform/view/qt/qt_dialogs.h"
#include "platform/view/qt/step_player.h"
#include "platform/view/qt/top_window.h"
#include "platform/view/qt/window_binder.h"

namespace wevo {

ViewFactory qtView() { return qtView(QtViewOptions{}); }

ViewFactory qtView(QtViewOptions options) {
  return toolkit::viewFactory(
      [options](toolkit::ViewHost& host) { return std::make_unique<qtview::QtView>(host, options); });
}

bool saveWindowPng(int64_t handle, const std::string& path) {
  qtview::QtView* v = qtview::QtView::running();
  if (v == nullptr) return false;
  // The calling thread's own changes first, as the user would see them.
  bool ok = false;
  v->whenShown([&] {
    if (qtview::TopWindow* w = v->window(handle)) ok = qtview::saveWindowImage(*w, qtview::toQ(path));
  });
  return ok;
}

namespace qtview {

namespace {

// The view of the program that runs: from its making to the end of its loop.
std::atomic<QtView*> gRunning{nullptr};

void unregister(QtView* view) { gRunning.compare_exchange_strong(view, nullptr); }

// The process's QApplication: made by the first view, on the thread that
// then runs every program's loop, and kept for the life of the process.
void ensureApplication() {
  QCoreApplication* existing = QCoreApplication::instance();
  if (existing == nullptr) {
    static int argc = 1;
    static char name[] = "wevo";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    existing = app;
  }
  if (qobject_cast<QApplication*>(existing) == nullptr)
    throw std::logic_error("the Qt view needs a QApplication, and another kind of Qt application runs");
  if (existing->thread() != QThread::currentThread())
    throw std::logic_error("the Qt view runs on the thread that made the QApplication (run wevo::run there)");
  QApplication::setQuitOnLastWindowClosed(false);
}

// A dialog a person answers, waited for by the host thread that asked.
class PendingAnswer {
 public:
  void set(const toolkit::DialogResult& r) {
    base::MutexLock lock(mu_);
    if (done_) return;
    done_ = true;
    result_ = r;
    cv_.notifyAll();
  }
  // True with the answer once there is one; false when `d` passed first.
  bool waitFor(std::chrono::milliseconds d, toolkit::DialogResult& answer) {
    base::MutexLock lock(mu_);
    const auto deadline = std::chrono::steady_clock::now() + d;
    while (!done_ && cv_.waitUntil(mu_, deadline)) {
    }
    if (done_) answer = result_;
    return done_;
  }

 private:
  base::Mutex mu_;
  base::CondVar cv_;
  bool done_ GUARDED_BY(mu_) = false;
  toolkit::DialogResult result_ GUARDED_BY(mu_);
};

// What an unanswered dialog gives (as nobody answering it under the headless view).
toolkit::DialogResult unanswered(const toolkit::DialogRequest& r) {
  toolkit::DialogResult res;
  res.button = r.defaultButton;
  return res;
}

}  // namespace

QtView::QtView(toolkit::ViewHost& host, QtViewOptions options) : host_(host), options_(std::move(options)) {
  ensureApplication();
  caller_ = std::make_unique<QtCaller>();
  startQt();
  QtView* none = nullptr;
  gRunning.compare_exchange_strong(none, this);
}

QtView::~QtView() {
  unregister(this);
  if (caller_->onQtThread()) {
    stopQt();
    return;
  }
  // Let go on a foreign thread: Qt objects cannot be deleted here and stay
  // behind; nothing reaches them any more.
  (void)images_.release();
  (void)context_.release();
  (void)router_.release();
  (void)desktop_.release();
  (void)dialogs_.release();
  (void)player_.release();
  (void)binder_.release();
}

QtView* QtView::running() { return gRunning.load(); }

void QtView::startQt() {
  images_ = std::make_unique<ImageCache>(options_.imageDir);
  context_ = std::make_unique<QtContext>(QtContext{measure_, *images_, nullptr});
  router_ = std::make_unique<InputRouter>([this](const toolkit::InputMessage& m) { return host_.postInput(m); });
  context_->events = router_.get();
  desktop_ = std::make_unique<QtDesktop>(*context_);
  dialogs_ = std::make_unique<QtDialogs>(*images_);
  player_ = std::make_unique<StepPlayer>(*desktop_, *router_, options_.screenshotDir);
  binder_ = std::make_unique<WindowBinder>(*context_, [this](const toolkit::InputMessage& m) { return host_.postInput(m); });
  router_->install();
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, router_.get(),
                   [this](Qt::ApplicationState s) { applicationStateChanged(static_cast<int>(s)); });
}

void QtView::stopQt() {
  if (!router_) return;
  caller_->stop();
  router_->uninstall();
  dialogs_.reset();  // answers the dialogs still open, while their owners exist
  player_.reset();
  binder_.reset();
  desktop_.reset();
  router_.reset();
  context_.reset();
  images_.reset();
}

void QtView::run() {
  router_->setScripted(host_.scripted());
  QEventLoop loop;
  loop_ = &loop;
  if (!quitting_.load()) loop.exec();
  loop_ = nullptr;
  // The Qt application quit under the program: nothing shows it any more.
  if (!quitting_.load()) host_.endProgram("the Qt application quit while the program ran");
  unregister(this);
  stopQt();
}

void QtView::quit() {
  quitting_.store(true);
  caller_->post([this] {
    if (loop_ != nullptr) loop_->quit();
  });
}

void QtView::applicationStateChanged(int state) {
  // The desktop says the user went to another application. Offscreen there
  // is no other application: activation comes and goes with the windows.
  QString platform = QGuiApplication::platformName();
  if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) return;
  if (state == Qt::ApplicationInactive) {
    QTimer::singleShot(200, router_.get(), [this] {
      if (QGuiApplication::applicationState() == Qt::ApplicationActive || away_) return;
      if (desktop_->windows().empty()) return;
      away_ = true;
      router_->userSwitchedAway();
    });
  } else if (state == Qt::ApplicationActive && away_) {
    away_ = false;
    if (auto* w = qobject_cast<TopWindow*>(QApplication::activeWindow())) router_->userActivated(*w);
  }
}

void QtView::applyPending() {
  if (!desktop_) return;
  for (const toolkit::ViewUpdate& u : queue_.take())
    if (!binder_->apply(u)) desktop_->apply(u);
}

bool QtView::onQtThread(std::function<void()> fn) {
  return caller_->call([this, &fn] {
    applyPending();
    fn();
  });
}

bool QtView::whenShown(std::function<void()> fn) {
  host_.flush();
  return onQtThread(std::move(fn));
}

TopWindow* QtView::window(int64_t handle) const { return desktop_ ? desktop_->window(handle) : nullptr; }

QWidget* QtView::dialogOwner(int64_t owner) const {
  if (BoundWindow* bound = binder_->find(owner)) return bound->root();
  TopWindow* top = window(owner);
  if (top == nullptr || !top->snapshot().hidden) return top;
  TopWindow* best = nullptr;
  for (TopWindow* w : desktop_->windows())
    if (w->snapshot().thread == top->snapshot().thread && !w->snapshot().hidden) best = w;
  // A host's form being designed, when the library has no window of its own shown.
  if (best == nullptr) return binder_->ownerFor(top->snapshot().thread);
  return best;
}

void QtView::update(const std::vector<toolkit::ViewUpdate>& batch) {
  if (caller_->stopped()) return;
  if (queue_.add(batch)) caller_->post([this] { applyPending(); });
}

toolkit::FontMetrics QtView::metrics(const toolkit::FontDesc& font) { return measure_.metrics(font); }

int QtView::textWidth(const toolkit::FontDesc& font, std::string_view text) { return measure_.textWidth(font, text); }

std::vector<FontFace> QtView::fonts() { return FontMeasure::faces(); }

toolkit::DialogResult QtView::dialog(const toolkit::DialogRequest& r, const ScriptStep* step) {
  toolkit::DialogResult res = unanswered(r);
  if (step != nullptr) {
    onQtThread([&] { res = dialogs_->answer(r, dialogOwner(r.owner), *step); });
    return res;
  }
  auto pending = std::make_shared<PendingAnswer>();
  int id = 0;
  bool shown = onQtThread([&] {
    id = dialogs_->open(r, dialogOwner(r.owner), [pending](const toolkit::DialogResult& d) { pending->set(d); });
  });
  if (!shown) return res;
  for (;;) {
    if (pending->waitFor(std::chrono::milliseconds(100), res)) return res;
    if (host_.ending() || caller_->stopped()) {
      caller_->post([this, id] {
        if (dialogs_) dialogs_->cancel(id);
      });
      return res;
    }
  }
}

void QtView::setCursor(std::string_view cursor) {
  caller_->post([this, c = std::string(cursor)] { desktop_->setCursor(c); });
}

void QtView::setCapture(int64_t window) {
  caller_->post([this, window] { router_->setCapture(window); });
}

void QtView::setFocus(int64_t window, int field) {
  caller_->post([this, window, field] {
    applyPending();
    if (BoundWindow* bound = binder_->find(window))
      bound->setFocus(field);
    else
      desktop_->setFocus(window, field);
  });
}

void QtView::invalidate(int64_t window, bool erase) {
  (void)erase;  // Qt repaints whole widgets
  caller_->post([this, window] {
    applyPending();
    if (BoundWindow* bound = binder_->find(window))
      bound->invalidate();
    else
      desktop_->invalidate(window);
  });
}

bool QtView::editFocused(int64_t window, EditCommand command) {
  bool done = false;
  onQtThread([&] {
    TopWindow* top = this->window(window);
    if (top == nullptr) return;
    auto* edit = dynamic_cast<EditableControl*>(top->widget(top->snapshot().focusedField));
    if (edit == nullptr) return;
    edit->clipboardCommand(command);
    done = true;
  });
  return done;
}

bool QtView::hasPageSetup() const { return QtDialogs::hasPageSetup(); }

void QtView::announce(int64_t window, int field, std::string_view description) {
  caller_->post([this, window, field, d = std::string(description)] {
    applyPending();
    desktop_->announce(window, field, d);
  });
}

void QtView::beep() {
  caller_->post([] { QApplication::beep(); });
}

bool QtView::deliver(const toolkit::ResolvedStep& r, std::string& why) {
  bool ok = false;
  std::string failure;
  if (!onQtThread([&] { ok = player_->play(r, failure); })) {
    why = "the Qt view has stopped";
    return false;
  }
  if (!ok) why = failure;
  return ok;
}

}  // namespace qtview
}  // namespace wevo
