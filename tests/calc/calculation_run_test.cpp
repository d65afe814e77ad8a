#include "calc/calculation_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "calc/case_analysis.h"
#include "calc/case_titles.h"
#include "calc/catalogue.h"
#include "calc/load_cases.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

// The worked example as the gathering step leaves it: roughness Ⅲ, H1 10000,
// H2 15000, D 20000 mm, V0 34, mono-pitch closed building, KX-50-12 "Z12",
// finishing 100, live 0, d 30 cm, ρ 20, one span of 2500 mm.
DesignConditions workedExample() {
  DesignConditions c;
  c.deckType = 0;
  c.unitWeight = 127;
  c.thickness = deckThicknessOf(0);
  c.sectionModulus = deckModulusOf(0) * 1000;
  c.momentOfInertia = deckInertiaOf(0) * 10000;
  c.endJointCapacity = endJointCapacityOf(0, 0);
  c.midJointCapacity = midJointCapacityOf(0, 0);
  c.windSpeedV0 = 34;
  c.roughness = 3;
  c.eavesHeightH1 = 1000;
  c.buildingHeightH2 = 1500;
  c.spanDirectionLengthD = 2000;
  c.roofType = RoofType::MonoPitch;
  c.roofClass = RoofClass::Pitched;
  c.buildingShape = 0;
  c.snowDepth = 30;
  c.snowUnitWeight = 20;
  c.snowLoad = 600;
  c.finishingLoad = 100;
  c.liveLoad = 0;
  c.spanCount = 1;
  c.spanLengths = {2500, 0, 0, 0};
  c.totalDeckLength = 2500;
  c.beamKindName = "単純梁";
  return c;
}

struct Prepared {
  DesignConditions conditions;
  CaLC_DATA data;
  LoadDerivations derived;
};

Prepared prepare(DesignConditions c, const CoefficientSettings& settings,
                 PreparationInputs inputs = {}) {
  Prepared p{std::move(c), {}, {}};
  p.derived = prepareCalculationData(p.conditions, p.data, settings, inputs);
  return p;
}

CalculationOutcome run(const Prepared& p, const CoefficientSettings& settings) {
  return runCalculation(p.conditions, p.data, settings, p.derived.wind, p.derived.snow);
}

std::vector<double> sectionTotals(const CalculationOutcome& o) {
  std::vector<double> totals;
  for (const auto& s : o.sections)
    totals.push_back(s.analysis.sectionCaseTotal);
  return totals;
}

