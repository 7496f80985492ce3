// The running program: its host threads and their queues, the view and the
// scripted user, the transcript, how it ended, and the process-wide desktop
// state (window handles, focus, capture, cursor, frozen drawing).
//
// Locking: one mutex guards the queues, window stacks and desktop state; it
// is the program's own, and every method takes it itself. Nothing calls into
// the view or the scripted user while holding it.
#ifndef WEVO_PLATFORM_TOOLKIT_PROGRAM_STATE_H_
#define WEVO_PLATFORM_TOOLKIT_PROGRAM_STATE_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/mutex.h"
#include "platform/toolkit/screen.h"
#include "platform/view/view.h"
#include "wevo/program.h"

namespace wevo::toolkit {

class HostThread;
class ScriptedUser;
class WindowModel;
struct QueueItem;

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
  void startThread(std::function<void()> procedure) EXCLUDES(mu_);

  View& view() { return *view_; }
  ScriptedUser* scriptedUser() { return scripted_.get(); }
  const std::vector<std::string>& args() const { return args_; }
  // What the view was sent: the windows as on screen.
  Screen& screen() { return screen_; }

  // ---- What the view may ask (ViewHost) ----
  bool postInput(const InputMessage& message) override EXCLUDES(mu_);
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
  void endHalted(const std::string& text) EXCLUDES(mu_, resultMu_);
  void endFailed(const std::string& why) EXCLUDES(mu_, resultMu_);

  void record(std::string line) EXCLUDES(resultMu_);
  std::vector<std::string> transcript() const EXCLUDES(resultMu_);
  // Any host thread did something: the watchdog's measure of progress.
  void progress() { lastProgress_.store(now()); }

  // ---- Host threads and their queues ----
  // Queues an item for a thread (nothing once it has ended), waking it.
  void post(HostThread& t, QueueItem item) EXCLUDES(mu_);
  // The same for the thread with this number; nothing when there is none.
  void post(int thread, QueueItem item) EXCLUDES(mu_);
  // Takes the first item queued for `t` that the loop of `m` can take.
  bool take(HostThread& t, const WindowModel& m, QueueItem& item) EXCLUDES(mu_);
  // `t` waits in the loop of `m` with nothing to take: the scripted user
  // may deliver a step, then `t` sleeps until an item the loop can take
  // arrives or the program ends.
  void waitForInput(HostThread& t, WindowModel& m) EXCLUDES(mu_);
  // Whether the thread waits in a loop with nothing it could take (an ended
  // thread does); nullopt when there is no such thread.
  std::optional<bool> threadIdle(int thread) const EXCLUDES(mu_);
  // Some host thread still runs and every one of them is idle: nothing more
  // can happen without input. `threads` then says what each waits in.
  bool everyThreadIdle(std::string& threads) const EXCLUDES(mu_);
  std::string describeThreads() const EXCLUDES(mu_);

  // ---- Windows ----
  // Where the next window without a position goes.
  void placeWindow(double& x, double& y) EXCLUDES(mu_);
  // A window opened on `t`: its handles, the top of the thread's stack,
  // EVENT::OpenWindow queued, and the focus when it shows.
  void windowOpened(WindowModel& m, HostThread& t) EXCLUDES(mu_);
  // A window closed: its handles and queued events go; capture, frozen
  // drawing and focus leave it (the focus to the thread's next window, else
  // to the newest window shown).
  void windowClosed(WindowModel& m) EXCLUDES(mu_);
  // By window or client-area handle: the window's handle (0 when no window
  // has it), the host's Window, and the model when the calling host thread
  // owns the window (another thread's model is its own; it may close it).
  int64_t windowHandle(int64_t handle) const EXCLUDES(mu_);
  Window* windowOf(int64_t handle) const EXCLUDES(mu_);
  WindowModel* ownWindow(int64_t handle) const EXCLUDES(mu_);
  // The newest open window of `t`, or nullptr.
  WindowModel* topWindow(const HostThread& t) const EXCLUDES(mu_);
  // The open windows of `t` whose drawing is not frozen, oldest first.
  std::vector<WindowModel*> unfrozenWindows(const HostThread& t) const EXCLUDES(mu_);
  bool frozen(const WindowModel& m) const EXCLUDES(mu_);
  // Freezes the drawing of the window with this handle (0 or a handle of no
  // window: none). Returns the window frozen before when it is released.
  int64_t freeze(int64_t handle) EXCLUDES(mu_);

