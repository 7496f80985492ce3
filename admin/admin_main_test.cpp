#include "admin/admin_main.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "admin/failure.h"
#include "admin/test_admin.h"

namespace wevo::admin {
namespace {

using namespace testing;

StoredRow row(uint32_t uid, const std::string& marker, const std::string& label, int x, const std::string& text) {
  StoredRow r;
  r.record = store::testing::row(uid, "Main", marker, label);
  r.record.X = x;
  wevo::text::assign(r.record.CONTROLTEXT, text);
  return r;
}

TEST(AdminPasswords, AWrongPasswordReadsNothing) {
  TempDir dir;
  const std::string store = dir.file("SALES.wevo");
  ASSERT_TRUE(stageStore(store, "the right one", {row(1, "COLORS", "?A", 10, "A")}));
  const std::string before = fileBytes(store);
  auto refused = [&](const Outcome& r, const char* how) {
    EXPECT_EQ(r.code, 30) << how << ": " << r.err;
    EXPECT_EQ(r.out, "") << how;
    EXPECT_EQ(linesOf(r.err),
              std::vector<std::string>{"wevoadmin: File Access Error: File (" + store +
                                       ") could not be opened.  Error: File cannot be read with this password (36)."})
        << how;
  };
  refused(runAdmin(dir, {"list", store}, {{"WEVO_PASSWORD", "the wrong one"}}), "environment");
  refused(runAdmin(dir, {"export", store}, {{"WEVO_PASSWORD", "the wrong one"}}), "export");
  ASSERT_TRUE(writeFileBytes(dir.file("pw"), "the wrong one\n"));
  refused(runAdmin(dir, {"show", store, "Main", "--password-file", dir.file("pw")}), "file");
  refused(runAdmin(dir, {"list", store}, {}, "the right one\n"), "no terminal: no prompt, no password");
  EXPECT_EQ(fileBytes(store), before);

  // The file's first line, as a program passes it (trailing blanks and a
  // DOS line end are not part of it); the file wins over the environment.
  ASSERT_TRUE(writeFileBytes(dir.file("pw"), "the right one  \r\nsecond line\n"));
  Outcome right = runAdmin(dir, {"list", store, "--password-file", dir.file("pw")}, {{"WEVO_PASSWORD", "wrong"}});
  EXPECT_EQ(right.code, 0) << right.err;
  EXPECT_NE(right.out.find("1 row, 1 marker of 1 procedure, protected by a password"), std::string::npos) << right.out;

  Outcome noFile = runAdmin(dir, {"list", store, "--password-file", dir.file("none")});
  EXPECT_EQ(noFile.code, kExitNotFound);
  EXPECT_NE(noFile.err.find("cannot read the password file"), std::string::npos);
  Outcome argument = runAdmin(dir, {"list", store, "--password", "the right one"});
  EXPECT_EQ(argument.code, kExitUsage) << "a password is never an argument";
  EXPECT_EQ(linesOf(argument.err).size(), 1u) << argument.err;
}

TEST(AdminCommands, UsageHelpAndStoresThatAreNotThere) {
  TempDir dir;
  for (const char* command : {"list", "show", "diff", "export", "import", "check", "copy", "rekey", "reset"}) {
    Outcome help = runAdmin(dir, {command, "--help"});
    EXPECT_EQ(help.code, 0) << command;
    EXPECT_NE(help.out.find("--password-file"), std::string::npos) << command << help.out;
  }
  const std::string help = runAdmin(dir, {"--help"}).out;
  EXPECT_NE(help.find("Exit codes:"), std::string::npos);
  EXPECT_NE(help.find("64 bad command line, or rekey of a server store"), std::string::npos) << help;
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"frobnicate"}, {"show", dir.file("x.wevo")}, {"import", "a", "b", "--merge", "--replace"}}) {
    Outcome r = runAdmin(dir, args);
    EXPECT_EQ(r.code, kExitUsage) << r.err;
    EXPECT_EQ(linesOf(r.err).size(), 1u) << r.err;
  }
  Outcome missing = runAdmin(dir, {"list", dir.file("none.wevo")});
  EXPECT_EQ(missing.code, kExitNotFound);
  EXPECT_EQ(missing.err, "wevoadmin: " + dir.file("none.wevo") + ": no store there\n");
  EXPECT_FALSE(kf::File::exists(dir.file("none.wevo"))) << "only import makes a store";
  EXPECT_EQ(runAdmin(dir, {"list", "postgresql://localhost/office"}).code, kExitUsage) << "no program named";
  // A server out of reach: its one message, and the command goes no further.
  const std::string away = "postgresql://127.0.0.1:1/office";
  for (const char* command : {"list", "export", "check"}) {
    Outcome unreachable = runAdmin(dir, {command, away, "--program", "SALES"}, {{"WEVO_PASSWORD", "x"}});
    EXPECT_EQ(unreachable.code, 30) << command;
    EXPECT_EQ(unreachable.out, "") << command;
    ASSERT_EQ(linesOf(unreachable.err).size(), 1u) << command << unreachable.err;
    EXPECT_EQ(unreachable.err.rfind("wevoadmin: File Access Error: File (" + away + "#SALES.wevo) could not be opened.", 0),
              0u)
        << unreachable.err;
  }
  ServerStore server;
  WEVO_SKIP_WITHOUT_SERVER(server);
  Outcome none = runAdmin(dir, server.args("list"), {{"WEVO_PASSWORD", server.password()}});
  EXPECT_EQ(none.code, kExitNotFound);
  EXPECT_EQ(none.err, "wevoadmin: " + server.uri() + ": no store there\n");
  EXPECT_FALSE(kf::File::exists(server.name(), kf::Secret(server.password()))) << "only import makes a store";
}

