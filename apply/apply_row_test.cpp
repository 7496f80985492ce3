#include "apply/apply_row.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "apply/capture.h"
#include "apply/test_apply.h"
#include "store/store_open.h"
#include "store/store_thread.h"
#include "tests/testing/run_scripted.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"

namespace wevo::apply {
namespace {

using testing::changedFields;
using testing::overrideRow;
using testing::StoreFolder;
using testing::WindowControls;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;

class ApplyRowTest : public ::testing::Test {
 protected:
  // Runs `body` with `decl`'s window open, in dialog units.
  void withWindow(const WindowDecl& decl, const std::function<void(Window&)>& body) {
    ProgramResult r = folder.run([&] {
      Window w(decl);
      w.open();
      body(w);
    });
    EXPECT_TRUE(endedNormally(r));
    EXPECT_TRUE(r.transcript.empty());
  }

  StoreFolder folder;
};

WindowControls rowOf(int type) { return overrideRow(1, "P", "M", "?C", 1, type); }

TEST_F(ApplyRowTest, WindowRowSetsWallpaperIconAndFontOnly) {
  TestWindow t("Main", 200, 100);
  t.decl().icon = "app.ico";
  t.decl().wallpaper = "old.bmp";
  t.button("?OK", "OK", {10, 10, 40, 14});
  withWindow(t.decl(), [](Window& w) {
    auto pixelSize = [&] {
      w.set(0, PROP::Pixels, 1);
      const int64_t size = w.get(0, PROP::Width).num() * 10000 + w.get(0, PROP::Height).num();
      w.set(0, PROP::Pixels, 0);
      return size;
    };
    const int64_t size = pixelSize();
    WindowControls row = overrideRow(1, "P", "M", "WINDOW", 0, 0);
    text::assign(row.CONTROLTEXT, "Another caption");
    text::assign(row.WALLPAPER, "new.bmp");
    row.WALLPAPERMODE = 1;
    text::assign(row.ICON, "other.ico");
    text::assign(row.TYPEFACE, "Arial");
    row.FONTSIZE = 12;
    row.CHARSET = 204;
    row.FONTSTYLE = 700;
    row.LAYOUT = 1;
    row.X = 300;
    row.WIDTH = 10;
    row.WIDTHTYPE = 2;
    row.HIDE = 1;
    row.BACKGROUND = 255;
    ApplyRow(w, 0, row);
    EXPECT_EQ(w.get(0, PROP::Wallpaper).str(), "new.bmp");
    EXPECT_EQ(w.get(0, PROP::Centered).num(), 1);
    EXPECT_EQ(w.get(0, PROP::Tiled).num(), 0);
    EXPECT_EQ(w.get(0, PROP::Icon).str(), "other.ico");
    EXPECT_EQ(w.get(0, PROP::FontName).str(), "Arial");
    EXPECT_EQ(w.get(0, PROP::FontSize).num(), 12);
    EXPECT_EQ(w.get(0, PROP::FontCharset).num(), 204);
    EXPECT_EQ(w.get(0, PROP::FontStyle).num(), 700);
    EXPECT_EQ(w.get(0, PROP::Text).str(), "Main") << "the caption is not applied";
    EXPECT_EQ(w.get(0, PROP::Layout).num(), 0);
    EXPECT_EQ(pixelSize(), size);
    EXPECT_EQ(w.get(0, PROP::Hide).num(), 0);
    EXPECT_EQ(w.get(0, PROP::Background).num(), COLOR::None);

    row.WALLPAPERMODE = 2;
    ApplyRow(w, 0, row);
    EXPECT_EQ(w.get(0, PROP::Centered).num(), 0);
    EXPECT_EQ(w.get(0, PROP::Tiled).num(), 1);
    row.WALLPAPERMODE = 5;
    ApplyRow(w, 0, row);
    EXPECT_EQ(w.get(0, PROP::Centered).num(), 0);
    EXPECT_EQ(w.get(0, PROP::Tiled).num(), 0) << "any other mode: stretched";

    w.set(0, PROP::Tiled, 1);
    text::blank(row.WALLPAPER);
    text::blank(row.ICON);
    row.WALLPAPERMODE = 1;
    ApplyRow(w, 0, row);
    EXPECT_EQ(w.get(0, PROP::Wallpaper).str(), "new.bmp") << "a blank wallpaper leaves it";
    EXPECT_EQ(w.get(0, PROP::Tiled).num(), 1) << "and its mode";
    EXPECT_EQ(w.get(0, PROP::Icon).str(), "") << "a blank icon is set";
  });
}

TEST_F(ApplyRowTest, EntryRowSetsItsPropertiesAndLeavesTheUnappliedFields) {
  TestWindow t("Main", 300, 200);
  ControlDecl& e = t.entry("?Name", "@s20", Binding{}, {10, 10, 60, 12});
  e.cursor = CURSOR::Cross;
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = rowOf(TYPE::Entry);
    text::assign(row.CONTROLTEXT, "@s30");
    row.FLAT = 1;
    row.JUSTIFICATION = 3;
    row.OFFSET = 4;
    row.LAYOUT = 1;
    row.HIDE = 1;
    row.DISABLE = 1;
    row.SKIP = 1;
    text::assign(row.SCROLL, "1");
    row.TRANSPARENT = 1;
    row.WORDCASE = 1;
    row.ENTRYMODE = 2;
    row.REQUIRED = 1;
    row.READONLY = 1;
    row.PASSWORD = 1;
    row.TEXTCOLOR = 255;
    row.BACKGROUND = 0xEEEEEE;
    row.SELECTEDTEXT = 0x111111;
    row.SELECTEDFILL = 0x222222;
    row.X = 20;
    row.Y = 30;
    row.WIDTH = 70;
    row.HEIGHT = 13;
    row.WIDTHTYPE = 2;
    row.HEIGHTTYPE = 2;
    row.NOWIDTH = 1;
    text::assign(row.TIP, "tip");
    text::assign(row.HELP, "help");
    text::assign(row.MESSAGE, "message");
    text::assign(row.CURSOR, CURSOR::Wait);
    text::assign(row.HORIZONTAL, "1");
    row.VERTICAL = 1;
    text::assign(row.TYPEFACE, "Courier New");
    row.FONTSIZE = 11;
    row.CHARSET = 238;
    row.FONTSTYLE = 0x2000;
    row.FONTCOLOR = 0x00FF00;
    row.BOXED = 1;
    row.DELAY = 9;
    row.DROP = 4;
    row.OUTER = 1;
    text::assign(row.ICON, "i.ico");
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::Text).str(), "@s30");
    EXPECT_EQ(w.get(1, PROP::Flat).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Center).num(), 1);
    EXPECT_EQ(w.get(1, PROP::CenterOffset).num(), 4);
    EXPECT_EQ(w.get(1, PROP::Layout).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Hide).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Disable).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Skip).num(), 1);
    EXPECT_TRUE(w.get(1, PROP::Scroll).truthy());
    EXPECT_EQ(w.get(1, PROP::Trn).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Upr).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Ovr).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Req).num(), 1);
    EXPECT_EQ(w.get(1, PROP::ReadOnly).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Password).num(), 1);
    EXPECT_EQ(w.get(1, PROP::FontColor).num(), 255) << "TEXTCOLOR, not FONTCOLOR";
    EXPECT_EQ(w.get(1, PROP::Background).num(), 0xEEEEEE);
    EXPECT_EQ(w.get(1, PROP::SelectedColor).num(), 0x111111);
    EXPECT_EQ(w.get(1, PROP::SelectedFill).num(), 0x222222);
    int x, y, width, height;
    w.getPosition(1, x, y, width, height);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
    EXPECT_EQ(width, 70);
    EXPECT_EQ(height, 13);
    EXPECT_EQ(w.get(1, PROP::NoWidth).num(), 0) << "NOWIDTH is not applied";
    EXPECT_EQ(w.get(1, PROP::Tip).str(), "tip");
    EXPECT_EQ(w.get(1, PROP::Hlp).str(), "help");
    EXPECT_EQ(w.get(1, PROP::Msg).str(), "message");
    EXPECT_EQ(w.get(1, PROP::Cursor).str(), CURSOR::Cross) << "the cursor is not applied";
    EXPECT_TRUE(w.get(1, PROP::HScroll).truthy());
    EXPECT_EQ(w.get(1, PROP::VScroll).num(), 1);
    EXPECT_EQ(w.get(1, PROP::FontName).str(), "Courier New");
    EXPECT_EQ(w.get(1, PROP::FontSize).num(), 11);
    EXPECT_EQ(w.get(1, PROP::FontCharset).num(), 238);
    EXPECT_EQ(w.get(1, PROP::FontStyle).num(), 0x2000);
    // Fields of other types' rules.
    EXPECT_EQ(w.get(1, PROP::Boxed).num(), 0);
    EXPECT_EQ(w.get(1, PROP::Delay).num(), 0);
    EXPECT_EQ(w.get(1, PROP::Drop).num(), 0);
    EXPECT_EQ(w.get(1, PROP::BevelOuter).num(), 0);
    EXPECT_EQ(w.get(1, PROP::Icon).str(), "");
    EXPECT_EQ(w.get(0, PROP::Pixels).num(), 0);
  });
}

