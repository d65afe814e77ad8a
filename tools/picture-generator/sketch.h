// Drawing helpers shared by the pictures: one antialiased painter on a white
// image, and the few engineering symbols the schematics are made of.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>

namespace pictures {

// Family names of the two IPA Gothic faces, as registered at start-up.
struct Fonts {
  QString proportional;  // IPA P Gothic: labels and running text
  QString fixed;         // IPA Gothic: symbols and dimension letters
};

// The few colours of every drawing: ink on white, light fills, one blue accent
// for wind and load arrows.
namespace ink {
inline const QColor line{45, 45, 45};
inline const QColor thin{95, 95, 95};
inline const QColor hatch{150, 150, 150};
inline const QColor separator{205, 205, 205};
inline const QColor buildingFill{232, 238, 244};
inline const QColor steelFill{214, 220, 228};
inline const QColor wind{25, 90, 150};
inline const QColor loadFill{226, 236, 246};
inline const QColor noteFill{250, 250, 244};
inline const QColor brand{0, 102, 153};
}  // namespace ink

// Registers the IPA Gothic faces of the Debian package fonts-ipafont-gothic.
// Without them the labels would fall back to whatever font the machine has,
// so a missing file is an error (described in `error`).
std::optional<Fonts> loadIpaFonts(QString& error);

QFont proportionalFont(const Fonts& fonts, qreal pixelSize, bool bold = false);
QFont fixedFont(const Fonts& fonts, qreal pixelSize, bool bold = false);

// Owns a painter on `image` (filled white first) for the lifetime of the sketch.
class Sketch {
 public:
  explicit Sketch(QImage& image, const QColor& background = Qt::white);
  Sketch(const Sketch&) = delete;
  Sketch& operator=(const Sketch&) = delete;

  QPainter& painter() { return painter_; }

  void line(QPointF from, QPointF to, qreal width, const QColor& color);
  void polyline(const QPolygonF& points, qreal width, const QColor& color);
  void fill(const QPolygonF& outline, const QColor& color);
  void fillRect(const QRectF& rect, const QColor& color);
  void frame(const QRectF& rect, qreal width, const QColor& color);
  // Fills `path` with `fillColor` (when valid), then strokes it (when `width` > 0).
  void path(const QPainterPath& path, qreal width, const QColor& color,
            const QColor& fillColor = QColor());

  // A shaft from `tail` to `head` ending in a filled arrowhead at `head`.
  void arrow(QPointF tail, QPointF head, qreal width, qreal headLength, qreal headHalfWidth,
             const QColor& color);

  // Ground line with short hatching below it, as in a building section.
  void ground(qreal y, qreal left, qreal right, qreal hatchDepth = 4.0);

  // Dimension line between two points with arrowheads at both ends.
  void dimension(QPointF from, QPointF to, const QColor& color);

  // Text centred in `box`, or aligned as given.
  void text(const QRectF& box, const QString& text, const QFont& font, const QColor& color,
            Qt::Alignment alignment = Qt::AlignCenter);

 private:
  QPainter painter_;
};

}  // namespace pictures
