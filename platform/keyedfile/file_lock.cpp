#include "platform/keyedfile/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace wevo::kf {
namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(20);

}  // namespace

FileLock::~FileLock() { release(); }

std::string FileLock::lockName(const std::string& file) { return file + "-lock"; }

FileLock::Result FileLock::acquire(const std::string& file, bool exclusive, int waitMillis) {
  release();
  const std::string path = lockName(file);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMillis);
  for (;;) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      errno_ = errno;
      return Result::kError;
    }
    if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) {
      // A remover may have unlinked the lock file between our open and our
      // lock; a lock on that orphan protects nothing, so take the new one.
      struct stat held {}, named {};
      if (::fstat(fd, &held) != 0) {
        errno_ = errno;
        ::close(fd);
        return Result::kError;
      }
      if (::stat(path.c_str(), &named) == 0) {
        if (held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
          fd_ = fd;
          return Result::kLocked;
        }
      } else if (errno != ENOENT) {
        errno_ = errno;
        ::close(fd);
        return Result::kError;
      }
      ::close(fd);
      continue;
    }
    int e = errno;
    ::close(fd);
    if (e != EWOULDBLOCK && e != EINTR) {
      errno_ = e;
      return Result::kError;
    }
    if (std::chrono::steady_clock::now() >= deadline) return Result::kBusy;
    std::this_thread::sleep_for(kPollInterval);
  }
}

void FileLock::release() {
  if (fd_ >= 0) {
    ::close(fd_);  // closing drops the flock
    fd_ = -1;
  }
}

}  // namespace wevo::kf