TEST(CalculationRun, WorkedExampleOfAnOrdinarySite) {
  const CoefficientSettings settings;
  const Prepared p = prepare(workedExample(), settings);
  ASSERT_TRUE(p.derived.wind.has_value());
  EXPECT_EQ(p.derived.wind->roofAngle, 14);
  EXPECT_EQ(p.conditions.windPositive, 294);
  EXPECT_EQ(p.conditions.windNegative, -1951);
  EXPECT_EQ(p.conditions.deadPlusLive, 227);
  // The surcharge applies, but its computed factor stays below 1.0.
  EXPECT_EQ(p.conditions.snowIncreaseState, kSnowIncreaseRaised);
  EXPECT_EQ(p.conditions.snowIncreaseFactor, 1.0);
  ASSERT_TRUE(p.derived.snow.has_value());
  EXPECT_DOUBLE_EQ(p.derived.snow->snowIncreaseFactorRaw, 0.96);
  EXPECT_EQ(p.conditions.snowLoad, 600);
  EXPECT_EQ(p.data.spanEndSnow[0][1], 600);
  EXPECT_EQ(p.data.roughnessIndex, 2);

  const CalculationOutcome o = run(p, settings);
  ASSERT_EQ(o.sections.size(), 4u);
  EXPECT_EQ(sectionTotals(o), (std::vector<double>{227, 827, 521, -1724}));
  EXPECT_EQ(caseTitle(o.sections[0].analysis), "長期Ｇ＋Ｐ");
  EXPECT_EQ(caseTitle(o.sections[1].analysis), "短期 (積雪時)Ｇ＋Ｐ＋Ｓ");
  EXPECT_EQ(caseTitle(o.sections[2].analysis), "短期（暴風時正圧）Ｇ＋Ｐ＋Ｗ");
  EXPECT_EQ(caseTitle(o.sections[3].analysis), "短期（暴風時負圧）Ｇ＋Ｐ＋Ｗ");
  EXPECT_EQ(o.sections[3].analysis.caseLabels[2], "G+P+1W(負)");
  // The storm snow ratio set to 0 for uplift does not outlive its section.
  EXPECT_EQ(o.conditions.ratioS[2], 0);
  EXPECT_EQ(o.sections[2].analysis.ratios.s, 0);

  // Long-term: M = 0.227 · 2500² / 8 = 177343.75, floored at midspan.
  const ResultsSection& longTerm = o.sections[0];
  EXPECT_EQ(longTerm.analysis.maxMoment, 177344);
  EXPECT_DOUBLE_EQ(longTerm.checks.stress.sigma, 6.8);
  EXPECT_EQ(longTerm.checks.allowableStress, 156);
  EXPECT_EQ(o.sections[1].checks.allowableStress, 235);
  EXPECT_FALSE(longTerm.checks.endJoint.has_value());
  EXPECT_EQ(longTerm.analysis.midReaction, kNoValue);

  // Uplift pulls on both end supports; a single span has no intermediate joint.
  const ResultsSection& uplift = o.sections[3];
  ASSERT_TRUE(uplift.checks.endJoint.has_value());
  EXPECT_DOUBLE_EQ(uplift.checks.endJoint->force, 1724 * 2.5 / 2);
  EXPECT_FALSE(uplift.checks.midJoint.has_value());
  EXPECT_TRUE(uplift.table.supportShears.size() == 2 && longTerm.table.supportShears.empty());
  EXPECT_EQ(o.verdict, "                     全てＯＫです ");
  EXPECT_TRUE(o.allOk);

  ASSERT_EQ(o.diagrams.blocks.size(), 4u);
  EXPECT_EQ(diagramTitle(o.diagrams.blocks[0].analysis), "長期Ｇ＋Ｐ");
  EXPECT_EQ(diagramTitle(o.diagrams.blocks[1].analysis), "短期 (積雪時)Ｇ＋Ｐ＋Ｓ");
  EXPECT_EQ(diagramTitle(o.diagrams.blocks[2].analysis), "短期（暴風時）Ｇ＋Ｐ＋Ｗ（正圧）");
  EXPECT_EQ(diagramTitle(o.diagrams.blocks[3].analysis), "短期（暴風時）Ｇ＋Ｐ＋Ｗ（負圧）");
  EXPECT_TRUE(o.diagrams.blocks[3].additional);
  EXPECT_FALSE(o.diagrams.blocks[3].heavySnowBlock);
  EXPECT_FALSE(o.diagrams.blocks[0].analysis.spanMomentSamples[0].empty());
  EXPECT_EQ(o.diagrams.blocks[0].analysis.spanMomentSamples[0].back(), kEndMarker);
  EXPECT_TRUE(o.sections[0].analysis.spanMomentSamples[0].empty());
  // The header carries the snow load itself, ratio 1.
  ASSERT_EQ(o.diagrams.header.snowLoads.size(), 1u);
  EXPECT_DOUBLE_EQ(o.diagrams.header.snowLoads[0].left, -0.6);
  EXPECT_DOUBLE_EQ(o.diagrams.blocks[1].loads[0].left, -0.827);
}

