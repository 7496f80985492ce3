#include "demo/demo_window.h"

#include "demo/decl_builder.h"
#include "wevo/toolkit.h"

namespace wevo::demo {

namespace {

constexpr int32_t kTitleBlue = 0xB00000;    // 0x00BBGGRR
constexpr int32_t kTitleRed = 0x0000B0;
constexpr int32_t kTitlePurple = 0x800080;

ControlDecl& title(DeclBuilder& b, std::string use, std::string text, int32_t color, std::string tab) {
  ControlDecl& c = b.add(TYPE::String, std::move(use), std::move(text), {24, 42}, std::move(tab));
  c.font = {"", 14, color, 700};
  return c;
}

}  // namespace

WindowDecl demoWindowDecl(SampleVars& vars) {
  WindowDecl d;
  d.caption = kDemoWindowCaption;
  d.font = {"MS Sans Serif", 8};
  d.wallpaper = "Lavender Speckled.gif";
  d.at = {kDefault, kDefault, 424, 262};
  DeclBuilder b(d);
  b.add(TYPE::String, "?STRING1", "Press CtrlAltD to switch to Wevo mode", {10, 6});
  b.add(TYPE::Sheet, "?SHEET1", "", {8, 20, 408, 206});
  b.add(TYPE::Tab, "?TAB1", "Tab 1 - Blue", {}, "?SHEET1");
  title(b, "?STRING:TITLE1", "B L U E   T A B", kTitleBlue, "?TAB1");
  b.add(TYPE::Prompt, "?PROMPT:1", "Prompt for Entry Field:", {24, 68}, "?TAB1");
  b.add(TYPE::Entry, "?TESTENTRY", "S20", {110, 67, 90, 10}, "?TAB1").bind = Binding::text(vars.entry);
  b.add(TYPE::Line, "?LINE1", "", {210, 42, 0, 172}, "?TAB1");
  b.add(TYPE::Prompt, "?PROMPT:2", "Prompt for Text Field:", {24, 86}, "?TAB1");
  b.add(TYPE::Text, "?TEXTTEXT", "", {24, 98, 176, 52}, "?TAB1").bind = Binding::text(vars.text);
  b.add(TYPE::Group, "?GROUP1", "Group of Check Boxes", {220, 40, 186, 84}, "?TAB1");
  ControlDecl& iconCheck = b.add(TYPE::Check, "?TESTCHECK:1", "", {230, 50, 30, 22}, "?GROUP1");
  iconCheck.icon = "MySpereIcon.ico";
  iconCheck.bind = Binding::long32(&vars.check);
  b.add(TYPE::Check, "?TESTCHECK:2", "Check Box Number Two", {230, 76, 170, kDefault}, "?GROUP1").bind =
      Binding::long32(&vars.check);
  b.add(TYPE::Check, "?TESTCHECK:3", "Check Box Number Three", {230, 90, 170, kDefault}, "?GROUP1").bind =
      Binding::long32(&vars.check);
  ControlDecl& leftCheck =
      b.add(TYPE::Check, "?TESTCHECK:4", "Left Justified Check Box Number Four", {230, 104, 170, kDefault}, "?GROUP1");
  leftCheck.bind = Binding::long32(&vars.check);
  leftCheck.props = {{PROP::Left, 1}};
  ControlDecl& option = b.add(TYPE::Option, "?OPTION1", "Option Group", {220, 132, 186, 56}, "?TAB1");
  option.bind = Binding::long32(&vars.option);
  option.props = {{PROP::Boxed, 1}};
  b.add(TYPE::Radio, "?OPTION1:RADIO1", "Radio Button #1", {230, 144, 150, kDefault}, "?OPTION1");
  b.add(TYPE::Radio, "?OPTION1:RADIO2", "Radio Button #2", {230, 158, 150, kDefault}, "?OPTION1");
  b.add(TYPE::Radio, "?OPTION1:RADIO3", "Radio Button #3", {230, 172, 150, kDefault}, "?OPTION1");
  b.add(TYPE::Button, "?BUTTON:1", "Std Button", {24, 164, 60, 14}, "?TAB1");
  b.add(TYPE::Button, "?BUTTON:2", "Large Flat Button", {92, 160, 108, 24}, "?TAB1").flat = true;
  b.add(TYPE::Tab, "?TAB2", "Tab 2 - Red", {}, "?SHEET1");
  title(b, "?STRING:TITLE2", "R E D   T A B", kTitleRed, "?TAB2");
  b.add(TYPE::Tab, "?TAB3", "Tab 3 - Purple", {}, "?SHEET1");
  title(b, "?STRING:TITLE3", "P U R P L E   T A B", kTitlePurple, "?TAB3");
  b.add(TYPE::Button, "?BUTTON:ENTEREDITMODE", "Enter Wevo Edit Mode", {8, 236, 100, 16});
  b.add(TYPE::Button, "?OKBUTTON", "&OK", {316, 236, 46, 16});
  b.add(TYPE::Button, "?CANCELBUTTON", "&Cancel", {370, 236, 46, 16});
  return d;
}

const SampleKind& demoWindowKind() {
  static const SampleKind kind{"Main20", kDemoWindowCaption, "?BUTTON:ENTEREDITMODE", "?SHEET1", demoWindowDecl};
  return kind;
}

void StartDemoWindow(DemoState& state) { StartSampleWindow(state, demoWindowKind()); }

}  // namespace wevo::demo
