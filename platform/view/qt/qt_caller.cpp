#include "platform/view/qt/qt_caller.h"

#include <QSocketNotifier>
#include <QThread>
#include <sys/eventfd.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace wevo::qtview {

namespace {

struct Task {
  std::function<void()> fn;
  bool done = false;
};

}  // namespace

// The Qt thread is woken through an eventfd that a socket notifier of its
// own watches, not through Qt's cross-thread event queue: everything a task
// carries then passes through `mu` alone, which is the whole of the hand-over
// between the threads (and what ThreadSanitizer can see, unlike Qt's own locks).
struct QtCaller::State : std::enable_shared_from_this<QtCaller::State> {
  std::mutex mu;
  std::condition_variable cv;
  std::deque<std::shared_ptr<Task>> tasks;
  bool scheduled = false;
  bool stopped = false;
  bool draining = false;               // Qt thread only
  int wakeFd = -1;                     // written under mu, read on the Qt thread
  QSocketNotifier* notifier = nullptr;  // lives on the Qt thread; deleted by stop()
  QThread* thread = nullptr;

  // On the Qt thread, once the state is owned by a shared_ptr.
  void start() {
    wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) return;
    notifier = new QSocketNotifier(wakeFd, QSocketNotifier::Read);
    std::weak_ptr<State> weak = weak_from_this();
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [weak] {
      if (std::shared_ptr<State> s = weak.lock()) {
        uint64_t wakes = 0;
        while (::read(s->wakeFd, &wakes, sizeof wakes) > 0) {
        }
        s->drain();
      }
    });
  }

  // Caller holds mu.
  void scheduleLocked() {
    if (scheduled || stopped || wakeFd < 0) return;
    scheduled = true;
    const uint64_t one = 1;
    if (::write(wakeFd, &one, sizeof one) != sizeof one) scheduled = false;
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
  state_->thread = QThread::currentThread();
  state_->start();
}

QtCaller::~QtCaller() {
  if (onQtThread()) {
    stop();
    return;
  }
  // Destroyed on another thread: the notifier cannot be deleted here; it
  // stays behind (with its eventfd), and its drains find the state stopped.
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
  QSocketNotifier* notifier = nullptr;
  int fd = -1;
  {
    std::lock_guard<std::mutex> lock(state_->mu);
    state_->stopped = true;
    state_->tasks.clear();
    notifier = state_->notifier;
    state_->notifier = nullptr;
    fd = state_->wakeFd;
    state_->wakeFd = -1;
  }
  state_->cv.notify_all();
  delete notifier;
  if (fd >= 0) ::close(fd);
}

}  // namespace wevo::qtview
