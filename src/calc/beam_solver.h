#pragma once
// The continuous-beam kernel: a 1 m wide strip of deck spanning continuously
// over one to four spans, analysed by a small plane-frame stiffness method,
// with the overhangs beyond the end supports treated in closed form, and the
// evaluation of moments and deflections along every span at 5 mm steps.
//
// Signs used by every result below:
//   loads             positive upward (gravity and pressing wind are negative);
//   reactions, shears positive when the support pushes the deck up;
//   moment curve      positive in hogging (tension on top), negative in sagging;
//   span deflections  positive downward.

#include <array>
#include <vector>

namespace tavilo {

inline constexpr int kMaxMembers = 4;
inline constexpr int kMaxNodes = kMaxMembers + 1;

// Support codes of a node.
inline constexpr int kSupportRoller = 1;  // vertical fixed; horizontal and rotation free
inline constexpr int kSupportPin = 2;     // horizontal and vertical fixed; rotation free
inline constexpr int kSupportFixed = 3;   // everything fixed; any other code is a free node

// Input of one analysis. Members are numbered 0..n-1 from the left, nodes
// (supports) 0..n. A count outside 1..4 is taken as the nearest valid count
// for array access, and a count below 1 gives an all-zero result.
struct BeamModel {
  int memberCount = 1;
  int youngsModulus = 205000;  // N/mm²
  std::array<int, kMaxNodes> supportCodes{kSupportPin, kSupportPin, kSupportPin, kSupportPin,
                                          kSupportPin};
  std::array<double, kMaxMembers> spans{};      // mm
  std::array<double, kMaxMembers> area{};       // mm²
  std::array<double, kMaxMembers> inertia{};    // mm⁴
  std::array<double, kMaxMembers> lineLoads{};  // N/mm over the whole member
  // Linearly varying load, N/mm at the left [0] and right [1] member end.
  std::array<std::array<double, 2>, kMaxMembers> endIntensities{};
  // Up to two concentrated loads per member, N.
  std::array<std::array<double, 2>, kMaxMembers> pointLoads{};
  // [0]: distance of the first load from the left end; [1]: of the second from the first, mm.
  std::array<std::array<double, 2>, kMaxMembers> pointPositions{};
  // 1: the varying load of the member is uniform at its left value.
  std::array<int, kMaxMembers> uniformSnow{1, 1, 1, 1};
  double leftOverhang = 0;   // mm beyond node 0, 0 when absent
  double rightOverhang = 0;  // mm beyond node n, 0 when absent
};

struct BeamResult {
  // Per member: axial, shear, moment at the left end, then at the right end.
  // Shears are reactions (up positive) at both ends; the left moment is
  // positive in hogging, the right one negative in hogging. Not rounded.
  std::array<std::array<double, 6>, kMaxMembers> memberEndForces{};
  // Per node: axial, vertical (the support reaction) and moment sums of the
  // member ends meeting there. Rounded (see roundNodalValue) unless the beam
  // has a single member.
  std::array<std::array<double, 3>, kMaxNodes> nodalResults{};
};

BeamResult analyseBeam(const BeamModel& model);

// floor(v × 1000) × 0.001, and 0 when that lies strictly within ±0.01.
double roundNodalValue(double value);

// Moment curve of one span, evaluated at x = 0, 5, 10 … mm while x ≤ L.
// Moments are whole N·mm (floored), positive in hogging; positions in mm from
// the left support.
struct SpanMoments {
  double minimum = 0;
  double minimumPosition = 0;
  double maximum = 0;
  double maximumPosition = 0;
  // The last point of the 5 mm grid (L itself when L is a multiple of 5 mm).
  double lastPosition = 0;
  // The extreme inside the span (see designMomentOf) and its position.
  double designMoment = 0;
  double designMomentPosition = 0;
  // With storeSamples: values at 0, 100, 200 … mm, then kEndMarker. Else empty.
  std::vector<double> samples;
};

struct DesignMoment {
  double moment = 0;
  double position = 0;
};

// The extreme that lies inside the span: when the minimum lies on the first or
// the last point of the curve the maximum is taken, else when the maximum does
// the minimum, else 0. Under gravity this is the sagging moment (negative).
DesignMoment designMomentOf(const SpanMoments& moments);

SpanMoments spanMoments(const BeamModel& model, const BeamResult& result, int member,
                        bool storeSamples);

// Deflection of one span, evaluated at x = 0, 5, 10 … mm while x < L.
struct SpanDeflection {
  // The extreme deflection in mm, positive downward.
  double deflection = 0;
  // With storeSamples: deflections (positive downward) at 95, 195, 295 … mm
  // while x < L, then kEndMarker. Else empty.
  std::vector<double> samples;
};

SpanDeflection spanDeflection(const BeamModel& model, const BeamResult& result, int member,
                              double deflectionFactor, bool storeSamples);

// −floor(sum × factor × 10000) × 0.0001: a deflection sum (upward positive, mm)
// turned into the reported deflection (downward positive, 0.0001 mm).
double roundSpanDeflection(double sum, double deflectionFactor);

enum class OverhangSide { kLeft, kRight };

// One overhang as the closed-form evaluation sees it. The run may replace the
// line load (the negative-pressure overhang check uses its own load).
struct Overhang {
  OverhangSide side = OverhangSide::kLeft;
  double length = 0;      // mm, 0 when absent
  double lineLoad = 0;    // N/mm, upward positive
  int youngsModulus = 0;  // N/mm², of the adjacent member
  double inertia = 0;     // mm⁴, of the adjacent member
};

// The overhang beyond node 0 (left) or node n (right), loaded like the
// adjacent end of the end member: lineLoads + endIntensities at that end.
Overhang overhangOf(const BeamModel& model, OverhangSide side);

// Root moment for the moment diagram, rounded half up to 100000 N·mm:
// w·a²/2 on the left (negative in hogging), −w·a²/2 on the right (positive in
// hogging).
double overhangRootMoment(const Overhang& overhang);

// Moments every 100 mm, left to right, positive in hogging, then kEndMarker:
// left from the tip (x = 0) towards the root, right from the root towards the
// tip, x = 0, 100 … while x ≤ a.
std::vector<double> overhangMomentSamples(const Overhang& overhang);

// Tip deflection in mm (0.001 mm), positive downward.
double overhangTipDeflection(const Overhang& overhang, double deflectionFactor);

// Deflections every 100 mm in mm (0.001 mm), POSITIVE UPWARD, then kEndMarker:
// left from the tip towards the root, right from the root towards the tip.
std::vector<double> overhangDeflectionSamples(const Overhang& overhang, double deflectionFactor);

}  // namespace tavilo
