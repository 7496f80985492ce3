#include "admin/store_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "admin/failure.h"
#include "admin/test_admin.h"
#include "apply/capture.h"
#include "tests/testing/mixed_window.h"
#include "tests/testing/run_scripted.h"
#include "wevo/toolkit.h"
#include "wevo/wevo.h"

namespace wevo::admin {
namespace {

using namespace testing;

constexpr const char* kProgram = "/opt/apps/SALES.EXE";  // its store: <WEVOPATH>/SALES.wevo

WEVOSETTINGS settingsFor(const std::string& folder) {
  WEVOSETTINGS s;
  wevo::text::assign(s.WEVOPATH, folder);
  wevo::text::blank(s.PASSWORD);
  s.PROMPTONEXIT = 0;
  return s;
}

// The order window as designed: four controls, or without the second one.
WindowDecl orderWindow(bool withSecond) {
  WindowDecl d = wevo::testing::mixedWindow("Order", 4);
  if (!withSecond) d.controls.erase(d.controls.begin() + 1);
  return d;
}

// Opens the order window through the library in `folder`'s store; with
// `customise`, every control is placed anew under the marker DESK, as
// design mode stores a control.
void openOrderWindow(const std::string& folder, bool withSecond, bool customise) {
  RunOptions options;
  options.args = {kProgram};
  ProgramResult r = wevo::testing::runScripted(
      Script(),
      [&] {
        WEVOSETTINGS settings = settingsFor(folder);
        Window w(orderWindow(withSecond));
        w.open();
        WEVO::SETWINDOWCONTROLS(w, "Orders", "DESK", settings);
        if (!customise) return;
        w.set(0, PROP::Pixels, 1);
        for (int field = 1; field <= w.lastField(); ++field) {
          w.setPosition(field, 10 * field, 40, 50, 14);
          apply::StoreControlPlacement(field, w, "Orders", "DESK", w.label(field));
        }
      },
      options);
  ASSERT_TRUE(wevo::testing::endedNormally(r));
}

size_t rowsLabelled(const std::string& store, const std::string& marker, const std::string& label) {
  size_t n = 0;
  for (const StoredRow& r : storeRows(store, "").rows)
    if (wevo::text::sameClipped(wevo::text::field(r.record.UNIQUEMARKER), marker) &&
        wevo::text::sameClipped(wevo::text::field(r.record.CONTROLLABEL), label))
      ++n;
  return n;
}

TEST(AdminCheck, FindsAndRemovesTheRowOfAControlTheWindowLost) {
  TempDir dir;
  const std::string stationA = dir.file("a"), stationB = dir.file("b");
  ASSERT_EQ(::mkdir(stationA.c_str(), 0700), 0);
  ASSERT_EQ(::mkdir(stationB.c_str(), 0700), 0);
  const std::string a = stationA + "/SALES.wevo", b = stationB + "/SALES.wevo";
  const std::string lost = wevo::testing::mixedControlLabel(2);
  // Station A runs the program whose window has all four controls, and the
  // user placed each of them; station B runs a version whose window lost
  // the second control. A's layout moves to B.
  openOrderWindow(stationA, true, true);
  openOrderWindow(stationB, false, false);
  ASSERT_EQ(rowsLabelled(a, "DESK", lost), 1u);
  Outcome exported = runAdmin(dir, {"export", a, "Orders", "DESK", "-o", dir.file("desk.json")});
  ASSERT_EQ(exported.code, 0) << exported.err;
  Outcome imported = runAdmin(dir, {"import", b, dir.file("desk.json"), "--merge"});
  ASSERT_EQ(imported.code, 0) << imported.err;
  // And a marker of a window this program never opened.
  ASSERT_TRUE(writeFileBytes(dir.file("ghost.json"), R"({"format": "wevo-layouts", "version": 1, "rows": [
      {"PROCEDURENAME": "Ghost", "UNIQUEMARKER": "DESK", "CONTROLLABEL": "?A"},
      {"PROCEDURENAME": "Ghost", "UNIQUEMARKER": "DESK", "CONTROLLABEL": "?B"}]})"));
  ASSERT_EQ(runAdmin(dir, {"import", b, dir.file("ghost.json")}).code, 0);
  const size_t rowsBefore = storeRows(b, "").rows.size();

