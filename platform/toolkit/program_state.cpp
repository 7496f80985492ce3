#include "platform/toolkit/program_state.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <stdexcept>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/input.h"
#include "platform/toolkit/window_model.h"
#include "platform/toolkit/scripted_user.h"
#include "wevo/script.h"

namespace wevo::toolkit {

namespace {

std::mutex gCurrentMu;
std::shared_ptr<Program> gCurrent;

// How long an ended program waits for host threads that do not unwind.
constexpr int kGraceSeconds = 10;

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
  std::lock_guard<std::mutex> lock(gCurrentMu);
  return gCurrent;
}

Program& Program::require() {
  std::lock_guard<std::mutex> lock(gCurrentMu);
  if (!gCurrent) throw std::logic_error("no program is running (wevo::run)");
  return *gCurrent;
}

int64_t Program::now() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// ---- Running -------------------------------------------------------------------

ProgramResult Program::runProgram(std::function<void()> main, const RunOptions& options) {
  auto p = std::make_shared<Program>(options);
  {
    std::lock_guard<std::mutex> lock(gCurrentMu);
    if (gCurrent) throw std::logic_error("a program is running already (one at a time per process)");
    gCurrent = p;
  }
  struct Uninstall {
    ~Uninstall() {
      std::lock_guard<std::mutex> lock(gCurrentMu);
      gCurrent.reset();
    }
  } uninstall;
  return p->run(std::move(main));
}

ProgramResult Program::run(std::function<void()> main) {
  {
    std::lock_guard<std::mutex> lock(gCurrentMu);
    if (gCurrent.get() != this) throw std::logic_error("the program is not the current one");
  }
  startThread(std::move(main));
  std::thread dog([this] { watchdog(); });
  view_->run();
  {
    std::unique_lock<std::mutex> lock(mu);
    endedCv_.wait_for(lock, std::chrono::seconds(kGraceSeconds), [this] { return live_ == 0; });
  }
  dog.join();
  return joinThreads();
}

ProgramResult Program::joinThreads() {
  std::vector<std::thread> os;
  std::vector<std::shared_ptr<HostThread>> ts;
  {
    std::lock_guard<std::mutex> lock(mu);
    os.swap(osThreads_);
    ts = threads_;
  }
  for (size_t i = 0; i < os.size(); ++i) {
    // A thread that never unwound (stuck outside the toolkit) is left behind;
    // it keeps the program alive through its own reference.
    if (ts[i]->finished)
      os[i].join();
    else
      os[i].detach();
  }
  std::lock_guard<std::mutex> lock(resultMu_);
  return result_;
}

std::shared_ptr<Program> Program::attach(const RunOptions& options) {
  auto p = std::make_shared<Program>(options);
  std::lock_guard<std::mutex> lock(gCurrentMu);
  if (gCurrent) throw std::logic_error("a program is running already (one at a time per process)");
  gCurrent = p;
  return p;
}

ProgramResult Program::detach() {
  // An end asked for, neither halted nor failed: nothing goes in the result.
  ending_.store(true);
  {
    std::unique_lock<std::mutex> lock(mu);
    wakeAllLocked();
    endedCv_.wait_for(lock, std::chrono::seconds(kGraceSeconds), [this] { return live_ == 0; });
  }
  ProgramResult result = joinThreads();
  std::lock_guard<std::mutex> lock(gCurrentMu);
  if (gCurrent.get() == this) gCurrent.reset();
  return result;
}

void Program::startThread(std::function<void()> procedure) {
  std::shared_ptr<Program> self = current();
  if (self.get() != this) throw std::logic_error("start: the program is not running");
  std::lock_guard<std::mutex> lock(mu);
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
    std::lock_guard<std::mutex> lock(mu);
    t.finished = true;
    last = --live_ == 0;
    progress();
  }
  endedCv_.notify_all();
  if (last) {
    view_->quit();
    return;
  }
  if (scripted_) scripted_->onThreadWaiting(-1);
}

void Program::watchdog() {
  std::unique_lock<std::mutex> lock(mu);
  while (live_ > 0 && !ending_.load()) {
    endedCv_.wait_for(lock, std::chrono::milliseconds(50));
    if (live_ == 0 || ending_.load()) break;
    if (scripted_ && now() - lastProgress_.load() > static_cast<int64_t>(stallSeconds_) * 1000) {
      std::string threads = describeThreadsLocked();
      lock.unlock();
      endFailed("no host thread got anything done for " + std::to_string(stallSeconds_) + " s (" +
                scripted_->position() + "; " + threads + ")");
      lock.lock();
    }
  }
  if (live_ > 0) {
    // Ending: give the host threads time to unwind, then let run() return.
    endedCv_.wait_for(lock, std::chrono::seconds(kGraceSeconds), [this] { return live_ == 0; });
    lock.unlock();
    view_->quit();
  }
}

// ---- Ending ----------------------------------------------------------------------

void Program::endHalted(const std::string& textIn) {
  {
    std::lock_guard<std::mutex> lock(resultMu_);
    if (ending_.load()) return;
    result_.halted = true;
    result_.haltText = textIn;
    result_.transcript.push_back("halt \"" + textIn + "\"");
    ending_.store(true);
  }
  std::lock_guard<std::mutex> lock(mu);
  wakeAllLocked();
}

void Program::endFailed(const std::string& why) {
  {
    std::lock_guard<std::mutex> lock(resultMu_);
    if (ending_.load()) return;
    result_.failed = true;
    result_.failure = why;
    ending_.store(true);
  }
  std::lock_guard<std::mutex> lock(mu);
  wakeAllLocked();
}