TEST_F(ApplyRowTest, JustificationFollowsTheRowsType) {
  TestWindow t("Main", 300, 200);
  t.entry("?Entry", "@n10.2", Binding{}, {10, 10, 60, 12});
  t.check("?Check", "Check", Binding{}, {10, 30});
  t.add(TYPE::Image, "?Image", "", {10, 50, 20, 20});
  t.prompt("?Prompt", "Prompt", {10, 80});
  t.string("?String", "1.00", {10, 100, 40, 10});
  t.text("?Text", Binding{}, {100, 10, 60, 40});
  withWindow(t.decl(), [](Window& w) {
    auto justify = [&](int f, int type, int code, int offset = 0) {
      WindowControls row = rowOf(type);
      row.JUSTIFICATION = code;
      row.OFFSET = offset;
      ApplyRow(w, f, row);
    };
    auto state = [&](int f) {
      return std::to_string(w.get(f, PROP::Left).num()) + std::to_string(w.get(f, PROP::Right).num()) +
             std::to_string(w.get(f, PROP::Center).num()) + std::to_string(w.get(f, PROP::Decimal).num());
    };
    // ENTRY: 0 turns all four switches and their offsets off.
    w.set(1, PROP::Right, 1);
    w.set(1, PROP::RightOffset, 5);
    w.set(1, PROP::LeftOffset, 6);
    justify(1, TYPE::Entry, 0);
    EXPECT_EQ(state(1), "0000");
    EXPECT_EQ(w.get(1, PROP::RightOffset).num(), 0);
    EXPECT_EQ(w.get(1, PROP::LeftOffset).num(), 0);
    justify(1, TYPE::Entry, 4, 2);
    EXPECT_EQ(state(1), "0001");
    EXPECT_EQ(w.get(1, PROP::DecimalOffset).num(), 2);
    justify(1, TYPE::Entry, 2, 3);
    EXPECT_EQ(state(1), "0100");
    EXPECT_EQ(w.get(1, PROP::RightOffset).num(), 3);

    // CHECK: left or right; 0 turns both off.
    justify(2, TYPE::Check, 1);
    EXPECT_EQ(state(2), "1000");
    justify(2, TYPE::Check, 2);
    EXPECT_EQ(state(2), "0100");
    justify(2, TYPE::Check, 0);
    EXPECT_EQ(state(2), "0000");

    // IMAGE: nothing.
    w.set(3, PROP::Right, 1);
    justify(3, TYPE::Image, 0);
    EXPECT_EQ(state(3), "0100");
    justify(3, TYPE::Image, 1);
    EXPECT_EQ(state(3), "0100");

    // PROMPT: left, right or centre; decimal turns all three off.
    justify(4, TYPE::Prompt, 3);
    EXPECT_EQ(state(4), "0010");
    justify(4, TYPE::Prompt, 4);
    EXPECT_EQ(state(4), "0000");

    // STRING: like an entry, with the offset.
    justify(5, TYPE::String, 3, 7);
    EXPECT_EQ(state(5), "0010");
    EXPECT_EQ(w.get(5, PROP::CenterOffset).num(), 7);

    // TEXT: like a prompt.
    justify(6, TYPE::Text, 2);
    EXPECT_EQ(state(6), "0100");
  });
}