TEST(AdminReports, ListShowAndDiffDescribeTheRows) {
  TempDir dir;
  const std::string store = dir.file("SALES.wevo");
  std::vector<StoredRow> rows = {row(1, "WEVO_ORIGINAL", "?A", 10, "Alpha"), row(2, "WEVO_ORIGINAL", "?B", 20, "Beta"),
                                 row(3, "COLORS", "?A", 15, "Alpha, moved"), row(4, "COLORS", "?B", 20, "Beta"),
                                 row(9, "COLORS", "?Gone", 5, "Gone")};
  rows[3] = rows[1];  // as designed, but for its identity: a field number only tells where the control was
  rows[3].record.UID = 4;
  wevo::text::assign(rows[3].record.UNIQUEMARKER, "COLORS");
  rows[3].record.FEQ = 12;
  rows[2].blob = "picture";
  ASSERT_TRUE(stageStore(store, "", rows));

  Outcome list = runAdmin(dir, {"list", store});
  ASSERT_EQ(list.code, 0) << list.err;
  const std::vector<std::string> lines = linesOf(list.out);
  ASSERT_EQ(lines.size(), 4u) << list.out;
  EXPECT_EQ(lines[0].rfind(store + ": 5 rows, 2 markers of 1 procedure, not protected, last written ", 0), 0u);
  EXPECT_EQ(lines[1], "PROCEDURE  MARKER         ROWS  NEWEST UID");
  EXPECT_EQ(lines[2], "Main       COLORS            3           9");
  EXPECT_EQ(lines[3], "Main       WEVO_ORIGINAL     2           2");

  Outcome show = runAdmin(dir, {"show", store, "MAIN", "colors"});
  ASSERT_EQ(show.code, 0) << show.err;
  EXPECT_EQ(linesOf(show.out), (std::vector<std::string>{"LABEL  TYPE     X   Y  WIDTH  HEIGHT  ORDER  TEXT",
                                                         "?A     BUTTON  15  20     40      14     30  Alpha, moved",
                                                         "?B     BUTTON  20  20     40      14     20  Beta",
                                                         "?Gone  BUTTON   5  20     40      14     90  Gone"}));
  Outcome json = runAdmin(dir, {"show", store, "Main", "--json"});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_EQ(parseLayouts(json.out).rows.size(), 5u);
  EXPECT_EQ(runAdmin(dir, {"show", store, "Other"}).code, kExitNotFound);

  Outcome diff = runAdmin(dir, {"diff", store, "Main", "COLORS"});
  ASSERT_EQ(diff.code, 0) << diff.err;
  EXPECT_EQ(linesOf(diff.out),
            (std::vector<std::string>{
                "\"Main\" \"COLORS\" against the designed original (WEVO_ORIGINAL):", "?A (BUTTON)",
                "  ORDER        10           ->  30", "  CONTROLTEXT  \"Alpha\"      ->  \"Alpha, moved\"",
                "  TIP          \"Tip 1\"      ->  \"Tip 3\"", "  MESSAGE      \"Message 1\"  ->  \"Message 3\"",
                "  X            10           ->  15", "  IMAGEBLOB    0 bytes      ->  7 bytes",
                "?Gone (BUTTON): no original row (the window has lost this control, or has not been opened since it "
                "was added)",
                "1 row differs from the original, 1 as designed, 1 without an original"}))
      << diff.out;
  EXPECT_EQ(runAdmin(dir, {"diff", store, "Main", "wevo_original"}).code, kExitUsage);
}

}  // namespace
}  // namespace wevo::admin
