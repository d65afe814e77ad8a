#pragma once
// The report surface on a QPainter: the screen image of the result window (a
// QImage at 72 pixels per inch) or the pages of a print job (a QPdfWriter, or
// a QPrinter, at the device's resolution). A QGuiApplication must exist.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "report/report_passes.h"
#include "report/report_surface.h"

namespace tavilo {

class PainterSurface : public ReportSurface {
 public:
  // Paints onto `device` at `pixelsPerInch`: fonts of n points are n × ppi / 72
  // pixels high. `newPage` starts the next page of a paged device, for example
  // [&writer] { return writer.newPage(); }; an image has none. `area` is the
  // part of the device the report is drawn in, in the device's pixels: the
  // printable area of a page, whose top-left corner becomes the report's
  // origin and whose size is the page size the report lays out; empty for the
  // whole device. Throws UserError when the device cannot be painted on.
  PainterSurface(QPaintDevice& device, int pixelsPerInch, std::function<bool()> newPage = {},
                 QRect area = {});
  ~PainterSurface() override;

  // Ends painting; an image holds the drawing and a document is complete
  // afterwards. Nothing may be drawn after it.
  void finish();

  int pixelsPerInch() const override { return pixelsPerInch_; }
  int width() const override { return area_.width(); }
  int height() const override { return area_.height(); }

 protected:
  void applyFont(const FontSpec& font) override;
  void applyPen(const PenSpec& pen) override;
  int measureText(std::string_view text) const override;
  int lineHeight() const override { return metrics_.height(); }
  void paintText(int x, int y, std::string_view text, int endX) override;
  void paintPolyline(std::span<const PixelPoint> points) override;
  void paintRect(int left, int top, int right, int bottom) override;
  void paintFill(int left, int top, int right, int bottom, ReportColor color) override;
  bool startNewPage() override;

 private:
  QString familyFor(const std::string& face);
  // The report's origin at the top-left corner of the area, on every page.
  void placeOrigin();

  QPaintDevice& device_;
  QRect area_;
  int pixelsPerInch_;
  std::function<bool()> newPage_;
  QPainter painter_;
  QFont font_;
  QFontMetrics metrics_;
  QColor textColor_;
  QPen linePen_;
  std::map<std::string, QString> families_;
};

// The installed family that a report face is drawn with: the face itself when
// installed, else its metrically compatible IPA twin ("ＭＳ Ｐゴシック" →
// IPAPGothic, "ＭＳ ゴシック" → IPAGothic), else any Japanese Gothic face.
QString resolveFontFamily(std::string_view face);
// The family that "ＭＳ Ｐゴシック" really resolves to on this machine, as the
// font database reports it (for the font check of the batch tool).
std::string reportFaceFamily();

// The screen image of the report: `width` x `height` pixels at 72 pixels per
// inch, on the report background. With a device pixel ratio r the image holds
// r times the pixels each way (r × 72 per inch) and is drawn on in the same
// 72-per-inch coordinates.
QImage makeReportImage(int width, int height, double devicePixelRatio = 1.0);

// The printable area of an A4 portrait sheet at `dpi`, in device pixels from
// the sheet's top-left corner: the sheet less kPdfMarginMm on every side.
QRect a4PrintableArea(int dpi);

// An A4 portrait PDF document at `dpi` pixels per inch, the paper
// counterpart of a print job: the report is drawn in the sheet's printable
// area (a4PrintableArea). The fonts used are embedded.
class PdfReport {
 public:
  // Throws UserError when the file cannot be written.
  explicit PdfReport(const std::filesystem::path& path, int dpi = 600);
  // Writes into an open device (a QSaveFile that the caller commits).
  explicit PdfReport(QIODevice& device, int dpi = 600);
  PdfReport(const PdfReport&) = delete;
  PdfReport& operator=(const PdfReport&) = delete;
  ~PdfReport();

  ReportSurface& surface() { return *surface_; }
  QPdfWriter& writer() { return *writer_; }
  // Ends the document and closes the file.
  void finish() { surface_->finish(); }

 private:
  void begin(const std::filesystem::path& path, int dpi);

  std::unique_ptr<QPdfWriter> writer_;
  std::unique_ptr<PainterSurface> surface_;
};

}  // namespace tavilo
