#include "calc/snow_load.h"

#include <cmath>

#include "calc/coefficient_settings.h"
#include "calc/numbers.h"
#include "calc/wind_load.h"

namespace tavilo {
namespace {

constexpr int kMinDepthCm = 15;
constexpr double kMinSpanLengthCm = 1000;  // D ≥ 10 m
constexpr int kMaxRoofAngle = 15;
constexpr int kSteepestArchedAngle = -60;

// dr at θ ≤ 2 and at θ = 15, for L = 10 m and L ≥ 50 m.
constexpr double kDrFlatShort = 0.05;
constexpr double kDrSteepShort = 0.01;
constexpr double kDrFlatLong = 0.14;
constexpr double kDrSteepLong = 0.03;

// The tabulated dr (m) over the span-direction length L (m) and θ (degrees),
// interpolated linearly between the table's corners.
double tabulatedDr(double lengthM, int roofAngle) {
  const int theta = roofAngle;
  if (lengthM == 10) {
    if (theta <= 2)
      return kDrFlatShort;
    if (theta == kMaxRoofAngle)
      return kDrSteepShort;
    return kDrFlatShort - (theta - 2) * 0.04 / 13;
  }
  if (lengthM >= 50) {
    if (theta <= 2)
      return kDrFlatLong;
    if (theta == kMaxRoofAngle)
      return kDrSteepLong;
    return kDrFlatLong - (theta - 2) * 0.11 / 13;
  }
  if (lengthM > 10) {
    // The differences are taken in double arithmetic, not as rounded literals.
    const double g = kDrFlatShort + (lengthM - 10) * (kDrFlatLong - kDrFlatShort) / 40;
    const double h = kDrSteepShort + (lengthM - 10) * (kDrSteepLong - kDrSteepShort) / 40;
    if (theta <= 2)
      return g;
    if (theta == kMaxRoofAngle)
      return h;
    return h + (kMaxRoofAngle - theta) * (g - h) / 13;
  }
  return 0;
}

bool surchargeApplies(const DesignConditions& c, int roofAngle) {
  return !c.heavySnow && c.snowDepth >= kMinDepthCm && c.spanDirectionLengthD >= kMinSpanLengthCm &&
         roofAngle <= kMaxRoofAngle;
}

void skipSurcharge(DesignConditions& c) {
  c.snowIncreaseState = kSnowIncreaseNone;
  c.snowIncreaseFactor = 1.0;
}

}  // namespace

int computeSnowLoad(int calcMethod, int snowUnitWeight, int snowDepth, int directSnowLoad) {
  if (calcMethod == kCalcMethodNotices)
    return snowUnitWeight * snowDepth;
  return directSnowLoad;
}

void applySnowSurcharge(DesignConditions& conditions, int calcMethod, int roofAngle,
                        SnowDerivation& derivation) {
  if (calcMethod != kCalcMethodNotices) {
    conditions.snowIncreaseState = kSnowIncreaseNone;
    conditions.snowIncreaseFactor = 0.0;
    return;
  }
  if (!surchargeApplies(conditions, roofAngle)) {
    skipSurcharge(conditions);
    return;
  }

  const double lengthM = conditions.spanDirectionLengthD * 0.01;
  const double cosTerm = std::cos(1.5 * roofAngle * kPi / 180);
  if (!(cosTerm > 0)) {
    skipSurcharge(conditions);
    return;
  }
  const double muB = roundHalfUp(std::sqrt(cosTerm), 3);
  if (!(muB > 0)) {
    skipSurcharge(conditions);
    return;
  }
  const double dr = roundHalfUp(tabulatedDr(lengthM, roofAngle), 2);
  const double factor = roundHalfUp(0.7 + std::sqrt(dr / (muB * conditions.snowDepth * 0.01)), 2);

  derivation.cosTerm = cosTerm;
  derivation.muB = muB;
  derivation.dr = dr;
  if (factor < 1.0) {
    derivation.snowIncreaseFactorRaw = factor;
    conditions.snowIncreaseFactor = 1.0;
    conditions.snowIncreaseState = kSnowIncreaseRaised;
  } else {
    conditions.snowIncreaseFactor = factor;
    conditions.snowIncreaseState = kSnowIncreaseApplied;
  }
  // Ws · α rounded half up to whole N/m²; in state 2 Ws stays as it was.
  conditions.snowLoad =
      static_cast<int>(roundHalfUp(conditions.snowLoad * conditions.snowIncreaseFactor, 0));
}

bool archedRoofAngleTooSteep(double eavesHeightH1, double buildingHeightH2,
                             double spanDirectionLengthD) {
  const double theta =
      roofAngleFor(RoofClass::Arched, eavesHeightH1, buildingHeightH2, spanDirectionLengthD);
  return theta <= kSteepestArchedAngle;
}

}  // namespace tavilo
