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
}

TEST(AdminCopy, AFileGoesToAServerAndBackWithTheSameExport) {
  ServerStore server;
  WEVO_SKIP_WITHOUT_SERVER(server);
  TempDir dir;
  const std::string a = dir.file("A.wevo"), c = dir.file("C.wevo");
  std::vector<StoredRow> rows;
  for (uint32_t n = 1; n <= 12; ++n)
    rows.push_back(fullRow(n * 2, "Main", n % 3 ? "COLORS" : "WEVO_ORIGINAL", "?C" + std::to_string(n)));
  rows[3].blob.clear();
  ASSERT_TRUE(stageStore(a, "pw-a", rows));
  const std::vector<std::string> program = {"--program", server.program()};
  auto copy = [&](const std::string& from, const std::string& to, const std::string& fromPw, const std::string& toPw) {
    std::vector<std::string> args = {"copy", from, to};
    args.insert(args.end(), program.begin(), program.end());
    return runAdmin(dir, args, {{"WEVO_PASSWORD", fromPw}, {"WEVO_TO_PASSWORD", toPw}});
  };

  // A password the server refuses: no answer, no store made.
  Outcome refused = copy(a, server.uri(), "pw-a", "not the role's");
  EXPECT_EQ(refused.code, kExitStoreError) << refused.err;
  EXPECT_EQ(linesOf(refused.err).size(), 1u) << refused.err;
  EXPECT_FALSE(kf::File::exists(server.name(), kf::Secret(server.password())));

  Outcome there = copy(a, server.uri(), "pw-a", server.password());
  ASSERT_EQ(there.code, 0) << there.err;
  EXPECT_EQ(there.out, "copied 12 rows from " + a + " to " + server.uri() + " (count checked)\n");
  const StoreRows onServer = storeRows(server.name(), server.password());
  ASSERT_EQ(onServer.rows.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_TRUE(sameRow(onServer.rows[i], rows[i], true)) << "row " << i;

  Outcome back = copy(server.uri(), c, server.password(), "pw-c");
  ASSERT_EQ(back.code, 0) << back.err;
  const Outcome exportA = runAdmin(dir, {"export", a}, {{"WEVO_PASSWORD", "pw-a"}});
  const Outcome exportC = runAdmin(dir, {"export", c}, {{"WEVO_PASSWORD", "pw-c"}});
  ASSERT_EQ(exportA.code, 0) << exportA.err;
  EXPECT_EQ(exportC.out, exportA.out) << "the same rows, numbers, order and blobs";
  const Outcome exportServer = runAdmin(dir, server.args("export"), {{"WEVO_PASSWORD", server.password()}});
  EXPECT_EQ(exportServer.out, exportA.out);

  // A server store with rows is never replaced; one without rows is filled.
  Outcome onto = copy(c, server.uri(), "pw-c", server.password());
  EXPECT_EQ(onto.code, kExitExists) << onto.err;
  EXPECT_NE(onto.err.find("a store is there already"), std::string::npos) << onto.err;
  EXPECT_EQ(storeRows(server.name(), server.password()).rows.size(), rows.size());
  ASSERT_TRUE(stageStore(server.name(), server.password(), {}));
  Outcome intoEmpty = copy(c, server.uri(), "pw-c", server.password());
  ASSERT_EQ(intoEmpty.code, 0) << intoEmpty.err;
  EXPECT_EQ(storeRows(server.name(), server.password()).rows.size(), rows.size());
  EXPECT_EQ(runAdmin(dir, server.args("list"), {{"WEVO_PASSWORD", server.password()}}).code, 0) << "keys built";
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

  // A server store's password is its role's: refused at once, no password
  // asked for, nothing reached.
  Outcome server = runAdmin(dir, {"rekey", "postgresql://localhost/office", "--program", "SALES"});
  EXPECT_EQ(server.code, kExitUsage);
  EXPECT_EQ(server.err,
            "wevoadmin: postgresql://localhost/office: a server store's password is its role's, which the server "
            "keeps; only store files are rekeyed\n");
}

}  // namespace
}  // namespace wevo::admin
