#pragma once
// Everything that lives from start-up to the end of the program and that one
// calculation overwrites. One instance is owned by the entry point and passed
// explicitly to whatever needs it; nothing here is a global.

#include "calc/coefficient_settings.h"
#include "calc/design_conditions.h"

namespace tavilo {

struct AppState {
  CoefficientSettings settings;
  DesignConditions conditions;
  CaLC_DATA calcData;
};

}  // namespace tavilo
