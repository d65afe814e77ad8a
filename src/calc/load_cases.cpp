#include "calc/load_cases.h"

#include <stdexcept>

#include "calc/coefficient_settings.h"
#include "calc/errors.h"
#include "calc/numbers.h"

namespace tavilo {
namespace {

// An area load in N/m² on a strip 1 m wide, as an upward line load in N/mm.
constexpr double kAreaToLine = -0.001;

size_t caseSlot(int caseIndex) {
  if (!isLoadCase(caseIndex)) {
    throw std::out_of_range("combineLoads: load case index " + std::to_string(caseIndex));
  }
  return static_cast<size_t>(caseIndex);
}

}  // namespace

CaseCombination combineLoads(int caseIndex, WindSide windSide, const PerLoadCase<double>& ratiosG,
                             const PerLoadCase<double>& ratiosW, const PerLoadCase<double>& ratiosS,
                             int gp, int wPositive, int wNegative, int s) {
  const size_t slot = caseSlot(caseIndex);
  const double rG = ratiosG[slot];
  const double rS = ratiosS[slot];
  const double rW = ratiosW[slot];

  CaseCombination result;
  result.total = gp * rG;
  result.label = rG == 1 ? "G+P" : shortestDecimal(rG) + "(G+P)";

  if (s * rS != 0) {
    result.total += s * rS;
    result.label += "+" + shortestDecimal(rS) + "S";
  }

  if (caseIndex == kLongTerm)
    return result;
  if (windSide == WindSide::Positive && wPositive * rW != 0) {
    result.total += wPositive * rW;
    result.label += "+" + shortestDecimal(rW) + "W(正)";
  } else if (windSide == WindSide::Negative && wNegative * rW != 0) {
    result.total += wNegative * rW;
    result.label += "+" + shortestDecimal(rW) + "W(負)";
  }
  return result;
}

CaseLineLoads caseLineLoads(double w, int gp, double rG, [[maybe_unused]] double rP, double rS,
                            double rW, WindSide windSide, int snowLoad, int spanCount,
                            bool hasLeftOverhang, bool hasRightOverhang, double wallPressure) {
  if (spanCount < 1 || spanCount > kMaxSpans) {
    throw UserError("径間数が不正です（" + std::to_string(spanCount) +
                    "）。スパン数は1～4で指定して下さい。");
  }
  CaseLineLoads result;
  const bool negativeSide = windSide == WindSide::Negative;
  const size_t count = static_cast<size_t>(spanCount);
  for (size_t i = 0; i < count; ++i) {
    result.lineLoads[i] = kAreaToLine * gp * rG + kAreaToLine * w * rW;
    const double snow = kAreaToLine * snowLoad * rS;
    result.endIntensities[i] = {snow, snow};

    if (!negativeSide)
      continue;
    const bool leftEnd = hasLeftOverhang && i == 0;
    const bool rightEnd = hasRightOverhang && i == count - 1;
    if (!leftEnd && !rightEnd)
      continue;
    // The positive pressure on the curtain wall below the overhang adds to its uplift.
    result.overhangLineLoads[i] = kAreaToLine * gp * rG - 0.001 * (w - wallPressure) * rW;
    result.hasOverhangLineLoad[i] = true;
  }
  return result;
}

double wallPressureFor(int calcMethod, const WindDerivation* derivation) {
  if (calcMethod != kCalcMethodNotices || derivation == nullptr)
    return 0.0;
  return derivation->wallPressure;
}

}  // namespace tavilo
