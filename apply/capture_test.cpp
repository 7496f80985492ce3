#include "apply/capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "apply/test_apply.h"
#include "store/store_thread.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::apply {
namespace {

using testing::changedFields;
using testing::StoreFolder;
using testing::WindowControls;
using wevo::testing::endedNormally;
using wevo::testing::runScripted;
using wevo::testing::TestWindow;

// A record with a value of its own in every field, so that a field capture
// writes shows, and one it must not write keeps its value.
WindowControls sentinel() {
  WindowControls r = store::testing::row(77, "Proc", "Marker", "?Sentinel");
  r.LAYOUT = 2;
  r.USECOORDINATES = 5;
  r.IMM = 6;
  r.DROPWIDTH = 7;
  r.FONTCOLOR = 8;
  text::assign(r.LISTBOXFORMAT, "format");
  r.INITIALSIZE = 9;
  r.FRAMETYPE = 2;
  r.TABLOCATION = r.TABSCROLLING = r.TEXTORIENTATION = r.TABWIDTH = r.SPREAD = r.WIZARD = 3;
  r.NOSHEET = r.JOIN = r.PROCESSEDFLAG = r.UP = r.DOWN = r.USEBLOB = 3;
  return r;
}

const std::set<std::string> kNeverCaptured = {
    "UID",          "PROCEDURENAME", "UNIQUEMARKER",  "CONTROLLABEL", "FEQ",           "ORDER",
    "DESCRIPTION",  "USECOORDINATES", "IMM",          "DROPWIDTH",    "FONTCOLOR",     "LISTBOXFORMAT",
    "INITIALSIZE",  "FRAMETYPE",     "TABLOCATION",   "TABSCROLLING", "TEXTORIENTATION", "TABWIDTH",
    "SPREAD",       "WIZARD",        "NOSHEET",       "JOIN",         "PROCESSEDFLAG", "UP",
    "DOWN",         "USEBLOB"};

void expectNeverCapturedKept(const WindowControls& before, const WindowControls& after) {
  for (const std::string& name : changedFields(before, after))
    EXPECT_EQ(kNeverCaptured.count(name), 0u) << name << " was written by capture";
}

// Runs `body` on a host thread with `decl`'s window open.
void withWindow(const WindowDecl& decl, const std::function<void(Window&)>& body) {
  ProgramResult r = runScripted(Script(), [&] {
    Window w(decl);
    w.open();
    body(w);
  });
  EXPECT_TRUE(endedNormally(r));
}

TEST(CaptureWindow, TakesTypeLayoutIconWallpaperAndFontOnly) {
  TestWindow t("Main", 200, 100);
  t.decl().icon = "app.ico";
  t.decl().wallpaper = "main.bmp";
  t.decl().wallpaperMode = 1;
  t.decl().font = FontSpec{"Tahoma", 12, COLOR::None, 400, 161};
  t.decl().props.push_back({PROP::Layout, Value(1)});
  t.button("?OK", "OK", {10, 10, 40, 14});
  withWindow(t.decl(), [](Window& w) {
    w.set(0, PROP::Pixels, 1);
    const WindowControls before = sentinel();
    WindowControls row = before;
    CaptureControl(w, 0, row);
    EXPECT_EQ(w.get(0, PROP::Pixels).num(), 0) << "left in dialog units";
    EXPECT_EQ(+row.TYPE, 0);
    EXPECT_EQ(+row.LAYOUT, 1);
    EXPECT_EQ(text::clipped(row.ICON), "app.ico");
    EXPECT_EQ(text::clipped(row.WALLPAPER), "main.bmp");
    EXPECT_EQ(+row.WALLPAPERMODE, 1);
    EXPECT_EQ(text::clipped(row.TYPEFACE), "Tahoma");
    EXPECT_EQ(+row.FONTSIZE, 12);
    EXPECT_EQ(+row.FONTSTYLE, 400);
    EXPECT_EQ(+row.CHARSET, 161);
    std::vector<std::string> changed = changedFields(before, row);
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (std::vector<std::string>{"CHARSET", "FONTSIZE", "FONTSTYLE", "ICON", "LAYOUT", "TYPE",
                                                 "TYPEFACE", "WALLPAPER", "WALLPAPERMODE"}));

    w.set(0, PROP::Tiled, 1);
    CaptureControl(w, 0, row);
    EXPECT_EQ(+row.WALLPAPERMODE, 2);
    w.set(0, PROP::Tiled, 0);
    CaptureControl(w, 0, row);
    EXPECT_EQ(+row.WALLPAPERMODE, 0) << "neither centred nor tiled: stretched";
  });
}

