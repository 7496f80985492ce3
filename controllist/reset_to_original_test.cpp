#include "controllist/reset_to_original.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controllist/test_controllist.h"

namespace wevo::controllist {
namespace {

using apply::testing::changedFields;
using apply::testing::overrideRow;
using testing::kProcedure;
using testing::StoreFolder;
using testing::WindowControls;
using wevo::testing::endedNormally;

TEST(ResetControlToOriginal, MatchesNamesWithoutCaseAndKeepsTheOverridesIdentity) {
  StoreFolder folder;
  WindowControls original = store::testing::row(20, kProcedure, store::kOriginalMarker, "?OK");
  WindowControls override = overrideRow(3, kProcedure, "Mark", "?OK", 6, TYPE::Button);
  override.ORDER = 12;
  // Rows it must not take: another procedure's original, another label's.
  WindowControls otherProcedure = store::testing::row(21, "Invoice", store::kOriginalMarker, "?OK");
  WindowControls otherLabel = store::testing::row(22, kProcedure, store::kOriginalMarker, "?OKAY");
  ASSERT_TRUE(folder.stage({otherLabel, original, override, otherProcedure}));
  bool reset = false;
  uint32_t bufferUid = 0;
  ProgramResult r = folder.run([&] {
    reset = ResetControlToOriginal("ORDERFORM", "?OK", "mark  ");
    bufferUid = store::WIN().UID;
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_TRUE(reset);
  EXPECT_EQ(bufferUid, 3u);
  const std::vector<WindowControls> rows = folder.rows();
  ASSERT_EQ(rows.size(), 4u);
  const WindowControls& after = rows[2];
  EXPECT_EQ(+after.UID, 3u);
  EXPECT_EQ(+after.ORDER, 12);
  EXPECT_EQ(+after.FEQ, 6);
  EXPECT_EQ(text::clipped(after.UNIQUEMARKER), "Mark");
  EXPECT_EQ(changedFields(after, original), (std::vector<std::string>{"UID", "UNIQUEMARKER", "FEQ", "ORDER"}));
  // The other rows are untouched.
  EXPECT_EQ(changedFields(rows[0], otherLabel), std::vector<std::string>{});
  EXPECT_EQ(changedFields(rows[1], original), std::vector<std::string>{});
  EXPECT_EQ(changedFields(rows[3], otherProcedure), std::vector<std::string>{});
}

TEST(ResetControlToOriginal, AMissingRowChangesNothing) {
  StoreFolder folder;
  WindowControls onlyOverride = overrideRow(3, kProcedure, "Mark", "?Name", 1, TYPE::Entry);
  WindowControls onlyOriginal = store::testing::row(4, kProcedure, store::kOriginalMarker, "?OK");
  ASSERT_TRUE(folder.stage({onlyOverride, onlyOriginal}));
  const auto before = apply::testing::fileState(folder.path);
  bool noOriginal = true, noOverride = true;
  ProgramResult r = folder.run([&] {
    noOriginal = ResetControlToOriginal(kProcedure, "?Name", "Mark");
    noOverride = ResetControlToOriginal(kProcedure, "?OK", "Mark");
  });
  ASSERT_TRUE(endedNormally(r));
  EXPECT_TRUE(r.transcript.empty());
  EXPECT_FALSE(noOriginal);
  EXPECT_FALSE(noOverride);
  EXPECT_EQ(apply::testing::fileState(folder.path), before);
}

}  // namespace
}  // namespace wevo::controllist