  // ---- Desktop ----
  // Moves the keyboard focus to `m` (nullptr: another application), posting
  // LoseFocus/GainFocus when it crosses threads.
  void setFocusWindow(WindowModel* m) EXCLUDES(mu_);
  // The same for the window with this handle; returns its handle, 0 (and
  // the focus stays) when no window has it.
  int64_t setFocusWindow(int64_t handle) EXCLUDES(mu_);
  // A press in `m`: it takes the focus unless it only holds the capture.
  void focusOnPress(WindowModel& m) EXCLUDES(mu_);
  // The window holding the mouse capture (0: none); setting resolves a
  // client-area handle and returns the window's (0 when none has it).
  int64_t capture() const EXCLUDES(mu_);
  int64_t setCapture(int64_t handle) EXCLUDES(mu_);
  int64_t focusWindowHandle() const EXCLUDES(mu_);
  std::string cursor() const EXCLUDES(mu_);
  void setCursor(std::string cursor) EXCLUDES(mu_);

 private:
  friend class HostThread;

  ProgramResult run(std::function<void()> main);
  // After the view's loop: waits a while for the host threads to end, then
  // joins those that did (the others are left behind).
  void waitForThreads() EXCLUDES(mu_);
  ProgramResult joinThreads() EXCLUDES(mu_, resultMu_);
  static int64_t now();
  void hostMain(std::shared_ptr<HostThread> t, std::function<void()> procedure);
  void threadEnded(HostThread& t) EXCLUDES(mu_);
  void watchdog() EXCLUDES(mu_);
  void wakeAll() EXCLUDES(mu_);
  // Tells the analysis that `t` is one of this program's threads, whose
  // shared state mu_ guards (the definition says so, where HostThread is known).
  void owns(const HostThread& t) const REQUIRES(mu_);

  HostThread* threadLocked(int id) const REQUIRES(mu_);
  void pushLocked(HostThread& t, QueueItem item) REQUIRES(mu_);
  bool takeableLocked(const HostThread& t, const WindowModel& m, const QueueItem& item) const REQUIRES(mu_);
  bool idleLocked(const HostThread& t) const REQUIRES(mu_);
  std::string describeThreadsLocked() const REQUIRES(mu_);
  WindowModel* byHandleLocked(int64_t handle) const REQUIRES(mu_);
  WindowModel* topmostLocked(const HostThread& t) const REQUIRES(mu_);
  void setFocusWindowLocked(WindowModel* m) REQUIRES(mu_);

  std::unique_ptr<View> view_;
  std::unique_ptr<ScriptedUser> scripted_;
  std::vector<std::string> args_;
  int stallSeconds_ = 0;
  Screen screen_;

  mutable base::Mutex mu_;
  base::CondVar endedCv_;
  std::vector<std::shared_ptr<HostThread>> threads_ GUARDED_BY(mu_);
  std::vector<std::thread> osThreads_ GUARDED_BY(mu_);
  int live_ GUARDED_BY(mu_) = 0;
  int nextThreadId_ GUARDED_BY(mu_) = 1;
  std::map<int64_t, WindowModel*> handles_ GUARDED_BY(mu_);  // by window handle
  int64_t nextHandle_ GUARDED_BY(mu_) = 0x10000;
  int64_t openOrder_ GUARDED_BY(mu_) = 0;
  int placement_ GUARDED_BY(mu_) = 0;
  // The desktop.
  int64_t capture_ GUARDED_BY(mu_) = 0;  // window handle holding the mouse capture
  WindowModel* focusWindow_ GUARDED_BY(mu_) = nullptr;
  bool focusAway_ GUARDED_BY(mu_) = false;  // the user switched to another application
  std::string cursor_ GUARDED_BY(mu_);
  int64_t frozen_ GUARDED_BY(mu_) = 0;  // window whose drawing is frozen

  std::atomic<bool> ending_{false};
  mutable base::Mutex resultMu_;
  ProgramResult result_ GUARDED_BY(resultMu_);
  std::atomic<int64_t> lastProgress_{0};
};

}  // namespace wevo::toolkit

#endif  // WEVO_PLATFORM_TOOLKIT_PROGRAM_STATE_H_