TEST(CaptureWindow, BlankWallpaperAndLeftToRightLeaveTheirFieldsAsTheyWere) {
  TestWindow t("Plain", 200, 100);
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = sentinel();
    row.WALLPAPERMODE = 2;
    CaptureControl(w, 0, row);
    EXPECT_EQ(text::clipped(row.WALLPAPER), "paper.bmp");
    EXPECT_EQ(+row.WALLPAPERMODE, 2);
    EXPECT_EQ(+row.LAYOUT, 2);
    EXPECT_EQ(text::clipped(row.ICON), "") << "a blank icon is captured as blank";

    kf::clearRecord(store::winDecl(), &row);
    CaptureControl(w, 0, row);
    EXPECT_EQ(text::clipped(row.WALLPAPER), "");
    EXPECT_EQ(+row.WALLPAPERMODE, 0);
  });
}

TEST(CaptureControl, EveryPropertyInItsEncoding) {
  TestWindow t("Main", 300, 200);
  t.prompt("?Prompt", "Name:", {4, 4});
  ControlDecl& e = t.entry("?Name", "@s20", Binding{}, {40, 6, 90, 12});
  e.tip = "Your name";
  e.msg = "Type the name";
  e.help = "NameHelp";
  e.cursor = CURSOR::IBeam;
  e.textColor = 255;
  e.background = 0xFFFFFF;
  e.font = FontSpec{"Tahoma", 9, COLOR::None, 0x1000 | 700, 0};
  withWindow(t.decl(), [](Window& w) {
    const int f = w.fieldOf("?Name");
    ASSERT_EQ(f, 2);
    w.set(f, PROP::Flat, 1);
    w.set(f, PROP::Right, 1);
    w.set(f, PROP::RightOffset, 3);
    w.set(f, PROP::Layout, 1);
    w.set(f, PROP::Hide, 1);
    w.set(f, PROP::Disable, 1);
    w.set(f, PROP::Skip, 1);
    w.set(f, PROP::Scroll, 1);
    w.set(f, PROP::Trn, 1);
    w.set(f, PROP::Cap, 1);
    w.set(f, PROP::Ovr, 1);
    w.set(f, PROP::Req, 1);
    w.set(f, PROP::ReadOnly, 1);
    w.set(f, PROP::Password, 1);
    w.set(f, PROP::SelectedColor, 0x00FF00);
    w.set(f, PROP::SelectedFill, 0x0000FF);
    w.set(f, PROP::Icon, "face.ico");
    w.set(f, PROP::HScroll, 1);
    w.set(f, PROP::VScroll, 1);
    w.set(f, PROP::Boxed, 1);
    w.set(f, PROP::Single, 1);
    w.set(f, PROP::Delay, 11);
    w.set(f, PROP::Repeat, 12);
    w.set(f, PROP::RangeLow, 1);
    w.set(f, PROP::RangeHigh, 50);
    w.set(f, PROP::Step, 5);
    w.set(f, PROP::Drop, 6);
    w.set(f, PROP::BevelOuter, 1);
    w.set(f, PROP::BevelInner, -1);
    w.set(f, PROP::BevelStyle, 2);
    w.set(f, PROP::GridColor, 0x808080);
    w.set(0, PROP::Pixels, 1);

    const WindowControls before = sentinel();
    WindowControls row = before;
    CaptureControl(w, f, row);
    EXPECT_EQ(w.get(0, PROP::Pixels).num(), 0);
    EXPECT_EQ(+row.TYPE, TYPE::Entry);
    EXPECT_EQ(text::clipped(row.CONTROLTEXT), "@s20");
    EXPECT_EQ(+row.FLAT, 1);
    EXPECT_EQ(+row.JUSTIFICATION, 2);
    EXPECT_EQ(+row.OFFSET, 3);
    EXPECT_EQ(+row.LAYOUT, 1);
    EXPECT_EQ(+row.HIDE, 1);
    EXPECT_EQ(+row.DISABLE, 1);
    EXPECT_EQ(+row.SKIP, 1);
    EXPECT_EQ(text::clipped(row.SCROLL), "1");
    EXPECT_EQ(+row.TRANSPARENT, 1);
    EXPECT_EQ(+row.WORDCASE, 2);
    EXPECT_EQ(+row.ENTRYMODE, 2);
    EXPECT_EQ(+row.REQUIRED, 1);
    EXPECT_EQ(+row.READONLY, 1);
    EXPECT_EQ(+row.PASSWORD, 1);
    EXPECT_EQ(+row.TEXTCOLOR, 255);
    EXPECT_EQ(+row.BACKGROUND, 0xFFFFFF);
    EXPECT_EQ(+row.SELECTEDTEXT, 0x00FF00);
    EXPECT_EQ(+row.SELECTEDFILL, 0x0000FF);
    EXPECT_EQ(+row.X, 40);
    EXPECT_EQ(+row.Y, 6);
    EXPECT_EQ(+row.WIDTH, 90);
    EXPECT_EQ(+row.HEIGHT, 12);
    EXPECT_EQ(+row.NOWIDTH, 0);
    EXPECT_EQ(+row.NOHEIGHT, 0);
    EXPECT_EQ(+row.WIDTHTYPE, 2);
    EXPECT_EQ(+row.HEIGHTTYPE, 2);
    EXPECT_EQ(text::clipped(row.TIP), "Your name");
    EXPECT_EQ(text::clipped(row.HELP), "NameHelp");
    EXPECT_EQ(text::clipped(row.MESSAGE), "Type the name");
    EXPECT_EQ(text::clipped(row.CURSOR), CURSOR::IBeam);
    EXPECT_EQ(text::clipped(row.ICON), "face.ico");
    EXPECT_EQ(text::clipped(row.HORIZONTAL), "1");
    EXPECT_EQ(+row.VERTICAL, 1);
    EXPECT_EQ(+row.BOXED, 1);
    EXPECT_EQ(+row.SINGLE, 1);
    EXPECT_EQ(+row.DELAY, 11);
    EXPECT_EQ(+row.REPEAT, 12);
    EXPECT_EQ(text::clipped(row.LOWER), "1");
    EXPECT_EQ(text::clipped(row.UPPER), "50");
    EXPECT_EQ(text::clipped(row.STEP), "5");
    EXPECT_EQ(+row.DROP, 6);
    EXPECT_EQ(text::clipped(row.TYPEFACE), "Tahoma");
    EXPECT_EQ(+row.FONTSIZE, 9);
    EXPECT_EQ(+row.FONTSTYLE, 0x1000 | 700);
    EXPECT_EQ(+row.CHARSET, 0);
    EXPECT_EQ(+row.OUTER, 1);
    EXPECT_EQ(+row.INNER, -1);
    EXPECT_EQ(+row.STYLE, 2);
    EXPECT_EQ(+row.ANGLE, +before.ANGLE) << "the grid colour is a list's or combo's only";
    EXPECT_EQ(text::clipped(row.WALLPAPER), text::clipped(before.WALLPAPER)) << "a toolbar's only";
    expectNeverCapturedKept(before, row);
  });
}

