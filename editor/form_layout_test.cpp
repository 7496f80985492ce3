#include "editor/form_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "editor/form_decl.h"
#include "tests/testing/run_scripted.h"
#include "wevo/toolkit.h"

namespace wevo::editor {
namespace {

using Labels = std::vector<std::string>;

// What the form shows before any layout: every control but these.
const Labels kHiddenAtStart = {
    "?WIN:DROP:Prompt",  "?WIN:DROP",           "?WIN:DROPWIDTH:Prompt", "?WIN:DROPWIDTH",  "?LOOKUPFILE:2",
    "?WIN:WALLPAPERMODE", "?WIN:WALLPAPER:Prompt", "?WIN:WALLPAPER",     "?WIN:FRAMETYPE",  "?BEVELGROUP",
    "?WIN:SINGLE",        "?WIN:BOXED",          "?SCROLLBARS",          "?RANGES",         "?WIN:ICON:Prompt",
    "?WIN:ICON",          "?LOOKUPFILE",         "?WIN:DELAY:Prompt",    "?WIN:DELAY",      "?WIN:REPEAT:Prompt",
    "?WIN:REPEAT",        "?WIN:ANGLE:Prompt",   "?WIN:ANGLE",           "?BUTTON3:5",      "?BOX1:5"};

const Labels kIconRow = {"?WIN:ICON:Prompt", "?WIN:ICON", "?LOOKUPFILE"};
const Labels kWallpaperRow = {"?WIN:WALLPAPER:Prompt", "?WIN:WALLPAPER", "?LOOKUPFILE:2"};
const Labels kDelayRow = {"?WIN:DELAY:Prompt", "?WIN:DELAY", "?WIN:REPEAT:Prompt", "?WIN:REPEAT"};
const Labels kCaseEntryMode = {"?WIN:WORDCASE:Prompt", "?WIN:WORDCASE", "?WIN:ENTRYMODE:Prompt", "?WIN:ENTRYMODE"};
const Labels kWindowHides = {"?WIN:JUSTIFICATION", "?WIN:OFFSET",   "?WIN:OFFSET:Prompt",    "?GROUP1",
                             "?GROUPOPTIONS",      "?WIN:WORDCASE", "?WIN:WORDCASE:Prompt",  "?WIN:ENTRYMODE",
                             "?WIN:ENTRYMODE:Prompt", "?WIN:READONLY", "?WIN:PASSWORD"};

Labels operator+(Labels a, const Labels& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

struct Place {
  std::string label;
  int x = kDefault;  // kDefault: as declared
  int y = kDefault;
  int h = kDefault;
};

std::vector<Place> placesY(const Labels& labels, int y) {
  std::vector<Place> out;
  for (const std::string& l : labels) out.push_back({l, kDefault, y, kDefault});
  return out;
}

std::vector<Place> operator+(std::vector<Place> a, const std::vector<Place>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<Place> kWindowPlaces =
    std::vector<Place>{{"?WIN:FRAMETYPE", 66, 82, kDefault}, {"?WIN:WALLPAPERMODE", kDefault, 136, kDefault}} +
    placesY(kWallpaperRow, 120) +
    placesY({"?WIN:WALLPAPERMODE:Radio1", "?WIN:WALLPAPERMODE:Radio2", "?WIN:WALLPAPERMODE:Radio3"}, 146) +
    placesY(kIconRow, 46);

// One row of the layout table, as a test states it.
struct Row {
  std::string name;
  int feq;
  int type;
  std::string choices;  // of the Justification list
  Labels hidden;
  Labels shown;
  std::vector<Place> places;
  std::map<std::string, std::string> texts;  // prompts that read otherwise
  int rangeUp = 0;                           // units the Range group's six controls move up
};

const std::string kAll = "Default|#0|Left Justified|#1|Right Justified|#2|Centered|#3|Decimal|#4";
const std::string kThree = "Default|#0|Left Justified|#1|Right Justified|#2";
const std::string kFour = "Default|#0|Left Justified|#1|Right Justified|#2|Centered|#3";

std::vector<Row> layoutTable() {
  const Labels noTyping = kCaseEntryMode + Labels{"?WIN:READONLY", "?WIN:PASSWORD"};
  const Labels dropRows = {"?WIN:DROP:Prompt", "?WIN:DROP", "?WIN:DROPWIDTH:Prompt", "?WIN:DROPWIDTH"};
  std::vector<Row> rows;
  rows.push_back({"window", 0, 0, kAll, kWindowHides,
                  kIconRow + kWallpaperRow + Labels{"?WIN:WALLPAPERMODE", "?WIN:FRAMETYPE"}, kWindowPlaces,
                  {{"?WIN:JUSTIFICATION:Prompt", "Frame Type"}}, 0});
  // A window's row is told by its FEQ, whatever its type says.
  rows.push_back({"window typed as a button", 0, TYPE::Button, kAll, kWindowHides,
                  kIconRow + kWallpaperRow + Labels{"?WIN:WALLPAPERMODE", "?WIN:FRAMETYPE"}, kWindowPlaces,
                  {{"?WIN:JUSTIFICATION:Prompt", "Frame Type"}}, 0});
  rows.push_back({"entry", 3, TYPE::Entry, kAll, {}, {},
                  placesY({"?WIN:JUSTIFICATION:Prompt", "?WIN:JUSTIFICATION", "?WIN:OFFSET:Prompt", "?WIN:OFFSET"},
                          62) +
                      placesY({"?WIN:LAYOUT:Prompt", "?WIN:LAYOUT"}, 81) + placesY({"?GROUP1"}, 97) +
                      placesY({"?WIN:HIDE", "?WIN:DISABLE", "?WIN:SKIP", "?WIN:SCROLL", "?WIN:TRANSPARENT"}, 109) +
                      std::vector<Place>{{"?WIN:CONTROLTEXT", kDefault, kDefault, 10}},
                  {{"?WIN:CONTROLTEXT:Prompt", "Picture:"}}, 0});
  rows.push_back({"button", 3, TYPE::Button, kThree, noTyping, kIconRow + kDelayRow,
                  placesY(kIconRow, 46) + placesY(kDelayRow, 110), {}, 0});
  rows.push_back({"prompt", 3, TYPE::Prompt, kFour, {"?TAB2", "?WIN:SKIP"}, {}, {}, {}, 0});
  for (int type : {TYPE::Option, TYPE::Group})
    rows.push_back({type == TYPE::Option ? "option" : "group", 3, type, kAll,
                    noTyping + Labels{"?WIN:FLAT", "?WIN:REQUIRED"}, {"?BEVELGROUP", "?WIN:BOXED"}, {}, {}, 0});
  for (int type : {TYPE::Check, TYPE::Radio})
    rows.push_back({type == TYPE::Check ? "check" : "radio", 3, type, kThree, noTyping + Labels{"?WIN:REQUIRED"},
                    kIconRow, placesY(kIconRow, 46), {}, 0});
  for (int type : {TYPE::List, TYPE::Combo})
    rows.push_back({type == TYPE::List ? "list" : "combo", 3, type, kAll, {},
                    dropRows + Labels{"?WIN:ANGLE:Prompt", "?WIN:ANGLE", "?BUTTON3:5", "?BOX1:5"},
                    {{"?GROUP3", kDefault, kDefault, 94}}, {}, 0});
  rows.push_back({"spin", 3, TYPE::Spin, kAll, {"?WIN:PASSWORD"}, Labels{"?RANGES", "?SCROLLBARS"} + kDelayRow,
                  std::vector<Place>{{"?RANGES", kDefault, 128, kDefault}} + placesY(kDelayRow, 170), {}, 17});
  rows.push_back({"text", 3, TYPE::Text, kFour, {"?WIN:PASSWORD"}, {"?WIN:SINGLE", "?WIN:BOXED", "?SCROLLBARS"},
                  {}, {}, 0});
  rows.push_back({"drop list", 3, TYPE::DropList, kAll, {}, dropRows, {}, {}, 0});
  rows.push_back({"toolbar", 3, TYPE::Toolbar, kAll, kWindowHides + Labels{"?WIN:JUSTIFICATION:Prompt"},
                  kWallpaperRow + Labels{"?WIN:WALLPAPERMODE"}, kWindowPlaces, {}, 0});
  for (int type : {0, TYPE::String, TYPE::Image, TYPE::Region, TYPE::Box, TYPE::Sheet, TYPE::Tab})
    rows.push_back({"other type " + std::to_string(type), 3, type, kAll, {}, {}, {}, {}, 0});
  return rows;
}

struct Geometry {
  int x = 0, y = 0, w = 0, h = 0;
  bool operator==(const Geometry&) const = default;
};

// The form's controls as declared, with their containers.
struct FormMap {
  std::vector<ControlDecl> controls;
  std::map<std::string, std::string> parent;
  std::map<std::string, int> type;
};

FormMap formMap() {
  store::WindowControls record{};
  FormVars vars{};
  FormMap m;
  m.controls = PropertyFormDecl(record, vars).controls;
  for (const ControlDecl& c : m.controls) {
    m.parent[c.use] = c.parent;
    m.type[c.use] = c.type;
  }
  return m;
}

bool contains(const Labels& labels, const std::string& label) {
  for (const std::string& l : labels)
    if (l == label) return true;
  return false;
}

TEST(FormLayout, EveryRowOfTheTableHidesShowsAndMovesWhatItSays) {
  const FormMap map = formMap();
  for (const Row& row : layoutTable()) {
    SCOPED_TRACE(row.name);
    std::map<std::string, bool> visible;
    std::map<std::string, Geometry> before, after;
    std::map<std::string, std::string> textBefore, textAfter;
    std::string choices;
    int single = -1;
    ProgramResult r = wevo::testing::runScripted(Script(), [&] {
      store::WindowControls record{};
      FormVars vars{};
      Window form(PropertyFormDecl(record, vars));
      form.open();
      for (const ControlDecl& c : map.controls) {
        Geometry g;
        form.getPosition(form.fieldOf(c.use), g.x, g.y, g.w, g.h);
        before[c.use] = g;
        textBefore[c.use] = form.get(form.fieldOf(c.use), PROP::Text).str();
      }
      record.FEQ = row.feq;
      record.TYPE = row.type;
      LayOutForRecord(form, record);
      const int sheet = form.fieldOf(FORM::Sheet);
      for (const ControlDecl& c : map.controls) {
        const int f = form.fieldOf(c.use);
        Geometry g;
        form.getPosition(f, g.x, g.y, g.w, g.h);
        after[c.use] = g;
        textAfter[c.use] = form.get(f, PROP::Text).str();
        // Seen as a person sees it: with its own tab brought forward.
        std::string tab = c.use;
        while (!tab.empty() && map.type.at(tab) != TYPE::Tab) tab = map.parent.at(tab);
        if (!tab.empty()) form.setSelection(sheet, form.fieldOf(tab));
        visible[c.use] = c.type == TYPE::Tab ? !form.get(f, PROP::Hide).truthy() : form.get(f, PROP::Visible).truthy();
      }
      choices = form.get(form.fieldOf("?WIN:JUSTIFICATION"), PROP::From).str();
      single = form.get(form.fieldOf("?WIN:CONTROLTEXT"), PROP::Single).i32();
    });
    ASSERT_TRUE(wevo::testing::endedNormally(r));
    EXPECT_EQ(choices, row.choices);
    EXPECT_EQ(single, row.type == TYPE::Entry && row.feq != 0 ? 1 : 0);

    // Visibility: a control shows when it shows itself (as declared, unless
    // the row hides or shows it) and every group, option and tab around it
    // shows.
    std::map<std::string, bool> own;
    for (const ControlDecl& c : map.controls)
      own[c.use] = (!contains(kHiddenAtStart, c.use) && !contains(row.hidden, c.use)) || contains(row.shown, c.use);
    for (const ControlDecl& c : map.controls) {
      bool expected = own[c.use];
      for (std::string p = map.parent.at(c.use); !p.empty(); p = map.parent.at(p))
        if (map.type.at(p) != TYPE::Sheet) expected = expected && own[p];
      EXPECT_EQ(visible[c.use], expected) << c.use;
    }

    // Places: what the row moves is where it says; everything else stays.
    for (const ControlDecl& c : map.controls) {
      Geometry expected = before[c.use];
      for (const Place& p : row.places)
        if (p.label == c.use) {
          if (p.x != kDefault) expected.x = p.x;
          if (p.y != kDefault) expected.y = p.y;
          if (p.h != kDefault) expected.h = p.h;
        }
      if (row.rangeUp != 0 && map.parent.at(c.use) == "?RANGES") expected.y -= row.rangeUp;
      auto t = row.texts.find(c.use);
      if (t != row.texts.end()) expected.w = after[c.use].w;  // a prompt's width follows its new text
      EXPECT_EQ(after[c.use], expected) << c.use << " at " << after[c.use].x << "," << after[c.use].y << " "
                                        << after[c.use].w << "x" << after[c.use].h;
      EXPECT_EQ(textAfter[c.use], t == row.texts.end() ? textBefore[c.use] : t->second) << c.use;
    }
  }
}

TEST(FormLayout, JustificationChoicesAreTheFirstOnes) {
  EXPECT_EQ(JustificationChoices(3), kThree);
  EXPECT_EQ(JustificationChoices(4), kFour);
  EXPECT_EQ(JustificationChoices(0), kAll);
  EXPECT_EQ(JustificationChoices(5), kAll);
  EXPECT_EQ(JustificationChoices(1), "Default|#0");
}

}  // namespace
}  // namespace wevo::editor
