#include "store/store_open.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <latch>
#include <future>
#include <thread>

#include "platform/keyedfile/error.h"
#include "store/store_file_vars.h"
#include "platform/keyedfile/test_stores.h"
#include "store/test_store.h"
#include "tests/testing/base/temp_dir.h"
#include "tests/testing/run_scripted.h"
#include "wevo/runtime.h"

namespace wevo::store {
namespace {

using wevo::testing::endedNormally;
using wevo::testing::haltedWith;
using wevo::testing::runScripted;

std::string line(const std::string& title, const std::string& text, const std::string& icon,
                 const std::string& buttons, const std::string& def, const std::string& answer) {
  return "message \"" + title + "\" \"" + text + "\" icon=" + icon + " buttons=" + buttons + " default=" + def +
         " -> " + answer;
}

// Runs on a file and on a server's store alike.
class StoreOpen : public ::testing::TestWithParam<kf::testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    setStoreFileName(store);
    setStoreOwner(password);
  }
  void TearDown() override {
    setStoreFileName("");
    setStoreOwner("");
  }
  // 0 when the store opens for this opener alone, else why not.
  int exclusiveOpenError() { return exclusiveOpenError(password); }
  int exclusiveOpenError(const std::string& owner) {
    WindowControls record{};
    kf::File f(winDecl(), &record);
    f.setOwner(owner);
    if (!f.open(kf::kExclusive)) return kf::errorCode();
    f.close();
    return 0;
  }
  kf::testing::TestStores stores{GetParam()};
  const std::string store = stores.name("SALES.wevo");
  const std::string password = stores.password("s3cret");
};

INSTANTIATE_TEST_SUITE_P(Stores, StoreOpen, kf::testing::kBothKinds, kf::testing::kindName);

TEST_P(StoreOpen, MissingStoreIsCreatedAndOpenedSilently) {
  bool open = false;
  ProgramResult r = runScripted(Script(), [&] {
    openWithRecovery(winFile());
    open = winFile().isOpen();
    winFile().close();
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_TRUE(open);
  EXPECT_EQ(exclusiveOpenError(password), 0);
  EXPECT_EQ(exclusiveOpenError(""), kf::kErrBadPassword);  // created with the owner password
}

TEST_P(StoreOpen, ThreadsFindingTheStoreMissingTogetherCreateItOnce) {
  constexpr int kThreads = 4;
  std::latch ready(kThreads);
  std::atomic<int> added{0};
  ProgramResult r = runScripted(Script(), [&] {
    for (int t = 1; t <= kThreads; ++t)
      start([&, t] {
        ready.arrive_and_wait();
        StoreUse use;
        WIN() = testing::row(static_cast<uint32_t>(t), "P", "M", "?T" + std::to_string(t));
        if (winFile().add()) ++added;
      });
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_EQ(added.load(), kThreads);
  testing::Read<WindowControls> all = testing::readAll<WindowControls>(winDecl(), store, password);
  EXPECT_EQ(all.rows.size(), static_cast<size_t>(kThreads));  // no thread's file replaced another's
}

TEST_P(StoreOpen, LockedStoreWaitsForTheLockOnce) {
  ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, password, {testing::row(1, "P", "M", "?A")}));
  std::promise<void> locked;
  std::thread holder([&] {
    WindowControls record{};
    kf::File f(winDecl(), &record);
    ASSERT_TRUE(f.open(kf::kExclusive));
    locked.set_value();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    f.close();
  });
  locked.get_future().wait();
  bool open = false;
  ProgramResult r = runScripted(Script(), [&] {
    openWithRecovery(winFile());
    open = winFile().isOpen();
    winFile().close();
  });
  holder.join();
  EXPECT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());  // an open that failed at once would have shown message 30
  EXPECT_TRUE(open);
}

// A store whose rows were appended without their keys being built.
void stageDamagedKeys(const std::string& store, const std::string& password) {
  ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, password, {testing::row(1, "P", "M", "?A")}));
  WindowControls record = testing::row(2, "P", "M", "?B");
  kf::File f(winDecl(), &record);
  ASSERT_TRUE(f.open());
  ASSERT_TRUE(f.append());
  ASSERT_TRUE(f.close());
  ASSERT_FALSE(f.open());
  ASSERT_EQ(kf::errorCode(), kf::kErrKeysDamaged);
}

TEST_P(StoreOpen, DamagedKeysAnsweredNoEndTheProgram) {
  stageDamagedKeys(store, password);
  Script script;
  script.answer("Invalid Key", BUTTON::No);
  bool returned = false;
  ProgramResult r = runScripted(script, [&] {
    openWithRecovery(winFile());
    returned = true;
  });
  EXPECT_TRUE(haltedWith(r, "Invalid Key!"));
  EXPECT_FALSE(returned);
  ASSERT_GE(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0], line("Invalid Key", store + " key file is invalid.  Do you want to rebuild the key?",
                                  "question", "Yes|No", "Yes", "No"));
}

