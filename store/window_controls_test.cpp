#include "store/window_controls.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/keyed_file.h"
#include "platform/keyedfile/test_stores.h"
#include "platform/keyedfile/view.h"
#include "store/store_file_vars.h"
#include "tests/testing/base/temp_dir.h"
#include "wevo/text.h"

namespace wevo::store {
namespace {

// Fills every field of a record through the declaration's table: text of
// printable non-blank bytes of any length up to the width, numbers across
// their whole range.
void fillRecord(const kf::FileDecl& decl, void* record, std::mt19937& random) {
  for (const kf::FieldDecl& f : decl.fields) {
    if (f.type == kf::FieldType::String) {
      size_t length = 1 + random() % f.width;
      std::string value;
      for (size_t i = 0; i < length; ++i) value.push_back(static_cast<char>(33 + random() % 94));
      text::assign(static_cast<char*>(record) + f.offset, f.width, value);
    } else {
      kf::writeNumber(f, record, static_cast<int64_t>(static_cast<int32_t>(random())));
    }
  }
}

// Runs on a file and on a server's store alike.
class StoreFile : public ::testing::TestWithParam<kf::testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    setStoreFileName(stores.name("SALES.wevo"));
    setStoreOwner(stores.password("host password"));
    ASSERT_TRUE(win.create()) << kf::errorText();
    ASSERT_TRUE(win.open()) << kf::errorText();
  }
  void TearDown() override {
    setStoreFileName("");
    setStoreOwner("");
  }

  void addRow(uint32_t uid, std::string_view procedure, std::string_view marker, std::string_view label,
              int32_t feq) {
    kf::clearRecord(winDecl(), &rec);
    rec.UID = uid;
    text::assign(rec.PROCEDURENAME, procedure);
    text::assign(rec.UNIQUEMARKER, marker);
    text::assign(rec.CONTROLLABEL, label);
    text::assign(rec.DESCRIPTION, label.substr(label.empty() ? 0 : 1));
    rec.FEQ = feq;
    rec.ORDER = 100 - feq;
    ASSERT_TRUE(win.add()) << kf::errorText();
  }

  kf::testing::TestStores stores{GetParam()};
  WindowControls rec{};
  kf::File win{winDecl(), &rec};
};

INSTANTIATE_TEST_SUITE_P(Stores, StoreFile, kf::testing::kBothKinds, kf::testing::kindName);

TEST_P(StoreFile, WholeRecordSurvivesAddGetAndPut) {
  std::mt19937 random(20240607);
  fillRecord(winDecl(), &rec, random);
  rec.UID = 41;
  text::assign(rec.PROCEDURENAME, "Main");
  text::assign(rec.UNIQUEMARKER, "Marker one");
  text::assign(rec.CONTROLLABEL, "?OkButton");
  text::assign(rec.TIP, "a tip with trailing blanks   ");  // cut on the way in, padded on the way out
  ASSERT_TRUE(win.blobSet(std::string("\x01\x02\x00\x03", 4)));
  ASSERT_TRUE(win.add()) << kf::errorText();
  const WindowControls added = rec;

  kf::clearRecord(winDecl(), &rec);
  text::assign(rec.PROCEDURENAME, "MAIN");
  text::assign(rec.UNIQUEMARKER, "MARKER ONE");
  text::assign(rec.CONTROLLABEL, "?okbutton");
  ASSERT_TRUE(win.get(KEYPROCEDUREMARKERLABEL)) << kf::errorText();
  EXPECT_EQ(std::memcmp(&rec, &added, sizeof rec), 0);
  EXPECT_EQ(win.blobGet(), std::string("\x01\x02\x00\x03", 4));

  // Every field changed, rewritten, read back by the unique key.
  fillRecord(winDecl(), &rec, random);
  rec.UID = 41;
  const WindowControls changed = rec;
  ASSERT_TRUE(win.put()) << kf::errorText();
  std::memset(&rec, 0, sizeof rec);
  rec.UID = 41;
  ASSERT_TRUE(win.get(KEYUID));
  EXPECT_EQ(std::memcmp(&rec, &changed, sizeof rec), 0);

  // The second declaration reads the same bytes.
  WindowControls other{};
  kf::File win2(win2Decl(), &other);
  ASSERT_TRUE(win2.open()) << kf::errorText();
  other.UID = 41;
  ASSERT_TRUE(win2.get(KEYUID));
  EXPECT_EQ(std::memcmp(&other, &changed, sizeof other), 0);
}

