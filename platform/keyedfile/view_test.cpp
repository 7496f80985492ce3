#include "platform/keyedfile/view.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/keyedfile/error.h"
#include "platform/keyedfile/test_items.h"
#include "platform/keyedfile/test_stores.h"
#include "tests/testing/base/temp_dir.h"

namespace wevo::kf {
namespace {

using testing::Item;
using testing::makeItem;

constexpr int kNames = 10;
constexpr int kMarkers = 4;
constexpr int kPerPair = 15;
const char* const kMarkerNames[kMarkers] = {"alpha", "Beta", "GAMMA", "delta"};

// Views read a file and a server's store alike.
class Views : public ::testing::TestWithParam<testing::StoreKind> {
 protected:
  void SetUp() override {
    WEVO_SKIP_WITHOUT_STORES(stores);
    testing::itemsName() = stores.name("view.db");
    testing::itemsOwner() = stores.password("pw");
    ASSERT_TRUE(file.create());
    ASSERT_TRUE(file.open());
    ASSERT_TRUE(file.stream());
    // Rows go in with pairs interleaved, so a pair's rows are spread over the
    // file; NUM counts down within a pair.
    uint32_t uid = 0;
    for (int i = 0; i < kPerPair; ++i)
      for (int n = 0; n < kNames; ++n)
        for (int m = 0; m < kMarkers; ++m) {
          rec = makeItem(++uid, "proc" + std::to_string(n), kMarkerNames[m], kPerPair - i,
                         i % 5 == 0 ? "fifth" : "");
          ASSERT_TRUE(file.add());
        }
    ASSERT_TRUE(file.flush());
    text::assign(locName, "PROC3");
    text::assign(locMarker, "beta");
    view.bind("BRW1::Sort1:Save:ITM:Name", locName, sizeof locName);
    view.bind("LOC:Marker", locMarker, sizeof locMarker);
    view.bind("LOC:Num", &locNum);
  }

  // NUMs read by walking the view forward from set() (or backward).
  std::vector<int32_t> walk(bool forward = true) {
    std::vector<int32_t> nums;
    EXPECT_TRUE(view.set()) << errorText();
    while (forward ? view.next() : view.previous()) nums.push_back(+rec.NUM);
    EXPECT_EQ(errorCode(), kErrNoRecord) << errorText();
    return nums;
  }

  static std::vector<int32_t> countDown(int from, int to) {
    std::vector<int32_t> v;
    for (int i = from; i >= to; --i) v.push_back(i);
    return v;
  }

