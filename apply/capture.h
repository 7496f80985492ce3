// Capture: a live control's (or the window's) properties read into a stored
// row, in the encodings the store keeps; the reverse of ApplyRow
// (apply_row.h).
//
// Capture writes only property fields. UID, PROCEDURENAME, UNIQUEMARKER,
// CONTROLLABEL, FEQ, ORDER and DESCRIPTION are the caller's (row_identity.h),
// and capture never writes USECOORDINATES, IMM, DROPWIDTH, FONTCOLOR,
// LISTBOXFORMAT, INITIALSIZE, FRAMETYPE or the reserved fields. Text is cut to
// its field and blank-padded; switches count as set when they read as true.
//
// Every operation here runs on the thread that owns the window.
#ifndef WEVO_APPLY_CAPTURE_H_
#define WEVO_APPLY_CAPTURE_H_

#include <string_view>

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::apply {

// Reads control `field` (0: the window) into `row`. The window is switched to
// dialog units first, so positions and sizes come in dialog units, and stays
// so. A field with no control reads as a control whose properties are all
// blank or 0.
//
// For the window: TYPE 0; LAYOUT 1 when it is right to left (otherwise as it
// was); ICON; WALLPAPER and WALLPAPERMODE (1 centred, 2 tiled, 0 stretched)
// only when it has a wallpaper; the font. Nothing else.
//
// For a control, whatever its type: TYPE, CONTROLTEXT, FLAT, JUSTIFICATION and
// OFFSET (the first switch set of left 1, right 2, centre 3, decimal 4, with
// that switch's offset; none: both 0), LAYOUT (as for the window), HIDE,
// DISABLE, SKIP, SCROLL, TRANSPARENT, WORDCASE (upper case 1, else capitalise
// 2, else 0), ENTRYMODE (insert 1, else overwrite 2, else 0), REQUIRED,
// READONLY, PASSWORD, the four colours, the placement (CapturePlacement),
// TIP, HELP, MESSAGE, CURSOR, ICON, HORIZONTAL, VERTICAL, BOXED, SINGLE,
// DELAY, REPEAT, LOWER, UPPER, STEP, DROP, the font, OUTER, INNER, STYLE;
// ANGLE (grid colour) of a LIST or COMBO; WALLPAPER and WALLPAPERMODE of a
// TOOLBAR (as for the window).
void CaptureControl(Window& window, int field, store::WindowControls& row);
// The same into the thread's store buffer, WIN().
void CaptureControl(Window& window, int field);

// Reads only the eight placement fields of control `field` into `row`, in
// dialog units (the window is switched to them and stays so): X, Y, WIDTH,
// HEIGHT, NOWIDTH, NOHEIGHT and
//   WIDTHTYPE  1 when the control has its default width (even if it reports a
//              width); else 0 when it fills its container across; else 2 when
//              it reports a width; else (width 0, no switch) as the row had it;
//   HEIGHTTYPE likewise from the default-height switch, filling down and the
//              height.
// Full size is read per direction: a full control whose width was set since
// (design mode's side handles) keeps that width as explicit and stays full
// down, so the row brings back what the user saw rather than a full control.
// Every other field of `row` stays as it is.
void CapturePlacement(Window& window, int field, store::WindowControls& row);

// Keeps control `field`'s current position and size in its override row
// (procedureName, uniqueMarker, label), as design mode does when the mouse is
// released over a control it moved or resized:
//   a row exists: only its eight placement fields are read from the control
//     (CapturePlacement) and the row is rewritten; everything else it holds
//     stays;
//   none exists: a whole new row is captured (DESCRIPTION the label without
//     its "?", FEQ and ORDER `field`) and added under a new UID.
// `label` is the control's label with its leading "?" (cut to 80 characters).
// Opens the store through the thread's use count (the store's name and
// password must have been set) and leaves the window in pixels, as design
// mode works in them. A failed add is reported by the store; a failed rewrite
// is not. Uses WIN(): whatever it held is replaced.
void StoreControlPlacement(int field, Window& window, std::string_view procedureName,
                           std::string_view uniqueMarker, std::string_view label);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_CAPTURE_H_