TEST(CalculationRun, HeavySnowSiteGivesFiveCases) {
  const CoefficientSettings settings;
  DesignConditions c = workedExample();
  c.heavySnow = true;
  c.snowDepth = 100;
  c.snowUnitWeight = 30;
  c.snowLoad = 3000;
  const Prepared p = prepare(c, settings);
  EXPECT_EQ(p.conditions.snowIncreaseState, kSnowIncreaseNone);
  EXPECT_FALSE(p.derived.snow.has_value());
  EXPECT_EQ(p.conditions.ratioS[0], 0.7);
  EXPECT_EQ(p.conditions.ratioS[2], 0.35);

  const CalculationOutcome o = run(p, settings);
  ASSERT_EQ(o.sections.size(), 5u);
  EXPECT_EQ(sectionTotals(o), (std::vector<double>{2327, 3227, 1571, -674, -1724}));
  EXPECT_EQ(caseTitle(o.sections[0].analysis), "長期Ｇ＋Ｐ＋0.70Ｓ");
  EXPECT_EQ(caseTitle(o.sections[2].analysis), "短期（暴風時正圧）Ｇ＋Ｐ＋0.35Ｓ＋Ｗ");
  EXPECT_EQ(caseTitle(o.sections[4].analysis), "短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗ");

  ASSERT_EQ(o.diagrams.blocks.size(), 4u);
  const DiagramBlock& extra = o.diagrams.blocks[3];
  EXPECT_EQ(diagramTitle(extra.analysis), "短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗ（負圧）");
  EXPECT_TRUE(extra.heavySnowBlock);
  EXPECT_EQ(extra.analysis.ratios.s, 0);
  EXPECT_EQ(diagramTitle(o.diagrams.blocks[0].analysis), "長期Ｇ＋Ｐ＋0.70Ｓ");
}

TEST(CalculationRun, DirectInputHasNoDerivations) {
  CoefficientSettings settings;
  settings.calcMethod = kCalcMethodDirect;
  DesignConditions c = workedExample();
  c.snowLoad = 1200;
  PreparationInputs inputs;
  inputs.directWindPositive = 500;
  inputs.directWindNegative = 1500;
  const Prepared p = prepare(c, settings, inputs);
  EXPECT_FALSE(p.derived.wind.has_value());
  EXPECT_FALSE(p.derived.snow.has_value());
  EXPECT_EQ(p.conditions.windPositive, 500);
  EXPECT_EQ(p.conditions.windNegative, -1500);
  EXPECT_EQ(p.conditions.snowLoad, 1200);  // never surcharged
  EXPECT_EQ(p.conditions.snowIncreaseFactor, 0.0);

  const CalculationOutcome o = run(p, settings);
  EXPECT_FALSE(o.wind.has_value());
  EXPECT_EQ(o.sections.size(), 4u);
  EXPECT_EQ(o.sections[3].analysis.sectionCaseTotal, 227 - 1500);
}

// Two spans of 2500 mm with overhangs of 500 mm at both ends.
Prepared withOverhangs(const CoefficientSettings& settings, int left, int right) {
  DesignConditions c = workedExample();
  c.spanCount = 2;
  c.spanLengths = {2500, 2500, 0, 0};
  PreparationInputs inputs;
  inputs.overhangCode = left > 0 && right > 0 ? 3 : (left > 0 ? 1 : 2);
  inputs.leftOverhangLength = left;
  inputs.rightOverhangLength = right;
  return prepare(c, settings, inputs);
}