TEST_F(ApplyRowTest, SizeTypesAndTheSwitchesThatAreOnlySetWhenAsked) {
  TestWindow t("Main", 300, 200);
  t.button("?Save", "Save", {10, 10, 60, 20});
  t.entry("?Code", "@s10", Binding{}, {10, 40, 60, 12});
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = rowOf(TYPE::Button);
    row.X = 10;
    row.Y = 10;
    row.WIDTHTYPE = 2;
    row.WIDTH = 0;
    row.HEIGHTTYPE = 3;
    row.HEIGHT = 99;
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::Width).num(), 0) << "an explicit width of 0";
    EXPECT_EQ(w.get(1, PROP::Height).num(), 20) << "an unknown size type sets nothing";

    row.WIDTHTYPE = 1;
    row.HEIGHTTYPE = 1;
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::NoWidth).num(), 1);
    EXPECT_EQ(w.get(1, PROP::NoHeight).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Width).num(), 24) << "natural width of \"Save\": 4 + 2 characters of 4 units";

    row.WIDTHTYPE = 0;
    row.HEIGHTTYPE = 2;
    row.HEIGHT = 16;
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::Full).num(), 1);
    EXPECT_EQ(w.get(1, PROP::Height).num(), 16);

    // LAYOUT 2, WORDCASE 0 and ENTRYMODE 0 set nothing: what the control has stays.
    w.set(2, PROP::Layout, 1);
    w.set(2, PROP::Upr, 1);
    w.set(2, PROP::Ins, 1);
    WindowControls entry = rowOf(TYPE::Entry);
    entry.LAYOUT = 2;
    ApplyRow(w, 2, entry);
    EXPECT_EQ(w.get(2, PROP::Layout).num(), 1);
    EXPECT_EQ(w.get(2, PROP::Upr).num(), 1);
    EXPECT_EQ(w.get(2, PROP::Ins).num(), 1);
    entry.WORDCASE = 2;
    entry.ENTRYMODE = 2;
    ApplyRow(w, 2, entry);
    EXPECT_EQ(w.get(2, PROP::Cap).num(), 1);
    EXPECT_EQ(w.get(2, PROP::Ovr).num(), 1);
  });
}

