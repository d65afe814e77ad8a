#pragma once
// The combined area load and its label for each load case, and the line loads
// of a 1 m wide deck strip that the continuous-beam solver receives.
// Area loads in N/m², downward positive; line loads in N/mm, upward positive.

#include <array>
#include <string>
#include <string_view>

#include "calc/design_conditions.h"
#include "calc/wind_load.h"

namespace tavilo {

// Wind sides: positive pressure (W = Ww+) and negative pressure (W = Ww−).
enum class WindSide { Positive, Negative };

struct CaseCombination {
  double total = 0;   // N/m², downward positive
  std::string label;  // e.g. "G+P+0.7S", "1.2(G+P)+1W(負)"
};

// The combination of case `caseIndex` (0 long-term, 1 short-term snow,
// 2 short-term storm). A term whose load times ratio is 0 is left out of both
// the total and the label, except G+P; the long-term case never carries wind.
// Throws std::out_of_range for a case index outside 0..2.
CaseCombination combineLoads(int caseIndex, WindSide windSide, const PerLoadCase<double>& ratiosG,
                             const PerLoadCase<double>& ratiosW, const PerLoadCase<double>& ratiosS,
                             int gp, int wPositive, int wNegative, int s);

struct CaseLineLoads {
  std::array<double, kMaxSpans> lineLoads{};  // −0.001 · ((G+P) · rG + W · rW)
  std::array<std::array<double, 2>, kMaxSpans> endIntensities{};  // −0.001 · S · rS, both ends
  // The uplift of the overhang beyond the first (left) or last (right) span
  // on the negative side, with the curtain-wall pressure added.
  std::array<double, kMaxSpans> overhangLineLoads{};
  std::array<bool, kMaxSpans> hasOverhangLineLoad{};
};

// Line loads of every span for one case. `w` is Ww+ or Ww− according to
// `windSide`; `wallPressure` is Wwall+ of this calculation's wind derivation
// (take it from wallPressureFor). The concentrated span loads, which the
// live-load ratio rP would scale, are always zero. Throws UserError for a
// span count outside 1..4.
CaseLineLoads caseLineLoads(double w, int gp, double rG, double rP, double rS, double rW,
                            WindSide windSide, int snowLoad, int spanCount, bool hasLeftOverhang,
                            bool hasRightOverhang, double wallPressure);

// Wwall+ for the overhang line loads. With direct input of loads the wind
// derivation does not run and no curtain-wall pressure exists, so this is 0
// whatever an earlier calculation derived; it is also 0 without a derivation.
double wallPressureFor(int calcMethod, const WindDerivation* derivation);

}  // namespace tavilo