  Outcome found = runAdmin(dir, {"check", b});
  EXPECT_EQ(found.code, kExitProblems) << found.out << found.err;
  EXPECT_EQ(found.err, "wevoadmin: " + b +
                           ": problems listed under keys or stale rows; wevoadmin check --fix repairs them after "
                           "keeping a copy of the store\n");
  EXPECT_NE(found.out.find("integrity: every row reads"), std::string::npos) << found.out;
  EXPECT_NE(found.out.find("keys: each key lists every row once"), std::string::npos) << found.out;
  EXPECT_NE(found.out.find("stale rows: 2\n"), std::string::npos) << found.out;
  EXPECT_NE(found.out.find("(\"Orders\", \"DESK\", \"" + lost + "\"): no original row has this label"),
            std::string::npos)
      << found.out;
  EXPECT_NE(found.out.find("marker (\"Ghost\", \"DESK\"): 2 rows, and its procedure has no original rows"),
            std::string::npos)
      << found.out;
  EXPECT_EQ(storeRows(b, "").rows.size(), rowsBefore) << "check alone changes nothing";

  Outcome fixed = runAdmin(dir, {"check", b, "--fix"});
  EXPECT_EQ(fixed.code, 0) << fixed.out << fixed.err;
  EXPECT_NE(fixed.out.find("3 stale rows removed; the store as it was is " + b + ".check.bak"), std::string::npos)
      << fixed.out;
  EXPECT_EQ(storeRows(b, "").rows.size(), rowsBefore - 3);
  EXPECT_EQ(rowsLabelled(b, "DESK", lost), 0u);
  EXPECT_EQ(rowsLabelled(b, "DESK", wevo::testing::mixedControlLabel(3)), 1u) << "the other rows stay";
  EXPECT_EQ(storeRows(b + ".check.bak", "").rows.size(), rowsBefore) << "the backup is the store before";
  Outcome clean = runAdmin(dir, {"check", b});
  EXPECT_EQ(clean.code, 0) << clean.out;
  EXPECT_NE(clean.out.find("stale rows: none"), std::string::npos) << clean.out;

