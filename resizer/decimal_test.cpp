#include "resizer/decimal.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace wevo::resizer {
namespace {

TEST(Decimal, QuotientsRoundToTheirPlacesHalvesAwayFromZero) {
  EXPECT_EQ(Decimal::quotient(2, 3, 4).str(), "0.6667");
  EXPECT_EQ(Decimal::quotient(4, 3, 4).str(), "1.3333");
  EXPECT_EQ(Decimal::quotient(-2, 3, 4).str(), "-0.6667");
  EXPECT_EQ(Decimal::quotient(2, -3, 4).str(), "-0.6667");
  EXPECT_EQ(Decimal::quotient(-2, -3, 4).str(), "0.6667");
  EXPECT_EQ(Decimal::quotient(3, 2, 4).str(), "1.5");
  EXPECT_EQ(Decimal::quotient(1, 20000, 4).str(), "0.0001");   // exactly half of the last place: up
  EXPECT_EQ(Decimal::quotient(1, 20001, 4).str(), "0");        // just under half: down
  EXPECT_EQ(Decimal::quotient(-1, 20000, 4).str(), "-0.0001");
  EXPECT_EQ(Decimal::quotient(5, 2, 0).str(), "3");
  EXPECT_EQ(Decimal::quotient(450, 300, 4), Decimal::quotient(3, 2, 8));
}

TEST(Decimal, SumsProductsAndHalvesStayExact) {
  Decimal s = Decimal::quotient(2, 3, 4);  // 0.6667
  EXPECT_EQ((Decimal::whole(6002) * s).str(), "4001.5334");
  EXPECT_EQ((Decimal::whole(7).half() * s).str(), "2.33345");  // a half times a four-place factor
  EXPECT_EQ((Decimal::whole(10) - Decimal::whole(25).half()).str(), "-2.5");
  EXPECT_EQ((Decimal::whole(-3) + Decimal::whole(1).half()).str(), "-2.5");
  EXPECT_EQ(Decimal::whole(-7).half().str(), "-3.5");
  EXPECT_EQ(Decimal().str(), "0");
}

TEST(Decimal, WholeNumbersRoundToNearestAndClampToThirtyTwoBits) {
  EXPECT_EQ(Decimal::quotient(45, 2, 4).toInt32(), 23);
  EXPECT_EQ(Decimal::quotient(-45, 2, 4).toInt32(), -23);
  EXPECT_EQ(Decimal::quotient(449, 20, 4).toInt32(), 22);   // 22.45
  EXPECT_EQ(Decimal::quotient(-449, 20, 4).toInt32(), -22);
  EXPECT_EQ((Decimal::whole(6002) * Decimal::quotient(2, 3, 4)).toInt32(), 4002);
  EXPECT_EQ(Decimal::whole(int64_t{INT32_MAX} + 5).toInt32(), INT32_MAX);
  EXPECT_EQ(Decimal::whole(int64_t{INT32_MIN} - 5).toInt32(), INT32_MIN);
  Decimal huge = Decimal::whole(INT32_MAX) * Decimal::whole(INT32_MAX);
  EXPECT_EQ(huge.toInt32(), INT32_MAX);
  EXPECT_EQ((Decimal::whole(INT32_MIN) * Decimal::whole(INT32_MAX)).toInt32(), INT32_MIN);
}

}  // namespace
}  // namespace wevo::resizer
