#include "calc/snow_depth.h"

#include <algorithm>
#include <cmath>

#include "calc/numbers.h"

namespace tavilo {

DerivedSnowDepth deriveSnowDepth(int altitudeM, int seaRatioPercent,
                                 const SnowCoefficients& coefficients) {
  DerivedSnowDepth result;
  result.computedDepthM = static_cast<double>(altitudeM) * coefficients.alpha +
                          static_cast<double>(seaRatioPercent) * coefficients.beta * 0.01 +
                          coefficients.gamma;
  // Rounded half up to 10 cm. The table's coefficients are range-checked when
  // read; the depth still saturates far beyond the field's range (0 to 9000
  // cm), which clamps it, rather than overflow.
  const double depthCm = roundHalfUp(result.computedDepthM * 10, 0) * 10;
  constexpr double kBound = 1e9;
  result.depthCm =
      std::isfinite(depthCm) ? static_cast<int>(std::clamp(depthCm, -kBound, kBound)) : 0;
  return result;
}

DepthRuleResult applyDepthRules(int snowDepthCm) {
  if (snowDepthCm >= 100)
    return {30, true};
  return {20, false};
}

}  // namespace tavilo