TEST(CaptureControl, FirstJustificationSwitchDecidesAndNoneClearsBoth) {
  TestWindow t("Main", 200, 100);
  t.string("?Total", "0.00", {10, 10, 60, 10});
  withWindow(t.decl(), [](Window& w) {
    struct Case {
      int32_t on, offsetProp;
      int code;
    };
    for (const Case& c : {Case{PROP::Left, PROP::LeftOffset, 1}, Case{PROP::Right, PROP::RightOffset, 2},
                          Case{PROP::Center, PROP::CenterOffset, 3}, Case{PROP::Decimal, PROP::DecimalOffset, 4}}) {
      w.set(1, c.on, 1);
      w.set(1, c.offsetProp, 10 + c.code);
      WindowControls row = sentinel();
      CaptureControl(w, 1, row);
      EXPECT_EQ(+row.JUSTIFICATION, c.code);
      EXPECT_EQ(+row.OFFSET, 10 + c.code);
    }
    w.set(1, PROP::Decimal, 0);
    WindowControls row = sentinel();
    ASSERT_NE(+row.JUSTIFICATION, 0);
    ASSERT_NE(+row.OFFSET, 0);
    CaptureControl(w, 1, row);
    EXPECT_EQ(+row.JUSTIFICATION, 0);
    EXPECT_EQ(+row.OFFSET, 0) << "offsets of switches that are off are not taken";
  });
}

