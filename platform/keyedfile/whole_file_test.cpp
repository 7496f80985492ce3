#include "platform/keyedfile/whole_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/file_lock.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_items.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

bool present(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

class WholeFile : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::itemsName() = dir.file("store.db");
    testing::itemsOwner() = "pw";
    ASSERT_TRUE(file.create());
    ASSERT_TRUE(file.open());
    for (uint32_t i = 1; i <= 20; ++i) {
      rec = makeItem(i, "p", "m", static_cast<int32_t>(i));
      ASSERT_TRUE(file.add());
    }
  }

  uint64_t rowsOf(const std::string& path) {
    Item r{};
    File f(testing::itemsDecl(), &r);
    f.setName(path);
    uint64_t n = 0;
    EXPECT_TRUE(f.open()) << errorText();
    EXPECT_TRUE(f.records(n));
    return n;
  }

  wevo::testing::TempDir dir;
  Item rec{};
  File file{testing::itemsDecl(), &rec};
};

TEST_F(WholeFile, CopyMakesAnIndependentStoreOfTheSameRows) {
  EXPECT_FALSE(file.copy(dir.file("copy.db")));
  EXPECT_EQ(errorCode(), kErrAlreadyOpen);
  ASSERT_TRUE(file.close());
  ASSERT_TRUE(file.copy(dir.file("copy.db"))) << errorText();
  EXPECT_EQ(rowsOf(dir.file("copy.db")), 20u);  // with the same password

  // Replacing: an older file there goes, and so does a journal left beside it.
  std::ofstream(dir.file("copy2.db")) << "old contents";
  std::ofstream(dir.file("copy2.db-journal")) << "stale journal";
  ASSERT_TRUE(File::exists(dir.file("copy2.db")));
  ASSERT_TRUE(file.copy(dir.file("copy2.db")));
  EXPECT_FALSE(present(dir.file("copy2.db-journal")));
  EXPECT_FALSE(present(dir.file("copy2.db.kfcopy")));
  EXPECT_EQ(rowsOf(dir.file("copy2.db")), 20u);

  // Copies are separate files.
  ASSERT_TRUE(file.open());
  rec.UID = 1;
  ASSERT_TRUE(file.get(testing::KEYUID));
  ASSERT_TRUE(file.del());
  EXPECT_EQ(rowsOf(dir.file("copy.db")), 20u);

  // A copy needs no password, even when the instance has a wrong one.
  ASSERT_TRUE(file.close());
  file.setOwner("wrong");
  ASSERT_TRUE(file.copy(dir.file("copy3.db")));
  EXPECT_EQ(rowsOf(dir.file("copy3.db")), 19u);

  file.setName(dir.file("missing.db"));
  EXPECT_FALSE(file.copy(dir.file("copy4.db")));
  EXPECT_EQ(errorCode(), kErrNotFound);
}

TEST_F(WholeFile, CopyWhileAnotherConnectionWritesIsConsistent) {
  // A transaction in flight on another connection of this process: the copy
  // takes the committed rows, and the writer's commit still goes through.
  Item other{};
  File writer(testing::itemsDecl(), &other);
  ASSERT_TRUE(writer.open());
  ASSERT_TRUE(writer.begin(2));
  other = makeItem(100, "in flight", "m", 0);
  ASSERT_TRUE(writer.add());
  ASSERT_TRUE(file.close());
  ASSERT_TRUE(file.copy(dir.file("during.db"))) << errorText();
  ASSERT_TRUE(writer.commit()) << errorText();
  EXPECT_EQ(rowsOf(dir.file("during.db")), 20u);
  EXPECT_EQ(rowsOf(dir.file("store.db")), 21u);
}

TEST_F(WholeFile, RemoveTakesTheFileItsJournalAndItsLock) {
  EXPECT_FALSE(file.remove());
  EXPECT_EQ(errorCode(), kErrAlreadyOpen);
  Item other{};
  File user(testing::itemsDecl(), &other);
  ASSERT_TRUE(user.open());
  ASSERT_TRUE(file.close());
  EXPECT_FALSE(file.remove());  // someone still has it open
  EXPECT_EQ(errorCode(), kErrLocked);
  EXPECT_TRUE(File::exists(dir.file("store.db")));
  ASSERT_TRUE(user.close());

  ASSERT_TRUE(present(FileLock::lockName(dir.file("store.db"))));
  ASSERT_TRUE(file.remove()) << errorText();
  EXPECT_FALSE(File::exists(dir.file("store.db")));
  EXPECT_FALSE(present(FileLock::lockName(dir.file("store.db"))));
  EXPECT_FALSE(file.remove());
  EXPECT_EQ(errorCode(), kErrNotFound);

  ASSERT_TRUE(file.create());
  ASSERT_TRUE(File::removeFile(dir.file("store.db")));
  EXPECT_FALSE(File::removeFile(dir.file("store.db")));
  EXPECT_EQ(errorCode(), kErrNotFound);
  // A lock file whose holder died before the file came into being goes with
  // the remove that finds no file; one somebody holds stays.
  const std::string orphan = dir.file("never.db");
  FileLock held;
  ASSERT_EQ(held.acquire(orphan, true, 0), FileLock::Result::kLocked);
  EXPECT_FALSE(File::removeFile(orphan));
  EXPECT_TRUE(present(FileLock::lockName(orphan)));
  held.release();
  EXPECT_FALSE(File::removeFile(orphan));
  EXPECT_EQ(errorCode(), kErrNotFound);
  EXPECT_FALSE(present(FileLock::lockName(orphan)));
  // exists() is about files only.
  EXPECT_FALSE(File::exists(dir.path()));
  EXPECT_FALSE(File::exists(""));
}

}  // namespace
}  // namespace wevo::kf
