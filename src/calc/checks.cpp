#include "calc/checks.h"

#include <cmath>
#include <cstdlib>

#include "calc/catalogue.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

// The allowable stress is F / 1.5 for long-term loads, scaled by k.
constexpr double kLongTermSafety = 1.5;

JointCheck jointCheck(double force, int capacity, double allowable) {
  return JointCheck{force, capacity, allowable, force < allowable};
}

DeflectionCheck deflectionCheck(double deflection, double length, double n) {
  const double limit = length / n;
  return DeflectionCheck{deflection, length, limit, limit > deflection};
}

// Left overhang: |M| / Z unrounded. Right overhang: the stress floored to
// 0.1 N/mm² with its sign, then taken as a magnitude.
double overhangStress(OverhangSide side, double moment, double sectionModulus) {
  if (side == OverhangSide::kLeft)
    return std::fabs(moment) / sectionModulus;
  return std::fabs(floorTo(moment / sectionModulus, 1));
}

struct Governing {
  OverhangSide side;
  const OverhangCheckInput* values;
  std::string_view line;
};

// The only overhang present, or with two the one with the larger |M|, the
// left one on a tie. A line explains the choice only when the moments differ.
Governing governingOverhang(const CheckInput& in) {
  if (!in.right.present)
    return {OverhangSide::kLeft, &in.left, {}};
  if (!in.left.present)
    return {OverhangSide::kRight, &in.right, {}};
  const double left = std::fabs(in.left.moment);
  const double right = std::fabs(in.right.moment);
  if (greaterBeyondTolerance(left, right))
    return {OverhangSide::kLeft, &in.left, kLeftOverhangGovernsLine};
  if (greaterBeyondTolerance(right, left))
    return {OverhangSide::kRight, &in.right, kRightOverhangGovernsLine};
  return {OverhangSide::kLeft, &in.left, {}};
}

OverhangCheck checkOverhang(const CheckInput& in, const CaseChecks& c, FailureCounters& failures) {
  const Governing g = governingOverhang(in);
  const OverhangCheckInput& o = *g.values;
  OverhangCheck check;
  check.side = g.side;
  check.length = o.length;
  check.wallPressure = in.wallPressure;
  check.governingLine = std::string(g.line);
  check.moment = o.moment;
  check.sigma = overhangStress(g.side, o.moment, in.sectionModulus);
  check.stressOk = check.sigma < c.allowableStress;
  if (!check.stressOk)
    ++failures.stress;
  check.deflection = deflectionCheck(o.deflection, o.length, c.deflectionLimitN);
  if (!check.deflection.ok)
    ++failures.deflection;
  if (in.endReaction < 0) {
    check.joint = jointCheck(o.jointForce, in.endJointCapacity, c.endJointAllowable);
    if (!check.joint->ok)
      ++failures.joint;
  }
  return check;
}

}  // namespace

double allowableStress(double allowableFactor, int designStrengthF) {
  return floorTo(allowableFactor * designStrengthF / kLongTermSafety, 0);
}

double jointAllowable(int fastenerCapacity, double allowableFactor) {
  return fastenerCapacity * allowableFactor * kFastenersPerDeckWidth * 1000 / kDeckWidthMm;
}

double spanStress(double maxMoment, double sectionModulus) {
  return ceilTo(maxMoment / sectionModulus, 1);
}

FailureCounters& FailureCounters::operator+=(const FailureCounters& other) {
  stress += other.stress;
  deflection += other.deflection;
  joint += other.joint;
  return *this;
}

CaseChecks checkCase(const CheckInput& in) {
  CaseChecks c;
  c.allowableFactor = in.allowableFactor;
  c.deflectionLimitN = in.deflectionLimitN;
  c.allowableStress = allowableStress(in.allowableFactor, in.designStrengthF);
  c.endJointAllowable = jointAllowable(in.endJointCapacity, in.allowableFactor);
  c.midJointAllowable = jointAllowable(in.midJointCapacity, in.allowableFactor);

  const double sigma = spanStress(in.maxMoment, in.sectionModulus);
  c.stress = StressCheck{in.maxMoment, sigma, c.allowableStress, sigma < c.allowableStress};
  if (!c.stress.ok)
    ++c.failures.stress;

  c.deflection = deflectionCheck(in.maxDeflection, in.maxDeflectionSpan, in.deflectionLimitN);
  if (!c.deflection.ok)
    ++c.failures.deflection;

  // Only a support that pulls on the deck loads its fasteners.
  if (in.endReaction < 0) {
    c.endJoint = jointCheck(std::fabs(in.endReaction), in.endJointCapacity, c.endJointAllowable);
    if (!c.endJoint->ok)
      ++c.failures.joint;
  }
  if (in.midReaction < 0) {
    c.midJoint = jointCheck(std::fabs(in.midReaction), in.midJointCapacity, c.midJointAllowable);
    if (!c.midJoint->ok)
      ++c.failures.joint;
  }

  if (in.left.present || in.right.present)
    c.overhang = checkOverhang(in, c, c.failures);
  return c;
}

std::string verdictText(const FailureCounters& failures) {
  std::string text(kVerdictPrefix);
  if (failures.stress > 0)
    text += kVerdictStressNg;
  if (failures.deflection > 0)
    text += kVerdictDeflectionNg;
  if (failures.joint > 0)
    text += kVerdictJointNg;
  if (text == kVerdictPrefix)
    return std::string(kVerdictAllOk);
  return text + std::string(kVerdictChangeNeeded);
}

}  // namespace tavilo
