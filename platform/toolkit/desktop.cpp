// Desktop services: frozen drawing, repaints, mouse capture, focus and the
// global cursor. All take window (or client-area) handles.
#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/runtime.h"

namespace wevo {

using toolkit::Program;
using toolkit::WindowModel;

namespace {

// The window with this handle when the calling thread owns it.
WindowModel* ownedWindow(Program& p, int64_t handle) {
  toolkit::HostThread* t = toolkit::thisThread();
  std::lock_guard<std::mutex> lock(p.mu);
  WindowModel* m = p.byHandleLocked(handle);
  if (m == nullptr || t == nullptr || m->ownerThread() != t->id) return nullptr;
  return m;
}

}  // namespace

void lockWindowUpdate(int64_t handle) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  int64_t old;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    old = p->frozen;
    WindowModel* m = p->byHandleLocked(handle);
    p->frozen = m != nullptr ? m->handle() : 0;
    if (old == p->frozen) return;
  }
  // Drawing released: what changed meanwhile reaches the screen now.
  if (old != 0)
    if (WindowModel* m = ownedWindow(*p, old)) toolkit::flushWindow(*m);
}

void invalidate(int64_t handle, bool erase) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  int64_t window = 0;
  if (WindowModel* m = ownedWindow(*p, handle)) {
    toolkit::flushWindow(*m);
    window = m->handle();
  } else {
    std::lock_guard<std::mutex> lock(p->mu);
    if (WindowModel* other = p->byHandleLocked(handle)) window = other->handle();
  }
  if (window == 0) return;
  p->published().noteInvalidate(window);
  p->view().invalidate(window, erase);
}

void setCapture(int64_t handle) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  int64_t window = 0;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    WindowModel* m = p->byHandleLocked(handle);
    window = m != nullptr ? m->handle() : 0;
    p->capture = window;
  }
  p->view().setCapture(window);
}

void releaseCapture() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    p->capture = 0;
  }
  p->view().setCapture(0);
}

int64_t capture() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return 0;
  std::lock_guard<std::mutex> lock(p->mu);
  return p->capture;
}

void setFocus(int64_t handle) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  int64_t window = 0;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    WindowModel* m = p->byHandleLocked(handle);
    if (m == nullptr) return;
    window = m->handle();
    p->setFocusWindowLocked(m);
  }
  p->view().setFocus(window, 0);
}

void setCursor(std::string_view c) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    p->cursor = std::string(c);
  }
  p->view().setCursor(c);
}

std::string cursor() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return {};
  std::lock_guard<std::mutex> lock(p->mu);
  return p->cursor;
}

}  // namespace wevo
