#include "platform/keyedfile/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/keyedfile/connection.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/file_lock.h"
#include "platform/keyedfile/sqlite_db.h"

namespace wevo::kf {
namespace {

constexpr int kChunk = 64 * 1024;

std::string journalName(const std::string& name) { return name + "-journal"; }

bool writeAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

// Holds a shared lock on the database through SQLite's handle, waiting for a
// committing writer as a statement would.
int lockShared(Db& db) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBusyMillis);
  for (;;) {
    int rc = db.lockRawShared();
    if (rc != kSqlBusy) return rc;
    if (std::chrono::steady_clock::now() >= deadline) return rc;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

int copyLocked(Db& src, const std::string& from, const std::string& to) {
  // A journal that no writer holds is an interrupted transaction: the file's
  // bytes are not a consistent store until an open rolls it back.
  struct stat js {};
  if (::stat(journalName(from).c_str(), &js) == 0 && js.st_size > 0) {
    bool reserved = false;
    int rc = src.rawReservedByOther(&reserved);
    if (rc != kSqlOk) return reportSqlFailure(&src, rc);
    if (!reserved) {
      setError(kErrLocked, 0, "interrupted transaction: open the file once to recover it");
      return kErrLocked;
    }
  }
  int64_t size = 0;
  int rc = src.rawSize(&size);
  if (rc != kSqlOk) return reportSqlFailure(&src, rc);

  const std::string temp = to + ".kfcopy";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return reportErrno(errno, temp);
  std::vector<char> buffer(kChunk);
  for (int64_t offset = 0; offset < size; offset += kChunk) {
    int n = static_cast<int>(std::min<int64_t>(kChunk, size - offset));
    rc = src.readRaw(buffer.data(), n, offset);
    if (rc != kSqlOk || !writeAll(fd, buffer.data(), static_cast<size_t>(n))) {
      int e = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      return rc != kSqlOk ? reportSqlFailure(&src, rc) : reportErrno(e, temp);
    }
  }
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return reportErrno(e, temp);
  }
  // A journal beside the target belongs to the file being replaced; left
  // there, the next open would play it back into the copy.
  if (::unlink(journalName(to).c_str()) != 0 && errno != ENOENT) {
    int e = errno;
    ::unlink(temp.c_str());
    return reportErrno(e, journalName(to));
  }
  if (::rename(temp.c_str(), to.c_str()) != 0) {
    int e = errno;
    ::unlink(temp.c_str());
    return reportErrno(e, to);
  }
  return kNoError;
}

}  // namespace

bool fileExists(const std::string& name) {
  struct stat st {};
  return !name.empty() && ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

int reportErrno(int e, const std::string& what) {
  int code = kErrDriver;
  if (e == ENOENT) code = kErrNotFound;
  if (e == EACCES || e == EPERM || e == EROFS) code = kErrAccessDenied;
  setError(code, e, what + ": " + std::strerror(e));
  return code;
}

int copyWholeFile(const std::string& from, const std::string& to) {
  if (!fileExists(from)) {
    setError(kErrNotFound);
    return kErrNotFound;
  }
  if (to.empty() || to == from) {
    setError(kErrBadRequest, 0, "copy needs another file name");
    return kErrBadRequest;
  }
  Db src;
  int rc = src.open(from, false, true);
  if (rc != kSqlOk) {
    int code = reportSqlFailure(&src, rc);
    src.close();
    return code;
  }
  rc = lockShared(src);
  if (rc != kSqlOk) {
    int code = reportSqlFailure(&src, rc);
    src.close();
    return code;
  }
  int code = copyLocked(src, from, to);
  src.unlockRaw();
  src.close();
  if (code == kNoError) clearError();
  return code;
}

int removeWholeFile(const std::string& name) {
  if (!fileExists(name)) {
    // A holder that died before the file came into being (or after it was
    // gone) may have left its lock file; nobody holding it, it goes too.
    if (fileExists(FileLock::lockName(name))) {
      FileLock lock;
      if (lock.acquire(name, true, 0) == FileLock::Result::kLocked) ::unlink(FileLock::lockName(name).c_str());
    }
    setError(kErrNotFound);
    return kErrNotFound;
  }
  FileLock lock;
  switch (lock.acquire(name, true, 0)) {
    case FileLock::Result::kLocked:
      break;
    case FileLock::Result::kBusy:
      setError(kErrLocked);
      return kErrLocked;
    case FileLock::Result::kError:
      return reportErrno(lock.error(), FileLock::lockName(name));
  }
  if (::unlink(name.c_str()) != 0) return reportErrno(errno, name);
  ::unlink(journalName(name).c_str());
  ::unlink(FileLock::lockName(name).c_str());
  clearError();
  return kNoError;
}

}  // namespace wevo::kf
