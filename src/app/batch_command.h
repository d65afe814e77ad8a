#pragma once
// The batch command `tavilo-calc`: loads a project file exactly as the input
// screen's load command does, runs the calculate command and prints a short
// summary or the JSON document of the calculation. Every run is a fresh
// screen, fresh settings and fresh print settings.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "calc/calculation_run.h"
#include "ui/form/session.h"

namespace tavilo {

// Exit statuses.
inline constexpr int kBatchCalculated = 0;  // the calculation ran, whatever its verdict
inline constexpr int kBatchInternalError = 1;
inline constexpr int kBatchRefused = 2;  // unreadable file, stopped load or refused input

struct BatchOptions {
  std::filesystem::path project;
  std::optional<std::filesystem::path> dataDir;  // the folder of the location tables
  bool json = false;
  // Report files to write besides the summary or the JSON.
  std::optional<std::filesystem::path> pdf;  // the printed report, A4 at 600 dpi
  std::optional<std::filesystem::path> png;  // the screen image of the result window
};

// Loads, calculates, writes the requested report files and prints. The
// result goes to `out` only when the calculation ran and every report file
// was written; messages of the load (ratio defaults), the refusal of the
// input check (one line), the names of the written report files and errors
// go to `err`. A report file that cannot be written ends the run with
// kBatchRefused.
int runBatch(const BatchOptions& options, const std::filesystem::path& executable,
             std::ostream& out, std::ostream& err);

// The human summary: site, loads, the OK/NG lines of every case, the verdict.
std::string summaryText(const CalculationOutcome& outcome, const std::filesystem::path& project);

}  // namespace tavilo
