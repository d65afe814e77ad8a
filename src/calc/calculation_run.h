#pragma once
// The calculation run: every load case of one calculation analysed, checked
// and collected into one value, the CalculationOutcome, which the report pages
// and the batch tool only read. Drawing never recomputes a check or changes a
// counter; printing draws the same outcome again.

#include <optional>
#include <string>
#include <vector>

#include "calc/case_analysis.h"
#include "calc/checks.h"
#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"
#include "calc/diagram_cases.h"
#include "calc/preparation.h"
#include "calc/report_facts.h"
#include "calc/results_section.h"
#include "calc/snow_load.h"
#include "calc/wind_load.h"

namespace tavilo {

struct CalculationOutcome {
  DesignConditions conditions;  // after gathering and preparation
  CoefficientSettings settings;
  CaLC_DATA calcData;
  std::optional<WindDerivation> wind;    // none with direct input of loads
  std::optional<SnowDerivation> snow;    // none when the surcharge check did not apply
  std::vector<ResultsSection> sections;  // 4 cases, 5 on a heavy-snow site
  FailureCounters failures;              // over every section
  std::string verdict;
  bool allOk = false;
  DiagramSection diagrams;
  // The input screen as the report prints it, captured when the calculation ran.
  ReportFacts facts;
};

// Both passes, in report order.
CalculationOutcome runCalculation(const DesignConditions& prepared, const CaLC_DATA& calcData,
                                  const CoefficientSettings& settings,
                                  const std::optional<WindDerivation>& wind,
                                  const std::optional<SnowDerivation>& snow);

}  // namespace tavilo
