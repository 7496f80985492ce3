// The door between the toolkit and a screen: what the toolkit asks of a
// view (View) and the little a view may ask of the toolkit (ViewHost).
//
// One View serves one running program (wevo::run). The toolkit never hands it
// a pointer into its model: windows and controls travel as snapshots (plain
// values), collected per window while a host thread works and sent in one
// batch when that thread waits for input, shows a dialog, or releases frozen
// drawing. A view that draws keeps its own widgets in step with the
// snapshots; input flows back as InputMessages through ViewHost::postInput,
// which routes them to the owning host thread. A view sees nothing of the
// toolkit but this header (the build gives it no other).
//
// A view need not make the widgets it shows: one that binds a window to
// widgets a host program built itself does so when the window's first update
// arrives (ViewUpdate::opened; controls carry their labels), and can read
// the window as it stands at any time through ViewHost::window.
//
// Threads. run() is called on the thread that called wevo::run and loops there
// until quit(). Every other call comes from host threads, possibly several at
// once, and must be safe for that: update(), dialog(), deliver() block the
// calling host thread until done; metrics() and textWidth() must be cheap
// (the toolkit keeps each window font's metrics and each control's natural
// size, and asks again when a text or font changes).
#ifndef WEVO_PLATFORM_VIEW_VIEW_H_
#define WEVO_PLATFORM_VIEW_VIEW_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wevo/codes.h"
#include "wevo/frame_actions.h"
#include "wevo/program.h"
#include "wevo/runtime.h"
#include "wevo/script.h"

