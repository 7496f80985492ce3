// The calling thread's event state, programs and threads, runtime-wide
// properties.
#include "wevo/runtime.h"

#include <map>
#include <mutex>
#include <stdexcept>

#include "platform/toolkit/event_loop.h"
#include "platform/toolkit/host_thread.h"
#include "platform/toolkit/program_state.h"
#include "platform/toolkit/window_model.h"
#include "wevo/program.h"
#include "wevo/window.h"

namespace wevo {

using toolkit::HostThread;
using toolkit::Program;
using toolkit::thisThread;

int event() {
  HostThread* t = thisThread();
  return t != nullptr ? t->event : 0;
}

int field() {
  HostThread* t = thisThread();
  return t != nullptr ? t->field : 0;
}

int keyCode() {
  HostThread* t = thisThread();
  return t != nullptr ? t->keyCode : 0;
}

void setKeyCode(int code) {
  if (HostThread* t = thisThread()) t->keyCode = code;
}

char keyChar() {
  HostThread* t = thisThread();
  return t != nullptr ? t->keyChar : 0;
}

Window* target() {
  HostThread* t = thisThread();
  if (t == nullptr) return nullptr;
  if (t->targetSet) return t->target;
  return t->current != nullptr ? t->current->window() : nullptr;
}

void setTarget(Window* window) {
  HostThread* t = thisThread();
  if (t == nullptr) return;
  t->target = window;
  t->targetSet = window != nullptr;
}

namespace {

// The last mouse position relative to the target window's client area.
int mouseRelative(bool x) {
  HostThread* t = thisThread();
  if (t == nullptr) return 0;
  const toolkit::WindowModel* m = nullptr;
  if (Window* w = target(); w != nullptr && w->isOpen()) m = &toolkit::modelOf(*w);
  if (m == nullptr) m = t->mouseWindow;
  double origin = m == nullptr ? 0 : (x ? m->geometry().screenX() : m->geometry().screenY());
  return static_cast<int>(toolkit::roundUnits((x ? t->mouseScreenX : t->mouseScreenY) - origin));
}

std::mutex gSystemMu;
std::map<int32_t, Value>& systemProps() {
  static std::map<int32_t, Value> props;
  return props;
}

}  // namespace

int mouseX() { return mouseRelative(true); }
int mouseY() { return mouseRelative(false); }

void postToThread(int event) { toolkit::postToTopmost(event); }

void start(std::function<void()> procedure, int stackSize) {
  (void)stackSize;  // host threads get the platform's default stack, which is larger than any asked for
  Program::require().startThread(std::move(procedure));
}

std::string command(int item) {
  std::shared_ptr<Program> p = Program::current();
  if (!p || item < 0 || static_cast<size_t>(item) >= p->args().size()) return {};
  return p->args()[static_cast<size_t>(item)];
}

void halt(std::string_view text) {
  std::shared_ptr<Program> p = Program::current();
  if (!p) throw std::logic_error("halt: no program is running (wevo::run)");
  p->endHalted(std::string(text));
  throw toolkit::ProgramEnd{};
}

Value systemGet(int32_t prop) {
  std::lock_guard<std::mutex> lock(gSystemMu);
  auto it = systemProps().find(prop);
  return it != systemProps().end() ? it->second : Value();
}

void systemSet(int32_t prop, const Value& value) {
  std::lock_guard<std::mutex> lock(gSystemMu);
  systemProps()[prop] = value;
}

bool dragFullWindows() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return false;
  return p->view().dragFullWindows().value_or(false);
}

void setDragFullWindows(bool on) {
  std::shared_ptr<Program> p = Program::current();
  if (p && p->view().dragFullWindows().has_value()) p->view().setDragFullWindows(on);
}

std::vector<FontFace> enumerateFonts() {
  std::shared_ptr<Program> p = Program::current();
  if (!p) return {};
  return p->view().fonts();
}

ListSource::~ListSource() = default;

ProgramResult run(std::function<void()> main, const RunOptions& options) {
  return Program::runProgram(std::move(main), options);
}

std::string describe(const ProgramResult& r) {
  std::string out;
  if (r.failed)
    out = "the program failed: " + r.failure + "\n";
  else if (r.halted)
    out = "the program halted: \"" + r.haltText + "\"\n";
  else
    out = "the program ended normally\n";
  if (r.transcript.empty()) {
    out += "transcript: (empty)\n";
  } else {
    out += "transcript:\n";
    for (const std::string& line : r.transcript) out += "  " + line + "\n";
  }
  return out;
}

}  // namespace wevo
