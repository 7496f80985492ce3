#include "platform/keyedfile/fair_lock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using Line = FairLock::Line;
using Result = FairLock::Result;

// One station: its own descriptor of the lock file and its own turns.
struct Station {
  explicit Station(const std::string& path) : fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
    attached = fd >= 0 && lock.attach(fd);
  }
  ~Station() {
    lock.detach();
    if (fd >= 0) ::close(fd);
  }
  int fd;
  FairLock lock;
  bool attached = false;
};

// Stations asking for turns on their own threads, noting the order in which
// they got them.
class Stations {
 public:
  explicit Stations(std::string path) : path_(std::move(path)) {}
  ~Stations() {
    for (std::thread& t : threads_) t.join();
  }

  // Starts a station on a thread of its own that takes a turn, notes its
  // name, holds the turn until `release` is set, and gives it back. Returns
  // once the station stands in the line.
  void ask(const std::string& name, Line line, bool exclusive, const std::atomic<bool>& release, int waitMillis = 5000) {
    Station probe(path_);
    const uint64_t before = probe.lock.asked(line);
    threads_.emplace_back([this, name, line, exclusive, &release, waitMillis] {
      Station s(path_);
      const Result r = s.lock.take(line, exclusive, waitMillis);
      note(r == Result::kHeld ? name : name + " timed out");
      if (r != Result::kHeld) return;
      while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      s.lock.give(line);
    });
    while (probe.lock.asked(line) == before) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  void note(const std::string& what) {
    std::lock_guard lock(mutex_);
    order_.push_back(what);
  }
  std::vector<std::string> order() {
    std::lock_guard lock(mutex_);
    return order_;
  }
  // Waits until `n` stations noted something.
  void awaitNotes(size_t n) {
    while (order().size() < n) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

 private:
  std::string path_;
  std::vector<std::thread> threads_;
  std::mutex mutex_;
  std::vector<std::string> order_;
};

TEST(FairLock, StationsGetTheFileInTheOrderTheyAsked) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("items.db-lock");
  Stations stations(path);
  std::atomic<bool> releaseReader{false}, releaseWriter{false}, releaseLate{false}, releaseLast{false};
  // A reader holds the file; a writer asks and waits for it; a reader who
  // asks after the writer waits too, though it could share with the first.
  stations.ask("first reader", Line::kAccess, false, releaseReader);
  stations.awaitNotes(1);
  stations.ask("writer", Line::kAccess, true, releaseWriter);
  stations.ask("late reader", Line::kAccess, false, releaseLate);
  stations.ask("last writer", Line::kAccess, true, releaseLast);
  EXPECT_EQ(stations.order(), std::vector<std::string>{"first reader"});
  releaseReader = true;
  stations.awaitNotes(2);
  EXPECT_EQ(stations.order().back(), "writer");
  releaseWriter = true;
  stations.awaitNotes(3);
  releaseLate = true;
  releaseLast = true;
  stations.awaitNotes(4);
  EXPECT_EQ(stations.order(), (std::vector<std::string>{"first reader", "writer", "late reader", "last writer"}));
}

// A station on a thread of its own (a thread's instances are one station):
// it takes a turn and holds it until given back.
class Elsewhere {
 public:
  Elsewhere(const std::string& path, Line line, bool exclusive, int waitMillis = 0)
      : thread_([this, path, line, exclusive, waitMillis] {
          Station s(path);
          result_ = s.lock.take(line, exclusive, waitMillis);
          taken_ = true;
          while (!give_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
          s.lock.give(line);
        }) {
    while (!taken_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~Elsewhere() { giveBack(); }
  Result result() const { return result_; }
  void giveBack() {
    give_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::atomic<bool> taken_{false}, give_{false};
  Result result_ = Result::kError;
  std::thread thread_;
};

TEST(FairLock, ReadersShareAndWritersOfTheirLineDoNotStopThem) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("items.db-lock");
  Station writer(path);
  ASSERT_TRUE(writer.attached);
  ASSERT_EQ(writer.lock.take(Line::kWriters, true, 0), Result::kHeld);
  // A writer in its transaction keeps other writers out, not readers.
  EXPECT_EQ(Elsewhere(path, Line::kWriters, true).result(), Result::kTimedOut);
  Elsewhere a(path, Line::kAccess, false), b(path, Line::kAccess, false);
  EXPECT_EQ(a.result(), Result::kHeld);
  EXPECT_EQ(b.result(), Result::kHeld);
  // Its writes reach the file only when the readers are done.
  EXPECT_EQ(writer.lock.take(Line::kAccess, true, 20), Result::kTimedOut);
  a.giveBack();
  b.giveBack();
  EXPECT_EQ(writer.lock.take(Line::kAccess, true, 0), Result::kHeld);
  writer.lock.give(Line::kAccess);
  writer.lock.give(Line::kWriters);
  EXPECT_EQ(Elsewhere(path, Line::kWriters, true).result(), Result::kHeld);
}

TEST(FairLock, AStationThatGaveUpOrDiedHoldsNobodyUp) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("items.db-lock");
  Station holder(path);
  ASSERT_EQ(holder.lock.take(Line::kAccess, true, 0), Result::kHeld);
  // A station that waited its time out leaves the line: the one behind it
  // is not kept waiting for it.
  EXPECT_EQ(Elsewhere(path, Line::kAccess, true, 30).result(), Result::kTimedOut);
  holder.lock.give(Line::kAccess);
  EXPECT_EQ(Elsewhere(path, Line::kAccess, true).result(), Result::kHeld);

  // A process that dies holding its turn gives it up with its life.
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    Station dying(path);
    char c = dying.lock.take(Line::kAccess, true, 0) == Result::kHeld ? 'y' : 'n';
    (void)!::write(ready[1], &c, 1);
    ::pause();
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  Station patient(path);
  EXPECT_EQ(patient.lock.take(Line::kAccess, false, 0), Result::kTimedOut);
  ::kill(child, SIGKILL);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  EXPECT_EQ(patient.lock.take(Line::kAccess, false, 5000), Result::kHeld);
}

TEST(FairLock, OneThreadsInstancesAreOneStation) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("items.db-lock");
  Station first(path), second(path);
  ASSERT_EQ(first.lock.take(Line::kAccess, true, 0), Result::kHeld);
  // The thread's other instance does not wait for the thread itself ...
  EXPECT_EQ(second.lock.take(Line::kAccess, false, 0), Result::kHeld);
  second.lock.give(Line::kAccess);
  // ... while another thread does.
  EXPECT_EQ(Elsewhere(path, Line::kAccess, false).result(), Result::kTimedOut);
  first.lock.give(Line::kAccess);
}

}  // namespace
}  // namespace wevo::kf
