#pragma once
// The design snow load Ws = ρ · d and its surcharge for large, low-pitched
// roofs (notice 594 of 2007). There is no roof-shape reduction: μb only enters
// the surcharge factor.

#include "calc/design_conditions.h"
#include "calc/site_data.h"

namespace tavilo {

// Intermediate values of the surcharge, printed by the detail page in states
// 1 and 2. Recomputed only when the surcharge check applies.
struct SnowDerivation {
  double computedDepthM = 0;         // ls·α + rs·β·0.01 + γ of the last depth derivation, m
  double cosTerm = 0;                // cos(1.5 θ)
  double muB = 0;                    // √cos(1.5 θ), 3 decimals
  double dr = 0;                     // tabulated dr, m, 2 decimals
  double snowIncreaseFactorRaw = 0;  // the computed α that state 2 replaced by 1.0
  // The inputs of the last depth derivation, which the detail page prints
  // beside the derived depth: ls (m), rs (%) and α, β, γ of the snow region.
  int altitudeM = 0;
  int seaRatioPercent = 0;
  SnowCoefficients depthCoefficients;
};

inline constexpr int kSnowIncreaseNone = 0;     // the check does not apply
inline constexpr int kSnowIncreaseApplied = 1;  // applies, α ≥ 1.0
inline constexpr int kSnowIncreaseRaised = 2;   // applies, computed α < 1.0, 1.0 used

// Ws in N/m²: ρ · d with loads derived from the notices, else the directly
// entered snow load.
int computeSnowLoad(int calcMethod, int snowUnitWeight, int snowDepth, int directSnowLoad);

// The surcharge, run after the wind derivation has given θ (whole degrees).
// Reads heavySnow, snowDepth, spanDirectionLengthD and snowLoad; writes
// snowLoad, snowIncreaseFactor and snowIncreaseState, and the derivation when
// the check applies.
// With direct input of loads nothing is surcharged: the state is 0 and the
// factor 0.0. A roof angle whose cos(1.5 θ) leaves μb at or below 0 (θ ≤ −60°,
// only reachable by an arched roof that the input check should have refused)
// is treated as a roof the check does not apply to.
void applySnowSurcharge(DesignConditions& conditions, int calcMethod, int roofAngle,
                        SnowDerivation& derivation);

// True when an arched roof of these dimensions (cm, as the calculation data
// hold them) has an angle of −60 degrees or less, where the surcharge factor
// has no value. The input check refuses such data.
bool archedRoofAngleTooSteep(double eavesHeightH1, double buildingHeightH2,
                             double spanDirectionLengthD);

}  // namespace tavilo
