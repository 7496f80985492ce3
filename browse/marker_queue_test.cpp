#include "browse/marker_queue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/test_browse.h"
#include "platform/keyedfile/read_counter.h"
#include "store/store_open.h"

namespace wevo::browse {
namespace {

using testing::numberedRows;
using testing::StoreFolder;
using testing::WindowControls;

std::vector<std::string> names(const MarkerQueue& q) {
  std::vector<std::string> out;
  for (const AID& m : q) out.emplace_back(text::clipped(m.UNIQUEMARKER));
  return out;
}

TEST(MarkerQueue, EveryMarkerOfTheProcedureOnceInKeyOrderReadingARowPerMarker) {
  StoreFolder folder;
  std::vector<WindowControls> rows;
  auto add = [&](const std::string& procedure, const std::string& marker, int count) {
    for (WindowControls& r :
         numberedRows(procedure, marker, "?" + marker.substr(0, 1), count, static_cast<uint32_t>(rows.size() + 1)))
      rows.push_back(r);
  };
  add("OrderForm", "Other", 40);
  add("OrderForm", "Mark", 300);
  add("ORDERFORM", "mark", 5);  // the same marker, spelt otherwise
  add("OrderForm", store::kOriginalMarker, 200);
  add("orderform", "Zed", 3);
  add("OrderForm2", "Aardvark", 50);  // another procedure, on either side
  add("Order", "Aardvark", 50);
  ASSERT_TRUE(testing::stageMany(folder, rows));

  MarkerQueue markers, none, other;
  uint64_t reads = 0;
  ProgramResult r = folder.run([&] {
    store::StoreUse use(store::win2File());
    kf::resetRowsRead();
    FillMarkerQueue(markers, "OrderForm  ");
    reads = kf::rowsRead();
    none = {AID{}};
    FillMarkerQueue(none, "Nothing");
    FillMarkerQueue(other, "order");
  });
  ASSERT_TRUE(wevo::testing::endedNormally(r));
  EXPECT_EQ(names(markers), (std::vector<std::string>{"Mark", "Other", "WEVO_ORIGINAL", "Zed"}));
  // One row per marker and the first row past them, not the 548 rows.
  EXPECT_LE(reads, 6u);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(names(other), std::vector<std::string>{"Aardvark"});
}

}  // namespace
}  // namespace wevo::browse