TEST(CaptureControl, WordCaseAndEntryModeFromTheirSwitches) {
  TestWindow t("Main", 200, 100);
  t.entry("?Code", "@s10", Binding{}, {10, 10, 60, 12});
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = sentinel();
    CaptureControl(w, 1, row);
    EXPECT_EQ(+row.WORDCASE, 0);
    EXPECT_EQ(+row.ENTRYMODE, 0);
    w.set(1, PROP::Upr, 1);
    w.set(1, PROP::Ins, 1);
    CaptureControl(w, 1, row);
    EXPECT_EQ(+row.WORDCASE, 1);
    EXPECT_EQ(+row.ENTRYMODE, 1);
  });
}

TEST(CaptureControl, SizeTypesFromDefaultFullAndExplicitSizes) {
  TestWindow t("Main", 200, 100);
  t.button("?Natural", "Natural", {10, 10});  // default width and height
  t.button("?Sized", "Sized", {10, 30, 50, 14});
  t.region("?Filler", {20, 50}).full = true;
  t.button("?Flat", "Flat", {10, 80, 40, 14});
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = sentinel();
    row.WIDTHTYPE = 2;
    row.HEIGHTTYPE = 2;
    CaptureControl(w, 1, row);
    EXPECT_EQ(+row.NOWIDTH, 1);
    EXPECT_EQ(+row.NOHEIGHT, 1);
    EXPECT_GT(+row.WIDTH, 0) << "the natural width is reported";
    EXPECT_EQ(+row.WIDTHTYPE, 1) << "default width wins over a reported width";
    EXPECT_EQ(+row.HEIGHTTYPE, 1);

    CaptureControl(w, 2, row);
    EXPECT_EQ(+row.NOWIDTH, 0);
    EXPECT_EQ(+row.WIDTH, 50);
    EXPECT_EQ(+row.WIDTHTYPE, 2);
    EXPECT_EQ(+row.HEIGHT, 14);
    EXPECT_EQ(+row.HEIGHTTYPE, 2);

    CaptureControl(w, 3, row);
    EXPECT_EQ(+row.WIDTHTYPE, 0) << "full size";
    EXPECT_EQ(+row.HEIGHTTYPE, 0);
    EXPECT_EQ(+row.WIDTH, 180) << "the filled width";

    // No size and no switch: the size type stays as the record had it.
    w.set(4, PROP::Width, 0);
    w.set(4, PROP::Height, 0);
    for (int kept : {0, 1, 2}) {
      row.WIDTHTYPE = kept;
      row.HEIGHTTYPE = kept;
      CaptureControl(w, 4, row);
      EXPECT_EQ(+row.WIDTH, 0);
      EXPECT_EQ(+row.WIDTHTYPE, kept);
      EXPECT_EQ(+row.HEIGHTTYPE, kept);
    }
  });
}

