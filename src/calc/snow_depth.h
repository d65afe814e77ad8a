#pragma once
// The two snow rules that run on the input screen: the vertical snow depth
// derived from altitude and sea ratio, and the heavy-snow rule on every change
// of the depth.

#include "calc/site_data.h"

namespace tavilo {

struct DerivedSnowDepth {
  int depthCm = 0;            // rounded half up to a multiple of 10 cm
  double computedDepthM = 0;  // ls·α + rs·β·0.01 + γ, unrounded
};

DerivedSnowDepth deriveSnowDepth(int altitudeM, int seaRatioPercent,
                                 const SnowCoefficients& coefficients);

struct DepthRuleResult {
  int snowUnitWeight = 20;  // ρ, N/cm/m²
  bool heavySnow = false;   // the site counts as a heavy-snow region
};

// d ≥ 100 cm: ρ 30 and heavy snow; otherwise ρ 20 and not.
DepthRuleResult applyDepthRules(int snowDepthCm);

}  // namespace tavilo
