// The report writer of the build with Qt: QPainter onto a PDF writer and an
// image.

#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "app/report_files.h"
#include "calc/errors.h"
#include "platform/utf8_path.h"
#include "report/qt/report_output.h"

namespace tavilo {
namespace {

// Qt's own diagnostics (a painter that could not begin, a runtime folder
// taken by default) would only repeat, less clearly, what the command reports
// itself; critical and fatal messages still reach the terminal.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
}

class QtReportFileWriter : public ReportFileWriter {
 public:
  // The report files are drawn with Qt's painter, which needs an application
  // object; a terminal command has no screen, so the offscreen platform
  // serves unless QT_QPA_PLATFORM says otherwise.
  QtReportFileWriter(int& argc, char** argv) {
    qInstallMessageHandler(quietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QGuiApplication>(argc, argv);
  }

  void writeReport(const ReportFileRequest& request, const CalculationOutcome& outcome,
                   std::ostream& err) override {
    if (!request.any())
      return;
    if (request.pdf) {
      PrintJob job;
      job.printSettings = request.printSettings;
      job.projectFilePath = request.projectFile;
      try {
        writeReportPdf(*request.pdf, outcome, job);
      } catch (const UserError& error) {
        throw UserError(std::string(error.what()) +
                        (request.png ? " 画面イメージ (PNG) は書いていません。" : ""));
      }
      err << "計算書 (PDF) を書きました: " << visibleName(utf8FromPath(*request.pdf)) << '\n';
    }
    if (request.png) {
      try {
        writeReportPng(*request.png, renderScreenImage(outcome));
      } catch (const UserError& error) {
        throw UserError(std::string(error.what()) +
                        (request.pdf ? " 計算書 (PDF) は書き終えています。" : ""));
      }
      err << "計算結果の画面イメージ (PNG) を書きました: "
          << visibleName(utf8FromPath(*request.png)) << '\n';
    }
  }

  void writeSpanTable(const std::filesystem::path& pdf, const SpanTable& table,
                      const PrintSettings& printSettings, const std::filesystem::path& projectFile,
                      std::ostream& err) override {
    PrintJob job;
    job.printSettings = printSettings;
    job.projectFilePath = projectFile;
    writeSpanTablePdf(pdf, table, job);
    err << "スパン表 (PDF) を書きました: " << visibleName(utf8FromPath(pdf)) << '\n';
  }

 private:
  std::unique_ptr<QGuiApplication> application_;
};

}  // namespace

std::unique_ptr<ReportFileWriter> makeReportFileWriter(int& argc, char** argv) {
  return std::make_unique<QtReportFileWriter>(argc, argv);
}

}  // namespace tavilo
