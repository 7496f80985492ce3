// Applying a stored row to a live control or to the window: the one place
// where stored values reach the screen.
#ifndef WEVO_APPLY_APPLY_ROW_H_
#define WEVO_APPLY_APPLY_ROW_H_

#include "store/window_controls.h"
#include "wevo/window.h"

namespace wevo::apply {

// Writes `row` onto control `field` (0: the window). The window must be in
// dialog units (X, Y, WIDTH and HEIGHT are written as stored). Runs on the
// thread that owns the window, with the store's name set: the thread's use
// count of the store is raised around it (opening the store when nothing else
// holds it open).
//
// Which fields reach the control is decided by the row's TYPE, never by the
// live control's: a row of another type is applied as its TYPE says.
//
// The window row sets the wallpaper and its mode (1 centred, 2 tiled, other
// stretched) only when WALLPAPER is not blank, then the icon (also when
// blank) and the font; nothing else of it.
//
// A control row sets, in this order: the text when CONTROLTEXT is not blank
// (cleared first); FLAT; the justification by type (CHECK, RADIO, BUTTON:
// left or right; STRING, SPIN, LIST, ENTRY, COMBO: any of the four with its
// offset, none clearing all four and their offsets; PROMPT, TEXT: left, right
// or centre, then a TEXT is redisplayed); LAYOUT only when it is 1; HIDE,
// DISABLE, SKIP, SCROLL, TRANSPARENT; WORDCASE and ENTRYMODE of an ENTRY or
// TEXT only when not 0; REQUIRED, READONLY; PASSWORD of an ENTRY; the four
// colours; X, Y; WIDTHTYPE (1 default width, 0 full size across, 2 WIDTH,
// other nothing) and HEIGHTTYPE likewise (0: full size down); ICON of a CHECK, RADIO or BUTTON; TIP,
// HELP, MESSAGE; BOXED of a GROUP, OPTION or TEXT; SINGLE of a TEXT; DELAY and
// REPEAT of a SPIN or BUTTON; LOWER, UPPER, STEP of a SPIN; DROP and ANGLE of
// a COMBO or LIST; the font; OUTER, INNER, STYLE of a REGION, GROUP, OPTION or
// PANEL; HORIZONTAL, VERTICAL; the wallpaper of a TOOLBAR (as for the window).
// Never applied: the identity fields, ORDER, TYPE, DESCRIPTION, CURSOR,
// USECOORDINATES, NOWIDTH, NOHEIGHT, DROPWIDTH, IMM, FONTCOLOR, LISTBOXFORMAT,
// INITIALSIZE, FRAMETYPE and the reserved fields.
//
// Text is written without its trailing blanks (a blank field as ""), so that
// a control sized by its text or icon keeps its natural size.
//
// Then the whole window is invalidated (without erasing) and a control is
// redisplayed. Callers that apply many rows freeze the window's drawing
// around them (lockWindowUpdate).
void ApplyRow(Window& window, int field, const store::WindowControls& row);
// The same from the thread's store buffer, WIN().
void ApplyRow(Window& window, int field);

}  // namespace wevo::apply

#endif  // WEVO_APPLY_APPLY_ROW_H_
