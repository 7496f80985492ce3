#include "platform/keyedfile/schema.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_items.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

// Rows of a query on a plain store, columns joined with "|".
std::vector<std::string> query(sqlite3* db, const std::string& sql) {
  std::vector<std::string> rows;
  sqlite3_stmt* stmt = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(db) << "\n" << sql;
  while (stmt && sqlite3_step(stmt) == SQLITE_ROW) {
    std::string row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      const unsigned char* t = sqlite3_column_text(stmt, i);
      row += (i ? "|" : "") + std::string(t ? reinterpret_cast<const char*>(t) : "NULL");
    }
    rows.push_back(row);
  }
  sqlite3_finalize(stmt);
  return rows;
}

class Storage : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::itemsName() = dir.file("plain.db");
    testing::itemsOwner() = "";
    Item rec{};
    File f(testing::itemsDecl(), &rec);
    ASSERT_TRUE(f.create());
    ASSERT_TRUE(f.open());
    rec = makeItem(7, "Main   ", "?OkButton", 3, "  leading kept");
    ASSERT_TRUE(f.add());
    ASSERT_TRUE(f.close());
    ASSERT_EQ(sqlite3_open(dir.file("plain.db").c_str(), &db), SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db); }

  wevo::testing::TempDir dir;
  sqlite3* db = nullptr;
};

TEST_F(Storage, OneTableNamedAfterTheLabelWithAColumnPerField) {
  std::vector<std::string> columns;
  for (const std::string& row : query(db, "PRAGMA table_info(Items)")) {  // cid|name|type|...
    size_t from = row.find('|') + 1;
    columns.push_back(row.substr(from, row.find('|', from) - from));
  }
  EXPECT_EQ(columns,
            (std::vector<std::string>{"UID", "NAME", "MARKER", "NUM", "NOTE", "PICTURE", "kf_row", "kf_version"}));
  // Text without trailing blanks; numbers as integers; an empty blob as NULL.
  EXPECT_EQ(query(db, "SELECT UID, typeof(UID), NAME, length(NAME), MARKER, NOTE, typeof(PICTURE) FROM Items"),
            (std::vector<std::string>{"7|integer|Main|4|?OkButton|  leading kept|null"}));
  EXPECT_EQ(query(db, "PRAGMA journal_mode"), (std::vector<std::string>{"delete"}));
}

TEST_F(Storage, OneIndexPerKeyNamedWithoutThePrefix) {
  EXPECT_EQ(query(db, "SELECT name, sql FROM sqlite_master WHERE type='index' AND tbl_name='Items' ORDER BY name"),
            (std::vector<std::string>{
                "Items_KEYMARKNUM|CREATE INDEX \"Items_KEYMARKNUM\" ON \"Items\"(\"MARKER\" COLLATE NOCASE,\"NUM\")",
                "Items_KEYNAMEMARK|CREATE INDEX \"Items_KEYNAMEMARK\" ON \"Items\"(\"NAME\" COLLATE NOCASE,"
                "\"MARKER\" COLLATE NOCASE)",
                "Items_KEYUID|CREATE UNIQUE INDEX \"Items_KEYUID\" ON \"Items\"(\"UID\")"}));
  EXPECT_EQ(query(db, "SELECT name FROM kf_meta ORDER BY name"), (std::vector<std::string>{"keys", "layout"}));

  // A declaration under another prefix writes and reads the same file.
  FileDecl second = testing::itemsDecl();
  second.prefix = "IT2";
  Schema a(testing::itemsDecl()), b(second);
  EXPECT_EQ(a.signature(), b.signature());
  EXPECT_EQ(a.createStatements(), b.createStatements());
  FileDecl wider = testing::itemsDecl();
  wider.fields[4].width = 31;
  wider.recordSize += 1;
  EXPECT_NE(Schema(wider).signature(), a.signature());
}

TEST_F(Storage, EveryKeyedReadIsAnIndexSeekWithoutSorting) {
  FileDecl decl = testing::itemsDecl();
  Schema schema(decl);
  for (int key = kPhysical; key < static_cast<int>(decl.keys.size()); ++key) {
    for (int pins = 0; pins <= schema.componentCount(key); ++pins) {
      for (int variant = 0; variant < 8; ++variant) {
        const bool forward = variant & 1, bounded = variant & 2, inclusive = variant & 4;
        const std::string sql = schema.seekSql(key, pins, forward, bounded, inclusive);
        for (const std::string& step : query(db, "EXPLAIN QUERY PLAN " + sql)) {
          EXPECT_EQ(step.find("TEMP B-TREE"), std::string::npos) << sql << "\n" << step;
          if (step.find("TABLE Items") == std::string::npos) continue;
          if (key != kPhysical) {
            EXPECT_NE(step.find("INDEX Items_"), std::string::npos) << sql << "\n" << step;
          }
          // Reading from a bound or within pinned values seeks; only a read
          // from the very start may scan (and stops at its first row).
          if (bounded || pins > 0) {
            EXPECT_EQ(step.find("SCAN"), std::string::npos) << sql << "\n" << step;
          }
        }
      }
    }
    if (key >= 0) {
      for (const std::string& step : query(db, "EXPLAIN QUERY PLAN " + schema.exactSql(key))) {
        EXPECT_NE(step.find("SEARCH TABLE Items USING"), std::string::npos) << step;
      }
    }
  }
  // Values never enter the SQL text: only numbered parameters do.
  EXPECT_EQ(schema.seekSql(1, 1, true, true, false).find('\''), std::string::npos);
}

TEST(SchemaChecks, DeclarationsThatCannotBeStoredAreRefused) {
  EXPECT_TRUE(Schema(testing::itemsDecl()).usable());
  auto refused = [](auto change) {
    FileDecl d = testing::itemsDecl();
    change(d);
    Schema s(d);
    return !s.usable() && !s.problem().empty();
  };
  EXPECT_TRUE(refused([](FileDecl& d) { d.label = "Items;"; }));
  EXPECT_TRUE(refused([](FileDecl& d) { d.label = "kf_meta"; }));
  EXPECT_TRUE(refused([](FileDecl& d) { d.fields[2].name = "name"; }));  // clashes ignoring case
  EXPECT_TRUE(refused([](FileDecl& d) { d.fields[2].name = "KF_ROW"; }));
  EXPECT_TRUE(refused([](FileDecl& d) { d.blob = "NOTE"; }));
  EXPECT_TRUE(refused([](FileDecl& d) { d.fields[4].offset = 60; }));  // past the record's end
  EXPECT_TRUE(refused([](FileDecl& d) { d.fields[3].width = 2; }));   // a LONG of 2 bytes
  EXPECT_TRUE(refused([](FileDecl& d) { d.keys[1].components = {1, 9}; }));
  EXPECT_TRUE(refused([](FileDecl& d) { d.keys[2].name = "KEYUID"; }));
}

}  // namespace
}  // namespace wevo::kf
