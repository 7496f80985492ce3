#include "platform/toolkit/program_state.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <optional>
#include <stdexcept>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/input.h"
#include "platform/toolkit/scripted_user.h"
#include "platform/toolkit/window_model.h"
#include "wevo/script.h"

namespace wevo::toolkit {

namespace {

// The running program.
struct Current {
  base::Mutex mu;
  std::shared_ptr<Program> program GUARDED_BY(mu);
};

Current& running() {
  static Current c;
  return c;
}

// How long an ended program waits for host threads that do not unwind.
constexpr auto kGrace = std::chrono::seconds(10);

std::string selfPath() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return "wevo";
  return std::string(buf, static_cast<size_t>(n));
}

}  // namespace

Program::Program(const RunOptions& options) {
  view_ = makeView(options.view ? options.view : headlessView(), *this);
  if (!view_) throw std::logic_error("the view factory made no view");
  args_ = options.args;
  if (args_.empty()) args_.push_back(selfPath());
  if (options.script != nullptr || !view_->hasPerson()) {
    std::vector<ScriptStep> steps;
    if (options.script != nullptr) steps = options.script->steps();
    scripted_ = std::make_unique<ScriptedUser>(*this, std::move(steps));
  }
  stallSeconds_ = options.stallSeconds > 0 ? options.stallSeconds : 60;
  lastProgress_.store(now());
}

Program::~Program() = default;

std::shared_ptr<Program> Program::current() {
  Current& c = running();
  base::MutexLock lock(c.mu);
  return c.program;
}

Program& Program::require() {
  Current& c = running();
  base::MutexLock lock(c.mu);
  if (!c.program) throw std::logic_error("no program is running (wevo::run)");
  return *c.program;
}

int64_t Program::now() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void Program::owns(const HostThread& t) const ASSERT_CAPABILITY(t.program->mu_) {
  (void)t;  // every thread the program reaches is its own: it made them
}

// ---- Running -------------------------------------------------------------------

ProgramResult Program::runProgram(std::function<void()> main, const RunOptions& options) {
  auto p = std::make_shared<Program>(options);
  Current& c = running();
  {
    base::MutexLock lock(c.mu);
    if (c.program) throw std::logic_error("a program is running already (one at a time per process)");
    c.program = p;
  }
  struct Uninstall {
    Current& c;
    ~Uninstall() {
      base::MutexLock lock(c.mu);
      c.program.reset();
    }
  } uninstall{c};
  return p->run(std::move(main));
}

ProgramResult Program::run(std::function<void()> main) {
  if (current().get() != this) throw std::logic_error("the program is not the current one");
  startThread(std::move(main));
  std::thread dog([this] { watchdog(); });
  view_->run();
  waitForThreads();
  dog.join();
  return joinThreads();
}

void Program::waitForThreads() {
  base::MutexLock lock(mu_);
  const auto deadline = std::chrono::steady_clock::now() + kGrace;
  while (live_ > 0 && endedCv_.waitUntil(mu_, deadline)) {
  }
}

ProgramResult Program::joinThreads() {
  std::vector<std::thread> os;
  std::vector<std::shared_ptr<HostThread>> ts;
  std::vector<bool> finished;
  {
    base::MutexLock lock(mu_);
    os.swap(osThreads_);
    ts = threads_;
    for (const auto& t : ts) {
      owns(*t);
      finished.push_back(t->finished_);
    }
  }
  for (size_t i = 0; i < os.size(); ++i) {
    // A thread that never unwound (stuck outside the toolkit) is left behind;
    // it keeps the program alive through its own reference.
    if (finished[i])
      os[i].join();
    else
      os[i].detach();
  }
  base::MutexLock lock(resultMu_);
  return result_;
}

std::shared_ptr<Program> Program::attach(const RunOptions& options) {
  auto p = std::make_shared<Program>(options);
  Current& c = running();
  base::MutexLock lock(c.mu);
  if (c.program) throw std::logic_error("a program is running already (one at a time per process)");
  c.program = p;
  return p;
}