TEST(CaptureControl, TypeSpecificFields) {
  TestWindow t("Main", 300, 200);
  t.list("?Lines", "80L(2)|M~Line~@s20@", {10, 10, 100, 60});
  ControlDecl& bar = t.add(TYPE::Toolbar, "?Bar", "", {0, 0, 300, 20});
  bar.wallpaper = "bar.bmp";
  ControlDecl& region = t.region("?Box", {10, 80, 40, 40});
  region.wallpaper = "box.bmp";
  char notes[40];
  text::assign(notes, "first line");
  t.text("?Notes", Binding::text(notes), {120, 10, 100, 60});
  withWindow(t.decl(), [](Window& w) {
    w.set(1, PROP::GridColor, 0x00C0C0);
    WindowControls row = sentinel();
    CaptureControl(w, 1, row);
    EXPECT_EQ(+row.ANGLE, 0x00C0C0);

    w.set(2, PROP::Tiled, 1);
    row = sentinel();
    kf::clearRecord(store::winDecl(), &row);
    CaptureControl(w, 2, row);
    EXPECT_EQ(+row.TYPE, TYPE::Toolbar);
    EXPECT_EQ(text::clipped(row.WALLPAPER), "bar.bmp");
    EXPECT_EQ(+row.WALLPAPERMODE, 2);

    kf::clearRecord(store::winDecl(), &row);
    CaptureControl(w, 3, row);
    EXPECT_EQ(text::clipped(row.WALLPAPER), "") << "a region's wallpaper is not captured";

    CaptureControl(w, 4, row);
    EXPECT_EQ(+row.TYPE, TYPE::Text);
    EXPECT_EQ(text::clipped(row.CONTROLTEXT), "first line") << "a text control's contents";
  });
}

TEST(CaptureControl, LongTextIsCutToItsField) {
  TestWindow t("Main", 200, 100);
  ControlDecl& b = t.button("?Long", std::string(600, 'x'), {10, 10, 40, 14});
  b.tip = std::string(300, 't');
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = sentinel();
    CaptureControl(w, 1, row);
    EXPECT_EQ(text::field(row.CONTROLTEXT), std::string(512, 'x'));
    EXPECT_EQ(text::field(row.TIP), std::string(256, 't'));
  });
}

TEST(CapturePlacement, OnlyTheEightPlacementFields) {
  TestWindow t("Main", 200, 100);
  t.button("?OK", "OK", {10, 10, 40, 14});
  withWindow(t.decl(), [](Window& w) {
    w.set(0, PROP::Pixels, 1);
    w.set(1, PROP::XPos, 30);   // pixels: 20 dialog units across
    w.set(1, PROP::YPos, 13);   // 8 down
    const WindowControls before = sentinel();
    WindowControls row = before;
    CapturePlacement(w, 1, row);
    EXPECT_EQ(+row.X, 20);
    EXPECT_EQ(+row.Y, 8);
    EXPECT_EQ(+row.WIDTH, 40);
    EXPECT_EQ(+row.HEIGHT, 14);
    std::vector<std::string> changed = changedFields(before, row);
    for (const std::string& name : changed)
      EXPECT_TRUE(name == "X" || name == "Y" || name == "WIDTH" || name == "HEIGHT" || name == "NOWIDTH" ||
                  name == "NOHEIGHT" || name == "WIDTHTYPE" || name == "HEIGHTTYPE")
          << name;
    EXPECT_EQ(w.get(0, PROP::Pixels).num(), 0);
  });
}

class StoreControlPlacementTest : public ::testing::Test {
 protected:
  StoreFolder folder;
};

