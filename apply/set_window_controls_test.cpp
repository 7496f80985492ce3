#include "apply/set_window_controls.h"

#include <gtest/gtest.h>

#include <future>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "apply/capture.h"
#include "apply/test_apply.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/view/headless/headless_view.h"
#include "store/store_thread.h"
#include "tests/testing/test_window.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::apply {
namespace {

using testing::changedFields;
using testing::fileState;
using testing::findRow;
using testing::overrideRow;
using testing::rowsOf;
using testing::StoreFolder;
using testing::WindowControls;
using wevo::testing::endedNormally;
using wevo::testing::TestWindow;

const std::string kOriginal = store::kOriginalMarker;

// The customer window of these tests: five controls of mixed types.
WindowDecl customerWindow() {
  TestWindow t("Customer", 300, 200);
  t.prompt("?NamePrompt", "&Name:", {10, 10});
  t.entry("?Name", "@s30", Binding{}, {60, 10, 120, 12});
  t.check("?Active", "Active", Binding{}, {60, 30});
  t.button("?OK", "&OK", {60, 170, 40, 14});
  t.button("?Cancel", "Cancel", {110, 170, 40, 14});
  return t.decl();
}

// Every captured field of the window and its controls, to compare a window
// with one as designed.
std::vector<WindowControls> captureAll(Window& w) {
  std::vector<WindowControls> out;
  for (int f = 0; f <= w.lastField(); ++f) {
    WindowControls r;
    kf::clearRecord(store::winDecl(), &r);
    CaptureControl(w, f, r);
    out.push_back(r);
  }
  return out;
}

class SetWindowControlsTest : public ::testing::Test {
 protected:
  // Opens `decl`'s window, customises it and hands it to `after`.
  ProgramResult customise(const WindowDecl& decl, const std::string& procedure, const std::string& marker,
                          const std::function<void(Window&)>& after = {}) {
    ProgramResult r = folder.run([&] {
      Window w(decl);
      w.open();
      WEVOSETTINGS settings = folder.settings();
      WEVO::SETWINDOWCONTROLS(w, procedure, marker, settings);
      if (after) after(w);
    });
    EXPECT_TRUE(endedNormally(r));
    EXPECT_TRUE(r.transcript.empty());
    return r;
  }

  // What a window looks like as designed, captured whole.
  std::vector<WindowControls> designed(const WindowDecl& decl) {
    std::vector<WindowControls> out;
    ProgramResult r = folder.run([&] {
      Window w(decl);
      w.open();
      out = captureAll(w);
    });
    EXPECT_TRUE(endedNormally(r));
    return out;
  }

