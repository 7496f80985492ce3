#include "platform/keyedfile/connection.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/keyedfile/connection_pool.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/key_cache.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_items.h"
#include "tests/testing/base/file_bytes.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

using wevo::testing::fileBytes;
using wevo::testing::writeFileBytes;

// Creates a store of three rows at `path` protected with `owner` (blank: none).
void makeStore(const std::string& path, const std::string& owner) {
  Item rec{};
  File f(testing::itemsDecl(), &rec);
  f.setName(path);
  f.setOwner(owner);
  ASSERT_TRUE(f.create()) << errorText() << " " << driverErrorText();
  ASSERT_TRUE(f.open()) << errorText() << " " << driverErrorText();
  for (uint32_t i = 1; i <= 3; ++i) {
    rec = makeItem(i, "SecretProcedure" + std::to_string(i), "marker", static_cast<int32_t>(i));
    ASSERT_TRUE(f.add());
  }
  ASSERT_TRUE(f.close());
}

// Opens `path` with `owner`; the error number (0 when it opened).
int openError(const FileDecl& decl, const std::string& path, const std::string& owner) {
  Item rec{};
  File f(decl, &rec);
  f.setName(path);
  f.setOwner(owner);
  f.open();
  return errorCode();
}

TEST(Protection, PasswordDecidesWhoReadsTheFile) {
  wevo::testing::TempDir dir;
  const std::string prot = dir.file("protected.db");
  const std::string plain = dir.file("plain.db");
  makeStore(prot, "s3cret pass");
  makeStore(plain, "");

  EXPECT_EQ(openError(testing::itemsDecl(), prot, "s3cret pass"), kNoError);
  EXPECT_EQ(openError(testing::itemsDecl(), prot, "wrong"), kErrBadPassword);
  EXPECT_EQ(errorText(), "File cannot be read with this password");
  EXPECT_EQ(openError(testing::itemsDecl(), prot, ""), kErrBadPassword);
  EXPECT_EQ(openError(testing::itemsDecl(), plain, "s3cret pass"), kErrBadPassword);
  EXPECT_EQ(openError(testing::itemsDecl(), plain, ""), kNoError);

  // The rows are there behind the password.
  Item rec{};
  File f(testing::itemsDecl(), &rec);
  f.setName(prot);
  f.setOwner("s3cret pass");
  ASSERT_TRUE(f.open());
  rec.UID = 2;
  ASSERT_TRUE(f.get(testing::KEYUID));
  EXPECT_EQ(text::clipped(rec.NAME), "SecretProcedure2");
  ASSERT_TRUE(f.close());

  // Nothing readable on disk when protected; the same words are there when not.
  const std::string protBytes = fileBytes(prot);
  const std::string plainBytes = fileBytes(plain);
  EXPECT_NE(plainBytes.find("Items"), std::string::npos);
  EXPECT_NE(plainBytes.find("SecretProcedure"), std::string::npos);
  EXPECT_EQ(protBytes.find("Items"), std::string::npos);
  EXPECT_EQ(protBytes.find("SecretProcedure"), std::string::npos);
  EXPECT_EQ(protBytes.find("SQLite format"), std::string::npos);
  EXPECT_EQ(protBytes.size() % 4096, 0u);  // 4096-byte pages
}

TEST(Protection, KeyIsDerivedOncePerFileAndPassword) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("p.db");
  makeStore(path, "pw");
  clearKeyCache();
  dropConnections(path);  // the connection kept from making it would need no key
  const uint64_t before = keyDerivations();
  EXPECT_EQ(openError(testing::itemsDecl(), path, "pw"), kNoError);
  EXPECT_EQ(keyDerivations(), before + 1);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(openError(testing::itemsDecl(), path, "pw"), kNoError);
  EXPECT_EQ(keyDerivations(), before + 1);
  // Another password is another key; the right one stays cached.
  EXPECT_EQ(openError(testing::itemsDecl(), path, "pw2"), kErrBadPassword);
  EXPECT_EQ(keyDerivations(), before + 2);
  EXPECT_EQ(openError(testing::itemsDecl(), path, "pw"), kNoError);
  EXPECT_EQ(keyDerivations(), before + 2);
  // A new file has a new salt, hence a new key (made once, at create).
  makeStore(dir.file("q.db"), "pw");
  EXPECT_EQ(keyDerivations(), before + 3);
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("q.db"), "pw"), kNoError);
  EXPECT_EQ(keyDerivations(), before + 3);
}

