// Moments and deflections along the spans and over the overhangs, read from
// the model and the member end forces of an analysis.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "calc/beam_solver.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

constexpr double kStep = 5.0;        // mm between evaluated points of a span
constexpr int kStepsPerSample = 20;  // 100 mm between stored samples
constexpr double kSampleSpacing = 100.0;

bool validMember(const BeamModel& model, int member) {
  return member >= 0 && member < kMaxMembers && member < model.memberCount;
}

bool hasLength(double length) {
  return length > 0 && std::isfinite(length);
}

// The loads of one span as the evaluations read them.
struct SpanLoads {
  double length = 0;
  double w = 0;   // uniform line load
  double r0 = 0;  // varying load at the left end
  double r1 = 0;  // varying load at the right end
  bool uniformVarying = true;
  std::array<double, 2> p{};  // point loads
  std::array<double, 2> a{};  // their distances from the left end
};

SpanLoads spanLoadsOf(const BeamModel& model, int member) {
  const auto k = static_cast<std::size_t>(member);
  SpanLoads s;
  s.length = model.spans[k];
  s.w = model.lineLoads[k];
  s.r0 = model.endIntensities[k][0];
  s.uniformVarying = model.uniformSnow[k] == 1;
  s.r1 = s.uniformVarying ? s.r0 : model.endIntensities[k][1];
  s.p = model.pointLoads[k];
  s.a = {model.pointPositions[k][0], model.pointPositions[k][0] + model.pointPositions[k][1]};
  return s;
}

// Simply supported moment of the two point loads at x.
class PointLoadMoment {
 public:
  explicit PointLoadMoment(const SpanLoads& s)
      : active_(s.p[0] != 0 || s.p[1] != 0),
        length_(s.length),
        p1_(s.p[0]),
        a1_(s.a[0]),
        a2_(s.a[1]),
        left_((s.p[0] * (s.length - s.a[0]) + s.p[1] * (s.length - s.a[1])) / s.length),
        right_((s.p[0] * s.a[0] + s.p[1] * s.a[1]) / s.length) {}

  double at(double x) const {
    if (!active_)
      return 0;
    if (x <= a1_)
      return left_ * x;
    if (x <= a2_)
      return left_ * x - p1_ * (x - a1_);
    return right_ * (length_ - x);
  }

 private:
  bool active_;
  double length_;
  double p1_;
  double a1_;
  double a2_;
  double left_;
  double right_;
};

double varyingLoadMoment(const SpanLoads& s, double x) {
  const double l = s.length;
  if (s.uniformVarying)
    return s.r0 * x * (l - x) / 2;
  const double x3 = x * x * x;
  return (s.r0 - s.r1) / (6 * l) * x3 - (s.r0 - s.r1) * l / 6 * x + s.r0 * x * (l - x) / 2;
}

// The deflection sum (upward positive) at x of a simply supported span under
// its end moments and loads.
double deflectionSum(const SpanLoads& s, double mi, double mj, double inverseEi, double x) {
  const double l = s.length;
  const double x2 = x * x;
  const double x3 = x2 * x;
  const double l3 = l * l * l;
  double sum = 0;
  if (mi != 0)
    sum += mi * inverseEi * (x3 / (6 * l) - x2 / 2 + x * l / 3);
  if (mj != 0)
    sum += mj * inverseEi * (x3 / (6 * l) - x * l / 6);
  for (std::size_t i = 0; i < 2; ++i) {
    const double p = s.p[i];
    if (p == 0)
      continue;
    const double a = s.a[i];
    const double b = l - a;
    sum += p * inverseEi / 6 * x * b * (l * l - b * b - x2) / l;
    if (x > a)
      sum += p * inverseEi / 6 * ((x - a) * (x - a) * (x - a));
  }
  const double x4 = x3 * x;
  if (s.w != 0)
    sum += s.w * inverseEi * (x4 / 24 - x3 * l / 12 + x * l3 / 24);
  if (s.r0 != 0)
    sum += s.r0 * inverseEi * (x4 / 24 - x3 * l / 12 + x * l3 / 24);
  if (!s.uniformVarying) {
    const double d = s.r1 - s.r0;
    if (d != 0) {
      const double x5 = x4 * x;
      sum += d * inverseEi * (x5 / (120 * l) - x3 * l / 36 + 7 * x * l3 / 360);
    }
  }
  return sum;
}

