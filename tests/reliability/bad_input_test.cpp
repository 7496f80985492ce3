// Bad input at the library's entry points: names and labels that are blank,
// null, longer than their fields, not ASCII or full of SQL; windows of
// thousands of controls; controls placed far off or sized below zero or
// beyond any screen; settings whose texts run to the end of their fields or
// stop at a C host's NUL. None of it crashes, and every row the store keeps
// is one the next call finds again.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "apply/capture.h"
#include "platform/keyedfile/keyed_file.h"
#include "store/window_controls.h"
#include "tests/reliability/answering_view.h"
#include "tests/reliability/host_windows.h"
#include "tests/reliability/store_check.h"
#include "tests/reliability/store_outcome.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/script.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::reliability {
namespace {

constexpr const char* kPassword = "bad input password";

// The field's bytes as stored, trailing blanks cut.
template <size_t N>
std::string stored(const char (&field)[N]) {
  return std::string(text::clipped(field));
}

ControlDecl entryNamed(const std::string& label, int x, int y) {
  ControlDecl c;
  c.type = TYPE::Entry;
  c.use = label;
  c.text = "@s20";
  c.at = {x, y, 60, 12};
  return c;
}

// The names a host may pass, each with what the store keeps of it.
struct Names {
  std::string procedure, marker;
};

TEST(BadInput, NamesAndLabelsOfAnyKindAreKeptCutToTheirFieldsAndFoundAgain) {
  const std::string longName(300, 'P');
  // 79 letters and a two-byte letter: the cut at 80 bytes splits it, the
  // same way on every call.
  const std::string splitLetter = std::string(79, 'Q') + "\xc3\xbc";
  const std::vector<Names> names = {
      {"Bestell\xc3\xbc" "bersicht", "Gr\xc3\xb6\xc3\x9f" "e"},    // Latin letters beyond ASCII
      {"\xe6\xb3\xa8\xe6\x96\x87", "\xe7\xaa\x93"},              // CJK
      {"X'); DROP TABLE WindowControls;--", "\" OR 1=1 --"},  // SQL text is only data
      {longName, longName},
      {splitLetter, "Marker"},
      {"", ""},  // blank procedure and marker
  };
  const std::vector<std::string> labels = {
      "?Gr\xc3\xb6\xc3\x9f" "e", "?\xe6\xb3\xa8\xe6\x96\x87", "?A'; DELETE FROM WindowControls; --",
      "?" + std::string(120, 'L'),  // cut to the label's 80 bytes
      "?Plain"};

  wevo::testing::TempDir dir;
  auto windowDecl = [&] {
    WindowDecl d;
    d.caption = "Names";
    d.at = {kDefault, kDefault, 300, 120};
    for (size_t i = 0; i < labels.size(); ++i) d.controls.push_back(entryNamed(labels[i], 10, 10 + 16 * static_cast<int>(i)));
    return d;
  };
  std::vector<std::vector<int>> reopenedX(names.size());
  ProgramResult r = run(
      [&] {
        for (size_t n = 0; n < names.size(); ++n) {
          WEVOSETTINGS settings = settingsFor(dir.path(), kPassword);
          {
            Window w(windowDecl());
            w.open();
            WEVO::SETWINDOWCONTROLS(w, names[n].procedure, names[n].marker, settings);
            // Every control moved and stored under its label, as design mode does.
            for (size_t i = 0; i < labels.size(); ++i) {
              const int field = static_cast<int>(i) + 1;
              w.set(0, PROP::Pixels, 0);
              w.setPosition(field, 100 + 10 * static_cast<int>(n), 10 + 16 * static_cast<int>(i), 60, 12);
              apply::StoreControlPlacement(field, w, names[n].procedure, names[n].marker, labels[i]);
            }
          }
          Window again(windowDecl());
          again.open();
          WEVO::SETWINDOWCONTROLS(again, names[n].procedure, names[n].marker, settings);
          again.set(0, PROP::Pixels, 0);
          for (size_t i = 0; i < labels.size(); ++i) {
            int x = 0, y = 0, width = 0, height = 0;
            again.getPosition(static_cast<int>(i) + 1, x, y, width, height);
            reopenedX[n].push_back(x);
          }
        }
      },
      programOptions(answeringView()));
  ASSERT_EQ(outcomeOf(r), Outcome::kWentOn) << describe(r);

  // Each window comes back as it was stored, under every kind of name.
  for (size_t n = 0; n < names.size(); ++n)
    EXPECT_EQ(reopenedX[n], std::vector<int>(labels.size(), 100 + 10 * static_cast<int>(n))) << "names " << n;

  const StoreRows all = readStore(storePathIn(dir.path()), kPassword);
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(duplicateUids(all.rows), std::vector<uint32_t>{});
  EXPECT_EQ(duplicateKeys(all.rows), std::vector<RowKey>{});
  EXPECT_EQ(integrityCheck(storePathIn(dir.path()), kPassword), "ok");
  // The table is there and whole: the SQL in the names was never run. Each
  // name has its window's original rows and an override row per control.
  const size_t perName = (labels.size() + 1) + labels.size();
  EXPECT_EQ(all.rows.size(), names.size() * perName);
  int splitRows = 0, longLabelRows = 0;
  for (const WindowControls& row : all.rows) {
    EXPECT_LE(stored(row.PROCEDURENAME).size(), 80u);
    if (stored(row.PROCEDURENAME) == splitLetter.substr(0, 80)) ++splitRows;
    if (stored(row.CONTROLLABEL) == labels[3].substr(0, 80)) ++longLabelRows;
  }
  EXPECT_EQ(splitRows, static_cast<int>(perName));
  EXPECT_EQ(longLabelRows, static_cast<int>(2 * names.size()));  // an original and an override each
}

TEST(BadInput, AWindowOfThousandsOfControlsIsCustomisedAndDesignedWhole) {
  constexpr int kControls = 3000;
  wevo::testing::TempDir dir;
  Script script;
  script.key(KEY::Esc);
  RunOptions options = programOptions(headlessView());
  options.script = &script;
  int lastField = 0;
  ProgramResult r = run(
      [&] {
        WEVOSETTINGS settings = settingsFor(dir.path(), kPassword);
        Window w(windowOf("Thousands", kControls));
        w.open();
        lastField = w.lastField();
        WEVO::SETWINDOWCONTROLS(w, "Thousands", "Desk", settings);
        WEVO::PROCESSWINDOW(w, kControls, "Thousands", "Desk", settings);
      },
      options);
  ASSERT_FALSE(r.failed) << describe(r);
  ASSERT_FALSE(r.halted) << describe(r);
  EXPECT_TRUE(r.transcript.empty()) << describe(r);
  EXPECT_EQ(lastField, kControls);

  const StoreRows all = readStore(storePathIn(dir.path()), kPassword);
  ASSERT_TRUE(all.ok) << all.error;
  int originals = 0, overrides = 0;
  for (const WindowControls& row : all.rows) (stored(row.UNIQUEMARKER) == "WEVO_ORIGINAL" ? originals : overrides)++;
  EXPECT_EQ(originals, kControls + 1);
  EXPECT_EQ(overrides, kControls + 1);  // design mode gave every control a row
  EXPECT_EQ(duplicateUids(all.rows), std::vector<uint32_t>{});
}

TEST(BadInput, ControlsFarOffNegativeOrHugeAreStoredAndAppliedWithoutHarm) {
  struct Case {
    int x, y, width, height;
  };
  const std::vector<Case> cases = {
      {-500, -300, 40, 12},           // left of and above the window
      {10, 10, -30, -12},             // sizes below zero
      {100000, 100000, 100000, 100000},  // far beyond any screen
      {INT_MAX / 8, INT_MIN / 8, INT_MAX / 8, 1},
  };
  wevo::testing::TempDir dir;
  WindowDecl decl;
  decl.caption = "Far";
  decl.at = {kDefault, kDefault, 200, 100};
  for (size_t i = 0; i < cases.size(); ++i) decl.controls.push_back(entryNamed("?Far" + std::to_string(i), 10, 10));

  std::vector<std::vector<int>> seen;
  Script script;
  script.press(5, 5).release(5, 5).key(KEY::Right).key(KEY::Esc);
  RunOptions options = programOptions(headlessView());
  options.script = &script;
  ProgramResult r = run(
      [&] {
        WEVOSETTINGS settings = settingsFor(dir.path(), "");
        {
          Window w(decl);
          w.open();
          WEVO::SETWINDOWCONTROLS(w, "Far", "Desk", settings);
          w.set(0, PROP::Pixels, 0);
          for (size_t i = 0; i < cases.size(); ++i) {
            const Case& c = cases[i];
            const int field = static_cast<int>(i) + 1;
            w.setPosition(field, c.x, c.y, c.width, c.height);
            apply::StoreControlPlacement(field, w, "Far", "Desk", "?Far" + std::to_string(i));
            w.set(0, PROP::Pixels, 0);
          }
        }
        Window again(decl);
        again.open();
        WEVO::SETWINDOWCONTROLS(again, "Far", "Desk", settings);
        // Design mode over such controls: a press, a nudge, the end.
        WEVO::PROCESSWINDOW(again, 1, "Far", "Desk", settings);
        again.set(0, PROP::Pixels, 0);
        for (size_t i = 0; i < cases.size(); ++i) {
          int x = 0, y = 0, width = 0, height = 0;
          again.getPosition(static_cast<int>(i) + 1, x, y, width, height);
          seen.push_back({x, y, width, height});
        }
      },
      options);
  ASSERT_FALSE(r.failed) << describe(r);
  ASSERT_FALSE(r.halted) << describe(r);

  // What fits the screen's arithmetic comes back as stored.
  ASSERT_EQ(seen.size(), cases.size());
  EXPECT_EQ(seen[0], (std::vector<int>{-500, -300, 40, 12}));
  EXPECT_EQ(seen[2], (std::vector<int>{100000, 100000, 100000, 100000}));
  const StoreRows all = readStore(storePathIn(dir.path()), "");
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(integrityCheck(storePathIn(dir.path()), ""), "ok");
  EXPECT_EQ(duplicateKeys(all.rows), std::vector<RowKey>{});
}

// Settings written by a C host: a folder that ends at a NUL with leftovers
// after it, and a password filling its whole field without a terminator.
TEST(BadInput, SettingsTextsEndAtANulOrAtTheEndOfTheirFields) {
  wevo::testing::TempDir dir;
  WEVOSETTINGS settings;
  std::memset(&settings, 'x', sizeof settings);
  std::memcpy(settings.WEVOPATH, dir.path().c_str(), dir.path().size() + 1);  // NUL, then 'x' to the end
  std::memset(settings.PASSWORD, 'k', sizeof settings.PASSWORD);            // no terminator at all
  settings.PROMPTONEXIT = 0;
  int64_t handle = 0;
  ProgramResult r = run(
      [&] {
        Window w(windowOf("CHost", 4));
        w.open();
        handle = w.handle();
        WEVO_SETWINDOWCONTROLS(handle, "CHost", "Desk", &settings);
        WEVO_SETWINDOWCONTROLS(handle, "CHost", "Desk", &settings);
      },
      programOptions(answeringView()));
  ASSERT_EQ(outcomeOf(r), Outcome::kWentOn) << describe(r);
  // The store is where the folder named it, protected with the whole field.
  const StoreRows all = readStore(storePathIn(dir.path()), std::string(128, 'k'));
  ASSERT_TRUE(all.ok) << all.error;
  EXPECT_EQ(all.rows.size(), 5u);
  // The folder gained one separator, still NUL-terminated for the host.
  EXPECT_STREQ(settings.WEVOPATH, (dir.path() + "/").c_str());
  EXPECT_EQ(settings.PASSWORD[127], 'k');

  // A folder filling all 256 bytes names no folder that exists: the store
  // cannot be created, and the program ends with the store's own text.
  WEVOSETTINGS full;
  std::memset(full.WEVOPATH, 'f', sizeof full.WEVOPATH);
  text::blank(full.PASSWORD);
  full.PROMPTONEXIT = 0;
  ProgramResult ended = run(
      [&] {
        Window w(windowOf("CHost", 4));
        w.open();
        WEVO_SETWINDOWCONTROLS(w.handle(), "CHost", "Desk", &full);
      },
      programOptions(answeringView()));
  EXPECT_EQ(outcomeOf(ended), Outcome::kEnded) << describe(ended);
  EXPECT_EQ(full.WEVOPATH[255], 'f');
}

}  // namespace
}  // namespace wevo::reliability
