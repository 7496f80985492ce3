#include "resizer/window_resizer.h"

#include <algorithm>

#include "resizer/default_strategy.h"
#include "resizer/place_control.h"
#include "wevo/codes.h"
#include "wevo/props.h"
#include "wevo/runtime.h"

namespace wevo::resizer {

namespace {

constexpr int kSizingEvents[] = {EVENT::User, EVENT::Restored, EVENT::GainFocus, EVENT::Maximized};

bool isContainer(int32_t type) {
  switch (type) {
    case TYPE::Region: case TYPE::Box: case TYPE::Option: case TYPE::Group: case TYPE::Sheet: case TYPE::Panel:
      return true;
    default:
      return false;
  }
}

int64_t area(const Rect& r) { return static_cast<int64_t>(r.WIDTH) * r.HEIGHT; }

bool encloses(const Rect& outer, const Rect& inner) {
  return outer.XPOS <= inner.XPOS && outer.YPOS <= inner.YPOS &&
         static_cast<int64_t>(outer.XPOS) + outer.WIDTH >= static_cast<int64_t>(inner.XPOS) + inner.WIDTH &&
         static_cast<int64_t>(outer.YPOS) + outer.HEIGHT >= static_cast<int64_t>(inner.YPOS) + inner.HEIGHT;
}

}  // namespace

WindowResizer::WindowResizer(Window& window) : window_(window) {}

WindowResizer::~WindowResizer() { StopResizer(); }

ControlRow* WindowResizer::row(int32_t control) {
  auto it = std::find_if(CONTROLQUEUE.begin(), CONTROLQUEUE.end(),
                         [control](const ControlRow& r) { return r.ID == control; });
  return it != CONTROLQUEUE.end() ? &*it : nullptr;
}

Rect WindowResizer::windowRect() const {
  Rect r;
  int w = 0, h = 0;
  window_.getPosition(0, r.XPOS, r.YPOS, w, h);
  r.WIDTH = window_.get(0, PROP::ClientWidth).i32();
  r.HEIGHT = window_.get(0, PROP::ClientHeight).i32();
  return r;
}

Rect WindowResizer::controlRect(int32_t control) const {
  Rect r;
  window_.getPosition(control, r.XPOS, r.YPOS, r.WIDTH, r.HEIGHT);
  return r;
}

// ---- The replaceable operations ---------------------------------------------

int32_t WindowResizer::ParentOfControl(int32_t control) {
  const ControlRow* r = row(control);
  return r != nullptr ? r->PARENTID : 0;
}

void WindowResizer::CaptureLayout() {
  Rect win = windowRect();
  ORIGWIN.XPOS = win.XPOS;
  ORIGWIN.YPOS = win.YPOS;
  ORIGWIN.WIDTH = win.WIDTH;
  ORIGWIN.HEIGHT = win.HEIGHT;
  ORIGWIN.MAXIMIZED = window_.get(0, PROP::Maximize).truthy() ? 1 : 0;
  ORIGWIN.ICONIZED = window_.get(0, PROP::Iconize).truthy() ? 1 : 0;
  PREVIOUSWIN = win;

  for (int f = window_.get(0, PROP::NextField, 0).i32(); f != 0;) {
    if (ControlRow* known = row(f)) {
      known->POS = controlRect(f);
    } else {
      int32_t type = window_.get(f, PROP::Type).i32();
      if (!window_.get(f, PROP::NoResizeCapture).truthy() && IsManagedType(type)) {
        ControlRow added;
        added.ID = f;
        added.TYPE = RecordedType(type, window_.get(f, PROP::Drop).truthy());
        DefaultStrategy d = DefaultStrategyFor(APPSTRATEGY, added.TYPE);
        added.POSITIONALSTRATEGY = d.positional;
        added.RESIZESTRATEGY = d.resize;
        added.POS = controlRect(f);
        CONTROLQUEUE.push_back(added);
      }
    }
    int next = window_.get(0, PROP::NextField, f).i32();
    if (next <= f) break;  // the enumeration only ever climbs
    f = next;
  }
  RESIZECALLED = 0;
}

void WindowResizer::OnWindowSized() { ReflowControls(0); }

void WindowResizer::ReflowControls(int32_t control) {
  RESIZELIST.clear();
  const ControlRow* parentRow = control == 0 ? nullptr : row(control);
  if (CONTROLQUEUE.empty() || (control != 0 && parentRow == nullptr)) return;
  Rect now = control == 0 ? windowRect() : controlRect(control);
  if (control == 0 && now.WIDTH == PREVIOUSWIN.WIDTH && now.HEIGHT == PREVIOUSWIN.HEIGHT) return;

  Value deferredBefore;
  if (DEFERMOVES != 0) {
    deferredBefore = systemGet(PROP::DeferMove);
    systemSet(PROP::DeferMove, Value(static_cast<int64_t>(CONTROLQUEUE.size())));
  }

  if (control == 0 && now.WIDTH == ORIGWIN.WIDTH && now.HEIGHT == ORIGWIN.HEIGHT) {
    RestoreControls();
  } else {
    Rect oldParent = control == 0 ? Rect{0, 0, ORIGWIN.WIDTH, ORIGWIN.HEIGHT} : parentRow->POS;
    Rect newParent = now;
    if (control == 0) newParent.XPOS = newParent.YPOS = 0;
    planChildren(control, oldParent, newParent, CONTROLQUEUE.size());
    applyMoves();
  }

  if (DEFERMOVES != 0) {
    int64_t before = deferredBefore.num();
    systemSet(PROP::DeferMove, Value(before < 0 ? before : int64_t{0}));
  }
  RESIZECALLED = 1;
  if (control == 0) PREVIOUSWIN = now;
}

void WindowResizer::RestoreStartLayout() {
  window_.set(0, PROP::Maximize, Value(static_cast<int>(ORIGWIN.MAXIMIZED)));
  window_.set(0, PROP::Iconize, Value(static_cast<int>(ORIGWIN.ICONIZED)));
  window_.set(0, PROP::Width, Value(ORIGWIN.WIDTH));
  window_.set(0, PROP::Height, Value(ORIGWIN.HEIGHT));
  RestoreControls();
}

void WindowResizer::AssignParent(int32_t control) {
  ControlRow* child = row(control);
  if (child == nullptr) return;
  size_t childIndex = static_cast<size_t>(child - CONTROLQUEUE.data());
  int64_t childArea = area(child->POS);
  ControlRow* best = nullptr;
  for (size_t i = 0; i < CONTROLQUEUE.size(); ++i) {
    ControlRow& candidate = CONTROLQUEUE[i];
    if (i == childIndex || !isContainer(candidate.TYPE) || !encloses(candidate.POS, child->POS)) continue;
    int64_t a = area(candidate.POS);
    // Strictly larger, or as large and earlier: an order, so no cycles.
    if (a < childArea || (a == childArea && i > childIndex)) continue;
    if (best == nullptr || a <= area(best->POS)) best = &candidate;  // the innermost; ties: the later row
  }
  child->PARENTID = best != nullptr ? best->ID : 0;
  if (best != nullptr) best->HASCHILDREN = 1;
}

void WindowResizer::AssignAllParents() {
  for (ControlRow& r : CONTROLQUEUE) r.HASCHILDREN = 0;
  for (size_t i = 0; i < CONTROLQUEUE.size(); ++i) AssignParent(CONTROLQUEUE[i].ID);
}

Rect WindowResizer::PlaceControl(const Rect& oldParent, const Rect& newParent, const ControlRow& control) {
  return PlaceRect(oldParent, newParent, control.POS, control.POSITIONALSTRATEGY, control.RESIZESTRATEGY);
}

// ---- Start, stop, restore ---------------------------------------------------

void WindowResizer::StartResizer(int appStrategy, bool keepMinimum, bool keepMaximum) {
  StopResizer();
  CONTROLQUEUE.clear();
  RESIZELIST.clear();
  APPSTRATEGY = static_cast<uint8_t>(NormalStrategy(appStrategy));
  if (!window_.isOpen()) return;

  windowHandle_ = window_.handle();
  for (int event : kSizingEvents)
    handlers_.push_back(window_.registerHandler(event, [this](Window&, int) {
      OnWindowSized();
      return true;  // the window's own loop still sees the event
    }));
  window_.set(0, PROP::ResizerMark, Value(1));

  CaptureLayout();
  if (StrategyUsesContainers(APPSTRATEGY)) AssignAllParents();
  if (keepMinimum) {
    window_.set(0, PROP::MinWidth, Value(ORIGWIN.WIDTH));
    window_.set(0, PROP::MinHeight, Value(ORIGWIN.HEIGHT));
  }
  if (keepMaximum) {
    window_.set(0, PROP::MaxWidth, Value(ORIGWIN.WIDTH));
    window_.set(0, PROP::MaxHeight, Value(ORIGWIN.HEIGHT));
  }
  DEFERMOVES = 1;
}

void WindowResizer::StopResizer() {
  // Handler numbers start again when a window reopens, and the window may be
  // gone: unhook only from the very window, still open, that was hooked.
  if (!handlers_.empty() && windowHandle_ != 0 && Window::fromHandle(windowHandle_) == &window_)
    for (int id : handlers_) window_.unregisterHandler(id);
  handlers_.clear();
  windowHandle_ = 0;
  CONTROLQUEUE.clear();
  RESIZELIST.clear();
}

void WindowResizer::RestoreControls() {
  for (const ControlRow& r : CONTROLQUEUE)
    if (controlRect(r.ID) != r.POS) moveTo(r.ID, r.POS);
}

// ---- Reflow helpers ----------------------------------------------------------

// A walk down from the window never meets a row twice (each row has one
// parent); one from a control could, were the parents set by hand into a
// ring, so it goes no deeper than there are rows.
void WindowResizer::planChildren(int32_t parent, const Rect& oldParent, const Rect& newParent, size_t depth) {
  if (depth == 0) return;
  for (size_t i = 0; i < CONTROLQUEUE.size(); ++i) {
    if (CONTROLQUEUE[i].PARENTID != parent || CONTROLQUEUE[i].ID == parent) continue;
    const ControlRow child = CONTROLQUEUE[i];  // a derived PlaceControl may change the table
    MoveRow move;
    move.PRIORITY = static_cast<int32_t>(RESIZELIST.size());
    move.CONTROLID = child.ID;
    move.TYPE = child.TYPE;
    move.BEFORE = controlRect(child.ID);
    move.AFTER = PlaceControl(oldParent, newParent, child);
    RESIZELIST.push_back(move);
    bool moved = move.AFTER != move.BEFORE || window_.get(child.ID, PROP::Full).truthy();
    if (moved && child.HASCHILDREN != 0) planChildren(child.ID, child.POS, move.AFTER, depth - 1);
  }
}

void WindowResizer::moveTo(int32_t control, const Rect& r) {
  int w = window_.get(control, PROP::NoWidth).truthy() ? Window::kKeepDefaultWidth : r.WIDTH;
  window_.setPosition(control, r.XPOS, r.YPOS, w, r.HEIGHT);
}

void WindowResizer::applyMoves() {
  for (const MoveRow& m : RESIZELIST)
    if (m.AFTER != m.BEFORE) moveTo(m.CONTROLID, m.AFTER);
}

}  // namespace wevo::resizer
