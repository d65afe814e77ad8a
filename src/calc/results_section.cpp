#include "calc/results_section.h"

#include <cmath>
#include <cstddef>
#include <utility>

#include "calc/numbers.h"

namespace tavilo {
namespace {

constexpr double kToKilo = 0.001;     // N → kN
constexpr double kToMega = 0.000001;  // N·mm → kN·m, N/m² · mm → kN per metre of width

// The overhang values the check takes. In the negative-pressure cases of a
// derived wind load the curtain-wall load w′ is used; elsewhere the values of
// the results table.
OverhangCheckInput overhangCheckInput(const OverhangAnalysis& o, bool wallPressure,
                                      double caseTotal) {
  OverhangCheckInput in;
  in.present = o.present;
  if (!o.present)
    return in;
  in.length = o.length;
  const double a = o.length;
  if (wallPressure) {
    const double m = -o.wallLineLoad * (a * a) / 2;
    // The right root moment is taken to whole kN·mm (1000 N·mm), half up.
    in.moment = o.side == OverhangSide::kLeft ? m : roundHalfUp(m, -3);
    in.deflection = std::fabs(o.wallTipDeflection);
    in.jointForce = std::fabs(o.wallLineLoad) * a;
    return in;
  }
  in.moment = o.tableMoment;
  in.deflection = std::fabs(o.tableDeflection);
  in.jointForce = std::fabs(caseTotal) * a * 0.001;
  return in;
}

ResultsTable resultsTable(const CaseAnalysis& a) {
  ResultsTable t;
  const auto& f = a.result.memberEndForces;
  const std::size_t n = slot(a.spanCount);
  const OverhangAnalysis& left = a.overhangs[0];
  const OverhangAnalysis& right = a.overhangs[1];
  const bool shears = a.windSide == WindSide::Negative;

  for (std::size_t i = 0; i < n; ++i)
    t.spanMoments.push_back(std::fabs(a.spanDesignMoments[i]) * kToMega);

  for (std::size_t node = 0; node <= n; ++node) {
    std::vector<double> moments;
    std::vector<double> shearValues;
    if (node == 0 && left.present) {
      moments.push_back(left.tableMoment * kToMega);
      shearValues.push_back(a.sectionCaseTotal * left.length * kToMega);
    }
    if (node > 0) {
      moments.push_back(std::fabs(f[node - 1][5]) * kToMega);
      shearValues.push_back(f[node - 1][4] * kToKilo);
    }
    if (node < n) {
      moments.push_back(std::fabs(f[node][2]) * kToMega);
      shearValues.push_back(f[node][1] * kToKilo);
    }
    if (node == n && right.present)
      moments.push_back(right.tableMoment * kToMega);
    t.supportMoments.push_back(std::move(moments));
    if (shears)
      t.supportShears.push_back(std::move(shearValues));
  }

  t.deflections.push_back(left.present ? left.tableDeflection : 0.0);
  for (std::size_t i = 0; i < n; ++i)
    t.deflections.push_back(a.spanDeflections[i]);
  t.deflections.push_back(right.present ? right.tableDeflection : 0.0);
  return t;
}

}  // namespace

std::vector<ResultsCase> resultsCases(const DesignConditions& c) {
  std::vector<ResultsCase> cases = {
      {CaseVariant::kLongTerm, ratiosOfCase(c, kLongTerm)},
      {CaseVariant::kShortTermSnow, ratiosOfCase(c, kShortTermSnow)},
      {CaseVariant::kStormPositive, ratiosOfCase(c, kShortTermStorm)},
  };
  CaseRatios noSnowStorm = ratiosOfCase(c, kShortTermStorm);
  noSnowStorm.s = 0;
  // An ordinary site carries no snow in the storm case under uplift; a
  // heavy-snow site is checked with and without it.
  if (c.heavySnow) {
    cases.push_back({CaseVariant::kStormNegative, ratiosOfCase(c, kShortTermStorm)});
    cases.push_back({CaseVariant::kStormNoSnow, noSnowStorm});
  } else {
    cases.push_back({CaseVariant::kStormNegative, noSnowStorm});
  }
  return cases;
}

ResultsSection checkSection(CaseAnalysis analysis, const DesignConditions& c,
                            const CoefficientSettings& settings) {
  const CaseConstants& k = caseConstantsOf(analysis.variant);
  const bool wallPressure =
      analysis.windSide == WindSide::Negative && settings.calcMethod == kCalcMethodNotices;

  CheckInput in;
  in.allowableFactor = k.allowableFactor;
  in.deflectionLimitN = k.deflectionLimit;
  in.designStrengthF = settings.designStrengthF;
  in.sectionModulus = c.sectionModulus;
  in.endJointCapacity = c.endJointCapacity;
  in.midJointCapacity = c.midJointCapacity;
  in.maxMoment = analysis.maxMoment;
  in.maxDeflection = analysis.maxDeflection;
  in.maxDeflectionSpan = analysis.maxDeflectionSpan;
  in.endReaction = analysis.endReaction;
  in.midReaction = analysis.midReaction;
  in.wallPressure = wallPressure;
  in.left = overhangCheckInput(analysis.overhangs[0], wallPressure, analysis.sectionCaseTotal);
  in.right = overhangCheckInput(analysis.overhangs[1], wallPressure, analysis.sectionCaseTotal);

  ResultsSection section;
  section.checks = checkCase(in);
  section.table = resultsTable(analysis);
  section.analysis = std::move(analysis);
  return section;
}

FailureCounters resultsFailures(const DesignConditions& prepared,
                                const CoefficientSettings& settings,
                                const std::optional<WindDerivation>& wind) {
  const double wallPressure = wallPressureFor(
      settings.calcMethod, wind ? &*wind : static_cast<const WindDerivation*>(nullptr));
  FailureCounters failures;
  for (const ResultsCase& results : resultsCases(prepared)) {
    failures +=
        checkSection(analyseCase(prepared, results.variant, results.ratios, wallPressure, false),
                     prepared, settings)
            .checks.failures;
  }
  return failures;
}

}  // namespace tavilo
