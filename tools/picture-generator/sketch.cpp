#include "sketch.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QLineF>
#include <QPen>
#include <cmath>

namespace pictures {

namespace {

constexpr auto kProportionalFontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf";
constexpr auto kFixedFontPath = "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf";

std::optional<QString> registerFont(const QString& path, QString& error) {
  if (!QFileInfo::exists(path)) {
    error = QStringLiteral(
                "font file %1 is missing; install the Debian package "
                "fonts-ipafont-gothic (scripts/install-deps)")
                .arg(path);
    return std::nullopt;
  }
  const int id = QFontDatabase::addApplicationFont(path);
  const QStringList families = QFontDatabase::applicationFontFamilies(id);
  if (id < 0 || families.isEmpty()) {
    error = QStringLiteral("font file %1 could not be loaded").arg(path);
    return std::nullopt;
  }
  return families.first();
}

QFont makeFont(const QString& family, qreal pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(static_cast<int>(std::lround(pixelSize)));
  font.setBold(bold);
  // Small labels read better with the outlines fitted to the pixel grid.
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

QPen solidPen(qreal width, const QColor& color) {
  QPen pen(color, width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  return pen;
}

}  // namespace

std::optional<Fonts> loadIpaFonts(QString& error) {
  const std::optional<QString> proportional =
      registerFont(QString::fromUtf8(kProportionalFontPath), error);
  if (!proportional) {
    return std::nullopt;
  }
  const std::optional<QString> fixed = registerFont(QString::fromUtf8(kFixedFontPath), error);
  if (!fixed) {
    return std::nullopt;
  }
  return Fonts{*proportional, *fixed};
}

QFont proportionalFont(const Fonts& fonts, qreal pixelSize, bool bold) {
  return makeFont(fonts.proportional, pixelSize, bold);
}

QFont fixedFont(const Fonts& fonts, qreal pixelSize, bool bold) {
  return makeFont(fonts.fixed, pixelSize, bold);
}

Sketch::Sketch(QImage& image, const QColor& background) : painter_(&image) {
  image.fill(background);
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void Sketch::line(QPointF from, QPointF to, qreal width, const QColor& color) {
  painter_.setPen(solidPen(width, color));
  painter_.drawLine(from, to);
}

void Sketch::polyline(const QPolygonF& points, qreal width, const QColor& color) {
  painter_.setPen(solidPen(width, color));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawPolyline(points);
}

void Sketch::fill(const QPolygonF& outline, const QColor& color) {
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(color);
  painter_.drawPolygon(outline);
}

void Sketch::fillRect(const QRectF& rect, const QColor& color) {
  painter_.fillRect(rect, color);
}

void Sketch::frame(const QRectF& rect, qreal width, const QColor& color) {
  painter_.setPen(solidPen(width, color));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(rect);
}

void Sketch::path(const QPainterPath& path, qreal width, const QColor& color,
                  const QColor& fillColor) {
  painter_.setPen(width > 0.0 ? solidPen(width, color) : QPen(Qt::NoPen));
  painter_.setBrush(fillColor.isValid() ? QBrush(fillColor) : QBrush(Qt::NoBrush));
  painter_.drawPath(path);
}

void Sketch::arrow(QPointF tail, QPointF head, qreal width, qreal headLength, qreal headHalfWidth,
                   const QColor& color) {
  const QLineF shaft(tail, head);
  if (shaft.length() <= 0.0) {
    return;
  }
  const QPointF along = (head - tail) / shaft.length();
  const QPointF across(-along.y(), along.x());
  const QPointF base = head - along * headLength;
  // The shaft stops inside the head so that its square end never shows past the tip.
  line(tail, base + along * (headLength * 0.4), width, color);
  fill(QPolygonF{head, base + across * headHalfWidth, base - across * headHalfWidth}, color);
}

void Sketch::ground(qreal y, qreal left, qreal right, qreal hatchDepth) {
  constexpr qreal kHatchStep = 5.0;
  for (qreal x = left + hatchDepth; x <= right; x += kHatchStep) {
    line(QPointF(x, y + 0.5), QPointF(x - hatchDepth, y + 0.5 + hatchDepth), 0.8, ink::hatch);
  }
  line(QPointF(left, y), QPointF(right, y), 1.2, ink::line);
}

void Sketch::dimension(QPointF from, QPointF to, const QColor& color) {
  constexpr qreal kHeadLength = 5.0;
  constexpr qreal kHeadHalfWidth = 2.0;
  const QPointF middle = (from + to) / 2.0;
  arrow(middle, from, 0.9, kHeadLength, kHeadHalfWidth, color);
  arrow(middle, to, 0.9, kHeadLength, kHeadHalfWidth, color);
}

void Sketch::text(const QRectF& box, const QString& text, const QFont& font, const QColor& color,
                  Qt::Alignment alignment) {
  painter_.setFont(font);
  painter_.setPen(color);
  painter_.drawText(box, static_cast<int>(alignment), text);
}

}  // namespace pictures
