#include "app/report_files.h"

#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <string>

#include "calc/errors.h"
#include "report/report_output.h"

namespace tavilo {
namespace {

// Qt's own diagnostics (a painter that could not begin, a runtime folder
// taken by default) would only repeat, less clearly, what the command reports
// itself; critical and fatal messages still reach the terminal.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

// The application object the drawing needs, alive while the files are drawn.
class GuiSession {
 public:
  GuiSession() : previousHandler_(qInstallMessageHandler(quietQtMessages)) {
    if (QCoreApplication::instance() != nullptr)
      return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  ~GuiSession() { qInstallMessageHandler(previousHandler_); }
  GuiSession(const GuiSession&) = delete;
  GuiSession& operator=(const GuiSession&) = delete;

 private:
  QtMessageHandler previousHandler_;
  // QGuiApplication keeps references to these for its whole life.
  int argc_ = 1;
  char name_[12] = "tavilo-calc";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

void writeReportFiles(const ReportFileRequest& request, const CalculationOutcome& outcome,
                      const ReportFacts& facts, std::ostream& err) {
  if (!request.any())
    return;
  const GuiSession session;
  if (request.pdf) {
    PrintJob job;
    job.printSettings = request.printSettings;
    job.projectFilePath = request.projectFile.string();
    try {
      writeReportPdf(request.pdf->string(), outcome, facts, job);
    } catch (const UserError& error) {
      throw UserError(std::string(error.what()) +
                      (request.png ? " 画面イメージ (PNG) は書いていません。" : ""));
    }
    err << "計算書 (PDF) を書きました: " << request.pdf->string() << '\n';
  }
  if (request.png) {
    try {
      writeReportPng(request.png->string(), renderScreenImage(outcome, facts));
    } catch (const UserError& error) {
      throw UserError(std::string(error.what()) +
                      (request.pdf ? " 計算書 (PDF) は書き終えています。" : ""));
    }
    err << "計算結果の画面イメージ (PNG) を書きました: " << request.png->string() << '\n';
  }
}

}  // namespace tavilo
