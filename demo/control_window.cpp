#include "demo/control_window.h"

#include "demo/decl_builder.h"
#include "wevo/toolkit.h"

namespace wevo::demo {

namespace {

constexpr const char* kListItems = "Line 1|Line 1|Line 1|Line 1|Line 1|Line 1|Line 1|";

ControlDecl& testEntry(DeclBuilder& b, std::string use, At at, SampleVars& vars) {
  ControlDecl& c = b.add(TYPE::Entry, std::move(use), "s20", at);
  c.msg = "Message";
  c.tip = "Tip";
  c.help = "Help";
  c.bind = Binding::text(vars.entry);
  return c;
}

}  // namespace

WindowDecl controlWindowDecl(SampleVars& vars) {
  WindowDecl d;
  d.caption = kControlWindowCaption;
  d.font = {"MS Sans Serif", 8};
  d.at = {kDefault, kDefault, 393, 235};
  DeclBuilder b(d);
  b.add(TYPE::Toolbar, "?TOOLBAR", "", {0, 0, kDefault, 25});
  b.add(TYPE::Button, "?BUTTONTOOLBAR", "Button In Toolbar", {4, 4, 74, 16}, "?TOOLBAR");
  b.add(TYPE::String, "?STRING1", "Press CtrlAltD to switch to Wevo mode", {10, 32});
  b.add(TYPE::Prompt, "?PROMPT2:2", "Font Prompt", {250, 30}).font = {"Arial", 12, COLOR::None, 700};
  ControlDecl& option = b.add(TYPE::Option, "?OPTION1", "Option 1", {10, 42, 100, 50});
  option.bind = Binding::long32(&vars.option);
  option.props = {{PROP::Boxed, 1}};
  b.add(TYPE::Radio, "?OPTION1:RADIO1", "Radio 1", {20, 58, 60, kDefault}, "?OPTION1");
  b.add(TYPE::Radio, "?OPTION1:RADIO1:2", "Radio 2", {20, 74, 60, kDefault}, "?OPTION1");
  b.add(TYPE::Prompt, "?PROMPT1", "Prompt 1", {124, 52});
  b.add(TYPE::Button, "?BUTTON3:2", "Test", {124, 70, 45, 14});
  testEntry(b, "?TESTENTRY", {165, 51, 90, 10}, vars);
  b.add(TYPE::Button, "?BUTTONADDED", "Button Added", {200, 70, 60, 14});
  b.add(TYPE::Prompt, "?PROMPT2", "Default width", {300, 52});
  ControlDecl& list1 = b.add(TYPE::List, "?LIST1", "", {10, 98, 180, 60});
  list1.format = "1020L(2)|M~Text~@s255@";
  list1.from = kListItems;
  testEntry(b, "?TESTENTRY:2", {200, 98, 90, 10}, vars);
  ControlDecl& list2 = b.add(TYPE::List, "?LIST2", "", {200, 114, 180, 10});
  list2.format = "1020L(2)|M~Text Text~@s255@";
  list2.from = kListItems;
  b.add(TYPE::Text, "?TEXTTEXT", "", {200, 130, 180, 40}).bind = Binding::text(vars.text);
  b.add(TYPE::Button, "?BUTTON3", "Press to start", {10, 168, 80, 14});
  b.add(TYPE::Check, "?TESTCHECK", "Check 1", {100, 170, 60, kDefault}).bind = Binding::long32(&vars.check);
  b.add(TYPE::Spin, "?SPIN1", "s20", {200, 178, 90, 10}).bind = Binding::text(vars.spin);
  b.add(TYPE::Button, "?OKBUTTON", "&OK", {284, 212, 45, 14});
  b.add(TYPE::Button, "?CANCELBUTTON", "&Cancel", {338, 212, 45, 14});
  return d;
}

const SampleKind& controlWindowKind() {
  static const SampleKind kind{"Main", kControlWindowCaption, "?BUTTON3", "", controlWindowDecl};
  return kind;
}

void StartControlWindow(DemoState& state) { StartSampleWindow(state, controlWindowKind()); }

}  // namespace wevo::demo
