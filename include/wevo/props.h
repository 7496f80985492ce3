// Property ids of windows and controls. Properties are read as text or number
// and written as either (Window::get / Window::set). An id listed here with a
// meaning changes or reports the model; every other id is kept per control and
// returned as written.
//
// Positions and sizes are relative to the window's client area (toolbar
// controls too), in the window's coordinate mode (Pixels: 1 pixels, 0 dialog
// units of the window's font: x = average character width / 4, y = character
// height / 8). A whole number written in one mode reads back unchanged in that
// mode; read in the other it is rounded to the nearest whole unit. For the
// window itself (field 0), XPos/YPos are the screen position of its client
// area and Width/Height its client size. Sizes read are the sizes the control
// has: its natural size while it has the default size, the filled size while
// it is full size. A TAB reads its sheet's rectangle. Moving a container does
// not move the controls in it.
#ifndef WEVO_PROPS_H_
#define WEVO_PROPS_H_

#include <cstdint>

namespace wevo::PROP {

// Text and type
inline constexpr int32_t Text = 31744;  // caption of the window; text of a control; picture of an entry, spin or
                                        // combo; the contents of a TEXT control; a list's text is kept as written
inline constexpr int32_t Type = 31745;  // control type code (TYPE::); 0 for the window; read-only

// Position and size
inline constexpr int32_t XPos = 31746;
inline constexpr int32_t YPos = 31747;
inline constexpr int32_t Width = 31748;
inline constexpr int32_t Height = 31749;
// Writing Width (Height) ends the default size and the full size across (down).
inline constexpr int32_t NoWidth = 31296;   // default-width switch: 1 sizes the control to its natural width (from
                                            // its text, font and type); 0 keeps the width it has as its own
inline constexpr int32_t NoHeight = 31297;  // default-height switch, likewise
inline constexpr int32_t Full = 31843;      // 1: the control reaches from its position to the right and bottom edges
                                            // of its container (client area, or the parent control; a tab's page);
                                            // 0 keeps the size it has. Without an index both directions, read as 1
                                            // when either fills; index FullAcross or FullDown: that direction only
inline constexpr int FullAcross = 1;        // indexes of Full
inline constexpr int FullDown = 2;
inline constexpr int32_t Pixels = 31774;    // coordinate mode of the window: 1 pixels, 0 dialog units
inline constexpr int32_t ClientWidth = 31311;   // window: inner (client) width, current mode; read-only
inline constexpr int32_t ClientHeight = 31312;  // window: inner (client) height
inline constexpr int32_t YOffset = 31300;       // window: vertical offset of the client area; always 0 here
inline constexpr int32_t MinWidth = 31917;      // window: smallest size the user can size it to (0: none); the
                                                // program itself may set any size
inline constexpr int32_t MinHeight = 31918;
inline constexpr int32_t MaxWidth = 31919;  // window: largest size (0: none)
inline constexpr int32_t MaxHeight = 31920;
inline constexpr int32_t Maximize = 31855;  // window: maximized
inline constexpr int32_t Iconize = 31849;   // window: minimized

// Justification switches and their offsets; setting one switch to 1 clears the others
inline constexpr int32_t Center = 31750;
inline constexpr int32_t CenterOffset = 31751;
inline constexpr int32_t Left = 31752;
inline constexpr int32_t LeftOffset = 31753;
inline constexpr int32_t Decimal = 31754;
inline constexpr int32_t DecimalOffset = 31755;
inline constexpr int32_t Right = 31756;
inline constexpr int32_t RightOffset = 31757;
inline constexpr int32_t Layout = 31322;  // 1: right-to-left layout

// Font
// A control's FontName "" and FontSize 0 use the window's (and read so).
inline constexpr int32_t FontName = 31760;
inline constexpr int32_t FontSize = 31761;   // points
inline constexpr int32_t FontColor = 31762;  // colour number (0x00BBGGRR)
inline constexpr int32_t FontStyle = 31763;  // weight in the low 12 bits; 0x1000 italic, 0x2000 underline, 0x4000 strikeout
inline constexpr int32_t FontCharset = 31290;

// Colours (0x00BBGGRR; -1 / COLOR_NONE: the system default)
inline constexpr int32_t Background = 31994;    // fill of a control or window; the border colour of a REGION
inline constexpr int32_t SelectedColor = 31995;
inline constexpr int32_t SelectedFill = 31996;
inline constexpr int32_t Fill = 31841;          // fill colour of a REGION or BOX
inline constexpr int32_t GridColor = 31785;     // list, combo

// State
inline constexpr int32_t Hide = 31845;     // the control's (or window's) own hidden switch
inline constexpr int32_t Visible = 31911;  // read-only: 1 when shown: not hidden itself, not inside a hidden
                                           // container, not on a tab that is not its sheet's current one (a TAB
                                           // itself shows only while it is current); the window: not hidden
inline constexpr int32_t Disable = 31839;
inline constexpr int32_t Skip = 31873;      // left out of the tab order
inline constexpr int32_t ReadOnly = 31867;
inline constexpr int32_t Req = 31868;       // entry required
inline constexpr int32_t Password = 31866;  // entry masks its input
inline constexpr int32_t Upr = 31881;       // upper case (setting it clears Cap)
inline constexpr int32_t Cap = 31834;       // capitalise (setting it clears Upr)
inline constexpr int32_t Ins = 31831;       // insert mode (setting it clears Ovr)
inline constexpr int32_t Ovr = 31832;       // overwrite mode (setting it clears Ins)
inline constexpr int32_t Flat = 31252;
inline constexpr int32_t Trn = 31880;       // transparent
inline constexpr int32_t Boxed = 31833;
inline constexpr int32_t Single = 31238;    // text box of one line
inline constexpr int32_t Scroll = 31871;    // yes/no text: "1" or "" (any true value sets it)
inline constexpr int32_t HScroll = 31847;   // yes/no text: "1" or ""
inline constexpr int32_t VScroll = 31883;   // number
inline constexpr int32_t NoResizeCapture = 31257;  // 1: the window resizer leaves the control alone

// Help and display
inline constexpr int32_t Tip = 31904;
inline constexpr int32_t Hlp = 31846;   // help id
inline constexpr int32_t Msg = 31859;   // status-bar message shown while the control has the focus
inline constexpr int32_t Cursor = 31837;  // mouse cursor over the control (CURSOR:: identifiers)
inline constexpr int32_t Icon = 31848;    // window icon; icon of a button, check or radio
inline constexpr int32_t Wallpaper = 31253;  // window, toolbar
inline constexpr int32_t Tiled = 31254;
inline constexpr int32_t Centered = 31255;

// Type-specific
inline constexpr int32_t Delay = 31247;   // auto-repeat delay (button, spin)
inline constexpr int32_t Repeat = 31240;  // auto-repeat interval
inline constexpr int32_t RangeLow = 31764;   // spin
inline constexpr int32_t RangeHigh = 31765;  // spin
inline constexpr int32_t Step = 31875;       // spin
inline constexpr int32_t Drop = 31840;       // list, combo: number of rows the drop-down shows (0: not a drop list)
inline constexpr int32_t From = 31842;       // choice list of a list, drop list or combo: "text|#value|text|#value"
inline constexpr int32_t BevelOuter = 31972;
inline constexpr int32_t BevelInner = 31973;
inline constexpr int32_t BevelStyle = 31974;
inline constexpr int32_t RegionKeep = 31975;   // kept; set on design-mode handles
inline constexpr int32_t Items = 31886;        // list: number of rows it shows at its height; read-only
inline constexpr int32_t MouseDownRow = 31776; // list: row under the mouse at the last press (0: none)
inline constexpr int32_t VScrollPos = 31902;   // list: scroll thumb position, 0 to 100 (kept within)
inline constexpr int32_t Follows = 31897;      // write: the control comes right after control n in the tab order
                                               // (0: first); read: the control before it (0: it is first)

// Window and runtime
inline constexpr int32_t Handle = 31915;        // operating-system handle of the window (non-zero and unique while
                                                // open, 0 when closed)
inline constexpr int32_t ClientHandle = 31894;  // handle of the window's client area
inline constexpr int32_t WndProc = 31924;       // frame window procedure (a procedure handle, see runtime.h)
inline constexpr int32_t ClientWndProc = 31925; // client-area window procedure
inline constexpr int32_t AcceptAll = 31898;     // window: 1 during the accept-all pass
inline constexpr int32_t Alrt = 32006;          // alerted keys; index 255 (or none) adds a key once; index n reads
                                                // the nth (0 past the last) and writing 0 there removes it; read
                                                // without an index: how many
inline constexpr int32_t NextField = 32011;     // window, index n: the field after control n in number order; 0 at the end
                                                // (index 0: the first control)
inline constexpr int32_t ResizerMark = 31850;   // window: kept; the window resizer sets it to 1
inline constexpr int32_t DeferMove = 31933;     // runtime-wide (SYSTEM): number of deferred moves; kept

}  // namespace wevo::PROP

#endif  // WEVO_PROPS_H_