ProgramResult Program::detach() {
  // An end asked for, neither halted nor failed: nothing goes in the result.
  ending_.store(true);
  wakeAll();
  waitForThreads();
  ProgramResult result = joinThreads();
  Current& c = running();
  base::MutexLock lock(c.mu);
  if (c.program.get() == this) c.program.reset();
  return result;
}

void Program::startThread(std::function<void()> procedure) {
  std::shared_ptr<Program> self = current();
  if (self.get() != this) throw std::logic_error("start: the program is not running");
  base::MutexLock lock(mu_);
  if (ending_.load()) return;
  auto t = std::make_shared<HostThread>(this, nextThreadId_++);
  threads_.push_back(t);
  ++live_;
  progress();
  osThreads_.emplace_back([self, t, proc = std::move(procedure)]() mutable { self->hostMain(t, std::move(proc)); });
}

void Program::hostMain(std::shared_ptr<HostThread> t, std::function<void()> procedure) {
  setThisThread(t.get());
  try {
    procedure();
  } catch (const ProgramEnd&) {
  } catch (const std::exception& e) {
    endFailed("host thread " + std::to_string(t->id) + " ended with an exception: " + e.what());
  } catch (...) {
    endFailed("host thread " + std::to_string(t->id) + " ended with an unknown exception");
  }
  procedure = nullptr;  // whatever the procedure held goes on this thread
  closeThreadWindows(*t);
  setThisThread(nullptr);
  threadEnded(*t);
}

void Program::threadEnded(HostThread& t) {
  bool last;
  {
    base::MutexLock lock(mu_);
    owns(t);
    t.finished_ = true;
    last = --live_ == 0;
    progress();
  }
  endedCv_.notifyAll();
  if (last) {
    view_->quit();
    return;
  }
  if (scripted_) scripted_->onThreadWaiting(-1);
}

void Program::watchdog() {
  base::MutexLock lock(mu_);
  while (live_ > 0 && !ending_.load()) {
    endedCv_.waitFor(mu_, std::chrono::milliseconds(50));
    if (live_ == 0 || ending_.load()) break;
    if (scripted_ && now() - lastProgress_.load() > static_cast<int64_t>(stallSeconds_) * 1000) {
      std::string threads = describeThreadsLocked();
      mu_.unlock();
      endFailed("no host thread got anything done for " + std::to_string(stallSeconds_) + " s (" +
                scripted_->position() + "; " + threads + ")");
      mu_.lock();
    }
  }
  if (live_ > 0) {
    // Ending: give the host threads time to unwind, then let run() return.
    const auto deadline = std::chrono::steady_clock::now() + kGrace;
    while (live_ > 0 && endedCv_.waitUntil(mu_, deadline)) {
    }
    mu_.unlock();
    view_->quit();
    mu_.lock();
  }
}

// ---- Ending ----------------------------------------------------------------------

void Program::endHalted(const std::string& textIn) {
  {
    base::MutexLock lock(resultMu_);
    if (ending_.load()) return;
    result_.halted = true;
    result_.haltText = textIn;
    result_.transcript.push_back("halt \"" + textIn + "\"");
    ending_.store(true);
  }
  wakeAll();
}

void Program::endFailed(const std::string& why) {
  {
    base::MutexLock lock(resultMu_);
    if (ending_.load()) return;
    result_.failed = true;
    result_.failure = why;
    ending_.store(true);
  }
  wakeAll();
}

void Program::wakeAll() {
  base::MutexLock lock(mu_);
  for (auto& t : threads_) t->cv_.notifyAll();
  endedCv_.notifyAll();
}

void Program::record(std::string line) {
  base::MutexLock lock(resultMu_);
  result_.transcript.push_back(std::move(line));
}

std::vector<std::string> Program::transcript() const {
  base::MutexLock lock(resultMu_);
  return result_.transcript;
}

// ---- What the view may ask ------------------------------------------------------

