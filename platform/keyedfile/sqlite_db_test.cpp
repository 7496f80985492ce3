#include "platform/keyedfile/sqlite_db.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

int64_t countRows(Db& db) {
  int rc = kSqlOk;
  Stmt* stmt = db.prepare("SELECT count(*) FROM t", &rc);
  if (stmt == nullptr) return -1;
  StmtUse use(*stmt);
  return stmt->step() == kSqlRow ? stmt->columnInt(0) : -1;
}

TEST(WriteTransaction, KeepsOnlyWhatItCommitsAndJoinsAnActiveOne) {
  wevo::testing::TempDir dir;
  Db db;
  ASSERT_EQ(db.open(dir.file("plain.db"), true, false), kSqlOk);
  ASSERT_EQ(db.exec("CREATE TABLE t(x)"), kSqlOk);

  {
    WriteTransaction tx(db, false);
    ASSERT_EQ(tx.began(), kSqlOk);
    EXPECT_FALSE(db.autocommit());
    ASSERT_EQ(db.exec("INSERT INTO t VALUES(1)"), kSqlOk);
    // Left without commit(), as an operation that failed half way.
  }
  EXPECT_TRUE(db.autocommit());
  EXPECT_EQ(countRows(db), 0);

  {
    WriteTransaction tx(db, false);
    ASSERT_EQ(db.exec("INSERT INTO t VALUES(2)"), kSqlOk);
    EXPECT_EQ(tx.commit(), kSqlOk);
  }
  EXPECT_EQ(countRows(db), 1);

  // Inside the file's own transaction the statements join it: neither the
  // guard's commit nor its end finish that transaction.
  ASSERT_EQ(db.exec("BEGIN IMMEDIATE"), kSqlOk);
  {
    WriteTransaction tx(db, true);
    ASSERT_EQ(tx.began(), kSqlOk);
    ASSERT_EQ(db.exec("INSERT INTO t VALUES(3)"), kSqlOk);
  }
  {
    WriteTransaction tx(db, true);
    ASSERT_EQ(db.exec("INSERT INTO t VALUES(4)"), kSqlOk);
    EXPECT_EQ(tx.commit(), kSqlOk);
  }
  EXPECT_FALSE(db.autocommit());
  ASSERT_EQ(db.exec("ROLLBACK"), kSqlOk);
  EXPECT_EQ(countRows(db), 1);

  // A second connection holds the write lock: nothing begins, nothing is
  // rolled back that was not ours.
  Db other;
  ASSERT_EQ(other.open(dir.file("plain.db"), false, false), kSqlOk);
  ASSERT_EQ(other.exec("BEGIN IMMEDIATE"), kSqlOk);
  {
    WriteTransaction tx(db, false);
    EXPECT_EQ(tx.began(), kSqlBusy);
  }
  EXPECT_FALSE(other.autocommit());
  ASSERT_EQ(other.exec("INSERT INTO t VALUES(5)"), kSqlOk);
  ASSERT_EQ(other.exec("COMMIT"), kSqlOk);
  EXPECT_EQ(countRows(db), 2);
}

}  // namespace
}  // namespace wevo::kf
