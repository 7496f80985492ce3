#include "platform/toolkit/window_model.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/view/headless/headless_view.h"
#include "tests/testing/test_window.h"
#include "wevo/props.h"

namespace wevo::toolkit {
namespace {

using testing::TestWindow;

// A model on its own, measured by a headless view: "MS Sans Serif" 8
// measures 6 x 13 pixels, so a dialog unit is 1.5 pixels across and 1.625 down.
struct Model {
  explicit Model(const WindowDecl& d) : m(nullptr, d) { m.build(&view, 100, 50); }
  HeadlessView view;
  int f(const char* label) const { return m.controls().fieldOf(label); }
  int64_t get(const char* label, int32_t prop) const { return m.get(f(label), prop).num(); }
  void set(const char* label, int32_t prop, const Value& v) { m.set(f(label), prop, -1, v); }
  void pixels(bool on) { m.set(0, PROP::Pixels, -1, Value(on)); }
  WindowModel m;
};

TEST(WindowModel, DeclaredDialogUnitsBecomePixelsAndReadBackInEitherMode) {
  TestWindow d("Main", 200, 100);
  d.button("?B", "Go", {10, 20, 40, 14});
  Model w(d.decl());
  EXPECT_EQ(w.get("?B", PROP::XPos), 10);
  EXPECT_EQ(w.get("?B", PROP::YPos), 20);
  EXPECT_EQ(w.get("?B", PROP::Width), 40);
  EXPECT_EQ(w.get("?B", PROP::Height), 14);
  EXPECT_EQ(w.m.get(0, PROP::ClientWidth).num(), 200);
  EXPECT_EQ(w.m.get(0, PROP::Height).num(), 100);
  w.pixels(true);
  EXPECT_EQ(w.get("?B", PROP::XPos), 15);  // 10 * 1.5
  EXPECT_EQ(w.get("?B", PROP::YPos), 33);  // 20 * 1.625 = 32.5, halves upwards
  EXPECT_EQ(w.get("?B", PROP::Width), 60);
  EXPECT_EQ(w.get("?B", PROP::Height), 23);  // 22.75
  EXPECT_EQ(w.m.get(0, PROP::ClientWidth).num(), 300);
  EXPECT_EQ(w.m.get(0, PROP::ClientHeight).num(), 163);  // 162.5
  EXPECT_EQ(w.m.get(0, PROP::XPos).num(), 100);  // the screen position given to build
  EXPECT_EQ(w.m.get(0, PROP::YOffset).num(), 0);
}

TEST(WindowModel, WholeNumbersWrittenInOneModeReadBackUnchangedInThatMode) {
  TestWindow d("Main");
  d.button("?B", "Go", {0, 0, 10, 10});
  Model w(d.decl());
  const int32_t props[] = {PROP::XPos, PROP::YPos, PROP::Width, PROP::Height};
  for (bool pixels : {false, true}) {
    w.pixels(pixels);
    for (int32_t prop : props)
      for (int v = -40; v <= 700; v += 3) {
        w.set("?B", prop, Value(v));
        ASSERT_EQ(w.get("?B", prop), v) << "prop " << prop << " pixels " << pixels;
        w.m.set(0, prop, -1, Value(v));  // the window's own position and size too
        ASSERT_EQ(w.m.get(0, prop).num(), std::max(prop == PROP::Width || prop == PROP::Height ? 0 : v, v));
      }
  }
  // Read in the other mode: rounded to the nearest whole unit.
  w.pixels(true);
  w.set("?B", PROP::XPos, Value(19));
  w.pixels(false);
  EXPECT_EQ(w.get("?B", PROP::XPos), 13);  // 12.67
  w.set("?B", PROP::XPos, Value(13));
  w.pixels(true);
  EXPECT_EQ(w.get("?B", PROP::XPos), 20);  // 19.5
}

TEST(WindowModel, DialogUnitsFollowTheWindowFont) {
  TestWindow d("Main", 100, 100);
  d.button("?B", "Go", {20, 16, 40, 16});
  Model w(d.decl());
  w.pixels(true);
  EXPECT_EQ(w.get("?B", PROP::XPos), 30);
  w.m.set(0, PROP::FontSize, -1, Value(16));  // 12 x 26: 3 px and 3.25 px per unit
  w.pixels(false);
  EXPECT_EQ(w.get("?B", PROP::XPos), 10);  // the control stays where it is on screen
  w.set("?B", PROP::XPos, Value(10));
  w.pixels(true);
  EXPECT_EQ(w.get("?B", PROP::XPos), 30);
  EXPECT_EQ(w.m.geometry().dluX(), 3.0);
  EXPECT_EQ(w.m.geometry().dluY(), 3.25);
}

TEST(WindowModel, DefaultSizesAreNaturalSizesFromTextFontAndType) {
  TestWindow d("Main", 300, 200);
  d.string("?S", "Hello", {0, 0});
  d.button("?B", "&OK", {0, 20});
  char name[20];
  d.entry("?E", "@s20", Binding::text(name), {0, 40});
  d.check("?C", "Check 1", Binding{}, {0, 60});
  d.add(TYPE::Spin, "?SP", "n3", {0, 80});
  d.prompt("?P", "Big", {0, 100}).font.size = 16;
  Model w(d.decl());
  w.pixels(true);
  EXPECT_EQ(w.get("?S", PROP::NoWidth), 1);
  EXPECT_EQ(w.get("?S", PROP::Width), 30);   // 5 characters of 6 px
  EXPECT_EQ(w.get("?S", PROP::Height), 13);
  EXPECT_EQ(w.get("?B", PROP::Width), 24);   // "&" takes no room: 12 + two characters
  EXPECT_EQ(w.get("?B", PROP::Height), 22);  // 14 units of 13/8 px, whole pixels
  EXPECT_EQ(w.get("?E", PROP::Width), 126);  // 20 characters and one of room
  EXPECT_EQ(w.get("?E", PROP::Height), 16);
  EXPECT_EQ(w.get("?C", PROP::Width), 61);   // 7 characters, a box a character high, one of room
  EXPECT_EQ(w.get("?SP", PROP::Width), 3 * 6 + 6 + 16);
  EXPECT_EQ(w.get("?P", PROP::Width), 36);   // its own font: 12 px a character
  EXPECT_EQ(w.get("?P", PROP::Height), 26);

  // Text and font changes resize a default-width control.
  w.set("?S", PROP::Text, Value("Hello world"));
  EXPECT_EQ(w.get("?S", PROP::Width), 66);
  w.set("?S", PROP::FontSize, Value(16));
  EXPECT_EQ(w.get("?S", PROP::Width), 132);

  // An explicit width ends the default width; the switch brings it back.
  w.set("?S", PROP::Width, Value(50));
  EXPECT_EQ(w.get("?S", PROP::NoWidth), 0);
  EXPECT_EQ(w.get("?S", PROP::Width), 50);
  w.set("?S", PROP::NoWidth, Value(1));
  EXPECT_EQ(w.get("?S", PROP::Width), 132);
  // Switching it off keeps the size it had.
  w.set("?S", PROP::NoWidth, Value(0));
  w.set("?S", PROP::Text, Value("x"));
  EXPECT_EQ(w.get("?S", PROP::Width), 132);
  EXPECT_EQ(w.get("?E", PROP::NoHeight), 1);
}

TEST(WindowModel, FullSizeFillsTheContainerFromTheControlsPosition) {
  TestWindow d("Main", 200, 100);  // 300 x 162.5 px
  d.list("?L", "", {10, 20}).full = true;
  d.group("?G", "Group", {100, 10, 60, 40});
  d.add(TYPE::Region, "?R", "", {110, 20}).parent = "?G";
  Model w(d.decl());
  w.m.controls().find(w.f("?R"))->fullW = w.m.controls().find(w.f("?R"))->fullH = true;
  EXPECT_EQ(w.get("?L", PROP::Full), 1);
  EXPECT_EQ(w.get("?L", PROP::Width), 190);
  EXPECT_EQ(w.get("?L", PROP::Height), 80);
  EXPECT_EQ(w.get("?R", PROP::Width), 50);   // to the group's right edge
  EXPECT_EQ(w.get("?R", PROP::Height), 30);
  // The window grows: the full control grows with it.
  w.m.geometry().resizeByUser(450, 325);
  EXPECT_EQ(w.get("?L", PROP::Width), 290);
  EXPECT_EQ(w.get("?L", PROP::Height), 180);
  // An explicit width ends filling across but not down.
  w.set("?L", PROP::Width, Value(30));
  EXPECT_EQ(w.get("?L", PROP::Width), 30);
  EXPECT_EQ(w.get("?L", PROP::Height), 180);
  EXPECT_EQ(w.get("?L", PROP::Full), 1);
  // Switching it off keeps the size it has.
  w.set("?L", PROP::Full, Value(0));
  w.m.geometry().resizeByUser(300, 162);
  EXPECT_EQ(w.get("?L", PROP::Height), 180);
}

TEST(WindowModel, MinimumAndMaximumSizeBoundTheUsersResize) {
  TestWindow d("Main", 100, 100);
  Model w(d.decl());
  w.pixels(true);
  w.m.set(0, PROP::MinWidth, -1, Value(120));
  w.m.set(0, PROP::MinHeight, -1, Value(90));
  w.m.set(0, PROP::MaxWidth, -1, Value(400));
  w.m.geometry().resizeByUser(50, 60);
  EXPECT_EQ(w.m.get(0, PROP::Width).num(), 120);
  EXPECT_EQ(w.m.get(0, PROP::Height).num(), 90);
  w.m.geometry().resizeByUser(900, 700);
  EXPECT_EQ(w.m.get(0, PROP::Width).num(), 400);
  EXPECT_EQ(w.m.get(0, PROP::Height).num(), 700);  // no maximum height
  w.m.set(0, PROP::Width, -1, Value(10));  // the program itself may go below
  EXPECT_EQ(w.m.get(0, PROP::Width).num(), 10);
}

TEST(WindowModel, VisibleTakesContainersAndTabsIntoAccount) {
  TestWindow d("Main", 300, 200);
  d.sheet("?SHEET", {0, 0, 300, 180});
  d.tab("?TAB1", "One", "?SHEET");
  d.button("?ON1", "On one", {10, 30}).parent = "?TAB1";
  d.tab("?TAB2", "Two", "?SHEET");
  d.group("?G", "Group", {10, 30, 100, 100}).parent = "?TAB2";
  d.button("?IN", "Inside", {20, 40}).parent = "?G";
  d.button("?TOP", "Top", {200, 185});
  Model w(d.decl());
  EXPECT_EQ(w.m.values().selection(w.f("?SHEET")), w.f("?TAB1"));
  EXPECT_EQ(w.get("?ON1", PROP::Visible), 1);
  EXPECT_EQ(w.get("?TAB1", PROP::Visible), 1);
  EXPECT_EQ(w.get("?TAB2", PROP::Visible), 0);  // not the current tab
  EXPECT_EQ(w.get("?IN", PROP::Visible), 0);    // on the unselected tab
  EXPECT_EQ(w.get("?IN", PROP::Hide), 0);       // though not hidden itself

  w.m.values().setSelection(w.f("?SHEET"), w.f("?TAB2"));
  EXPECT_EQ(w.get("?ON1", PROP::Visible), 0);
  EXPECT_EQ(w.get("?IN", PROP::Visible), 1);
  w.set("?G", PROP::Hide, Value(1));
  EXPECT_EQ(w.get("?IN", PROP::Visible), 0);   // inside a hidden group
  w.set("?G", PROP::Hide, Value(0));
  w.set("?SHEET", PROP::Hide, Value(1));
  EXPECT_EQ(w.get("?IN", PROP::Visible), 0);
  EXPECT_EQ(w.get("?TOP", PROP::Visible), 1);
  w.set("?TOP", PROP::Hide, Value("1"));
  EXPECT_EQ(w.get("?TOP", PROP::Visible), 0);
  EXPECT_EQ(w.get("?TOP", PROP::Hide), 1);

  // A tab covers its sheet: the same rectangle.
  w.set("?SHEET", PROP::Hide, Value(0));
  EXPECT_EQ(w.get("?TAB2", PROP::Width), 300);
  EXPECT_EQ(w.get("?TAB2", PROP::YPos), 0);
}

TEST(WindowModel, FocusOnAControlOfAnotherTabBringsThatTabForward) {
  TestWindow d("Main", 300, 200);
  char a[10], b[10];
  d.sheet("?SHEET", {0, 0, 300, 180});
  d.tab("?TAB1", "One", "?SHEET");
  d.entry("?A", "s10", Binding::text(a), {10, 30}).parent = "?TAB1";
  d.tab("?TAB2", "Two", "?SHEET");
  d.entry("?B", "s10", Binding::text(b), {10, 30}).parent = "?TAB2";
  Model w(d.decl());
  EXPECT_EQ(w.m.focusOrder().focus(), w.f("?A"));
  w.m.focusOrder().setFocusField(w.f("?B"));
  EXPECT_EQ(w.m.values().selection(w.f("?SHEET")), w.f("?TAB2"));
  EXPECT_EQ(w.get("?B", PROP::Visible), 1);
}

TEST(WindowModel, FollowsChangesTheTabOrder) {
  TestWindow d("Main");
  char x[4], y[4], z[4];
  d.entry("?X", "s4", Binding::text(x), {0, 0});
  d.entry("?Y", "s4", Binding::text(y), {0, 20});
  d.entry("?Z", "s4", Binding::text(z), {0, 40});
  Model w(d.decl());
  int X = w.f("?X"), Y = w.f("?Y"), Z = w.f("?Z");
  EXPECT_EQ(w.m.focusOrder().firstFocusable(), X);
  EXPECT_EQ(w.m.focusOrder().nextFocusable(X, false), Y);
  // Order y, z, x: z follows y, x follows z.
  w.m.focusOrder().follows(Y, 0);
  w.set("?Z", PROP::Follows, Value(Y));
  w.set("?X", PROP::Follows, Value(Z));
  EXPECT_EQ(w.m.focusOrder().firstFocusable(), Y);
  EXPECT_EQ(w.m.focusOrder().nextFocusable(Y, false), Z);
  EXPECT_EQ(w.m.focusOrder().nextFocusable(Z, false), X);
  EXPECT_EQ(w.m.focusOrder().nextFocusable(X, false), Y);  // wraps
  EXPECT_EQ(w.m.focusOrder().nextFocusable(Y, true), X);   // backwards
  EXPECT_EQ(w.get("?X", PROP::Follows), Z);
  EXPECT_EQ(w.get("?Y", PROP::Follows), 0);
  // Skipped, hidden and disabled controls are passed over.
  w.set("?Z", PROP::Skip, Value(1));
  EXPECT_EQ(w.m.focusOrder().nextFocusable(Y, false), X);
  w.set("?Z", PROP::Skip, Value(0));
  w.set("?Z", PROP::Disable, Value(1));
  EXPECT_EQ(w.m.focusOrder().nextFocusable(Y, false), X);
}

TEST(WindowModel, JustificationSwitchesAreExclusiveAndKeepTheirOffsets) {
  TestWindow d("Main");
  d.add(TYPE::Entry, "?E", "s10", {0, 0});
  Model w(d.decl());
  w.set("?E", PROP::Left, Value(1));
  w.set("?E", PROP::LeftOffset, Value(4));
  w.set("?E", PROP::Right, Value(1));
  w.set("?E", PROP::RightOffset, Value(2));
  EXPECT_EQ(w.get("?E", PROP::Left), 0);
  EXPECT_EQ(w.get("?E", PROP::Right), 1);
  EXPECT_EQ(w.get("?E", PROP::LeftOffset), 4);
  EXPECT_EQ(w.get("?E", PROP::RightOffset), 2);
  w.set("?E", PROP::Center, Value(0));  // clearing another switch leaves this one
  EXPECT_EQ(w.get("?E", PROP::Right), 1);
  w.set("?E", PROP::Right, Value(0));
  for (int32_t p : {PROP::Left, PROP::Right, PROP::Center, PROP::Decimal}) EXPECT_EQ(w.get("?E", p), 0);
}

TEST(WindowModel, AlertedKeysAddAtIndex255AndReadByPosition) {
  TestWindow d("Main");
  d.button("?B", "B", {0, 0});
  Model w(d.decl());
  w.m.set(0, PROP::Alrt, 255, Value(1604));
  w.m.set(0, PROP::Alrt, 255, Value(KEY::Esc));
  w.m.set(0, PROP::Alrt, 255, Value(1604));  // once only
  EXPECT_EQ(w.m.get(0, PROP::Alrt, 1).num(), 1604);
  EXPECT_EQ(w.m.get(0, PROP::Alrt, 2).num(), KEY::Esc);
  EXPECT_EQ(w.m.get(0, PROP::Alrt, 3).num(), 0);
  EXPECT_EQ(w.m.get(0, PROP::Alrt).num(), 2);  // no index: how many
  w.m.set(0, PROP::Alrt, 1, Value(0));         // removes the first
  EXPECT_EQ(w.m.get(0, PROP::Alrt, 1).num(), KEY::Esc);
  w.m.set(w.f("?B"), PROP::Alrt, 255, Value(584));
  EXPECT_EQ(w.m.get(w.f("?B"), PROP::Alrt, 1).num(), 584);
  EXPECT_EQ(w.m.alerts().size(), 1u);  // the window's own stay apart
}

TEST(WindowModel, RuntimeControlsAndNextFieldEnumeration) {
  TestWindow d("Main");
  d.button("?A", "A", {0, 0});
  d.button("?B", "B", {0, 20});
  d.group("?G", "G", {0, 40, 50, 50});
  d.button("?C", "C", {5, 50}).parent = "?G";
  Model w(d.decl());
  EXPECT_EQ(w.m.controls().firstField(), 1);
  EXPECT_EQ(w.m.controls().lastField(), 4);
  EXPECT_EQ(w.m.controls().label(1), "?A");
  EXPECT_EQ(w.m.controls().fieldOf("?c"), 4);  // labels compare without case
  EXPECT_EQ(w.m.controls().fieldOf("?nothing"), 0);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(w.m.create(10001 + i, TYPE::Region, 0), 10001 + i);
    w.m.set(10001 + i, PROP::Fill, -1, Value(255));
  }
  EXPECT_EQ(w.m.create(0, TYPE::Button, 0), 10009);  // the next free number
  EXPECT_EQ(w.m.controls().label(10001), "");
  EXPECT_EQ(w.m.controls().lastField(), 10009);
  std::vector<int> walk;
  for (int f = w.m.get(0, PROP::NextField, 0).i32(); f != 0; f = w.m.get(0, PROP::NextField, f).i32()) walk.push_back(f);
  ASSERT_EQ(walk.size(), 13u);
  EXPECT_EQ(walk[3], 4);
  EXPECT_EQ(walk[4], 10001);
  EXPECT_EQ(walk.back(), 10009);
  // Run-time controls default to their natural size at 0,0, shown.
  EXPECT_EQ(w.m.get(10009, PROP::Hide).num(), 0);
  EXPECT_EQ(w.m.get(10009, PROP::NoWidth).num(), 1);
  w.m.destroy(10005);
  EXPECT_EQ(w.m.controls().find(10005), nullptr);
  EXPECT_EQ(w.m.get(0, PROP::NextField, 10004).num(), 10006);
  // A container takes its controls with it.
  w.m.destroy(3);
  EXPECT_EQ(w.m.controls().find(4), nullptr);
  EXPECT_EQ(w.m.get(0, PROP::NextField, 2).num(), 10001);
}

TEST(WindowModel, OtherPropertiesAreKeptAsWrittenPerIndex) {
  TestWindow d("Main");
  d.button("?B", "B", {0, 0});
  Model w(d.decl());
  w.set("?B", PROP::NoResizeCapture, Value(1));
  w.set("?B", 40000, Value("anything"));
  w.m.set(w.f("?B"), 40001, 3, Value(7));
  w.m.set(w.f("?B"), 40001, 4, Value(8));
  w.m.set(0, PROP::ResizerMark, -1, Value(1));
  systemSet(PROP::DeferMove, Value(12));
  EXPECT_EQ(w.get("?B", PROP::NoResizeCapture), 1);
  EXPECT_EQ(w.m.get(w.f("?B"), 40000).str(), "anything");
  EXPECT_EQ(w.m.get(w.f("?B"), 40001, 3).num(), 7);
  EXPECT_EQ(w.m.get(w.f("?B"), 40001, 4).num(), 8);
  EXPECT_EQ(w.m.get(w.f("?B"), 40001).str(), "");  // never written without an index
  EXPECT_EQ(w.m.get(0, PROP::ResizerMark).num(), 1);
  EXPECT_EQ(systemGet(PROP::DeferMove).num(), 12);
  // Yes/no texts and plain numbers.
  w.set("?B", PROP::Scroll, Value(1));
  EXPECT_EQ(w.m.get(w.f("?B"), PROP::Scroll).str(), "1");
  w.set("?B", PROP::HScroll, Value(""));
  EXPECT_EQ(w.m.get(w.f("?B"), PROP::HScroll).str(), "");
  w.set("?B", PROP::VScroll, Value(1));
  EXPECT_EQ(w.get("?B", PROP::VScroll), 1);
  w.set("?B", PROP::RangeLow, Value("-5"));
  EXPECT_EQ(w.m.get(w.f("?B"), PROP::RangeLow).str(), "-5");
  EXPECT_EQ(w.get("?B", PROP::Type), TYPE::Button);
  w.set("?B", PROP::Type, Value(TYPE::List));  // read-only
  EXPECT_EQ(w.get("?B", PROP::Type), TYPE::Button);
}

TEST(WindowModel, TextOfAnEntryIsItsPictureAndOfAListIsKept) {
  TestWindow d("Main");
  int32_t n = 1234;
  d.entry("?N", "@n-14", Binding::long32(&n), {0, 0});
  d.list("?L", "80L(2)|M~Col~@s20@", {0, 20}).text = "list text";
  Model w(d.decl());
  EXPECT_EQ(w.m.get(w.f("?N"), PROP::Text).str(), "@n-14");
  EXPECT_EQ(w.m.controls().find(w.f("?N"))->screen, "1234");
  EXPECT_EQ(w.m.get(w.f("?L"), PROP::Text).str(), "list text");
  w.set("?N", PROP::Text, Value("@n-14b"));
  n = 0;
  w.m.values().display(0);
  EXPECT_EQ(w.m.controls().find(w.f("?N"))->screen, "");
}

TEST(WindowModel, DisplayAndUpdateMoveValuesThroughPictures) {
  TestWindow d("Main");
  int32_t n = 5;
  char s[10];
  std::memcpy(s, "abc       ", 10);
  d.entry("?N", "n-14", Binding::long32(&n), {0, 0});
  d.entry("?S", "s10", Binding::text(s), {0, 20});
  Model w(d.decl());
  Control& cn = *w.m.controls().find(w.f("?N"));
  Control& cs = *w.m.controls().find(w.f("?S"));
  EXPECT_EQ(cn.screen, "5");
  EXPECT_EQ(cs.screen, "abc");
  w.m.values().setScreenText(cn, "  -17");
  EXPECT_TRUE(w.m.values().update(cn.field));
  EXPECT_EQ(n, -17);
  EXPECT_EQ(cn.screen, "-17");
  w.m.values().setScreenText(cn, "12x");
  EXPECT_FALSE(w.m.values().update(cn.field));
  EXPECT_EQ(n, -17);  // unchanged
  w.m.values().setScreenText(cs, "xyz");
  EXPECT_TRUE(w.m.values().update(cs.field));
  EXPECT_EQ(std::memcmp(s, "xyz       ", 10), 0);
  n = 99;
  w.m.values().display(cn.field);
  EXPECT_EQ(cn.screen, "99");
  // Upper case switch on typing.
  w.set("?S", PROP::Upr, Value(1));
  w.m.values().setScreenText(cs, "low");
  EXPECT_EQ(cs.screen, "LOW");
}

TEST(WindowModel, ChecksOptionsDropListsAndListsStoreTheirValues) {
  TestWindow d("Main", 300, 200);
  int32_t hide = 0;
  char scroll[20];
  std::memset(scroll, ' ', sizeof scroll);
  int32_t mode = 2;
  char show[1] = {'A'};
  int32_t layout = 1;
  int32_t size = 10;
  d.check("?HIDE", "Hide", Binding::long32(&hide), {0, 0});
  d.check("?SCROLL", "Scroll", Binding::text(scroll), {0, 15});
  d.option("?MODE", "Width", Binding::long32(&mode), {0, 30, 100, 40});
  d.radio("?MODE:1", "Full", "0", "?MODE", {5, 40});
  d.radio("?MODE:2", "Default", "1", "?MODE", {5, 50});
  d.radio("?MODE:3", "Width", "2", "?MODE", {5, 60});
  d.option("?SHOW", "Show", Binding::text(show), {120, 30, 100, 40});
  d.radio("?SHOW:A", "All", "A", "?SHOW", {125, 40});
  d.radio("?SHOW:P", "Prompts", "P", "?SHOW", {125, 50});
  d.dropList("?LAYOUT", "Default|#0|Left to Right|#1|Right to Left|#2", Binding::long32(&layout), {0, 80});
  d.list("?SIZE", "", {0, 100, 40, 50}).from = "8|9|10|11|12";
  d.decl().controls.back().bind = Binding::long32(&size);
  Model w(d.decl());

  Control& hideC = *w.m.controls().find(w.f("?HIDE"));
  EXPECT_FALSE(hideC.checked);
  w.m.values().toggleCheck(hideC);
  w.m.values().update(hideC.field);
  EXPECT_EQ(hide, 1);
  Control& scrollC = *w.m.controls().find(w.f("?SCROLL"));
  w.m.values().toggleCheck(scrollC);
  w.m.values().update(scrollC.field);
  EXPECT_EQ(std::string(scroll, 2), "1 ");  // text check: "1" when set, blank when clear
  w.m.values().toggleCheck(scrollC);
  w.m.values().update(scrollC.field);
  EXPECT_EQ(std::string(scroll, 1), " ");
  hide = 5;  // any value but the false one shows checked
  w.m.values().display(hideC.field);
  EXPECT_TRUE(hideC.checked);

  EXPECT_EQ(w.m.values().selection(w.f("?MODE")), 3);  // mode 2 is the third radio
  w.m.values().chooseRadio(*w.m.controls().find(w.f("?MODE:1")));
  w.m.values().update(w.f("?MODE"));
  EXPECT_EQ(mode, 0);
  EXPECT_EQ(w.m.values().selection(w.f("?SHOW")), 1);
  w.m.values().setSelection(w.f("?SHOW"), 2);
  w.m.values().update(w.f("?SHOW"));
  EXPECT_EQ(show[0], 'P');

  Control& layoutC = *w.m.controls().find(w.f("?LAYOUT"));
  EXPECT_EQ(layoutC.selected, 2);  // value 1 is "Left to Right"
  EXPECT_TRUE(w.m.values().selectRow(layoutC, 3));
  EXPECT_EQ(layout, 2);
  EXPECT_FALSE(w.m.values().selectRow(layoutC, 3));  // no change
  Control& sizeC = *w.m.controls().find(w.f("?SIZE"));
  EXPECT_EQ(sizeC.selected, 3);
  w.m.values().selectRow(sizeC, 5);
  EXPECT_EQ(size, 12);
  // A new choice list finds the variable's value again.
  w.set("?LAYOUT", PROP::From, Value("A|#2|B|#1"));
  EXPECT_EQ(layoutC.selected, 1);
  EXPECT_EQ(w.get("?SIZE", PROP::Items), 5);  // 50 units high: 81 px, rows of 16
}

struct Rows : ListSource {
  std::vector<std::pair<std::string, std::string>> rows;
  size_t rowCount() const override { return rows.size(); }
  std::string cell(size_t row, int field) const override { return field == 1 ? rows[row].first : rows[row].second; }
};

TEST(WindowModel, ListsShowTheirSourceThroughTheFormat) {
  TestWindow d("Main", 300, 200);
  d.list("?L", "40L(2)|M~Label~@s3@#2#60R(1)|~Num~@n-5@#1#", {0, 0, 100, 60});
  Model w(d.decl());
  Rows src;
  src.rows = {{"12", "abcdef"}, {"-3", "xy"}};
  w.m.values().setList(w.f("?L"), &src);
  w.m.values().setSelection(w.f("?L"), 2);
  ControlSnapshot s = w.m.snapshot(*w.m.controls().find(w.f("?L")), 1);
  ASSERT_EQ(s.columns.size(), 2u);
  EXPECT_EQ(s.columns[0].width, 60);  // dialog units to pixels
  EXPECT_EQ(s.columns[1].header, "Num");
  ASSERT_EQ(s.rows.size(), 2u);
  EXPECT_EQ(s.rows[0][0], "abc");  // source field 2 through "s3"
  EXPECT_EQ(s.rows[0][1], "12");
  EXPECT_EQ(s.rows[1][1], "-3");
  EXPECT_EQ(s.selected, 2);
  EXPECT_EQ(w.get("?L", PROP::Items), 5);  // 97.5 px less a 16 px header, rows of 16
  EXPECT_EQ(w.m.geometry().rowAt(*w.m.controls().find(w.f("?L")), 16 + 16 + 3), 2);
  EXPECT_EQ(w.m.geometry().rowAt(*w.m.controls().find(w.f("?L")), 16 + 48), 0);  // below the last row
  w.set("?L", PROP::VScrollPos, Value(150));
  EXPECT_EQ(w.get("?L", PROP::VScrollPos), 100);
}

TEST(WindowModel, ChangesGoToTheViewOnlyWhenTaken) {
  TestWindow d("Main");
  d.button("?A", "A", {0, 0});
  d.button("?B", "B", {0, 20});
  Model w(d.decl());
  ViewUpdate u;
  ASSERT_TRUE(w.m.takeUpdate(u));
  EXPECT_TRUE(u.opened);
  ASSERT_TRUE(u.window.has_value());
  EXPECT_EQ(u.controls.size(), 2u);
  EXPECT_FALSE(w.m.takeUpdate(u));  // nothing new

  w.set("?B", PROP::Text, Value("Bee"));
  w.set("?B", PROP::XPos, Value(7));
  ASSERT_TRUE(w.m.takeUpdate(u));
  EXPECT_FALSE(u.opened);
  EXPECT_FALSE(u.window.has_value());
  ASSERT_EQ(u.controls.size(), 1u);  // coalesced: one snapshot of ?B
  EXPECT_EQ(u.controls[0].text, "Bee");
  EXPECT_EQ(u.controls[0].x, 11);  // 7 units: 10.5 px

  // A control destroyed and made again before a flush.
  w.m.create(10001, TYPE::Region, 0);
  w.m.destroy(10001);
  w.m.create(10001, TYPE::Region, 0);
  w.m.set(10001, PROP::Fill, -1, Value(255));
  ASSERT_TRUE(w.m.takeUpdate(u));
  ASSERT_EQ(u.destroyed.size(), 1u);
  ASSERT_EQ(u.controls.size(), 1u);
  EXPECT_EQ(u.controls[0].field, 10001);
  EXPECT_EQ(u.controls[0].fill, 255);

  // A window font change resends everything.
  w.m.set(0, PROP::FontName, -1, Value("Arial"));
  ASSERT_TRUE(w.m.takeUpdate(u));
  ASSERT_TRUE(u.window.has_value());
  EXPECT_EQ(u.window->font.face, "Arial");
  EXPECT_EQ(u.controls.size(), 3u);
  EXPECT_EQ(u.controls[0].font.face, "Arial");
}

}  // namespace
}  // namespace wevo::toolkit
