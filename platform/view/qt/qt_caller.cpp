#include "platform/view/qt/qt_caller.h"

#include <QSocketNotifier>
#include <QThread>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>
#include <deque>

#include "platform/base/mutex.h"

namespace wevo::qtview {

namespace {

struct Task {
  std::function<void()> fn;
  bool done = false;  // under the caller's mutex
};

}  // namespace

// The Qt thread is woken through an eventfd that a socket notifier of its
// own watches, not through Qt's cross-thread event queue: everything a task
// carries then passes through `mu` alone, which is the whole of the hand-over
// between the threads (and what ThreadSanitizer can see, unlike Qt's own locks).
struct QtCaller::State : std::enable_shared_from_this<QtCaller::State> {
  base::Mutex mu;
  base::CondVar cv;
  std::deque<std::shared_ptr<Task>> tasks GUARDED_BY(mu);
  bool scheduled GUARDED_BY(mu) = false;
  bool stopped GUARDED_BY(mu) = false;
  bool draining = false;  // Qt thread only
  // Written on the Qt thread under mu; read under mu, or on the Qt thread.
  int wakeFd = -1;
  QSocketNotifier* notifier GUARDED_BY(mu) = nullptr;  // lives on the Qt thread; deleted by stop()
  QThread* thread = nullptr;

  // On the Qt thread, once the state is owned by a shared_ptr.
  void start() {
    wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) return;
    auto* n = new QSocketNotifier(wakeFd, QSocketNotifier::Read);
    {
      base::MutexLock lock(mu);
      notifier = n;
    }
    std::weak_ptr<State> weak = weak_from_this();
    QObject::connect(n, &QSocketNotifier::activated, n, [weak] {
      if (std::shared_ptr<State> s = weak.lock()) {
        uint64_t wakes = 0;
        while (::read(s->wakeFd, &wakes, sizeof wakes) > 0) {
        }
        s->drain();
      }
    });
  }

  void scheduleLocked() REQUIRES(mu) {
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
        base::MutexLock lock(mu);
        if (tasks.empty() || stopped) {
          scheduled = false;
          break;
        }
        t = tasks.front();
        tasks.pop_front();
      }
      t->fn();
      {
        base::MutexLock lock(mu);
        t->done = true;
        t->fn = nullptr;
      }
      cv.notifyAll();
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
  base::MutexLock lock(state_->mu);
  state_->stopped = true;
  state_->tasks.clear();
  state_->cv.notifyAll();
}

bool QtCaller::onQtThread() const { return QThread::currentThread() == state_->thread; }

bool QtCaller::stopped() const {
  base::MutexLock lock(state_->mu);
  return state_->stopped;
}

void QtCaller::post(std::function<void()> fn) {
  base::MutexLock lock(state_->mu);
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
  base::MutexLock lock(state_->mu);
  if (state_->stopped) return false;
  state_->tasks.push_back(t);
  state_->scheduleLocked();
  while (!t->done && !state_->stopped) state_->cv.wait(state_->mu);
  return t->done;
}

void QtCaller::stop() {
  QSocketNotifier* notifier = nullptr;
  int fd = -1;
  {
    base::MutexLock lock(state_->mu);
    state_->stopped = true;
    state_->tasks.clear();
    notifier = state_->notifier;
    state_->notifier = nullptr;
    fd = state_->wakeFd;
    state_->wakeFd = -1;
  }
  state_->cv.notifyAll();
  delete notifier;
  if (fd >= 0) ::close(fd);
}

}  // namespace wevo::qtview
