#include "platform/toolkit/event_loop.h"

#include <algorithm>
#include <stdexcept>

#include "platform/toolkit/input.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/scripted_user.h"
#include "platform/toolkit/window_model.h"
#include "platform/toolkit/window_procs.h"
#include "wevo/codes.h"
#include "wevo/text.h"

namespace wevo::toolkit {

namespace {

thread_local HostThread* tlsThread = nullptr;

HostThread& ownerThread(const WindowModel& m, const char* what) {
  HostThread* t = thisThread();
  if (t == nullptr) throw std::logic_error(std::string(what) + ": not on a host thread (inside wevo::run)");
  if (m.ownerThread() != 0 && m.ownerThread() != t->id)
    throw std::logic_error(std::string(what) + ": the window belongs to another host thread");
  return *t;
}

// Queues an event for a window of the calling thread.
void postLocal(WindowModel& m, int event, int field) { postEvent(m, event, field); }

bool deliverEvent(HostThread& t, WindowModel& m, int event, int field) {
  t.event = event;
  t.field = field;
  t.current = &m;
  LoopState& L = m.loop();
  L.lastEvent = event;
  L.cycled = false;
  if (L.handlers.empty()) return true;
  std::vector<LoopState::Handler> handlers = L.handlers;
  for (LoopState::Handler& h : handlers) {
    if (h.event != event) continue;
    if (!h.fn(*m.window(), event)) {
      L.lastEvent = 0;
      return false;
    }
    if (!m.isOpen()) return false;
  }
  return true;
}

// A required control left blank (or 0 for a number).
bool requiredBlank(const Control& c) {
  if (!c.required) return false;
  if (usesPicture(c.type) && c.picture.isNumber()) {
    Value v;
    return !c.picture.check(c.screen, v) || v.num() == 0;
  }
  if (usesPicture(c.type) || c.type == TYPE::Text) return text::clip(c.screen).empty();
  return false;
}

// The next event of the accept-all pass.
void nextPassEvent(WindowModel& m, int& event, int& field) {
  LoopState& L = m.loop();
  while (L.passPos < L.passFields.size()) {
    int f = L.passFields[L.passPos++];
    Control* c = m.controls().find(f);
    if (c == nullptr) continue;
    if (!m.values().update(f) || requiredBlank(*c)) {
      stopAcceptAll(m);
      m.focusOrder().setFocusField(f);
      event = EVENT::Rejected;
      field = f;
      return;
    }
    event = EVENT::Accepted;
    field = f;
    return;
  }
  stopAcceptAll(m);
  event = EVENT::Completed;
  field = 0;
}

}  // namespace

HostThread* thisThread() { return tlsThread; }
void setThisThread(HostThread* t) { tlsThread = t; }

// ---- Open and close ----------------------------------------------------------

void openWindow(WindowModel& m) {
  HostThread& t = ownerThread(m, "Window::open");
  Program& p = *t.program;
  p.checkEnding();
  if (m.isOpen()) return;
  double sx, sy;
  {
    std::lock_guard<std::mutex> lock(p.mu);
    p.nextPlacement(sx, sy);
  }
  m.build(&p.view(), sx, sy);
  m.loop() = LoopState{};
  m.setProcs(defaultFrameProcHandle(), defaultClientProcHandle());
  {
    std::lock_guard<std::mutex> lock(p.mu);
    p.registerLocked(m, t);
    m.setOpen(true);
    p.pushLocked(t, QueueItem{QueueItem::Event, m.handle(), EVENT::OpenWindow, 0, {}, {}});
    if (!m.hidden()) p.setFocusWindowLocked(&m);
  }
}

void closeWindow(WindowModel& m) noexcept {
  if (!m.isOpen()) return;
  std::shared_ptr<Program> p = Program::current();
  HostThread* t = thisThread();
  int64_t handle = m.handle();
  m.setAcceptingAll(false);
  m.loop().passActive = false;
  if (t != nullptr && t->current == &m) t->current = nullptr;
  if (t != nullptr && t->mouseWindow == &m) t->mouseWindow = nullptr;
  if (t != nullptr && t->targetSet && t->target == m.window()) {
    t->target = nullptr;
    t->targetSet = false;
  }
  if (p) {
    std::lock_guard<std::mutex> lock(p->mu);
    p->unregisterLocked(m);
  }
  m.setOpen(false);
  m.teardown();
  if (p) {
    ViewUpdate u;
    u.handle = handle;
    u.closed = true;
    p->published().apply(u);
    try {
      p->view().update({u});
    } catch (...) {
      // The window is gone from the model; a view that failed to hear of it
      // cannot be helped here.
    }
  }
}

void closeThreadWindows(HostThread& t) noexcept {
  for (;;) {
    WindowModel* m = nullptr;
    {
      std::lock_guard<std::mutex> lock(t.program->mu);
      if (!t.windows.empty()) m = t.windows.back();
    }
    if (m == nullptr) return;
    closeWindow(*m);
  }
}

// ---- The loop ------------------------------------------------------------------

bool acceptEvent(WindowModel& m) {
  HostThread& t = ownerThread(m, "Window::accept");
  Program& p = *t.program;
  LoopState& L = m.loop();
  // Finish the previous event: a close that was not cycled closes.
  if (m.isOpen() && L.lastEvent == EVENT::CloseWindow && !L.cycled) closeWindow(m);
  L.lastEvent = 0;
  L.cycled = false;
  if (!m.isOpen()) return false;
  for (;;) {
    p.checkEnding();
    p.progress();
    if (L.passActive) {
      int event = 0, field = 0;
      nextPassEvent(m, event, field);
      if (deliverEvent(t, m, event, field)) return true;
      if (!m.isOpen()) return false;
      continue;
    }
    QueueItem item;
    bool got = false;
    {
      std::lock_guard<std::mutex> lock(p.mu);
      for (auto it = t.queue.begin(); it != t.queue.end(); ++it)
        if (p.takeableLocked(t, m, *it)) {
          item = std::move(*it);
          t.queue.erase(it);
          got = true;
          break;
        }
    }
    if (got) {
      switch (item.kind) {
        case QueueItem::Event:
          if (item.hasInputState) {
            t.keyCode = item.keyCode;
            t.keyChar = item.keyChar;
            t.mouseScreenX = item.mouseScreenX;
            t.mouseScreenY = item.mouseScreenY;
          }
          if (deliverEvent(t, m, item.event, item.field)) return true;
          break;
        case QueueItem::Input:
          processInput(m, item.input);
          break;
        case QueueItem::Call:
          if (item.call) item.call();
          break;
      }
      if (!m.isOpen()) return false;
      continue;
    }
    // Nothing to do: show what changed, let the scripted user in, then wait.
    flushThread(t);
    {
      std::lock_guard<std::mutex> lock(p.mu);
      t.waitingIn = &m;
    }
    if (ScriptedUser* user = p.scriptedUser()) user->onThreadWaiting(t.id);
    {
      std::unique_lock<std::mutex> lock(p.mu);
      auto ready = [&] {
        if (p.ending()) return true;
        for (const QueueItem& q : t.queue)
          if (p.takeableLocked(t, m, q)) return true;
        return false;
      };
      while (!ready()) t.cv.wait(lock);
      t.waitingIn = nullptr;
    }
  }
}

void postEvent(const WindowModel& m, int event, int field) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  int64_t h = m.handle();
  if (h == 0) return;
  QueueItem item{QueueItem::Event, h, event, field, {}, {}};
  if (HostThread* self = thisThread(); self != nullptr && self->processingInput > 0 && self->id == m.ownerThread()) {
    item.hasInputState = true;
    item.keyCode = self->keyCode;
    item.keyChar = self->keyChar;
    item.mouseScreenX = self->mouseScreenX;
    item.mouseScreenY = self->mouseScreenY;
  }
  std::lock_guard<std::mutex> lock(p->mu);
  if (HostThread* t = p->threadLocked(m.ownerThread())) p->pushLocked(*t, std::move(item));
}

