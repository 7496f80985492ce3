#include "platform/keyedfile/file_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_items.h"
#include "platform/keyedfile/test_stores.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;

TEST(FileLock, SharedHoldersAgreeAndExclusiveOnesRefuseEachOther) {
  wevo::testing::TempDir dir;
  const std::string file = dir.file("f.db");
  FileLock a, b, c;
  EXPECT_EQ(a.acquire(file, false, 0), FileLock::Result::kLocked);
  EXPECT_EQ(b.acquire(file, false, 0), FileLock::Result::kLocked);
  EXPECT_EQ(c.acquire(file, true, 0), FileLock::Result::kBusy);
  EXPECT_FALSE(c.held());
  a.release();
  b.release();
  EXPECT_EQ(c.acquire(file, true, 0), FileLock::Result::kLocked);
  EXPECT_EQ(a.acquire(file, false, 0), FileLock::Result::kBusy);
  EXPECT_EQ(access(FileLock::lockName(file).c_str(), F_OK), 0);
  EXPECT_EQ(access(file.c_str(), F_OK), -1);  // the database file itself is never touched

  // A waiting acquire gets the lock once the holder lets go.
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    c.release();
  });
  EXPECT_EQ(a.acquire(file, false, 10000), FileLock::Result::kLocked);
  releaser.join();

  // A lock file removed under a holder's feet is not trusted: the next
  // acquire locks the new file, and conflicts with holders of that one only.
  a.release();
  EXPECT_EQ(a.acquire(file, true, 0), FileLock::Result::kLocked);
  ASSERT_EQ(unlink(FileLock::lockName(file).c_str()), 0);
  EXPECT_EQ(b.acquire(file, true, 0), FileLock::Result::kLocked);
  EXPECT_EQ(c.acquire(file, false, 0), FileLock::Result::kBusy);

  FileLock bad;
  EXPECT_EQ(bad.acquire(dir.file("no/such/folder/f.db"), false, 0), FileLock::Result::kError);
  EXPECT_NE(bad.error(), 0);
}

// Access modes hold on a file and on a server's store alike.
class AccessModes : public ::testing::TestWithParam<testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    testing::itemsName() = stores.name("modes.db");
    testing::itemsOwner() = stores.password("pw");
    ASSERT_TRUE(first.create());
  }
  void TearDown() override {
    first.close();
    second.close();
  }
  testing::TestStores stores{GetParam()};
  Item a{}, b{};
  File first{testing::itemsDecl(), &a};
  File second{testing::itemsDecl(), &b};
};

INSTANTIATE_TEST_SUITE_P(Stores, AccessModes, testing::kBothKinds, testing::kindName);

TEST_P(AccessModes, ExclusiveOpenRefusesOthersAndSharedOnesMix) {
  ASSERT_TRUE(first.open(kShared));
  ASSERT_TRUE(second.open(kShared));
  ASSERT_TRUE(second.close());
  EXPECT_FALSE(second.open(kExclusive));
  EXPECT_EQ(errorCode(), kErrLocked);
  EXPECT_EQ(errorText(), "File is locked");
  ASSERT_TRUE(first.close());

  ASSERT_TRUE(first.open(kExclusive));
  EXPECT_FALSE(second.open(kShared));
  EXPECT_EQ(errorCode(), kErrLocked);
  EXPECT_FALSE(second.open(kExclusive));
  EXPECT_EQ(errorCode(), kErrLocked);
  // Whole-file work waits for the file to be free too.
  EXPECT_FALSE(second.create());
  EXPECT_EQ(errorCode(), kErrLocked);
  EXPECT_FALSE(File::removeFile(testing::itemsName(), Secret(testing::itemsOwner())));
  EXPECT_EQ(errorCode(), kErrLocked);
  EXPECT_FALSE(second.build());
  EXPECT_EQ(errorCode(), kErrLocked);
  ASSERT_TRUE(first.close());
  ASSERT_TRUE(second.open(kShared));
}

TEST_P(AccessModes, RecoverWaitsForTheLockThenGivesUp) {
  ASSERT_TRUE(first.open(kExclusive));
  // Released while the second opener waits: the open goes through.
  std::atomic<bool> closed{false};
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    closed = first.close();
  });
  ASSERT_TRUE(second.send("Recover=10"));
  EXPECT_TRUE(second.open(kShared)) << errorText();
  holder.join();
  EXPECT_TRUE(closed);
  ASSERT_TRUE(second.close());

  // Never released: the wait ends with 32, and the command served one open only.
  ASSERT_TRUE(first.open(kExclusive));
  ASSERT_TRUE(second.send("Recover=1"));
  EXPECT_FALSE(second.open(kShared));
  EXPECT_EQ(errorCode(), kErrLocked);
  EXPECT_FALSE(second.open(kShared));
  EXPECT_EQ(errorCode(), kErrLocked);
}

TEST_P(AccessModes, ReadOnlyAccessRefusesWrites) {
  ASSERT_TRUE(first.open(kReadOnly | kDenyNone));
  a = testing::makeItem(1, "n", "m", 1);
  EXPECT_FALSE(first.add());
  EXPECT_EQ(errorCode(), kErrAccessDenied);
  ASSERT_TRUE(second.open(kShared));
  b = testing::makeItem(1, "n", "m", 1);
  ASSERT_TRUE(second.add());
  a.UID = 1;
  ASSERT_TRUE(first.get(testing::KEYUID));
  EXPECT_EQ(+a.NUM, 1);
}

}  // namespace
}  // namespace wevo::kf
