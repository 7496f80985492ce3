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

namespace {

// The Window menu's arrangements: the open sample windows, laid out over
// the frame's client area.
void arrange(Window& frame, const DemoState& state, Arrangement how) {
  const int64_t mode = frame.get(0, PROP::Pixels).num();
  frame.set(0, PROP::Pixels, 1);
  arrangeWindows(state.samples(), how, frame.get(0, PROP::XPos).i32(), frame.get(0, PROP::YPos).i32(),
                 frame.get(0, PROP::Width).i32(), frame.get(0, PROP::Height).i32());
  frame.set(0, PROP::Pixels, mode);
}

}  // namespace

void DemoProgram(std::shared_ptr<DemoState> state) {
  const bool dragWasOn = dragFullWindows();
  if (dragWasOn) setDragFullWindows(false);
  {
    Window frame(frameDecl());
    frame.open();
    auto at = [&](const char* label) { return frame.fieldOf(label); };
    const int wevo = at("?WEVO"), wevo2 = at("?WEVO2"), exit = at("?EXIT"), printSetupItem = at("?PRINTSETUP");
    const int help[] = {at("?HELPINDEX"), at("?HELPSEARCH"), at("?HELPONHELP")};
    const std::pair<int, EditCommand> edits[] = {
        {at("?CUT"), EditCommand::Cut}, {at("?COPY"), EditCommand::Copy}, {at("?PASTE"), EditCommand::Paste}};
    const std::pair<int, Arrangement> arrangements[] = {{at("?TILE"), Arrangement::Tile},
                                                         {at("?CASCADE"), Arrangement::Cascade},
                                                         {at("?ARRANGE"), Arrangement::ArrangeIcons}};
    while (frame.accept()) {
      if (event() != EVENT::Accepted) continue;
      const int f = field();
      if (f == wevo) {
        start([state] { StartControlWindow(*state); }, kSampleStack);
      } else if (f == wevo2) {
        start([state] { StartDemoWindow(*state); }, kSampleStack);
      } else if (f == exit) {
        frame.post(EVENT::CloseWindow);
      } else if (f == printSetupItem) {
        printSetup("Print Setup");
      } else if (f == help[0] || f == help[1] || f == help[2]) {
        message(kHelpText, "Wevo Demo", ICON::Asterisk);
      }
      for (const auto& [item, command] : edits)
        if (f == item) editFocusedControl(state->activeSample(), command);
      for (const auto& [item, how] : arrangements)
        if (f == item) arrange(frame, *state, how);
    }
  }
  // The frame is gone: the sample windows go with it. The program ends
  // once their threads have.
  state->closeAll();
  if (dragWasOn) setDragFullWindows(true);
}

}  // namespace wevo::demo