bool Program::postInput(const InputMessage& msg) {
  base::MutexLock lock(mu_);
  WindowModel* target = nullptr;
  bool captured = false;
  if (isMouseInput(msg.kind) && capture_ != 0) {
    target = byHandleLocked(capture_);
    captured = target != nullptr;
  }
  if (target == nullptr) {
    if (msg.kind == InputMessage::KeyDown || msg.kind == InputMessage::Char || msg.kind == InputMessage::Text)
      target = msg.window != 0 ? byHandleLocked(msg.window) : focusWindow_;
    else if (msg.kind == InputMessage::Activate && msg.window == 0)
      target = focusWindow_;
    else
      target = byHandleLocked(msg.window);
  }
  if (target == nullptr) return false;
  HostThread* t = threadLocked(target->ownerThread());
  if (t == nullptr) return false;
  // A window under a later window of its thread takes no input.
  if (!captured && msg.kind != InputMessage::Call && topmostLocked(*t) != target) return false;
  QueueItem item;
  item.kind = msg.kind == InputMessage::Call ? QueueItem::Call : QueueItem::Input;
  item.window = target->handle();
  item.input = msg;
  item.call = msg.call;
  pushLocked(*t, std::move(item));
  return true;
}

std::optional<ShownWindow> Program::window(int64_t handle) const {
  std::optional<ScreenWindow> shown = screen_.window(handle);
  if (!shown) return std::nullopt;
  return static_cast<ShownWindow&&>(std::move(*shown));
}

void Program::flush() {
  if (HostThread* t = thisThread(); t != nullptr && t->program == this) flushThread(*t);
}

// ---- Host threads and their queues ----------------------------------------------

HostThread* Program::threadLocked(int id) const {
  for (const auto& t : threads_)
    if (t->id == id) return t.get();
  return nullptr;
}

void Program::pushLocked(HostThread& t, QueueItem item) {
  owns(t);
  if (t.finished_) return;
  t.queue_.push_back(std::move(item));
  t.cv_.notifyAll();
}

void Program::post(HostThread& t, QueueItem item) {
  base::MutexLock lock(mu_);
  pushLocked(t, std::move(item));
}

void Program::post(int thread, QueueItem item) {
  base::MutexLock lock(mu_);
  if (HostThread* t = threadLocked(thread)) pushLocked(*t, std::move(item));
}

bool Program::takeableLocked(const HostThread& t, const WindowModel& m, const QueueItem& item) const {
  if (item.kind == QueueItem::Call) return true;  // runs in whichever loop waits
  if (item.window == 0) return topmostLocked(t) == &m;
  return item.window == m.handle();
}

bool Program::take(HostThread& t, const WindowModel& m, QueueItem& item) {
  base::MutexLock lock(mu_);
  owns(t);
  for (auto it = t.queue_.begin(); it != t.queue_.end(); ++it)
    if (takeableLocked(t, m, *it)) {
      item = std::move(*it);
      t.queue_.erase(it);
      return true;
    }
  return false;
}

void Program::waitForInput(HostThread& t, WindowModel& m) {
  {
    base::MutexLock lock(mu_);
    owns(t);
    t.waitingIn_ = &m;
  }
  if (scripted_) scripted_->onThreadWaiting(t.id);
  base::MutexLock lock(mu_);
  owns(t);
  auto ready = [&]() REQUIRES(mu_) {
    owns(t);
    if (ending()) return true;
    for (const QueueItem& q : t.queue_)
      if (takeableLocked(t, m, q)) return true;
    return false;
  };
  while (!ready()) t.cv_.wait(mu_);
  t.waitingIn_ = nullptr;
}

bool Program::idleLocked(const HostThread& t) const {
  owns(t);
  if (t.finished_) return true;
  if (t.waitingIn_ == nullptr) return false;
  for (const QueueItem& item : t.queue_)
    if (takeableLocked(t, *t.waitingIn_, item)) return false;
  return true;
}

std::optional<bool> Program::threadIdle(int thread) const {
  base::MutexLock lock(mu_);
  const HostThread* t = threadLocked(thread);
  if (t == nullptr) return std::nullopt;
  return idleLocked(*t);
}

