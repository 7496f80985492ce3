#include "design/pixel_rect.h"

#include "wevo/props.h"

namespace wevo::design {

PixelRect RectOf(const Window& host, int field) {
  return {host.get(field, PROP::XPos).i32(), host.get(field, PROP::YPos).i32(), host.get(field, PROP::Width).i32(),
          host.get(field, PROP::Height).i32()};
}

PixelRect PixelRectOf(Window& host, int field) {
  const Value mode = host.get(0, PROP::Pixels);
  host.set(0, PROP::Pixels, 1);
  const PixelRect r = RectOf(host, field);
  host.set(0, PROP::Pixels, mode);
  return r;
}

void PlaceAt(Window& host, int field, const PixelRect& r) {
  const PixelRect now = RectOf(host, field);
  if (now.x != r.x) host.set(field, PROP::XPos, r.x);
  if (now.y != r.y) host.set(field, PROP::YPos, r.y);
  if (now.w != r.w) host.set(field, PROP::Width, r.w);
  if (now.h != r.h) host.set(field, PROP::Height, r.h);
}

bool Showing(const Window& host, int field) {
  return field != 0 && host.exists(field) && host.get(field, PROP::Visible).num() != 0;
}

}  // namespace wevo::design
