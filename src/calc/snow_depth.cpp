#include "calc/snow_depth.h"

#include <cmath>

namespace tavilo {

DerivedSnowDepth deriveSnowDepth(int altitudeM, int seaRatioPercent,
                                 const SnowCoefficients& coefficients) {
  DerivedSnowDepth result;
  result.computedDepthM = static_cast<double>(altitudeM) * coefficients.alpha +
                          static_cast<double>(seaRatioPercent) * coefficients.beta * 0.01 +
                          coefficients.gamma;
  result.depthCm = static_cast<int>(std::floor(result.computedDepthM * 10 + 0.5) * 10);
  return result;
}

DepthRuleResult applyDepthRules(int snowDepthCm) {
  if (snowDepthCm >= 100)
    return {30, true};
  return {20, false};
}

}  // namespace tavilo
