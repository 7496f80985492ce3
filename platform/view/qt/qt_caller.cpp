#include "platform/view/qt/qt_caller.h"

#include <QObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace wevo::qtview {

namespace {

struct Task {
  std::function<void()> fn;
  bool done = false;
};

}  // namespace

struct QtCaller::State : std::enable_shared_from_this<QtCaller::State> {
  std::mutex mu;
  std::condition_variable cv;
  std::deque<std::shared_ptr<Task>> tasks;
  bool scheduled = false;
  bool stopped = false;
  bool draining = false;     // Qt thread only
  QObject* bridge = nullptr;  // lives on the Qt thread; deleted by stop()
  QThread* thread = nullptr;

  // Caller holds mu.
  void scheduleLocked() {
    if (scheduled || stopped || bridge == nullptr) return;
    scheduled = true;
    std::weak_ptr<State> weak = weak_from_this();
    QMetaObject::invokeMethod(
        bridge,
        [weak] {
          if (std::shared_ptr<State> s = weak.lock()) s->drain();
        },
        Qt::QueuedConnection);
  }

  void drain() {
    // A task that spins the event loop must not run the tasks behind it
    // inside itself: the outer drain goes on with them.
    if (draining) return;
    draining = true;
    for (;;) {
      std::shared_ptr<Task> t;
      {
        std::lock_guard<std::mutex> lock(mu);
        if (tasks.empty() || stopped) {
          scheduled = false;
          break;
        }
        t = tasks.front();
        tasks.pop_front();
      }
      t->fn();
      {
        std::lock_guard<std::mutex> lock(mu);
        t->done = true;
        t->fn = nullptr;
      }
      cv.notify_all();
    }
    draining = false;
  }
};

QtCaller::QtCaller() : state_(std::make_shared<State>()) {
  state_->bridge = new QObject();
  state_->thread = QThread::currentThread();
}

QtCaller::~QtCaller() {
  if (onQtThread()) {
    stop();
    return;
  }
  // Destroyed on another thread: the bridge cannot be deleted here; it stays
  // behind, and its queued drains find the state stopped.
  std::lock_guard<std::mutex> lock(state_->mu);
  state_->stopped = true;
  state_->tasks.clear();
  state_->cv.notify_all();
}

bool QtCaller::onQtThread() const { return QThread::currentThread() == state_->thread; }

bool QtCaller::stopped() const {
  std::lock_guard<std::mutex> lock(state_->mu);
  return state_->stopped;
}

void QtCaller::post(std::function<void()> fn) {
  std::lock_guard<std::mutex> lock(state_->mu);
  if (state_->stopped) return;
  auto t = std::make_shared<Task>();
  t->fn = std::move(fn);
  state_->tasks.push_back(std::move(t));
  state_->scheduleLocked();
}

bool QtCaller::call(std::function<void()> fn) {
  if (onQtThread()) {
    if (stopped()) return false;
    fn();
    return true;
  }
  auto t = std::make_shared<Task>();
  t->fn = std::move(fn);
  std::unique_lock<std::mutex> lock(state_->mu);
  if (state_->stopped) return false;
  state_->tasks.push_back(t);
  state_->scheduleLocked();
  state_->cv.wait(lock, [&] { return t->done || state_->stopped; });
  return t->done;
}

void QtCaller::stop() {
  QObject* bridge = nullptr;
  {
    std::lock_guard<std::mutex> lock(state_->mu);
    state_->stopped = true;
    state_->tasks.clear();
    bridge = state_->bridge;
    state_->bridge = nullptr;
  }
  state_->cv.notify_all();
  delete bridge;  // drops its queued drains
}

}  // namespace wevo::qtview