TEST_P(StoreFile, KeysFindNamesMarkersAndLabelsIgnoringCase) {
  addRow(1, "Main", "M1", "?OkButton", 3);
  addRow(2, "Main", "M1", "WINDOW", 0);
  addRow(3, "Main", "WEVO_ORIGINAL", "?OkButton", 3);
  addRow(4, "Other", "M1", "?OkButton", 3);
  addRow(5, "main", "m1", "?Cancel", 4);

  kf::clearRecord(winDecl(), &rec);
  text::assign(rec.PROCEDURENAME, "main ");
  text::assign(rec.UNIQUEMARKER, "m1");
  text::assign(rec.CONTROLLABEL, "?OKBUTTON");
  ASSERT_TRUE(win.get(KEYPROCEDUREMARKERLABEL));
  EXPECT_EQ(+rec.UID, 1u);

  text::assign(rec.UNIQUEMARKER, "M1");
  rec.FEQ = 4;
  ASSERT_TRUE(win.get(KEYPROCEDUREMARKERFEQ));
  EXPECT_EQ(+rec.UID, 5u);

  // A window's rows in tab order: ORDER = 100 - FEQ here.
  kf::clearRecord(winDecl(), &rec);
  text::assign(rec.PROCEDURENAME, "MAIN");
  text::assign(rec.UNIQUEMARKER, "M1");
  rec.ORDER = -1000;
  ASSERT_TRUE(win.setAt(ORDERKEY));
  std::vector<uint32_t> uids;
  while (win.next() && text::sameNoCase(text::clipped(rec.PROCEDURENAME), "main") &&
         text::sameNoCase(text::clipped(rec.UNIQUEMARKER), "m1"))
    uids.push_back(+rec.UID);
  EXPECT_EQ(uids, (std::vector<uint32_t>{5, 1, 2}));

  // The new-row rule reads the highest UID as the last row of KEYUID.
  ASSERT_TRUE(win.set(KEYUID));
  ASSERT_TRUE(win.previous());
  EXPECT_EQ(+rec.UID, 5u);
}

TEST_P(StoreFile, EachLayoutOpensOnlyItsOwnStore) {
  const std::string sales = storeFileName();
  ASSERT_TRUE(win.close());
  WindowControls001 first{};
  kf::File old(win001Decl(), &first);
  EXPECT_FALSE(old.open());
  EXPECT_EQ(kf::errorCode(), kf::kErrLayout);

  setStoreFileName(stores.name("OLD.wevo"));
  ASSERT_TRUE(old.create());
  ASSERT_TRUE(old.open());
  ASSERT_TRUE(old.close());
  EXPECT_FALSE(win.open());
  EXPECT_EQ(kf::errorCode(), kf::kErrLayout);

  // WIN2 is the same layout as WIN: it opens WIN's store, not the old one.
  WindowControls other{};
  kf::File win2(win2Decl(), &other);
  EXPECT_FALSE(win2.open());
  EXPECT_EQ(kf::errorCode(), kf::kErrLayout);
  setStoreFileName(sales);
  EXPECT_TRUE(win2.open()) << kf::errorText();

  if (stores.server()) return;  // a server keeps its bytes itself
  // The label appears nowhere in the protected file.
  std::ifstream in(sales, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_GT(bytes.size(), 0u);
  EXPECT_EQ(bytes.find(kTableLabel), std::string::npos);
}

TEST_P(StoreFile, BrowseViewListsOneWindowsRowsByLabelReadingOnlyThem) {
  // Three procedures, two markers, six labels each, interleaved.
  const char* labels[] = {"?Zeta", "?alpha", "WINDOW", "?Beta", "?gamma", "?Delta"};
  uint32_t uid = 0;
  for (const char* label : labels)
    for (const char* procedure : {"Main", "Browse", "Report"})
      for (const char* marker : {"M1", "M2"}) {
        ++uid;
        addRow(uid, procedure, marker, label, static_cast<int32_t>(uid));
      }

  char sortSave[80];
  char locMarker[80];
  text::assign(sortSave, "browse");
  text::assign(locMarker, "m2");
  WindowControls other{};
  kf::View view(win);
  view.bind("BRW1::Sort1:Save:WIN:ProcedureName", sortSave, sizeof sortSave);
  view.bind("LOC:UniqueMarker", locMarker, sizeof locMarker);
  view.bindRecord(winDecl(), &rec);
  view.bindRecord(win2Decl(), &other);
  view.setOrder("+UPPER(WIN:ProcedureName),+UPPER(WIN:UniqueMarker),+UPPER(WIN:ControlLabel)");
  view.setFilter(
      "UPPER(WIN:ProcedureName) = UPPER(BRW1::Sort1:Save:WIN:ProcedureName) AND UPPER(WIN:UniqueMarker) = "
      "UPPER(LOC:UniqueMarker)");
  ASSERT_TRUE(view.open()) << kf::errorText() << " " << kf::driverErrorText();

  // Positioned at (procedure, marker, blank label), as the browse starts.
  kf::clearRecord(winDecl(), &rec);
  text::assign(rec.PROCEDURENAME, "Browse");
  text::assign(rec.UNIQUEMARKER, "M2");
  kf::resetRowsRead();
  ASSERT_TRUE(view.setAt());
  std::vector<std::string> listed;
  while (view.next()) {
    EXPECT_EQ(text::clipped(rec.PROCEDURENAME), "Browse");
    EXPECT_EQ(text::clipped(rec.UNIQUEMARKER), "M2");
    listed.emplace_back(text::clipped(rec.CONTROLLABEL));
  }
  EXPECT_EQ(kf::errorCode(), kf::kErrNoRecord);
  EXPECT_EQ(listed, (std::vector<std::string>{"?alpha", "?Beta", "?Delta", "?gamma", "?Zeta", "WINDOW"}));
  EXPECT_EQ(kf::rowsRead(), 6u);
}

}  // namespace
}  // namespace wevo::store
