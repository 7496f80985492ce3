// Child processes for the reliability tests: forked, bounded in time, killed
// on demand, and talking back through pipes.
//
// A child is forked while the parent holds no store connection and runs no
// program (SQLite connections and host threads do not survive a fork); it
// leaves with _exit, so that none of the parent's test machinery runs in it.
// Header only: included by *_test.cpp files alone.
#ifndef WEVO_TESTS_RELIABILITY_CHILD_PROCESS_H_
#define WEVO_TESTS_RELIABILITY_CHILD_PROCESS_H_

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace wevo::reliability {

// How a child ended.
struct ChildEnd {
  bool exited = false;    // by _exit / return; `code` holds the status
  int code = -1;
  bool signaled = false;  // by a signal; `signal` holds it
  int signal = 0;
  bool timedOut = false;  // still running at the deadline: killed with SIGKILL

  bool ok() const { return exited && code == 0; }
  std::string describe() const {
    if (timedOut) return "timed out (killed)";
    if (signaled) return "killed by signal " + std::to_string(signal);
    if (exited) return "exited with " + std::to_string(code);
    return "not waited for";
  }
};

// A one-way pipe. The writer side is meant for the child, the reader side for
// the parent; each closes the side it does not use.
class Pipe {
 public:
  Pipe() {
    if (::pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
  }
  ~Pipe() {
    closeRead();
    closeWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  bool valid() const { return fds_[0] >= 0 || fds_[1] >= 0; }
  void closeRead() { closeFd(fds_[0]); }
  void closeWrite() { closeFd(fds_[1]); }

  // Writes the whole line (a '\n' is added). Safe in a child.
  bool writeLine(const std::string& line) const {
    std::string data = line + "\n";
    const char* p = data.data();
    size_t n = data.size();
    while (n > 0) {
      ssize_t w = ::write(fds_[1], p, n);
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      p += w;
      n -= static_cast<size_t>(w);
    }
    return true;
  }

  // Reads what is available within `waitMillis` (0: what is there now) and
  // appends it to `buffer`; false once the writers are gone and all is read.
  bool readSome(std::string& buffer, int waitMillis) const {
    pollfd p{fds_[0], POLLIN, 0};
    int r = ::poll(&p, 1, waitMillis);
    if (r <= 0) return true;
    char chunk[4096];
    ssize_t n = ::read(fds_[0], chunk, sizeof chunk);
    if (n < 0) return errno == EINTR || errno == EAGAIN;
    if (n == 0) return false;
    buffer.append(chunk, static_cast<size_t>(n));
    return true;
  }

  // Everything until every writer closed its side.
  std::string readAll() const {
    std::string out;
    while (readSome(out, 1000)) {
    }
    return out;
  }

 private:
  static void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int fds_[2];
};

// Complete lines of `buffer`, which keeps the unfinished rest.
inline std::vector<std::string> takeLines(std::string& buffer) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t nl; (nl = buffer.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(buffer.substr(start, nl - start));
  buffer.erase(0, start);
  return lines;
}

// A started child. The destructor kills and reaps a child still running.
class Child {
 public:
  // Forks; the child runs `body` and leaves with its result as exit status.
  explicit Child(const std::function<int()>& body) {
    pid_ = ::fork();
    if (pid_ == 0) {
      int code = 70;
      try {
        code = body();
      } catch (...) {
        code = 71;
      }
      ::_exit(code);
    }
  }
  ~Child() {
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      reap(true);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }

  void kill() const {
    if (pid_ > 0 && !reaped_) ::kill(pid_, SIGKILL);
  }

  // Waits up to `timeoutMillis` for the child to end; a child still running
  // then is killed (timedOut). Waiting again returns the same end.
  ChildEnd wait(int timeoutMillis) {
    if (reaped_ || pid_ <= 0) return end_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMillis);
    int sleepMicros = 100;
    for (;;) {
      if (reap(false)) return end_;
      if (std::chrono::steady_clock::now() >= deadline) break;
      std::this_thread::sleep_for(std::chrono::microseconds(sleepMicros));
      if (sleepMicros < 20000) sleepMicros *= 2;
    }
    ::kill(pid_, SIGKILL);
    reap(true);
    end_.timedOut = true;
    return end_;
  }

 private:
  bool reap(bool block) {
    int status = 0;
    pid_t r;
    do {
      r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r != pid_) return false;
    reaped_ = true;
    if (WIFEXITED(status)) {
      end_.exited = true;
      end_.code = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
      end_.signaled = true;
      end_.signal = WTERMSIG(status);
    }
    return true;
  }

  pid_t pid_ = -1;
  bool reaped_ = false;
  ChildEnd end_;
};

// Holds children at a start line until the parent lets them all go at once:
// each child blocks in wait() until the parent calls release().
class StartLine {
 public:
  // In the child.
  void wait() {
    pipe_.closeWrite();
    std::string ignored;
    while (pipe_.readSome(ignored, 1000)) {
    }
  }
  // In the parent, once every child is forked.
  void release() { pipe_.closeWrite(); }

 private:
  Pipe pipe_;
};

}  // namespace wevo::reliability

#endif  // WEVO_TESTS_RELIABILITY_CHILD_PROCESS_H_
