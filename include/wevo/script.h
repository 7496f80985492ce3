// The scripted user: a list of steps that stands in for a person under any
// view. Input steps go through the same path as real input; dialog steps
// answer the dialogs the program shows, in order.
//
// Delivery: a step is delivered when the host thread it goes to waits in an
// event loop with nothing queued. Steps go strictly in order. A dialog shown
// when the next step does not answer it, a step that cannot be delivered, or
// every host thread waiting while no step is left, makes the program fail
// (ProgramResult::failed) with a message that names the dialog or step; it
// never hangs.
//
// Windows are named by caption; "" names the active window (the most recently
// opened window that is shown). Coordinates are pixels relative to the named
// window's client area. Mouse steps go to the window holding the mouse
// capture when there is one, as a real mouse's would. Windows and controls
// are found on screen, as a person finds them: a change the program made
// counts once its thread waits for input again (or releases frozen drawing).
//
// A Key step presses one key (code with KEY::Shift/Ctrl/Alt added) and types
// no character; Type replaces the focused control's text as if typed key by
// key and then accepts it (EVENT::Accepted, or EVENT::Rejected when the
// picture refuses it). Typed on a list, each character raises EVENT::Locate.
#ifndef WEVO_SCRIPT_H_
#define WEVO_SCRIPT_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wevo/export.h"

namespace wevo {

struct ScriptStep {
  enum Kind {
    Press, Move, Release, RightPress, RightRelease, DoubleClick,  // mouse at x, y of `window`, with the
                                                                  // KEY::Shift/Ctrl/Alt keys `code` held
    Key,         // key code `code` to the window that has the focus
    Type,        // `text` typed into the focused control and accepted
    ClickControl,   // press and release in the middle of the control labelled `label`
    SelectTab,      // the tab labelled `label` becomes its sheet's current tab
    SelectRow,      // row `code` (1-based) of the list labelled `label` is selected
    CloseWindow,    // the user closes `window`
    ResizeWindow,   // the user sizes `window` to x by y client pixels; `code` EVENT::Maximized or
                    // EVENT::Restored when the user maximized or restored it
    Answer,         // the next dialog is a message box titled `text`; it answers `code`
    ChoosePopup,    // the next dialog is a popup menu; it chooses item `code` (0: none)
    PickColor,      // the next dialog is a colour dialog; `code` picked, or cancelled when `cancel`
    PickFile,       // the next dialog is a file dialog; `text` chosen, or cancelled when `cancel`
    StopChoice,     // the next dialog is a stop message; `code` 1 ends the program, 0 goes on
    PageSetup,      // the next dialog is the page setup dialog; accepted as it stands, or cancelled when `cancel`
    Call,           // `call` runs on the thread of `window` when it waits
    Screenshot,     // the view saves `window` as `text` (a PNG under the Qt view; recorded when headless)
    Scroll,         // the list labelled `label` scrolls: `code` is EVENT::ScrollUp ... ScrollBottom or
                    // EVENT::ScrollDrag with the thumb at `x` (0 to 100)
    Activate,       // the user activates `window` (focus moves to it)
    SwitchAway,     // the user switches to another application (the focused window loses the focus)
  };
  Kind kind;
  int x = 0, y = 0;
  int code = 0;
  bool cancel = false;
  std::string window;
  std::string label;
  std::string text;
  std::function<void()> call;
};

class WEVO_API Script {
 public:
  // The Shift, Ctrl and Alt keys (KEY:: codes added; 0: none) held down
  // during the mouse steps added after this, until the next holding().
  //   script.holding(KEY::Ctrl).click(40, 20).holding(0);
  Script& holding(int keys);
  Script& press(int x, int y, std::string window = "");
  Script& move(int x, int y, std::string window = "");
  Script& release(int x, int y, std::string window = "");
  // press, then release at the same point
  Script& click(int x, int y, std::string window = "");
  // press, moves in steps of at most `stepPixels`, release
  Script& drag(int fromX, int fromY, int toX, int toY, std::string window = "", int stepPixels = 5);
  // Right press and right release as two steps. A program that opens a popup
  // menu on the press (as design mode does) is answered with rightPress then
  // choosePopup: a person's release lands on the menu, not on the window.
  Script& rightClick(int x, int y, std::string window = "");
  Script& rightPress(int x, int y, std::string window = "");
  Script& rightRelease(int x, int y, std::string window = "");
  Script& doubleClick(int x, int y, std::string window = "");
  Script& key(int code);
  Script& type(std::string text);
  Script& clickControl(std::string label, std::string window = "");
  Script& selectTab(std::string label, std::string window = "");
  Script& selectRow(std::string label, int row, std::string window = "");
  Script& closeWindow(std::string window = "");
  Script& resizeWindow(int width, int height, std::string window = "");
  // The window is maximized to (or restored at) width x height client pixels:
  // EVENT::Sized, then EVENT::Maximized (EVENT::Restored).
  Script& maximizeWindow(int width, int height, std::string window = "");
  Script& restoreWindow(int width, int height, std::string window = "");
  // `button`: a BUTTON:: code the box offers; 0 presses its default button.
  Script& answer(std::string title, int button);
  Script& choosePopup(int item);
  Script& pickColor(int32_t color);
  Script& cancelColor();
  Script& pickFile(std::string path);
  Script& cancelFile();
  Script& stopChoice(bool endProgram);
  Script& acceptPageSetup();
  Script& cancelPageSetup();
  Script& call(std::function<void()> fn, std::string window = "");
  Script& screenshot(std::string name, std::string window = "");
  // EVENT::ScrollUp ... ScrollBottom; for EVENT::ScrollDrag `thumb` is the position (0 to 100).
  Script& scroll(std::string label, int event, int thumb = 0, std::string window = "");
  Script& activate(std::string window);
  Script& switchAway();

  const std::vector<ScriptStep>& steps() const { return steps_; }
  std::vector<ScriptStep>& steps() { return steps_; }

 private:
  Script& add(ScriptStep step);
  ScriptStep mouse(ScriptStep::Kind kind, int x, int y, std::string window) const;
  std::vector<ScriptStep> steps_;
  int held_ = 0;
};

}  // namespace wevo

#endif  // WEVO_SCRIPT_H_
