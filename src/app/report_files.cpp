#include "app/report_files.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "calc/errors.h"
#include "report/report_output.h"

namespace tavilo {
namespace {

void writePng(const std::filesystem::path& path, const QImage& image) {
  // QSaveFile writes beside the target and replaces it only on commit.
  QSaveFile file(QString::fromStdString(path.string()));
  QImageWriter writer(&file, "png");
  if (!file.open(QIODevice::WriteOnly) || !writer.write(image) || !file.commit()) {
    throw UserError("画像ファイル「" + path.string() +
                    "」を書き込めません。保存先と書き込み権限を確認して下さい。");
  }
}

}  // namespace

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
    writeReportPdf(request.pdf->string(), outcome, job);
    err << "計算書 (PDF) を書きました: " << request.pdf->string() << '\n';
  }
  if (request.png) {
    writePng(*request.png, renderScreenImage(outcome));
    err << "計算結果の画面イメージ (PNG) を書きました: " << request.png->string() << '\n';
  }
}

}  // namespace tavilo
