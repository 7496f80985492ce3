// The one mutex type of the library: a std::mutex the compiler can reason
// about. State shared between threads is GUARDED_BY a Mutex, functions that
// expect it held say REQUIRES, and MutexLock holds it for a scope.
#ifndef WEVO_PLATFORM_BASE_MUTEX_H_
#define WEVO_PLATFORM_BASE_MUTEX_H_

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/base/thread_annotations.h"

namespace wevo::base {

class CAPABILITY("mutex") Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock() ACQUIRE() { mu_.lock(); }
  void unlock() RELEASE() { mu_.unlock(); }
  bool try_lock() TRY_ACQUIRE(true) { return mu_.try_lock(); }
  // For the analysis only: tells it that the calling code holds the mutex.
  void assertHeld() const ASSERT_CAPABILITY(this) {}

 private:
  friend class CondVar;
  std::mutex mu_;
};

// Holds a Mutex from construction to the end of the scope.
class SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mu) ACQUIRE(mu) : mu_(mu) { mu_.lock(); }
  ~MutexLock() RELEASE() { mu_.unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mu_;
};

// A condition variable waited on with a Mutex held; the mutex is held again
// when a wait returns.
class CondVar {
 public:
  CondVar() = default;
  CondVar(const CondVar&) = delete;
  CondVar& operator=(const CondVar&) = delete;

  void wait(Mutex& mu) REQUIRES(mu) {
    std::unique_lock<std::mutex> lock(mu.mu_, std::adopt_lock);
    cv_.wait(lock);
    lock.release();
  }
  template <typename Predicate>
  void wait(Mutex& mu, Predicate done) REQUIRES(mu) {
    while (!done()) wait(mu);
  }
  // False when the deadline passed first.
  template <typename Clock, typename Duration>
  bool waitUntil(Mutex& mu, const std::chrono::time_point<Clock, Duration>& deadline)
      REQUIRES(mu) {
    std::unique_lock<std::mutex> lock(mu.mu_, std::adopt_lock);
    const bool woken = cv_.wait_until(lock, deadline) == std::cv_status::no_timeout;
    lock.release();
    return woken;
  }
  template <typename Rep, typename Period>
  bool waitFor(Mutex& mu, const std::chrono::duration<Rep, Period>& timeout) REQUIRES(mu) {
    return waitUntil(mu, std::chrono::steady_clock::now() + timeout);
  }
  void notifyOne() { cv_.notify_one(); }
  void notifyAll() { cv_.notify_all(); }

 private:
  std::condition_variable cv_;
};

}  // namespace wevo::base

#endif  // WEVO_PLATFORM_BASE_MUTEX_H_
