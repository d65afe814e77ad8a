#pragma once
// The two outputs of a calculation report: the screen image of the result
// window and the printed report as an A4 PDF. Both need a QGuiApplication.

#include <QImage>
#include <chrono>
#include <string>

#include "calc/calculation_run.h"
#include "calc/print_settings.h"
#include "calc/span_search.h"

namespace tavilo {

inline constexpr int kScreenImageWidth = 565;
// The fixed heights of the result window's image; a longer report gets a
// taller image.
inline constexpr int kScreenImageHeight = 3350;
inline constexpr int kScreenImageHeightHeavySnowOverhangs = 3550;
// Space kept below the lowest drawing of a report taller than the fixed height.
inline constexpr int kScreenImageBottomMargin = 40;
inline constexpr int kPdfResolution = 600;

// The height the result window gives its image before the screen pass.
int screenImageBaseHeight(const CalculationOutcome& outcome);

// The screen pass: a 565-pixel-wide image at 72 pixels per inch on the report
// background, at least the base height and tall enough for all of the report.
QImage renderScreenImage(const CalculationOutcome& outcome);

// What a print job adds to the report: the print settings (project name box,
// page numbers) and the footer's file path and date.
struct PrintJob {
  PrintSettings printSettings;
  std::string projectFilePath;  // empty: no "FileName :" line
  std::chrono::year_month_day date = todayLocal();

  static std::chrono::year_month_day todayLocal();
};

// The print pass onto A4 portrait pages at 600 dpi, written to `path`
// through a temporary file in the same folder that replaces it only when the
// document is complete. Throws UserError naming the file and the reason when
// it cannot be written (an empty path or a folder included); the previous file
// at `path`, if any, is then left as it was and no temporary file remains.
void writeReportPdf(const std::string& path, const CalculationOutcome& outcome,
                    const PrintJob& job);

// The span table page for a window: an image of the report's width at 72
// pixels per inch on the report background, as tall as the page needs.
QImage renderSpanTableImage(const SpanTable& table);

// The span table page on one A4 portrait page at 600 dpi, saved the same way.
void writeSpanTablePdf(const std::string& path, const SpanTable& table, const PrintJob& job);

// The screen image as PNG, saved the same way.
void writeReportPng(const std::string& path, const QImage& image);

}  // namespace tavilo
