#include "calc/calculation_run.h"

#include <utility>

namespace tavilo {

CalculationOutcome runCalculation(const DesignConditions& prepared, const CaLC_DATA& calcData,
                                  const CoefficientSettings& settings,
                                  const std::optional<WindDerivation>& wind,
                                  const std::optional<SnowDerivation>& snow) {
  CalculationOutcome out;
  out.conditions = prepared;
  out.settings = settings;
  out.calcData = calcData;
  out.wind = wind;
  out.snow = snow;
  const DesignConditions& c = out.conditions;
  const double wallPressure = wallPressureFor(
      settings.calcMethod, wind ? &*wind : static_cast<const WindDerivation*>(nullptr));
  SampledCases cases(c, wallPressure);

  for (const ResultsCase& results : resultsCases(c)) {
    ResultsSection section =
        checkSection(cases.withoutSamplesOf(results.variant, results.ratios), c, settings);
    out.failures += section.checks.failures;
    out.sections.push_back(std::move(section));
  }
  out.verdict = verdictText(out.failures);
  out.allOk = out.failures == FailureCounters{};

  out.diagrams = diagramSection(c, wallPressure, cases);
  return out;
}

}  // namespace tavilo