TEST(Protection, ThreadsOpeningAtOnceShareTheDerivedKey) {
  wevo::testing::TempDir dir;
  const std::string path = dir.file("threads.db");
  makeStore(path, "pw");
  clearKeyCache();
  const uint64_t before = keyDerivations();
  constexpr int kThreads = 4;
  constexpr int kRows = 20;
  std::vector<std::thread> threads;
  std::atomic<int> failures{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      Item rec{};
      File f(testing::itemsDecl(), &rec);
      f.setName(path);
      f.setOwner("pw");
      for (int i = 0; i < kRows; ++i) {
        rec = makeItem(static_cast<uint32_t>(100 * (t + 1) + i), "thread" + std::to_string(t), "m", i);
        if (!f.open() || !f.add() || !f.close()) ++failures;
      }
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(failures.load(), 0);
  // Threads that missed the cache together waited for one derivation.
  EXPECT_EQ(keyDerivations(), before + 1);
  Item rec{};
  File f(testing::itemsDecl(), &rec);
  f.setName(path);
  f.setOwner("pw");
  ASSERT_TRUE(f.open());
  uint64_t n = 0;
  ASSERT_TRUE(f.records(n));
  EXPECT_EQ(n, 3u + kThreads * kRows);
}

TEST(Protection, FileEncryptedFromThePassphraseOpensWithTheCachedKey) {
  // SQLCipher makes a copy through its own passphrase path; our raw key,
  // derived over that copy's salt, must open it.
  wevo::testing::TempDir dir;
  const std::string plain = dir.file("plain.db");
  const std::string enc = dir.file("enc.db");
  makeStore(plain, "");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(plain.c_str(), &db), SQLITE_OK);
  const std::string sql = "ATTACH DATABASE '" + enc +
                          "' AS enc KEY 'phrase'; PRAGMA enc.cipher_page_size=4096;"
                          " SELECT sqlcipher_export('enc'); DETACH DATABASE enc;";
  char* err = nullptr;
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err), SQLITE_OK) << (err ? err : "");
  sqlite3_close(db);

  Item rec{};
  File f(testing::itemsDecl(), &rec);
  f.setName(enc);
  f.setOwner("phrase");
  ASSERT_TRUE(f.open()) << errorText() << " " << driverErrorText();
  uint64_t n = 0;
  ASSERT_TRUE(f.records(n));
  EXPECT_EQ(n, 3u);
}

TEST(Protection, ProtectedStoreOpensInTheSqlcipherShell) {
  const char* shell = "/usr/bin/sqlcipher";
  if (std::FILE* probe = std::fopen(shell, "r")) {
    std::fclose(probe);
  } else {
    GTEST_SKIP() << shell << " is not installed; the shell check is skipped";
  }
  wevo::testing::TempDir dir;
  const std::string path = dir.file("shell.db");
  makeStore(path, "it's here");
  const std::string script = dir.file("script.sql");
  writeFileBytes(script,
             "PRAGMA key='it''s here';\nPRAGMA cipher_page_size=4096;\n"
             "SELECT NAME FROM Items WHERE UID=2;\n");
  const std::string command = std::string(shell) + " '" + path + "' < '" + script + "' 2>&1";
  std::FILE* out = popen(command.c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::string output;
  char buffer[256];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, out)) output.append(buffer, n);
  EXPECT_EQ(pclose(out), 0) << output;
  EXPECT_NE(output.find("SecretProcedure2"), std::string::npos) << output;
}

