#include "platform/keyedfile/connection_pool.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/key_cache.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_items.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

// Runs `body` on a thread of its own, whose pool starts empty.
template <typename Body>
void onFreshThread(Body body) {
  std::thread t(body);
  t.join();
}

bool makeStore(const std::string& path, const std::string& owner, int rows) {
  Item rec{};
  File f(testing::itemsDecl(), &rec);
  f.setName(path);
  f.setOwner(owner);
  if (!f.create() || !f.open()) return false;
  for (int i = 1; i <= rows; ++i) {
    rec = makeItem(static_cast<uint32_t>(i), "name" + std::to_string(i), "m", i);
    if (!f.add()) return false;
  }
  return f.close();
}

uint64_t countOf(File& f) {
  uint64_t n = 0;
  f.records(n);
  return n;
}

// Descriptors of this process open on `path`.
int descriptorsOn(const std::string& path) {
  int n = 0;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    std::error_code ignored;
    if (std::filesystem::read_symlink(entry.path(), ignored) == path) ++n;
  }
  return n;
}

TEST(ConnectionPool, ClosedFileIsOpenedAgainOnItsConnectionWithoutKeying) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("kept.db");
  ASSERT_TRUE(makeStore(path, "pw", 3));
  onFreshThread([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    f.setName(path);
    f.setOwner("pw");
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.close());
    EXPECT_EQ(parkedConnections(), 1);
    clearKeyCache();
    const uint64_t derivations = keyDerivations();
    ASSERT_TRUE(f.open());
    EXPECT_EQ(parkedConnections(), 0) << "taken back";
    EXPECT_EQ(countOf(f), 3u);
    ASSERT_TRUE(f.close());
    // Another instance of the same declaration takes it too.
    Item other{};
    File g(testing::itemsDecl(), &other);
    g.setName(path);
    g.setOwner("pw");
    ASSERT_TRUE(g.open());
    EXPECT_EQ(countOf(g), 3u);
    // Two files open at once need two connections; both are kept.
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(g.close());
    ASSERT_TRUE(f.close());
    EXPECT_EQ(parkedConnections(), 2);
    EXPECT_EQ(keyDerivations(), derivations + 1) << "only the second connection needed the key";
  });
}

TEST(ConnectionPool, KeptConnectionSeesWhatOthersWroteMeanwhile) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("shared.db");
  ASSERT_TRUE(makeStore(path, "", 2));
  onFreshThread([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    f.setName(path);
    ASSERT_TRUE(f.open());
    rec.UID = 1;
    ASSERT_TRUE(f.get(testing::KEYUID));
    ASSERT_TRUE(f.close());
    onFreshThread([&] {
      Item other{};
      File g(testing::itemsDecl(), &other);
      g.setName(path);
      ASSERT_TRUE(g.open(kExclusive)) << "a kept connection holds no lock";
      other = makeItem(3, "third", "m", 3);
      EXPECT_TRUE(g.add());
      other.UID = 1;
      ASSERT_TRUE(g.get(testing::KEYUID));
      text::assign(other.NOTE, "changed elsewhere");
      EXPECT_TRUE(g.put());
      EXPECT_TRUE(g.close());
    });
    ASSERT_TRUE(f.open());
    EXPECT_EQ(parkedConnections(), 0);
    EXPECT_EQ(countOf(f), 3u);
    rec.UID = 1;
    ASSERT_TRUE(f.get(testing::KEYUID));
    EXPECT_EQ(text::clipped(rec.NOTE), "changed elsewhere");
    f.close();
  });
}

TEST(ConnectionPool, ReplacedFileOtherPasswordOrAccessGetAConnectionOfTheirOwn) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("store.db");
  const std::string replacement = dir.file("replacement.db");
  ASSERT_TRUE(makeStore(path, "pw", 2));
  ASSERT_TRUE(makeStore(replacement, "pw", 5));
  onFreshThread([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    f.setName(path);
    f.setOwner("pw");
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.close());
    ASSERT_EQ(parkedConnections(), 1);

    f.setOwner("wrong");
    EXPECT_FALSE(f.open());
    EXPECT_EQ(errorCode(), kErrBadPassword) << "the kept connection is not the wrong password's";
    f.setOwner("pw");
    ASSERT_TRUE(f.open(kReadOnly | kDenyNone));
    EXPECT_EQ(parkedConnections(), 1) << "a reading connection is not the writing one";
    f.close();
    EXPECT_EQ(parkedConnections(), 2);

    ASSERT_EQ(std::rename(replacement.c_str(), path.c_str()), 0);
    ASSERT_TRUE(f.open());
    EXPECT_EQ(countOf(f), 5u) << "the file now at the path, not the one kept open";
    EXPECT_EQ(parkedConnections(), 0) << "connections to the replaced file are closed";
    f.close();
  });
}

TEST(ConnectionPool, RemovedFilesAndEndingThreadsCloseTheirConnections) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("gone.db");
  ASSERT_TRUE(makeStore(path, "", 1));
  dropConnections(path);  // this thread's, from making it
  onFreshThread([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    f.setName(path);
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.close());
    EXPECT_EQ(descriptorsOn(path), 1);
    EXPECT_TRUE(f.remove());
    EXPECT_EQ(parkedConnections(), 0);
    EXPECT_EQ(descriptorsOn(path), 0);
  });
  ASSERT_TRUE(makeStore(path, "", 1));
  std::string other = dir.file("other.db");
  ASSERT_TRUE(makeStore(other, "", 1));
  EXPECT_EQ(descriptorsOn(path), 1) << "this thread's own, from making it";
  dropConnections(path);
  dropConnections(other);
  EXPECT_EQ(descriptorsOn(path), 0);
  onFreshThread([&] {
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    f.setName(path);
    ASSERT_TRUE(f.open());
    ASSERT_TRUE(f.close());
    EXPECT_EQ(descriptorsOn(path), 1);
  });
  EXPECT_EQ(descriptorsOn(path), 0) << "closed when the thread ended";
}

TEST(ConnectionPool, KeepsAFewConnectionsPerThread) {
  wevo::testing::TempDir dir;
  constexpr int kFiles = 11;
  for (int i = 0; i < kFiles; ++i) {
    ASSERT_TRUE(makeStore(dir.file(std::to_string(i) + ".db"), "", 1));
    dropConnections(dir.file(std::to_string(i) + ".db"));
  }
  onFreshThread([&] {
    for (int i = 0; i < kFiles; ++i) {
      Item rec{};
      File f(testing::itemsDecl(), &rec);
      f.setName(dir.file(std::to_string(i) + ".db"));
      ASSERT_TRUE(f.open());
    }
    EXPECT_EQ(parkedConnections(), 8);
    EXPECT_EQ(descriptorsOn(dir.file("0.db")), 0) << "the oldest are closed";
    EXPECT_EQ(descriptorsOn(dir.file("10.db")), 1);
  });
}

}  // namespace
}  // namespace wevo::kf