TEST_P(StoreOpen, DamagedKeysAnsweredYesAreRebuilt) {
  stageDamagedKeys(store, password);
  Script script;
  script.answer("Invalid Key", BUTTON::Yes);
  std::string found;
  ProgramResult r = runScripted(script, [&] {
    openWithRecovery(winFile());
    text::assign(WIN().PROCEDURENAME, "p");
    text::assign(WIN().UNIQUEMARKER, "m");
    text::assign(WIN().CONTROLLABEL, "?b");
    if (winFile().get(KEYPROCEDUREMARKERLABEL)) found = text::clipped(WIN().CONTROLTEXT);
    winFile().close();
  });
  EXPECT_TRUE(endedNormally(r));
  EXPECT_EQ(r.transcript.size(), 1u);
  EXPECT_EQ(found, "Text of ?B");
}

TEST_P(StoreOpen, AnotherLayoutEndsWithInvalidFile) {
  ASSERT_TRUE(testing::stage<WindowControls001>(win001Decl(), store, password, {}));
  Script script;
  script.answer("Invalid File", BUTTON::Ok);
  ProgramResult r = runScripted(script, [&] { openWithRecovery(winFile()); });
  EXPECT_TRUE(haltedWith(r, "Invalid File!"));
  ASSERT_GE(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0],
            line("Invalid File",
                 "Error: (Record layout differs from the file's (47)) accessing " + store +
                     ".  Press OK to end this application.",
                 "error", "OK", "OK", "OK"));
}

TEST_P(StoreOpen, StoreThatStillDoesNotOpenEndsWithDiskError) {
  // Staged with one password, opened with another (on a server: the role's
  // and a wrong one).
  if (stores.server()) {
    ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, password, {}));
    setStoreOwner("another password");
  } else {
    ASSERT_TRUE(testing::stage<WindowControls>(winDecl(), store, "another password", {}));
  }
  Script script;
  script.answer("File Access Error", BUTTON::Ok);
  ProgramResult r = runScripted(script, [&] { openWithRecovery(winFile()); });
  EXPECT_TRUE(haltedWith(r, "Disk Error"));
  ASSERT_GE(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0], line("File Access Error",
                                  "File (" + store +
                                      ") could not be opened.  Error: File cannot be read with this password (36).",
                                  "error", "OK", "OK", "OK"));
}

TEST_P(StoreOpen, StoreThatCannotBeCreatedEndsTheProgram) {
  if (stores.server()) GTEST_SKIP() << "a folder that does not exist is a file's matter";
  const std::string nowhere = stores.dir().file("no such folder/SALES.wevo");
  setStoreFileName(nowhere);
  Script script;
  script.answer("File Creation Error", BUTTON::Ok);
  ProgramResult r = runScripted(script, [&] { openWithRecovery(winFile()); });
  EXPECT_TRUE(haltedWith(r, "File Creation Error!"));
  ASSERT_GE(r.transcript.size(), 1u);
  EXPECT_EQ(r.transcript[0].rfind("message \"File Creation Error\" \"Error: (", 0), 0u) << r.transcript[0];
  EXPECT_NE(r.transcript[0].find(") creating " + nowhere + ".  Press OK to end this application.\""),
            std::string::npos)
      << r.transcript[0];
  // Not allowed to create: the same message, and no file.
  setStoreFileName(store);
  ProgramResult r2 = runScripted(script, [&] { openWithRecovery(winFile(), false); });
  EXPECT_TRUE(haltedWith(r2, "File Creation Error!"));
  EXPECT_FALSE(kf::File::exists(store));
}

TEST_P(StoreOpen, UseCountOpensOnceAndClosesWhenTheLastUseEnds) {
  struct Seen {
    int count = -1;
    bool open = false;
    bool othersKeptOut = false;
  };
  Seen outer, inner, afterInner, afterOuter, otherThread;
  ProgramResult r = runScripted(Script(), [&] {
    auto look = [&](Seen& s) {
      s.count = useCount(winFile());
      s.open = winFile().isOpen();
      s.othersKeptOut = exclusiveOpenError() == kf::kErrLocked;
    };
    {
      StoreUse a;
      look(outer);
      {
        StoreUse b(winFile());
        look(inner);
        // Another host thread has its own count and its own instance.
        std::promise<void> done;
        start([&] {
          look(otherThread);
          done.set_value();
        });
        done.get_future().wait();
      }
      look(afterInner);
    }
    look(afterOuter);
    closeCounted(winFile());  // with the count at 0: nothing to do
    EXPECT_EQ(useCount(winFile()), 0);
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_EQ(outer.count, 1);
  EXPECT_TRUE(outer.open);
  EXPECT_TRUE(outer.othersKeptOut);
  EXPECT_EQ(inner.count, 2);
  EXPECT_EQ(afterInner.count, 1);
  EXPECT_TRUE(afterInner.open);
  EXPECT_EQ(afterOuter.count, 0);
  EXPECT_FALSE(afterOuter.open);
  EXPECT_FALSE(afterOuter.othersKeptOut);
  EXPECT_EQ(otherThread.count, 0);
  EXPECT_FALSE(otherThread.open);
}

}  // namespace
}  // namespace wevo::store
