#pragma once
// The report files of the batch command: the printed report as PDF and the
// screen image as PNG, drawn from a finished calculation by the build's
// report writer. The build with Qt has one (app/qt); a build without Qt has
// none, and the command then refuses the options that ask for files.

#include <filesystem>
#include <memory>
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

class ReportFileWriter {
 public:
  virtual ~ReportFileWriter() = default;

  // Writes the requested files, each through a temporary file beside it, and
  // names each written file on `err`. Throws UserError when a file cannot be
  // written.
  virtual void writeReport(const ReportFileRequest& request, const CalculationOutcome& outcome,
                           std::ostream& err) = 0;

  // Writes the span table page as PDF the same way and names the file on
  // `err`.
  virtual void writeSpanTable(const std::filesystem::path& pdf, const SpanTable& table,
                              const PrintSettings& printSettings,
                              const std::filesystem::path& projectFile, std::ostream& err) = 0;
};

// The report writer of this build, with whatever its drawing needs started
// (Qt's application object, on the offscreen platform unless QT_QPA_PLATFORM
// says otherwise); nothing in a build that writes no report files.
std::unique_ptr<ReportFileWriter> makeReportFileWriter(int& argc, char** argv);

}  // namespace tavilo