// The deflection sums of a span with a uniform varying load and no point
// loads at x = 0, 5, 10 … mm, each added up exactly as deflectionSum adds
// it. The terms that are zero over the whole span are left out at compile
// time, so that the compiler evaluates several points at once.
template <bool kEndI, bool kEndJ, bool kLine, bool kVarying>
void uniformDeflectionSums(const SpanLoads& s, double mi, double mj, double inverseEi,
                           std::vector<double>& sums) {
  const double l = s.length;
  const double l3 = l * l * l;
  const int count = static_cast<int>(sums.size());
  for (int step = 0; step < count; ++step) {
    const double x = kStep * step;
    const double x2 = x * x;
    const double x3 = x2 * x;
    double sum = 0;
    if constexpr (kEndI)
      sum += mi * inverseEi * (x3 / (6 * l) - x2 / 2 + x * l / 3);
    if constexpr (kEndJ)
      sum += mj * inverseEi * (x3 / (6 * l) - x * l / 6);
    const double x4 = x3 * x;
    if constexpr (kLine)
      sum += s.w * inverseEi * (x4 / 24 - x3 * l / 12 + x * l3 / 24);
    if constexpr (kVarying)
      sum += s.r0 * inverseEi * (x4 / 24 - x3 * l / 12 + x * l3 / 24);
    sums[static_cast<std::size_t>(step)] = sum;
  }
}

using DeflectionSums = void (*)(const SpanLoads&, double, double, double, std::vector<double>&);

template <int kTerms>
constexpr DeflectionSums deflectionSumsFor() {
  return &uniformDeflectionSums<(kTerms & 8) != 0, (kTerms & 4) != 0, (kTerms & 2) != 0,
                                (kTerms & 1) != 0>;
}

template <int... kTerms>
constexpr std::array<DeflectionSums, sizeof...(kTerms)> deflectionSumTable(
    std::integer_sequence<int, kTerms...>) {
  return {deflectionSumsFor<kTerms>()...};
}

constexpr auto kDeflectionSums = deflectionSumTable(std::make_integer_sequence<int, 16>());

// The number of points x = 0, 5, 10 … mm with x < L (or x ≤ L with
// `endIncluded`). A span longer than any deck (more than a million points)
// is left to the point-by-point loops: the answer is then above the limit.
constexpr std::size_t kMaxBatchedPoints = 1 << 20;

std::size_t pointCount(double length, bool endIncluded) {
  if (!(length < kStep * static_cast<double>(kMaxBatchedPoints)))
    return kMaxBatchedPoints + 1;
  const auto inside = [&](std::size_t step) {
    const double x = kStep * static_cast<int>(step);
    return endIncluded ? x <= length : x < length;
  };
  auto count = static_cast<std::size_t>(std::ceil(length / kStep));
  while (count > 0 && !inside(count - 1))
    --count;
  while (inside(count))
    ++count;
  return count;
}

// The unrounded moment curve of a span with a uniform varying load and no
// point loads at x = 0, 5, 10 … mm, each summed exactly as spanMoments sums
// it (the point loads add their moment of 0).
void uniformMomentCurve(const SpanLoads& s, double mi, double mj, std::vector<double>& curve) {
  const double l = s.length;
  const int count = static_cast<int>(curve.size());
  for (int step = 0; step < count; ++step) {
    const double x = kStep * step;
    curve[static_cast<std::size_t>(step)] =
        mi * (1 - x / l) - mj * x / l + s.w * x * (l - x) / 2 + 0.0 + s.r0 * x * (l - x) / 2;
  }
}

// The points of the batched loops are kept from one span to the next: every
// load case evaluates every span, and a fresh buffer each time (allocated and
// zeroed) cost more than the arithmetic of a short span. One per thread, so
// that calculations in parallel would not share it.
std::vector<double>& scratchPoints(std::size_t count) {
  thread_local std::vector<double> points;
  points.resize(count);
  return points;
}

double flexibility(int youngsModulus, double inertia) {
  const double ei = static_cast<double>(youngsModulus) * inertia;
  return ei == 0 ? 0 : 1 / ei;
}

std::vector<double> endedList(std::vector<double> values) {
  values.push_back(kEndMarker);
  return values;
}

}  // namespace

DesignMoment designMomentOf(const SpanMoments& m) {
  // The curve's first and last points stand for the span's ends: when L is
  // not a multiple of 5 mm the last point lies short of x = L, and testing
  // against L itself would never see the end (an end span under gravity then
  // lost its sagging moment).
  const auto atEnd = [&m](double x) { return x == 0 || x == m.lastPosition; };
  if (atEnd(m.minimumPosition))
    return {m.maximum, m.maximumPosition};
  if (atEnd(m.maximumPosition))
    return {m.minimum, m.minimumPosition};
  return {};
}

