#include "report/qt/report_output.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>

#include "calc/errors.h"
#include "persistence/text_file.h"
#include "platform/platform.h"
#include "platform/system_reason.h"
#include "platform/utf8_path.h"
#include "report/qt/painter_surface.h"
#include "report/qt/pdf_document_info.h"
#include "report/qt/qt_path.h"
#include "report/report_canvas.h"
#include "report/report_driver.h"
#include "report/span_table_page.h"

namespace tavilo {
namespace {

// The errno behind a failed save. Qt keeps only its own English text, so the
// cause is read from the place itself where it can be (a folder, a missing or
// read-only folder, a full disk, a file-size limit), else from `captured`.
int likelyCause(const std::filesystem::path& target, int captured) {
  namespace fs = std::filesystem;
  std::error_code code;
  if (fs::is_directory(target, code))
    return EISDIR;
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  if (!fs::exists(folder, code))
    return ENOENT;
  if (!fs::is_directory(folder, code))
    return ENOTDIR;
  if (const int error = platform::folderWriteError(folder); error != 0)
    return error;
  if (const auto space = fs::space(folder, code); !code && space.available == 0)
    return ENOSPC;
  if (platform::fileSizeLimited())
    return EFBIG;
  return captured;
}

[[noreturn]] void throwSaveRefusal(std::string_view kind, const std::filesystem::path& path,
                                   const std::string& reason) {
  throw UserError(std::string(kind) + "「" + visibleName(utf8FromPath(path)) +
                  "」を書き込めません: " + reason + "。既存のファイルは変更していません。");
}

[[noreturn]] void throwSaveFailure(std::string_view kind, const std::filesystem::path& path,
                                   int captured) {
  const int cause = likelyCause(path, captured);
  const std::string reason =
      cause != 0 ? systemReasonText(cause) : "書き込み中にエラーが発生しました";
  throwSaveRefusal(kind, path, reason);
}

// A QSaveFile writes into a unique temporary file created exclusively beside
// the target (on Linux one without a name), which replaces the target only on
// commit and is discarded on every failure. A device or a named pipe would be
// replaced by a regular file that way: such a target is refused first.
void openForSave(QSaveFile& file, std::string_view kind, const std::filesystem::path& path) {
  if (path.empty())
    throw UserError(std::string(kind) + "の保存先が空です。ファイル名を指定して下さい。");
  if (const auto refusal = unwritableTarget(path))
    throwSaveRefusal(kind, path, *refusal);
  errno = 0;
  if (!file.open(QIODevice::WriteOnly))
    throwSaveFailure(kind, path, errno);
}

// The new file keeps the mode of the one it replaces (a read-only report
// stays read-only), which QSaveFile would leave at its own default.
void commitSave(QSaveFile& file, std::string_view kind, const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code code;
  const fs::file_status old = fs::status(path, code);
  errno = 0;
  if (file.error() != QFileDevice::NoError || !file.commit())
    throwSaveFailure(kind, path, errno);
  if (fs::is_regular_file(old))
    fs::permissions(path, old.permissions(), code);
}

PdfDocumentInfo documentInfo(const std::string& title, std::string_view subject) {
  PdfDocumentInfo info;
  info.title = title;
  info.author = kPdfAuthor;
  info.subject = subject;
  info.creator = "Tavilo";
  info.producer = "Qt " + std::string(qVersion());
  info.created = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  info.utcOffset = std::chrono::minutes(QDateTime::currentDateTime().offsetFromUtc() / 60);
  return info;
}

// The screen pass of a drawing: an image of the report's width at 72 pixels
// per inch on the report background, at least `minHeight` high and tall
// enough for everything drawn. A dry pass learns how far down the drawing
// reaches, so that a long report (four spans, overhangs, a heavy-snow site)
// is not cut off at a fixed height.
QImage renderImage(int minHeight, const ReportDrawing& draw, double devicePixelRatio) {
  const int height = screenImageHeight(minHeight, draw);
  QImage image = makeReportImage(kScreenImageWidth, height, devicePixelRatio);
  PainterSurface surface(image, 72, {}, QRect(0, 0, kScreenImageWidth, height));
  drawScreenPass(surface, draw);
  surface.finish();
  return image;
}

}  // namespace

std::string shortDate(const QDate& date, const QLocale& locale) {
  return locale.toString(date, QLocale::ShortFormat).toStdString();
}

std::string PrintJob::todayShortDate() {
  return shortDate(QDate::currentDate(), QLocale::system());
}

QImage renderScreenImage(const CalculationOutcome& outcome, double devicePixelRatio) {
  return renderImage(
      screenImageBaseHeight(outcome),
      [&outcome](ReportCanvas& canvas) { drawCalculationReport(canvas, outcome); },
      devicePixelRatio);
}

namespace {

// One print pass of a drawing onto a paged device.
void printPages(QPagedPaintDevice& device, const QRect& printableArea, const PrintJob& job,
                const ReportDrawing& draw) {
  PainterSurface surface(
      device, device.logicalDpiY(), [&device] { return device.newPage(); }, printableArea);
  ReportSetup setup;
  setup.printSettings = job.printSettings;
  setup.projectFilePath = utf8FromPath(job.projectFilePath);
  setup.date = job.date;
  drawPrintPass(surface, std::move(setup), draw);
  surface.finish();
}

// The pages of a print pass as an A4 PDF with its document information,
// saved whole or not at all.
void writePdf(const std::filesystem::path& path, const std::string& title, const PrintJob& job,
              const ReportDrawing& draw, std::string_view subject = kPdfSubject) {
  constexpr std::string_view kKind = "PDFファイル";
  // Drawn in memory first: the document information is appended to the
  // finished document before anything reaches the file.
  QByteArray document;
  {
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Tavilo"));
    writer.setTitle(QString::fromStdString(title));
    writer.setResolution(kPdfResolution);
    // The sheet is the device; the report keeps to its printable area.
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printPages(writer, a4PrintableArea(kPdfResolution), job, draw);
  }
  std::string bytes = document.toStdString();
  const std::optional<std::string> info =
      pdfDocumentInfoUpdate(bytes, documentInfo(title, subject));
  if (!info)
    throw UserError(std::string(kKind) + "「" + utf8FromPath(path) + "」を作成できません。");
  bytes += *info;

  QSaveFile file(qStringFromPath(path));
  openForSave(file, kKind, path);
  if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
      static_cast<qint64>(bytes.size())) {
    throwSaveFailure(kKind, path, errno);
  }
  commitSave(file, kKind, path);
}

}  // namespace

