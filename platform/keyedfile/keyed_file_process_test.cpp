// Keyed files shared by processes. Children are forked while the parent holds
// no connection (SQLite connections must not cross a fork) and leave with
// _exit, so that they run no test machinery of the parent.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_items.h"
#include "platform/keyedfile/test_stores.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

pid_t forkChild(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int exitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A pipe to wait on a signal from the other process.
struct Signal {
  Signal() {
    if (pipe(fds) != 0) fds[0] = fds[1] = -1;
  }
  ~Signal() {
    close(fds[0]);
    close(fds[1]);
  }
  void raise() const {
    char c = 1;
    (void)!write(fds[1], &c, 1);
  }
  bool wait() const {
    char c = 0;
    return read(fds[0], &c, 1) == 1;
  }
  int fds[2];
};

// Processes share a file and a server's store alike.
class Processes : public ::testing::TestWithParam<testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    testing::itemsName() = stores.name("shared.db");
    testing::itemsOwner() = stores.password("shared secret");
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    ASSERT_TRUE(f.create());
  }
  testing::TestStores stores{GetParam()};
};

INSTANTIATE_TEST_SUITE_P(Stores, Processes, testing::kBothKinds, testing::kindName);

// Adds `count` rows numbered by the highest UID + 1, trying again when another
// process took that number first; 0 when every row went in.
int addNumberedRows(int station, int count) {
  Item rec{};
  File f(testing::itemsDecl(), &rec);
  if (!f.open()) return 10;
  for (int i = 0; i < count; ++i) {
    bool added = false;
    for (int attempt = 0; attempt < 200 && !added; ++attempt) {
      uint32_t uid = 1;
      if (!f.set(testing::KEYUID)) return 11;
      if (f.previous())
        uid = rec.UID + 1;
      else if (errorCode() != kErrNoRecord)
        continue;
      rec = makeItem(uid, "station" + std::to_string(station), "m", i);
      added = f.add();
      if (!added && errorCode() != kErrDuplicateKey && errorCode() != kErrLocked) return 12;
    }
    if (!added) return 13;
  }
  return f.close() ? 0 : 14;
}

TEST_P(Processes, ConcurrentAddsUnderAUniqueKeyLoseNothing) {
  constexpr int kRows = 150;
  pid_t a = forkChild([] { return addNumberedRows(1, kRows); });
  pid_t b = forkChild([] { return addNumberedRows(2, kRows); });
  ASSERT_EQ(exitStatus(a), 0);
  ASSERT_EQ(exitStatus(b), 0);

  Item rec{};
  File f(testing::itemsDecl(), &rec);
  ASSERT_TRUE(f.open());
  std::set<uint32_t> uids;
  std::set<std::pair<std::string, int>> rows;
  ASSERT_TRUE(f.set(testing::KEYUID));
  while (f.next()) {
    uids.insert(+rec.UID);
    rows.insert({std::string(text::clipped(rec.NAME)), +rec.NUM});
  }
  EXPECT_EQ(uids.size(), 2u * kRows);  // no UID twice
  EXPECT_EQ(*uids.rbegin(), 2u * kRows);
  EXPECT_EQ(rows.size(), 2u * kRows);  // every row of both stations, once
  for (int i = 0; i < kRows; ++i) {
    EXPECT_EQ(rows.count({"station1", i}), 1u) << i;
    EXPECT_EQ(rows.count({"station2", i}), 1u) << i;
  }
}

