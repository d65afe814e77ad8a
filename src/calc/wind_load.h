#pragma once
// Design wind pressures on the roofing (velocity pressure after notice 1454,
// peak wind force coefficients of roofing and curtain walls after notice 1458
// of 2000) and every intermediate value that the detail page prints.
//
// The derivation is a pure function of the calculation data: the detail page
// runs it again with the same record and gets the very values of the
// calculation.

#include <array>
#include <span>

#include "calc/design_conditions.h"
#include "calc/numbers.h"

namespace tavilo {

inline constexpr double kUnsetSlot = static_cast<double>(kEndMarker);

// Slots that the roof class in hand does not fill keep kUnsetSlot (kEndMarker
// in the int slots); the report prints only the slots of the class.
struct WindDerivation {
  double roofAngle = 0;         // θ, whole degrees (negative for an arched roof with H2 < H1)
  double meanHeight = 0;        // H = (H1 + H2) / 2, m, 3 decimals
  double heightDifference = 0;  // |H2 − H1|, m, 3 decimals
  double fOverD = kUnsetSlot;   // arched roof only
  double hOverD = kUnsetSlot;   // arched roof only, clamped to 0..0.5

  double zb = 0;  // m
  int zg = 0;     // m
  double roughnessAlpha = 0;
  double er = kUnsetSlot;                // 5 decimals
  double velocityPressure = kUnsetSlot;  // q, N/m², 1 decimal
  double gpe = kUnsetSlot;               // 3 decimals
  double cpe = kUnsetSlot;               // 3 decimals
  double cfExternal = kUnsetSlot;        // Cpe · Gpe

  // Negative peak external pressure coefficients of the roof zones, or the
  // four force coefficients of a canopy (windward +, windward −, leeward +,
  // leeward −).
  std::array<double, 4> zoneCoefficients{kUnsetSlot, kUnsetSlot, kUnsetSlot, kUnsetSlot};
  double cpiPositive = kUnsetSlot;
  double cpiNegative = kUnsetSlot;
  std::array<double, 2> cfPositive{kUnsetSlot, kUnsetSlot};
  std::array<double, 4> cfNegative{kUnsetSlot, kUnsetSlot, kUnsetSlot, kUnsetSlot};
  std::array<int, 4> pressurePositive{kEndMarker, kEndMarker, kEndMarker, kEndMarker};
  std::array<int, 4> pressureNegative{kEndMarker, kEndMarker, kEndMarker, kEndMarker};
  int positiveCount = 0;  // valid entries of cfPositive: 1, or 2 for a canopy
  int negativeCount = 0;  // valid entries of cfNegative: 4, or 2 for an arched roof

  // Curtain wall below an overhang.
  double wallHeightZ = kUnsetSlot;  // m, = H
  double wallCpe = kUnsetSlot;
  double wallGpe = kUnsetSlot;
  double wallCfExternal = kUnsetSlot;
  double wallCpi = kUnsetSlot;
  double wallCf = kUnsetSlot;
  double wallVelocityPressure = kUnsetSlot;
  double wallPressure = kUnsetSlot;      // Wwall+, an integral value
  double overhangPressure = kUnsetSlot;  // Ww− − Wwall+

  int windPositive = 0;  // Ww+, N/m²
  int windNegative = 0;  // Ww−, N/m², negative or zero
};

// Table lookup over the first n points of xs (increasing) and ys, without
// extrapolation at either end.
double interpolate(int n, std::span<const double> xs, std::span<const double> ys, double x);

// θ in whole degrees, computed as the wind derivation does: an arched roof
// uses the signed height difference, the other classes its magnitude; 0 when
// D is 0. Heights and D in cm.
double roofAngleFor(RoofClass roofClass, double eavesHeightH1, double buildingHeightH2,
                    double spanDirectionLengthD);

// Throws UserError for a roughness category outside its list.
// An unknown building shape counts as closed, like its name.
WindDerivation deriveWindLoad(const CaLC_DATA& data);

}  // namespace tavilo
