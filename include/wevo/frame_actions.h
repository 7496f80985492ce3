// The standard actions of an application frame's menus: the Edit menu's
// clipboard commands, the Window menu's arrangements and the File menu's
// printer setup. They act on windows of any thread of the program, as the
// desktop's own commands would.
#ifndef WEVO_FRAME_ACTIONS_H_
#define WEVO_FRAME_ACTIONS_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "wevo/export.h"

namespace wevo {

enum class EditCommand { Cut, Copy, Paste };

// Runs the command in the focused control of the window with this handle
// (PROP::Handle; a window of any thread), through the system clipboard, as
// the platform's own edit commands do: Cut and Copy put the control's
// selected text on the clipboard (Cut removes it), Paste puts the
// clipboard's text in place of the selection. The change is the user's edit
// of the control, accepted as typing is. A view without text selections
// takes the control's whole text as selected. Read-only controls are not
// changed and password entries are not copied from. Returns false when the
// window has no focused control that takes text.
WEVO_API bool editFocusedControl(int64_t handle, EditCommand command);

enum class Arrangement {
  Tile,          // side by side in a grid over the area
  Cascade,       // stacked from the area's top left corner, each a step down and right of the last
  ArrangeIcons,  // the minimized ones in rows along the area's bottom edge
};

// Lays the windows with these handles (in this order) out in an area of the
// screen, in pixels (for example a frame's client area: its PROP::XPos,
// PROP::YPos, PROP::Width and PROP::Height in pixels). Each window is moved
// and sized as if the user did it: the change reaches it on its own thread
// with EVENT::Moved (and EVENT::Sized). Tile and Cascade place the windows
// that are not minimized; a window that the user cannot size (frame type not
// resizable) keeps its size, a resizable one takes its grid cell's (within
// its minimum and maximum). ArrangeIcons moves only the minimized ones.
// Hidden windows and handles of no open window are left out.
WEVO_API void arrangeWindows(const std::vector<int64_t>& handles, Arrangement how, int x, int y, int width,
                             int height);

// The cascade's step and the size of a minimized window's place in a row.
inline constexpr int kCascadeStep = 24;
inline constexpr int kIconWidth = 160;
inline constexpr int kIconHeight = 24;

// The platform's page setup dialog, titled `title`; true when the user
// accepted it. Where the platform has none, a message titled `title` says
// that printing is not set up here, and false.
WEVO_API bool printSetup(std::string_view title);
inline constexpr const char* kNoPrintingText = "Printing is not set up on this computer.";

}  // namespace wevo

#endif  // WEVO_FRAME_ACTIONS_H_
