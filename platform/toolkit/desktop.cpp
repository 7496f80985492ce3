// Desktop services: frozen drawing, repaints, mouse capture, focus and the
// global cursor. All take window (or client-area) handles.
#include "platform/toolkit/accessibility.h"
#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/runtime.h"

namespace wevo {

using toolkit::Program;
using toolkit::WindowModel;

namespace {

// The window with this window (or client-area) handle, 0 when none is open;
// a window of the calling thread has its changes put on screen first, so
// that what the view is then asked to do meets them there.
int64_t flushedWindow(Program& p, int64_t handle) {
  if (WindowModel* m = p.ownWindow(handle)) toolkit::flushWindow(*m);
  return p.windowHandle(handle);
}

}  // namespace

void lockWindowUpdate(int64_t handle) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  // Drawing released: what changed meanwhile reaches the screen now.
  if (int64_t released = p->freeze(handle); released != 0)
    if (WindowModel* m = p->ownWindow(released)) toolkit::flushWindow(*m);
}

void invalidate(int64_t handle, bool erase) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  const int64_t window = flushedWindow(*p, handle);
  if (window == 0) return;
  p->screen().noteInvalidate(window);
  p->view().invalidate(window, erase);
}

void toolkit::announce(int64_t handle, int field, std::string_view description) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  const int64_t window = flushedWindow(*p, handle);
  if (window == 0) return;
  p->screen().noteAnnouncement(window, field, description);
  p->view().announce(window, field, description);
}

void setCapture(int64_t handle) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  p->view().setCapture(p->setCapture(handle));
}

void releaseCapture() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  p->view().setCapture(p->setCapture(0));
}

int64_t capture() {
  std::shared_ptr<Program> p = Program::current();
  return p ? p->capture() : 0;
}

void setFocus(int64_t handle) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  if (int64_t window = p->setFocusWindow(handle); window != 0) p->view().setFocus(window, 0);
}

void setCursor(std::string_view c) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return;
  p->setCursor(std::string(c));
  p->view().setCursor(c);
}

std::string cursor() {
  std::shared_ptr<Program> p = Program::current();
  return p ? p->cursor() : std::string();
}

}  // namespace wevo