TEST_F(StoreControlPlacementTest, ControlWithoutRowGetsACompleteNewRow) {
  TestWindow t("Main", 200, 100);
  t.prompt("?Prompt", "Name:", {4, 4});
  ControlDecl& ok = t.button("?OK", "&OK", {10, 30, 40, 14});
  ok.tip = "Saves";
  ProgramResult r = folder.run([&] {
    Window w(t.decl());
    w.open();
    w.set(0, PROP::Pixels, 1);
    w.set(2, PROP::XPos, 45);  // 30 dialog units
    StoreControlPlacement(2, w, "UpdateCustomer  ", "Marker A", "?OK  ");
    EXPECT_EQ(w.get(0, PROP::Pixels).num(), 1) << "back in pixels for design mode";
    EXPECT_EQ(store::useCount(store::winFile()), 0);
    EXPECT_FALSE(store::winFile().isOpen());
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 1u);
  const WindowControls& row = rows[0];
  EXPECT_EQ(+row.UID, 1u);
  EXPECT_EQ(text::clipped(row.PROCEDURENAME), "UpdateCustomer");
  EXPECT_EQ(text::clipped(row.UNIQUEMARKER), "Marker A");
  EXPECT_EQ(text::clipped(row.CONTROLLABEL), "?OK");
  EXPECT_EQ(text::clipped(row.DESCRIPTION), "OK");
  EXPECT_EQ(+row.FEQ, 2);
  EXPECT_EQ(+row.ORDER, 2);
  EXPECT_EQ(+row.TYPE, TYPE::Button);
  EXPECT_EQ(text::clipped(row.CONTROLTEXT), "&OK");
  EXPECT_EQ(text::clipped(row.TIP), "Saves");
  EXPECT_EQ(+row.X, 30);
  EXPECT_EQ(+row.Y, 30);
  EXPECT_EQ(+row.WIDTH, 40);
  EXPECT_EQ(+row.WIDTHTYPE, 2);
}

TEST_F(StoreControlPlacementTest, ExistingRowChangesOnlyItsPlacement) {
  WindowControls stored = store::testing::row(5, "UpdateCustomer", "Marker A", "?OK");
  stored.FEQ = 9;  // wherever the control was when the row was written
  stored.ORDER = 4;
  stored.HIDE = 1;
  stored.HEIGHT = 30;
  std::vector<WindowControls> staged = {store::testing::row(1, "UpdateCustomer", "Marker B", "?OK"), stored,
                                        store::testing::row(7, "UpdateCustomer", "Marker A", "?Cancel")};
  ASSERT_TRUE(folder.stage(staged));
  TestWindow t("Main", 200, 100);
  t.button("?Cancel", "Cancel", {60, 30, 40, 14});
  t.button("?OK", "OK", {10, 30});  // default size
  ProgramResult r = folder.run([&] {
    Window w(t.decl());
    w.open();
    w.set(0, PROP::Pixels, 1);
    w.set(2, PROP::XPos, 15);
    w.set(2, PROP::YPos, 26);
    StoreControlPlacement(2, w, "updatecustomer", "MARKER A", "?OK");
  });
  ASSERT_TRUE(endedNormally(r));
  std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 3u) << "no row added";
  EXPECT_TRUE(store::testing::sameBytes(&rows[0], &staged[0], sizeof rows[0])) << "another marker's row";
  EXPECT_TRUE(store::testing::sameBytes(&rows[2], &staged[2], sizeof rows[2])) << "another control's row";
  const WindowControls& row = rows[1];
  std::vector<std::string> changed = changedFields(stored, row);
  std::sort(changed.begin(), changed.end());
  EXPECT_EQ(changed, (std::vector<std::string>{"HEIGHT", "HEIGHTTYPE", "NOHEIGHT", "NOWIDTH", "WIDTH",
                                               "WIDTHTYPE", "X", "Y"}));
  EXPECT_EQ(+row.X, 10);
  EXPECT_EQ(+row.Y, 16);
  EXPECT_EQ(+row.NOWIDTH, 1);
  EXPECT_EQ(+row.WIDTHTYPE, 1);
  EXPECT_EQ(+row.HEIGHTTYPE, 1);
}

}  // namespace
}  // namespace wevo::apply
