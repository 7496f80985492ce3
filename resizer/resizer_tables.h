// The window resizer's records: the rectangle group its tables share, the
// window's captured state, one row per managed control (the control table)
// and one row per computed move (the move table), with the placement codes
// and size rule bits a control row carries.
//
// Rectangles are in the window's coordinate mode at the time they were read
// (dialog units or pixels); the resizer never switches the mode.
#ifndef WEVO_RESIZER_RESIZER_TABLES_H_
#define WEVO_RESIZER_RESIZER_TABLES_H_

#include <cstdint>
#include <vector>

namespace wevo::resizer {

struct Rect {
  int32_t XPOS = 0;
  int32_t YPOS = 0;
  int32_t WIDTH = 0;
  int32_t HEIGHT = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The window's position, inner size and state when its layout was captured.
struct OrigWin {
  int32_t XPOS = 0;
  int32_t YPOS = 0;
  int32_t WIDTH = 0;
  int32_t HEIGHT = 0;
  uint8_t MAXIMIZED = 0;
  uint8_t ICONIZED = 0;
};

// Horizontal placement codes, the low byte of POSITIONALSTRATEGY. The
// vertical codes are the same values times 256 (kVertical), in the high byte.
namespace PLACE {
inline constexpr uint16_t Scale = 0;          // offset from the parent's left edge scales with it
inline constexpr uint16_t Keep = 1;           // the captured position stays
inline constexpr uint16_t RightEdge = 2;      // distance to the parent's right edge stays
inline constexpr uint16_t LeftEdge = 4;       // distance to the parent's left edge stays
inline constexpr uint16_t Centre = 8;         // offset from the parent's centre stays
inline constexpr uint16_t NearerEdge = 16;    // LeftEdge or RightEdge, whichever edge is nearer
inline constexpr uint16_t FollowCentre = 32;  // moves as far as the parent's centre moved
inline constexpr uint16_t kVertical = 256;    // multiply a code by this for its vertical form
}  // namespace PLACE

// Size rule bits, RESIZESTRATEGY. With none of KeepWidth, RightMargin and
// HalfRightMargin the width scales; likewise the height.
namespace SIZE {
inline constexpr uint16_t KeepWidth = 1;
inline constexpr uint16_t KeepHeight = 2;
inline constexpr uint16_t RightMargin = 4;       // the width absorbs the parent's change; the right margin stays
inline constexpr uint16_t BottomMargin = 8;
inline constexpr uint16_t HalfRightMargin = 16;  // the width takes half of the right margin's change
inline constexpr uint16_t HalfBottomMargin = 32;
}  // namespace SIZE

// One managed control. ID is unique within a table.
struct ControlRow {
  int32_t ID = 0;         // field equate number
  int32_t TYPE = 0;       // type code; a list with a drop-down counts as an entry (8)
  uint8_t HASCHILDREN = 0;
  uint16_t POSITIONALSTRATEGY = 0;  // low byte horizontal code, high byte vertical code
  uint16_t RESIZESTRATEGY = 0;      // SIZE:: bits
  Rect POS;               // position and size when captured
  int32_t PARENTID = 0;   // placed relative to this control; 0: the window
};

// One move computed by a reflow: the control's rectangle before and after.
struct MoveRow {
  int32_t PRIORITY = 0;  // order of application (the order the moves were computed)
  int32_t CONTROLID = 0;
  int32_t TYPE = 0;
  Rect BEFORE;
  Rect AFTER;
};

using ControlQueue = std::vector<ControlRow>;  // in the order controls were added
using ResizeList = std::vector<MoveRow>;

}  // namespace wevo::resizer

#endif  // WEVO_RESIZER_RESIZER_TABLES_H_
