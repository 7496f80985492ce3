// The eight grab handles that mark the selection: small REGION controls
// (10001 to 10008) on the host window, numbered clockwise from the top-left
// corner, lying inside the rectangle they mark; and the cursor each shows.
#ifndef WEVO_DESIGN_GRAB_HANDLES_H_
#define WEVO_DESIGN_GRAB_HANDLES_H_

#include <string_view>

#include "design/design_windows.h"
#include "design/morph_state.h"

namespace wevo::design {

// Sets the handles' positions (H1X ... H8Y) around a rectangle of host client
// pixels, S being HSIZE:
//   1 (L, T)            2 (L + W/2 - S/2, T)          3 (L + W - S, T)
//   8 (L, T + H/2 - S/2)                              4 (L + W - S, T + H/2 - S/2)
//   7 (L, T + H - S)    6 (L + W/2 - S/2, T + H - S)  5 (L + W - S, T + H - S)
// Halves are exact; a position ending in a half pixel is rounded up.
void SetHandlePositions(MorphState& s, int left, int top, int width, int height);

// The rectangle the handles mark: the selected control's position and size,
// or for the window itself (CONTROLNO 0) its whole client area from (0, 0).
void SelectionBounds(const MorphState& s, const Window& host, int& left, int& top, int& width, int& height);

// Creates the eight handles on the host window around the selection: red
// fill, black border, HSIZE square, shown. A handle that exists is made again.
void PlaceHandles(MorphState& s, const DesignWindows& w);
// Destroys the eight handles.
void RemoveHandles(const MorphState& s, const DesignWindows& w);

// The handle (1 to 8, the first in that order) under the mouse at (mouseX,
// mouseY) of the overlay, edges included; 0 when none.
int HandleUnderMouse(const MorphState& s, const DesignWindows& w, int mouseX, int mouseY);

// The cursor over handle n: 1 and 5 "SizeNWSE", 2 and 6 "SizeNS", 3 and 7
// "SizeNESW", 4 and 8 "SizeWE"; the arrow for 0.
std::string_view HandleCursor(int n);

// With no button down, notes the handle under the mouse and shows its cursor.
void CursorOnMove(MorphState& s, const DesignWindows& w, int mouseX, int mouseY);

// Asks for the whole host window to be repainted, erasing its background.
void RepaintHost(const Window& host);

}  // namespace wevo::design

#endif  // WEVO_DESIGN_GRAB_HANDLES_H_