SpanMoments spanMoments(const BeamModel& model, const BeamResult& result, int member,
                        bool storeSamples) {
  SpanMoments out;
  if (!validMember(model, member) || !hasLength(model.spans[static_cast<std::size_t>(member)])) {
    if (storeSamples)
      out.samples = endedList({});
    return out;
  }
  const SpanLoads s = spanLoadsOf(model, member);
  const auto& forces = result.memberEndForces[static_cast<std::size_t>(member)];
  const double mi = floorTo(forces[2], 0);
  const double mj = floorTo(forces[5], 0);
  const double l = s.length;
  const PointLoadMoment pointMoment(s);
  if (storeSamples)
    out.samples.reserve(static_cast<std::size_t>(l / kSampleSpacing) + 2);

  const std::vector<double> none;
  const std::vector<double>* batched = &none;
  if (s.p[0] == 0 && s.p[1] == 0 && s.uniformVarying) {
    const std::size_t count = pointCount(l, true);
    if (count <= kMaxBatchedPoints) {
      std::vector<double>& points = scratchPoints(count);
      uniformMomentCurve(s, mi, mj, points);
      batched = &points;
    }
  }
  const std::vector<double>& curve = *batched;

  // The extremes start from the first point of the curve: moments of a deck
  // routinely exceed ±99999 N·mm, so that value is no usable starting bound.
  double minimum = 0;
  double minimumPosition = 0;
  double maximum = 0;
  double maximumPosition = 0;
  double lastPosition = 0;
  for (int step = 0;; ++step) {
    const double x = kStep * step;
    if (x > l)
      break;
    const auto point = static_cast<std::size_t>(step);
    const double unrounded = point < curve.size()
                                 ? curve[point]
                                 : mi * (1 - x / l) - mj * x / l + s.w * x * (l - x) / 2 +
                                       pointMoment.at(x) + varyingLoadMoment(s, x);
    const double moment = floorTo(unrounded, 0);
    if (step == 0 || moment < minimum) {
      minimum = moment;
      minimumPosition = x;
    }
    if (step == 0 || moment > maximum) {
      maximum = moment;
      maximumPosition = x;
    }
    lastPosition = x;
    if (storeSamples && step % kStepsPerSample == 0)
      out.samples.push_back(moment);
  }
  if (storeSamples)
    out.samples.push_back(kEndMarker);
  out.minimum = minimum;
  out.minimumPosition = minimumPosition;
  out.maximum = maximum;
  out.maximumPosition = maximumPosition;
  out.lastPosition = lastPosition;
  const DesignMoment design = designMomentOf(out);
  out.designMoment = design.moment;
  out.designMomentPosition = design.position;
  return out;
}

namespace {

// A deflection sum times the deck's factor (upward positive) as reported:
// downward positive, 0.0001 mm. A larger value never reports a larger
// deflection.
double reportedDeflection(double factoredSum) {
  // + 0.0 turns a negative zero into zero.
  return -floorTo(factoredSum, 4) + 0.0;
}

}  // namespace

double roundSpanDeflection(double sum, double deflectionFactor) {
  return reportedDeflection(sum * deflectionFactor);
}

namespace {

// The extreme of the rounded deflections of the sums, and the samples. The
// rounding is monotone (a larger sum never gives a larger reported
// deflection), so the extremes follow from the smallest and the largest sum
// alone. False when a sum is no number; the caller then takes every point.
bool extremeDeflection(const std::vector<double>& sums, double deflectionFactor, bool storeSamples,
                       SpanDeflection& out) {
  if (sums.empty()) {
    if (storeSamples)
      out.samples.push_back(kEndMarker);
    return true;
  }
  double lowest = sums[0] * deflectionFactor;
  double highest = lowest;
  bool numbers = true;
  for (const double sum : sums) {
    const double v = sum * deflectionFactor;
    numbers = numbers && !std::isnan(v);
    lowest = v < lowest ? v : lowest;
    highest = v > highest ? v : highest;
  }
  if (!numbers)
    return false;
  // The extremes start from 0, as in the point-by-point loop.
  const double smallest = std::min(0.0, reportedDeflection(highest));
  const double largest = std::max(0.0, reportedDeflection(lowest));
  out.deflection =
      greaterBeyondTolerance(std::fabs(smallest), std::fabs(largest)) ? smallest : largest;
  if (storeSamples) {
    // Samples lie 5 mm short of every 100 mm mark: 95, 195, 295 … mm.
    for (std::size_t k = kStepsPerSample - 1; k < sums.size(); k += kStepsPerSample)
      out.samples.push_back(roundSpanDeflection(sums[k], deflectionFactor));
    out.samples.push_back(kEndMarker);
  }
  return true;
}

}  // namespace

