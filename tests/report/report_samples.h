#pragma once
// The sample projects of examples/ loaded into an input form on the shipped
// location tables and calculated, as the batch tool does.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <tuple>

#include "calc/app_state.h"
#include "calc/print_settings.h"
#include "model/calculate_command.h"
#include "model/input_form.h"
#include "model/project_file.h"
#include "model/settings_dialog.h"
#include "persistence/project_paths.h"

namespace tavilo::testing {

struct Sample {
  CalculationOutcome outcome;
  PrintSettings print;
  std::filesystem::path path;
};

inline std::filesystem::path samplePath(const std::string& name) {
  return std::filesystem::path(TAVILO_SOURCE_DIR) / "examples" / (name + ".tvl");
}

// Loads and calculates a sample; fails the test when either step refuses.
// `edit` changes the screen and the settings between loading and calculating.
inline Sample calculateSample(
    const std::string& name,
    const std::function<void(InputForm&, CoefficientSettings&)>& edit = {}) {
  InputForm form{LocationTables(std::filesystem::path(TAVILO_SOURCE_DIR) / "Load_data")};
  std::ignore = form.startUp();
  SettingsDialog dialog;
  AppState state;
  Sample sample;
  ProjectPaths paths;
  sample.path = samplePath(name);
  const ProjectLoad load =
      loadProject(sample.path, {form, dialog, state.settings, sample.print, paths});
  EXPECT_TRUE(load.completed()) << load.failure.value_or("");
  if (edit)
    edit(form, state.settings);
  CalculateResult result = calculate(form, state);
  EXPECT_FALSE(result.refusal) << (result.refusal ? result.refusal->message : "");
  if (result.outcome)
    sample.outcome = std::move(*result.outcome);
  return sample;
}

}  // namespace tavilo::testing
