// The state of one run of design mode: what is selected, the eight grab
// handles marking it, and where the mouse was.
#ifndef WEVO_DESIGN_MORPH_STATE_H_
#define WEVO_DESIGN_MORPH_STATE_H_

#include <cstdint>

namespace wevo::design {

inline constexpr int kHandleCount = 8;
inline constexpr int32_t kFirstHandleField = 10001;  // handle n is control 10000 + n of the host window

struct MorphState {
  int32_t CONTROLNO = 0;       // the selected control; 0: the window itself
  int32_t HBORDERCOLOR = 0;    // handle border colour
  int32_t HCONTENTSCOLOR = 0;  // handle fill colour
  uint8_t HSIZE = 0;           // handle side, pixels
  // Handle n: its control number and its position in the host window's
  // client pixels (n 1 top left, then clockwise).
  int32_t H1NO = 0, H1X = 0, H1Y = 0;
  int32_t H2NO = 0, H2X = 0, H2Y = 0;
  int32_t H3NO = 0, H3X = 0, H3Y = 0;
  int32_t H4NO = 0, H4X = 0, H4Y = 0;
  int32_t H5NO = 0, H5X = 0, H5Y = 0;
  int32_t H6NO = 0, H6X = 0, H6Y = 0;
  int32_t H7NO = 0, H7X = 0, H7Y = 0;
  int32_t H8NO = 0, H8X = 0, H8Y = 0;
  int32_t OLDX = 0, OLDY = 0;  // mouse at the previous mouse event (overlay pixels)
  int32_t NEWX = 0, NEWY = 0;  // mouse at the current move
  int32_t FIRSTCONTROL = 0, LASTCONTROL = 0;  // the host window's field range, read once at the start
  uint8_t MOUSEISDOWN = 0;        // 1 from a press to its release
  uint8_t CLICKINGONCONTROL = 0;  // 1 when the press fell inside the selection: a move drag
  uint8_t OVERGRABHANDLE = 0;     // 0, or the handle (1 to 8) under the mouse
};

// Handle n's fields (n from 1 to 8).
int32_t& HandleNo(MorphState& s, int n);
int32_t& HandleX(MorphState& s, int n);
int32_t& HandleY(MorphState& s, int n);
int32_t HandleNo(const MorphState& s, int n);
int32_t HandleX(const MorphState& s, int n);
int32_t HandleY(const MorphState& s, int n);

// The state design mode starts with: `selected` chosen, black-bordered red
// handles of 6 pixels numbered 10001 to 10008.
MorphState StartingState(int32_t selected, int32_t firstControl, int32_t lastControl);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_MORPH_STATE_H_