void printReport(QPagedPaintDevice& device, const QRect& printableArea,
                 const CalculationOutcome& outcome, const PrintJob& job) {
  printPages(device, printableArea, job,
             [&outcome](ReportCanvas& canvas) { drawCalculationReport(canvas, outcome); });
}

std::string reportDocumentTitle(const PrintJob& job, const std::filesystem::path& pdfPath) {
  return reportTitle(job.printSettings, utf8FromPath(job.projectFilePath), utf8FromPath(pdfPath));
}

void writeReportPdf(const std::filesystem::path& path, const CalculationOutcome& outcome,
                    const PrintJob& job) {
  writePdf(path, reportDocumentTitle(job, path), job,
           [&outcome](ReportCanvas& canvas) { drawCalculationReport(canvas, outcome); });
}

QImage renderSpanTableImage(const SpanTable& table, double devicePixelRatio) {
  return renderImage(
      0, [&table](ReportCanvas& canvas) { drawSpanTablePage(canvas, table); }, devicePixelRatio);
}

void printSpanTable(QPagedPaintDevice& device, const QRect& printableArea, const SpanTable& table,
                    const PrintJob& job) {
  printPages(device, printableArea, job,
             [&table](ReportCanvas& canvas) { drawSpanTablePage(canvas, table); });
}

void writeSpanTablePdf(const std::filesystem::path& path, const SpanTable& table,
                       const PrintJob& job) {
  writePdf(path, reportDocumentTitle(job, path) + " スパン表", job,
           [&table](ReportCanvas& canvas) { drawSpanTablePage(canvas, table); });
}

void writeDocumentPdf(const std::filesystem::path& path, const std::string& title,
                      std::string_view subject, const PrintJob& job, const ReportDrawing& draw) {
  writePdf(path, title, job, draw, subject);
}

void writeReportPng(const std::filesystem::path& path, const QImage& image) {
  constexpr std::string_view kKind = "画像ファイル";
  QSaveFile file(qStringFromPath(path));
  openForSave(file, kKind, path);
  QImageWriter writer(&file, "png");
  if (!writer.write(image))
    throwSaveFailure(kKind, path, errno);
  commitSave(file, kKind, path);
}

}  // namespace tavilo
