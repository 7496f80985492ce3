#include "store/store_name.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "store/store_file_vars.h"
#include "store/test_store.h"
#include "tests/testing/run_scripted.h"
#include "wevo/text.h"

namespace wevo::store {
namespace {

using testing::settings;

std::string nameFor(const std::string& folder, const std::string& program) {
  WEVOSETTINGS s = settings(folder);
  return storeNameFor(s, program);
}

TEST(StoreName, BlankFolderPutsTheStoreBesideTheProgram) {
  EXPECT_EQ(nameFor("", "/opt/apps/SALES.EXE"), "/opt/apps/SALES.wevo");
  EXPECT_EQ(nameFor("", "/opt/sales/bin/sales"), "/opt/sales/bin/sales.wevo");
  EXPECT_EQ(nameFor("", "SALES.EXE"), "SALES.wevo");
  EXPECT_EQ(nameFor("", "./sales"), "./sales.wevo");
  // A dot in a folder or a longer or shorter extension is not the program's extension.
  EXPECT_EQ(nameFor("", "/opt/app.d/run"), "/opt/app.d/run.wevo");
  EXPECT_EQ(nameFor("", "/opt/bin/sales.sh"), "/opt/bin/sales.sh.wevo");
  EXPECT_EQ(nameFor("", "/opt/bin/sales.bin2"), "/opt/bin/sales.bin2.wevo");
  EXPECT_EQ(nameFor("", "/opt/bin/.exe"), "/opt/bin/.exe.wevo");
  // Trailing blanks of the path are not part of it.
  EXPECT_EQ(nameFor("", "/opt/apps/SALES.EXE   "), "/opt/apps/SALES.wevo");
}

TEST(StoreName, FolderGainsOneSeparatorInTheCallersSettings) {
  WEVOSETTINGS s = settings("/data");
  EXPECT_EQ(storeNameFor(s, "/opt/apps/SALES.EXE"), "/data/SALES.wevo");
  EXPECT_EQ(text::clipped(s.WEVOPATH), "/data/");
  EXPECT_EQ(s.WEVOPATH[6], ' ');  // still blank-padded behind it
  EXPECT_EQ(storeNameFor(s, "/opt/apps/SALES.EXE"), "/data/SALES.wevo");
  EXPECT_EQ(text::clipped(s.WEVOPATH), "/data/");

  // "\" counts as a separator: nothing is added, and it reads as "/".
  WEVOSETTINGS b = settings("/data\\");
  EXPECT_EQ(storeNameFor(b, "/opt/apps/SALES.EXE"), "/data/SALES.wevo");
  EXPECT_EQ(text::clipped(b.WEVOPATH), "/data\\");
  WEVOSETTINGS w = settings("\\srv\\data");
  EXPECT_EQ(storeNameFor(w, "/opt/apps/SALES.EXE"), "/srv/data/SALES.wevo");
  EXPECT_EQ(text::clipped(w.WEVOPATH), "\\srv\\data/");
}

TEST(StoreName, FolderTakesTheProgramNameWithOrWithoutExtension) {
  EXPECT_EQ(nameFor("/data", "/opt/sales/bin/sales"), "/data/sales.wevo");
  EXPECT_EQ(nameFor("/data", "/opt/apps/SALES.EXE"), "/data/SALES.wevo");
  EXPECT_EQ(nameFor("/data", "C:\\APPS\\SALES.EXE"), "/data/SALES.wevo");
  // Without a folder in the program path the file name is the whole path,
  // and a program started as "SALES.EXE" finds the same store as one
  // started by its full path.
  EXPECT_EQ(nameFor("/data", "SALES.EXE"), "/data/SALES.wevo");
  EXPECT_EQ(nameFor("/data", "sales"), "/data/sales.wevo");
  EXPECT_EQ(nameFor("/data/", "/opt/x/archive.tar.gz"), "/data/archive.tar.gz.wevo");
}

TEST(StoreName, LongNamesAreCutAt256Characters) {
  const std::string folder(250, 'd');
  WEVOSETTINGS s = settings("/" + folder);
  std::string name = storeNameFor(s, "/opt/apps/SALES.EXE");
  EXPECT_EQ(name.size(), 256u);
  EXPECT_EQ(name, ("/" + folder + "/SALES.wevo").substr(0, 256));

  // A folder that fills WEVOPATH has no room for the separator: the
  // settings stay as given; the name still has one.
  const std::string full(255, 'f');
  WEVOSETTINGS f = settings("/" + full);
  EXPECT_EQ(storeNameFor(f, "/opt/apps/SALES.EXE"), ("/" + full + "/SALES.wevo").substr(0, 256));
  EXPECT_EQ(text::clipped(f.WEVOPATH), "/" + full);
}

TEST(StoreName, RulesGiveTheCallsStoreAndSetTheProcessWideNameAndPassword) {
  WEVOSETTINGS s = settings("/data", "  s3cret  ");
  RunOptions options;
  options.args = {"/opt/apps/SALES.EXE"};
  StoreContext context, blank;
  std::string name, owner, blankOwner;
  ProgramResult r = wevo::testing::runScripted(
      Script(),
      [&] {
        context = applyStoreSettings(s);
        name = storeFileName();
        owner = storeOwner().view();
        WEVOSETTINGS none = settings("");
        blank = applyStoreSettings(none);
        blankOwner = storeOwner().view();
      },
      options);
  EXPECT_TRUE(wevo::testing::endedNormally(r));
  EXPECT_EQ(context.path, "/data/SALES.wevo");
  EXPECT_EQ(context.password.view(), "  s3cret");  // leading blanks belong to the password
  EXPECT_EQ(name, context.path);
  EXPECT_EQ(owner, "  s3cret");
  EXPECT_EQ(blank.path, "/opt/apps/SALES.wevo");
  EXPECT_TRUE(blank.password.empty());
  EXPECT_EQ(blankOwner, "");
  EXPECT_EQ(storeFileName(), "/opt/apps/SALES.wevo");
  EXPECT_EQ(text::clipped(s.WEVOPATH), "/data/");
}

TEST(StoreName, ThreadsMeetingOnTheNameSeeWholeValues) {
  const std::vector<std::string> names = {std::string(200, 'a'), std::string(256, 'b'), "c"};
  std::vector<std::thread> threads;
  std::vector<std::set<std::string>> seen(4);
  for (size_t t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 2000; ++i) {
        setStoreFileName(names[(t + static_cast<size_t>(i)) % names.size()]);
        setStoreOwner(names[static_cast<size_t>(i) % names.size()].substr(0, 128));
        seen[t].insert(storeFileName());
        seen[t].insert(std::string(storeOwner().view()));
      }
    });
  for (std::thread& t : threads) t.join();
  std::set<std::string> allowed(names.begin(), names.end());
  allowed.insert(std::string(128, 'a'));
  allowed.insert(std::string(128, 'b'));
  for (const auto& s : seen)
    for (const std::string& v : s) EXPECT_EQ(allowed.count(v), 1u) << v.substr(0, 20) << "... " << v.size();
  setStoreFileName("");
  setStoreOwner("");
}

}  // namespace
}  // namespace wevo::store