void postToTopmost(int event) {
  HostThread* t = thisThread();
  if (t == nullptr) throw std::logic_error("postToThread: not on a host thread");
  std::lock_guard<std::mutex> lock(t->program->mu);
  t->program->pushLocked(*t, QueueItem{QueueItem::Event, 0, event, 0, {}, {}});
}

// ---- Accept-all pass -----------------------------------------------------------

void startAcceptAll(WindowModel& m) {
  LoopState& L = m.loop();
  L.passFields.clear();
  for (int f : m.focusOrder().tabOrder()) {
    const Control* c = m.controls().find(f);
    if (c != nullptr && m.values().isInput(*c) && m.controls().visible(*c) && m.controls().enabled(*c)) L.passFields.push_back(f);
  }
  L.passPos = 0;
  L.passActive = true;
  m.setAcceptingAll(true);
}

void stopAcceptAll(WindowModel& m) {
  m.loop().passActive = false;
  m.setAcceptingAll(false);
}

// ---- Focus -----------------------------------------------------------------------

void selectControl(WindowModel& m, int field) {
  if (!m.isOpen()) return;
  if (m.loop().passActive) stopAcceptAll(m);
  if (field == 0) field = m.focusOrder().firstFocusable();
  std::shared_ptr<Program> p = Program::current();
  if (p) {
    std::lock_guard<std::mutex> lock(p->mu);
    p->setFocusWindowLocked(&m);
  }
  if (field == 0) return;
  m.focusOrder().setFocusField(field);
  postLocal(m, EVENT::Selected, field);
  if (p) p->view().setFocus(m.handle(), field);
}

bool commitControl(WindowModel& m, int field) {
  Control* c = m.controls().find(field);
  if (c == nullptr) return true;
  bool ok = m.values().update(field);
  c->edited = false;
  postLocal(m, ok ? EVENT::Accepted : EVENT::Rejected, field);
  return ok;
}

bool userFocus(WindowModel& m, int field) {
  int old = m.focusOrder().focus();
  if (old == field) return true;
  if (Control* o = m.controls().find(old); o != nullptr && o->edited)
    if (!commitControl(m, old)) return false;
  m.focusOrder().setFocusField(field);
  if (field != 0) postLocal(m, EVENT::Selected, field);
  return true;
}

// ---- Flushing --------------------------------------------------------------------

void flushWindow(WindowModel& m) {
  std::shared_ptr<Program> p = Program::current();
  if (!p || !m.isOpen()) return;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    if (p->frozen != 0 && p->frozen == m.handle()) return;
  }
  ViewUpdate u;
  if (!m.takeUpdate(u)) return;
  p->published().apply(u);
  p->view().update({u});
}

void flushThread(HostThread& t) {
  Program& p = *t.program;
  std::vector<WindowModel*> windows;
  int64_t frozen;
  {
    std::lock_guard<std::mutex> lock(p.mu);
    windows = t.windows;
    frozen = p.frozen;
  }
  std::vector<ViewUpdate> batch;
  for (WindowModel* m : windows) {
    if (frozen != 0 && m->handle() == frozen) continue;
    ViewUpdate u;
    if (m->takeUpdate(u)) {
      p.published().apply(u);
      batch.push_back(std::move(u));
    }
  }
  if (!batch.empty()) p.view().update(batch);
}

}  // namespace wevo::toolkit
