// The advisory lock that carries a file's access mode: flock() on a side file
// "<file>-lock", shared for openers that let others write, exclusive for those
// that deny it.
//
// The database file itself is never locked or opened by us: closing any extra
// descriptor on it would drop the POSIX locks SQLite holds on it for every
// connection of this process. Each FileLock has a descriptor of its own, so
// two openers in one process (or one thread) conflict like two processes.
#ifndef WEVO_PLATFORM_KEYEDFILE_FILE_LOCK_H_
#define WEVO_PLATFORM_KEYEDFILE_FILE_LOCK_H_

#include <string>

namespace wevo::kf {

class FileLock {
 public:
  enum class Result { kLocked, kBusy, kError };

  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock of `file` (creating its lock file), trying again for up to
  // `waitMillis` while another holder refuses it. kError: see error().
  Result acquire(const std::string& file, bool exclusive, int waitMillis);
  void release();
  bool held() const { return fd_ >= 0; }
  // The lock file's descriptor while held (read and write), for the turns
  // kept in it (fair_lock.h).
  int fd() const { return fd_; }
  int error() const { return errno_; }  // errno of the last kError

  // "<file>-lock".
  static std::string lockName(const std::string& file);

 private:
  int fd_ = -1;
  int errno_ = 0;
};

}  // namespace wevo::kf

#endif  // WEVO_PLATFORM_KEYEDFILE_FILE_LOCK_H_
