#include "design/overlay.h"

#include "design/design_keys.h"
#include "platform/base/mutex.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"

namespace wevo::design {
namespace {

// What the process keeps of the window in design mode. Guarded: procedures
// run on the overlay's thread while another thread may try to claim.
struct Saved {
  base::Mutex mu;
  bool claimed GUARDED_BY(mu) = false;
  int64_t frameProc GUARDED_BY(mu) = 0;
  int64_t clientProc GUARDED_BY(mu) = 0;
};

Saved& saved() {
  static Saved s;
  return s;
}

enum class Which { kFrame, kClient };

int64_t savedProc(Which which) {
  Saved& s = saved();
  base::MutexLock lock(s.mu);
  return which == Which::kFrame ? s.frameProc : s.clientProc;
}

int64_t designProc(Which which, Window& window, const RawMessage& message) {
  switch (message.kind) {
    case RawMessage::MouseMove:
      setTarget(&window);
      window.post(EVENT::Accepted, kMouseMoveField);
      break;
    case RawMessage::LeftDown:
      window.post(EVENT::Accepted, kDownField);
      setTarget(&window);
      break;
    case RawMessage::LeftUp:
      window.post(EVENT::Accepted, kUpField);
      setTarget(&window);
      break;
    default:
      break;
  }
  const int64_t next = savedProc(which);
  return next != 0 ? callWindowProc(next, window, message) : 0;
}

struct Procs {
  int64_t frame;
  int64_t client;
};

// Registered once for the life of the process.
const Procs& procs() {
  static const Procs p{
      registerWindowProc([](Window& w, const RawMessage& m) { return designProc(Which::kFrame, w, m); }),
      registerWindowProc([](Window& w, const RawMessage& m) { return designProc(Which::kClient, w, m); })};
  return p;
}

ControlDecl pseudoControl(const char* use, int feq) {
  ControlDecl c;
  c.type = TYPE::Region;
  c.use = use;
  c.feq = feq;
  c.hidden = true;  // never under the mouse: the events come from the procedures alone
  return c;
}

}  // namespace

WindowDecl MorphWindowDecl() {
  WindowDecl d;
  d.caption = "MORPHWINDOW";
  d.at = {kDefault, kDefault, 40, 20};
  d.hidden = true;
  d.alerts = DesignAlertedKeys();
  d.controls = {pseudoControl("?DOWN", kDownField), pseudoControl("?MOUSEMOVE", kMouseMoveField),
                pseudoControl("?UP", kUpField)};
  return d;
}

DesignClaim::DesignClaim() {
  Saved& s = saved();
  base::MutexLock lock(s.mu);
  if (s.claimed) return;
  s.claimed = true;
  held_ = true;
}

DesignClaim::~DesignClaim() {
  if (!held_) return;
  Saved& s = saved();
  base::MutexLock lock(s.mu);
  s.claimed = false;
  s.frameProc = s.clientProc = 0;
}

void DesignClaim::install(Window& overlay) {
  if (!held_) return;
  const Procs& mine = procs();
  {
    Saved& s = saved();
    base::MutexLock lock(s.mu);
    s.clientProc = overlay.get(0, PROP::ClientWndProc).num();
    s.frameProc = overlay.get(0, PROP::WndProc).num();
  }
  overlay.set(0, PROP::ClientWndProc, mine.client);
  overlay.set(0, PROP::WndProc, mine.frame);
}

}  // namespace wevo::design
