// The page-loaded list over a real store of many rows: what each load holds
// and how many rows it reads.
#include "browse/browse_pager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply/row_identity.h"
#include "browse/test_browse.h"
#include "platform/keyedfile/error.h"
#include "platform/keyedfile/read_counter.h"
#include "store/store_open.h"

namespace wevo::browse {
namespace {

using testing::numberedRows;
using testing::StoreFolder;
using testing::WindowControls;

constexpr int kRows = 10000;
constexpr size_t kPage = 12;

std::string label(int n) {
  char s[16];
  std::snprintf(s, sizeof s, "?F%05d", n);
  return s;
}

std::vector<std::string> labels(const BrowseQueue& q) {
  std::vector<std::string> out;
  for (const BRW1& r : q) out.emplace_back(text::clipped(r.WIN_CONTROLLABEL));
  return out;
}

std::vector<std::string> range(int from, int to) {
  std::vector<std::string> out;
  for (int i = from; i <= to; ++i) out.push_back(label(i));
  return out;
}

class BrowsePagerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new StoreFolder;
    std::vector<WindowControls> rows;
    // The procedure's 10,000 rows under "Mark", stored in reverse, among rows
    // of other markers and procedures on both sides.
    for (WindowControls& r : numberedRows("OrderForm", "Alpha", "?A", 500, 1)) rows.push_back(r);
    std::vector<WindowControls> mine = numberedRows("OrderForm", "Mark", "?F", kRows, 1000);
    for (auto it = mine.rbegin(); it != mine.rend(); ++it) rows.push_back(*it);
    for (WindowControls& r : numberedRows("OrderForm", "Zulu", "?Z", 500, 20000)) rows.push_back(r);
    for (WindowControls& r : numberedRows("OrderFormB", "Mark", "?B", 500, 30000)) rows.push_back(r);
    ASSERT_TRUE(testing::stageMany(*folder_, rows));
  }
  static void TearDownTestSuite() {
    delete folder_;
    folder_ = nullptr;
  }

  // Runs `fn` with the store open and a pager over (OrderForm, `marker`).
  void withPager(const std::string& marker, const std::function<void(BrowsePager&)>& fn) {
    ProgramResult r = folder_->run([&] {
      store::StoreUse use;
      char procedure[80], loc[80];
      text::assign(procedure, "ORDERFORM");
      text::assign(loc, marker);
      BrowsePager pager(procedure, loc);
      pager.setPageSize(kPage);
      ASSERT_TRUE(pager.Reset()) << kf::errorText();
      fn(pager);
      pager.Close();
    });
    ASSERT_TRUE(wevo::testing::endedNormally(r));
  }

  static StoreFolder* folder_;
};

StoreFolder* BrowsePagerTest::folder_ = nullptr;

TEST_F(BrowsePagerTest, PagesReadOnlyThePageAndSlideOverTheRowsBeyond) {
  withPager("mark", [](BrowsePager& p) {
    kf::resetRowsRead();
    ASSERT_TRUE(p.LoadFirst());
    EXPECT_EQ(kf::rowsRead(), kPage);
    EXPECT_EQ(labels(p.rows()), range(1, 12));
    EXPECT_EQ(text::clipped(p.rows()[0].LOC_TYPE), "ENTRY");
    EXPECT_EQ(+p.rows()[0].WIN_UID, 1000u);

    // Within the page only the selection moves.
    int selected = 3;
    kf::resetRowsRead();
    ASSERT_TRUE(p.Step(selected, 9));
    EXPECT_EQ(selected, 12);
    EXPECT_EQ(kf::rowsRead(), 0u);
    // One row past the edge: the page slides by one.
    kf::resetRowsRead();
    ASSERT_TRUE(p.Step(selected, 1));
    EXPECT_EQ(selected, 12);
    EXPECT_EQ(labels(p.rows()), range(2, 13));
    EXPECT_LE(kf::rowsRead(), 3u);  // the position taken again, its row, the new row
    // A page down from the last row.
    kf::resetRowsRead();
    ASSERT_TRUE(p.Step(selected, static_cast<int>(kPage)));
    EXPECT_EQ(selected, 12);
    EXPECT_EQ(labels(p.rows()), range(14, 25));
    EXPECT_LE(kf::rowsRead(), kPage + 2);
    // A page up from the first row.
    selected = 1;
    kf::resetRowsRead();
    ASSERT_TRUE(p.Step(selected, -static_cast<int>(kPage)));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(labels(p.rows()), range(2, 13));
    EXPECT_LE(kf::rowsRead(), kPage + 2);
    // At the very start the selection stops at the first row.
    selected = 1;
    ASSERT_TRUE(p.Step(selected, -1));
    ASSERT_TRUE(p.Step(selected, -5));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(labels(p.rows()), range(1, 12));

    // The last page, and the end stops a step.
    kf::resetRowsRead();
    ASSERT_TRUE(p.LoadLast());
    EXPECT_EQ(kf::rowsRead(), kPage);
    EXPECT_EQ(labels(p.rows()), range(kRows - 11, kRows));
    selected = 12;
    ASSERT_TRUE(p.Step(selected, 1));
    EXPECT_EQ(selected, 12);
    EXPECT_EQ(labels(p.rows()), range(kRows - 11, kRows));
    selected = 2;
    ASSERT_TRUE(p.Step(selected, static_cast<int>(kPage)));
    EXPECT_EQ(selected, 12);

    // The first and last labels, for the step table: two reads.
    std::string first, last;
    bool any = false;
    kf::resetRowsRead();
    ASSERT_TRUE(p.FirstAndLast(first, last, any));
    EXPECT_TRUE(any);
    EXPECT_EQ(first, label(1));
    EXPECT_EQ(last, label(kRows));
    EXPECT_EQ(kf::rowsRead(), 2u);
  });
}