SpanDeflection spanDeflection(const BeamModel& model, const BeamResult& result, int member,
                              double deflectionFactor, bool storeSamples) {
  SpanDeflection out;
  if (!validMember(model, member) || !hasLength(model.spans[static_cast<std::size_t>(member)])) {
    if (storeSamples)
      out.samples = endedList({});
    return out;
  }
  const auto k = static_cast<std::size_t>(member);
  const SpanLoads s = spanLoadsOf(model, member);
  const double mi = floorTo(result.memberEndForces[k][2], 0);
  const double mj = floorTo(result.memberEndForces[k][5], 0);
  const double inverseEi = flexibility(model.youngsModulus, model.inertia[k]);
  if (storeSamples)
    out.samples.reserve(static_cast<std::size_t>(s.length / kSampleSpacing) + 2);

  if (s.p[0] == 0 && s.p[1] == 0 && s.uniformVarying) {
    const std::size_t count = pointCount(s.length, false);
    if (count <= kMaxBatchedPoints) {
      std::vector<double>& sums = scratchPoints(count);
      const std::size_t terms =
          (mi != 0 ? 8 : 0) | (mj != 0 ? 4 : 0) | (s.w != 0 ? 2 : 0) | (s.r0 != 0 ? 1 : 0);
      kDeflectionSums[terms](s, mi, mj, inverseEi, sums);
      if (extremeDeflection(sums, deflectionFactor, storeSamples, out))
        return out;
      out.samples.clear();
    }
  }

  double smallest = 0;
  double largest = 0;
  for (int step = 0;; ++step) {
    const double x = kStep * step;
    if (x >= s.length)
      break;
    const double y = roundSpanDeflection(deflectionSum(s, mi, mj, inverseEi, x), deflectionFactor);
    if (y < smallest)
      smallest = y;
    if (y > largest)
      largest = y;
    // Samples lie 5 mm short of every 100 mm mark: 95, 195, 295 … mm.
    if (storeSamples && step % kStepsPerSample == kStepsPerSample - 1)
      out.samples.push_back(y);
  }
  if (storeSamples)
    out.samples.push_back(kEndMarker);
  out.deflection =
      greaterBeyondTolerance(std::fabs(smallest), std::fabs(largest)) ? smallest : largest;
  return out;
}

Overhang overhangOf(const BeamModel& model, OverhangSide side) {
  const int count = std::clamp(model.memberCount, 1, kMaxMembers);
  const bool left = side == OverhangSide::kLeft;
  const auto k = static_cast<std::size_t>(left ? 0 : count - 1);
  Overhang o;
  o.side = side;
  o.length = left ? model.leftOverhang : model.rightOverhang;
  o.lineLoad = model.lineLoads[k] + model.endIntensities[k][left ? 0 : 1];
  o.youngsModulus = model.youngsModulus;
  o.inertia = model.inertia[k];
  return o;
}

double overhangRootMoment(const Overhang& o) {
  const double w = o.lineLoad;
  const double a = o.length;
  // Rounded to 100000 N·mm (0.1 kN·m) for the moment diagram.
  if (o.side == OverhangSide::kLeft)
    return roundHalfUp(w * (a * a) / 2, -5);
  return roundHalfUp(-w * (a * a) / 2, -5);
}

std::vector<double> overhangMomentSamples(const Overhang& o) {
  std::vector<double> samples;
  if (!std::isfinite(o.length))
    return endedList({});
  const double w = o.lineLoad;
  const double a = o.length;
  for (int i = 0;; ++i) {
    const double x = kSampleSpacing * i;
    if (x > a)
      break;
    const double s = o.side == OverhangSide::kLeft ? x : a - x;
    samples.push_back(-w * (s * s) / 2 + 0.0);
  }
  return endedList(std::move(samples));
}

double overhangTipDeflection(const Overhang& o, double deflectionFactor) {
  const double a = o.length;
  const double ei8 = 8.0 * o.youngsModulus * o.inertia;
  // An overhang without stiffness reports no deflection, as a span does.
  if (ei8 == 0)
    return 0;
  return -floorTo(o.lineLoad * (a * a * a * a) / ei8 * deflectionFactor, 3) + 0.0;
}

std::vector<double> overhangDeflectionSamples(const Overhang& o, double deflectionFactor) {
  std::vector<double> samples;
  if (!std::isfinite(o.length))
    return endedList({});
  const double a = o.length;
  const double a3 = a * a * a;
  const double a4 = a3 * a;
  const double ei24 = 24.0 * o.youngsModulus * o.inertia;
  const double coefficient = ei24 == 0 ? 0 : -o.lineLoad / ei24;
  for (int i = 0;; ++i) {
    const double x = kSampleSpacing * i;
    if (x > a)
      break;
    const double s = o.side == OverhangSide::kLeft ? x : a - x;
    const double shape = s * s * s * s - 4 * a3 * s + 3 * a4;
    samples.push_back(-floorTo(coefficient * shape * deflectionFactor, 3) + 0.0);
  }
  return endedList(std::move(samples));
}

}  // namespace tavilo