TEST(Layout, DeclarationsOfOtherLayoutsAreRefusedBothWays) {
  wevo::testing::TempDir dir;
  const std::string current = dir.file("current.db");
  const std::string old = dir.file("old.db");
  makeStore(current, "pw");
  testing::OldItem rec{};
  File f(testing::oldItemsDecl(), &rec);
  f.setName(old);
  f.setOwner("pw");
  ASSERT_TRUE(f.create());

  EXPECT_EQ(openError(testing::oldItemsDecl(), current, "pw"), kErrLayout);
  EXPECT_EQ(errorText(), "Record layout differs from the file's");
  EXPECT_EQ(openError(testing::itemsDecl(), old, "pw"), kErrLayout);
  EXPECT_EQ(openError(testing::oldItemsDecl(), old, "pw"), kNoError);
  // The password is checked before the layout.
  EXPECT_EQ(openError(testing::oldItemsDecl(), current, "other"), kErrBadPassword);

  // Another prefix over the same layout is the same file.
  FileDecl second = testing::itemsDecl();
  second.prefix = "IT2";
  EXPECT_EQ(openError(second, current, "pw"), kNoError);
  // A key that differs is another layout.
  FileDecl rekeyed = testing::itemsDecl();
  rekeyed.keys[1].nocase = false;
  EXPECT_EQ(openError(rekeyed, current, "pw"), kErrLayout);
}

TEST(Damage, GarbageTruncatedAndForeignFilesGiveDefinedErrors) {
  wevo::testing::TempDir dir;
  std::mt19937 random(1234);
  std::string garbage(16384, '\0');
  for (char& c : garbage) c = static_cast<char>(random() & 0xff);
  writeFileBytes(dir.file("garbage.db"), garbage);
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("garbage.db"), ""), kErrBadPassword);
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("garbage.db"), "pw"), kErrBadPassword);

  writeFileBytes(dir.file("empty.db"), "");
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("empty.db"), ""), kErrLayout);
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("empty.db"), "pw"), kErrLayout);
  writeFileBytes(dir.file("tiny.db"), "SQLite");
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("tiny.db"), "pw"), kErrBadPassword);

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(dir.file("foreign.db").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE Items(x); INSERT INTO Items VALUES(1);", nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  EXPECT_EQ(openError(testing::itemsDecl(), dir.file("foreign.db"), ""), kErrLayout);

  // Stores cut short anywhere: whatever fails, it fails with a number.
  for (const std::string& owner : {std::string(), std::string("pw")}) {
    const std::string whole = dir.file("whole.db");
    Item rec{};
    {
      File f(testing::itemsDecl(), &rec);
      f.setName(whole);
      f.setOwner(owner);
      ASSERT_TRUE(f.create());
      ASSERT_TRUE(f.open());
      ASSERT_TRUE(f.stream());
      for (uint32_t i = 1; i <= 300; ++i) {
        rec = makeItem(i, "procedure" + std::to_string(i % 17), "m", static_cast<int32_t>(i), "note");
        ASSERT_TRUE(f.add());
      }
      ASSERT_TRUE(f.flush());
      ASSERT_TRUE(f.close());
    }
    const std::string bytes = fileBytes(whole);
    for (size_t cut : {size_t{0}, size_t{10}, size_t{100}, size_t{4096}, size_t{5000}, bytes.size() / 2, bytes.size() - 4096}) {
      const std::string path = dir.file("cut.db");
      writeFileBytes(path, bytes.substr(0, cut));
      File f(testing::itemsDecl(), &rec);
      f.setName(path);
      f.setOwner(owner);
      if (!f.open()) {
        // Unreadable (36), no layout left (47) or damaged pages (90, SQLite's code with it).
        const int code = errorCode();
        EXPECT_TRUE(code == kErrBadPassword || code == kErrLayout || code == kErrDriver) << cut << ": " << code;
        if (code == kErrDriver) {
          EXPECT_NE(driverErrorCode(), 0) << cut;
        }
        continue;
      }
      // Opened: reads either succeed or fail with a number, never crash.
      ASSERT_TRUE(f.set(testing::KEYNAMEMARK));
      int rows = 0;
      while (f.next()) ++rows;
      EXPECT_NE(errorCode(), kNoError) << cut;
      EXPECT_LE(rows, 300) << cut;
      ASSERT_TRUE(f.close());
      std::remove(path.c_str());
    }
  }
}

}  // namespace
}  // namespace wevo::kf