TEST_P(Processes, WatchedPutLosesToAnotherProcesssPut) {
  {
    Item rec = makeItem(1, "row", "m", 1);
    File f(testing::itemsDecl(), &rec);
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.add());
  }
  Signal go, done;
  pid_t child = forkChild([&] {
    if (!go.wait()) return 20;
    Item rec{};
    rec.UID = 1;
    File f(testing::itemsDecl(), &rec);
    if (!f.open() || !f.get(testing::KEYUID)) return 21;
    rec.NUM = 99;
    if (!f.put()) return 22;
    f.close();
    done.raise();
    return 0;
  });

  Item rec{};
  rec.UID = 1;
  File f(testing::itemsDecl(), &rec);
  ASSERT_TRUE(f.open());
  ASSERT_TRUE(f.watch());
  ASSERT_TRUE(f.get(testing::KEYUID));
  go.raise();
  ASSERT_TRUE(done.wait());
  ASSERT_EQ(exitStatus(child), 0);
  rec.NUM = 5;
  EXPECT_FALSE(f.put());
  EXPECT_EQ(errorCode(), kErrChanged);
  ASSERT_TRUE(f.get(testing::KEYUID));
  EXPECT_EQ(+rec.NUM, 99);
}

TEST_P(Processes, BulkLoadThatNeverBuiltItsKeysOpensDamaged) {
  pid_t child = forkChild([] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    if (!f.open() || !f.stream()) return 30;
    for (uint32_t i = 1; i <= 100; ++i) {
      rec = makeItem(i, "bulk", "m", static_cast<int32_t>(i));
      if (!f.append()) return 31;
    }
    if (!f.flush()) return 32;
    return 0;  // gone without build or close
  });
  ASSERT_EQ(exitStatus(child), 0);

  Item rec{};
  File f(testing::itemsDecl(), &rec);
  EXPECT_FALSE(f.open());
  EXPECT_EQ(errorCode(), kErrKeysDamaged);
  EXPECT_EQ(errorText(), "Keys must be rebuilt");
  EXPECT_FALSE(f.open());  // stays so until built
  EXPECT_EQ(errorCode(), kErrKeysDamaged);
  ASSERT_TRUE(f.build()) << errorText();
  ASSERT_TRUE(f.open()) << errorText();
  uint64_t n = 0;
  ASSERT_TRUE(f.records(n));
  EXPECT_EQ(n, 100u);
  rec.UID = 77;
  ASSERT_TRUE(f.get(testing::KEYUID));
  EXPECT_EQ(+rec.NUM, 77);
}

TEST_P(Processes, LoadKilledBeforeItsFlushLeavesTheFileAsItWas) {
  {
    Item rec = makeItem(1, "before", "m", 1);
    File f(testing::itemsDecl(), &rec);
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.add());
  }
  Signal loaded;
  pid_t child = forkChild([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    if (!f.open() || !f.stream()) return 40;
    for (uint32_t i = 2; i <= 2000; ++i) {
      rec = makeItem(i, "bulk", "m", static_cast<int32_t>(i), "a note long enough to spill pages");
      if (!f.append()) return 41;
    }
    loaded.raise();
    pause();  // killed here, inside the transaction
    return 42;
  });
  ASSERT_TRUE(loaded.wait());
  kill(child, SIGKILL);
  EXPECT_EQ(exitStatus(child), 128 + SIGKILL);

  Item rec{};
  File f(testing::itemsDecl(), &rec);
  ASSERT_TRUE(f.open()) << errorCode() << " " << errorText() << " " << driverErrorText();
  uint64_t n = 0;
  ASSERT_TRUE(f.records(n));
  EXPECT_EQ(n, 1u);
  rec.UID = 1;
  ASSERT_TRUE(f.get(testing::KEYUID));
  EXPECT_EQ(std::string(text::clipped(rec.NAME)), "before");
}

TEST_P(Processes, ExclusiveHolderInAnotherProcessRefusesUntilItLeaves) {
  Signal holding, release;
  pid_t child = forkChild([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    if (!f.open(kExclusive)) return 50;
    holding.raise();
    release.wait();
    return f.close() ? 0 : 51;
  });
  ASSERT_TRUE(holding.wait());
  Item rec{};
  File f(testing::itemsDecl(), &rec);
  EXPECT_FALSE(f.open());
  EXPECT_EQ(errorCode(), kErrLocked);
  release.raise();
  ASSERT_TRUE(f.send("Recover=10"));
  EXPECT_TRUE(f.open()) << errorText();
  EXPECT_EQ(exitStatus(child), 0);
}

}  // namespace
}  // namespace wevo::kf
