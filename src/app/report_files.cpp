#include "app/report_files.h"

#include <QGuiApplication>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "calc/errors.h"
#include "report/qt/report_output.h"

namespace tavilo {

void writeReportFiles(const ReportFileRequest& request, const CalculationOutcome& outcome,
                      std::ostream& err) {
  if (!request.any())
    return;
  if (QGuiApplication::instance() == nullptr)
    throw std::logic_error("writeReportFiles needs a QGuiApplication");
  if (request.pdf) {
    PrintJob job;
    job.printSettings = request.printSettings;
    job.projectFilePath = request.projectFile.string();
    try {
      writeReportPdf(request.pdf->string(), outcome, job);
    } catch (const UserError& error) {
      throw UserError(std::string(error.what()) +
                      (request.png ? " 画面イメージ (PNG) は書いていません。" : ""));
    }
    err << "計算書 (PDF) を書きました: " << visibleName(request.pdf->string()) << '\n';
  }
  if (request.png) {
    try {
      writeReportPng(request.png->string(), renderScreenImage(outcome));
    } catch (const UserError& error) {
      throw UserError(std::string(error.what()) +
                      (request.pdf ? " 計算書 (PDF) は書き終えています。" : ""));
    }
    err << "計算結果の画面イメージ (PNG) を書きました: " << visibleName(request.png->string())
        << '\n';
  }
}

void writeSpanTableFile(const std::filesystem::path& pdf, const SpanTable& table,
                        const PrintSettings& printSettings,
                        const std::filesystem::path& projectFile, std::ostream& err) {
  if (QGuiApplication::instance() == nullptr)
    throw std::logic_error("writeSpanTableFile needs a QGuiApplication");
  PrintJob job;
  job.printSettings = printSettings;
  job.projectFilePath = projectFile.string();
  writeSpanTablePdf(pdf.string(), table, job);
  err << "スパン表 (PDF) を書きました: " << visibleName(pdf.string()) << '\n';
}

}  // namespace tavilo