void Program::wakeAllLocked() {
  for (auto& t : threads_) t->cv.notify_all();
  endedCv_.notify_all();
}

void Program::record(std::string line) {
  std::lock_guard<std::mutex> lock(resultMu_);
  result_.transcript.push_back(std::move(line));
}

std::vector<std::string> Program::transcript() const {
  std::lock_guard<std::mutex> lock(resultMu_);
  return result_.transcript;
}

// ---- What the view may ask ------------------------------------------------------

bool Program::postInput(const InputMessage& message) { return routeInput(*this, message); }

std::optional<ShownWindow> Program::window(int64_t handle) const {
  std::optional<ScreenWindow> shown = published_.window(handle);
  if (!shown) return std::nullopt;
  return static_cast<ShownWindow&&>(std::move(*shown));
}

void Program::flush() {
  if (HostThread* t = thisThread(); t != nullptr && t->program == this) flushThread(*t);
}

// ---- Queues --------------------------------------------------------------------

HostThread* Program::threadLocked(int id) {
  for (auto& t : threads_)
    if (t->id == id) return t.get();
  return nullptr;
}

void Program::pushLocked(HostThread& t, QueueItem item) {
  if (t.finished) return;
  t.queue.push_back(std::move(item));
  t.cv.notify_all();
}

bool Program::takeableLocked(const HostThread& t, const WindowModel& m, const QueueItem& item) const {
  if (item.kind == QueueItem::Call) return true;  // runs in whichever loop waits
  if (item.window == 0) return topmostLocked(t) == &m;
  return item.window == m.handle();
}

bool Program::idleLocked(const HostThread& t) const {
  if (t.finished) return true;
  if (t.waitingIn == nullptr) return false;
  for (const QueueItem& item : t.queue)
    if (takeableLocked(t, *t.waitingIn, item)) return false;
  return true;
}

bool Program::othersIdleLocked(int except) const {
  bool anyWaits = false;
  for (const auto& t : threads_) {
    if (t->id == except || t->finished) continue;
    if (!idleLocked(*t)) return false;
    anyWaits = true;
  }
  return anyWaits;  // with every thread ended the program is ending, not stuck
}

std::string Program::describeThreadsLocked() const {
  std::string out;
  for (const auto& t : threads_) {
    if (t->finished) continue;
    if (!out.empty()) out += "; ";
    // Captions as on screen: another thread's model is its own.
    auto caption = [this](const WindowModel* w) {
      std::optional<ScreenWindow> shown = published_.window(w->handle());
      return "\"" + (shown ? shown->window.caption : std::string("?")) + "\"";
    };
    out += "thread " + std::to_string(t->id);
    if (t->waitingIn != nullptr)
      out += " waits in " + caption(t->waitingIn);
    else
      out += " is busy";
    if (!t->windows.empty()) {
      out += " (windows:";
      for (const WindowModel* w : t->windows) out += " " + caption(w);
      out += ")";
    }
  }
  return out.empty() ? "no host thread runs" : out;
}

// ---- Windows -------------------------------------------------------------------

void Program::registerLocked(WindowModel& m, HostThread& t) {
  int64_t h = nextHandle_;
  nextHandle_ += 2;
  m.setHandles(h, h + 1);
  m.setOwnerThread(t.id);
  m.setOpenOrder(++openOrder_);
  handles_[h] = &m;
  if (!t.windows.empty()) t.windows.back()->setBlocked(true);
  t.windows.push_back(&m);
  m.setBlocked(false);
}

void Program::unregisterLocked(WindowModel& m) {
  int64_t h = m.handle();
  handles_.erase(h);
  HostThread* t = threadLocked(m.ownerThread());
  if (t != nullptr) {
    auto it = std::find(t->windows.begin(), t->windows.end(), &m);
    if (it != t->windows.end()) t->windows.erase(it);
    if (!t->windows.empty() && t->windows.back()->blocked()) t->windows.back()->setBlocked(false);
    std::erase_if(t->queue, [h](const QueueItem& item) { return item.window == h; });
  }
  if (capture == h) capture = 0;
  if (frozen == h) frozen = 0;
  if (focusWindow == &m) {
    // The focus goes to the thread's next window, else to the newest window.
    WindowModel* next = (t != nullptr && !t->windows.empty()) ? t->windows.back() : nullptr;
    if (next == nullptr)
      for (const auto& [handle, w] : handles_) {
        std::optional<ScreenWindow> shown = published_.window(handle);  // another thread's model is its own
        if (shown && !shown->window.hidden && (next == nullptr || w->openOrder() > next->openOrder())) next = w;
      }
    focusWindow = next;
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

WindowModel* Program::topmostLocked(const HostThread& t) const {
  return t.windows.empty() ? nullptr : t.windows.back();
}

void Program::nextPlacement(double& x, double& y) {
  int k = placement_++ % 12;
  x = 60 + 24 * k;
  y = 40 + 24 * k;
}

void Program::setFocusWindowLocked(WindowModel* m) {
  WindowModel* old = focusWindow;
  bool wasAway = focusAway;
  if (old == m && !wasAway) return;
  focusWindow = m;
  focusAway = m == nullptr;
  auto post = [this](WindowModel* w, int event) {
    if (HostThread* t = threadLocked(w->ownerThread()))
      pushLocked(*t, QueueItem{QueueItem::Event, w->handle(), event, 0, {}, {}});
  };
  bool crosses = old != nullptr && (m == nullptr || old->ownerThread() != m->ownerThread());
  if (crosses && !wasAway) post(old, EVENT::LoseFocus);
  if (m != nullptr && (crosses || wasAway)) post(m, EVENT::GainFocus);
}

}  // namespace wevo::toolkit
