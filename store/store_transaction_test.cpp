#include "store/store_transaction.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/keyedfile/error.h"
#include "store/store_file_vars.h"
#include "store/store_open.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::haltedWith;
using wevo::testing::runScripted;

// Another station in the middle of a read of the store: it holds the
// database's shared lock, as SQLite's own readers (the sqlcipher shell
// among them) do, so that no commit can write until it is done.
class ReaderInTheFile {
 public:
  explicit ReaderInTheFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    struct flock lock {};
    lock.l_type = F_RDLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x40000002;  // SQLite's shared lock range
    lock.l_len = 510;
    holding_ = fd_ >= 0 && ::fcntl(fd_, F_OFD_SETLK, &lock) == 0;
  }
  ~ReaderInTheFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool holding() const { return holding_; }

 private:
  int fd_;
  bool holding_ = false;
};

class StoreTransactionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setStoreFileName(store);
    setStoreOwner("s3cret");
    ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, "s3cret", {testing::row(1, "P", "M", "?A")}));
  }
  void TearDown() override {
    setStoreFileName("");
    setStoreOwner("");
  }

  std::vector<uint32_t> storedUids() {
    std::vector<uint32_t> uids;
    for (const WindowControls& r : testing::readAll<WindowControls>(winDecl(), store, "s3cret").rows)
      uids.push_back(r.UID);
    return uids;
  }

  // Adds a row under this UID through the thread's store.
  static bool add(uint32_t uid) {
    WIN() = testing::row(uid, "P", "M", "?Row" + std::to_string(uid));
    return winFile().add();
  }

  wevo::testing::TempDir dir;
  const std::string store = dir.file("SALES.wevo");
};

TEST_F(StoreTransactionTest, WorkIsKeptOnlyWhenCommitted) {
  bool began = false, committed = false;
  ProgramResult r = runScripted(Script(), [&] {
    StoreUse use;
    {
      auto transaction = StoreTransaction::beginOrGoOnWithout(winFile());
      began = transaction.begun();
      ASSERT_TRUE(add(2));
      WIN().UID = 99;
      EXPECT_FALSE(winFile().get(KEYUID));
      // Left without a commit, as an early return after a failed read would.
    }
    EXPECT_EQ(kf::errorCode(), kf::kErrNoRecord) << "the rollback keeps the error that the work left";
    {
      auto transaction = StoreTransaction::beginOrGoOnWithout(winFile());
      ASSERT_TRUE(add(3));
      committed = transaction.commit();
      EXPECT_TRUE(transaction.commit()) << "a second commit has nothing left to do";
    }
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_TRUE(began);
  EXPECT_TRUE(committed);
  EXPECT_EQ(storedUids(), (std::vector<uint32_t>{1, 3}));

  // The program ending inside the work unwinds through it: nothing is kept.
  r = runScripted(Script(), [&] {
    StoreUse use;
    auto transaction = StoreTransaction::beginOrGoOnWithout(winFile());
    ASSERT_TRUE(add(4));
    halt("Stopped");
  });
  EXPECT_TRUE(haltedWith(r, "Stopped"));
  EXPECT_EQ(storedUids(), (std::vector<uint32_t>{1, 3}));
}

TEST_F(StoreTransactionTest, CommitHeldUpByAReaderIsReportedAndRolledBack) {
  Script script;
  script.answer("Update Operation Error", BUTTON::Ok);
  bool committed = true;
  ProgramResult r = runScripted(script, [&] {
    StoreUse use;
    auto transaction = StoreTransaction::beginOrGoOnWithout(winFile());
    ASSERT_TRUE(transaction.begun());
    ASSERT_TRUE(add(2));
    ReaderInTheFile reader(store);
    ASSERT_TRUE(reader.holding());
    committed = transaction.commit();
    // Rolled back: the thread may begin again at once.
    EXPECT_TRUE(winFile().begin(0));
    EXPECT_TRUE(winFile().rollback());
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_FALSE(committed);
  ASSERT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0],
            "message \"Update Operation Error\" \"An error (File is locked (32)) was experienced when attempting to "
            "update a record from the file.  Probable Cause: WindowControls.\" icon=error buttons=OK default=OK "
            "-> OK");
  EXPECT_EQ(storedUids(), (std::vector<uint32_t>{1}));
}

TEST_F(StoreTransactionTest, StoreHeldElsewhereLeavesTheChoiceToGoOnWithout) {
  bool began = true, committed = false;
  ProgramResult r = runScripted(Script(), [&] {
    WindowControls theirs{};
    kf::File other(winDecl(), &theirs);
    ASSERT_TRUE(other.open());
    ASSERT_TRUE(other.begin(0));  // another station holds the store for writing
    StoreUse use;
    auto transaction = StoreTransaction::beginOrGoOnWithout(winFile());
    began = transaction.begun();
    ASSERT_TRUE(other.rollback());
    ASSERT_TRUE(add(2));  // written on its own
    committed = transaction.commit();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_FALSE(began);
  EXPECT_TRUE(committed);
  EXPECT_EQ(storedUids(), (std::vector<uint32_t>{1, 2}));
}

}  // namespace
}  // namespace wevo::store