  testing::TestStores stores{GetParam()};
  Item rec{};
  File file{testing::itemsDecl(), &rec};
  View view{file};
  char locName[20];
  char locMarker[10];
  int32_t locNum = 0;
};

INSTANTIATE_TEST_SUITE_P(Stores, Views, testing::kBothKinds, testing::kindName);

TEST_P(Views, FilterPinningTheOrderKeyReadsOnlyItsRange) {
  view.setOrder("+UPPER(ITM:Name),+UPPER(ITM:Marker)");
  view.setFilter("UPPER(ITM:Name) = UPPER(BRW1::Sort1:Save:ITM:Name) AND UPPER(ITM:Marker) = UPPER(LOC:Marker)");
  ASSERT_TRUE(view.open()) << errorText() << " " << driverErrorText();
  resetRowsRead();
  std::vector<int32_t> nums = walk();
  // Equal keys come in insertion order; every row of the pair, and no other row read.
  EXPECT_EQ(nums, countDown(kPerPair, 1));
  EXPECT_EQ(rowsRead(), static_cast<uint64_t>(kPerPair));
  EXPECT_EQ(text::clipped(rec.NAME), "proc3");
  EXPECT_EQ(text::clipped(rec.MARKER), "Beta");

  // A page: as many reads as rows shown.
  resetRowsRead();
  ASSERT_TRUE(view.set());
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(view.next());
  EXPECT_EQ(rowsRead(), 5u);

  // previous() right after set() reads the range's last row.
  ASSERT_TRUE(view.set());
  ASSERT_TRUE(view.previous());
  EXPECT_EQ(+rec.NUM, 1);
  std::vector<int32_t> backwards = walk(false);
  EXPECT_EQ(std::vector<int32_t>(backwards.rbegin(), backwards.rend()), countDown(kPerPair, 1));

  // New values are taken when the view is positioned again.
  text::assign(locName, "proc7");
  text::assign(locMarker, "DELTA");
  resetRowsRead();
  EXPECT_EQ(walk(), countDown(kPerPair, 1));
  EXPECT_EQ(text::clipped(rec.NAME), "proc7");
  EXPECT_EQ(rowsRead(), static_cast<uint64_t>(kPerPair));

  // No rows for the values: 33 at once, one query, no row read.
  text::assign(locName, "nothing");
  resetRowsRead();
  Item before = rec;
  EXPECT_TRUE(walk().empty());
  EXPECT_EQ(rowsRead(), 0u);
  EXPECT_EQ(std::memcmp(&rec, &before, sizeof rec), 0);  // buffer untouched at the end
}

TEST_P(Views, FilterOnOtherFieldsJudgesEveryRowOfTheRange) {
  view.setOrder("+UPPER(ITM:Marker),+ITM:Num");
  view.setFilter("UPPER(ITM:Marker) = UPPER(LOC:Marker) AND ITM:Note = 'fifth'");
  ASSERT_TRUE(view.open()) << errorText();
  resetRowsRead();
  std::vector<int32_t> nums = walk();
  // NUM ascending over the marker; per NUM the ten names' rows.
  ASSERT_EQ(nums.size(), 3u * kNames);
  for (size_t i = 1; i < nums.size(); ++i) EXPECT_LE(nums[i - 1], nums[i]);
  EXPECT_EQ(nums.front(), 5);
  EXPECT_EQ(nums.back(), 15);
  EXPECT_EQ(rowsRead(), static_cast<uint64_t>(kNames * kPerPair));  // the marker's rows, not the file's

  // With nothing pinned every row of the file is read.
  view.setFilter("ITM:Note = 'fifth' AND UPPER(ITM:Name) = 'PROC1'");
  ASSERT_TRUE(view.open());
  resetRowsRead();
  EXPECT_EQ(walk().size(), 3u * kMarkers);
  EXPECT_EQ(rowsRead(), static_cast<uint64_t>(kNames * kMarkers * kPerPair));
}

TEST_P(Views, NumbersDescendingOrderAndInsertionOrder) {
  locNum = 4;
  view.setOrder("-UPPER(ITM:Marker),-ITM:Num");
  view.setFilter("UPPER(ITM:Marker) = 'GAMMA' AND ITM:Num = LOC:Num");
  ASSERT_TRUE(view.open()) << errorText();
  resetRowsRead();
  std::vector<int32_t> nums = walk();
  EXPECT_EQ(nums, std::vector<int32_t>(kNames, 4));
  EXPECT_EQ(rowsRead(), static_cast<uint64_t>(kNames));  // both components pinned

  view.setFilter("UPPER(ITM:Marker) = 'ALPHA' AND ITM:Num <= 2");
  ASSERT_TRUE(view.open());
  nums = walk();
  ASSERT_EQ(nums.size(), 2u * kNames);
  EXPECT_EQ(nums.front(), 2);
  EXPECT_EQ(nums.back(), 1);

  view.setOrder("");
  view.setFilter("ITM:UID <= 3");
  ASSERT_TRUE(view.open());
  ASSERT_TRUE(view.set());
  std::vector<uint32_t> uids;
  while (view.next()) uids.push_back(+rec.UID);
  EXPECT_EQ(uids, (std::vector<uint32_t>{1, 2, 3}));
}

TEST_P(Views, StartAtBufferValuesAndPositions) {
  view.setOrder("+UPPER(ITM:Name),+UPPER(ITM:Marker)");
  view.setFilter("UPPER(ITM:Name) = UPPER(BRW1::Sort1:Save:ITM:Name)");
  ASSERT_TRUE(view.open());
  // From (proc3, "c"): GAMMA and delta's rows follow; alpha and Beta's do not.
  rec = makeItem(0, "proc3", "c", 0);
  ASSERT_TRUE(view.setAt());
  ASSERT_TRUE(view.next());
  EXPECT_EQ(text::clipped(rec.MARKER), "delta");  // NOCASE order: delta < GAMMA
  int count = 1;
  while (view.next()) ++count;
  EXPECT_EQ(count, 2 * kPerPair);

  ASSERT_TRUE(view.set());
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(view.next());
  const std::string pos = view.position();
  const uint32_t third = rec.UID;
  ASSERT_TRUE(view.next());
  ASSERT_TRUE(view.next());
  ASSERT_TRUE(view.reset(pos));
  ASSERT_TRUE(view.next());
  EXPECT_EQ(+rec.UID, third);
  ASSERT_TRUE(view.reset(pos));
  ASSERT_TRUE(view.previous());
  EXPECT_EQ(+rec.UID, third);
  // The view's position is the file's: the row comes back through the file too.
  rec.UID = 0;
  ASSERT_TRUE(file.reget(pos));
  EXPECT_EQ(+rec.UID, third);
  EXPECT_FALSE(view.reset("0"));
  EXPECT_EQ(errorCode(), kErrNoRecord);
}

TEST_P(Views, BoundRecordsNameTheirFields) {
  FileDecl second = testing::itemsDecl();
  second.prefix = "IT2";
  Item other = makeItem(0, "Proc5", "GAMMA", 0);
  view.bindRecord(second, &other);
  view.setOrder("+UPPER(ITM:Name),+UPPER(ITM:Marker)");
  view.setFilter("UPPER(ITM:Name) = UPPER(IT2:Name) AND UPPER(ITM:Marker) = UPPER(IT2:Marker)");
  ASSERT_TRUE(view.open()) << errorText() << " " << driverErrorText();
  resetRowsRead();
  EXPECT_EQ(walk(), countDown(kPerPair, 1));
  EXPECT_EQ(rowsRead(), static_cast<uint64_t>(kPerPair));
  EXPECT_EQ(text::clipped(rec.NAME), "proc5");
}

TEST_P(Views, RowsReadAreTheFilesCurrentRow) {
  view.setOrder("+UPPER(ITM:Name),+UPPER(ITM:Marker)");
  view.setFilter("UPPER(ITM:Name) = 'PROC0' AND UPPER(ITM:Marker) = 'ALPHA'");
  ASSERT_TRUE(view.open());
  ASSERT_TRUE(view.set());
  ASSERT_TRUE(file.watch());
  ASSERT_TRUE(view.next());
  const uint32_t uid = rec.UID;
  text::assign(rec.NOTE, "edited");
  ASSERT_TRUE(file.put());
  Item check{};
  File other(testing::itemsDecl(), &check);
  ASSERT_TRUE(other.open());
  check.UID = uid;
  ASSERT_TRUE(other.get(testing::KEYUID));
  EXPECT_EQ(text::clipped(check.NOTE), "edited");
  // The watch armed before the view's read holds: another station's put wins.
  check.NUM = 1000;
  ASSERT_TRUE(other.put());
  EXPECT_FALSE(file.put());
  EXPECT_EQ(errorCode(), kErrChanged);
}

TEST_P(Views, BadExpressionsAndStatesAreRefused) {
  view.setOrder("+UPPER(ITM:Note)");
  EXPECT_FALSE(view.open());
  EXPECT_EQ(errorCode(), kErrBadRequest);
  EXPECT_NE(driverErrorText().find("no key"), std::string::npos);
  view.setOrder("+ITM:Name");  // the key ignores case: plain order is another order
  EXPECT_FALSE(view.open());
  view.setOrder("+UPPER(ITM:Marker),-ITM:Num");
  EXPECT_FALSE(view.open());
  EXPECT_NE(driverErrorText().find("mixes"), std::string::npos);
  view.setOrder("+UPPER(ITM:Marker)");
  view.setFilter("ITM:Marker = LOC:Unknown");
  EXPECT_FALSE(view.open());
  EXPECT_NE(driverErrorText().find("unknown name LOC:Unknown"), std::string::npos);
  EXPECT_FALSE(view.isOpen());
  EXPECT_FALSE(view.next());
  EXPECT_EQ(errorCode(), kErrNotOpen);

  view.setFilter("");
  ASSERT_TRUE(view.open());
  EXPECT_FALSE(view.next());  // not positioned yet
  EXPECT_EQ(errorCode(), kErrNoRecord);
  ASSERT_TRUE(file.close());
  EXPECT_FALSE(view.set());
  EXPECT_EQ(errorCode(), kErrNotOpen);
  EXPECT_FALSE(view.open());
  EXPECT_EQ(errorCode(), kErrNotOpen);
}

}  // namespace
}  // namespace wevo::kf