TEST(CalculationRun, OverhangsOfEqualMomentCheckTheLeftOneWithoutALine) {
  const CoefficientSettings settings;
  const Prepared p = withOverhangs(settings, 500, 500);
  EXPECT_EQ(p.data.leftOverhangFlag, 1);
  EXPECT_EQ(p.data.rightOverhangFlag, 1);
  const CalculationOutcome o = run(p, settings);

  const ResultsSection& longTerm = o.sections[0];
  ASSERT_TRUE(longTerm.checks.overhang.has_value());
  EXPECT_EQ(longTerm.checks.overhang->side, OverhangSide::kLeft);
  EXPECT_TRUE(longTerm.checks.overhang->governingLine.empty());
  EXPECT_FALSE(longTerm.checks.overhang->wallPressure);
  // |w|·a²/2 with w = −0.227 N/mm.
  EXPECT_DOUBLE_EQ(longTerm.checks.overhang->moment, 0.227 * 500 * 500 / 2);
  // The table joins the overhang root to the span end at the outer supports.
  ASSERT_EQ(longTerm.table.supportMoments.size(), 3u);
  EXPECT_EQ(longTerm.table.supportMoments[0].size(), 2u);
  EXPECT_EQ(longTerm.table.supportMoments[1].size(), 2u);
  EXPECT_EQ(longTerm.table.supportMoments[2].size(), 2u);
  EXPECT_EQ(longTerm.table.deflections.size(), 4u);

  // Under uplift the curtain-wall pressure adds to the overhang load.
  const ResultsSection& uplift = o.sections[3];
  const OverhangAnalysis& left = uplift.analysis.overhangs[0];
  ASSERT_TRUE(left.hasWallLoad);
  const double wall = o.wind->wallPressure;
  EXPECT_DOUBLE_EQ(left.wallLineLoad, -0.001 * 227 * 1 - 0.001 * (-1951 - wall) * 1);
  ASSERT_TRUE(uplift.checks.overhang.has_value());
  EXPECT_TRUE(uplift.checks.overhang->wallPressure);
  EXPECT_DOUBLE_EQ(uplift.checks.overhang->moment, -left.wallLineLoad * 500 * 500 / 2);
  ASSERT_TRUE(uplift.checks.overhang->joint.has_value());
  EXPECT_DOUBLE_EQ(uplift.checks.overhang->joint->force, std::fabs(left.wallLineLoad) * 500);
  // At the first support the overhang load comes before the member end shear.
  EXPECT_DOUBLE_EQ(uplift.table.supportShears[0][0], -1724 * 500 * 1e-6);

  // Root shears of the diagram blocks: each block's own combined load.
  EXPECT_DOUBLE_EQ(o.diagrams.blocks[0].leftOverhangRootShear, 227 * 500 * 0.001);
  EXPECT_DOUBLE_EQ(o.diagrams.blocks[2].leftOverhangRootShear, 521 * 500 * 0.001);
  EXPECT_DOUBLE_EQ(o.diagrams.blocks[3].leftOverhangRootShear, -1724 * 500 * 0.001);
}

TEST(CalculationRun, LargerRightOverhangGovernsWithItsLine) {
  const CoefficientSettings settings;
  const CalculationOutcome o = run(withOverhangs(settings, 300, 600), settings);
  const auto& check = o.sections[0].checks.overhang;
  ASSERT_TRUE(check.has_value());
  EXPECT_EQ(check->side, OverhangSide::kRight);
  EXPECT_EQ(check->governingLine, kRightOverhangGovernsLine);
  EXPECT_EQ(check->length, 600);
}

TEST(CalculationRun, RightOverhangDeflectionIsTakenAtItsTip) {
  // 950 mm: the last 100 mm sample lies 50 mm short of the tip.
  const CoefficientSettings settings;
  const CalculationOutcome o = run(withOverhangs(settings, 0, 950), settings);
  const OverhangAnalysis& right = o.sections[0].analysis.overhangs[1];
  ASSERT_TRUE(right.present);
  const double lastSample = right.deflectionSamples[right.deflectionSamples.size() - 2];
  EXPECT_GT(right.tableDeflection, -lastSample);
  // The tip value of the sample formula: w·a⁴/(8EI), 0.001 mm.
  const double ei = 205000.0 * deckInertiaOf(0) * 10000;
  const double tip = 0.227 * std::pow(950.0, 4) / (8 * ei);
  EXPECT_NEAR(right.tableDeflection, tip, 0.001);
  EXPECT_DOUBLE_EQ(o.sections[0].checks.overhang->deflection.deflection, right.tableDeflection);
}

TEST(CalculationRun, TwoSpansUnderDownwardLoadCheckNoJoint) {
  const CoefficientSettings settings;
  DesignConditions c = workedExample();
  c.spanCount = 2;
  c.spanLengths = {2500, 2500, 0, 0};
  const CalculationOutcome o = run(prepare(c, settings), settings);
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(o.sections[static_cast<std::size_t>(i)].checks.endJoint.has_value()) << i;
    EXPECT_FALSE(o.sections[static_cast<std::size_t>(i)].checks.midJoint.has_value()) << i;
  }
  // Uplift pulls on every support of the two-span deck.
  EXPECT_TRUE(o.sections[3].checks.endJoint.has_value());
  EXPECT_TRUE(o.sections[3].checks.midJoint.has_value());
  // The diagram pass takes the smallest intermediate reaction, capped at 0.
  EXPECT_EQ(o.diagrams.blocks[0].analysis.midReaction, 0);
}

