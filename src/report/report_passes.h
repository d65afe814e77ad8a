#pragma once
// The two passes of a report drawing, whatever the surface: the screen pass
// (one long image of the report's width at 72 pixels per inch) and the print
// pass (page by page at the device's resolution, with the print job's page
// numbers and footers). The desktop's painter and the browser's canvas both
// draw through them.

#include <functional>
#include <string>

#include "calc/calculation_run.h"
#include "calc/print_settings.h"
#include "report/report_canvas.h"

namespace tavilo {

inline constexpr int kScreenImageWidth = 565;
// The fixed heights of the result window's image; a longer report gets a
// taller image.
inline constexpr int kScreenImageHeight = 3350;
inline constexpr int kScreenImageHeightHeavySnowOverhangs = 3550;
// Space kept below the lowest drawing of a report taller than the fixed height.
inline constexpr int kScreenImageBottomMargin = 40;
inline constexpr int kPdfResolution = 600;
inline constexpr const char* kPdfAuthor = "Tavilo";
inline constexpr const char* kPdfSubject = "デッキプレート構造計算書";
// The margin of common printers: the printable area of a PDF page is the A4
// sheet less this on every side, so that a PDF printed at 100 % loses nothing.
inline constexpr double kPdfMarginMm = 5.0;

// Draws one report (the calculation report, the span table page) onto a
// set-up canvas.
using ReportDrawing = std::function<void(ReportCanvas&)>;

// The height the result window gives its image before the screen pass.
int screenImageBaseHeight(const CalculationOutcome& outcome);

// The height of the screen image of a drawing: at least `minHeight` and
// tall enough for everything drawn, learnt from a dry pass.
int screenImageHeight(int minHeight, const ReportDrawing& draw);

// The screen pass onto a surface of the image's size.
void drawScreenPass(ReportSurface& surface, const ReportDrawing& draw);

// The print pass onto a paged surface: its first page is open, and the
// surface begins every further page itself. `setup` gives the print
// settings, the footer's file path and date; its device is the printer.
void drawPrintPass(ReportSurface& surface, ReportSetup setup, const ReportDrawing& draw);

// The title of a printed document: the project name, else the project
// file's name, else the PDF's own file name (both without their extension).
std::string reportTitle(const PrintSettings& printSettings, const std::string& projectFilePath,
                        const std::string& pdfPath);

}  // namespace tavilo
