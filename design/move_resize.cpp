#include "design/move_resize.h"

#include "design/grab_handles.h"
#include "wevo/props.h"

namespace wevo::design {
namespace {

// One property write of a resize: the property plus (sign x the step's dx or dy).
struct Change {
  int32_t prop;
  bool vertical;  // dy, else dx
  int sign;
};

constexpr Change kHeightUp{PROP::Height, true, -1};
constexpr Change kHeightDown{PROP::Height, true, +1};
constexpr Change kY{PROP::YPos, true, +1};
constexpr Change kX{PROP::XPos, false, +1};
constexpr Change kWidthLeft{PROP::Width, false, -1};
constexpr Change kWidthRight{PROP::Width, false, +1};

struct Plan {
  Change changes[4];
  int count;
};

constexpr Plan kPlans[kHandleCount] = {
    {{kHeightUp, kY, kX, kWidthLeft}, 4},
    {{kHeightUp, kY}, 2},
    {{kHeightUp, kY, kWidthRight}, 3},
    {{kWidthRight}, 1},
    {{kWidthRight, kHeightDown}, 2},
    {{kHeightDown}, 1},
    {{kX, kWidthLeft, kHeightDown}, 3},
    {{kX, kWidthLeft}, 2},
};

void shift(Window& host, int field, int32_t prop, int by) {
  host.set(field, prop, host.get(field, prop).i32() + by);
}

void remakeHandles(MorphState& s, const DesignWindows& w) {
  RemoveHandles(s, w);
  PlaceHandles(s, w);
}

}  // namespace

void MoveSelection(MorphState& s, const DesignWindows& w, int handle, int dx, int dy) {
  if (handle != 0) return;
  const int x = w.host.get(s.CONTROLNO, PROP::XPos).i32();
  const int y = w.host.get(s.CONTROLNO, PROP::YPos).i32();
  w.host.set(s.CONTROLNO, PROP::XPos, x + dx);
  w.host.set(s.CONTROLNO, PROP::YPos, y + dy);
  remakeHandles(s, w);
  RepaintHost(w.host);
}

void ResizeSelection(MorphState& s, const DesignWindows& w, int handle, int dx, int dy) {
  if (handle < 1 || handle > kHandleCount) return;
  const Plan& plan = kPlans[handle - 1];
  for (int i = 0; i < plan.count; ++i) {
    const Change& c = plan.changes[i];
    shift(w.host, s.CONTROLNO, c.prop, c.sign * (c.vertical ? dy : dx));
  }
  remakeHandles(s, w);
}

void TrackMove(MorphState& s, const DesignWindows& w, int mouseX, int mouseY) {
  s.NEWX = mouseX;
  s.NEWY = mouseY;
  const int dx = s.NEWX - s.OLDX;
  const int dy = s.NEWY - s.OLDY;
  s.OLDX = s.NEWX;
  s.OLDY = s.NEWY;
  if (s.MOUSEISDOWN == 0) {
    CursorOnMove(s, w, mouseX, mouseY);
    return;
  }
  if (dx == 0 && dy == 0) return;
  if (s.OVERGRABHANDLE >= 1 && s.OVERGRABHANDLE <= kHandleCount)
    ResizeSelection(s, w, s.OVERGRABHANDLE, dx, dy);
  else if (s.OVERGRABHANDLE == 0 && s.CLICKINGONCONTROL == 1)
    MoveSelection(s, w, 0, dx, dy);
}

}  // namespace wevo::design