TEST(CalculationRun, DeflectionSelectionDiffersBetweenThePasses) {
  // A long inner span between short end spans: the inner span deflects most
  // (1.5135 mm over 3100 mm under the snow case), but an end span has the
  // smaller ratio (2500 / 1.2594 = 1985 against 3100 / 1.5135 = 2048).
  const CoefficientSettings settings;
  DesignConditions c = workedExample();
  c.spanCount = 3;
  c.spanLengths = {2500, 3100, 2500, 0};
  const CalculationOutcome o = run(prepare(c, settings), settings);
  const CaseAnalysis& results = o.sections[1].analysis;
  EXPECT_DOUBLE_EQ(results.maxDeflection, 1.5135);
  EXPECT_EQ(results.maxDeflectionSpan, 3100);
  const CaseAnalysis& diagram = o.diagrams.blocks[1].analysis;
  EXPECT_DOUBLE_EQ(diagram.maxDeflection, 1.2594);
  EXPECT_EQ(diagram.maxDeflectionSpan, 2500);
  EXPECT_EQ(diagram.deflectionRatio, 1985);
}

TEST(CalculationRun, ResultsCopyOfASampledCaseKeepsTheSamplesForTheDiagrams) {
  // Three spans and overhangs, asked for without samples first: the copy
  // must match withoutSamples of the full analysis, and the diagram pass,
  // which asks for the same case next, must still find its samples.
  const CoefficientSettings settings;
  DesignConditions c = workedExample();
  c.spanCount = 3;
  c.spanLengths = {2500, 3100, 2500, 0};
  c.leftOverhang = 400;
  c.rightOverhang = 600;
  const Prepared p = prepare(c, settings);
  const double wallPressure = wallPressureFor(settings.calcMethod, &*p.derived.wind);
  const CaseRatios ratios = ratiosOfCase(p.conditions, kShortTermSnow);
  SampledCases cases(p.conditions, wallPressure);
  const CaseAnalysis results = cases.withoutSamplesOf(CaseVariant::kShortTermSnow, ratios);
  const CaseAnalysis sampled = cases.of(CaseVariant::kShortTermSnow, ratios);
  const CaseAnalysis expected = withoutSamples(sampled);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(results.spanMomentSamples[i].empty()) << i;
    EXPECT_TRUE(results.spanDeflectionSamples[i].empty()) << i;
    EXPECT_GT(sampled.spanMomentSamples[i].size(), 20u) << i;
    EXPECT_GT(sampled.spanDeflectionSamples[i].size(), 20u) << i;
    EXPECT_EQ(results.spanDesignMoments[i], expected.spanDesignMoments[i]) << i;
    EXPECT_EQ(results.spanDeflections[i], expected.spanDeflections[i]) << i;
  }
  EXPECT_FALSE(results.samplesStored);
  EXPECT_EQ(results.maxMoment, expected.maxMoment);
  EXPECT_EQ(results.maxDeflection, expected.maxDeflection);
  EXPECT_EQ(results.maxDeflectionSpan, expected.maxDeflectionSpan);
  EXPECT_EQ(results.midReaction, expected.midReaction);
  EXPECT_EQ(results.overhangs[1].deflectionSamples, expected.overhangs[1].deflectionSamples);
  EXPECT_EQ(results.caseLabels, expected.caseLabels);
  // The same as an analysis made without samples from the start.
  const CaseAnalysis direct =
      analyseCase(p.conditions, CaseVariant::kShortTermSnow, ratios, wallPressure, false);
  EXPECT_EQ(results.maxDeflection, direct.maxDeflection);
  EXPECT_EQ(results.spanDesignMoments, direct.spanDesignMoments);
  EXPECT_EQ(results.midReaction, direct.midReaction);
}