TEST_F(ApplyRowTest, TextIsReplacedOnlyWhenNotBlankAndWithoutTrailingBlanks) {
  TestWindow t("Main", 300, 200);
  t.button("?Save", "Save", {10, 10});  // default size: its width follows its text
  withWindow(t.decl(), [](Window& w) {
    WindowControls row = rowOf(TYPE::Button);
    row.WIDTHTYPE = 1;
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::Text).str(), "Save") << "a blank text keeps the control's";
    text::assign(row.CONTROLTEXT, "Keep");
    text::assign(row.ICON, "");
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::Text).str(), "Keep");
    EXPECT_EQ(w.get(1, PROP::Icon).str(), "");
    EXPECT_EQ(w.get(1, PROP::Width).num(), 24) << "the field's blanks do not widen it";
  });
}

TEST_F(ApplyRowTest, RowOfAnotherTypeIsAppliedByItsOwnType) {
  TestWindow t("Main", 300, 200);
  t.entry("?Name", "@s20", Binding{}, {10, 10, 60, 12});
  withWindow(t.decl(), [](Window& w) {
    w.set(1, PROP::Decimal, 1);
    WindowControls row = rowOf(TYPE::Check);  // the control was a check box when the row was written
    row.PASSWORD = 1;
    row.JUSTIFICATION = 0;
    text::assign(row.ICON, "tick.ico");
    row.WORDCASE = 1;
    ApplyRow(w, 1, row);
    EXPECT_EQ(w.get(1, PROP::Password).num(), 0) << "an entry's rule, and the row is a check box's";
    EXPECT_EQ(w.get(1, PROP::Upr).num(), 0);
    EXPECT_EQ(w.get(1, PROP::Decimal).num(), 1) << "a check box's justification touches left and right only";
    EXPECT_EQ(w.get(1, PROP::Icon).str(), "tick.ico");
  });
}

