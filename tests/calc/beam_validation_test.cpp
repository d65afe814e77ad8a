// Checks of the beam kernel against closed-form engineering results over a
// few hundred random continuous beams (fixed seed).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "calc/beam_solver.h"

namespace tavilo {
namespace {

constexpr int kBeams = 300;
constexpr std::array<double, 4> kDeckInertias{663000, 871000, 1630000, 2160000};

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  // Portable across standard libraries, unlike the std distributions.
  double uniform(double lo, double hi) {
    return lo + (hi - lo) * (static_cast<double>(engine_()) / 4294967296.0);
  }
  int below(int n) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(n)); }

 private:
  std::mt19937 engine_;
};

std::size_t at(int i) {
  return static_cast<std::size_t>(i);
}

// A beam of 2-4 spans, each with its own length, section and uniform load
// (a line load plus an equal pair of end intensities). With `trapezoids` the
// end intensities differ and are taken as varying along the member.
BeamModel randomBeam(Random& random, bool trapezoids) {
  BeamModel m;
  m.memberCount = 2 + random.below(3);
  for (int i = 0; i < m.memberCount; ++i) {
    const auto k = at(i);
    m.spans[k] = random.uniform(400, 4500);
    m.area[k] = 1000;
    m.inertia[k] = kDeckInertias[at(random.below(4))];
    m.lineLoads[k] = random.uniform(-3, 3);
    const double r0 = random.uniform(-2, 0.5);
    m.endIntensities[k] = {r0, trapezoids ? random.uniform(-2, 0.5) : r0};
    m.uniformSnow[k] = trapezoids ? 0 : 1;
  }
  return m;
}

double lineLoadAt(const BeamModel& m, std::size_t k, std::size_t end) {
  return m.lineLoads[k] + m.endIntensities[k][end];
}

// Clapeyron's three-moment equation for a continuous beam on pinned supports,
// with hogging moments H (positive) and upward loads:
//   H[i-1]·L[i-1]/I[i-1] + 2H[i]·(L[i-1]/I[i-1] + L[i]/I[i]) + H[i+1]·L[i]/I[i]
//     = −(R[i-1]/I[i-1] + F[i]/I[i]),
// the load terms of a span being wL³/4 at either end for a uniform load w, and
// 7pL³/60 at the low end and 8pL³/60 at the high end for a triangular load
// rising from 0 to p.
std::vector<double> threeMomentSupportMoments(const BeamModel& m) {
  const int n = m.memberCount;
  std::vector<double> leftTerm(at(n));
  std::vector<double> rightTerm(at(n));
  for (int i = 0; i < n; ++i) {
    const auto k = at(i);
    const double l3 = std::pow(m.spans[k], 3);
    const double w = lineLoadAt(m, k, 0);
    const double p = m.endIntensities[k][1] - m.endIntensities[k][0];
    leftTerm[k] = w * l3 / 4 + 7 * p * l3 / 60;
    rightTerm[k] = w * l3 / 4 + 8 * p * l3 / 60;
  }
  // Tridiagonal system in H[1..n-1]; H[0] = H[n] = 0.
  const int unknowns = n - 1;
  std::vector<double> sub(at(unknowns)), diag(at(unknowns)), sup(at(unknowns)), rhs(at(unknowns));
  for (int s = 1; s <= unknowns; ++s) {
    const auto left = at(s - 1);
    const auto right = at(s);
    const double fl = m.spans[left] / m.inertia[left];
    const double fr = m.spans[right] / m.inertia[right];
    const auto row = at(s - 1);
    sub[row] = fl;
    diag[row] = 2 * (fl + fr);
    sup[row] = fr;
    rhs[row] = -(rightTerm[left] / m.inertia[left] + leftTerm[right] / m.inertia[right]);
  }
  for (std::size_t r = 1; r < at(unknowns); ++r) {
    const double f = sub[r] / diag[r - 1];
    diag[r] -= f * sup[r - 1];
    rhs[r] -= f * rhs[r - 1];
  }
  std::vector<double> h(at(n + 1), 0.0);
  for (int r = unknowns - 1; r >= 0; --r) {
    const double next = r + 1 < unknowns ? h[at(r + 2)] : 0.0;
    h[at(r + 1)] = (rhs[at(r)] - sup[at(r)] * next) / diag[at(r)];
  }
  return h;
}

// Statics of a simply supported span with hogging end moments Hl, Hr under a
// trapezoidal downward load q(x) = −(r0 + (r1 − r0)x/L):
//   left reaction  = −r0·L/2 − (r1 − r0)·L/6 + (Hl − Hr)/L,
//   right reaction = −r0·L/2 − (r1 − r0)·L/3 + (Hr − Hl)/L.
std::vector<double> staticReactions(const BeamModel& m, const std::vector<double>& h) {
  std::vector<double> reactions(at(m.memberCount + 1), 0.0);
  for (int i = 0; i < m.memberCount; ++i) {
    const auto k = at(i);
    const double l = m.spans[k];
    const double r0 = lineLoadAt(m, k, 0);
    const double r1 = lineLoadAt(m, k, 1);
    reactions[k] += -r0 * l / 2 - (r1 - r0) * l / 6 + (h[k] - h[k + 1]) / l;
    reactions[k + 1] += -r0 * l / 2 - (r1 - r0) * l / 3 + (h[k + 1] - h[k]) / l;
  }
  return reactions;
}

