#pragma once
// Everything that lives from start-up to the end of the program and that one
// calculation overwrites. One instance is owned by the entry point and passed
// explicitly to whatever needs it; nothing here is a global.

#include <optional>

#include "calc/calculation_run.h"
#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"

namespace tavilo {

struct AppState {
  CoefficientSettings settings;
  // Written only by the calculate command; fields a run does not write (the
  // snow depth and ρ with direct input of loads) keep the previous run's values.
  DesignConditions conditions;
  CaLC_DATA calcData;
  // The last complete calculation, which the result window and printing draw.
  std::optional<CalculationOutcome> lastOutcome;
};

}  // namespace tavilo