TEST_F(BrowsePagerTest, LoadingFromARowOrALabelFillsThePageAroundIt) {
  withPager("Mark", [](BrowsePager& p) {
    size_t index = 99;
    kf::resetRowsRead();
    ASSERT_TRUE(p.LoadAtLabel("?f05000", index));
    EXPECT_EQ(labels(p.rows()), range(5000, 5011));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(kf::rowsRead(), kPage);
    const std::string at5003 = PositionOf(p.rows()[3]);

    // Between labels: the first one not before it.
    ASSERT_TRUE(p.LoadAtLabel("?F07000A", index));
    EXPECT_EQ(labels(p.rows()).front(), label(7001));

    // Near the end the rows before fill the page; the index names the row.
    ASSERT_TRUE(p.LoadAtLabel(label(kRows - 2), index));
    EXPECT_EQ(labels(p.rows()), range(kRows - 11, kRows));
    EXPECT_EQ(index, 9u);
    // Past every label: the last page, no row at or after it.
    ASSERT_TRUE(p.LoadAtLabel("?G", index));
    EXPECT_EQ(labels(p.rows()), range(kRows - 11, kRows));
    EXPECT_EQ(index, kPage);

    kf::resetRowsRead();
    ASSERT_TRUE(p.LoadFrom(at5003, label(5003), index));
    EXPECT_EQ(labels(p.rows()), range(5003, 5014));
    EXPECT_EQ(index, 0u);
    EXPECT_LE(kf::rowsRead(), kPage + 1);

    p.Remove(0);
    p.Remove(50);  // nothing there
    EXPECT_EQ(labels(p.rows()), range(5004, 5014));
  });
}

TEST_F(BrowsePagerTest, RowsOthersRemovedAreFoundAgainByTheirLabels) {
  withPager("Mark", [](BrowsePager& p) {
    ASSERT_TRUE(p.LoadFirst());
    const BRW1 fifth = p.rows()[4];
    // Another station removes the page's fifth and last rows and the row after it.
    WindowControls buffer{};
    kf::File other(store::winDecl(), &buffer);
    other.setName(folder_->path);
    other.setOwner(folder_->password);
    ASSERT_TRUE(other.open());
    for (const std::string& gone : {label(5), label(12), label(13)}) {
      apply::SetRowKey(buffer, "OrderForm", "Mark", gone);
      ASSERT_TRUE(other.get(store::KEYPROCEDUREMARKERLABEL));
      ASSERT_TRUE(other.del());
    }
    // Stepping past the removed last row goes on from its label.
    int selected = 12;
    ASSERT_TRUE(p.Step(selected, 1));
    EXPECT_EQ(selected, 12);
    EXPECT_EQ(labels(p.rows()).back(), label(14));
    EXPECT_EQ(labels(p.rows()).front(), label(2));
    // Loading from the removed fifth row starts at the label after it.
    size_t index = 9;
    ASSERT_TRUE(p.LoadFrom(PositionOf(fifth), text::field(fifth.WIN_CONTROLLABEL), index));
    EXPECT_EQ(index, 0u);
    EXPECT_EQ(labels(p.rows()), (std::vector<std::string>{label(6), label(7), label(8), label(9), label(10),
                                                          label(11), label(14), label(15), label(16), label(17),
                                                          label(18), label(19)}));
    selected = 1;
    ASSERT_TRUE(p.Step(selected, -1));
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(labels(p.rows()).front(), label(4));
    EXPECT_EQ(labels(p.rows()).back(), label(18));
    // Put them back for the other tests.
    for (int n : {5, 12, 13}) {
      buffer = testing::overrideRow(1000 + static_cast<uint32_t>(n) - 1, "OrderForm", "Mark", label(n), n, TYPE::Entry);
      ASSERT_TRUE(other.add());
    }
    ASSERT_TRUE(other.close());
  });
}

TEST_F(BrowsePagerTest, AMarkerWithoutRowsLoadsNothing) {
  withPager("Nothing", [](BrowsePager& p) {
    kf::resetRowsRead();
    ASSERT_TRUE(p.LoadFirst());
    EXPECT_TRUE(p.rows().empty());
    size_t index = 5;
    ASSERT_TRUE(p.LoadAtLabel("?F", index));
    EXPECT_EQ(index, 0u);
    int selected = 1;
    ASSERT_TRUE(p.Step(selected, 1));
    EXPECT_EQ(selected, 0);
    std::string first = "x", last = "y";
    bool any = true;
    ASSERT_TRUE(p.FirstAndLast(first, last, any));
    EXPECT_FALSE(any);
    EXPECT_EQ(kf::rowsRead(), 0u);
  });
}

}  // namespace
}  // namespace wevo::browse
