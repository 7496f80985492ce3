#include "platform/keyedfile/fair_lock.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <ctime>
#include <vector>

namespace wevo::kf {

// The counters, at the start of the lock file.
struct FairLock::Shared {
  std::atomic<uint64_t> lastTicket[2];  // per line: the last number handed out
  std::atomic<uint32_t> released;       // counts turns given back; waiters sleep on it
  std::atomic<uint32_t> sleepers;       // stations asleep on `released`
};

namespace {

static_assert(std::atomic<uint64_t>::is_always_lock_free && std::atomic<uint32_t>::is_always_lock_free,
              "the counters are shared between processes");

constexpr off_t kSharedSize = 4096;

// The byte that hands out numbers, and where each line's turns lie: a turn
// numbered t holds byte base + t of its line (and, an exclusive access turn,
// byte exclusiveBase + t as well).
constexpr off_t kDoor = 0;
constexpr off_t kWritersBase = off_t{1} << 40;
constexpr off_t kAccessBase = off_t{2} << 40;
constexpr off_t kAccessExclusiveBase = off_t{3} << 40;
// A station asleep looks again this often, so that a turn given up by a
// station that died (which wakes nobody) is seen.
constexpr auto kLookAgain = std::chrono::milliseconds(10);

using Clock = std::chrono::steady_clock;

int lockRange(int fd, int cmd, short type, off_t start, off_t length) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = start;
  lock.l_len = length;
  int rc;
  do {
    rc = ::fcntl(fd, cmd, &lock);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

// The turns of this thread's instances, by lock file and line: a thread's
// instances are one station and never wait for each other.
struct Nested {
  uint64_t device, inode;
  int line;
  int count;
};
thread_local std::vector<Nested> tNested;

Nested* nestedOf(uint64_t device, uint64_t inode, int line) {
  for (Nested& n : tNested)
    if (n.device == device && n.inode == inode && n.line == line) return &n;
  return nullptr;
}

void noteHeld(uint64_t device, uint64_t inode, int line) {
  if (Nested* n = nestedOf(device, inode, line))
    ++n->count;
  else
    tNested.push_back({device, inode, line, 1});
}

void noteGiven(uint64_t device, uint64_t inode, int line) {
  for (size_t i = 0; i < tNested.size(); ++i) {
    Nested& n = tNested[i];
    if (n.device != device || n.inode != inode || n.line != line) continue;
    if (--n.count == 0) tNested.erase(tNested.begin() + static_cast<std::ptrdiff_t>(i));
    return;
  }
}

thread_local uint64_t tWaitedMicros = 0;

off_t baseOf(FairLock::Line line) { return line == FairLock::Line::kWriters ? kWritersBase : kAccessBase; }

}  // namespace

uint64_t turnWaitMicros() { return tWaitedMicros; }

TurnWait::TurnWait() : start_(Clock::now()) {}

TurnWait::~TurnWait() {
  tWaitedMicros +=
      static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start_).count());
}

FairLock::~FairLock() { detach(); }

bool FairLock::attach(int fd) {
  detach();
  struct stat st {};
  if (::fstat(fd, &st) != 0) return false;
  if (st.st_size < kSharedSize) {
    // The first station to use the file makes room for the counters; they
    // start at 0.
    if (lockRange(fd, F_OFD_SETLKW, F_WRLCK, kDoor, 1) != 0) return false;
    int rc = ::fstat(fd, &st);
    if (rc == 0 && st.st_size < kSharedSize) rc = ::ftruncate(fd, kSharedSize);
    const int e = errno;
    lockRange(fd, F_OFD_SETLK, F_UNLCK, kDoor, 1);
    if (rc != 0) {
      errno = e;
      return false;
    }
  }
  void* mapped = ::mmap(nullptr, kSharedSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) return false;
  fd_ = fd;
  device_ = static_cast<uint64_t>(st.st_dev);
  inode_ = static_cast<uint64_t>(st.st_ino);
  shared_ = static_cast<Shared*>(mapped);
  return true;
}

void FairLock::detach() {
  give(Line::kAccess);
  give(Line::kWriters);
  if (shared_ != nullptr) ::munmap(shared_, kSharedSize);
  shared_ = nullptr;
  fd_ = -1;
}