TEST_F(ApplyRowTest, TypeSpecificFieldsReachTheirTypesOnly) {
  TestWindow t("Main", 300, 200);
  t.spin("?Qty", "@n3", Binding{}, 0, 10, {10, 10, 40, 12});
  t.list("?Lines", "80L(2)|M~Line~@s20@", {10, 30, 100, 60});
  t.group("?Frame", "Frame", {120, 10, 100, 60});
  t.button("?Go", "Go", {120, 80, 40, 14});
  char notes[40];
  text::assign(notes, "");
  t.text("?Notes", Binding::text(notes), {10, 100, 100, 40});
  ControlDecl& bar = t.add(TYPE::Toolbar, "?Bar", "", {0, 150, 300, 20});
  (void)bar;
  withWindow(t.decl(), [](Window& w) {
    WindowControls spin = rowOf(TYPE::Spin);
    text::assign(spin.LOWER, "2");
    text::assign(spin.UPPER, "20");
    text::assign(spin.STEP, "2");
    spin.DELAY = 30;
    spin.REPEAT = 5;
    ApplyRow(w, 1, spin);
    EXPECT_EQ(w.get(1, PROP::RangeLow).num(), 2);
    EXPECT_EQ(w.get(1, PROP::RangeHigh).num(), 20);
    EXPECT_EQ(w.get(1, PROP::Step).num(), 2);
    EXPECT_EQ(w.get(1, PROP::Delay).num(), 30);
    EXPECT_EQ(w.get(1, PROP::Repeat).num(), 5);

    WindowControls list = rowOf(TYPE::List);
    list.DROP = 8;
    list.ANGLE = 0xC0C0C0;
    ApplyRow(w, 2, list);
    EXPECT_EQ(w.get(2, PROP::Drop).num(), 8);
    EXPECT_EQ(w.get(2, PROP::GridColor).num(), 0xC0C0C0);

    WindowControls group = rowOf(TYPE::Group);
    group.BOXED = 1;
    group.OUTER = 1;
    group.INNER = -1;
    group.STYLE = 2;
    group.SINGLE = 1;
    ApplyRow(w, 3, group);
    EXPECT_EQ(w.get(3, PROP::Boxed).num(), 1);
    EXPECT_EQ(w.get(3, PROP::BevelOuter).num(), 1);
    EXPECT_EQ(w.get(3, PROP::BevelInner).num(), -1);
    EXPECT_EQ(w.get(3, PROP::BevelStyle).num(), 2);
    EXPECT_EQ(w.get(3, PROP::Single).num(), 0) << "a text control's only";

    WindowControls button = rowOf(TYPE::Button);
    text::assign(button.ICON, "go.ico");
    button.REPEAT = 7;
    text::assign(button.LOWER, "3");
    ApplyRow(w, 4, button);
    EXPECT_EQ(w.get(4, PROP::Icon).str(), "go.ico");
    EXPECT_EQ(w.get(4, PROP::Repeat).num(), 7);
    EXPECT_EQ(w.get(4, PROP::RangeLow).num(), 0) << "a spin's only";

    WindowControls textRow = rowOf(TYPE::Text);
    textRow.SINGLE = 1;
    textRow.BOXED = 1;
    textRow.WORDCASE = 2;
    ApplyRow(w, 5, textRow);
    EXPECT_EQ(w.get(5, PROP::Single).num(), 1);
    EXPECT_EQ(w.get(5, PROP::Boxed).num(), 1);
    EXPECT_EQ(w.get(5, PROP::Cap).num(), 1);

    WindowControls toolbar = rowOf(TYPE::Toolbar);
    text::assign(toolbar.WALLPAPER, "bar.bmp");
    toolbar.WALLPAPERMODE = 2;
    ApplyRow(w, 6, toolbar);
    EXPECT_EQ(w.get(6, PROP::Wallpaper).str(), "bar.bmp");
    EXPECT_EQ(w.get(6, PROP::Tiled).num(), 1);
    WindowControls notToolbar = rowOf(TYPE::Region);
    text::assign(notToolbar.WALLPAPER, "region.bmp");
    ApplyRow(w, 6, notToolbar);
    EXPECT_EQ(w.get(6, PROP::Wallpaper).str(), "bar.bmp") << "a toolbar's only";
  });
}

TEST_F(ApplyRowTest, RepaintsTheWindowRedisplaysTheControlAndReturnsTheUseCount) {
  char notes[40];
  text::assign(notes, "as opened");
  TestWindow t("Main", 300, 200);
  t.text("?Notes", Binding::text(notes), {10, 10, 100, 40});
  withWindow(t.decl(), [&](Window& w) {
    const int64_t handle = w.handle();
    auto invalidations = [&] {
      std::optional<toolkit::ScreenWindow> shown = wevo::testing::screenWindow(handle);
      return shown ? shown->invalidations : 0;
    };
    const int before = invalidations();
    text::assign(notes, "changed by the program");
    ApplyRow(w, 1, rowOf(TYPE::Text));
    EXPECT_EQ(invalidations(), before + 1);
    EXPECT_EQ(w.get(1, PROP::Text).str(), "changed by the program") << "redisplayed from its variable";
    EXPECT_EQ(store::useCount(store::winFile()), 0);
    EXPECT_FALSE(store::winFile().isOpen());

    {
      store::StoreUse use;
      ApplyRow(w, 0, overrideRow(1, "P", "M", "WINDOW", 0, 0));
      EXPECT_EQ(store::useCount(store::winFile()), 1);
      EXPECT_TRUE(store::winFile().isOpen()) << "an open store stays open";
    }
    EXPECT_EQ(invalidations(), before + 2);
  });
}

