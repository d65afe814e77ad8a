#include "calc/wind_load.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "calc/errors.h"

namespace tavilo {
namespace {

// Roughness Ⅲ, V0 34 m/s, closed building; heights and D in cm. The defaults
// are the worked example: H1 10000 mm, H2 15000 mm, D 20000 mm, pitched roof.
CaLC_DATA windData(double h1 = 1000, double h2 = 1500, double d = 2000,
                   RoofClass roofClass = RoofClass::Pitched, int buildingShape = 0) {
  CaLC_DATA data;
  data.roughnessIndex = 2;
  data.windSpeedV0 = 34;
  data.eavesHeightH1 = h1;
  data.buildingHeightH2 = h2;
  data.spanDirectionLengthD = d;
  data.roofClass = roofClass;
  data.buildingShape = buildingShape;
  return data;
}

TEST(Interpolate, ClampsAtBothEndsAndHitsNodesExactly) {
  constexpr std::array<double, 3> xs = {10, 20, 30};
  constexpr std::array<double, 3> ys = {-3.2, -5.4, -3.2};
  EXPECT_DOUBLE_EQ(interpolate(3, xs, ys, -5), -3.2);
  EXPECT_DOUBLE_EQ(interpolate(3, xs, ys, 20), -5.4);
  EXPECT_DOUBLE_EQ(interpolate(3, xs, ys, 99), -3.2);
  EXPECT_NEAR(interpolate(3, xs, ys, 25), -4.3, 1e-12);
  EXPECT_DOUBLE_EQ(interpolate(2, xs, ys, 25), -5.4);  // only the first n points count
  EXPECT_THROW(interpolate(4, xs, ys, 15), std::invalid_argument);
}

TEST(WindLoad, WorkedExampleOfAClosedPitchedRoof) {
  const WindDerivation w = deriveWindLoad(windData());
  EXPECT_DOUBLE_EQ(w.meanHeight, 12.5);
  EXPECT_DOUBLE_EQ(w.roofAngle, 14);
  EXPECT_DOUBLE_EQ(w.er, 0.83021);
  EXPECT_DOUBLE_EQ(w.velocityPressure, 478.0);
  EXPECT_DOUBLE_EQ(w.gpe, 2.928);
  EXPECT_DOUBLE_EQ(w.cpe, 0.04);
  EXPECT_EQ(w.windPositive, 294);
  EXPECT_EQ(w.zoneCoefficients, (std::array<double, 4>{-2.5, -3.2, -3.86, -4.08}));
  EXPECT_EQ(w.pressureNegative, (std::array<int, 4>{-1195, -1530, -1846, -1951}));
  EXPECT_EQ(w.windNegative, -1951);
  EXPECT_DOUBLE_EQ(w.wallCpe, 1.0);
  EXPECT_DOUBLE_EQ(w.wallGpe, 2.928);
  EXPECT_NEAR(w.wallCf, 3.428, 1e-12);
  EXPECT_DOUBLE_EQ(w.wallPressure, 1638);
  EXPECT_DOUBLE_EQ(w.overhangPressure, -3589);
  // A pitched roof leaves the arched and canopy slots unset.
  EXPECT_DOUBLE_EQ(w.hOverD, -99999.0);
  EXPECT_EQ(w.pressurePositive[1], -99999);
}

TEST(WindLoad, OpenBuildingShapesShiftEveryNetCoefficient) {
  const WindDerivation up = deriveWindLoad(windData(1000, 1500, 2000, RoofClass::Pitched, 1));
  EXPECT_EQ(up.windPositive, -662);  // a building open to the wind: suction
  EXPECT_EQ(up.windNegative, -2668);
  EXPECT_DOUBLE_EQ(up.wallPressure, 682);
  const WindDerivation down = deriveWindLoad(windData(1000, 1500, 2000, RoofClass::Pitched, 2));
  EXPECT_EQ(down.windPositive, 629);
  EXPECT_EQ(down.windNegative, -1377);
  EXPECT_DOUBLE_EQ(down.overhangPressure, -1377 - 1973);
}

TEST(WindLoad, PitchedRoofAngleColumns) {
  struct Row {
    double h2, d, angle, cpe, cornerZone, ridgeZone;
  };
  for (const Row& r : {Row{1100, 2000, 2, 0.0, -4.3, -3.2}, Row{1589, 1000, 30, 0.2, -3.2, -3.2},
                       Row{2018, 1000, 45, 0.4, -3.2, -3.2}}) {
    const WindDerivation w = deriveWindLoad(windData(1000, r.h2, r.d));
    EXPECT_DOUBLE_EQ(w.roofAngle, r.angle);
    EXPECT_DOUBLE_EQ(w.cpe, r.cpe) << r.angle;
    EXPECT_DOUBLE_EQ(w.zoneCoefficients[2], r.cornerZone) << r.angle;
    EXPECT_DOUBLE_EQ(w.zoneCoefficients[3], r.ridgeZone) << r.angle;
  }
  EXPECT_DOUBLE_EQ(deriveWindLoad(windData(1000, 1374, 1000)).zoneCoefficients[3], -5.4);
  EXPECT_DOUBLE_EQ(deriveWindLoad(windData(1500, 1000, 2000)).roofAngle, 14);
  EXPECT_DOUBLE_EQ(deriveWindLoad(windData(1000, 1500, 0)).roofAngle, 0);
}

TEST(WindLoad, LowBuildingsUseTheReferenceHeight) {
  const auto atHeight = [](double h, int roughness) {
    CaLC_DATA data = windData(h, h);
    data.roughnessIndex = roughness;
    return deriveWindLoad(data);
  };
  // H = Zb = 5 m gives the same Er through either branch.
  EXPECT_DOUBLE_EQ(atHeight(400, 0).er, 1.14961);
  EXPECT_DOUBLE_EQ(atHeight(500, 0).er, 1.14961);
  EXPECT_GT(atHeight(600, 0).er, 1.14961);
  EXPECT_DOUBLE_EQ(atHeight(400, 0).wallGpe, 2.2);
  EXPECT_DOUBLE_EQ(atHeight(400, 0).wallCpe, 1.0);
  EXPECT_DOUBLE_EQ(atHeight(600, 3).er, floorTo(1.7 * std::pow(10.0 / 550, 0.27), 5));
}

TEST(WindLoad, RoughnessCategoriesAndTheirGustFactors) {
  struct Row {
    double zb;
    int zg;
    double alpha, gpeLow, gpeHigh;
  };
  const std::array<Row, 4> rows = {{{5, 250, 0.10, 2.2, 1.9},
                                    {5, 350, 0.15, 2.6, 2.1},
                                    {5, 450, 0.20, 3.1, 2.3},
                                    {10, 550, 0.27, 3.1, 2.3}}};
  for (int roughness = 0; roughness < 4; ++roughness) {
    const Row& r = rows[static_cast<size_t>(roughness)];
    CaLC_DATA low = windData(500, 500);  // H = 5 m
    low.roughnessIndex = roughness;
    CaLC_DATA high = windData(4000, 4000);  // H = 40 m
    high.roughnessIndex = roughness;
    const WindDerivation w = deriveWindLoad(low);
    EXPECT_DOUBLE_EQ(w.zb, r.zb) << roughness;
    EXPECT_EQ(w.zg, r.zg) << roughness;
    EXPECT_DOUBLE_EQ(w.roughnessAlpha, r.alpha) << roughness;
    EXPECT_DOUBLE_EQ(w.gpe, r.gpeLow) << roughness;
    EXPECT_DOUBLE_EQ(deriveWindLoad(high).gpe, r.gpeHigh) << roughness;
    EXPECT_DOUBLE_EQ(deriveWindLoad(high).wallGpe, r.gpeHigh) << roughness;
  }
}

TEST(WindLoad, ArchedRoofClampsHOverDAndEvaluatesTwoZones) {
  // f/d = 0.025 below the table takes the value at 0.05 of the column halfway
  // between h/d = 0 and 0.5.
  const WindDerivation shallow = deriveWindLoad(windData(500, 550, 2000, RoofClass::Arched, 1));
  EXPECT_DOUBLE_EQ(shallow.fOverD, 0.025);
  EXPECT_DOUBLE_EQ(shallow.hOverD, 0.25);
  EXPECT_DOUBLE_EQ(shallow.cpe, 0.05);
  EXPECT_EQ(shallow.negativeCount, 2);
  // The unused slots carry the sentinel less Cpi and never become pressures.
  EXPECT_DOUBLE_EQ(shallow.cfNegative[3], -99999.0 - 1.5);
  EXPECT_EQ(shallow.pressureNegative[2], -99999);
  EXPECT_EQ(shallow.windNegative, static_cast<int>(std::floor(shallow.velocityPressure * -4.7)));

  const WindDerivation tall = deriveWindLoad(windData(1000, 1600, 1500, RoofClass::Arched));
  EXPECT_DOUBLE_EQ(tall.hOverD, 0.5);  // H1 ≥ D/2
  EXPECT_DOUBLE_EQ(tall.cpe, 0.4);
  const WindDerivation flat = deriveWindLoad(windData(1000, 1500, 0, RoofClass::Arched));
  EXPECT_DOUBLE_EQ(flat.hOverD, 0);
  EXPECT_DOUBLE_EQ(flat.cpe, 0.1);
  // The signed difference: a crown below the eaves tilts the roof downward.
  EXPECT_DOUBLE_EQ(deriveWindLoad(windData(1500, 1000, 2000, RoofClass::Arched)).roofAngle, -15);
}

TEST(WindLoad, CanopyIgnoresTheBuildingShapeExceptForTheWall) {
  const WindDerivation a = deriveWindLoad(windData(1000, 1500, 2000, RoofClass::Canopy, 0));
  const WindDerivation b = deriveWindLoad(windData(1000, 1500, 2000, RoofClass::Canopy, 2));
  EXPECT_DOUBLE_EQ(a.cpiNegative, -99999.0);
  EXPECT_EQ(a.positiveCount, 2);
  EXPECT_DOUBLE_EQ(a.cfNegative[1], -3.6);           // windward −0.9 · 4.0
  EXPECT_EQ(a.windNegative, a.pressureNegative[3]);  // leeward −0.94 · 4.0
  EXPECT_EQ(a.pressurePositive, b.pressurePositive);
  EXPECT_EQ(a.pressureNegative, b.pressureNegative);
  EXPECT_NE(a.wallPressure, b.wallPressure);

  // Wing canopy at θ = 20: both positive coefficients are 0.5; the windward stays.
  CaLC_DATA wing = windData(1000, 1374, 1000, RoofClass::Canopy);
  wing.roofShape = 1;
  const WindDerivation tie = deriveWindLoad(wing);
  EXPECT_DOUBLE_EQ(tie.zoneCoefficients[0], 0.5);
  EXPECT_DOUBLE_EQ(tie.zoneCoefficients[2], 0.5);
  EXPECT_EQ(tie.windPositive, tie.pressurePositive[0]);
}

TEST(WindLoad, ARoughnessOutsideItsListIsReported) {
  CaLC_DATA data = windData();
  data.roughnessIndex = 4;
  EXPECT_THROW(deriveWindLoad(data), UserError);
}

}  // namespace
}  // namespace tavilo