bool Program::everyThreadIdle(std::string& threads) const {
  base::MutexLock lock(mu_);
  bool anyWaits = false;
  for (const auto& t : threads_) {
    owns(*t);
    if (t->finished_) continue;
    if (!idleLocked(*t)) return false;
    anyWaits = true;
  }
  // With every thread ended the program is ending, not stuck.
  if (anyWaits) threads = describeThreadsLocked();
  return anyWaits;
}

std::string Program::describeThreads() const {
  base::MutexLock lock(mu_);
  return describeThreadsLocked();
}

std::string Program::describeThreadsLocked() const {
  std::string out;
  for (const auto& t : threads_) {
    owns(*t);
    if (t->finished_) continue;
    if (!out.empty()) out += "; ";
    // Captions as on screen: another thread's model is its own.
    auto caption = [this](const WindowModel* w) {
      std::optional<ScreenWindow> shown = screen_.window(w->handle());
      return "\"" + (shown ? shown->window.caption : std::string("?")) + "\"";
    };
    out += "thread " + std::to_string(t->id);
    if (t->waitingIn_ != nullptr)
      out += " waits in " + caption(t->waitingIn_);
    else
      out += " is busy";
    if (!t->windows_.empty()) {
      out += " (windows:";
      for (const WindowModel* w : t->windows_) out += " " + caption(w);
      out += ")";
    }
  }
  return out.empty() ? "no host thread runs" : out;
}

// ---- Windows -------------------------------------------------------------------

void Program::placeWindow(double& x, double& y) {
  base::MutexLock lock(mu_);
  int k = placement_++ % 12;
  x = 60 + 24 * k;
  y = 40 + 24 * k;
}

void Program::windowOpened(WindowModel& m, HostThread& t) {
  base::MutexLock lock(mu_);
  owns(t);
  int64_t h = nextHandle_;
  nextHandle_ += 2;
  m.setHandles(h, h + 1);
  m.setOwnerThread(t.id);
  m.setOpenOrder(++openOrder_);
  handles_[h] = &m;
  if (!t.windows_.empty()) t.windows_.back()->setBlocked(true);
  t.windows_.push_back(&m);
  m.setBlocked(false);
  m.setOpen(true);
  pushLocked(t, QueueItem{QueueItem::Event, h, EVENT::OpenWindow, 0, {}, {}});
  if (!m.hidden()) setFocusWindowLocked(&m);
}

void Program::windowClosed(WindowModel& m) {
  base::MutexLock lock(mu_);
  int64_t h = m.handle();
  handles_.erase(h);
  HostThread* t = threadLocked(m.ownerThread());
  if (t != nullptr) {
    owns(*t);
    auto it = std::find(t->windows_.begin(), t->windows_.end(), &m);
    if (it != t->windows_.end()) t->windows_.erase(it);
    if (!t->windows_.empty() && t->windows_.back()->blocked()) t->windows_.back()->setBlocked(false);
    std::erase_if(t->queue_, [h](const QueueItem& item) { return item.window == h; });
  }
  if (capture_ == h) capture_ = 0;
  if (frozen_ == h) frozen_ = 0;
  if (focusWindow_ == &m) {
    // The focus goes to the thread's next window, else to the newest window.
    WindowModel* next = nullptr;
    if (t != nullptr) {
      owns(*t);
      if (!t->windows_.empty()) next = t->windows_.back();
    }
    if (next == nullptr)
      for (const auto& [handle, w] : handles_) {
        std::optional<ScreenWindow> shown = screen_.window(handle);  // another thread's model is its own
        if (shown && !shown->window.hidden && (next == nullptr || w->openOrder() > next->openOrder())) next = w;
      }
    focusWindow_ = next;
    if (next != nullptr && next->ownerThread() != m.ownerThread())
      if (HostThread* nt = threadLocked(next->ownerThread()))
        pushLocked(*nt, QueueItem{QueueItem::Event, next->handle(), EVENT::GainFocus, 0, {}, {}});
  }
  m.setHandles(0, 0);
}

WindowModel* Program::byHandleLocked(int64_t handle) const {
  if (handle == 0) return nullptr;
  auto it = handles_.find(handle);
  if (it == handles_.end() && (handle & 1) != 0) it = handles_.find(handle - 1);
  return it != handles_.end() ? it->second : nullptr;
}

