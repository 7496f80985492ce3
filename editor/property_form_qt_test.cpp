// The property form under the Qt view (offscreen), with the fonts a real
// screen has: every layout keeps its controls apart and inside their groups
// and tab, and the form is saved as pictures (for a look).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "editor/form_decl.h"
#include "editor/property_form.h"
#include "editor/test_editor.h"
#include "store/store_file_vars.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/qt_view.h"
#include "wevo/toolkit.h"

namespace wevo::editor {
namespace {

using apply::testing::StoreFolder;

struct PngSize {
  bool ok = false;
  uint32_t width = 0, height = 0;
};

// The size a PNG file's header gives.
PngSize pngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char h[24] = {};
  PngSize s;
  if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return s;
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (int i = 0; i < 8; ++i)
    if (h[i] != kSignature[i]) return s;
  auto be32 = [&](int at) {
    return (uint32_t{h[at]} << 24) | (uint32_t{h[at + 1]} << 16) | (uint32_t{h[at + 2]} << 8) | uint32_t{h[at + 3]};
  };
  s.ok = true;
  s.width = be32(16);
  s.height = be32(20);
  return s;
}

// Runs the form over the host window on the Qt view, driven by `script`.
ProgramResult runOnQt(const StoreFolder& folder, int field, const std::string& label, int type, const Script& script,
                      const std::string& shots) {
  Script copy = script;
  RunOptions options;
  options.view = qtView({.screenshotDir = shots, .imageDir = {}});
  options.script = &copy;
  options.args = {store::testing::kProgram};
  options.stallSeconds = 30;
  store::setStoreFileName(folder.path);
  store::setStoreOwner(folder.password);
  ProgramResult r = run(
      [&] {
        Window host(testing::hostWindow());
        host.open();
        if (type >= 0) testing::addRow(host, field, testing::storedRow(1, label, field, type));
        store::GlobalRequest() = 0;
        UpdateScreenControlProperties(host, field, label, testing::kMarker, testing::kProcedure);
      },
      options);
  store::setStoreFileName("");
  store::setStoreOwner("");
  return r;
}

struct Box {
  int x = 0, y = 0, w = 0, h = 0;
  bool overlaps(const Box& o) const { return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h; }
  bool inside(const Box& o) const { return x >= o.x && y >= o.y && x + w <= o.x + o.w && y + h <= o.y + o.h; }
};

Box boxOf(const Window& form, int field) {
  Box b;
  form.getPosition(field, b.x, b.y, b.w, b.h);
  return b;
}

// What is wrong with the layout of each tab of the open form: shown controls
// that overlap (a container and what it holds excepted), or that stick out of
// their group or the sheet. Pixels, as the screen has them.
std::vector<std::string> layoutFaults(Window& form) {
  store::WindowControls record{};
  FormVars vars{};
  const WindowDecl decl = PropertyFormDecl(record, vars);
  std::map<std::string, std::string> parentOf;
  for (const ControlDecl& c : decl.controls) parentOf[c.use] = c.parent;
  auto within = [&](const std::string& inner, const std::string& outer) {
    for (std::string p = parentOf[inner]; !p.empty(); p = parentOf[p])
      if (p == outer) return true;
    return false;
  };

  std::vector<std::string> faults;
  const bool pixels = form.get(0, PROP::Pixels).truthy();
  form.set(0, PROP::Pixels, Value(1));
  const int sheet = form.fieldOf(FORM::Sheet);
  const int before = form.selection(sheet);
  const Box sheetBox = boxOf(form, sheet);
  for (const char* tab : {FORM::TabGeneral, FORM::TabExtra, FORM::TabColor, FORM::TabHelp, FORM::TabPosition,
                          FORM::TabFont}) {
    form.setSelection(sheet, form.fieldOf(tab));
    std::vector<std::pair<std::string, Box>> shown;
    for (const ControlDecl& c : decl.controls) {
      const int f = form.fieldOf(c.use);
      if (c.type == TYPE::Sheet || c.type == TYPE::Tab || !form.get(f, PROP::Visible).truthy()) continue;
      shown.push_back({c.use, boxOf(form, f)});
    }
    for (size_t i = 0; i < shown.size(); ++i) {
      const auto& [label, box] = shown[i];
      if (parentOf[label] != "" && !box.inside(sheetBox)) faults.push_back(label + " leaves the sheet");
      const std::string& parent = parentOf[label];
      const int parentField = form.fieldOf(parent);
      const int parentType = form.get(parentField, PROP::Type).i32();
      if ((parentType == TYPE::Group || parentType == TYPE::Option) && !box.inside(boxOf(form, parentField)))
        faults.push_back(label + " leaves " + parent);
      for (size_t j = i + 1; j < shown.size(); ++j) {
        const auto& [other, otherBox] = shown[j];
        if (within(label, other) || within(other, label)) continue;
        if (box.overlaps(otherBox)) faults.push_back(std::string(tab) + ": " + label + " overlaps " + other);
      }
    }
  }
  form.setSelection(sheet, before);
  form.set(0, PROP::Pixels, Value(pixels ? 1 : 0));
  return faults;
}

struct Case {
  const char* name;
  int field;
  const char* label;
  int type;  // of the stored row; -1: no row (the form adds one, type 0)
  const char* caption;
};

// One form for each row of the layout table (types given by stored rows).
const Case kCases[] = {
    {"window", 0, "WINDOW", 0, " WINDOW"},
    {"entry", 1, "?Name", TYPE::Entry, "ENTRY ?Name"},
    {"button", 2, "?SaveBtn", TYPE::Button, "BUTTON ?SaveBtn"},
    {"prompt", 7, "?Caption", TYPE::Prompt, "PROMPT ?Caption"},
    {"option", 7, "?Caption", TYPE::Option, "PROMPT ?Caption"},
    {"check", 3, "?Active", TYPE::Check, "CHECK ?Active"},
    {"group", 7, "?Caption", TYPE::Group, "PROMPT ?Caption"},
    {"list", 6, "?Kind", TYPE::List, "LIST ?Kind"},
    {"spin", 5, "?Qty", TYPE::Spin, "SPIN ?Qty"},
    {"text", 4, "?Notes", TYPE::Text, "TEXT ?Notes"},
    {"droplist", 6, "?Kind", TYPE::DropList, "LIST ?Kind"},
    {"toolbar", 7, "?Caption", TYPE::Toolbar, "PROMPT ?Caption"},
    {"new", 2, "?SaveBtn", -1, "BUTTON ?SaveBtn"},
};

TEST(PropertyFormQt, EveryLayoutKeepsItsControlsApartAndInside) {
  wevo::testing::TempDir dir;
  const std::string shots = dir.path();
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    StoreFolder folder;
    std::vector<std::string> faults;
    bool checked = false;
    Script script;
    script.call(
        [&] {
          if (Window* form = testing::shownForm(c.caption)) {
            faults = layoutFaults(*form);
            checked = true;
          }
        },
        c.caption);
    script.screenshot(std::string(c.name) + "_1.png", c.caption);
    for (const char* tab : {"?TAB2", "?TAB3", "?TAB4", "?TAB5", "?TAB6"})
      if (c.type != TYPE::Prompt || std::string(tab) != FORM::TabExtra)
        script.selectTab(tab, c.caption).screenshot(std::string(c.name) + "_" + (tab + 4) + ".png", c.caption);
    script.clickControl("?CANCEL", c.caption);
    if (c.type < 0) script.answer("Update Cancelled", BUTTON::Yes);
    ProgramResult r = runOnQt(folder, c.field, c.label, c.type, script, shots);
    ASSERT_FALSE(r.failed || r.halted) << describe(r);
    EXPECT_TRUE(checked);
    EXPECT_EQ(faults, std::vector<std::string>{});
    const PngSize png = pngSize(shots + "/" + c.name + "_1.png");
    ASSERT_TRUE(png.ok);
    EXPECT_GE(png.width, 400u);
    EXPECT_GE(png.height, 300u);
  }
}

}  // namespace
}  // namespace wevo::editor
