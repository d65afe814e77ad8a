#include "calc/load_cases.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "calc/coefficient_settings.h"
#include "calc/errors.h"

namespace tavilo {
namespace {

using Ratios = std::array<double, 3>;

struct Expected {
  int caseIndex;
  WindSide side;
  double total;
  std::string label;
};

// G+P = 227, Ww+ = 294, Ww− = −1951.
void expectCombinations(const Ratios& g, const Ratios& w, const Ratios& s, int snow,
                        const std::vector<Expected>& cases) {
  for (const auto& e : cases) {
    const CaseCombination c = combineLoads(e.caseIndex, e.side, g, w, s, 227, 294, -1951, snow);
    EXPECT_DOUBLE_EQ(c.total, e.total) << e.label;
    EXPECT_EQ(c.label, e.label);
  }
}

TEST(CombineLoads, DefaultRatiosOfOrdinaryAndHeavySnowSites) {
  expectCombinations({1, 1, 1}, {0, 0, 1}, {0, 1, 0}, 600,
                     {{kLongTerm, WindSide::Positive, 227, "G+P"},
                      {kShortTermSnow, WindSide::Positive, 827, "G+P+1S"},
                      {kShortTermStorm, WindSide::Positive, 521, "G+P+1W(正)"},
                      {kShortTermStorm, WindSide::Negative, -1724, "G+P+1W(負)"}});
  expectCombinations({1, 1, 1}, {0, 0, 1}, {0.7, 1, 0.35}, 3000,
                     {{kLongTerm, WindSide::Positive, 2327, "G+P+0.7S"},
                      {kShortTermSnow, WindSide::Positive, 3227, "G+P+1S"},
                      {kShortTermStorm, WindSide::Positive, 1571, "G+P+0.35S+1W(正)"},
                      {kShortTermStorm, WindSide::Negative, -674, "G+P+0.35S+1W(負)"}});
  // The storm without snow: the run sets the storm snow ratio to 0.
  expectCombinations({1, 1, 1}, {0, 0, 1}, {0.7, 1, 0}, 3000,
                     {{kShortTermStorm, WindSide::Negative, -1724, "G+P+1W(負)"}});
}

TEST(CombineLoads, RatiosShapeTheLabel) {
  expectCombinations({1.2, 0, 1}, {5, 0.5, 1}, {0, 1, 0}, 600,
                     {// A long-term W ratio never brings wind in.
                      {kLongTerm, WindSide::Positive, 227 * 1.2, "1.2(G+P)"},
                      {kShortTermSnow, WindSide::Positive, 600 + 147, "0(G+P)+1S+0.5W(正)"},
                      {kShortTermSnow, WindSide::Negative, 600 - 975.5, "0(G+P)+1S+0.5W(負)"}});
  // A snow load of 0 drops the snow term whatever its ratio.
  expectCombinations({1, 1, 1}, {0, 1, 1}, {1, 1, 1}, 0,
                     {{kShortTermSnow, WindSide::Positive, 521, "G+P+1W(正)"}});
  EXPECT_THROW(combineLoads(3, WindSide::Positive, {}, {}, {}, 227, 294, -1951, 600),
               std::out_of_range);
}

CaseLineLoads negativeSide(int spans, bool left, bool right, double w = -1951, double wall = 1638) {
  return caseLineLoads(w, 227, 1, 1, 0.35, 1, WindSide::Negative, 600, spans, left, right, wall);
}

TEST(CaseLineLoads, SpansCarryDeadWindAndSnowPerMetreWidth) {
  const CaseLineLoads l =
      caseLineLoads(294, 227, 1, 1, 0.35, 1, WindSide::Positive, 3000, 3, true, true, 1638);
  EXPECT_NEAR(l.lineLoads[2], -0.521, 1e-12);
  EXPECT_NEAR(l.endIntensities[2][1], -1.05, 1e-12);
  EXPECT_DOUBLE_EQ(l.lineLoads[3], 0);
  EXPECT_EQ(l.hasOverhangLineLoad, (std::array<bool, 4>{}));  // positive side
  EXPECT_THROW(negativeSide(0, false, false), UserError);
  EXPECT_THROW(negativeSide(5, false, false), UserError);
}

TEST(CaseLineLoads, NegativeSideOverhangsAddTheWallPressure) {
  const CaseLineLoads left = negativeSide(3, true, false);
  EXPECT_NEAR(left.lineLoads[0], 1.724, 1e-12);
  EXPECT_NEAR(left.overhangLineLoads[0], -0.227 + 3.589, 1e-12);
  EXPECT_EQ(left.hasOverhangLineLoad, (std::array<bool, 4>{true, false, false, false}));
  const CaseLineLoads right = negativeSide(3, false, true);
  EXPECT_EQ(right.hasOverhangLineLoad, (std::array<bool, 4>{false, false, true, false}));
  EXPECT_NEAR(right.overhangLineLoads[2], 3.362, 1e-12);
  EXPECT_EQ(negativeSide(3, false, false).hasOverhangLineLoad, (std::array<bool, 4>{}));
  EXPECT_EQ(negativeSide(1, true, true).hasOverhangLineLoad,
            (std::array<bool, 4>{true, false, false, false}));
}

TEST(CaseLineLoads, DirectInputNeverReusesAnEarlierWallPressure) {
  CaLC_DATA data;
  data.roughnessIndex = 2;
  data.eavesHeightH1 = 1000;
  data.buildingHeightH2 = 1500;
  data.spanDirectionLengthD = 2000;
  data.windSpeedV0 = 34;
  const WindDerivation earlier = deriveWindLoad(data);
  EXPECT_DOUBLE_EQ(wallPressureFor(kCalcMethodNotices, &earlier), 1638);
  EXPECT_DOUBLE_EQ(wallPressureFor(kCalcMethodDirect, &earlier), 0);
  EXPECT_DOUBLE_EQ(wallPressureFor(kCalcMethodNotices, nullptr), 0);

  // Directly entered Ww− = −1200: the overhang carries the roof suction only.
  const CaseLineLoads direct =
      negativeSide(2, true, false, -1200, wallPressureFor(kCalcMethodDirect, &earlier));
  EXPECT_NEAR(direct.overhangLineLoads[0], 0.973, 1e-12);
}

}  // namespace
}  // namespace tavilo
