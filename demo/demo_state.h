// What the demonstration's threads share: the windows they have open, and
// whether the program is closing. The frame's procedure makes it and each
// thread it starts holds it, so it outlives every window.
#ifndef WEVO_DEMO_DEMO_STATE_H_
#define WEVO_DEMO_DEMO_STATE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/base/mutex.h"
#include "wevo/window.h"

namespace wevo::demo {

class DemoState {
 public:
  // Notes an open window of the calling thread. False, noting nothing, once
  // the program is closing: the caller then closes the window.
  bool add(Window& window, std::string caption);
  void remove(Window& window);

  // The program is closing: every window noted gets a close request (posted,
  // so each closes on its own thread when its loop next waits), and no
  // window is noted any more.
  void closeAll();
  bool closing() const;

  // The newest noted window of the calling thread with this caption, or
  // nullptr.
  Window* find(std::string_view caption) const;
  // How many windows are noted.
  size_t count() const;

  // Sample windows: the window of the calling thread is a sample window
  // and is the one the user works in now (it opened, or took the focus from
  // a window of another thread). The frame's edit commands act on it.
  void activateSample(Window& window);
  // The handle of the sample window the user worked in last; 0 when none is
  // open.
  int64_t activeSample() const;
  // The handles of the open sample windows, in the order they opened.
  std::vector<int64_t> samples() const;

  // Where the sample windows keep the store when the user named a place
  // (wevodemo --store): a folder, or a PostgreSQL server's address; "" when
  // none was named (the store then lies where the program's install puts it).
  void setStore(std::string location);
  std::string store() const;

 private:
  struct Entry {
    Window* window;
    std::string caption;
    std::thread::id thread;
    int64_t handle = 0;
    uint64_t activated = 0;  // when it was last activated; 0: not a sample window
  };
  mutable base::Mutex mu_;
  bool closing_ GUARDED_BY(mu_) = false;
  uint64_t activations_ GUARDED_BY(mu_) = 0;
  std::vector<Entry> windows_ GUARDED_BY(mu_);
  std::string store_ GUARDED_BY(mu_);
};

// Notes a window for as long as it lives in a scope:
//   Window w(decl); w.open();
//   Noted noted(state, w, "Control Window");
//   if (!noted) return;   // the program is closing
class Noted {
 public:
  Noted(DemoState& state, Window& window, std::string caption);
  ~Noted();
  Noted(const Noted&) = delete;
  Noted& operator=(const Noted&) = delete;
  explicit operator bool() const { return added_; }

 private:
  DemoState& state_;
  Window& window_;
  bool added_;
};

}  // namespace wevo::demo

#endif  // WEVO_DEMO_DEMO_STATE_H_