// Capture, then apply after the control changed: the control is back where
// it was, for every field capture reads and the type's rules apply.
TEST_F(ApplyRowTest, CapturedRowAppliedBackRestoresTheControl) {
  TestWindow t("Main", 300, 200);
  t.entry("?Name", "@s20", Binding{}, {10, 10, 60, 12}).tip = "name";
  t.button("?Go", "Go", {10, 30, 40, 14});
  t.spin("?Qty", "@n3", Binding{}, 1, 9, {10, 50, 30, 12});
  t.list("?Lines", "80L(2)|M~Line~@s20@", {10, 70, 100, 60}).drop = 3;
  t.group("?Frame", "Frame", {120, 10, 100, 60});
  withWindow(t.decl(), [](Window& w) {
    for (int f = 1; f <= w.lastField(); ++f) {
      WindowControls captured;
      kf::clearRecord(store::winDecl(), &captured);
      CaptureControl(w, f, captured);
      const int type = captured.TYPE;
      // A blank text is not applied, and a button's justification is left
      // or right only.
      if (!text::clipped(captured.CONTROLTEXT).empty()) w.set(f, PROP::Text, "changed");
      w.set(f, PROP::Flat, 1);
      if (type == TYPE::Entry || type == TYPE::Spin || type == TYPE::List) {
        w.set(f, PROP::Center, 1);
        w.set(f, PROP::CenterOffset, 9);
      }
      if (type == TYPE::Button) w.set(f, PROP::Right, 1);
      w.set(f, PROP::Hide, 1);
      w.set(f, PROP::Disable, 1);
      w.set(f, PROP::Skip, 1);
      w.set(f, PROP::Scroll, 1);
      w.set(f, PROP::Trn, 1);
      w.set(f, PROP::Req, 1);
      w.set(f, PROP::ReadOnly, 1);
      if (type == TYPE::Entry) w.set(f, PROP::Password, 1);
      w.set(f, PROP::FontColor, 1);
      w.set(f, PROP::Background, 2);
      w.set(f, PROP::SelectedColor, 3);
      w.set(f, PROP::SelectedFill, 4);
      w.setPosition(f, 50, 60, 70, 20);
      w.set(f, PROP::Tip, "other");
      w.set(f, PROP::Hlp, "other");
      w.set(f, PROP::Msg, "other");
      w.set(f, PROP::HScroll, 1);
      w.set(f, PROP::VScroll, 1);
      w.set(f, PROP::FontName, "Symbol");
      w.set(f, PROP::FontSize, 20);
      w.set(f, PROP::FontStyle, 0x4000);
      w.set(f, PROP::FontCharset, 2);
      if (type == TYPE::Button) {
        w.set(f, PROP::Icon, "x.ico");
        w.set(f, PROP::Delay, 5);
        w.set(f, PROP::Repeat, 6);
      }
      if (type == TYPE::Spin) {
        w.set(f, PROP::RangeLow, 4);
        w.set(f, PROP::RangeHigh, 40);
        w.set(f, PROP::Step, 4);
      }
      if (type == TYPE::List) {
        w.set(f, PROP::Drop, 9);
        w.set(f, PROP::GridColor, 9);
      }
      if (type == TYPE::Group) {
        w.set(f, PROP::Boxed, 1);
        w.set(f, PROP::BevelOuter, 2);
        w.set(f, PROP::BevelInner, 2);
        w.set(f, PROP::BevelStyle, 2);
      }
      ApplyRow(w, f, captured);
      WindowControls again = captured;
      CaptureControl(w, f, again);
      EXPECT_EQ(changedFields(captured, again), std::vector<std::string>{}) << "control " << w.label(f);
    }
  });
}

}  // namespace
}  // namespace wevo::apply
