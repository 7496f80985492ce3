// Running work on the Qt thread from any thread.
//
// Tasks run in the order they were given, inside the Qt thread's event loop
// (they wait for it to run). call() blocks until its task has run; post()
// returns at once. After stop() nothing more runs: waiting callers return
// false and later tasks are dropped, so a host thread never hangs on a view
// whose loop has ended. The Qt thread never waits for a host thread.
#ifndef WEVO_PLATFORM_VIEW_QT_QT_CALLER_H_
#define WEVO_PLATFORM_VIEW_QT_QT_CALLER_H_

#include <functional>
#include <memory>

class QThread;

namespace wevo::qtview {

class QtCaller {
 public:
  // Made on the Qt thread.
  QtCaller();
  ~QtCaller();
  QtCaller(const QtCaller&) = delete;
  QtCaller& operator=(const QtCaller&) = delete;

  // Runs `fn` on the Qt thread and returns true once it has run (at once
  // when called on the Qt thread); false when the caller has stopped.
  bool call(std::function<void()> fn);
  void post(std::function<void()> fn);
  // On the Qt thread: ends all running of tasks.
  void stop();
  bool stopped() const;
  bool onQtThread() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace wevo::qtview

#endif  // WEVO_PLATFORM_VIEW_QT_QT_CALLER_H_
