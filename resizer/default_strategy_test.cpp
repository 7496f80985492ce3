#include "resizer/default_strategy.h"

#include <gtest/gtest.h>

#include "resizer/resizer_tables.h"
#include "wevo/codes.h"

namespace wevo::resizer {
namespace {

constexpr uint16_t kNearerEdges = PLACE::NearerEdge | PLACE::NearerEdge * PLACE::kVertical;  // 16 + 4096
constexpr uint16_t kKeepSize = SIZE::KeepWidth | SIZE::KeepHeight;

TEST(DefaultStrategy, FirstStrategyByControlType) {
  for (int type : {TYPE::Button, TYPE::Check, TYPE::Radio}) {
    DefaultStrategy d = DefaultStrategyFor(1, type);
    EXPECT_EQ(d.positional, 16 + 4096) << type;
    EXPECT_EQ(d.resize, 3) << type;
  }
  for (int type : {TYPE::Entry, TYPE::Combo, TYPE::Spin, TYPE::DropCombo}) {
    DefaultStrategy d = DefaultStrategyFor(1, type);
    EXPECT_EQ(d.positional, 0) << type;
    EXPECT_EQ(d.resize, SIZE::KeepHeight) << type;
  }
  for (int type : {TYPE::SString, TYPE::String, TYPE::Image, TYPE::Region, TYPE::Box, TYPE::Prompt, TYPE::Option,
                   TYPE::Group, TYPE::List, TYPE::Text, TYPE::DropList, TYPE::Sheet, TYPE::Panel}) {
    DefaultStrategy d = DefaultStrategyFor(1, type);
    EXPECT_EQ(d.positional, 0) << type;
    EXPECT_EQ(d.resize, 0) << type;
  }
  // Strategy 2 lays out like 1; unknown strategies read as 1.
  for (int strategy : {0, 2, 6, -1, 255}) {
    EXPECT_EQ(DefaultStrategyFor(strategy, TYPE::Button).positional, kNearerEdges) << strategy;
    EXPECT_EQ(DefaultStrategyFor(strategy, TYPE::Entry).resize, SIZE::KeepHeight) << strategy;
  }
}

TEST(DefaultStrategy, OtherStrategiesKeepPositionsOrCentreOffsets) {
  for (int type : {TYPE::Button, TYPE::Entry, TYPE::List}) {
    DefaultStrategy keep = DefaultStrategyFor(3, type);
    EXPECT_EQ(keep.positional, PLACE::Keep | PLACE::Keep * PLACE::kVertical);
    EXPECT_EQ(keep.resize, kKeepSize);
    for (int strategy : {4, 5}) {
      DefaultStrategy centre = DefaultStrategyFor(strategy, type);
      EXPECT_EQ(centre.positional, PLACE::Centre | PLACE::Centre * PLACE::kVertical);
      EXPECT_EQ(centre.resize, kKeepSize);
    }
  }
  EXPECT_EQ(NormalStrategy(0), 1);
  EXPECT_EQ(NormalStrategy(5), 5);
  EXPECT_EQ(NormalStrategy(6), 1);
  EXPECT_TRUE(StrategyUsesContainers(2));
  EXPECT_TRUE(StrategyUsesContainers(4));
  EXPECT_FALSE(StrategyUsesContainers(1));
  EXPECT_FALSE(StrategyUsesContainers(3));
  EXPECT_FALSE(StrategyUsesContainers(5));
  EXPECT_FALSE(StrategyUsesContainers(7));
}

TEST(DefaultStrategy, ManagedTypesAndDropListsRecordedAsEntries) {
  for (int type : {TYPE::Menu, TYPE::Item, TYPE::MenuBar, 24, 25, TYPE::Tab, TYPE::Window, TYPE::Toolbar, -3, 200})
    EXPECT_FALSE(IsManagedType(type)) << type;
  for (int type = 1; type <= 127; ++type) {
    bool excluded = type == 19 || type == 20 || type == 22 || type == 24 || type == 25 || type == 38;
    EXPECT_EQ(IsManagedType(type), !excluded) << type;
  }
  EXPECT_EQ(RecordedType(TYPE::List, true), TYPE::Entry);
  EXPECT_EQ(RecordedType(TYPE::DropList, true), TYPE::Entry);
  EXPECT_EQ(RecordedType(TYPE::List, false), TYPE::List);
  EXPECT_EQ(RecordedType(TYPE::Combo, true), TYPE::Combo);
  EXPECT_EQ(RecordedType(TYPE::DropCombo, true), TYPE::DropCombo);
  EXPECT_EQ(RecordedType(TYPE::Button, true), TYPE::Button);
}

}  // namespace
}  // namespace wevo::resizer
