#include "report/qt/painter_surface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "calc/errors.h"
#include "report/qt/qt_path.h"
#include "report/report_style.h"

namespace tavilo {
namespace {

QColor toQColor(ReportColor c) {
  return QColor(c.red, c.green, c.blue);
}

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

Qt::PenStyle toQtStyle(PenStyle style) {
  switch (style) {
    case PenStyle::kDotted:
      return Qt::DotLine;
    case PenStyle::kDashDot:
      return Qt::DashDotLine;
    case PenStyle::kSolid:
      break;
  }
  return Qt::SolidLine;
}

QRect toQRect(int left, int top, int right, int bottom) {
  return QRect(QPoint(std::min(left, right), std::min(top, bottom)),
               QSize(std::abs(right - left), std::abs(bottom - top)));
}

bool containsFamily(const QStringList& families, const QString& family) {
  return families.contains(family, Qt::CaseInsensitive);
}

}  // namespace

QString resolveFontFamily(std::string_view face) {
  const QString wanted = toQString(face);
  const QStringList installed = QFontDatabase::families();
  if (containsFamily(installed, wanted))
    return wanted;

  // The IPA fonts share the glyph widths of the report faces, so a report
  // laid out with them keeps its line lengths.
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kTwins{{
      {"ＭＳ Ｐゴシック", "IPAPGothic"},
      {"ＭＳ Ｐゴシック", "IPA Pゴシック"},
      {"ＭＳ ゴシック", "IPAGothic"},
      {"ＭＳ ゴシック", "IPAゴシック"},
  }};
  for (const auto& [report, twin] : kTwins) {
    if (report == face && containsFamily(installed, toQString(twin)))
      return toQString(twin);
  }

  const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
  for (const QString& family : japanese) {
    if (family.contains(QStringLiteral("Gothic"), Qt::CaseInsensitive) ||
        family.contains(QStringLiteral("ゴシック"))) {
      return family;
    }
  }
  return japanese.isEmpty() ? wanted : japanese.front();
}

std::string reportFaceFamily() {
  return QFontInfo(QFont(resolveFontFamily(kReportFace))).family().toStdString();
}

QImage makeReportImage(int width, int height, double devicePixelRatio) {
  const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  const auto pixels = [ratio](int size) {
    return std::max(1, static_cast<int>(std::ceil(std::max(1, size) * ratio)));
  };
  QImage image(pixels(width), pixels(height), QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  constexpr double kDotsPerMetreAt72Dpi = 72 / 0.0254;
  image.setDotsPerMeterX(static_cast<int>(std::lround(kDotsPerMetreAt72Dpi * ratio)));
  image.setDotsPerMeterY(static_cast<int>(std::lround(kDotsPerMetreAt72Dpi * ratio)));
  image.fill(toQColor(kScreenBackground));
  return image;
}

PainterSurface::PainterSurface(QPaintDevice& device, int pixelsPerInch,
                               std::function<bool()> newPage, QRect area)
    : device_(device),
      // A HiDPI image is drawn on in its device-independent pixels.
      area_(area.isEmpty() ? QRect(0, 0, device.width() / std::max(1.0, device.devicePixelRatioF()),
                                   device.height() / std::max(1.0, device.devicePixelRatioF()))
                           : area),
      pixelsPerInch_(pixelsPerInch),
      newPage_(std::move(newPage)),
      metrics_(QFont()) {
  if (!painter_.begin(&device_)) {
    throw UserError("計算書の出力先に描画を開始できませんでした。");
  }
  painter_.setBrush(Qt::NoBrush);
  painter_.setBackgroundMode(Qt::TransparentMode);
  placeOrigin();
}

void PainterSurface::placeOrigin() {
  painter_.resetTransform();
  painter_.translate(area_.topLeft());
}

PainterSurface::~PainterSurface() {
  finish();
}

void PainterSurface::finish() {
  if (painter_.isActive())
    painter_.end();
}

QString PainterSurface::familyFor(const std::string& face) {
  const auto found = families_.find(face);
  if (found != families_.end())
    return found->second;
  const QString family = resolveFontFamily(face);
  families_.emplace(face, family);
  return family;
}

void PainterSurface::applyFont(const FontSpec& font) {
  font_ = QFont(familyFor(font.face));
  // Points to device pixels by the surface's own resolution, so that 9 points
  // are 9 pixels on the 72 ppi screen image whatever the monitor.
  const long pixels = std::lround(font.sizePt * pixelsPerInch_ / 72.0);
  font_.setPixelSize(static_cast<int>(std::max(1L, pixels)));
  font_.setBold(font.bold);
  metrics_ = QFontMetrics(font_, &device_);
  textColor_ = toQColor(font.color);
  if (painter_.isActive())
    painter_.setFont(font_);
}

void PainterSurface::applyPen(const PenSpec& pen) {
  // Round ends keep thick solid rules looking like the printer's; dots and
  // dashes keep flat ends, or the gaps between them would close up.
  const Qt::PenCapStyle cap = pen.style == PenStyle::kSolid ? Qt::RoundCap : Qt::FlatCap;
  linePen_ =
      QPen(toQColor(pen.color), std::max(0, pen.width), toQtStyle(pen.style), cap, Qt::RoundJoin);
}

int PainterSurface::measureText(std::string_view text) const {
  return metrics_.horizontalAdvance(toQString(text));
}

void PainterSurface::paintText(int x, int y, std::string_view text, int /*endX*/) {
  if (!painter_.isActive())
    return;
  painter_.setFont(font_);
  painter_.setPen(QPen(textColor_));
  // QPainter places text on its baseline; the report places it by its top.
  painter_.drawText(QPoint(x, y + metrics_.ascent()), toQString(text));
}

void PainterSurface::paintPolyline(std::span<const PixelPoint> points) {
  if (!painter_.isActive())
    return;
  QPolygon polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const PixelPoint& p : points)
    polygon << QPoint(p.x, p.y);
  painter_.setPen(linePen_);
  painter_.drawPolyline(polygon);
}

void PainterSurface::paintRect(int left, int top, int right, int bottom) {
  if (!painter_.isActive())
    return;
  painter_.setPen(linePen_);
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(toQRect(left, top, right, bottom));
}

void PainterSurface::paintFill(int left, int top, int right, int bottom, ReportColor color) {
  if (!painter_.isActive())
    return;
  painter_.fillRect(toQRect(left, top, right, bottom), toQColor(color));
}

bool PainterSurface::startNewPage() {
  if (!newPage_ || !painter_.isActive())
    return false;
  if (!newPage_())
    return false;
  placeOrigin();
  return true;
}

QRect a4PrintableArea(int dpi) {
  const QSize sheet = QPageSize(QPageSize::A4).sizePixels(dpi);
  const int margin = static_cast<int>(kPdfMarginMm * dpi / 25.4);
  return QRect(margin, margin, sheet.width() - 2 * margin, sheet.height() - 2 * margin);
}

PdfReport::PdfReport(const std::filesystem::path& path, int dpi)
    : writer_(std::make_unique<QPdfWriter>(qStringFromPath(path))) {
  begin(path, dpi);
}

PdfReport::PdfReport(QIODevice& device, int dpi) : writer_(std::make_unique<QPdfWriter>(&device)) {
  begin({}, dpi);
}

void PdfReport::begin(const std::filesystem::path& path, int dpi) {
  writer_->setCreator(QStringLiteral("Tavilo"));
  writer_->setResolution(dpi);
  // The sheet is the device; the report keeps to its printable area.
  writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  try {
    surface_ = std::make_unique<PainterSurface>(
        *writer_, writer_->resolution(), [this] { return writer_->newPage(); },
        a4PrintableArea(writer_->resolution()));
  } catch (const UserError&) {
    throw UserError("PDFファイル「" + utf8FromPath(path) +
                    "」を書き込めません。保存先と書き込み権限を確認して下さい。");
  }
}

PdfReport::~PdfReport() {
  // The surface ends its painter before the writer closes the file.
  surface_.reset();
}

}  // namespace tavilo
