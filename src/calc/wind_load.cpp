#include "calc/wind_load.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>

#include "calc/errors.h"

namespace tavilo {
namespace {

struct Roughness {
  double zb;
  int zg;
  double alpha;
  std::array<double, 2> gpeRow;  // Gpe at H = 5 m and H = 40 m
};

// Categories Ⅰ to Ⅳ.
constexpr std::array<Roughness, 4> kRoughness = {{
    {5, 250, 0.10, {2.2, 1.9}},
    {5, 350, 0.15, {2.6, 2.1}},
    {5, 450, 0.20, {3.1, 2.3}},
    {10, 550, 0.27, {3.1, 2.3}},
}};

constexpr std::array<double, 2> kGpeHeights = {5, 40};

// Pitched roof: Cpe for the positive case over θ.
constexpr std::array<double, 4> kPitchedCpeAngles = {10, 30, 45, 90};
constexpr std::array<double, 4> kPitchedCpe = {0.0, 0.2, 0.4, 0.8};

// Pitched roof: negative zone coefficients over θ (general, edge, eaves
// corner, eaves ridge).
constexpr std::array<double, 3> kZoneAngles = {10, 20, 30};
constexpr std::array<std::array<double, 3>, 4> kZoneRows = {{
    {-2.5, -2.5, -2.5},
    {-3.2, -3.2, -3.2},
    {-4.3, -3.2, -3.2},
    {-3.2, -5.4, -3.2},
}};

// Arched roof: Cpe over f/d, for h/d = 0 and h/d = 0.5.
constexpr std::array<double, 4> kArchedRatios = {0.05, 0.2, 0.3, 0.5};
constexpr std::array<double, 4> kArchedCpeLow = {0.1, 0.2, 0.3, 0.6};
constexpr std::array<double, 4> kArchedCpeHigh = {0.0, 0.0, 0.2, 0.6};
constexpr double kArchedHOverDMax = 0.5;
constexpr std::array<double, 2> kArchedZones = {-2.5, -3.2};

// Canopy: force coefficients over θ, in the order windward positive,
// windward negative, leeward positive, leeward negative; per roof shape
// (gable, wing).
constexpr std::array<double, 2> kCanopyAngles = {10, 30};
constexpr std::array<std::array<std::array<double, 2>, 4>, 2> kCanopyRows = {{
    {{{0.6, 0.9}, {-1.0, -0.5}, {0.2, 0.0}, {-0.8, -1.5}}},
    {{{0.6, 0.4}, {-1.0, -1.2}, {0.2, 0.8}, {-0.8, -0.3}}},
}};
// Canopy negative factors for the general and the edge zone.
constexpr double kCanopyGeneral = 3.0;
constexpr double kCanopyEdge = 4.0;

struct InternalPressure {
  double positive;
  double negative;
  double wall;
};

// Closed, open on the windward side, open on the leeward side. An unknown
// shape counts as closed, as its printed name does.
InternalPressure internalPressureOf(int buildingShape) {
  switch (buildingShape) {
    case 1:
      return {1.5, 1.5, 1.5};
    case 2:
      return {-1.2, -1.2, -1.2};
    default:
      return {-0.5, 0.0, -0.5};
  }
}

const Roughness& roughnessOf(int roughnessIndex) {
  if (roughnessIndex < 0 || roughnessIndex >= static_cast<int>(kRoughness.size())) {
    throw UserError("粗度区分の値が不正です（" + std::to_string(roughnessIndex + 1) +
                    "）。Ⅰ～Ⅳから選択して下さい。");
  }
  return kRoughness[static_cast<size_t>(roughnessIndex)];
}

// Gpe of the roof and of the curtain wall, both over the mean height H.
double gustFactorAt(const Roughness& roughness, double meanHeight) {
  return floorTo(interpolate(2, kGpeHeights, roughness.gpeRow, meanHeight), 3);
}

void derivePitched(WindDerivation& w) {
  w.positiveCount = 1;
  w.negativeCount = 4;
  w.cpe = floorTo(interpolate(4, kPitchedCpeAngles, kPitchedCpe, w.roofAngle), 3);
  w.cfExternal = w.cpe * w.gpe;
  for (size_t i = 0; i < kZoneRows.size(); ++i) {
    w.zoneCoefficients[i] = floorTo(interpolate(3, kZoneAngles, kZoneRows[i], w.roofAngle), 3);
  }
}

void deriveArched(WindDerivation& w, const CaLC_DATA& data) {
  w.positiveCount = 1;
  w.negativeCount = 2;
  const double d = data.spanDirectionLengthD;
  w.fOverD = d == 0 ? 0.0 : w.heightDifference * 100 / d;
  double hOverD = d == 0 ? 0.0 : data.eavesHeightH1 / d;

  std::array<double, 4> column = kArchedCpeLow;
  if (hOverD <= 0) {
    hOverD = 0;
  } else if (hOverD >= kArchedHOverDMax) {
    hOverD = kArchedHOverDMax;
    column = kArchedCpeHigh;
  } else {
    for (size_t i = 0; i < column.size(); ++i) {
      column[i] =
          kArchedCpeLow[i] + (kArchedCpeHigh[i] - kArchedCpeLow[i]) * hOverD / kArchedHOverDMax;
    }
  }
  w.hOverD = hOverD;

  w.cpe = floorTo(interpolate(4, kArchedRatios, column, w.fOverD), 3);
  w.cfExternal = w.cpe * w.gpe;
  w.zoneCoefficients[0] = kArchedZones[0];
  w.zoneCoefficients[1] = kArchedZones[1];
}

void deriveCanopy(WindDerivation& w, int roofShape) {
  w.positiveCount = 2;
  w.negativeCount = 4;
  const auto& rows = kCanopyRows[roofShape == 1 ? 1 : 0];
  for (size_t i = 0; i < rows.size(); ++i) {
    w.zoneCoefficients[i] = floorTo(interpolate(2, kCanopyAngles, rows[i], w.roofAngle), 3);
  }
  const auto& z = w.zoneCoefficients;
  w.cfPositive = {floorTo(z[0] * w.gpe, 2), floorTo(z[2] * w.gpe, 2)};
  w.cfNegative = {floorTo(z[1] * kCanopyGeneral, 2), floorTo(z[1] * kCanopyEdge, 2),
                  floorTo(z[3] * kCanopyGeneral, 2), floorTo(z[3] * kCanopyEdge, 2)};
}

// Net coefficients of a building (pitched or arched roof): the internal
// pressure is subtracted from every zone slot, unset ones included, so that
// an arched roof's two unused slots read sentinel − Cpi, as printed.
void applyInternalPressure(WindDerivation& w, int buildingShape) {
  const InternalPressure cpi = internalPressureOf(buildingShape);
  w.cpiPositive = cpi.positive;
  w.cpiNegative = cpi.negative;
  w.cfPositive[0] = w.cfExternal - w.cpiPositive;
  for (size_t i = 0; i < w.cfNegative.size(); ++i) {
    w.cfNegative[i] = w.zoneCoefficients[i] - w.cpiNegative;
  }
}

// The largest magnitude wins; on equal magnitudes the first entry stays.
void selectDesignPressures(WindDerivation& w) {
  w.windPositive = 0;
  w.windNegative = 0;
  const double q = w.velocityPressure;
  for (size_t i = 0; i < static_cast<size_t>(w.positiveCount); ++i) {
    const int p = static_cast<int>(floorTo(q * w.cfPositive[i], 0));
    w.pressurePositive[i] = p;
    if (std::abs(w.windPositive) < std::abs(p))
      w.windPositive = p;
  }
  for (size_t i = 0; i < static_cast<size_t>(w.negativeCount); ++i) {
    const int p = static_cast<int>(floorTo(q * w.cfNegative[i], 0));
    w.pressureNegative[i] = p;
    if (p == kEndMarker)
      continue;
    if (std::abs(w.windNegative) < std::abs(p))
      w.windNegative = p;
  }
}

// The positive pressure on the curtain wall below an overhang, which adds to
// the uplift of the overhang. Computed for every roof class.
void deriveCurtainWall(WindDerivation& w, const Roughness& roughness, int buildingShape) {
  const double h = w.meanHeight;
  const double z = h;
  w.wallHeightZ = z;
  double cpe = 1.0;
  if (h <= 5) {
    cpe = 1.0;
  } else if (z <= 5) {
    cpe = std::pow(5 / h, 2 * roughness.alpha);
  } else {
    cpe = std::pow(z / h, 2 * roughness.alpha);
  }
  w.wallCpe = floorTo(cpe, 3);
  w.wallGpe = gustFactorAt(roughness, h);
  w.wallCfExternal = floorTo(w.wallCpe * w.wallGpe, 3);
  w.wallCpi = internalPressureOf(buildingShape).wall;
  w.wallCf = w.wallCfExternal - w.wallCpi;
  w.wallVelocityPressure = roundHalfUp(w.velocityPressure, 1);
  w.wallPressure = floorTo(w.wallVelocityPressure * w.wallCf, 0);
  w.overhangPressure = w.windNegative - w.wallPressure;
}

}  // namespace

double interpolate(int n, std::span<const double> xs, std::span<const double> ys, double x) {
  if (n < 1 || static_cast<size_t>(n) > xs.size() || static_cast<size_t>(n) > ys.size()) {
    throw std::invalid_argument("interpolate: table shorter than its point count");
  }
  const size_t last = static_cast<size_t>(n) - 1;
  if (x <= xs[0])
    return ys[0];
  if (x >= xs[last])
    return ys[last];
  for (size_t i = 0; i < last; ++i) {
    if (x == xs[i])
      return ys[i];
    if ((xs[i] - x) * (xs[i + 1] - x) < 0) {
      return ys[i] + (ys[i + 1] - ys[i]) / (xs[i + 1] - xs[i]) * (x - xs[i]);
    }
  }
  return std::numeric_limits<double>::quiet_NaN();  // x is NaN
}

double roofAngleFor(RoofClass roofClass, double eavesHeightH1, double buildingHeightH2,
                    double spanDirectionLengthD) {
  const double d = spanDirectionLengthD;
  if (roofClass == RoofClass::Arched) {
    // The signed difference: an arched roof lower at its crown than at its
    // eaves gets a negative angle.
    const double inverseD = d == 0 ? 0.0 : 1 / d;
    const double t = std::atan((buildingHeightH2 - eavesHeightH1) * inverseD);
    return t != 0 ? floorTo(t / kPi * 180, 0) : 0.0;
  }
  if (d == 0)
    return 0.0;
  const double heightDifference = roundHalfUp(std::abs(buildingHeightH2 - eavesHeightH1) * 0.01, 3);
  return floorTo(std::atan(heightDifference * 100 / d) / kPi * 180, 0);
}

WindDerivation deriveWindLoad(const CaLC_DATA& data) {
  const Roughness& roughness = roughnessOf(data.roughnessIndex);

  WindDerivation w;
  const double h1 = data.eavesHeightH1;
  const double h2 = data.buildingHeightH2;
  w.meanHeight = roundHalfUp((h2 + h1) * 0.5 * 0.01, 3);
  w.heightDifference = roundHalfUp(std::abs(h2 - h1) * 0.01, 3);
  w.roofAngle = roofAngleFor(data.roofClass, h1, h2, data.spanDirectionLengthD);

  w.zb = roughness.zb;
  w.zg = roughness.zg;
  w.roughnessAlpha = roughness.alpha;
  const double h = w.meanHeight;
  const double er = h < w.zb ? 1.7 * std::pow(w.zb / w.zg, w.roughnessAlpha)
                             : 1.7 * std::pow(h / w.zg, w.roughnessAlpha);
  w.er = floorTo(er, 5);
  const double v0 = data.windSpeedV0;
  w.velocityPressure = floorTo(0.6 * w.er * w.er * v0 * v0, 1);
  w.gpe = gustFactorAt(roughness, h);

  switch (data.roofClass) {
    case RoofClass::Pitched:
      derivePitched(w);
      applyInternalPressure(w, data.buildingShape);
      break;
    case RoofClass::Arched:
      deriveArched(w, data);
      applyInternalPressure(w, data.buildingShape);
      break;
    case RoofClass::Canopy:
      // A canopy has no internal pressure.
      deriveCanopy(w, data.roofShape);
      break;
  }

  selectDesignPressures(w);
  deriveCurtainWall(w, roughness, data.buildingShape);
  return w;
}

}  // namespace tavilo