TEST(CalculationRun, RightOverhangUnderUpliftRoundsItsMomentToThousands) {
  const CoefficientSettings settings;
  DesignConditions c = workedExample();
  PreparationInputs inputs;
  inputs.overhangCode = 2;
  inputs.rightOverhangLength = 450;
  const CalculationOutcome o = run(prepare(c, settings, inputs), settings);
  const ResultsSection& uplift = o.sections[3];
  const OverhangAnalysis& right = uplift.analysis.overhangs[1];
  ASSERT_TRUE(right.hasWallLoad);
  ASSERT_TRUE(uplift.checks.overhang.has_value());
  const OverhangCheck& check = *uplift.checks.overhang;
  EXPECT_EQ(check.side, OverhangSide::kRight);
  // w′ = −0.227 + (1951 + 1638) × 0.001 = 3.362 N/mm upward; −w′·a²/2 =
  // −340402.5 N·mm, kept negative and rounded to −340000.
  EXPECT_DOUBLE_EQ(right.wallLineLoad, 3.362);
  EXPECT_EQ(check.moment, -340000);
  // floor(−12.93 × 10) / 10 = −13.0, taken as a magnitude.
  EXPECT_DOUBLE_EQ(check.sigma, 13.0);
  EXPECT_DOUBLE_EQ(check.deflection.deflection, 0.126);
  ASSERT_TRUE(check.joint.has_value());
  EXPECT_DOUBLE_EQ(check.joint->force, 3.362 * 450);

  // Under downward load the check takes the table values: the root moment as
  // a magnitude and the joint force from the case total (no joint here).
  const OverhangCheck& longTerm = *o.sections[0].checks.overhang;
  EXPECT_DOUBLE_EQ(longTerm.moment, 0.227 * 450 * 450 / 2);
  EXPECT_FALSE(longTerm.joint.has_value());
}

// The additional block of a heavy-snow site is drawn with G = P = W = 1 and
// S = 0 whatever the settings say; its title, its load figure and its
// overhang shear all state that one analysis.
TEST(CalculationRun, HeavySnowAdditionalBlockIsTitledAndLoadedByTheRatiosItIsDrawnWith) {
  for (const double settingsW : {0.8, 0.0}) {
    SCOPED_TRACE(settingsW);
    CoefficientSettings settings;
    // Heavy-snow storm row: G = P = 1.2, S = 0.35, W as given.
    settings.loadRatios[kHeavySnowRatioOffset + 7] = 1.2;
    settings.loadRatios[kHeavySnowRatioOffset + 8] = 1.2;
    settings.loadRatios[kHeavySnowRatioOffset + 10] = settingsW;
    DesignConditions c = workedExample();
    c.heavySnow = true;
    c.snowDepth = 100;
    c.snowUnitWeight = 30;
    c.snowLoad = 3000;
    c.spanCount = 2;
    c.spanLengths = {2500, 2500, 0, 0};
    PreparationInputs inputs;
    inputs.overhangCode = 1;
    inputs.leftOverhangLength = 400;
    const CalculationOutcome o = run(prepare(c, settings, inputs), settings);

    // The results section checks the no-snow case with the settings' ratios.
    ASSERT_EQ(o.sections.size(), 5u);
    EXPECT_DOUBLE_EQ(o.sections[4].analysis.sectionCaseTotal, 1.2 * 227 + settingsW * -1951);

    const DiagramBlock& extra = o.diagrams.blocks[3];
    EXPECT_TRUE(extra.heavySnowBlock);
    EXPECT_EQ(diagramTitle(extra.analysis), "短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗ（負圧）");
    const double drawnTotal = 227 - 1951;
    EXPECT_DOUBLE_EQ(extra.analysis.sectionCaseTotal, drawnTotal);
    EXPECT_DOUBLE_EQ(extra.analysis.lineLoads.lineLoads[0], -0.001 * drawnTotal);
    EXPECT_DOUBLE_EQ(extra.loads[0].left, -0.001 * drawnTotal);
    EXPECT_EQ(extra.analysis.lineLoads.endIntensities[0][0], 0);
    EXPECT_DOUBLE_EQ(extra.leftOverhangRootShear, drawnTotal * 400 * 0.001);
    // The storm block shows the ratios of the settings again.
    EXPECT_DOUBLE_EQ(o.diagrams.blocks[2].analysis.ratios.s, 0.35);
    EXPECT_DOUBLE_EQ(o.diagrams.blocks[2].analysis.ratios.w, settingsW);
  }
}

TEST(CalculationRun, DeadPlusLiveIsTruncated) {
  const CoefficientSettings settings;
  DesignConditions c = workedExample();
  c.unitWeight = 127.9;
  EXPECT_EQ(prepare(c, settings).conditions.deadPlusLive, 227);
}

}  // namespace
}  // namespace tavilo
