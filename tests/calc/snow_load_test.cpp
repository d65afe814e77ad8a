#include "calc/snow_load.h"

#include <gtest/gtest.h>

#include "calc/coefficient_settings.h"
#include "calc/wind_load.h"

namespace tavilo {
namespace {

// An ordinary site, ρ = 20; the defaults are the worked example (d = 30 cm,
// D = 20000 mm).
DesignConditions snowConditions(int depth = 30, double lengthMm = 20000) {
  DesignConditions c;
  c.snowDepth = depth;
  c.snowLoad = computeSnowLoad(kCalcMethodNotices, 20, depth, 100);
  c.spanDirectionLengthD = lengthMm * 0.1;
  return c;
}

struct Surcharged {
  DesignConditions conditions;
  SnowDerivation derivation;
};

Surcharged surcharge(DesignConditions c, int roofAngle, int calcMethod = kCalcMethodNotices) {
  SnowDerivation d;
  d.dr = -1;  // survives when the check does not apply
  applySnowSurcharge(c, calcMethod, roofAngle, d);
  return {c, d};
}

bool skipped(const DesignConditions& c, int roofAngle) {
  const auto [out, d] = surcharge(c, roofAngle);
  return out.snowIncreaseState == kSnowIncreaseNone && out.snowIncreaseFactor == 1.0 &&
         out.snowLoad == c.snowLoad && d.dr == -1;
}

TEST(SnowLoad, WorkedExampleOfTheSurcharge) {
  const auto [c, d] = surcharge(snowConditions(), 5);
  EXPECT_DOUBLE_EQ(d.dr, 0.06);
  EXPECT_DOUBLE_EQ(d.muB, 0.996);
  EXPECT_DOUBLE_EQ(c.snowIncreaseFactor, 1.15);
  EXPECT_EQ(c.snowIncreaseState, kSnowIncreaseApplied);
  EXPECT_EQ(c.snowLoad, 690);
}

TEST(SnowLoad, DirectInputIsUsedUnchanged) {
  EXPECT_EQ(computeSnowLoad(kCalcMethodDirect, 20, 30, 1234), 1234);
  DesignConditions c = snowConditions();
  c.snowLoad = 1234;
  const auto [out, d] = surcharge(c, 5, kCalcMethodDirect);
  EXPECT_EQ(out.snowLoad, 1234);
  EXPECT_EQ(out.snowIncreaseState, kSnowIncreaseNone);
  EXPECT_DOUBLE_EQ(out.snowIncreaseFactor, 0.0);
  EXPECT_DOUBLE_EQ(d.dr, -1);
}

TEST(SnowLoad, SurchargeOnlyForLightSnowOnLargeLowRoofs) {
  DesignConditions heavy = snowConditions(100, 90000);
  heavy.heavySnow = true;
  EXPECT_TRUE(skipped(heavy, 0));
  EXPECT_TRUE(skipped(snowConditions(30, 9990), 5));
  EXPECT_FALSE(skipped(snowConditions(30, 10000), 5));
  EXPECT_TRUE(skipped(snowConditions(14), 5));
  EXPECT_FALSE(skipped(snowConditions(15), 5));
  EXPECT_TRUE(skipped(snowConditions(), 16));
  EXPECT_FALSE(skipped(snowConditions(), 15));
}

TEST(SnowLoad, DrTableRowsAndColumns) {
  struct Row {
    double lengthMm;
    int angle;
    double dr;
  };
  for (const Row& r : {Row{10000, 5, 0.04}, Row{10000, 15, 0.01}, Row{10000, -3, 0.05},
                       Row{10000, 0, 0.05}, Row{10000, 2, 0.05}, Row{20000, 2, 0.07},
                       Row{60000, 2, 0.14}, Row{60000, 5, 0.11}, Row{60000, 15, 0.03},
                       // 0.01 + 30 · (0.03 − 0.01) / 40 is 0.025 exactly; in double
                       // arithmetic it lands a hair below, which the rounding
                       // rule counts as the half step itself.
                       Row{40000, 15, 0.03}}) {
    EXPECT_DOUBLE_EQ(surcharge(snowConditions(30, r.lengthMm), r.angle).derivation.dr, r.dr)
        << r.lengthMm << " mm, " << r.angle << " deg";
  }
  EXPECT_EQ(surcharge(snowConditions(30, 10000), 5).conditions.snowLoad, 642);
}

TEST(SnowLoad, FactorBelowOneKeepsTheLoadAndRecordsTheRawValue) {
  const auto [c, d] = surcharge(snowConditions(99, 10000), 15);
  EXPECT_EQ(c.snowIncreaseState, kSnowIncreaseRaised);
  EXPECT_DOUBLE_EQ(c.snowIncreaseFactor, 1.0);
  EXPECT_DOUBLE_EQ(d.snowIncreaseFactorRaw, 0.8);
  EXPECT_EQ(c.snowLoad, 1980);
}

TEST(SnowLoad, SteepNegativeAnglesAreNotSurcharged) {
  // At −60° μb rounds to 0; below it cos(1.5 θ) is negative.
  for (int theta : {-60, -61, -90})
    EXPECT_TRUE(skipped(snowConditions(), theta)) << theta;
  EXPECT_DOUBLE_EQ(surcharge(snowConditions(), -59).derivation.muB, 0.162);

  const auto arched = [](double h2, double d) {
    CaLC_DATA c;
    c.roofClass = RoofClass::Arched;
    c.eavesHeightH1 = 3000;
    c.buildingHeightH2 = h2;
    c.spanDirectionLengthD = d;
    return c;
  };
  EXPECT_FALSE(archedRoofAngleTooSteep(3000, 1360, 1000));  // −58.6°, floored to −59
  EXPECT_TRUE(archedRoofAngleTooSteep(3000, 1300, 1000));   // −59.5°, floored to −60
  EXPECT_DOUBLE_EQ(deriveWindLoad(arched(1300, 1000)).roofAngle, -60)
      << "the wind derivation finds the same angle";
  EXPECT_TRUE(archedRoofAngleTooSteep(3000, 100, 1000));
  EXPECT_FALSE(archedRoofAngleTooSteep(3000, 100, 0));
}

}  // namespace
}  // namespace tavilo
