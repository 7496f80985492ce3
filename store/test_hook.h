// A function tests may set to run at a fixed point of an operation (to stop
// it there, or to let another station in). Process-wide and guarded: the
// operation takes a copy of the function under the lock and calls it outside,
// so a hook may itself block or set hooks.
#ifndef WEVO_STORE_TEST_HOOK_H_
#define WEVO_STORE_TEST_HOOK_H_

#include <functional>
#include <utility>

#include "platform/base/mutex.h"

namespace wevo::store {

template <typename... Args>
class TestHook {
 public:
  using Function = std::function<void(Args...)>;

  void set(Function fn) EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    fn_ = std::move(fn);
  }
  // The function set now (empty: none).
  Function get() const EXCLUDES(mutex_) {
    base::MutexLock lock(mutex_);
    return fn_;
  }
  void run(Args... args) const {
    if (Function fn = get()) fn(args...);
  }

 private:
  mutable base::Mutex mutex_;
  Function fn_ GUARDED_BY(mutex_);
};

}  // namespace wevo::store

#endif  // WEVO_STORE_TEST_HOOK_H_