int64_t Program::windowHandle(int64_t handle) const {
  base::MutexLock lock(mu_);
  WindowModel* m = byHandleLocked(handle);
  return m != nullptr ? m->handle() : 0;
}

Window* Program::windowOf(int64_t handle) const {
  base::MutexLock lock(mu_);
  WindowModel* m = byHandleLocked(handle);
  return m != nullptr ? m->window() : nullptr;
}

WindowModel* Program::ownWindow(int64_t handle) const {
  HostThread* t = thisThread();
  base::MutexLock lock(mu_);
  WindowModel* m = byHandleLocked(handle);
  if (m == nullptr || t == nullptr || m->ownerThread() != t->id) return nullptr;
  return m;
}

WindowModel* Program::topmostLocked(const HostThread& t) const {
  owns(t);
  return t.windows_.empty() ? nullptr : t.windows_.back();
}

WindowModel* Program::topWindow(const HostThread& t) const {
  base::MutexLock lock(mu_);
  return topmostLocked(t);
}

std::vector<WindowModel*> Program::unfrozenWindows(const HostThread& t) const {
  base::MutexLock lock(mu_);
  owns(t);
  std::vector<WindowModel*> out;
  out.reserve(t.windows_.size());
  for (WindowModel* m : t.windows_)
    if (frozen_ == 0 || m->handle() != frozen_) out.push_back(m);
  return out;
}

bool Program::frozen(const WindowModel& m) const {
  base::MutexLock lock(mu_);
  return frozen_ != 0 && frozen_ == m.handle();
}

int64_t Program::freeze(int64_t handle) {
  base::MutexLock lock(mu_);
  int64_t old = frozen_;
  WindowModel* m = byHandleLocked(handle);
  frozen_ = m != nullptr ? m->handle() : 0;
  return old != frozen_ ? old : 0;
}

// ---- Desktop ----------------------------------------------------------------------

void Program::setFocusWindowLocked(WindowModel* m) {
  WindowModel* old = focusWindow_;
  bool wasAway = focusAway_;
  if (old == m && !wasAway) return;
  focusWindow_ = m;
  focusAway_ = m == nullptr;
  auto post = [this](WindowModel* w, int event) REQUIRES(mu_) {
    if (HostThread* t = threadLocked(w->ownerThread()))
      pushLocked(*t, QueueItem{QueueItem::Event, w->handle(), event, 0, {}, {}});
  };
  bool crosses = old != nullptr && (m == nullptr || old->ownerThread() != m->ownerThread());
  if (crosses && !wasAway) post(old, EVENT::LoseFocus);
  if (m != nullptr && (crosses || wasAway)) post(m, EVENT::GainFocus);
}

void Program::setFocusWindow(WindowModel* m) {
  base::MutexLock lock(mu_);
  setFocusWindowLocked(m);
}

int64_t Program::setFocusWindow(int64_t handle) {
  base::MutexLock lock(mu_);
  WindowModel* m = byHandleLocked(handle);
  if (m == nullptr) return 0;
  setFocusWindowLocked(m);
  return m->handle();
}

void Program::focusOnPress(WindowModel& m) {
  base::MutexLock lock(mu_);
  if (capture_ != m.handle() && !m.hidden()) setFocusWindowLocked(&m);
}

int64_t Program::capture() const {
  base::MutexLock lock(mu_);
  return capture_;
}

int64_t Program::setCapture(int64_t handle) {
  base::MutexLock lock(mu_);
  WindowModel* m = byHandleLocked(handle);
  capture_ = m != nullptr ? m->handle() : 0;
  return capture_;
}

int64_t Program::focusWindowHandle() const {
  base::MutexLock lock(mu_);
  return focusWindow_ != nullptr ? focusWindow_->handle() : 0;
}

std::string Program::cursor() const {
  base::MutexLock lock(mu_);
  return cursor_;
}

void Program::setCursor(std::string cursor) {
  base::MutexLock lock(mu_);
  cursor_ = std::move(cursor);
}

}  // namespace wevo::toolkit