void expectAgreesWithThreeMomentEquation(const BeamModel& m, int beam) {
  const BeamResult r = analyseBeam(m);
  const std::vector<double> h = threeMomentSupportMoments(m);
  double scale = 1;
  for (double v : h)
    scale = std::max(scale, std::fabs(v));
  const double tolerance = 1e-6 * scale;
  for (int s = 0; s <= m.memberCount; ++s) {
    if (s < m.memberCount) {
      EXPECT_NEAR(r.memberEndForces[at(s)][2], h[at(s)], tolerance) << "beam " << beam;
    }
    if (s > 0) {
      EXPECT_NEAR(-r.memberEndForces[at(s - 1)][5], h[at(s)], tolerance) << "beam " << beam;
    }
  }

  double total = 0;
  double shearSum = 0;
  double nodalSum = 0;
  for (int i = 0; i < m.memberCount; ++i) {
    const auto k = at(i);
    total += -(lineLoadAt(m, k, 0) + lineLoadAt(m, k, 1)) / 2 * m.spans[k];
    shearSum += r.memberEndForces[k][1] + r.memberEndForces[k][4];
  }
  const std::vector<double> expected = staticReactions(m, h);
  for (int node = 0; node <= m.memberCount; ++node) {
    const double reaction = r.nodalResults[at(node)][1];
    nodalSum += reaction;
    // Nodal values are floored to 0.001 and zeroed within ±0.01.
    EXPECT_NEAR(reaction, expected[at(node)], 0.011 + 1e-9 * scale) << "beam " << beam;
  }
  EXPECT_NEAR(shearSum, total, 1e-9 * (1 + std::fabs(total))) << "beam " << beam;
  EXPECT_NEAR(nodalSum, total, 0.011 * (m.memberCount + 1)) << "beam " << beam;
}

TEST(BeamValidation, UniformLoadsMatchThreeMomentEquationAndStatics) {
  Random random(20240611);
  for (int beam = 0; beam < kBeams; ++beam) {
    expectAgreesWithThreeMomentEquation(randomBeam(random, false), beam);
  }
}

TEST(BeamValidation, TrapezoidalLoadsMatchThreeMomentEquationAndStatics) {
  Random random(7);
  for (int beam = 0; beam < 100; ++beam) {
    expectAgreesWithThreeMomentEquation(randomBeam(random, true), beam);
  }
}

// Overhangs in the kernel's model: each is a cantilever whose load reaches
// only its end support and whose root moment stands as the outer end moment
// of the end member; the rotations and the moments over the intermediate
// supports stay those of the beam without overhangs. So, for random beams of
// one to four spans with overhangs at either or both ends:
//   - the reactions balance the whole applied load, overhangs included;
//   - each end reaction is the static one of the spans plus its overhang's load;
//   - the outer end moment is the cantilever's root moment w·a²/2 (hogging
//     under gravity), and the moments over the intermediate supports satisfy
//     the three-moment equation and balance at every node.
TEST(BeamValidation, OverhangsBalanceTheirLoadAndStandAsCantileverMoments) {
  Random random(31337);
  for (int beam = 0; beam < kBeams; ++beam) {
    BeamModel m = randomBeam(random, false);
    m.memberCount = 1 + random.below(m.memberCount);  // single spans too
    const int arrangement = 1 + random.below(3);      // left, right, both
    m.leftOverhang = arrangement != 2 ? random.uniform(200, 1000) : 0;
    m.rightOverhang = arrangement != 1 ? random.uniform(1, 1000) : 0;
    const int n = m.memberCount;
    const auto last = at(n - 1);
    const double wl = lineLoadAt(m, 0, 0);
    const double wr = lineLoadAt(m, last, 1);
    const double aL = m.leftOverhang;
    const double aR = m.rightOverhang;

    const BeamResult r = analyseBeam(m);
    const std::vector<double> h = threeMomentSupportMoments(m);
    std::vector<double> expected = staticReactions(m, h);
    expected[0] += -wl * aL;
    expected[at(n)] += -wr * aR;

    double applied = -wl * aL - wr * aR;
    double scale = 1;
    for (int i = 0; i < n; ++i) {
      applied += -lineLoadAt(m, at(i), 0) * m.spans[at(i)];
      scale = std::max(scale, std::fabs(h[at(i)]));
    }
    double reactions = 0;
    for (int node = 0; node <= n; ++node) {
      const double reaction = r.nodalResults[at(node)][1];
      reactions += reaction;
      EXPECT_NEAR(reaction, expected[at(node)], 0.011 + 1e-9 * scale)
          << "beam " << beam << " node " << node;
    }
    // A single span is not rounded; with more, each reaction is floored to 0.001.
    EXPECT_NEAR(reactions, applied, 0.011 * (n + 1) + 1e-9 * std::fabs(applied)) << "beam " << beam;

    const double leftRoot = -wl * aL * aL / 2;
    const double rightRoot = -wr * aR * aR / 2;
    const double tolerance = 1e-6 * std::max({scale, std::fabs(leftRoot), std::fabs(rightRoot)});
    EXPECT_NEAR(r.memberEndForces[0][2], leftRoot + (n == 1 ? 0 : h[0]), tolerance)
        << "beam " << beam;
    EXPECT_NEAR(-r.memberEndForces[last][5], rightRoot, tolerance) << "beam " << beam;
    for (int s = 1; s < n; ++s) {
      EXPECT_NEAR(r.memberEndForces[at(s)][2], h[at(s)], tolerance) << "beam " << beam;
      EXPECT_NEAR(-r.memberEndForces[at(s - 1)][5], h[at(s)], tolerance) << "beam " << beam;
      EXPECT_EQ(r.nodalResults[at(s)][2], 0.0) << "beam " << beam << " node " << s;
    }
    // The diagram's root moments are the same cantilever moments to 0.1 kN·m.
    if (aL > 0) {
      EXPECT_NEAR(overhangRootMoment(overhangOf(m, OverhangSide::kLeft)), -leftRoot, 50000.0001);
    }
    if (aR > 0) {
      EXPECT_NEAR(overhangRootMoment(overhangOf(m, OverhangSide::kRight)), rightRoot, 50000.0001);
    }
  }
}

