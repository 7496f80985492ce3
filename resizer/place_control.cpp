#include "resizer/place_control.h"

namespace wevo::resizer {

namespace {

// One axis of a rectangle: x and width, or y and height.
struct Span {
  int64_t pos;
  int64_t size;
};

struct AxisRule {
  uint16_t code;     // PLACE:: code of this axis (vertical codes shifted down)
  bool keepSize;     // KeepWidth / KeepHeight
  bool wholeMargin;  // RightMargin / BottomMargin
  bool halfMargin;   // HalfRightMargin / HalfBottomMargin
};

Decimal whole(int64_t v) { return Decimal::whole(v); }
Decimal half(int64_t v) { return Decimal::whole(v).half(); }

// Returns the new position and size along one axis.
void placeAlong(Span p0, Span p1, Span c0, AxisRule rule, int32_t& pos, int32_t& size) {
  Decimal s = ScaleFactor(static_cast<int32_t>(p1.size), static_cast<int32_t>(p0.size));
  int64_t d = c0.pos - p0.pos;
  bool marginDecides = rule.wholeMargin || rule.halfMargin;
  if (!marginDecides) size = rule.keepSize ? static_cast<int32_t>(c0.size) : (whole(c0.size) * s).toInt32();

  uint16_t code = rule.code;
  if (code == PLACE::NearerEdge) code = d < p0.size - d - c0.size ? PLACE::LeftEdge : PLACE::RightEdge;

  Decimal at;
  switch (code) {
    case PLACE::Keep:
      at = whole(c0.pos);
      break;
    case PLACE::RightEdge: {
      Decimal toEdge = whole(p0.size - d);
      if (!rule.keepSize) toEdge = toEdge * s;
      at = whole(p1.pos + p1.size) - toEdge;
      break;
    }
    case PLACE::LeftEdge:
      at = whole(p1.pos + d);
      break;
    case PLACE::Centre: {
      Decimal fromCentre = whole(d) - half(p0.size);
      if (!rule.keepSize) fromCentre = fromCentre * s;
      at = whole(p1.pos) + half(p1.size) + fromCentre;
      break;
    }
    case PLACE::FollowCentre:
      at = whole(c0.pos) + (whole(p1.pos) + half(p1.size)) - (whole(p0.pos) + half(p0.size));
      break;
    default:
      at = whole(p1.pos) + whole(d) * s;
      break;
  }
  pos = at.toInt32();

  if (rule.wholeMargin)
    size = whole(p1.pos + p1.size + d + c0.size - p0.size - pos).toInt32();
  else if (rule.halfMargin)
    size = (half(p1.pos + p1.size + d - p0.size - pos) + whole(c0.size)).toInt32();
}

}  // namespace

Decimal ScaleFactor(int32_t newSize, int32_t oldSize) {
  if (oldSize == 0) return Decimal::whole(1);
  return Decimal::quotient(newSize, oldSize, 4);
}

Rect PlaceRect(const Rect& oldParent, const Rect& newParent, const Rect& captured, uint16_t positional,
               uint16_t resize) {
  Rect n;
  AxisRule across{static_cast<uint16_t>(positional & 0xFF), (resize & SIZE::KeepWidth) != 0,
                  (resize & SIZE::RightMargin) != 0, (resize & SIZE::HalfRightMargin) != 0};
  AxisRule down{static_cast<uint16_t>(positional >> 8), (resize & SIZE::KeepHeight) != 0,
                (resize & SIZE::BottomMargin) != 0, (resize & SIZE::HalfBottomMargin) != 0};
  placeAlong({oldParent.XPOS, oldParent.WIDTH}, {newParent.XPOS, newParent.WIDTH}, {captured.XPOS, captured.WIDTH},
             across, n.XPOS, n.WIDTH);
  placeAlong({oldParent.YPOS, oldParent.HEIGHT}, {newParent.YPOS, newParent.HEIGHT},
             {captured.YPOS, captured.HEIGHT}, down, n.YPOS, n.HEIGHT);
  return n;
}

}  // namespace wevo::resizer
