#include "admin/store_reset.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "admin/failure.h"
#include "admin/test_admin.h"

namespace wevo::admin {
namespace {

using namespace testing;

const StoredRow* find(const std::vector<StoredRow>& rows, const std::string& marker, const std::string& label) {
  for (const StoredRow& r : rows)
    if (wevo::text::sameClipped(wevo::text::field(r.record.UNIQUEMARKER), marker) &&
        wevo::text::sameClipped(wevo::text::field(r.record.CONTROLLABEL), label))
      return &r;
  return nullptr;
}

TEST(AdminReset, AControlOrAWholeMarkerGoesBackToTheDesign) {
  TempDir dir;
  const std::string store = dir.file("SALES.wevo");
  const std::vector<StoredRow> rows = {
      fullRow(1, "Main", "WEVO_ORIGINAL", "?A"), fullRow(2, "Main", "WEVO_ORIGINAL", "?B"),
      fullRow(10, "Main", "COLORS", "?A"),       fullRow(11, "Main", "COLORS", "?B"),
      fullRow(12, "Main", "COLORS", "?Gone"),    fullRow(20, "Main", "FLAT", "?A")};
  ASSERT_TRUE(stageStore(store, "", rows));

  Outcome one = runAdmin(dir, {"reset", store, "main", "Colors", "?A"});
  ASSERT_EQ(one.code, 0) << one.err;
  std::vector<StoredRow> now = storeRows(store, "").rows;
  const StoredRow* reset = find(now, "COLORS", "?A");
  ASSERT_NE(reset, nullptr);
  StoredRow expected = rows[0];  // the original's fields, under the override's identity
  expected.blob = rows[2].blob;  // fields are reset, as design mode resets them; the blob stays
  expected.record.UID = 10;
  std::memcpy(expected.record.UNIQUEMARKER, rows[2].record.UNIQUEMARKER, sizeof expected.record.UNIQUEMARKER);
  expected.record.FEQ = rows[2].record.FEQ;
  expected.record.ORDER = rows[2].record.ORDER;
  EXPECT_TRUE(sameRow(*reset, expected, true));
  EXPECT_TRUE(sameRow(*find(now, "COLORS", "?B"), rows[3], true)) << "only that control";

  EXPECT_EQ(runAdmin(dir, {"reset", store, "Main", "COLORS", "?Gone"}).code, kExitNotFound) << "no original";
  EXPECT_EQ(runAdmin(dir, {"reset", store, "Main", "COLORS", "?None"}).code, kExitNotFound);
  EXPECT_EQ(runAdmin(dir, {"reset", store, "Main", "WEVO_ORIGINAL"}).code, kExitUsage);

  Outcome all = runAdmin(dir, {"reset", store, "Main", "COLORS"});
  ASSERT_EQ(all.code, 0) << all.err;
  EXPECT_EQ(all.out, "removed 3 rows of procedure \"Main\", marker \"COLORS\": the window opens with it as designed\n");
  now = storeRows(store, "").rows;
  EXPECT_EQ(now.size(), 3u);
  EXPECT_NE(find(now, "FLAT", "?A"), nullptr);
  EXPECT_NE(find(now, "WEVO_ORIGINAL", "?B"), nullptr);
  EXPECT_EQ(runAdmin(dir, {"reset", store, "Main", "COLORS"}).code, kExitNotFound);
}

TEST(AdminReset, AServerStoresMarkerGoesBackToTheDesign) {
  ServerStore server;
  WEVO_SKIP_WITHOUT_SERVER(server);
  TempDir dir;
  const std::vector<StoredRow> rows = {fullRow(1, "Main", "WEVO_ORIGINAL", "?A"), fullRow(10, "Main", "COLORS", "?A"),
                                       fullRow(11, "Main", "COLORS", "?Gone"), fullRow(20, "Main", "FLAT", "?A")};
  ASSERT_TRUE(stageStore(server.name(), server.password(), rows));
  const std::map<std::string, std::string> role = {{"WEVO_PASSWORD", server.password()}};

  Outcome one = runAdmin(dir, server.args("reset", {"Main", "COLORS", "?A"}), role);
  ASSERT_EQ(one.code, 0) << one.err;
  std::vector<StoredRow> now = storeRows(server.name(), server.password()).rows;
  ASSERT_NE(find(now, "COLORS", "?A"), nullptr);
  EXPECT_EQ(find(now, "COLORS", "?A")->record.X, rows[0].record.X) << "the original's place";
  EXPECT_EQ(find(now, "COLORS", "?A")->record.UID, 10u);

  Outcome all = runAdmin(dir, server.args("reset", {"Main", "COLORS"}), role);
  ASSERT_EQ(all.code, 0) << all.err;
  now = storeRows(server.name(), server.password()).rows;
  EXPECT_EQ(now.size(), 2u);
  EXPECT_EQ(find(now, "COLORS", "?Gone"), nullptr);
  EXPECT_NE(find(now, "FLAT", "?A"), nullptr);
}

}  // namespace
}  // namespace wevo::admin
