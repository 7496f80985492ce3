// The running program: its host threads and their queues, the view and the
// scripted user, the transcript, how it ended, and the process-wide desktop
// state (window handles, focus, capture, cursor, frozen drawing).
//
// Locking: `mu` guards the queues, window stacks and desktop state. Never
// call into the view or the scripted user while holding it.
#ifndef WEVO_PLATFORM_TOOLKIT_PROGRAM_STATE_H_
#define WEVO_PLATFORM_TOOLKIT_PROGRAM_STATE_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/screen.h"
#include "platform/view/view.h"
#include "wevo/program.h"

namespace wevo::toolkit {

class ScriptedUser;
class WindowModel;

// Thrown on a host thread to unwind it when the program ends (halt, a failed
// script, the watchdog). Caught where the host thread started; deliberately
// not a std::exception, so that host code catching those lets it pass.
struct ProgramEnd {};

// The program is its view's host: the view asks it for what ViewHost offers.
class Program final : public ViewHost {
 public:
  explicit Program(const RunOptions& options);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // The running program, or nullptr.
  static std::shared_ptr<Program> current();
  // The running program; throws std::logic_error when none runs.
  static Program& require();

  // wevo::run: makes the program current, runs it to its end, and returns
  // how it ended. Throws std::logic_error when a program is running already.
  static ProgramResult runProgram(std::function<void()> main, const RunOptions& options);
  // A program without a main procedure, for a host that runs the view's
  // event loop itself (a Qt program keeps its QApplication::exec()): it is
  // current at once and its host threads come from start(). Throws
  // std::logic_error when a program is running already.
  static std::shared_ptr<Program> attach(const RunOptions& options);
  // Ends an attached program: every host thread unwinds (within seconds,
  // else it is left behind), then the program stops being current. On the
  // thread that attached it.
  ProgramResult detach();
  // Starts a host thread running `procedure`.
  void startThread(std::function<void()> procedure);

  View& view() { return *view_; }
  ScriptedUser* scriptedUser() { return scripted_.get(); }
  const std::vector<std::string>& args() const { return args_; }

  // ---- What the view may ask (ViewHost) ----
  bool postInput(const InputMessage& message) override;
  std::optional<ShownWindow> window(int64_t handle) const override;
  void flush() override;
  void endProgram(const std::string& why) override { endFailed(why); }
  bool scripted() const override { return scripted_ != nullptr; }

  // ---- Ending ----
  bool ending() const override { return ending_.load(); }
  // Throws ProgramEnd when the program is ending.
  void checkEnding() const {
    if (ending_.load()) throw ProgramEnd{};
  }
  // Ends the program: halted with `text` (halt, stop), or failed with `why`
  // (the first reason wins). Wakes every host thread.
  void endHalted(const std::string& text);
  void endFailed(const std::string& why);

  void record(std::string line);
  std::vector<std::string> transcript() const;
  // Any host thread did something: the watchdog's measure of progress.
  void progress() { lastProgress_.store(now()); }

  // ---- Queues (mu held) ----
  std::mutex mu;
  HostThread* threadLocked(int id);
  // Pushes an item and wakes the thread if its waiting loop can take it.
  void pushLocked(HostThread& t, QueueItem item);
  bool takeableLocked(const HostThread& t, const WindowModel& m, const QueueItem& item) const;
  // Waiting in a loop with nothing it could take.
  bool idleLocked(const HostThread& t) const;
  // Some host thread but `except` still runs and every one of them is idle
  // (the scripted user's test for "nothing more can happen").
  bool othersIdleLocked(int except) const;
  std::string describeThreadsLocked() const;
  std::vector<std::shared_ptr<HostThread>>& threadsLocked() { return threads_; }

  // ---- Windows (mu held) ----
  void registerLocked(WindowModel& m, HostThread& t);
  void unregisterLocked(WindowModel& m);
  WindowModel* byHandleLocked(int64_t handle) const;  // window or client handle
  WindowModel* topmostLocked(const HostThread& t) const;
  void nextPlacement(double& x, double& y);

  // ---- Desktop (mu held) ----
  int64_t capture = 0;             // window handle holding the mouse capture
  WindowModel* focusWindow = nullptr;
  bool focusAway = false;          // the user switched to another application
  std::string cursor;
  int64_t frozen = 0;              // window whose drawing is frozen
  // Moves the focus to `m` (nullptr: another application), posting
  // LoseFocus/GainFocus when it crosses threads.
  void setFocusWindowLocked(WindowModel* m);

  Screen& published() { return published_; }

 private:
  ProgramResult run(std::function<void()> main);
  // After the view's loop: waits for the host threads and joins them.
  ProgramResult joinThreads();
  static int64_t now();
  void hostMain(std::shared_ptr<HostThread> t, std::function<void()> procedure);
  void threadEnded(HostThread& t);
  void watchdog();
  void wakeAllLocked();

  std::unique_ptr<View> view_;
  std::unique_ptr<ScriptedUser> scripted_;
  std::vector<std::string> args_;
  int stallSeconds_ = 0;

  std::vector<std::shared_ptr<HostThread>> threads_;  // mu
  std::vector<std::thread> osThreads_;                // mu
  int live_ = 0;                                      // mu
  int nextThreadId_ = 1;                              // mu
  std::condition_variable endedCv_;

  std::map<int64_t, WindowModel*> handles_;  // mu; window handles
  int64_t nextHandle_ = 0x10000;
  int64_t openOrder_ = 0;
  int placement_ = 0;

  std::atomic<bool> ending_{false};
  mutable std::mutex resultMu_;
  ProgramResult result_;
  std::atomic<int64_t> lastProgress_{0};
  Screen published_;
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_PROGRAM_STATE_H_
