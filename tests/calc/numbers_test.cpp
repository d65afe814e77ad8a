#include "calc/numbers.h"

#include <gtest/gtest.h>

namespace tavilo {
namespace {

TEST(Numbers, IntegersAreSignAndDigitsWithinThirtyTwoBits) {
  EXPECT_EQ(parseInteger("401"), 401);
  EXPECT_EQ(parseInteger("-25"), -25);
  EXPECT_EQ(parseInteger("+7"), 7);
  EXPECT_EQ(parseInteger("2147483647"), 2147483647);
  EXPECT_EQ(parseInteger("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", "-", " 1", "1 ", "0x10", "12.5", "2147483648", "1e3", "abc"}) {
    EXPECT_EQ(parseInteger(bad), std::nullopt) << bad;
  }
}

TEST(Numbers, DecimalsAllowPointAndExponent) {
  EXPECT_EQ(parseDecimal("0.7"), 0.7);
  EXPECT_EQ(parseDecimal("-1.5e2"), -150.0);
  EXPECT_EQ(parseDecimal(".5"), 0.5);
  EXPECT_EQ(parseDecimal("+3"), 3.0);
  EXPECT_EQ(parseDecimal("1."), 1.0);
  for (const char* bad : {"", ".", "1..2", "1.2.3", "abc", "1e", " 1", "1,5", "0x1p3"}) {
    EXPECT_EQ(parseDecimal(bad), std::nullopt) << bad;
  }
}

TEST(Numbers, ShortestDecimalText) {
  EXPECT_EQ(shortestDecimal(1.0), "1");
  EXPECT_EQ(shortestDecimal(0.7), "0.7");
  EXPECT_EQ(shortestDecimal(0.35), "0.35");
  EXPECT_EQ(shortestDecimal(-1951.0), "-1951");
  EXPECT_EQ(shortestDecimal(0.0), "0");
  EXPECT_EQ(shortestDecimal(0.09000000000000001), "0.09");
}

TEST(Numbers, RoundingAtFixedPlaces) {
  EXPECT_EQ(roundHalfUp(12.5, 0), 13.0);
  EXPECT_EQ(roundHalfUp(-12.5, 0), -12.0);
  EXPECT_DOUBLE_EQ(roundHalfUp(0.9957, 3), 0.996);
  EXPECT_DOUBLE_EQ(floorTo(0.830219, 5), 0.83021);
  EXPECT_DOUBLE_EQ(floorTo(-2.5001, 3), -2.501);
}

}  // namespace
}  // namespace tavilo
