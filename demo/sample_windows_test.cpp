// The demonstration's windows as data and as opened: every control with its
// number, label, kind and text in order, what lies on which tab, the frame's
// menus, and the mode window's answers.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "demo/control_window.h"
#include "demo/demo_test_support.h"
#include "demo/demo_window.h"
#include "demo/frame.h"
#include "demo/select_mode.h"

namespace wevo::demo {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::runScripted;

struct Expected {
  std::string label;
  int type;
  std::optional<std::string> text;  // PROP::Text as the window reports it; nullopt: not compared
};

// Opens the declaration on a program of its own and compares every control,
// number by number; `more` looks at the open window before it closes.
void expectControls(const WindowDecl& decl, const std::vector<Expected>& want,
                    const std::function<void(Window&)>& more = {}) {
  ProgramResult r = runScripted(Script(), [&] {
    Window w(decl);
    w.open();
    EXPECT_EQ(w.firstField(), 1);
    EXPECT_EQ(w.lastField(), static_cast<int>(want.size()));
    for (size_t i = 0; i < want.size(); ++i) {
      const int f = static_cast<int>(i) + 1;
      SCOPED_TRACE("field " + std::to_string(f) + " " + want[i].label);
      EXPECT_EQ(w.label(f), want[i].label);
      EXPECT_EQ(w.get(f, PROP::Type).num(), want[i].type);
      if (want[i].text) {
        EXPECT_EQ(w.get(f, PROP::Text).str(), *want[i].text);
      }
    }
    if (more) more(w);
    w.close();
  });
  EXPECT_TRUE(endedNormally(r));
}

TEST(SampleWindows, ControlWindowHoldsItsControlsInFieldNumberOrder) {
  SampleVars vars;
  WindowDecl decl = controlWindowDecl(vars);
  EXPECT_EQ(decl.caption, "Control Window");
  EXPECT_EQ(decl.font.face, "MS Sans Serif");
  const std::string items = "Line 1|Line 1|Line 1|Line 1|Line 1|Line 1|Line 1|";
  expectControls(decl,
                 {{"?TOOLBAR", TYPE::Toolbar, {}},
                  {"?BUTTONTOOLBAR", TYPE::Button, "Button In Toolbar"},
                  {"?STRING1", TYPE::String, "Press CtrlAltD to switch to Wevo mode"},
                  {"?PROMPT2:2", TYPE::Prompt, "Font Prompt"},
                  {"?OPTION1", TYPE::Option, "Option 1"},
                  {"?OPTION1:RADIO1", TYPE::Radio, "Radio 1"},
                  {"?OPTION1:RADIO1:2", TYPE::Radio, "Radio 2"},
                  {"?PROMPT1", TYPE::Prompt, "Prompt 1"},
                  {"?BUTTON3:2", TYPE::Button, "Test"},
                  {"?TESTENTRY", TYPE::Entry, "s20"},
                  {"?BUTTONADDED", TYPE::Button, "Button Added"},
                  {"?PROMPT2", TYPE::Prompt, "Default width"},
                  {"?LIST1", TYPE::List, {}},
                  {"?TESTENTRY:2", TYPE::Entry, "s20"},
                  {"?LIST2", TYPE::List, {}},
                  {"?TEXTTEXT", TYPE::Text, {}},
                  {"?BUTTON3", TYPE::Button, "Press to start"},
                  {"?TESTCHECK", TYPE::Check, "Check 1"},
                  {"?SPIN1", TYPE::Spin, "s20"},
                  {"?OKBUTTON", TYPE::Button, "&OK"},
                  {"?CANCELBUTTON", TYPE::Button, "&Cancel"}},
                 [&](Window& w) {
                   EXPECT_EQ(w.get(0, PROP::Text).str(), "Control Window");
                   EXPECT_EQ(w.get(0, PROP::Width).num(), 393);
                   EXPECT_EQ(w.get(0, PROP::Height).num(), 235);
                   EXPECT_EQ(w.get(0, PROP::FontName).str(), "MS Sans Serif");
                   EXPECT_EQ(w.get(w.fieldOf("?PROMPT2:2"), PROP::FontName).str(), "Arial");
                   EXPECT_EQ(w.get(w.fieldOf("?TOOLBAR"), PROP::Height).num(), 25);
                   EXPECT_EQ(w.get(w.fieldOf("?BUTTONTOOLBAR"), PROP::YPos).num(), 4) << "inside the toolbar";
                   for (const char* entry : {"?TESTENTRY", "?TESTENTRY:2"}) {
                     const int f = w.fieldOf(entry);
                     EXPECT_EQ(w.get(f, PROP::Msg).str(), "Message") << entry;
                     EXPECT_EQ(w.get(f, PROP::Tip).str(), "Tip") << entry;
                     EXPECT_EQ(w.get(f, PROP::Hlp).str(), "Help") << entry;
                   }
                   EXPECT_EQ(w.get(w.fieldOf("?LIST1"), PROP::From).str(), items);
                   EXPECT_EQ(w.get(w.fieldOf("?LIST2"), PROP::From).str(), items);
                   EXPECT_EQ(w.get(w.fieldOf("?LIST2"), PROP::Height).num(), 10) << "one line high";
                 });
  // The two entries share one variable of 20; the text box starts with its text.
  EXPECT_EQ(decl.controls[9].bind.data, static_cast<void*>(vars.entry));
  EXPECT_EQ(decl.controls[13].bind.data, static_cast<void*>(vars.entry));
  EXPECT_EQ(decl.controls[9].bind.width, 20u);
  EXPECT_EQ(decl.controls[15].bind.data, static_cast<void*>(vars.text));
  EXPECT_EQ(decl.controls[15].bind.width, 512u);
  EXPECT_EQ(text::clipped(vars.text), "This is TEXT control");
  EXPECT_EQ(decl.controls[17].bind.data, static_cast<void*>(&vars.check));
  EXPECT_EQ(decl.controls[12].format, "1020L(2)|M~Text~@s255@");
  EXPECT_EQ(decl.controls[14].format, "1020L(2)|M~Text Text~@s255@");
}

TEST(SampleWindows, DemoWindowHoldsItsControlsInOrderWithEachOnItsTab) {
  SampleVars vars;
  WindowDecl decl = demoWindowDecl(vars);
  EXPECT_EQ(decl.wallpaper, "Lavender Speckled.gif");
  const std::vector<Expected> want = {
      {"?STRING1", TYPE::String, "Press CtrlAltD to switch to Wevo mode"},
      {"?SHEET1", TYPE::Sheet, {}},
      {"?TAB1", TYPE::Tab, "Tab 1 - Blue"},
      {"?STRING:TITLE1", TYPE::String, "B L U E   T A B"},
      {"?PROMPT:1", TYPE::Prompt, "Prompt for Entry Field:"},
      {"?TESTENTRY", TYPE::Entry, "S20"},
      {"?LINE1", TYPE::Line, {}},
      {"?PROMPT:2", TYPE::Prompt, "Prompt for Text Field:"},
      {"?TEXTTEXT", TYPE::Text, {}},
      {"?GROUP1", TYPE::Group, "Group of Check Boxes"},
      {"?TESTCHECK:1", TYPE::Check, ""},
      {"?TESTCHECK:2", TYPE::Check, "Check Box Number Two"},
      {"?TESTCHECK:3", TYPE::Check, "Check Box Number Three"},
      {"?TESTCHECK:4", TYPE::Check, "Left Justified Check Box Number Four"},
      {"?OPTION1", TYPE::Option, "Option Group"},
      {"?OPTION1:RADIO1", TYPE::Radio, "Radio Button #1"},
      {"?OPTION1:RADIO2", TYPE::Radio, "Radio Button #2"},
      {"?OPTION1:RADIO3", TYPE::Radio, "Radio Button #3"},
      {"?BUTTON:1", TYPE::Button, "Std Button"},
      {"?BUTTON:2", TYPE::Button, "Large Flat Button"},
      {"?TAB2", TYPE::Tab, "Tab 2 - Red"},
      {"?STRING:TITLE2", TYPE::String, "R E D   T A B"},
      {"?TAB3", TYPE::Tab, "Tab 3 - Purple"},
      {"?STRING:TITLE3", TYPE::String, "P U R P L E   T A B"},
      {"?BUTTON:ENTEREDITMODE", TYPE::Button, "Enter Wevo Edit Mode"},
      {"?OKBUTTON", TYPE::Button, "&OK"},
      {"?CANCELBUTTON", TYPE::Button, "&Cancel"}};
  expectControls(decl, want, [&](Window& w) {
    EXPECT_EQ(w.get(0, PROP::Text).str(), "Wevo Demo Window");
    EXPECT_EQ(w.get(0, PROP::Width).num(), 424);
    EXPECT_EQ(w.get(0, PROP::Height).num(), 262);
    EXPECT_EQ(w.get(0, PROP::Wallpaper).str(), "Lavender Speckled.gif");
    EXPECT_EQ(w.get(w.fieldOf("?TESTCHECK:1"), PROP::Icon).str(), "MySpereIcon.ico");
    EXPECT_EQ(w.get(w.fieldOf("?BUTTON:2"), PROP::Flat).num(), 1);
    int x, y, width, height;
    w.getPosition(w.fieldOf("?LINE1"), x, y, width, height);
    EXPECT_EQ(width, 0) << "a vertical line";
    EXPECT_GT(height, 0);
    // Controls 4 to 20 show with the first tab, 22 with the second, 24 with
    // the third; the rest show whichever tab is current.
    const int sheet = w.fieldOf("?SHEET1");
    auto shown = [&] {
      std::vector<int> out;
      for (int f = 1; f <= w.lastField(); ++f)
        if (w.get(f, PROP::Visible).num() == 1 && w.get(f, PROP::Type).num() != TYPE::Tab) out.push_back(f);
      return out;
    };
    std::vector<int> first = {1, 2};
    for (int f = 4; f <= 20; ++f) first.push_back(f);
    first.insert(first.end(), {25, 26, 27});
    EXPECT_EQ(w.selection(sheet), w.fieldOf("?TAB1"));
    EXPECT_EQ(shown(), first);
    w.setSelection(sheet, w.fieldOf("?TAB2"));
    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 22, 25, 26, 27}));
    w.setSelection(sheet, w.fieldOf("?TAB3"));
    EXPECT_EQ(shown(), (std::vector<int>{1, 2, 24, 25, 26, 27}));
  });
  // The four check boxes share one number.
  for (int i : {10, 11, 12, 13}) EXPECT_EQ(decl.controls[static_cast<size_t>(i)].bind.data, &vars.check) << i;
  EXPECT_EQ(decl.controls[5].bind.data, static_cast<void*>(vars.entry));
  EXPECT_EQ(decl.controls[8].bind.data, static_cast<void*>(vars.text));
}

