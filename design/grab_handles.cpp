#include "design/grab_handles.h"

#include <cmath>

#include "wevo/codes.h"
#include "wevo/runtime.h"

namespace wevo::design {
namespace {

int32_t whole(double v) { return static_cast<int32_t>(std::floor(v + 0.5)); }

}  // namespace

void SetHandlePositions(MorphState& s, int left, int top, int width, int height) {
  const double size = s.HSIZE;
  const int32_t x1 = left;
  const int32_t x2 = whole(left + width / 2.0 - size / 2.0);
  const int32_t x3 = whole(left + width - size);
  const int32_t y1 = top;
  const int32_t y4 = whole(top + height / 2.0 - size / 2.0);
  const int32_t y5 = whole(top + height - size);
  const int32_t xs[kHandleCount] = {x1, x2, x3, x3, x3, x2, x1, x1};
  const int32_t ys[kHandleCount] = {y1, y1, y1, y4, y5, y5, y5, y4};
  for (int n = 1; n <= kHandleCount; ++n) {
    HandleX(s, n) = xs[n - 1];
    HandleY(s, n) = ys[n - 1];
  }
}

void SelectionBounds(const MorphState& s, const Window& host, int& left, int& top, int& width, int& height) {
  if (s.CONTROLNO == 0) {
    left = top = 0;
  } else {
    left = host.get(s.CONTROLNO, PROP::XPos).i32();
    top = host.get(s.CONTROLNO, PROP::YPos).i32();
  }
  width = host.get(s.CONTROLNO, PROP::Width).i32();
  height = host.get(s.CONTROLNO, PROP::Height).i32();
}

void PlaceHandles(MorphState& s, const DesignWindows& w) {
  setTarget(&w.host);
  int left, top, width, height;
  SelectionBounds(s, w.host, left, top, width, height);
  SetHandlePositions(s, left, top, width, height);
  for (int n = 1; n <= kHandleCount; ++n) {
    const int f = w.host.create(HandleNo(s, n), TYPE::Region);
    if (f == 0) continue;
    w.host.set(f, PROP::Fill, s.HCONTENTSCOLOR);
    w.host.set(f, PROP::Background, s.HBORDERCOLOR);
    w.host.set(f, PROP::RegionKeep, 1);
    w.host.set(f, PROP::Width, static_cast<int>(s.HSIZE));
    w.host.set(f, PROP::Height, static_cast<int>(s.HSIZE));
    w.host.set(f, PROP::XPos, HandleX(s, n));
    w.host.set(f, PROP::YPos, HandleY(s, n));
    w.host.set(f, PROP::Hide, 0);
  }
  setTarget(&w.overlay);
}

void RemoveHandles(const MorphState& s, const DesignWindows& w) {
  setTarget(&w.host);
  for (int n = 1; n <= kHandleCount; ++n) w.host.destroy(HandleNo(s, n));
  setTarget(&w.overlay);
}

int HandleUnderMouse(const MorphState& s, const DesignWindows& w, int mouseX, int mouseY) {
  const int px = OverlayToHostX(w) + mouseX;
  const int py = OverlayToHostY(w) + mouseY;
  for (int n = 1; n <= kHandleCount; ++n) {
    const int x = HandleX(s, n), y = HandleY(s, n);
    if (x <= px && px <= x + s.HSIZE && y <= py && py <= y + s.HSIZE) return n;
  }
  return 0;
}

std::string_view HandleCursor(int n) {
  switch (n) {
    case 1: case 5: return CURSOR::SizeNWSE;
    case 2: case 6: return CURSOR::SizeNS;
    case 3: case 7: return CURSOR::SizeNESW;
    case 4: case 8: return CURSOR::SizeWE;
    default: return CURSOR::Arrow;
  }
}

void CursorOnMove(MorphState& s, const DesignWindows& w, int mouseX, int mouseY) {
  s.OVERGRABHANDLE = static_cast<uint8_t>(HandleUnderMouse(s, w, mouseX, mouseY));
  setCursor(HandleCursor(s.OVERGRABHANDLE));
}

void RepaintHost(const Window& host) { invalidate(host.handle(), true); }

}  // namespace wevo::design
