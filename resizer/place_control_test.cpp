#include "resizer/place_control.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "resizer/rect_printing.h"

namespace wevo::resizer {

namespace {

constexpr uint16_t V(uint16_t code) { return static_cast<uint16_t>(code * PLACE::kVertical); }
constexpr uint16_t P(uint16_t across, uint16_t down) { return static_cast<uint16_t>(across | V(down)); }

struct Case {
  std::string what;
  Rect oldParent, newParent, captured;
  uint16_t positional, resize;
  Rect want;
};

// A parent 200 x 100 at the origin grows 50 % both ways and moves to 10, 20;
// the control sits at 150, 70, 40 x 14: 10 from the right edge, 16 from the bottom.
const Rect kOld{0, 0, 200, 100};
const Rect kNew{10, 20, 300, 150};
const Rect kNearRight{150, 70, 40, 14};

TEST(PlaceRect, EachPlacementCodeAndSizeRule) {
  const uint16_t keepBoth = SIZE::KeepWidth | SIZE::KeepHeight;
  const std::vector<Case> cases = {
      {"scale", kOld, kNew, kNearRight, P(PLACE::Scale, PLACE::Scale), 0, {235, 125, 60, 21}},
      {"keep", kOld, kNew, kNearRight, P(PLACE::Keep, PLACE::Keep), keepBoth, {150, 70, 40, 14}},
      {"far edges, sizes kept", kOld, kNew, kNearRight, P(PLACE::RightEdge, PLACE::RightEdge), keepBoth,
       {260, 140, 40, 14}},
      {"far edges, distances scaled", kOld, kNew, kNearRight, P(PLACE::RightEdge, PLACE::RightEdge), 0,
       {235, 125, 60, 21}},
      {"near edges", kOld, kNew, kNearRight, P(PLACE::LeftEdge, PLACE::LeftEdge), keepBoth, {160, 90, 40, 14}},
      {"centre offset kept", kOld, kNew, kNearRight, P(PLACE::Centre, PLACE::Centre), keepBoth, {210, 115, 40, 14}},
      {"centre offset scaled", kOld, kNew, kNearRight, P(PLACE::Centre, PLACE::Centre), 0, {235, 125, 60, 21}},
      {"follows the centre, size scaled", kOld, kNew, kNearRight, P(PLACE::FollowCentre, PLACE::FollowCentre), 0,
       {210, 115, 60, 21}},
      {"nearer edge: right and bottom", kOld, kNew, kNearRight, P(PLACE::NearerEdge, PLACE::NearerEdge), keepBoth,
       {260, 140, 40, 14}},
      {"nearer edge: left and top", kOld, kNew, {20, 10, 40, 14}, P(PLACE::NearerEdge, PLACE::NearerEdge), keepBoth,
       {30, 30, 40, 14}},
      {"nearer edge: a tie goes to the far edge", kOld, kNew, {80, 43, 40, 14},
       P(PLACE::NearerEdge, PLACE::NearerEdge), keepBoth, {190, 113, 40, 14}},
      {"margins kept", kOld, kNew, kNearRight, P(PLACE::LeftEdge, PLACE::LeftEdge),
       SIZE::RightMargin | SIZE::BottomMargin, {160, 90, 140, 64}},
      {"half the margin change", kOld, kNew, kNearRight, P(PLACE::LeftEdge, PLACE::LeftEdge),
       SIZE::HalfRightMargin | SIZE::HalfBottomMargin, {160, 90, 90, 39}},
      {"width kept, height scaled", kOld, kNew, kNearRight, P(PLACE::Scale, PLACE::Scale), SIZE::KeepWidth,
       {235, 125, 40, 21}},
      {"axes apart: far edge across, kept down", kOld, kNew, kNearRight, P(PLACE::RightEdge, PLACE::Keep), keepBoth,
       {260, 70, 40, 14}},
      {"right margin over a scaled position", kOld, kNew, kNearRight, P(PLACE::Scale, PLACE::Scale),
       SIZE::RightMargin, {235, 125, 65, 21}},
      {"unknown codes scale", kOld, kNew, kNearRight, P(64, 64), 0, {235, 125, 60, 21}},
      {"left of the parent: halves round away from zero", kOld, {0, 0, 300, 150}, {-5, 0, 15, 10},
       P(PLACE::Scale, PLACE::Scale), 0, {-8, 0, 23, 15}},
      {"the factor has four places (2/3 is 0.6667)", {0, 0, 30000, 100}, {0, 0, 20000, 100}, {6002, 0, 10, 10},
       P(PLACE::Scale, PLACE::Scale), keepBoth, {4002, 0, 10, 10}},
      {"a parent without size scales nothing", {0, 0, 0, 0}, {0, 0, 100, 50}, {5, 5, 10, 10},
       P(PLACE::Scale, PLACE::Scale), 0, {5, 5, 10, 10}},
      {"half of an odd margin change rounds up", kOld, {0, 0, 201, 100}, {10, 10, 50, 10},
       P(PLACE::LeftEdge, PLACE::LeftEdge), SIZE::HalfRightMargin | SIZE::KeepHeight, {10, 10, 51, 10}},
      {"a child of a moved control keeps its offset inside it", {40, 30, 100, 60}, {60, 45, 150, 90},
       {50, 40, 20, 10}, P(PLACE::LeftEdge, PLACE::LeftEdge), keepBoth, {70, 55, 20, 10}},
      {"same parent, same place", kOld, kOld, kNearRight, P(PLACE::Centre, PLACE::NearerEdge), 0, kNearRight},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceRect(c.oldParent, c.newParent, c.captured, c.positional, c.resize), c.want) << c.what;
}

TEST(PlaceRect, ScaleFactorsOfGrownShrunkAndEmptyParents) {
  EXPECT_EQ(ScaleFactor(450, 300).str(), "1.5");
  EXPECT_EQ(ScaleFactor(200, 300).str(), "0.6667");
  EXPECT_EQ(ScaleFactor(400, 300).str(), "1.3333");
  EXPECT_EQ(ScaleFactor(300, 300).str(), "1");
  EXPECT_EQ(ScaleFactor(100, 0).str(), "1");
  EXPECT_EQ(ScaleFactor(0, 100).str(), "0");
}

}  // namespace
}  // namespace wevo::resizer