namespace wevo::toolkit {

// A font as a control or window shows it. `face` is never empty in a
// snapshot (inherited faces are resolved).
struct FontDesc {
  std::string face;
  int size = 8;       // points
  int style = 0;      // weight in the low 12 bits (0: normal); 0x1000 italic, 0x2000 underline, 0x4000 strikeout
  int charset = 0;
  int32_t color = COLOR::None;  // text colour
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

// Pixel metrics of a font: the average character width and the character
// height. Dialog units derive from them: x = aveCharWidth / 4, y = height / 8.
struct FontMetrics {
  int aveCharWidth = 0;
  int height = 0;
  friend bool operator==(const FontMetrics&, const FontMetrics&) = default;
};

// One column of a list, from its list format.
struct ListColumn {
  int width = 0;          // pixels
  char align = 'L';       // 'L', 'R', 'C', 'D'
  int indent = 0;         // pixels
  bool rightBorder = false;
  bool resizable = false;
  std::string header;     // empty: no header
  char headerAlign = 'L';
  int headerIndent = 0;
  std::string picture;    // "s80", "n-14"
  int field = 0;          // source field number, 1-based
  friend bool operator==(const ListColumn&, const ListColumn&) = default;
};

// Everything a widget needs to show one control.
struct ControlSnapshot {
  int field = 0;
  int type = 0;          // TYPE::
  int parent = 0;        // containing control (group, option, sheet, tab, toolbar, menu); 0: the window
  std::string label;     // "?OkButton"; may be empty for run-time controls
  int x = 0, y = 0, width = 0, height = 0;  // pixels, relative to the window's client area
  std::string text;      // caption; for an entry, spin or combo the value as displayed (picture applied)
  std::string picture;   // entry, spin, combo: "s20", "n-14"
  FontDesc font;         // resolved: the control's own or its window's
  int32_t background = COLOR::None;
  int32_t selectedColor = COLOR::None;
  int32_t selectedFill = COLOR::None;
  int32_t fill = COLOR::None;
  int32_t gridColor = COLOR::None;
  bool hidden = false;    // its own hidden switch
  bool visible = true;    // effective: see PROP::Visible
  bool disabled = false;
  bool readOnly = false;
  bool password = false;
  bool required = false;
  bool flat = false;
  bool transparent = false;
  bool boxed = false;
  bool single = false;
  bool skip = false;
  bool upper = false;
  bool capitalise = false;
  bool hScroll = false;
  bool vScroll = false;
  bool rightToLeft = false;
  char justify = 0;       // 0 default, 'L', 'R', 'C', 'D'
  int justifyOffset = 0;  // pixels
  std::string icon, tip, msg, cursor, wallpaper;
  std::string help;       // help id (what a view may show as the control's "what's this" text)
  int wallpaperMode = 0;  // 0 stretched, 1 centred, 2 tiled
  int bevelOuter = 0, bevelInner = 0, bevelStyle = 0;
  bool checked = false;   // check box; radio: the option's chosen one
  int currentTab = 0;     // sheet: field of its current tab
  int tabOrder = 0;       // 1-based position in the window's tab order; 0: not in it
  bool focused = false;
  // Lists, drop lists and combos.
  int drop = 0;                                  // rows of the drop-down; 0: not a drop list
  std::vector<ListColumn> columns;
  std::vector<std::vector<std::string>> rows;    // cells as displayed (pictures applied)
  std::vector<std::string> choices;              // choice texts of a From list
  int selected = 0;                              // 1-based row or choice; 0: none
  int vScrollPos = 0;                            // 0 to 100
  // Spins.
  int rangeLow = 0, rangeHigh = 0, step = 1;
  friend bool operator==(const ControlSnapshot&, const ControlSnapshot&) = default;
};

struct WindowSnapshot {
  int64_t handle = 0;
  int64_t clientHandle = 0;
  int thread = 0;         // host thread that owns it
  int64_t openOrder = 0;  // grows with every window opened; the newest is on top
  std::string caption;
  int x = 0, y = 0;       // screen position of the client area, pixels
  int width = 0, height = 0;  // client size, pixels
  FontDesc font;
  std::string icon, wallpaper;
  int wallpaperMode = 0;
  int frameType = 0;      // 0 single, 1 double, 2 resizable, 3 none
  bool hidden = false;
  bool modal = false;
  bool blocked = false;   // a later window of the same thread is open (shown or not): input for this
                          // one is dropped until it closes; a view need not draw it differently
  bool statusBar = false;
  std::string statusText; // the focused control's message
  bool maximized = false, iconized = false;
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;  // pixels, 0: none
  int focusedField = 0;
  int32_t background = COLOR::None;
  friend bool operator==(const WindowSnapshot&, const WindowSnapshot&) = default;
};

// A window as the toolkit last sent it to the view: what is on screen.
struct ShownWindow {
  WindowSnapshot window;
  std::map<int, ControlSnapshot> controls;  // by field
};

// The changes of one window since its last flush. Apply `destroyed` first,
// then `controls` (each a full snapshot: create or replace).
struct ViewUpdate {
  int64_t handle = 0;
  bool opened = false;  // first update of a newly opened window
  bool closed = false;  // the window is gone; nothing else is set
  std::optional<WindowSnapshot> window;  // set when the window itself changed (always when opened)
  std::vector<int> destroyed;
  std::vector<ControlSnapshot> controls;
};

// Input from the screen (a person, or the scripted user through the view),
// posted with ViewHost::postInput from any thread. The toolkit routes it to the
// thread that owns the window and runs it through the window's procedures.
struct InputMessage {
  enum Kind {
    MouseMove, LeftDown, LeftUp, LeftDoubleClick, RightDown, RightUp,  // x, y: screen pixels; key: the
                                                                       // KEY::Shift/Ctrl/Alt keys held
    KeyDown,     // key: code with KEY::Shift/Ctrl/Alt added; goes to the focused control
    Char,        // key: the character typed into the focused control
    Text,        // field (0: focused) takes `text` as the user's edit, committed (accepted)
    SelectTab,   // field: a tab; it becomes its sheet's current tab
    SelectRow,   // field: a list, drop list or combo; row: 1-based row or choice
    Scroll,      // field: a list; key: EVENT::ScrollUp ... ScrollBottom or ScrollDrag; row: thumb 0-100
    FocusControl,  // field: the control the user clicked into or tabbed to (a view with real widgets)
    MenuChoice,  // field: the menu item the user chose
    Close,       // the user asks to close the window
    Resize,      // x, y: the client size the user asks for (pixels); key: 0, or EVENT::Maximized,
                 // EVENT::Iconized or EVENT::Restored when the window changed state
    Move,        // x, y: the new screen position of the client area
    Activate,    // the user activates the window; window 0: another application
    Call,        // call runs on the window's thread (scripted user)
    Edit,        // field (0: focused) shows `text` as the user's edit, typed but not yet accepted (a
                 // view whose widgets edit text hands it over before other input from that window)
  };
  Kind kind = MouseMove;
  int64_t window = 0;  // the window the input is for (for mouse input: the window under the mouse)
  int x = 0, y = 0;
  int key = 0;
  int field = 0;
  int row = 0;
  std::string text;
  std::function<void()> call;
};

// A dialog a host thread asks for.
struct DialogRequest {
  enum Kind { Message, Popup, Color, File, Stop, PageSetup };
  Kind kind = Message;
  int64_t owner = 0;  // the window of the asking thread on top, 0 if none
  std::string title;  // message, colour and file dialogs
  std::string text;   // message and stop text ("|" splits lines), popup items ("|" separated)
  std::string icon;   // ICON:: identifier
  int buttons = BUTTON::Ok;        // message: sum of BUTTON:: codes (never 0 here)
  int defaultButton = BUTTON::Ok;  // message: one of them
  int x = 0, y = 0;   // popup: screen position
  int32_t color = 0;  // colour: the starting colour
  std::string value;  // file: the starting path
  std::string filter; // file: "Name|*.ext|..."
  int flags = 0;      // file
};  // page setup: the title only

// The parts of a text written with "|" between them: a dialog's lines, a
// popup's items, a file filter's names and patterns ("a||b|" has four).
std::vector<std::string> splitBars(std::string_view s);

struct DialogResult {
  int button = 0;       // message
  int item = 0;         // popup: 1-based among non-separators, 0 none
  bool ok = false;      // colour and file: picked; stop: end the program; page setup: accepted
  int32_t color = 0;
  std::string path;     // file: the path; page setup: the page chosen ("A4, portrait")
};

// A script step with its target worked out by the scripted user from what is
// on screen. Coordinates are screen pixels.
struct ResolvedStep {
  const ScriptStep* step = nullptr;
  int64_t window = 0;        // the window the step names (for mouse steps the window under the point)
  std::string caption;
  int field = 0;             // the control the step names, if any
  int controlType = 0;       // its type (TYPE::)
  int screenX = 0, screenY = 0;  // mouse steps: the point; ClickControl: the control's middle
};

class View {
 public:
  virtual ~View();