  // On station A itself the window loses the control: the store cannot
  // tell which of two controls claiming field 2 is gone, and says so.
  openOrderWindow(stationA, false, false);
  Outcome renumbered = runAdmin(dir, {"check", a, "--fix"});
  EXPECT_EQ(renumbered.code, 0) << renumbered.out;
  EXPECT_NE(renumbered.out.find("renumbered controls: 1\n  field 2 of \"Orders\" is claimed by the original rows"),
            std::string::npos)
      << renumbered.out;
  EXPECT_NE(renumbered.out.find("\"" + lost + "\""), std::string::npos) << renumbered.out;
  EXPECT_EQ(rowsLabelled(a, "DESK", lost), 1u) << "not repaired";
  EXPECT_FALSE(kf::File::exists(a + ".check.bak")) << "nothing to repair, no copy";
}

TEST(AdminCheck, RebuildsTheKeysAnInterruptedCopyLeftInvalid) {
  TempDir dir;
  const std::string store = dir.file("SALES.wevo");
  {
    store::WindowControls buffer{};
    kf::File f(store::winDecl(), &buffer);
    f.setName(store);
    ASSERT_TRUE(f.create() && f.open(kf::kExclusive) && f.stream());
    for (uint32_t n = 1; n <= 3; ++n) {
      buffer = store::testing::row(n, "Main", "COLORS", "?C" + std::to_string(n));
      ASSERT_TRUE(f.append());
    }
    ASSERT_TRUE(f.flush() && f.close());  // keys never built
  }
  Outcome listed = runAdmin(dir, {"list", store});
  EXPECT_EQ(listed.code, 2) << "the store's own question, answered No: " << listed.err;
  EXPECT_NE(listed.err.find("wevoadmin: Invalid Key: " + store + " key file is invalid."), std::string::npos)
      << listed.err;
  Outcome found = runAdmin(dir, {"check", store});
  EXPECT_EQ(found.code, kExitProblems);
  EXPECT_NE(found.out.find("its keys were left invalid"), std::string::npos) << found.out;
  EXPECT_EQ(linesOf(found.err).size(), 1u) << found.err;
  Outcome fixed = runAdmin(dir, {"check", store, "--fix"});
  EXPECT_EQ(fixed.code, 0) << fixed.out << fixed.err;
  EXPECT_NE(fixed.out.find("; rebuilt\n 3 rows"), std::string::npos) << fixed.out;
  EXPECT_TRUE(kf::File::exists(store + ".check.bak"));
  EXPECT_EQ(runAdmin(dir, {"list", store}).code, 0);
}

TEST(AdminCheck, AServerStoreIsRepairedAfterItsRowsAreKeptAsALayoutsFile) {
  ServerStore server;
  WEVO_SKIP_WITHOUT_SERVER(server);
  TempDir dir;
  std::vector<StoredRow> rows;
  for (const char* label : {"?A", "?B"}) {
    StoredRow original;
    original.record = store::testing::row(static_cast<uint32_t>(rows.size() + 1), "Main", "WEVO_ORIGINAL", label);
    original.record.FEQ = static_cast<int32_t>(rows.size() + 1);
    rows.push_back(original);
  }
  rows.push_back({store::testing::row(3, "Main", "COLORS", "?A"), ""});
  rows.push_back({store::testing::row(4, "Main", "COLORS", "?Gone"), "blob"});
  rows.push_back({store::testing::row(5, "Ghost", "DESK", "?X"), ""});
  ASSERT_TRUE(stageStore(server.name(), server.password(), rows));
  const std::map<std::string, std::string> role = {{"WEVO_PASSWORD", server.password()}};

  Outcome found = runAdmin(dir, server.args("check"), role);
  EXPECT_EQ(found.code, kExitProblems) << found.out << found.err;
  EXPECT_NE(found.out.find("stale rows: 2"), std::string::npos) << found.out;
  EXPECT_EQ(storeRows(server.name(), server.password()).rows.size(), rows.size()) << "check alone changes nothing";

  const std::string backup = dir.file(server.program() + ".wevo.check.bak.json");
  Outcome fixed = runAdmin(dir, server.args("check", {"--fix"}), role);
  ASSERT_EQ(fixed.code, 0) << fixed.out << fixed.err;
  EXPECT_NE(fixed.out.find("2 stale rows removed; the store as it was is " + backup + "\n"), std::string::npos)
      << fixed.out;
  EXPECT_EQ(storeRows(server.name(), server.password()).rows.size(), 3u);
  const ParsedLayouts kept = parseLayouts(fileBytes(backup));
  ASSERT_TRUE(kept.ok()) << kept.error;
  EXPECT_EQ(kept.rows.size(), rows.size()) << "the backup is the store before";
  EXPECT_EQ(runAdmin(dir, server.args("check"), role).code, 0);

  // The layouts file puts the store back; a second repair keeps its own.
  ASSERT_EQ(runAdmin(dir, server.args("import", {backup, "--replace"}), role).code, 0);
  EXPECT_EQ(storeRows(server.name(), server.password()).rows.size(), rows.size());
  ASSERT_EQ(runAdmin(dir, server.args("check", {"--fix"}), role).code, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file(server.program() + ".wevo.check.2.bak.json")));
}

}  // namespace
}  // namespace wevo::admin
