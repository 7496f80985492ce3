// Where a control goes when its parent (the window, or an enclosing control)
// changes size: the placement arithmetic of the window resizer, free of any
// window so that it can be checked case by case.
#ifndef WEVO_RESIZER_PLACE_CONTROL_H_
#define WEVO_RESIZER_PLACE_CONTROL_H_

#include <cstdint>

#include "resizer/decimal.h"
#include "resizer/resizer_tables.h"

namespace wevo::resizer {

// The factor a parent's size changed by, newSize / oldSize to four decimal
// places. A parent that had no size (0) scales nothing: the factor is 1.
Decimal ScaleFactor(int32_t newSize, int32_t oldSize);

// The new rectangle of a control captured at `captured` inside a parent that
// was `oldParent` and is now `newParent`, by its placement codes
// (`positional`: PLACE:: codes, horizontal in the low byte, vertical in the
// high byte) and size rule bits (`resize`: SIZE:: bits). Unknown codes scale.
//
// Per axis, with d the control's offset from the parent's old left (top)
// edge and s the scale factor:
//   size: kept (KeepWidth) or scaled, unless a margin bit decides it below;
//   NearerEdge: LeftEdge when d is less than the distance from the control's
//     far edge to the parent's, else RightEdge;
//   Keep: the captured position; RightEdge: the parent's new far edge less
//     the old distance from the control to it (scaled unless the size is
//     kept); LeftEdge: new edge + d; Centre: the new centre plus the old
//     offset from the centre (scaled unless the size is kept); FollowCentre:
//     moved as far as the centre moved; Scale: new edge + d * s;
//   RightMargin: the size absorbs the whole change of the far margin,
//     HalfRightMargin half of it, measured from the new (whole) position.
Rect PlaceRect(const Rect& oldParent, const Rect& newParent, const Rect& captured, uint16_t positional,
               uint16_t resize);

}  // namespace wevo::resizer

#endif  // WEVO_RESIZER_PLACE_CONTROL_H_
