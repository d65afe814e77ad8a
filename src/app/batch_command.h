#pragma once
// The batch command `tavilo-calc`: loads a project file exactly as the input
// screen's load command does, runs the calculate command and prints a short
// summary or the JSON document of the calculation. Every run is a fresh
// screen, fresh settings and fresh print settings.

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/report_files.h"
#include "calc/calculation_run.h"
#include "model/session.h"

namespace tavilo {

// Exit statuses.
inline constexpr int kBatchCalculated = 0;  // the calculation ran, whatever its verdict
inline constexpr int kBatchInternalError = 1;
inline constexpr int kBatchRefused = 2;  // unreadable file, stopped load or refused input

struct BatchOptions {
  // One or more project files, run one after the other, each from a fresh
  // session as a new start of the program would.
  std::vector<std::filesystem::path> projects;
  std::optional<std::filesystem::path> dataDir;  // the folder of the location tables
  bool json = false;
  // Report files to write besides the summary or the JSON (one project only).
  std::optional<std::filesystem::path> pdf;  // the printed report, A4 at 600 dpi
  std::optional<std::filesystem::path> png;  // the screen image of the result window
  // Folders that receive one report file per project, named after it
  // ("NAME.pdf", "NAME.png"); made when missing.
  std::optional<std::filesystem::path> pdfDir;
  std::optional<std::filesystem::path> pngDir;
  // The span table instead of the calculation; --pdf then writes its page.
  bool spanTable = false;
  std::optional<int> step;  // mm, the grid of the span table
  bool csv = false;         // the span table as CSV
  // A batch that writes report files shows which project it is at on one
  // line of `err`, updated in place; set when standard error is a terminal.
  bool progress = false;
  // The project with every deck of the catalogue instead of the calculation.
  bool everyDeck = false;

  bool wantsReportFiles() const {
    return pdf.has_value() || png.has_value() || pdfDir.has_value() || pngDir.has_value();
  }
};

// Loads, calculates (or builds the span table), writes the requested report
// files and prints, project by project. The results of a project go to `out`
// only when it was calculated and every report file of it was written.
// Messages of the load (ratio defaults), refusals, the names of the written
// report files and errors go to `err`; with several projects each such line
// starts with the project's name, and a refused project's message also
// stands under its name in `out` (as a line with "refusal" in JSON). A report
// file that cannot be written refuses its project. The status is
// kBatchRefused when any project was refused, else kBatchInternalError when
// one failed inside, else kBatchCalculated. `reports` draws the report
// files; without one (a build without Qt) options that ask for report files
// are refused. Every write to `out` and `err` is checked: a lost output
// stops the run with kBatchRefused.
int runBatch(const BatchOptions& options, const std::filesystem::path& executable,
             std::ostream& out, std::ostream& err, ReportFileWriter* reports);

// Why the report files of the run cannot be written as asked, or nothing: a
// combination of options that does not go together, a build without a report
// writer, a nameless or special target, a report file that would replace a
// project of the run or another report file of the run. Each name is
// normalised once and looked up in a hash, so that a batch of thousands of
// projects starts at once.
std::optional<std::string> outputNameRefusal(const BatchOptions& options,
                                             const ReportFileWriter* reports);

// Flushes both streams at the end of a run: when standard output could not
// take everything, says so on `err` (unless `lossReported`) and answers
// kBatchRefused; when `err` itself failed, answers kBatchRefused too.
// Otherwise `status`.
int finishOutput(int status, std::ostream& out, std::ostream& err, bool lossReported = false);

// What --step must be, as its refusals say.
std::string spanStepAdvice();

// The human summary: site, loads, the OK/NG lines of every case, the verdict.
std::string summaryText(const CalculationOutcome& outcome, const std::filesystem::path& project);

}  // namespace tavilo