  // The view's loop, on the thread that called wevo::run; returns after quit().
  virtual void run() = 0;
  // Ends run(); callable from any thread, also before run() was entered.
  virtual void quit() = 0;
  // Whether a person can answer dialogs and give input. Without one and
  // without a script, a program runs on an empty script (and fails as soon
  // as it waits for input).
  virtual bool hasPerson() const { return true; }

  // Model changes of one host thread's windows, in order.
  virtual void update(const std::vector<ViewUpdate>& batch) = 0;

  virtual FontMetrics metrics(const FontDesc& font) = 0;
  // Width in pixels of one line of text (a single "&" marks a shortcut and
  // takes no room; "&&" shows as "&").
  virtual int textWidth(const FontDesc& font, std::string_view text) = 0;
  virtual std::vector<FontFace> fonts() = 0;

  // Shows a dialog and blocks until it is answered. With a scripted user,
  // `step` is the step that answers it (already checked against the
  // request); a view that draws shows the dialog and answers it as the step
  // says. `step` is nullptr when a person answers.
  virtual DialogResult dialog(const DialogRequest& request, const ScriptStep* step) = 0;

  // Desktop services. Handles are window handles (PROP::Handle).
  virtual void setCursor(std::string_view cursor) { (void)cursor; }
  virtual void setCapture(int64_t window) { (void)window; }
  virtual void setFocus(int64_t window, int field) { (void)window, (void)field; }
  virtual void invalidate(int64_t window, bool erase) { (void)window, (void)erase; }
  virtual void beep() {}
  // The desktop's "show window contents while dragging"; nullopt: none.
  virtual std::optional<bool> dragFullWindows() { return std::nullopt; }
  virtual void setDragFullWindows(bool on) { (void)on; }
  // Accessibility: control `field` of the window (0: the window itself) is
  // what the user works on now, as `description` says (what it is and where
  // it lies); assistive tools such as screen readers are told. An empty
  // description withdraws it.
  virtual void announce(int64_t window, int field, std::string_view description) {
    (void)window, (void)field, (void)description;
  }

  // The platform's edit command in the focused control of a window of any
  // thread, through the system clipboard (see wevo::editFocusedControl); a
  // changed text goes to the toolkit as the user's edit. False when the
  // window has no focused control that takes text. Runs on a host thread.
  virtual bool editFocused(int64_t window, EditCommand command) {
    (void)window, (void)command;
    return false;
  }
  // Whether dialog() can show a page setup dialog (DialogRequest::PageSetup).
  virtual bool hasPageSetup() const { return false; }

  // Performs one input step of the script (not a dialog step) as a person
  // would, by posting input messages (ViewHost::postInput), and returns once
  // they are posted. Returns false with `why` set when it cannot.
  // Screenshot steps save the named window. Runs on a host thread.
  virtual bool deliver(const ResolvedStep& step, std::string& why) = 0;
};

// What a view may ask of the toolkit, and nothing else. The program gives it
// to the view it makes (ViewFactory) and outlives the view. Every call is
// safe from any thread and never calls back into the view.
class ViewHost {
 public:
  // Input from the screen: routed to the host thread that owns its window
  // (see InputMessage). False when no window took it.
  virtual bool postInput(const InputMessage& message) = 0;
  // The window with this handle as the toolkit last sent it (its changes
  // since then still wait for a flush); nullopt when it is not open.
  virtual std::optional<ShownWindow> window(int64_t handle) const = 0;
  // Sends the calling host thread's model changes to the view now, so that
  // what the view shows next is current. Does nothing on any other thread.
  virtual void flush() = 0;
  // Whether the program is ending; a view waiting for a person stops then.
  virtual bool ending() const = 0;
  // Ends the program as failed, with `why` (the screen went away): every
  // host thread unwinds.
  virtual void endProgram(const std::string& why) = 0;
  // Whether a script gives the input: a view then takes none from a person.
  virtual bool scripted() const = 0;

 protected:
  ~ViewHost() = default;
};

// A ViewFactory of the library's own making: `make` builds the view for the
// program that passes itself as the host.
using MakeView = std::function<std::unique_ptr<View>(ViewHost& host)>;
ViewFactory viewFactory(MakeView make);
// The factory's view for this host; nullptr for an empty factory.
std::unique_ptr<View> makeView(const ViewFactory& factory, ViewHost& host);

}  // namespace wevo::toolkit

namespace wevo {
struct ViewFactory::Maker {
  toolkit::MakeView make;
};
}  // namespace wevo

#endif  // WEVO_PLATFORM_VIEW_VIEW_H_
