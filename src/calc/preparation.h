#pragma once
// Preparation of a calculation: the CaLC_DATA record, the combined dead
// load, the wind pressures, the load ratios by site and the snow surcharge
// filled from the gathered conditions.

#include <optional>

#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/snow_load.h"
#include "calc/wind_load.h"

namespace tavilo {

// What the preparation step reads besides the gathered conditions.
struct PreparationInputs {
  int overhangCode = 0;         // 0 none, 1 left, 2 right, 3 both
  int leftOverhangLength = 0;   // mm, as entered
  int rightOverhangLength = 0;  // mm, as entered
  int directWindPositive = 0;   // direct input: entered Ww+, N/m²
  int directWindNegative = 0;   // direct input: entered |Ww−|, N/m²
  double computedDepthM = 0;    // the screen's last derived snow depth, m
};

struct LoadDerivations {
  std::optional<WindDerivation> wind;
  std::optional<SnowDerivation> snow;
};

// Fills the CaLC_DATA record, the combined dead load, the wind pressures, the
// load ratios by site and the snow surcharge, in that order. The conditions
// must hold what the input check and the gathering step wrote.
LoadDerivations prepareCalculationData(DesignConditions& conditions, CaLC_DATA& data,
                                       const CoefficientSettings& settings,
                                       const PreparationInputs& inputs);

}  // namespace tavilo