// The span moment under a uniform load w with hogging end moments Hl, Hr is
// the parabola Hl(1 − x/L) + Hr·x/L + w·x(L − x)/2; under gravity its vertex
// lies at x* = L/2 + (Hr − Hl)/(wL). The 5 mm grid sees the vertex within
// 2.5 mm, so the sampled minimum exceeds it by at most |w|·2.5²/2 (plus the
// whole-N·mm flooring of the end moments and of the value).
TEST(BeamValidation, SaggingMomentsMatchTheParabolaVertex) {
  Random random(99);
  int checked = 0;
  for (int beam = 0; beam < kBeams; ++beam) {
    BeamModel m = randomBeam(random, false);
    for (int i = 0; i < m.memberCount; ++i)
      m.lineLoads[at(i)] = random.uniform(-3, -0.1);
    const BeamResult r = analyseBeam(m);
    const std::vector<double> h = threeMomentSupportMoments(m);
    for (int i = 0; i < m.memberCount; ++i) {
      const auto k = at(i);
      const double l = m.spans[k];
      const double w = lineLoadAt(m, k, 0);
      if (w >= 0)
        continue;
      const double vertexX = l / 2 + (h[k + 1] - h[k]) / (w * l);
      if (vertexX < 5 || vertexX > l - 5)
        continue;
      const double vertex =
          h[k] * (1 - vertexX / l) + h[k + 1] * vertexX / l + w * vertexX * (l - vertexX) / 2;
      const SpanMoments sm = spanMoments(m, r, i, false);
      EXPECT_GE(sm.minimum, vertex - 3) << "beam " << beam << " span " << i;
      EXPECT_LE(sm.minimum, vertex + std::fabs(w) * 2.5 * 2.5 / 2 + 1) << "beam " << beam;
      EXPECT_NEAR(sm.minimumPosition, vertexX, 10) << "beam " << beam << " span " << i;
      ++checked;
    }
  }
  EXPECT_GT(checked, kBeams);
}

// Simply supported span under a uniform load: midspan deflection 5wL⁴/384EI.
// The grid meets midspan within 2.5 mm, where the curve lies below the peak
// by about (wL²/8EI)·2.5²/2; the result is floored to 0.0001 mm.
TEST(BeamValidation, SingleSpanMidspanDeflectionMatchesFiveWLFourOver384EI) {
  Random random(4321);
  for (int beam = 0; beam < kBeams; ++beam) {
    BeamModel m;
    m.memberCount = 1;
    const double l = random.uniform(800, 6000);
    const double w = random.uniform(-4, 4);
    const double factor = random.below(2) == 0 ? 1.0 : 1.2;
    m.spans[0] = l;
    m.area[0] = 1000;
    m.inertia[0] = kDeckInertias[at(random.below(4))];
    m.lineLoads[0] = w;
    const double ei = m.youngsModulus * m.inertia[0];
    const double closedForm = -5 * w * std::pow(l, 4) / (384 * ei) * factor;
    const double gridError = std::fabs(w) * l * l / (8 * ei) * 2.5 * 2.5 / 2 * factor;
    const SpanDeflection d = spanDeflection(m, analyseBeam(m), 0, factor, false);
    EXPECT_NEAR(d.deflection, closedForm, 1e-4 + gridError + 1e-9) << "beam " << beam;
  }
}

}  // namespace
}  // namespace tavilo
