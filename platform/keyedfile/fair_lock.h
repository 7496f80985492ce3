// Waiting for a file in the order stations asked: first come, first served,
// across threads and processes, with a bound on every wait.
//
// SQLite's own locks are taken by whoever tries at the right moment; a
// station that waits sleeps and tries again, and under load one station can
// keep losing for seconds. So every station of this library takes its turn
// here before it touches the file, and SQLite's locks are then never
// contended between them (its busy wait is left for other programs, such as
// the sqlcipher shell). Two lines of turns:
//
//   the writers' line   one writer at a time, from the start of its write
//                       transaction to its end (readers do not wait for it);
//   the access line     readers share it, and a writer takes it alone for
//                       the moment its writes reach the file (its commit, or
//                       a write outside a transaction). A reader never
//                       overtakes a writer that asked before it, nor a
//                       writer a reader.
//
// Turns are kept in the file's lock file ("<file>-lock", file_lock.h) as
// advisory locks of the open file description on one byte per turn, so a
// station that dies gives up its turns at once; a few counters in the same
// file, mapped into memory, hand out the numbers and wake the waiters.
//
// Within one thread, a turn of the same line that the thread already holds
// through another instance of the same file is not waited for again: the
// thread's instances are one station.
#ifndef WEVO_PLATFORM_KEYEDFILE_FAIR_LOCK_H_
#define WEVO_PLATFORM_KEYEDFILE_FAIR_LOCK_H_

#include <chrono>
#include <cstdint>

namespace wevo::kf {

// How long the calling thread has waited for turns so far, in all (for
// measurements: a caller takes the difference around its work).
uint64_t turnWaitMicros();

// Counts the time of its life into the calling thread's wait for turns: for
// waits that are not a file's lines (a server's locks, asked for together
// with the work they guard).
class TurnWait {
 public:
  TurnWait();
  ~TurnWait();
  TurnWait(const TurnWait&) = delete;
  TurnWait& operator=(const TurnWait&) = delete;

 private:
  std::chrono::steady_clock::time_point start_;
};

class FairLock {
 public:
  enum class Line { kWriters = 0, kAccess = 1 };
  enum class Result { kHeld, kTimedOut, kError };

  FairLock() = default;
  ~FairLock();  // gives up every turn held and detaches
  FairLock(const FairLock&) = delete;
  FairLock& operator=(const FairLock&) = delete;

  // Works on the lock file open as `fd` (read and write), which must stay
  // open until detach(). False, with errno set, when the file cannot be
  // prepared; the lock is then not attached and every take fails.
  bool attach(int fd);
  void detach();
  bool attached() const { return shared_ != nullptr; }

  // Takes a turn in `line` (exclusive: alone; the writers' line has no
  // shared turns), waiting up to `waitMillis` for the stations that asked
  // before: kTimedOut when they keep it. A lock that is not attached waits
  // for nothing (kHeld). kError: errno tells why. Taking a line held already
  // does nothing.
  Result take(Line line, bool exclusive, int waitMillis);
  // Gives the turn of `line` back (nothing when none is held).
  void give(Line line);
  bool holds(Line line) const { return turns_[static_cast<int>(line)].held; }
  // How many turns of `line` stations have asked for on this file so far
  // (0 unattached): a station that asked is in the line.
  uint64_t asked(Line line) const;

 private:
  struct Shared;
  struct Turn {
    bool held = false;
    uint64_t ticket = 0;  // 0: held through the thread's other instance (nested) or unattached
    bool exclusive = false;
  };

  bool before(Line line, bool exclusive, uint64_t ticket, bool* free) const;
  void unlockTicket(Line line, const Turn& turn);
  void wakeWaiters();

  int fd_ = -1;
  uint64_t device_ = 0, inode_ = 0;
  Shared* shared_ = nullptr;
  Turn turns_[2];
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_FAIR_LOCK_H_
