// The host runtime's thread-level state, dialogs and desktop services.
//
// Everything here acts for the calling host thread (a thread started by
// wevo::run or wevo::start): its current event, field, key code and mouse
// position are its own. Dialogs block the calling thread until answered; they
// and halt() need a running program (std::logic_error otherwise).
//
// Focus: one window of the process has the keyboard focus. It moves when a
// shown window opens, when a window is selected (Window::select), clicked or
// activated, and with setFocus. When it moves to a window of another thread
// (or to another application and back), the window losing it gets
// EVENT::LoseFocus and the window gaining it EVENT::GainFocus; moves between
// windows of one thread raise neither.
#ifndef WEVO_RUNTIME_H_
#define WEVO_RUNTIME_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "wevo/export.h"
#include "wevo/value.h"

namespace wevo {

class Window;

// ---- The current event of the calling thread --------------------------------
WEVO_API int event();
WEVO_API int field();
// The last key pressed, or the mouse button of the last press (KEY::MouseLeft,
// KEY::MouseRight, KEY::MouseLeft2); it stays until the next one.
WEVO_API int keyCode();
WEVO_API void setKeyCode(int code);
// The Shift, Ctrl and Alt keys (KEY::Shift, KEY::Ctrl, KEY::Alt added) held
// at the last key press or mouse input.
WEVO_API int keyState();
WEVO_API char keyChar();  // the character of the last EVENT::Locate or typed key, 0 if none
// Mouse position of the last mouse input, in pixels relative to the client
// area of the target window.
WEVO_API int mouseX();
WEVO_API int mouseY();

// The target window (the window the mouse position is relative to); by
// default the window whose event is current. setTarget(nullptr) goes back to
// the default; closing the target does too.
WEVO_API Window* target();
WEVO_API void setTarget(Window* window);

// Queues an event for the calling thread's topmost open window (user events such as EVENT::User).
WEVO_API void postToThread(int event);

// ---- Program -------------------------------------------------------------
// Starts a procedure on a new host thread; returns at once. The stack is the
// platform's default (larger than any size a host asks for). An exception
// other than the program's own unwinding that leaves the procedure fails the
// program. Windows the procedure left open close when it returns.
WEVO_API void start(std::function<void()> procedure, int stackSize = 0);
// Item n of the program's command line; item 0 is the program's path.
WEVO_API std::string command(int item);
// Ends the program with a text: every window closes and every host thread
// unwinds (through an exception of the toolkit's own, which is not a
// std::exception: host code must not swallow it with catch (...)). Does not
// return. The transcript records it as halt "text".
[[noreturn]] WEVO_API void halt(std::string_view text);
// Shows the text; the user chooses to end the program (as halt) or to go on.
WEVO_API void stop(std::string_view text);
// Runtime-wide properties (PROP::DeferMove).
WEVO_API Value systemGet(int32_t prop);
WEVO_API void systemSet(int32_t prop, const Value& value);
// The desktop setting "show window contents while dragging"; a desktop
// without one reports false and ignores a change.
WEVO_API bool dragFullWindows();
WEVO_API void setDragFullWindows(bool on);

// ---- Dialogs ---------------------------------------------------------------
// Lines of `text` are split at "|". `buttons` is a sum of BUTTON:: codes (0:
// OK); `defaultButton` one of them (0: the first). Returns the button chosen.
WEVO_API int message(std::string_view text, std::string_view title = "", std::string_view icon = "",
                     int buttons = 0, int defaultButton = 0);
// Items split at "|"; "-" is a separator, a leading "~" disables an item, and
// "Title{A|B}" is a submenu Title holding A and B. Shown at the mouse
// position; returns the chosen item's number among the items that are
// neither separators nor submenu titles, counted in the order written
// (1-based), 0 when none was chosen.
WEVO_API int popup(std::string_view items);
// Returns true and sets `color` when the user picks a colour.
WEVO_API bool colorDialog(std::string_view title, int32_t& color);
// File dialog. `filter` is "Name|*.ext|Name|*.ext"; `flags` 16 opens an
// existing file. `value` is the starting path and takes the chosen one.
WEVO_API bool fileDialog(std::string_view title, std::string& value, std::string_view filter, int flags);
// Recorded in the transcript as "beep".
WEVO_API void beep();

// ---- Desktop services ------------------------------------------------------
// All take window handles (PROP::Handle / PROP::ClientHandle).
// Freezes drawing of one window (0 releases it; freezing another releases the
// first); model changes reach the screen when it is released.
WEVO_API void lockWindowUpdate(int64_t handle);
// Asks for a repaint of the whole window; changes of a window of the calling
// thread reach the screen first.
WEVO_API void invalidate(int64_t handle, bool erase);
// All mouse input of the process goes to this window until released.
WEVO_API void setCapture(int64_t handle);
WEVO_API void releaseCapture();
WEVO_API int64_t capture();
WEVO_API void setFocus(int64_t handle);
// The global mouse cursor (CURSOR:: identifiers; "" clears it).
WEVO_API void setCursor(std::string_view cursor);
WEVO_API std::string cursor();

// ---- Window procedures -----------------------------------------------------
// Raw input reaches a window through its procedures: mouse messages through
// the client-area procedure (PROP::ClientWndProc), key messages through the
// frame procedure (PROP::WndProc). Both properties hold procedure handles; a
// program may install its own and pass messages on with callWindowProc.
// The default procedures turn input into events and model changes:
//   mouse: a press focuses a focusable control, selects the row under it in a
//   list (PROP::MouseDownRow), switches a sheet's tab from its tab strip; a
//   release over the pressed control accepts a button, toggles a check box
//   (EVENT::Accepted) or chooses a radio (EVENT::NewSelection and
//   EVENT::Accepted on its option); a double click accepts a list; a button
//   or double click alerted on the control under the mouse or the window
//   raises EVENT::AlertKey for that control instead.
//   keys: a key alerted on the focused control or the window raises
//   EVENT::AlertKey; Tab and Shift+Tab move the focus in tab order (an edited
//   control is accepted first and keeps the focus when rejected); Enter or
//   Space accept a button, Space toggles a check box; Up and Down step a spin
//   and move a list's selection (EVENT::NewSelection; past an end
//   EVENT::ScrollUp/ScrollDown), PgUp/PgDn likewise by a page
//   (EVENT::PageUp/PageDown), Home/End give EVENT::ScrollTop/ScrollBottom
//   on a list over a ListSource; characters edit the focused entry or raise
//   EVENT::Locate on a list.
struct RawMessage {
  enum Kind { MouseMove, LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp, KeyDown, KeyUp, Char };
  Kind kind;
  int x = 0, y = 0;  // pixels, relative to the window's client area
  int key = 0;       // KeyDown/KeyUp: key code with KEY::Ctrl/Alt/Shift added; Char: the character; mouse:
                     // the KEY::Ctrl/Alt/Shift keys held
};
using WindowProc = std::function<int64_t(Window& window, const RawMessage& message)>;
// Registers a procedure for the life of the process and returns its handle.
WEVO_API int64_t registerWindowProc(WindowProc proc);
// Runs the procedure with this handle (the default procedures included).
WEVO_API int64_t callWindowProc(int64_t proc, Window& window, const RawMessage& message);

// ---- Fonts -----------------------------------------------------------------
struct FontFace {
  std::string face;
  int charset = 0;
  bool scalable = true;
  int weight = 400;
  bool italic = false;
  int height = 0, ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
  int aveCharWidth = 0, maxCharWidth = 0;
};
// Every installed face in every character set the platform reports, as the
// platform reports them (a face may come once per character set).
WEVO_API std::vector<FontFace> enumerateFonts();

}  // namespace wevo

#endif  // WEVO_RUNTIME_H_
