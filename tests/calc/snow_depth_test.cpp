#include "calc/snow_depth.h"

#include <gtest/gtest.h>

namespace tavilo {
namespace {

TEST(SnowDepth, DerivedDepthRoundsHalfUpToTenCentimetres) {
  const SnowCoefficients c{0.0005, 0.12, 0.21, 40};
  const auto low = deriveSnowDepth(25, 20, c);
  EXPECT_NEAR(low.computedDepthM, 0.2465, 1e-12);
  EXPECT_EQ(low.depthCm, 20);
  const auto high = deriveSnowDepth(300, 20, c);
  EXPECT_NEAR(high.computedDepthM, 0.384, 1e-12);
  EXPECT_EQ(high.depthCm, 40);
  EXPECT_EQ(deriveSnowDepth(0, 0, {0, 0, 1.25, 0}).depthCm, 130);
  EXPECT_EQ(deriveSnowDepth(0, 0, {0, 0, 1.234, 0}).depthCm, 120);
}

TEST(SnowDepth, HeavySnowFromOneMetre) {
  EXPECT_EQ(applyDepthRules(99).snowUnitWeight, 20);
  EXPECT_FALSE(applyDepthRules(99).heavySnow);
  EXPECT_EQ(applyDepthRules(100).snowUnitWeight, 30);
  EXPECT_TRUE(applyDepthRules(100).heavySnow);
}

}  // namespace
}  // namespace tavilo
