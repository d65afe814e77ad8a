#pragma once
// The report files of the batch command: the printed report as PDF and the
// screen image as PNG, drawn from a finished calculation.

#include <filesystem>
#include <optional>
#include <ostream>

#include "calc/calculation_run.h"
#include "calc/print_settings.h"
#include "calc/span_search.h"

namespace tavilo {

struct ReportFileRequest {
  std::optional<std::filesystem::path> pdf;
  std::optional<std::filesystem::path> png;
  PrintSettings printSettings;        // of the project file
  std::filesystem::path projectFile;  // named in the printed footer
  bool any() const { return pdf.has_value() || png.has_value(); }
};

// Writes the requested files, each through a temporary file beside it, and
// names each written file on `err`. The drawing needs a QGuiApplication,
// which the caller's main() creates. Throws UserError when a file cannot be
// written.
void writeReportFiles(const ReportFileRequest& request, const CalculationOutcome& outcome,
                      std::ostream& err);

// Writes the span table page as PDF the same way and names the file on `err`.
void writeSpanTableFile(const std::filesystem::path& pdf, const SpanTable& table,
                        const PrintSettings& printSettings,
                        const std::filesystem::path& projectFile, std::ostream& err);

}  // namespace tavilo
