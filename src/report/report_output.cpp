#include "report/report_output.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "calc/errors.h"
#include "report/painter_surface.h"
#include "report/pdf_document_info.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"
#include "report/report_driver.h"

namespace tavilo {
namespace {

// The temporary file beside the target: same folder, so the final rename
// stays on one file system and replaces the target in one step.
std::filesystem::path temporaryPathFor(const std::filesystem::path& target) {
  std::filesystem::path temp = target;
  temp += ".tmp-" + std::to_string(QCoreApplication::applicationPid());
  return temp;
}

void removeQuietly(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

PdfDocumentInfo documentInfo(const std::string& title) {
  PdfDocumentInfo info;
  info.title = title;
  info.author = kPdfAuthor;
  info.subject = kPdfSubject;
  info.creator = "Tavilo";
  info.producer = "Qt " + std::string(qVersion());
  info.created = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  info.utcOffset = std::chrono::minutes(QDateTime::currentDateTime().offsetFromUtc() / 60);
  return info;
}

}  // namespace

std::chrono::year_month_day PrintJob::todayLocal() {
  const QDate d = QDate::currentDate();
  return std::chrono::year{d.year()} / std::chrono::month{static_cast<unsigned>(d.month())} /
         std::chrono::day{static_cast<unsigned>(d.day())};
}

int screenImageBaseHeight(const CalculationOutcome& outcome) {
  const bool tall = outcome.settings.calcMethod == kCalcMethodNotices &&
                    outcome.facts.overhangSelected && outcome.conditions.heavySnow == 1;
  return tall ? kScreenImageHeightHeavySnowOverhangs : kScreenImageHeight;
}

QImage renderScreenImage(const CalculationOutcome& outcome) {
  const int baseHeight = screenImageBaseHeight(outcome);
  // A dry pass learns how far down the report reaches, so that a long report
  // (four spans, overhangs, a heavy-snow site) is not cut off at the fixed height.
  RecordingSurface dryRun(72, kScreenImageWidth, baseHeight);
  {
    ReportCanvas canvas = beginReport(dryRun, {});
    drawCalculationReport(canvas, outcome);
  }
  const int height = std::max(baseHeight, dryRun.usedHeight() + kScreenImageBottomMargin);

  QImage image = makeReportImage(kScreenImageWidth, height);
  PainterSurface surface(image, 72);
  ReportCanvas canvas = beginReport(surface, {});
  drawCalculationReport(canvas, outcome);
  surface.finish();
  return image;
}

void printReport(QPagedPaintDevice& device, const QRect& printableArea,
                 const CalculationOutcome& outcome, const PrintJob& job) {
  PainterSurface surface(
      device, device.logicalDpiY(), [&device] { return device.newPage(); }, printableArea);
  ReportSetup setup;
  setup.device = ReportDevice::kPrinter;
  setup.printSettings = job.printSettings;
  setup.projectFilePath = job.projectFilePath;
  setup.date = job.date;
  {
    ReportCanvas canvas = beginReport(surface, std::move(setup));
    drawCalculationReport(canvas, outcome);
  }
  surface.finish();
}

std::string reportDocumentTitle(const PrintJob& job, const std::string& pdfPath) {
  const std::string& name = job.printSettings.projectName;
  if (!name.empty() && name != kNoProjectName)
    return name;
  if (!job.projectFilePath.empty())
    return std::filesystem::path(job.projectFilePath).stem().string();
  return std::filesystem::path(pdfPath).stem().string();
}

void writeReportPdf(const std::string& path, const CalculationOutcome& outcome,
                    const PrintJob& job) {
  const std::filesystem::path target(path);
  const std::filesystem::path temp = temporaryPathFor(target);
  const std::string title = reportDocumentTitle(job, path);
  try {
    {
      QPdfWriter writer(QString::fromStdString(temp.string()));
      writer.setCreator(QStringLiteral("Tavilo"));
      writer.setTitle(QString::fromStdString(title));
      writer.setResolution(kPdfResolution);
      // The sheet is the device; the report keeps to its printable area.
      writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
      printReport(writer, a4PrintableArea(kPdfResolution), outcome, job);
    }
    appendPdfDocumentInfo(temp, documentInfo(title));
  } catch (const UserError&) {
    removeQuietly(temp);
    throw UserError("PDFファイル「" + path +
                    "」を書き込めません。保存先と書き込み権限を確認して下さい。");
  } catch (...) {
    removeQuietly(temp);
    throw;
  }

  std::error_code error;
  if (!std::filesystem::exists(temp, error) || std::filesystem::file_size(temp, error) == 0) {
    removeQuietly(temp);
    throw UserError("PDFファイル「" + path +
                    "」を書き込めません。保存先と書き込み権限を確認して下さい。");
  }
  std::filesystem::rename(temp, target, error);
  if (error) {
    removeQuietly(temp);
    throw UserError("PDFファイル「" + path + "」を保存できません（" + error.message() + "）。");
  }
}

}  // namespace tavilo
