#pragma once
// The results section of a calculation: the cases it checks in report
// order, each analysed case checked, and the numbers of its results table.

#include <optional>
#include <vector>

#include "calc/case_analysis.h"
#include "calc/checks.h"
#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/wind_load.h"

namespace tavilo {

// The numbers of the results table under the deck schematic. Moments in
// kN·m as magnitudes, shears in kN with their sign, deflections in mm.
struct ResultsTable {
  std::vector<double> spanMoments;  // Ｍ₁: |design moment| per span
  // Ｍ₀ per support 0..n, the values joined by "/" left to right: left
  // overhang root / first span left end; right end of span i / left end of
  // span i+1; last span right end / right overhang root.
  std::vector<std::vector<double>> supportMoments;
  // δ row: left overhang tip (0 without one), every span, right overhang tip
  // (0 without one).
  std::vector<double> deflections;
  // Ｑ row, negative-pressure sections only (else empty): member end shears
  // per support joined like the moments; at the first support with a left
  // overhang the overhang load (case total × a × 10⁻⁶, kN) comes first.
  std::vector<std::vector<double>> supportShears;
};

struct ResultsSection {
  CaseAnalysis analysis;
  CaseChecks checks;
  ResultsTable table;
};
// A case of the results section with the ratios it is analysed with.
struct ResultsCase {
  CaseVariant variant;
  CaseRatios ratios;
};

// The cases of the results section in report order: long-term, short-term
// snow, storm under positive and under negative pressure, and on a
// heavy-snow site the storm without snow.
std::vector<ResultsCase> resultsCases(const DesignConditions& prepared);

ResultsSection checkSection(CaseAnalysis analysis, const DesignConditions& conditions,
                            const CoefficientSettings& settings);

// The failures of the results section alone, which decide the verdict:
// the same cases, analyses and checks as the calculation run, without the
// samples and the diagram section.
FailureCounters resultsFailures(const DesignConditions& prepared,
                                const CoefficientSettings& settings,
                                const std::optional<WindDerivation>& wind);

}  // namespace tavilo
