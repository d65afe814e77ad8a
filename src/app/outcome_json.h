#pragma once
// One calculation as a JSON document: the settings, the design conditions
// after gathering and preparation, the wind and snow derivations and every
// load case of the results section with its checks, then the verdict. Keys
// are the names of the records and fields; numbers are JSON numbers (doubles
// in their shortest round-trip form), texts UTF-8.

#include <nlohmann/json.hpp>

#include "calc/calculation_run.h"
#include "model/live_check.h"

namespace tavilo {

using Json = nlohmann::ordered_json;

Json settingsJson(const CoefficientSettings& settings);
Json conditionsJson(const DesignConditions& conditions);
// Slots the roof class does not use keep the sentinel -99999.
Json windJson(const WindDerivation& wind);
Json snowJson(const SnowDerivation& snow, const DesignConditions& conditions);
Json caseJson(const ResultsSection& section);
Json outcomeJson(const CalculationOutcome& outcome);
// The ratio of every check where it governs (null where it does not apply)
// and the key of the largest.
Json utilisationJson(const Utilisation& utilisation);

}  // namespace tavilo
