#include "admin/layout_transfer.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "admin/failure.h"
#include "admin/test_admin.h"

namespace wevo::admin {
namespace {

using namespace testing;

std::vector<StoredRow> sampleRows() {
  return {fullRow(10, "Main", "COLORS", "?OkButton"), fullRow(20, "Main", "COLORS", "WINDOW"),
          fullRow(30, "Main", "WEVO_ORIGINAL", "?OkButton"), fullRow(40, "Orders", "Desk 2", "?Name")};
}

TEST(AdminExportImport, ANewStoreGetsEqualRowsNumberedByItsOwnRule) {
  TempDir dir;
  const std::string a = dir.file("A.wevo"), b = dir.file("B.wevo"), layouts = dir.file("layouts.json");
  const std::vector<StoredRow> rows = sampleRows();
  ASSERT_TRUE(stageStore(a, "pw-a", rows));

  Outcome exported = runAdmin(dir, {"export", a}, {{"WEVO_PASSWORD", "pw-a"}});
  ASSERT_EQ(exported.code, 0) << exported.err;
  EXPECT_EQ(exported.err, "");
  ASSERT_TRUE(writeFileBytes(layouts, exported.out));

  // A dry run says what would happen and makes no store.
  Outcome dry = runAdmin(dir, {"import", b, layouts, "--dry-run"}, {{"WEVO_PASSWORD", "pw-b"}});
  EXPECT_EQ(dry.code, 0) << dry.err;
  EXPECT_NE(dry.out.find("would add 4, change 0, remove 0 rows"), std::string::npos) << dry.out;
  EXPECT_FALSE(kf::File::exists(b));

  Outcome imported = runAdmin(dir, {"import", b, layouts}, {{"WEVO_PASSWORD", "pw-b"}});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_NE(imported.out.find("added 4, changed 0, removed 0 rows"), std::string::npos) << imported.out;
  const StoreRows copy = storeRows(b, "pw-b");
  ASSERT_TRUE(copy.ok);
  ASSERT_EQ(copy.rows.size(), rows.size());
  const std::vector<StoredRow> want = byKey(rows), got = byKey(copy.rows);
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_TRUE(sameRow(want[i], got[i], false)) << "row " << i << " " << describeRow(want[i].record);
  std::vector<uint32_t> uids;
  for (const StoredRow& r : copy.rows) uids.push_back(r.record.UID);
  EXPECT_EQ(uids, (std::vector<uint32_t>{1, 2, 3, 4})) << "numbered by the store, not taken from the file";

  // One marker alone, into a file.
  Outcome marker =
      runAdmin(dir, {"export", a, "main", "colors", "-o", dir.file("colors.json")}, {{"WEVO_PASSWORD", "pw-a"}});
  ASSERT_EQ(marker.code, 0) << marker.err;
  EXPECT_EQ(marker.out, "");
  const ParsedLayouts colors = parseLayouts(fileBytes(dir.file("colors.json")));
  ASSERT_TRUE(colors.ok()) << colors.error;
  EXPECT_EQ(colors.rows.size(), 2u);
  EXPECT_FALSE(kf::File::exists(dir.file("colors.json.writing")));
  Outcome none = runAdmin(dir, {"export", a, "Main", "NOSUCH"}, {{"WEVO_PASSWORD", "pw-a"}});
  EXPECT_EQ(none.code, kExitNotFound);
  EXPECT_EQ(none.out, "");

  // Importing rows the store has: refused unless asked to merge or replace.
  const std::string before = fileBytes(b);
  Outcome again = runAdmin(dir, {"import", b, layouts}, {{"WEVO_PASSWORD", "pw-b"}});
  EXPECT_EQ(again.code, kExitExists);
  EXPECT_NE(again.err.find("rows[0] (\"Main\", \"COLORS\", \"?OkButton\"): the store has this row already"),
            std::string::npos)
      << again.err;
  EXPECT_EQ(fileBytes(b), before);

  ParsedLayouts edited = parseLayouts(exported.out);
  edited.rows[0].record.X = 777;
  std::ostringstream text;
  LayoutWriter writer(text);
  for (const LayoutRow& r : edited.rows) writer.add(r);
  writer.finish();
  ASSERT_TRUE(writeFileBytes(layouts, text.str()));
  Outcome merged = runAdmin(dir, {"import", b, layouts, "--merge"}, {{"WEVO_PASSWORD", "pw-b"}});
  ASSERT_EQ(merged.code, 0) << merged.err;
  EXPECT_NE(merged.out.find("added 0, changed 4, removed 0 rows"), std::string::npos) << merged.out;
  const StoreRows after = storeRows(b, "pw-b");
  ASSERT_EQ(after.rows.size(), 4u);
  for (const StoredRow& r : after.rows)
    if (text::clipped(r.record.CONTROLLABEL) == "?OkButton" && text::clipped(r.record.UNIQUEMARKER) == "COLORS") {
      EXPECT_EQ(r.record.X, 777);
      EXPECT_EQ(r.record.UID, 1u) << "a merged row keeps its number";
    }

  // Replacing: the file's marker takes the place of the store's rows of it.
  ASSERT_TRUE(writeFileBytes(layouts, R"({"format": "wevo-layouts", "version": 1, "rows": [
      {"PROCEDURENAME": "Main", "UNIQUEMARKER": "Colors", "CONTROLLABEL": "?New"}]})"));
  Outcome replaced = runAdmin(dir, {"import", b, layouts, "--replace"}, {{"WEVO_PASSWORD", "pw-b"}});
  ASSERT_EQ(replaced.code, 0) << replaced.err;
  EXPECT_NE(replaced.out.find("added 1, changed 0, removed 2 rows"), std::string::npos) << replaced.out;
  const StoreRows last = storeRows(b, "pw-b");
  ASSERT_EQ(last.rows.size(), 3u);
  EXPECT_EQ(last.rows.back().record.UID, 5u);
  EXPECT_EQ(text::clipped(last.rows.back().record.CONTROLLABEL), "?New");
}

TEST(AdminExportImport, AServerStoreGetsAndGivesEqualRows) {
  ServerStore server;
  WEVO_SKIP_WITHOUT_SERVER(server);
  TempDir dir;
  const std::string a = dir.file("A.wevo"), b = dir.file("B.wevo"), layouts = dir.file("layouts.json");
  const std::vector<StoredRow> rows = sampleRows();
  ASSERT_TRUE(stageStore(a, "pw-a", rows));
  ASSERT_EQ(runAdmin(dir, {"export", a, "-o", layouts}, {{"WEVO_PASSWORD", "pw-a"}}).code, 0);
  const std::map<std::string, std::string> role = {{"WEVO_PASSWORD", server.password()}};

  EXPECT_EQ(runAdmin(dir, server.args("list"), role).code, kExitNotFound) << "only import makes a store";
  Outcome imported = runAdmin(dir, server.args("import", {layouts}), role);
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_NE(imported.out.find("added 4, changed 0, removed 0 rows"), std::string::npos) << imported.out;
  const StoreRows onServer = storeRows(server.name(), server.password());
  ASSERT_EQ(onServer.rows.size(), rows.size());
  std::vector<StoredRow> want = byKey(rows), got = byKey(onServer.rows);
  for (size_t i = 0; i < want.size(); ++i) EXPECT_TRUE(sameRow(want[i], got[i], false)) << "row " << i;
  Outcome again = runAdmin(dir, server.args("import", {layouts}), role);
  EXPECT_EQ(again.code, kExitExists) << "rows the store has: " << again.err;
  EXPECT_EQ(storeRows(server.name(), server.password()).rows.size(), rows.size()) << "all or nothing";

  Outcome exported = runAdmin(dir, server.args("export"), role);
  ASSERT_EQ(exported.code, 0) << exported.err;
  ASSERT_TRUE(writeFileBytes(layouts, exported.out));
  ASSERT_EQ(runAdmin(dir, {"import", b, layouts}, {{"WEVO_PASSWORD", "pw-b"}}).code, 0);
  const StoreRows back = storeRows(b, "pw-b");
  ASSERT_EQ(back.rows.size(), rows.size());
  got = byKey(back.rows);
  for (size_t i = 0; i < want.size(); ++i) EXPECT_TRUE(sameRow(want[i], got[i], false)) << "row " << i;
  Outcome wrong = runAdmin(dir, server.args("export"), {{"WEVO_PASSWORD", "not the role's"}});
  EXPECT_NE(wrong.code, 0);
  EXPECT_EQ(wrong.out, "");
  EXPECT_EQ(linesOf(wrong.err).size(), 1u) << wrong.err;
}

TEST(AdminImport, AFileTheRecordCannotTakeLeavesTheStoreByteForByte) {
  TempDir dir;
  const std::string store = dir.file("SALES.wevo"), file = dir.file("bad.json");
  ASSERT_TRUE(stageStore(store, "", sampleRows()));
  const std::string before = fileBytes(store);
  const std::string head =
      "{\"format\": \"wevo-layouts\", \"version\": 1, \"rows\": [\n"
      "{\"PROCEDURENAME\": \"Main\", \"UNIQUEMARKER\": \"NEW\", \"CONTROLLABEL\": \"?A\"},\n"
      "{\"PROCEDURENAME\": \"Main\", \"UNIQUEMARKER\": \"NEW\", \"CONTROLLABEL\": \"?B\",\n";
  struct Bad {
    std::string body, says;
  };
  const std::vector<Bad> cases = {
      {"\"X\": 1,,\n}]}", "not JSON: parse error at line 4"},
      {"\"X\": \"10\"}]}", "line 4: rows[1].X: expected a whole number"},
      {"\"TIP\": \"" + std::string(300, 'x') + "\"}]}",
       "line 4: rows[1].TIP: a text of 300 bytes; the field holds 256"},
      {"\"WALLPAPERSTYLE\": 1}]}", "line 4: rows[1]: \"WALLPAPERSTYLE\" is no field of the record"},
      {"\"Y\": 1,\n\"Y\": 2}]}", "line 5: rows[1]: \"Y\" is given twice"},
      {"\"X\": 1},\n{\"PROCEDURENAME\": \"main\", \"UNIQUEMARKER\": \"new\", \"CONTROLLABEL\": \"?A\"}]}",
       "line 5: rows[2]: the same row as rows[0] (line 2)"},
  };
  for (const Bad& c : cases) {
    ASSERT_TRUE(writeFileBytes(file, head + c.body));
    for (const char* mode : {"--merge", "--replace"}) {
      Outcome r = runAdmin(dir, {"import", store, file, mode});
      EXPECT_EQ(r.code, kExitBadInput) << c.says << "\n" << r.err;
      EXPECT_EQ(linesOf(r.err).size(), 1u) << r.err;
      EXPECT_NE(r.err.find(file + ": " + c.says), std::string::npos) << r.err;
      EXPECT_NE(r.err.find("nothing was imported"), std::string::npos) << r.err;
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(fileBytes(store), before) << c.says;
    }
  }
  Outcome missing = runAdmin(dir, {"import", store, dir.file("none.json")});
  EXPECT_EQ(missing.code, kExitNotFound);
  EXPECT_EQ(fileBytes(store), before);
}

}  // namespace
}  // namespace wevo::admin
