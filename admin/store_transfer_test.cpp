#include "admin/store_transfer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/failure.h"
#include "admin/test_admin.h"

namespace wevo::admin {
namespace {

using namespace testing;

TEST(AdminCopy, AWholeStoreGoesThereAndBackUnchanged) {
  TempDir dir;
  const std::string a = dir.file("A.wevo"), b = dir.file("B.wevo"), c = dir.file("C.wevo");
  std::vector<StoredRow> rows;
  for (uint32_t n = 1; n <= 30; ++n)
    rows.push_back(fullRow(n * 3, "Main", n % 2 ? "COLORS" : "WEVO_ORIGINAL", "?C" + std::to_string(n)));
  rows[4].blob.clear();
  ASSERT_TRUE(stageStore(a, "pw-a", rows));
  ASSERT_TRUE(writeFileBytes(dir.file("b.pw"), "pw-b\n"));

  Outcome there = runAdmin(dir, {"copy", a, b, "--to-password-file", dir.file("b.pw")}, {{"WEVO_PASSWORD", "pw-a"}});
  ASSERT_EQ(there.code, 0) << there.err;
  EXPECT_EQ(there.out, "copied 30 rows from " + a + " to " + b + " (count checked)\n");
  EXPECT_FALSE(storeRows(b, "pw-a").ok) << "the copy has its own password";
  Outcome back = runAdmin(dir, {"copy", b, c, "--password-file", dir.file("b.pw")}, {{"WEVO_TO_PASSWORD", "pw-c"}});
  ASSERT_EQ(back.code, 0) << back.err;
  const StoreRows original = storeRows(a, "pw-a"), returned = storeRows(c, "pw-c");
  ASSERT_TRUE(returned.ok);
  ASSERT_EQ(returned.rows.size(), original.rows.size());
  for (size_t i = 0; i < original.rows.size(); ++i)
    EXPECT_TRUE(sameRow(original.rows[i], returned.rows[i], true)) << "row " << i << ": every byte, UID and order";
  EXPECT_EQ(runAdmin(dir, {"list", c}, {{"WEVO_PASSWORD", "pw-c"}}).code, 0) << "keys built: the store opens";
  EXPECT_FALSE(kf::File::exists(c + ".copying"));

  // Without a password for TO, the copy keeps FROM's.
  ASSERT_EQ(runAdmin(dir, {"copy", a, dir.file("D.wevo")}, {{"WEVO_PASSWORD", "pw-a"}}).code, 0);
  EXPECT_EQ(storeRows(dir.file("D.wevo"), "pw-a").rows.size(), 30u);

  // A copy never replaces a store, nor copies a store onto itself.
  const std::string before = fileBytes(b);
  Outcome onto = runAdmin(dir, {"copy", a, b}, {{"WEVO_PASSWORD", "pw-a"}});
  EXPECT_EQ(onto.code, kExitExists);
  EXPECT_NE(onto.err.find("a store is there already"), std::string::npos) << onto.err;
  EXPECT_EQ(fileBytes(b), before);
  EXPECT_EQ(runAdmin(dir, {"copy", a, dir.path() + "/./A.wevo"}, {{"WEVO_PASSWORD", "pw-a"}}).code, kExitUsage);
  EXPECT_EQ(runAdmin(dir, {"copy", dir.file("none.wevo"), dir.file("E.wevo")}).code, kExitNotFound);
  Outcome wrong = runAdmin(dir, {"copy", a, dir.file("E.wevo")}, {{"WEVO_PASSWORD", "pw-b"}});
  EXPECT_EQ(wrong.code, 30);
  EXPECT_FALSE(kf::File::exists(dir.file("E.wevo")));
  EXPECT_FALSE(kf::File::exists(dir.file("E.wevo.copying")));
  Outcome server = runAdmin(dir, {"copy", a, "postgresql://localhost/office"}, {{"WEVO_PASSWORD", "pw-a"}});
  EXPECT_EQ(server.code, kExitUnavailable) << server.err;
}

TEST(AdminRekey, ANewPasswordOrAFirstOneWithTheOldStoreKept) {
  TempDir dir;
  const std::string store = dir.file("SALES.wevo"), plain = dir.file("PLAIN.wevo");
  const std::vector<StoredRow> rows = {fullRow(5, "Main", "COLORS", "?A"), fullRow(9, "Main", "COLORS", "?B")};
  ASSERT_TRUE(stageStore(store, "old", rows));
  ASSERT_TRUE(stageStore(plain, "", rows));

  const std::string before = fileBytes(store);
  Outcome wrong = runAdmin(dir, {"rekey", store}, {{"WEVO_PASSWORD", "older"}, {"WEVO_NEW_PASSWORD", "new"}});
  EXPECT_EQ(wrong.code, 30) << wrong.err;
  EXPECT_EQ(fileBytes(store), before);
  EXPECT_EQ(runAdmin(dir, {"rekey", store}, {{"WEVO_PASSWORD", "old"}}).code, kExitUsage) << "no new password";
  EXPECT_EQ(runAdmin(dir, {"rekey", store}, {{"WEVO_PASSWORD", "old"}, {"WEVO_NEW_PASSWORD", "old"}}).code, kExitUsage);

  ASSERT_TRUE(writeFileBytes(dir.file("new.pw"), "new\n"));
  Outcome rekeyed =
      runAdmin(dir, {"rekey", store, "--new-password-file", dir.file("new.pw")}, {{"WEVO_PASSWORD", "old"}});
  ASSERT_EQ(rekeyed.code, 0) << rekeyed.err;
  EXPECT_EQ(rekeyed.out,
            store + ": 2 rows now protected by the new password; the store as it was is " + store + ".rekey.bak\n");
  EXPECT_EQ(runAdmin(dir, {"list", store}, {{"WEVO_PASSWORD", "old"}}).code, 30);
  const StoreRows now = storeRows(store, "new");
  ASSERT_EQ(now.rows.size(), 2u);
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_TRUE(sameRow(now.rows[i], rows[i], true));
  EXPECT_EQ(fileBytes(store + ".rekey.bak"), before) << "the old store, under the old password";
  EXPECT_FALSE(kf::File::exists(store + ".rekeying"));

  // An unprotected store is protected, as the library protects one.
  Outcome protectedNow = runAdmin(dir, {"rekey", plain}, {{"WEVO_PASSWORD", ""}, {"WEVO_NEW_PASSWORD", "first"}});
  ASSERT_EQ(protectedNow.code, 0) << protectedNow.err;
  EXPECT_FALSE(storeRows(plain, "").ok);
  EXPECT_EQ(storeRows(plain, "first").rows.size(), 2u);
  EXPECT_EQ(storeRows(plain + ".01bak", "").rows.size(), 2u);
  EXPECT_EQ(runAdmin(dir, {"rekey", "postgresql://localhost/office", "--program", "SALES"},
                     {{"WEVO_PASSWORD", "x"}, {"WEVO_NEW_PASSWORD", "y"}})
                .code,
            kExitUnavailable);
}

}  // namespace
}  // namespace wevo::admin
