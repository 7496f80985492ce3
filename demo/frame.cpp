#include "demo/frame.h"

#include "demo/control_window.h"
#include "demo/decl_builder.h"
#include "demo/demo_window.h"
#include "wevo/toolkit.h"

namespace wevo::demo {

namespace {

constexpr const char* kHelpText =
    "&Wevo opens the Control Window, Wevo+ the Wevo Demo Window, each on a thread of its own.|"
    "Pick a form mode: each mode keeps its own layout, and Original shows the window as designed.|"
    "Press Ctrl+Alt+D (or the window's design button) to rearrange the window; Esc leaves design mode.";

void item(DeclBuilder& b, std::string menu, std::string use, std::string text, std::string msg) {
  b.add(TYPE::Item, std::move(use), std::move(text), {}, std::move(menu)).msg = std::move(msg);
}

}  // namespace

WindowDecl frameDecl() {
  WindowDecl d;
  d.caption = kFrameCaption;
  d.font = {"MS Sans Serif", 8};
  d.icon = "WAFRAME.ICO";
  d.at = {kDefault, kDefault, 505, 318};
  d.frameType = 2;
  d.statusBar = true;
  DeclBuilder b(d);
  b.add(TYPE::MenuBar, "?MENUBAR");
  b.add(TYPE::Menu, "?FILEMENU", "&File", {}, "?MENUBAR");
  item(b, "?FILEMENU", "?PRINTSETUP", "&Print Setup ...", "Setup printer");
  item(b, "?FILEMENU", "?EXIT", "E&xit", "Exit this application");
  b.add(TYPE::Menu, "?EDITMENU", "&Edit", {}, "?MENUBAR");
  item(b, "?EDITMENU", "?CUT", "Cu&t", "Remove item to Windows Clipboard");
  item(b, "?EDITMENU", "?COPY", "&Copy", "Copy item to Windows Clipboard");
  item(b, "?EDITMENU", "?PASTE", "&Paste", "Paste contents of Windows Clipboard");
  b.add(TYPE::Item, "?WEVO", "&Wevo", {}, "?MENUBAR");
  b.add(TYPE::Item, "?WEVO2", "Wevo+", {}, "?MENUBAR");
  b.add(TYPE::Menu, "?WINDOWMENU", "&Window", {}, "?MENUBAR");
  item(b, "?WINDOWMENU", "?TILE", "T&ile", "Make all open windows visible");
  item(b, "?WINDOWMENU", "?CASCADE", "&Cascade", "Stack all open windows");
  item(b, "?WINDOWMENU", "?ARRANGE", "&Arrange Icons", "Align all window icons");
  b.add(TYPE::Menu, "?HELPMENU", "&Help", {}, "?MENUBAR");
  item(b, "?HELPMENU", "?HELPINDEX", "&Contents", "View the contents of the help file");
  item(b, "?HELPMENU", "?HELPSEARCH", "&Search for Help On...", "Search for help on a subject");
  item(b, "?HELPMENU", "?HELPONHELP", "&How to Use Help", "How to use Windows Help");
  return d;
}

void DemoProgram(std::shared_ptr<DemoState> state) {
  const bool dragWasOn = dragFullWindows();
  if (dragWasOn) setDragFullWindows(false);
  {
    Window frame(frameDecl());
    frame.open();
    const int wevo = frame.fieldOf("?WEVO"), wevo2 = frame.fieldOf("?WEVO2"), exit = frame.fieldOf("?EXIT");
    const int help[] = {frame.fieldOf("?HELPINDEX"), frame.fieldOf("?HELPSEARCH"), frame.fieldOf("?HELPONHELP")};
    while (frame.accept()) {
      if (event() != EVENT::Accepted) continue;
      const int f = field();
      if (f == wevo) {
        start([state] { StartControlWindow(*state); }, kSampleStack);
      } else if (f == wevo2) {
        start([state] { StartDemoWindow(*state); }, kSampleStack);
      } else if (f == exit) {
        frame.post(EVENT::CloseWindow);
      } else if (f == help[0] || f == help[1] || f == help[2]) {
        message(kHelpText, "Wevo Demo", ICON::Asterisk);
      }
    }
  }
  // The frame is gone: the sample windows go with it. The program ends
  // once their threads have.
  state->closeAll();
  if (dragWasOn) setDragFullWindows(true);
}

}  // namespace wevo::demo