FairLock::Result FairLock::take(Line line, bool exclusive, int waitMillis) {
  Turn& turn = turns_[static_cast<int>(line)];
  if (turn.held) return Result::kHeld;
  exclusive = exclusive || line == Line::kWriters;
  const int index = static_cast<int>(line);
  if (shared_ == nullptr || nestedOf(device_, inode_, index) != nullptr) {
    turn = {true, 0, exclusive};
    if (shared_ != nullptr) noteHeld(device_, inode_, index);
    return Result::kHeld;
  }
  const TurnWait waited;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(waitMillis, 0));

  // A number, and the turn's bytes, in one step: nobody who asks later can
  // look for this turn before it is there.
  if (lockRange(fd_, F_OFD_SETLKW, F_WRLCK, kDoor, 1) != 0) return Result::kError;
  const uint64_t ticket = shared_->lastTicket[index].fetch_add(1) + 1;
  const off_t at = static_cast<off_t>(ticket);
  int rc = lockRange(fd_, F_OFD_SETLK, F_WRLCK, baseOf(line) + at, 1);
  if (rc == 0 && line == Line::kAccess && exclusive) rc = lockRange(fd_, F_OFD_SETLK, F_WRLCK, kAccessExclusiveBase + at, 1);
  const int e = errno;
  lockRange(fd_, F_OFD_SETLK, F_UNLCK, kDoor, 1);
  turn = {false, ticket, exclusive};
  if (rc != 0) {
    unlockTicket(line, turn);
    turn = {};
    errno = e;
    return Result::kError;
  }

  for (;;) {
    const uint32_t seen = shared_->released.load();
    bool free = false;
    if (!before(line, exclusive, ticket, &free)) {
      const int err = errno;
      unlockTicket(line, turn);
      turn = {};
      wakeWaiters();
      errno = err;
      return Result::kError;
    }
    if (free) break;
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      // Those who asked after this station may be free to go now.
      unlockTicket(line, turn);
      turn = {};
      wakeWaiters();
      return Result::kTimedOut;
    }
    const auto nap = std::min<Clock::duration>(deadline - now, kLookAgain);
    const auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(nap).count();
    struct timespec timeout {};
    timeout.tv_sec = static_cast<time_t>(nanos / 1000000000);
    timeout.tv_nsec = static_cast<long>(nanos % 1000000000);
    shared_->sleepers.fetch_add(1);
    ::syscall(SYS_futex, &shared_->released, FUTEX_WAIT, seen, &timeout, nullptr, 0);
    shared_->sleepers.fetch_sub(1);
  }
  turn.held = true;
  noteHeld(device_, inode_, index);
  return Result::kHeld;
}

uint64_t FairLock::asked(Line line) const {
  return shared_ == nullptr ? 0 : shared_->lastTicket[static_cast<int>(line)].load();
}

// Whether every turn that goes before `ticket` is over: for an exclusive
// turn every earlier one, for a shared one every earlier exclusive one.
bool FairLock::before(Line line, bool exclusive, uint64_t ticket, bool* free) const {
  *free = true;
  if (ticket <= 1) return true;
  const off_t base = line == Line::kAccess && !exclusive ? kAccessExclusiveBase : baseOf(line);
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = base + 1;
  probe.l_len = static_cast<off_t>(ticket) - 1;
  if (::fcntl(fd_, F_OFD_GETLK, &probe) != 0) return false;
  *free = probe.l_type == F_UNLCK;
  return true;
}

void FairLock::unlockTicket(Line line, const Turn& turn) {
  if (turn.ticket == 0) return;
  const off_t at = static_cast<off_t>(turn.ticket);
  if (line == Line::kAccess && turn.exclusive) lockRange(fd_, F_OFD_SETLK, F_UNLCK, kAccessExclusiveBase + at, 1);
  lockRange(fd_, F_OFD_SETLK, F_UNLCK, baseOf(line) + at, 1);
}

void FairLock::wakeWaiters() {
  shared_->released.fetch_add(1);
  if (shared_->sleepers.load() > 0) ::syscall(SYS_futex, &shared_->released, FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

void FairLock::give(Line line) {
  Turn& turn = turns_[static_cast<int>(line)];
  if (!turn.held) return;
  if (shared_ != nullptr) {
    noteGiven(device_, inode_, static_cast<int>(line));
    if (turn.ticket != 0) {
      unlockTicket(line, turn);
      wakeWaiters();
    }
  }
  turn = {};
}

}  // namespace wevo::kf