  StoreFolder folder;
};

TEST_F(SetWindowControlsTest, FirstCallCreatesOneOriginalRowPerFieldAndTheNextWritesNothing) {
  const WindowDecl decl = customerWindow();
  ASSERT_FALSE(kf::File::exists(folder.path));
  const std::vector<WindowControls> asDesigned = designed(decl);
  std::vector<WindowControls> seen;
  customise(decl, "UpdateCustomer", "Form", [&](Window& w) { seen = captureAll(w); });

  ASSERT_EQ(seen.size(), asDesigned.size());
  for (size_t f = 0; f < seen.size(); ++f)
    EXPECT_EQ(changedFields(seen[f], asDesigned[f]), std::vector<std::string>{}) << "field " << f;

  const std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 6u);
  const std::vector<std::string> labels = {"WINDOW", "?NamePrompt", "?Name", "?Active", "?OK", "?Cancel"};
  std::set<uint32_t> uids;
  for (size_t f = 0; f < labels.size(); ++f) {
    const WindowControls* row = findRow(rows, kOriginal, labels[f]);
    ASSERT_NE(row, nullptr) << labels[f];
    uids.insert(+row->UID);
    EXPECT_EQ(text::clipped(row->PROCEDURENAME), "UpdateCustomer");
    EXPECT_EQ(+row->FEQ, static_cast<int>(f));
    EXPECT_EQ(+row->ORDER, static_cast<int>(f));
    EXPECT_EQ(text::clipped(row->DESCRIPTION), f == 0 ? "WINDOW" : labels[f].substr(1));
    // The row holds what the control had as designed.
    for (const std::string& name : changedFields(*row, asDesigned[f]))
      EXPECT_TRUE(name == "UID" || name == "PROCEDURENAME" || name == "UNIQUEMARKER" || name == "CONTROLLABEL" ||
                  name == "FEQ" || name == "ORDER" || name == "DESCRIPTION")
          << labels[f] << ": " << name;
  }
  EXPECT_EQ(uids, (std::set<uint32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(+findRow(rows, kOriginal, "WINDOW")->TYPE, 0);

  const testing::FileState before = fileState(folder.path);
  customise(decl, "updatecustomer  ", "FORM");
  EXPECT_TRUE(fileState(folder.path) == before) << "a window whose design did not change writes nothing";
}

TEST_F(SetWindowControlsTest, ChangedDesignRewritesOnlyTheOriginalRowsThatChanged) {
  WindowDecl decl = customerWindow();
  customise(decl, "UpdateCustomer", "Form");
  const std::vector<WindowControls> first = folder.rows();
  decl.controls[3].text = "&Save";
  decl.controls[1].at = {60, 12, 150, 12};
  customise(decl, "UpdateCustomer", "Form");
  const std::vector<WindowControls> second = folder.rows();
  ASSERT_EQ(second.size(), first.size());
  for (size_t i = 0; i < first.size(); ++i) {
    const std::string label(text::clipped(first[i].CONTROLLABEL));
    std::vector<std::string> changed = changedFields(first[i], second[i]);
    if (label == "?OK")
      EXPECT_EQ(changed, std::vector<std::string>{"CONTROLTEXT"});
    else if (label == "?Name")
      EXPECT_EQ(changed, (std::vector<std::string>{"Y", "WIDTH"}));
    else
      EXPECT_EQ(changed, std::vector<std::string>{}) << label;
  }
}

// Override rows of markers A and B, and what each control shows.
class OverridesTest : public SetWindowControlsTest {
 protected:
  void SetUp() override {
    WindowControls window = overrideRow(1, "UpdateCustomer", "A", "WINDOW", 0, 0);
    text::assign(window.DESCRIPTION, "WINDOW");
    text::assign(window.WALLPAPER, "paper.bmp");
    window.WALLPAPERMODE = 2;
    text::assign(window.ICON, "cust.ico");
    text::assign(window.TYPEFACE, "Tahoma");
    window.FONTSIZE = 8;

    WindowControls name = overrideRow(2, "UpdateCustomer", "A", "?Name", 2, TYPE::Entry);
    name.TEXTCOLOR = 255;
    name.BACKGROUND = 0x00FFFF;
    text::assign(name.TYPEFACE, "Arial");
    name.FONTSIZE = 12;
    name.FONTSTYLE = 700;
    name.X = 70;
    name.Y = 14;
    name.WIDTH = 100;
    name.HEIGHT = 14;
    name.WIDTHTYPE = 2;
    name.HEIGHTTYPE = 2;
    name.JUSTIFICATION = 2;
    name.OFFSET = 3;

    WindowControls ok = overrideRow(3, "UpdateCustomer", "A", "?OK", 4, TYPE::Button);
    text::assign(ok.CONTROLTEXT, "&Save");
    ok.X = 60;
    ok.Y = 170;
    ok.WIDTHTYPE = 1;
    ok.HEIGHTTYPE = 2;
    ok.HEIGHT = 14;
    ok.JUSTIFICATION = 1;

    WindowControls prompt = overrideRow(4, "UpdateCustomer", "A", "?NamePrompt", 1, TYPE::Prompt);
    prompt.HIDE = 1;
    prompt.X = 10;
    prompt.Y = 10;
    prompt.JUSTIFICATION = 3;

    WindowControls other = overrideRow(5, "UpdateCustomer", "B", "?OK", 4, TYPE::Button);
    text::assign(other.CONTROLTEXT, "&Other");
    other.X = 5;
    other.Y = 5;
    other.DISABLE = 1;

    WindowControls otherProcedure = overrideRow(6, "UpdateSupplier", "A", "?OK", 4, TYPE::Button);
    text::assign(otherProcedure.CONTROLTEXT, "&Supplier");

    ASSERT_TRUE(folder.stage({window, name, ok, prompt, other, otherProcedure}));
  }
};

TEST_F(OverridesTest, RowsOfTheMarkerAreAppliedAndNoOthers) {
  const WindowDecl decl = customerWindow();
  customise(decl, "UpdateCustomer", "A", [](Window& w) {
    EXPECT_EQ(w.get(0, PROP::Pixels).num(), 0) << "left in dialog units";
    EXPECT_EQ(w.get(0, PROP::Wallpaper).str(), "paper.bmp");
    EXPECT_EQ(w.get(0, PROP::Tiled).num(), 1);
    EXPECT_EQ(w.get(0, PROP::Icon).str(), "cust.ico");
    EXPECT_EQ(w.get(0, PROP::FontName).str(), "Tahoma");

    const int name = w.fieldOf("?Name");
    EXPECT_EQ(w.get(name, PROP::FontColor).num(), 255);
    EXPECT_EQ(w.get(name, PROP::Background).num(), 0x00FFFF);
    EXPECT_EQ(w.get(name, PROP::FontName).str(), "Arial");
    EXPECT_EQ(w.get(name, PROP::FontSize).num(), 12);
    EXPECT_EQ(w.get(name, PROP::FontStyle).num(), 700);
    int x, y, width, height;
    w.getPosition(name, x, y, width, height);
    EXPECT_EQ(x, 70);
    EXPECT_EQ(y, 14);
    EXPECT_EQ(width, 100);
    EXPECT_EQ(height, 14);
    EXPECT_EQ(w.get(name, PROP::Right).num(), 1);
    EXPECT_EQ(w.get(name, PROP::RightOffset).num(), 3);

    const int ok = w.fieldOf("?OK");
    EXPECT_EQ(w.get(ok, PROP::Text).str(), "&Save");
    EXPECT_EQ(w.get(ok, PROP::NoWidth).num(), 1) << "default width";
    EXPECT_EQ(w.get(ok, PROP::Left).num(), 1);
    EXPECT_EQ(w.get(ok, PROP::Disable).num(), 0) << "marker B's row is not applied";

    const int prompt = w.fieldOf("?NamePrompt");
    EXPECT_EQ(w.get(prompt, PROP::Hide).num(), 1);
    EXPECT_EQ(w.get(prompt, PROP::Center).num(), 1);

    const int cancel = w.fieldOf("?Cancel");
    EXPECT_EQ(w.get(cancel, PROP::Text).str(), "Cancel") << "no row: as designed";
  });

  // The original rows hold the design, not the overrides.
  std::vector<WindowControls> rows = folder.rows();
  EXPECT_EQ(rowsOf(rows, kOriginal).size(), 6u);
  EXPECT_EQ(text::clipped(findRow(rows, kOriginal, "?OK")->CONTROLTEXT), "&OK");
  EXPECT_EQ(+findRow(rows, kOriginal, "?NamePrompt")->HIDE, 0);
}

TEST_F(OverridesTest, AnotherMarkerSharesTheOriginalsAndAppliesOnlyItsOwnRows) {
  const WindowDecl decl = customerWindow();
  customise(decl, "UpdateCustomer", "A");
  const std::vector<WindowControls> afterA = folder.rows();
  customise(decl, "UpdateCustomer", "b", [](Window& w) {
    const int ok = w.fieldOf("?OK");
    EXPECT_EQ(w.get(ok, PROP::Text).str(), "&Other");
    EXPECT_EQ(w.get(ok, PROP::Disable).num(), 1);
    const int name = w.fieldOf("?Name");
    EXPECT_EQ(w.get(name, PROP::FontColor).num(), COLOR::None) << "marker A's row is not applied";
    EXPECT_EQ(w.get(w.fieldOf("?NamePrompt"), PROP::Hide).num(), 0);
    EXPECT_EQ(w.get(0, PROP::Wallpaper).str(), "");
  });
  const std::vector<WindowControls> afterB = folder.rows();
  ASSERT_EQ(afterB.size(), afterA.size()) << "the original rows are shared";
  for (size_t i = 0; i < afterA.size(); ++i)
    EXPECT_EQ(changedFields(afterA[i], afterB[i]), std::vector<std::string>{});

  const std::vector<WindowControls> asDesigned = designed(decl);
  customise(decl, "UpdateCustomer", "C", [&](Window& w) {
    const std::vector<WindowControls> seen = captureAll(w);
    for (size_t f = 0; f < seen.size(); ++f)
      EXPECT_EQ(changedFields(seen[f], asDesigned[f]), std::vector<std::string>{}) << "field " << f;
  });
}

TEST_F(SetWindowControlsTest, OriginalMarkerInAnyFormDoesNothing) {
  const WindowDecl decl = customerWindow();
  for (const std::string marker : {"ORIGINAL", "original", "Original   "}) {
    ProgramResult r = folder.run([&] {
      Window w(decl);
      w.open();
      w.set(0, PROP::Pixels, 1);
      WEVOSETTINGS settings = folder.settings();
      WEVO::SETWINDOWCONTROLS(w, "UpdateCustomer", marker, settings);
      WEVO_SETWINDOWCONTROLS(w.handle(), "UpdateCustomer", marker.c_str(), &settings);
      EXPECT_EQ(w.get(0, PROP::Pixels).num(), 1) << "the window is not touched";
      EXPECT_EQ(text::clipped(settings.WEVOPATH), folder.dir.path()) << "the settings are not read";
    });
    EXPECT_TRUE(endedNormally(r));
    EXPECT_FALSE(kf::File::exists(folder.path)) << "the store is not created for " << marker;
  }
  EXPECT_TRUE(IsOriginalMarker("ORIGINAL"));
  EXPECT_FALSE(IsOriginalMarker(" ORIGINAL"));
  EXPECT_FALSE(IsOriginalMarker("ORIGINALS"));
  EXPECT_FALSE(IsOriginalMarker(kOriginal));
}

TEST_F(OverridesTest, StoreThatExistsIsNotTouchedByTheOriginalMarker) {
  const testing::FileState before = fileState(folder.path);
  customise(customerWindow(), "UpdateCustomer", "Original");
  EXPECT_TRUE(fileState(folder.path) == before);
}

TEST_F(SetWindowControlsTest, RenumberedWindowFindsRowsByLabelAndCorrectsTheirNumbers) {
  TestWindow v1("Order", 300, 200);
  v1.string("?A", "Alpha", {10, 10});
  v1.string("?B", "Bravo", {10, 30});
  v1.string("?C", "Charlie", {10, 50});
  WindowControls b = overrideRow(1, "Order", "M", "?B", 2, TYPE::String);
  text::assign(b.CONTROLTEXT, "Bee");
  b.TEXTCOLOR = 255;
  WindowControls gone = overrideRow(2, "Order", "M", "?Gone", 3, TYPE::String);
  text::assign(gone.CONTROLTEXT, "Gone");
  ASSERT_TRUE(folder.stage({b, gone}));
  customise(v1.decl(), "Order", "M", [](Window& w) {
    EXPECT_EQ(w.get(2, PROP::Text).str(), "Bee");
    EXPECT_EQ(w.get(3, PROP::Text).str(), "Charlie") << "?Gone's row names no control";
  });
  std::vector<WindowControls> rows = folder.rows();
  const WindowControls goneBefore = *findRow(rows, "M", "?Gone");

  // The window redesigned: ?B is control 4 now, and control 2 is a new one.
  TestWindow v2("Order", 300, 200);
  v2.string("?C", "Charlie", {10, 50});
  v2.string("?X", "X-ray", {10, 70});
  v2.string("?A", "Alpha", {10, 10});
  v2.string("?B", "Bravo", {10, 30});
  customise(v2.decl(), "Order", "M", [](Window& w) {
    EXPECT_EQ(w.get(4, PROP::Text).str(), "Bee") << "applied to the control with the label";
    EXPECT_EQ(w.get(4, PROP::FontColor).num(), 255);
    EXPECT_EQ(w.get(2, PROP::Text).str(), "X-ray") << "not to the control with the old number";
    EXPECT_EQ(w.get(2, PROP::FontColor).num(), COLOR::None);
  });
  rows = folder.rows();
  EXPECT_EQ(+findRow(rows, "M", "?B")->FEQ, 4) << "FEQ corrected in the store";
  EXPECT_EQ(changedFields(*findRow(rows, "M", "?Gone"), goneBefore), std::vector<std::string>{})
      << "a row naming no control is kept as it was";
  const WindowControls* originalB = findRow(rows, kOriginal, "?B");
  ASSERT_NE(originalB, nullptr);
  EXPECT_EQ(+originalB->FEQ, 4) << "the original row follows the label";
  EXPECT_EQ(text::clipped(originalB->CONTROLTEXT), "Bravo") << "captured from ?B, not from control 2";
  EXPECT_EQ(+originalB->Y, 30);
  EXPECT_EQ(+findRow(rows, kOriginal, "?C")->FEQ, 1);
  EXPECT_EQ(+findRow(rows, kOriginal, "?A")->FEQ, 3);
  const WindowControls* originalX = findRow(rows, kOriginal, "?X");
  ASSERT_NE(originalX, nullptr);
  EXPECT_EQ(+originalX->FEQ, 2);
  EXPECT_EQ(text::clipped(originalX->CONTROLTEXT), "X-ray");
  EXPECT_EQ(rowsOf(rows, kOriginal).size(), 5u);
}

TEST_F(SetWindowControlsTest, TabOrderFollowsOrderAndTheFirstTakesTheFocus) {
  TestWindow t("Tabs", 300, 200);
  t.entry("?X", "@s10", Binding{}, {10, 10, 60, 12});
  t.entry("?Y", "@s10", Binding{}, {10, 30, 60, 12});
  t.entry("?Z", "@s10", Binding{}, {10, 50, 60, 12});
  t.entry("?W", "@s10", Binding{}, {10, 70, 60, 12});
  WindowControls x = overrideRow(1, "Tabs", "M", "?X", 1, TYPE::Entry);
  WindowControls y = overrideRow(2, "Tabs", "M", "?Y", 2, TYPE::Entry);
  WindowControls z = overrideRow(3, "Tabs", "M", "?Z", 3, TYPE::Entry);
  WindowControls window = overrideRow(4, "Tabs", "M", "WINDOW", 0, 0);
  x.ORDER = 3;
  y.ORDER = 1;
  z.ORDER = 2;
  ASSERT_TRUE(folder.stage({x, y, z, window}));
  customise(t.decl(), "Tabs", "M", [](Window& w) {
    EXPECT_EQ(w.focused(), 2) << "?Y takes the focus";
    EXPECT_EQ(w.get(3, PROP::Follows).num(), 2) << "?Z follows ?Y";
    EXPECT_EQ(w.get(1, PROP::Follows).num(), 3) << "?X follows ?Z";
  });
}

TEST_F(SetWindowControlsTest, DrawingIsFrozenWhileRowsAreApplied) {
  WindowControls rows[3];
  const char* labels[] = {"?Name", "?OK", "?Cancel"};
  const int fields[] = {2, 4, 5};
  for (int i = 0; i < 3; ++i) {
    rows[i] = overrideRow(static_cast<uint32_t>(i + 1), "UpdateCustomer", "M", labels[i], fields[i],
                          i == 0 ? TYPE::Entry : TYPE::Button);
    rows[i].TEXTCOLOR = 255;
  }
  ASSERT_TRUE(folder.stage({rows[0], rows[1], rows[2]}));
  ProgramResult r = folder.run([&] {
    toolkit::HeadlessView* view = toolkit::HeadlessView::running();
    Window w(customerWindow());
    w.open();
    invalidate(w.handle(), false);  // the window reaches the screen as opened
    std::optional<toolkit::ScreenWindow> opened = view->screen().window(w.handle());
    ASSERT_TRUE(opened.has_value());
    WEVOSETTINGS settings = folder.settings();
    WEVO::SETWINDOWCONTROLS(w, "UpdateCustomer", "M", settings);
    std::optional<toolkit::ScreenWindow> shown = view->screen().window(w.handle());
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->invalidations - opened->invalidations, 3) << "one repaint asked for per row applied";
    EXPECT_LE(shown->updates - opened->updates, 2) << "the changes reach the view together, not row by row";
    EXPECT_EQ(shown->controls.at(2).font.color, 255) << "and they have reached it";
  });
  EXPECT_TRUE(endedNormally(r));
}

TEST_F(SetWindowControlsTest, NamesAreCutToTheirFieldsAndBlankNamesWork) {
  const std::string longProcedure = "Procedure" + std::string(100, 'p');
  const std::string longMarker = "Marker" + std::string(100, 'm');
  WindowControls ok = overrideRow(1, longProcedure, longMarker, "?OK", 4, TYPE::Button);
  text::assign(ok.CONTROLTEXT, "&Long");
  WindowControls blank = overrideRow(2, "", "", "?Cancel", 5, TYPE::Button);
  text::assign(blank.CONTROLTEXT, "&Blank");
  ASSERT_TRUE(folder.stage({ok, blank}));
  const WindowDecl decl = customerWindow();
  customise(decl, longProcedure, longMarker,
            [](Window& w) { EXPECT_EQ(w.get(4, PROP::Text).str(), "&Long"); });
  const testing::FileState before = fileState(folder.path);
  customise(decl, longProcedure + "other", longMarker + "other", [](Window& w) {
    EXPECT_EQ(w.get(4, PROP::Text).str(), "&Long") << "the same names once cut to 80 characters";
  });
  EXPECT_TRUE(fileState(folder.path) == before);
  std::vector<WindowControls> rows = folder.rows();
  const WindowControls* original = findRow(rows, kOriginal, "?OK");
  ASSERT_NE(original, nullptr);
  EXPECT_EQ(text::field(original->PROCEDURENAME), longProcedure.substr(0, 80));

  customise(decl, "", "", [](Window& w) {
    EXPECT_EQ(w.get(5, PROP::Text).str(), "&Blank");
    EXPECT_EQ(w.get(4, PROP::Text).str(), "&OK");
  });
  rows = folder.rows();
  size_t blankOriginals = 0;
  for (const WindowControls& r : rowsOf(rows, kOriginal))
    if (text::clipped(r.PROCEDURENAME).empty()) ++blankOriginals;
  EXPECT_EQ(blankOriginals, 6u);
}

TEST_F(SetWindowControlsTest, WindowWithoutControlsAndFieldsWithoutLabels) {
  TestWindow empty("Empty", 100, 50);
  customise(empty.decl(), "Empty", "M", [](Window& w) { EXPECT_EQ(w.focused(), 0); });
  std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(text::clipped(rows[0].CONTROLLABEL), "WINDOW");
  const testing::FileState before = fileState(folder.path);
  customise(empty.decl(), "Empty", "M");
  EXPECT_TRUE(fileState(folder.path) == before);

  // Numbers without a control, and a control without a label, get no row.
  TestWindow gaps("Gaps", 200, 100);
  gaps.button("?Five", "Five", {10, 10, 40, 14}).feq = 5;
  gaps.button("", "Nameless", {10, 30, 40, 14}).feq = 7;
  gaps.button("?Ten", "Ten", {10, 50, 40, 14}).feq = 10;
  customise(gaps.decl(), "Gaps", "M", [](Window& w) {
    const int runTime = w.create(0, TYPE::Button);
    EXPECT_GT(runTime, 10);
  });
  rows = folder.rows();
  std::vector<int> feqs;
  for (const WindowControls& r : rows)
    if (text::clipped(r.PROCEDURENAME) == "Gaps") feqs.push_back(+r.FEQ);
  EXPECT_EQ(feqs, (std::vector<int>{0, 5, 10}));
}

TEST_F(SetWindowControlsTest, PathComesBackWithItsSeparator) {
  ProgramResult r = folder.run([&] {
    Window w(customerWindow());
    w.open();
    WEVOSETTINGS settings = folder.settings();
    WEVO::SETWINDOWCONTROLS(w, "UpdateCustomer", "M", settings);
    EXPECT_EQ(text::clipped(settings.WEVOPATH), folder.dir.path() + "/");
    WEVO::SETWINDOWCONTROLS(w, "UpdateCustomer", "M", settings);
    EXPECT_EQ(text::clipped(settings.WEVOPATH), folder.dir.path() + "/");
  });
  EXPECT_TRUE(endedNormally(r));
  EXPECT_TRUE(kf::File::exists(folder.path));
}

TEST_F(SetWindowControlsTest, CFormTakesTheHandleAndNullStrings) {
  WindowControls ok = overrideRow(1, "", "", "?OK", 4, TYPE::Button);
  text::assign(ok.CONTROLTEXT, "&Null");
  ASSERT_TRUE(folder.stage({ok}));
  const testing::FileState staged = fileState(folder.path);
  ProgramResult r = folder.run([&] {
    Window w(customerWindow());
    w.open();
    WEVOSETTINGS settings = folder.settings();
    WEVO_SETWINDOWCONTROLS(0, "P", "M", &settings);
    WEVO_SETWINDOWCONTROLS(w.handle() + 1000, "P", "M", &settings);
    WEVO_SETWINDOWCONTROLS(w.handle(), "P", "M", nullptr);
    EXPECT_TRUE(fileState(folder.path) == staged) << "no window, no settings: nothing done";
    EXPECT_EQ(w.get(4, PROP::Text).str(), "&OK");

    WEVO_SETWINDOWCONTROLS(w.handle(), nullptr, nullptr, &settings);
    EXPECT_EQ(w.get(4, PROP::Text).str(), "&Null") << "null strings read as blank";
  });
  EXPECT_TRUE(endedNormally(r));
}

TEST_F(OverridesTest, StoreHeldByAnotherWriterIsWorkedOnRowByRow) {
  const WindowDecl decl = customerWindow();
  customise(decl, "UpdateCustomer", "A");
  const testing::FileState before = fileState(folder.path);
  ProgramResult r = folder.run([&] {
    std::promise<void> holding;
    std::promise<void> done;
    std::shared_future<void> finished = done.get_future().share();
    std::thread writer([&, finished] {
      WindowControls record{};
      kf::File other(store::winDecl(), &record);
      other.setName(folder.path);
      other.setOwner(folder.password);
      if (!other.open() || !other.begin(0)) ADD_FAILURE() << "the other writer could not begin";
      holding.set_value();
      finished.wait();
      other.rollback();
      other.close();
    });
    holding.get_future().wait();
    Window w(decl);
    w.open();
    WEVOSETTINGS settings = folder.settings();
    WEVO::SETWINDOWCONTROLS(w, "UpdateCustomer", "A", settings);
    EXPECT_EQ(w.get(w.fieldOf("?OK"), PROP::Text).str(), "&Save");
    EXPECT_EQ(w.get(w.fieldOf("?Name"), PROP::FontColor).num(), 255);
    done.set_value();
    writer.join();
  });
  EXPECT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_TRUE(fileState(folder.path) == before);
}

// Two host threads customise windows in two stores with two passwords at
// once: each call works on its own caller's store with its own password,
// whatever the other thread set the process-wide values to meanwhile.
TEST(SetWindowControlsThreads, TwoPasswordsOnTwoStoresAtOnceNeverMeet) {
  testing::StoreFolder a, b;
  a.password = "alpha";
  b.password = "beta";
  constexpr int kOpens = 25;
  RunOptions options;
  options.args = {store::testing::kProgram};
  auto customiseOften = [](const testing::StoreFolder& folder, const std::string& procedure) {
    for (int i = 0; i < kOpens; ++i) {
      Window w(customerWindow());
      w.open();
      WEVOSETTINGS settings = folder.settings();
      WEVO::SETWINDOWCONTROLS(w, procedure, "M", settings);
    }
  };
  ProgramResult r = wevo::testing::runScripted(
      Script(),
      [&] {
        std::promise<void> done;
        start([&] {
          customiseOften(b, "OfB");
          done.set_value();
        });
        customiseOften(a, "OfA");
        done.get_future().wait();
      },
      options);
  EXPECT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  for (const auto& [folder, procedure] : {std::pair{&a, "OfA"}, std::pair{&b, "OfB"}}) {
    const std::vector<WindowControls> rows = folder->rows();
    EXPECT_EQ(rows.size(), 6u) << procedure << ": one original row for the window and each control";
    for (const WindowControls& row : rows) EXPECT_EQ(text::clipped(row.PROCEDURENAME), procedure);
  }
  EXPECT_FALSE(store::testing::readAll<WindowControls>(store::winDecl(), a.path, "beta").ok);
}

// Another thread's window, or a window that is not open, is not touched.
TEST_F(SetWindowControlsTest, WindowOfAnotherThreadIsLeftAlone) {
  ProgramResult r = folder.run([&] {
    std::promise<int64_t> opened;
    std::promise<void> done;
    std::shared_future<void> finished = done.get_future().share();
    start([&opened, finished] {
      Window w(customerWindow());
      w.open();
      opened.set_value(w.handle());
      finished.wait();
    });
    const int64_t handle = opened.get_future().get();
    WEVOSETTINGS settings = folder.settings();
    WEVO_SETWINDOWCONTROLS(handle, "UpdateCustomer", "M", &settings);
    done.set_value();
    Window closed(customerWindow());
    WEVO::SETWINDOWCONTROLS(closed, "UpdateCustomer", "M", settings);
  });
  EXPECT_TRUE(endedNormally(r));
  EXPECT_FALSE(kf::File::exists(folder.path));
}

}  // namespace
}  // namespace wevo::apply
