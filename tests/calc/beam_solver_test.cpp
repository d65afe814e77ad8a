#include "calc/beam_solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "calc/numbers.h"

namespace tavilo {
namespace {

constexpr double kDeckInertia = 66.3 * 10000;  // mm⁴ of the lightest deck

BeamModel equalSpans(int count, double span, double w) {
  BeamModel m;
  m.memberCount = count;
  for (int i = 0; i < count; ++i) {
    const auto k = static_cast<std::size_t>(i);
    m.spans[k] = span;
    m.area[k] = 978.4;
    m.inertia[k] = kDeckInertia;
    m.lineLoads[k] = w;
  }
  return m;
}

double reaction(const BeamResult& r, int node) {
  return r.nodalResults[static_cast<std::size_t>(node)][1];
}

TEST(BeamSolver, TwoEqualSpansUnderGravity) {
  const BeamModel m = equalSpans(2, 2500, -1);
  const BeamResult r = analyseBeam(m);
  EXPECT_DOUBLE_EQ(reaction(r, 0), 937.5);
  EXPECT_DOUBLE_EQ(reaction(r, 1), 3125);
  EXPECT_DOUBLE_EQ(reaction(r, 2), 937.5);
  EXPECT_NEAR(r.memberEndForces[0][2], 0, 1e-6);
  EXPECT_NEAR(r.memberEndForces[0][5], -781250, 1e-6);
  EXPECT_NEAR(r.memberEndForces[1][2], 781250, 1e-6);
  EXPECT_NEAR(r.memberEndForces[1][5], 0, 1e-6);
  EXPECT_EQ(r.nodalResults[1][2], 0);  // moments balance over the inner support

  const SpanMoments first = spanMoments(m, r, 0, false);
  EXPECT_EQ(first.designMoment, -439450);
  EXPECT_EQ(first.designMomentPosition, 935);
  EXPECT_EQ(first.maximum, 781250);
  EXPECT_EQ(first.maximumPosition, 2500);
  const SpanMoments second = spanMoments(m, r, 1, false);
  EXPECT_EQ(second.designMoment, -439450);
  EXPECT_EQ(second.designMomentPosition, 1560);
  EXPECT_TRUE(first.samples.empty());
}

TEST(BeamSolver, ThreeAndOneEqualSpans) {
  const BeamResult three = analyseBeam(equalSpans(3, 2500, -1));
  const std::vector<double> expected{1000, 2750, 2750, 1000};
  for (int n = 0; n < 4; ++n)
    EXPECT_DOUBLE_EQ(reaction(three, n), expected[static_cast<std::size_t>(n)]);
  EXPECT_NEAR(three.memberEndForces[1][2], 625000, 1e-6);
  EXPECT_NEAR(three.memberEndForces[1][5], -625000, 1e-6);

  // A single member is not solved and its nodal values are not rounded.
  BeamModel one = equalSpans(1, 2500, -1);
  one.lineLoads[0] = -1.0000013;
  const BeamResult r = analyseBeam(one);
  EXPECT_DOUBLE_EQ(reaction(r, 0), 1250.001625);
  EXPECT_DOUBLE_EQ(reaction(r, 1), 1250.001625);
  EXPECT_EQ(r.memberEndForces[0][2], 0);
  EXPECT_EQ(r.memberEndForces[0][5], 0);
}

TEST(BeamSolver, TriangularLoadOnASingleSpanSharesTwoThirdsToTheHighEnd) {
  BeamModel m = equalSpans(1, 3000, 0);
  m.uniformSnow[0] = 0;
  m.endIntensities[0] = {-2, 0};
  BeamResult r = analyseBeam(m);
  EXPECT_NEAR(reaction(r, 0), 2000, 1e-9);
  EXPECT_NEAR(reaction(r, 1), 1000, 1e-9);
  m.endIntensities[0] = {0, -2};
  r = analyseBeam(m);
  EXPECT_NEAR(reaction(r, 0), 1000, 1e-9);
  EXPECT_NEAR(reaction(r, 1), 2000, 1e-9);
  // Marked uniform, the member carries its left value over the whole length.
  m.uniformSnow[0] = 1;
  r = analyseBeam(m);
  EXPECT_NEAR(reaction(r, 0), 0, 1e-9);
}

// Closed forms for a point load P at midspan: simple span reactions P/2,
// moment PL/4 and deflection PL³/48EI; two equal spans each loaded so carry
// 3PL/16 over the inner support.
TEST(BeamSolver, PointLoadsMatchClosedForms) {
  BeamModel m = equalSpans(1, 3000, 0);
  m.pointLoads[0] = {-1000, 0};
  m.pointPositions[0] = {1500, 0};
  const BeamResult r = analyseBeam(m);
  EXPECT_NEAR(reaction(r, 0), 500, 1e-9);
  EXPECT_NEAR(reaction(r, 1), 500, 1e-9);
  const SpanMoments sm = spanMoments(m, r, 0, false);
  EXPECT_EQ(sm.designMoment, -750000);
  EXPECT_EQ(sm.designMomentPosition, 1500);
  const double ei = 205000 * kDeckInertia;
  const double closedForm = 1000 * 3000.0 * 3000 * 3000 / (48 * ei);
  EXPECT_NEAR(spanDeflection(m, r, 0, 1.0, false).deflection, closedForm, 1e-4);

  BeamModel two = equalSpans(2, 3000, 0);
  two.pointLoads[0] = {-1000, 0};
  two.pointLoads[1] = {-600, -400};
  two.pointPositions[0] = {1500, 0};
  two.pointPositions[1] = {1500, 0};  // two loads at the same point
  const BeamResult rt = analyseBeam(two);
  EXPECT_NEAR(rt.memberEndForces[1][2], 3.0 * 1000 * 3000 / 16, 1e-6);
  EXPECT_NEAR(reaction(rt, 0), 500 - 562500.0 / 3000, 1e-3);
}

TEST(BeamSolver, OverhangsReachEndForcesButNotInnerSupports) {
  BeamModel m = equalSpans(2, 2500, -1);
  m.leftOverhang = 500;
  m.rightOverhang = 500;
  const BeamResult r = analyseBeam(m);
  EXPECT_DOUBLE_EQ(reaction(r, 0), 1437.5);
  EXPECT_DOUBLE_EQ(reaction(r, 1), 3125);
  EXPECT_DOUBLE_EQ(reaction(r, 2), 1437.5);
  EXPECT_NEAR(r.memberEndForces[1][2], 781250, 1e-6);
  EXPECT_NEAR(r.memberEndForces[0][2], 125000, 1e-6);
  EXPECT_NEAR(r.memberEndForces[1][5], -125000, 1e-6);
  EXPECT_DOUBLE_EQ(r.nodalResults[0][2], 125000);

  const SpanMoments first = spanMoments(m, r, 0, false);
  EXPECT_EQ(first.designMoment, -362575);
  EXPECT_EQ(first.designMomentPosition, 985);
  EXPECT_EQ(spanMoments(m, r, 1, false).designMoment, -362575);
}

TEST(BeamSolver, SingleSpanWithOverhangCarriesTheOverhangMoment) {
  BeamModel m = equalSpans(1, 3000, -1);
  m.rightOverhang = 600;
  const BeamResult r = analyseBeam(m);
  // The overhang's moment becomes the span's right end moment (180000 N·mm
  // hogging) and its load joins the right reaction.
  EXPECT_DOUBLE_EQ(r.memberEndForces[0][5], -180000);
  EXPECT_DOUBLE_EQ(reaction(r, 0), 1500);
  EXPECT_DOUBLE_EQ(reaction(r, 1), 1500 + 600);
  EXPECT_DOUBLE_EQ(r.nodalResults[1][2], -180000);
  const SpanMoments sm = spanMoments(m, r, 0, true);
  EXPECT_EQ(sm.maximum, 180000);
  EXPECT_EQ(sm.maximumPosition, 3000);
  EXPECT_EQ(sm.samples.front(), 0);
  EXPECT_EQ(sm.samples[sm.samples.size() - 2], 180000);  // the sample at x = L
}

TEST(BeamSolver, NodalValuesFloorToThousandthsAndDropBelowOneHundredth) {
  EXPECT_EQ(roundNodalValue(0.0095), 0);
  EXPECT_DOUBLE_EQ(roundNodalValue(-0.0125), -0.013);
  EXPECT_DOUBLE_EQ(roundNodalValue(-0.0099), -0.01);  // floors onto the bound: kept
  EXPECT_DOUBLE_EQ(roundNodalValue(0.0109), 0.01);
  EXPECT_DOUBLE_EQ(roundNodalValue(937.5004), 937.5);
  // A support moment of exactly 519500 N·mm that the solver hands over a few
  // units in the last place short stays 519500.000.
  EXPECT_EQ(roundNodalValue(519499.99999999994), 519500.0);
  EXPECT_EQ(roundNodalValue(519499.9995), 519499.999);
}

TEST(BeamSolver, DegenerateModelsGiveZeros) {
  BeamModel none = equalSpans(2, 2500, -1);
  none.memberCount = 0;
  const BeamResult empty = analyseBeam(none);
  EXPECT_EQ(empty.nodalResults[0][1], 0);

  // A zero-length span and a span without stiffness must neither crash nor
  // produce non-finite values.
  BeamModel m = equalSpans(3, 2500, -1);
  m.spans[1] = 0;
  m.inertia[2] = 0;
  const BeamResult r = analyseBeam(m);
  for (const auto& forces : r.memberEndForces) {
    for (double v : forces)
      EXPECT_TRUE(std::isfinite(v));
  }
  const SpanMoments zero = spanMoments(m, r, 1, true);
  EXPECT_EQ(zero.maximum, 0);
  EXPECT_EQ(zero.samples, std::vector<double>{kEndMarker});
  EXPECT_EQ(spanDeflection(m, r, 1, 1.0, false).deflection, 0);
  EXPECT_EQ(spanDeflection(m, r, 2, 1.0, false).deflection, 0);
  EXPECT_EQ(spanMoments(m, r, 4, false).maximum, 0);
  EXPECT_EQ(spanMoments(m, r, -1, false).maximum, 0);
}

TEST(BeamSolver, DesignMomentSeesTheEndOfASpanOffTheFiveMillimetreGrid) {
  // 2502 mm: the curve's last point is x = 2500, short of the support where
  // the hogging maximum sits; the sagging moment must still be found.
  const BeamModel m = equalSpans(2, 2502, -1);
  const BeamResult r = analyseBeam(m);
  const SpanMoments first = spanMoments(m, r, 0, false);
  EXPECT_EQ(first.lastPosition, 2500);
  EXPECT_EQ(first.maximumPosition, 2500);
  EXPECT_LT(first.designMoment, -439000);
  EXPECT_EQ(first.designMoment, first.minimum);
  EXPECT_NEAR(first.designMomentPosition, 0.375 * 2502, 5);
  // The second span starts at its hogging support: the rule holds there too.
  const SpanMoments second = spanMoments(m, r, 1, false);
  EXPECT_EQ(second.designMoment, second.minimum);
  EXPECT_LT(second.designMoment, -439000);
}

TEST(BeamSolver, ExtremesOfACurveBeyondNinetyNineThousand) {
  // A short inner span between long ones hogs over its whole length under
  // gravity; its true minimum (not a starting bound) must come out.
  BeamModel m = equalSpans(3, 4000, -1);
  m.spans[1] = 500;
  const BeamResult r = analyseBeam(m);
  const SpanMoments inner = spanMoments(m, r, 1, false);
  EXPECT_GT(inner.minimum, 99999);
  EXPECT_EQ(inner.minimumPosition, 250);
  EXPECT_EQ(inner.designMoment, inner.minimum);
  // Under uplift the same span sags over its whole length.
  for (auto& w : m.lineLoads)
    w = 1;
  const SpanMoments uplift = spanMoments(m, analyseBeam(m), 1, false);
  EXPECT_LT(uplift.maximum, -99999);
  EXPECT_EQ(uplift.maximumPosition, 250);
  EXPECT_EQ(uplift.designMoment, uplift.maximum);
}

TEST(BeamSolver, MomentSamplesEveryHundredMillimetres) {
  const BeamModel m = equalSpans(2, 2550, -1);
  const BeamResult r = analyseBeam(m);
  const SpanMoments sm = spanMoments(m, r, 0, true);
  ASSERT_EQ(sm.samples.size(), 27u);  // 0 … 2500, then the end marker
  EXPECT_EQ(sm.samples.front(), 0);
  EXPECT_EQ(sm.samples.back(), kEndMarker);
  const double mj = std::floor(r.memberEndForces[0][5]);
  const double at100 = std::floor(-mj * 100 / 2550 + -1.0 * 100 * 2450 / 2);
  EXPECT_EQ(sm.samples[1], at100);
}

TEST(BeamSolver, DeflectionRoundsTowardDownwardInTenThousandths) {
  EXPECT_DOUBLE_EQ(roundSpanDeflection(-3.45678, 1.0), 3.4568);
  EXPECT_DOUBLE_EQ(roundSpanDeflection(3.45678, 1.0), -3.4567);
  EXPECT_DOUBLE_EQ(roundSpanDeflection(-1.0, 1.2), 1.2);
}

TEST(BeamSolver, DeflectionSamplesFiveMillimetresShortOfEachHundred) {
  const BeamModel m = equalSpans(1, 2500, -1);
  const BeamResult r = analyseBeam(m);
  const SpanDeflection d = spanDeflection(m, r, 0, 1.0, true);
  ASSERT_EQ(d.samples.size(), 26u);  // 95 … 2495, then the end marker
  EXPECT_EQ(d.samples.back(), kEndMarker);
  const double ei = 205000.0 * kDeckInertia;
  const auto closedForm = [&](double x) {
    return (x * x * x * x / 24 - x * x * x * 2500 / 12 + x * 2500.0 * 2500 * 2500 / 24) / ei;
  };
  EXPECT_NEAR(d.samples[0], closedForm(95), 1e-4);
  EXPECT_NEAR(d.samples[24], closedForm(2495), 1e-4);
  EXPECT_GT(d.deflection, 0);  // downward
  // Uplift gives an upward (negative) deflection.
  BeamModel up = m;
  up.lineLoads[0] = 1;
  EXPECT_LT(spanDeflection(up, analyseBeam(up), 0, 1.0, false).deflection, 0);
}

// Spans without point loads and with a uniform varying load are evaluated
// in a batch. The same span described as a linearly varying load with equal
// ends takes the point-by-point loop and must give every value bit for bit.
TEST(BeamSolver, BatchedCurvesEqualThePointByPointLoop) {
  std::uint32_t seed = 12345;
  const auto next = [&seed](int n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  for (int trial = 0; trial < 60; ++trial) {
    const int count = 1 + next(4);
    BeamModel m = equalSpans(count, 100 + next(9000), -0.001 * next(12000));
    for (int i = 0; i < count; ++i) {
      const auto k = static_cast<std::size_t>(i);
      m.spans[k] = 100 + next(9000) + 0.5 * next(2);
      const double snow = trial % 3 == 0 ? 0.0 : -0.001 * next(9000);
      m.endIntensities[k] = {snow, snow};
    }
    m.leftOverhang = trial % 2 == 0 ? 200 + next(800) : 0;
    m.rightOverhang = trial % 4 == 1 ? 150 + next(850) : 0;
    if (trial % 5 == 4)
      m.lineLoads.fill(0);  // snow alone, or an unloaded beam
    const BeamResult r = analyseBeam(m);
    BeamModel pointwise = m;
    pointwise.uniformSnow.fill(0);
    for (int i = 0; i < count; ++i) {
      for (const bool samples : {false, true}) {
        const SpanMoments a = spanMoments(m, r, i, samples);
        const SpanMoments b = spanMoments(pointwise, r, i, samples);
        EXPECT_EQ(a.minimum, b.minimum);
        EXPECT_EQ(a.minimumPosition, b.minimumPosition);
        EXPECT_EQ(a.maximum, b.maximum);
        EXPECT_EQ(a.maximumPosition, b.maximumPosition);
        EXPECT_EQ(a.lastPosition, b.lastPosition);
        EXPECT_EQ(a.samples, b.samples);
        for (const double factor : {1.0, 1.2}) {
          const SpanDeflection c = spanDeflection(m, r, i, factor, samples);
          const SpanDeflection d = spanDeflection(pointwise, r, i, factor, samples);
          EXPECT_EQ(c.deflection, d.deflection) << "trial " << trial << " span " << i;
          EXPECT_EQ(c.samples, d.samples);
        }
      }
    }
  }
}

Overhang overhang(OverhangSide side, double a, double w) {
  return {side, a, w, 205000, kDeckInertia};
}

TEST(BeamOverhang, TakesTheEndLoadAndStiffnessOfTheAdjacentMember) {
  BeamModel m = equalSpans(3, 2500, -1);
  m.endIntensities[2] = {-0.2, -0.3};
  m.inertia[2] = 2 * kDeckInertia;
  m.rightOverhang = 450;
  const Overhang o = overhangOf(m, OverhangSide::kRight);
  EXPECT_DOUBLE_EQ(o.lineLoad, -1.3);
  EXPECT_EQ(o.length, 450);
  EXPECT_EQ(o.inertia, 2 * kDeckInertia);
  EXPECT_DOUBLE_EQ(overhangOf(m, OverhangSide::kLeft).lineLoad, -1);
}

TEST(BeamOverhang, RootMomentRoundsToOneHundredThousand) {
  EXPECT_EQ(overhangRootMoment(overhang(OverhangSide::kLeft, 500, -1)), -100000);
  EXPECT_EQ(overhangRootMoment(overhang(OverhangSide::kRight, 500, -1)), 100000);
  EXPECT_EQ(overhangRootMoment(overhang(OverhangSide::kLeft, 550, -1)), -200000);
  EXPECT_EQ(overhangRootMoment(overhang(OverhangSide::kRight, 550, -1)), 200000);
  EXPECT_EQ(overhangRootMoment(overhang(OverhangSide::kRight, 300, -1)), 0);
  EXPECT_EQ(overhangRootMoment(overhang(OverhangSide::kRight, 500, 1)), -100000);
}

TEST(BeamOverhang, MomentSamplesRunLeftToRight) {
  const std::vector<double> left{0, 5000, 20000, kEndMarker};
  EXPECT_EQ(overhangMomentSamples(overhang(OverhangSide::kLeft, 250, -1)), left);
  const std::vector<double> right{31250, 11250, 1250, kEndMarker};
  EXPECT_EQ(overhangMomentSamples(overhang(OverhangSide::kRight, 250, -1)), right);
  EXPECT_EQ(overhangMomentSamples(overhang(OverhangSide::kRight, 300, -1)).size(), 5u);
}

TEST(BeamOverhang, DeflectionsAtTheTipAndAlongTheOverhang) {
  // w a⁴ / 8EI = -62500000000 / 1087320000000 = -0.0574808…
  const Overhang left = overhang(OverhangSide::kLeft, 500, -1);
  EXPECT_DOUBLE_EQ(overhangTipDeflection(left, 1.0), 0.058);
  EXPECT_DOUBLE_EQ(overhangTipDeflection(left, 1.2), 0.069);  // 0.06897…
  Overhang upLeft = left;
  upLeft.lineLoad = 2;  // the negative-pressure check passes its own load
  EXPECT_DOUBLE_EQ(overhangTipDeflection(upLeft, 1.0), -0.114);

  // Samples are positive upward: the tip of a downward overhang is negative.
  const std::vector<double> l = overhangDeflectionSamples(left, 1.0);
  ASSERT_EQ(l.size(), 7u);
  EXPECT_DOUBLE_EQ(l[0], -0.057);
  EXPECT_EQ(l[5], 0);
  EXPECT_FALSE(std::signbit(l[5]));
  const std::vector<double> r =
      overhangDeflectionSamples(overhang(OverhangSide::kRight, 500, -1), 1.0);
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(r[0], 0);
  EXPECT_DOUBLE_EQ(r[5], -0.057);
  EXPECT_EQ(r[6], kEndMarker);
  // Between root and tip: s = 200 from the tip → (s⁴ − 4a³s + 3a⁴) = 89100000000.
  EXPECT_DOUBLE_EQ(l[2],
                   -std::floor(1.0 / (24 * 205000 * kDeckInertia) * 89100000000.0 * 1000) * 0.001);

  Overhang limp = left;
  limp.inertia = 0;
  EXPECT_EQ(overhangTipDeflection(limp, 1.0), 0);
  EXPECT_EQ(overhangDeflectionSamples(limp, 1.0)[0], 0);
}

}  // namespace
}  // namespace tavilo