TEST(FrameWindow, MenusItemsAndMessagesInOrder) {
  WindowDecl decl = frameDecl();
  EXPECT_EQ(decl.caption, "Application");
  EXPECT_EQ(decl.icon, "WAFRAME.ICO");
  EXPECT_EQ(decl.font.face, "MS Sans Serif");
  EXPECT_TRUE(decl.statusBar);
  struct Item {
    std::string menu, use, text, msg;
  };
  const std::vector<Item> want = {{"&File", "?PRINTSETUP", "&Print Setup ...", "Setup printer"},
                                  {"&File", "?EXIT", "E&xit", "Exit this application"},
                                  {"&Edit", "?CUT", "Cu&t", "Remove item to Windows Clipboard"},
                                  {"&Edit", "?COPY", "&Copy", "Copy item to Windows Clipboard"},
                                  {"&Edit", "?PASTE", "&Paste", "Paste contents of Windows Clipboard"},
                                  {"", "?WEVO", "&Wevo", ""},
                                  {"", "?WEVO2", "Wevo+", ""},
                                  {"&Window", "?TILE", "T&ile", "Make all open windows visible"},
                                  {"&Window", "?CASCADE", "&Cascade", "Stack all open windows"},
                                  {"&Window", "?ARRANGE", "&Arrange Icons", "Align all window icons"},
                                  {"&Help", "?HELPINDEX", "&Contents", "View the contents of the help file"},
                                  {"&Help", "?HELPSEARCH", "&Search for Help On...", "Search for help on a subject"},
                                  {"&Help", "?HELPONHELP", "&How to Use Help", "How to use Windows Help"}};
  std::vector<Item> got;
  std::vector<std::string> menus;
  ProgramResult r = runScripted(Script(), [&] {
    Window w(decl);
    w.open();
    EXPECT_EQ(w.get(0, PROP::Width).num(), 505);
    EXPECT_EQ(w.get(0, PROP::Height).num(), 318);
    EXPECT_EQ(w.get(0, PROP::Icon).str(), "WAFRAME.ICO");
    for (int f = 1; f <= w.lastField(); ++f) {
      const int type = w.get(f, PROP::Type).i32();
      if (type == TYPE::Menu) menus.push_back(w.get(f, PROP::Text).str());
      if (type != TYPE::Item) continue;
      std::string menu;
      for (const ControlDecl& c : decl.controls)
        if (c.use == w.label(f) && c.parent != "?MENUBAR") menu = w.get(w.fieldOf(c.parent), PROP::Text).str();
      got.push_back({menu, w.label(f), w.get(f, PROP::Text).str(), w.get(f, PROP::Msg).str()});
    }
    w.close();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&Edit", "&Window", "&Help"}));
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(got[i].menu, want[i].menu) << want[i].use;
    EXPECT_EQ(got[i].use, want[i].use);
    EXPECT_EQ(got[i].text, want[i].text) << want[i].use;
    EXPECT_EQ(got[i].msg, want[i].msg) << want[i].use;
  }
}

// The mode window, run on its own: what each way of leaving it returns.
std::string modeAfter(const Script& script) {
  std::string mode = "not run";
  DemoState state;
  ProgramResult r = runScripted(script, [&] { mode = SelectMode(state); });
  EXPECT_TRUE(endedNormally(r));
  EXPECT_EQ(state.count(), 0u) << "the window is no longer noted";
  return mode;
}

TEST(SelectModeWindow, ReturnsTheChosenModeHoweverItCloses) {
  char mode[32];
  WindowDecl decl = selectModeDecl(mode);
  EXPECT_EQ(decl.caption, "Select Mode");
  expectControls(decl,
                 {{"?FORMMODE", TYPE::Option, "Form Mode"},
                  {"?FORMMODE:RADIO1", TYPE::Radio, "Original"},
                  {"?FORMMODE:RADIO1:2", TYPE::Radio, "Flat"},
                  {"?FORMMODE:RADIO1:3", TYPE::Radio, "Colors"},
                  {"?FORMMODE:RADIO1:4", TYPE::Radio, "Transparent"},
                  {"?FORMMODE:RADIO1:5", TYPE::Radio, "Quit"},
                  {"?OKBUTTON", TYPE::Button, "&Select"}},
                 [](Window& w) {
                   EXPECT_EQ(w.get(0, PROP::Width).num(), 109);
                   EXPECT_EQ(w.get(0, PROP::Height).num(), 126);
                   int x, y, width, height;
                   w.getPosition(w.fieldOf("?FORMMODE"), x, y, width, height);
                   EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{12, 7, 87, 94}));
                   w.getPosition(w.fieldOf("?OKBUTTON"), x, y, width, height);
                   EXPECT_EQ((std::vector<int>{x, y, width, height}), (std::vector<int>{11, 104, 87, 14}));
                   const int radioY[] = {23, 40, 57, 73, 87};
                   for (int i = 0; i < 5; ++i) {
                     w.getPosition(2 + i, x, y, width, height);
                     EXPECT_EQ(x, 26);
                     EXPECT_EQ(y, radioY[i]);
                   }
                 });

  const std::string w = kSelectModeCaption;
  EXPECT_EQ(modeAfter(Script().clickControl("?OKBUTTON", w)), "ORIGINAL") << "preselected";
  const char* radios[] = {"?FORMMODE:RADIO1", "?FORMMODE:RADIO1:2", "?FORMMODE:RADIO1:3", "?FORMMODE:RADIO1:4",
                          "?FORMMODE:RADIO1:5"};
  const char* values[] = {"ORIGINAL", "FLAT", "COLORS", "TRANSPARENT", "QUIT"};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(modeAfter(Script().clickControl(radios[i], w).clickControl("?OKBUTTON", w)), values[i]);
  // Closed from its frame, it answers what was chosen.
  EXPECT_EQ(modeAfter(Script().clickControl("?FORMMODE:RADIO1:5", w).closeWindow(w)), "QUIT");
  EXPECT_EQ(modeAfter(Script().clickControl("?FORMMODE:RADIO1:2", w).closeWindow(w)), "FLAT");
  EXPECT_EQ(modeAfter(Script().closeWindow(w)), "ORIGINAL");
}

}  // namespace
}  // namespace wevo::demo
