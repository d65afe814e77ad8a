// The browser build's batch command writes no report files: the page draws
// and prints the report itself, and the command line serves the summary, the
// JSON document and the span table.

#include "app/report_files.h"
#include "calc/errors.h"

namespace tavilo {
namespace {

[[noreturn]] void refuse() {
  throw UserError("このビルドの tavilo-calc は計算書のファイル (--pdf, --png) を書けません。");
}

}  // namespace

void writeReportFiles(const ReportFileRequest& request, const CalculationOutcome&, std::ostream&) {
  if (request.any())
    refuse();
}

void writeSpanTableFile(const std::filesystem::path&, const SpanTable&, const PrintSettings&,
                        const std::filesystem::path&, std::ostream&) {
  refuse();
}

}  // namespace tavilo
