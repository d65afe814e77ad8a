#pragma once
// The two outputs of a calculation report: the screen image of the result
// window and the printed report as an A4 PDF. Both need a QGuiApplication.

#include <QDate>
#include <QImage>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QRect>
#include <filesystem>
#include <string>

#include "calc/calculation_run.h"
#include "calc/print_settings.h"
#include "calc/span_search.h"
#include "report/report_passes.h"

namespace tavilo {

// The screen pass: a 565-pixel-wide image at 72 pixels per inch on the report
// background, at least the base height and tall enough for all of the report.
// With a device pixel ratio r the same drawing is made on r times the pixels
// (makeReportImage), for a sharp image on a HiDPI screen.
QImage renderScreenImage(const CalculationOutcome& outcome, double devicePixelRatio = 1.0);

// What a print job adds to the report: the print settings (project name box,
// page numbers) and the footer's file path and date.
struct PrintJob {
  PrintSettings printSettings;
  std::filesystem::path projectFilePath;  // empty: no "FileName :" line
  std::string date = todayShortDate();

  // Today in the short date format of the user's locale ("2026/12/09" in a
  // Japanese one).
  static std::string todayShortDate();
};

// A date in a locale's short date format.
std::string shortDate(const QDate& date, const QLocale& locale);

// The print pass: the report page by page onto a paged device, a printer or
// a PDF writer, with the print job's page numbers, footers and page ends.
// `printableArea` is where a page may be drawn, in the device's pixels from
// the painter's origin (the device's own paint rectangle for QPrinter, or
// a4PrintableArea for a PDF drawn on the whole sheet); the report's layout is
// measured from its top-left corner and its size is the page size. The
// device's vertical resolution is the report's pixels per inch. Throws
// UserError when the device cannot be painted on or refuses a new page.
void printReport(QPagedPaintDevice& device, const QRect& printableArea,
                 const CalculationOutcome& outcome, const PrintJob& job);

// The document's title: the project name, else the project file's name,
// else the PDF's own file name (both without their extension).
std::string reportDocumentTitle(const PrintJob& job, const std::filesystem::path& pdfPath);

// The print pass onto A4 portrait pages at 600 dpi within the printable area
// of common printers (A4 less 5 mm on every side), written to `path` through
// a temporary file in the same folder that replaces it only when the document
// is complete. The document carries its title, the author "Tavilo", the
// subject "デッキプレート構造計算書" and its creation date. Throws UserError
// naming the file and the reason when it cannot be written (an empty path or
// a folder included); the previous file at `path`, if any, is then left as it
// was and no temporary file remains.
void writeReportPdf(const std::filesystem::path& path, const CalculationOutcome& outcome,
                    const PrintJob& job);

// The span table page for a window: an image of the report's width at 72
// pixels per inch on the report background, as tall as the page needs.
QImage renderSpanTableImage(const SpanTable& table, double devicePixelRatio = 1.0);

// The span table page as the only page of a print pass onto a paged
// device, as printReport draws the report.
void printSpanTable(QPagedPaintDevice& device, const QRect& printableArea, const SpanTable& table,
                    const PrintJob& job);

// The span table page as a one-page A4 PDF, saved as writeReportPdf saves
// the report; its title ends in "スパン表".
void writeSpanTablePdf(const std::filesystem::path& path, const SpanTable& table,
                       const PrintJob& job);

// Any other drawing of report pages (the verification document) as an A4
// PDF, printed and saved as writeReportPdf prints and saves the report, with
// its own title and subject.
void writeDocumentPdf(const std::filesystem::path& path, const std::string& title,
                      std::string_view subject, const PrintJob& job, const ReportDrawing& draw);

// The screen image as PNG, saved the same way.
void writeReportPng(const std::filesystem::path& path, const QImage& image);

}  // namespace tavilo
