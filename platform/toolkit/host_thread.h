// A host thread: a thread started by wevo::run or wevo::start. Its queue and
// window stack are shared with posting threads and reached only through its
// program (program_state.h), under the program's mutex; its current event
// state is its own.
#ifndef WEVO_PLATFORM_TOOLKIT_HOST_THREAD_H_
#define WEVO_PLATFORM_TOOLKIT_HOST_THREAD_H_

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "platform/base/mutex.h"
#include "platform/toolkit/program_state.h"
#include "platform/view/view.h"

namespace wevo {
class Window;
}

namespace wevo::toolkit {

class WindowModel;

struct QueueItem {
  enum Kind { Event, Input, Call };
  Kind kind = Event;
  int64_t window = 0;  // 0: the thread's topmost window (events posted to the thread)
  int event = 0;
  int field = 0;
  InputMessage input;
  std::function<void()> call;
  // An event posted by its own thread while it runs an input message carries
  // the key and mouse state of that input, so that events raised by several queued inputs each report their
  // own input rather than the last one's.
  bool hasInputState = false;
  int keyCode = 0;
  int keyState = 0;
  char keyChar = 0;
  int mouseScreenX = 0, mouseScreenY = 0;
};

class HostThread {
 public:
  HostThread(Program* owner, int number) : program(owner), id(number) {}

  Program* const program;
  const int id;

  // The thread's own.
  int event = 0;
  int field = 0;
  int keyCode = 0;
  int keyState = 0;  // KEY::Shift/Ctrl/Alt held at the last input
  char keyChar = 0;
  int mouseScreenX = 0, mouseScreenY = 0;
  WindowModel* mouseWindow = nullptr;  // the window the last mouse input was for
  Window* target = nullptr;
  bool targetSet = false;
  WindowModel* current = nullptr;  // the window whose event is current
  int processingInput = 0;         // > 0 while an input message runs through the window's procedures

 private:
  friend class Program;
  // Shared with other threads: only the program touches them.
  std::deque<QueueItem> queue_ GUARDED_BY(program->mu_);
  std::vector<WindowModel*> windows_ GUARDED_BY(program->mu_);  // open windows, oldest first
  WindowModel* waitingIn_ GUARDED_BY(program->mu_) = nullptr;    // the window whose loop waits for input
  bool finished_ GUARDED_BY(program->mu_) = false;
  base::CondVar cv_;
};

// The calling thread's host thread, or nullptr when it is not one.
HostThread* thisThread();
void setThisThread(HostThread* t);

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_HOST_THREAD_H_
