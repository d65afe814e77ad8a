#include "pictures.h"

#include <QBuffer>
#include <QLineF>
#include <QPainterPath>
#include <QStringList>
#include <array>
#include <cmath>

namespace pictures {

namespace {

// Sizes and positions are fixed by the windows that show the pictures.
constexpr QSize kChoiceSize{100, 64};
constexpr QSize kRoughnessSize{200, 60};
constexpr QSize kDimensionsSize{170, 80};
constexpr QSize kFireResistanceSize{436, 592};
constexpr QSize kArrangementSize{640, 40};
constexpr QSize kIconSize{256, 256};

// Span arrangement: the span length fields of the input screen stand under
// these supports, so the geometry must not drift.
constexpr qreal kFirstSupportX = 91.0;
constexpr qreal kSpanPitch = 106.0;
constexpr qreal kOverhangLength = 76.0;

// Common ground of the small choice pictures.
constexpr qreal kChoiceGroundY = 55.5;

QImage whiteImage(QSize size) {
  return QImage(size, QImage::Format_RGB32);
}

QPointF along(QPointF from, QPointF to, qreal distance) {
  const QLineF line(from, to);
  return from + (to - from) / line.length() * distance;
}

// Height of the straight roof line through `a` and `b` at abscissa `x`.
qreal roofYAt(QPointF a, QPointF b, qreal x) {
  return a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x());
}

// ---------------------------------------------------------------------------
// Building sections of the choice pictures

constexpr qreal kWallWidth = 1.4;
constexpr qreal kRoofWidth = 2.2;
constexpr qreal kEavesOverhang = 4.0;

// A pitched roof drawn through `points` (eaves, ridge…, eaves), continued a
// little beyond both eaves.
void pitchedRoof(Sketch& sketch, QPolygonF points) {
  const qsizetype last = points.size() - 1;
  points[0] = along(points[0], points[1], -kEavesOverhang);
  points[last] = along(points[last], points[last - 1], -kEavesOverhang);
  sketch.polyline(points, kRoofWidth, ink::line);
}

void wall(Sketch& sketch, qreal x, qreal top, qreal bottom) {
  sketch.line(QPointF(x, top), QPointF(x, bottom), kWallWidth, ink::line);
}

void choiceGround(Sketch& sketch) {
  sketch.ground(kChoiceGroundY, 4.0, 96.0);
}

void windLabel(Sketch& sketch, const Fonts& fonts, const QRectF& box) {
  sketch.text(box, QStringLiteral("風"), proportionalFont(fonts, 11, true), ink::wind);
}

void windArrow(Sketch& sketch, QPointF tail, QPointF head) {
  sketch.arrow(tail, head, 1.6, 6.0, 3.2, ink::wind);
}

QImage shedRoof(const Fonts&) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  const QPointF lowEaves(24, 33);
  const QPointF highEaves(76, 19);
  sketch.fill(QPolygonF{{24, kChoiceGroundY}, lowEaves, highEaves, {76, kChoiceGroundY}},
              ink::buildingFill);
  wall(sketch, 24, lowEaves.y(), kChoiceGroundY);
  wall(sketch, 76, highEaves.y(), kChoiceGroundY);
  pitchedRoof(sketch, QPolygonF{lowEaves, highEaves});
  choiceGround(sketch);
  return image;
}

QImage gableRoof(const Fonts&) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  const QPointF leftEaves(22, 34);
  const QPointF ridge(50, 16);
  const QPointF rightEaves(78, 34);
  sketch.fill(QPolygonF{{22, kChoiceGroundY}, leftEaves, ridge, rightEaves, {78, kChoiceGroundY}},
              ink::buildingFill);
  wall(sketch, 22, leftEaves.y(), kChoiceGroundY);
  wall(sketch, 78, rightEaves.y(), kChoiceGroundY);
  pitchedRoof(sketch, QPolygonF{leftEaves, ridge, rightEaves});
  choiceGround(sketch);
  return image;
}

QImage circularArcRoof(const Fonts&) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  constexpr qreal kLeft = 22;
  constexpr qreal kRight = 78;
  constexpr qreal kEaves = 34;
  constexpr qreal kRise = 16;
  // Circle through both eaves and the crown.
  const qreal halfChord = (kRight - kLeft) / 2.0;
  const qreal radius = (halfChord * halfChord + kRise * kRise) / (2.0 * kRise);
  const QPointF centre((kLeft + kRight) / 2.0, kEaves - kRise + radius);
  const QRectF circle(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
  const qreal startAngle = 180.0 - std::asin((centre.y() - kEaves) / radius) * 180.0 / M_PI;
  const qreal sweep = -(2.0 * startAngle - 180.0);

  QPainterPath body;
  body.moveTo(kLeft, kChoiceGroundY);
  body.lineTo(kLeft, kEaves);
  body.arcTo(circle, startAngle, sweep);
  body.lineTo(kRight, kChoiceGroundY);
  body.closeSubpath();
  sketch.path(body, 0.0, ink::line, ink::buildingFill);

  QPainterPath roof;
  roof.arcMoveTo(circle, startAngle + 6.0);
  roof.arcTo(circle, startAngle + 6.0, sweep - 12.0);
  sketch.path(roof, kRoofWidth, ink::line);
  wall(sketch, kLeft, kEaves, kChoiceGroundY);
  wall(sketch, kRight, kEaves, kChoiceGroundY);
  choiceGround(sketch);
  return image;
}

// Canopy roof plate on columns: no walls.
void canopyColumns(Sketch& sketch, const QPolygonF& roof, std::initializer_list<qreal> columnXs) {
  for (const qreal x : columnXs) {
    qreal top = kChoiceGroundY;
    for (qsizetype i = 0; i + 1 < roof.size(); ++i) {
      if (x >= roof[i].x() && x <= roof[i + 1].x()) {
        top = roofYAt(roof[i], roof[i + 1], x);
      }
    }
    sketch.line(QPointF(x, top), QPointF(x, kChoiceGroundY), 2.0, ink::line);
  }
}

void canopyRoof(Sketch& sketch, const QPolygonF& roof) {
  sketch.polyline(roof, 2.6, ink::line);
}

QImage independentRoof(const Fonts&) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  const QPolygonF roof{{14, 31}, {86, 23}};
  canopyColumns(sketch, roof, {30, 70});
  canopyRoof(sketch, roof);
  choiceGround(sketch);
  return image;
}

// Building of the three building-shape pictures; the open side has no wall
// below a short lintel.
enum class OpenSide { none, windward, leeward };

QImage buildingShape(const Fonts& fonts, OpenSide open) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  constexpr qreal kLeft = 36;
  constexpr qreal kRight = 84;
  constexpr qreal kEaves = 32;
  constexpr qreal kLintel = 38;
  const QPointF ridge((kLeft + kRight) / 2.0, 23);
  sketch.fill(QPolygonF{{kLeft, kChoiceGroundY},
                        {kLeft, kEaves},
                        ridge,
                        {kRight, kEaves},
                        {kRight, kChoiceGroundY}},
              ink::buildingFill);
  wall(sketch, kLeft, kEaves, open == OpenSide::windward ? kLintel : kChoiceGroundY);
  wall(sketch, kRight, kEaves, open == OpenSide::leeward ? kLintel : kChoiceGroundY);
  pitchedRoof(sketch, QPolygonF{{kLeft, kEaves}, ridge, {kRight, kEaves}});
  choiceGround(sketch);

  constexpr qreal kWindY = 46;
  windLabel(sketch, fonts, QRectF(5, 28, 24, 13));
  switch (open) {
    case OpenSide::none:
      windArrow(sketch, QPointF(5, kWindY), QPointF(kLeft - 3, kWindY));
      break;
    case OpenSide::windward:
      windArrow(sketch, QPointF(5, kWindY), QPointF(kLeft + 20, kWindY));
      break;
    case OpenSide::leeward:
      windArrow(sketch, QPointF(5, kWindY), QPointF(kLeft - 3, kWindY));
      sketch.arrow(QPointF(kRight - 6, kWindY), QPointF(kRight + 12, kWindY), 1.2, 5.0, 2.6,
                   ink::wind);
      break;
  }
  return image;
}

QImage shapeClose(const Fonts& fonts) {
  return buildingShape(fonts, OpenSide::none);
}
QImage shapeWindward(const Fonts& fonts) {
  return buildingShape(fonts, OpenSide::windward);
}
QImage shapeLeeward(const Fonts& fonts) {
  return buildingShape(fonts, OpenSide::leeward);
}

void canopyWind(Sketch& sketch, const Fonts& fonts) {
  windLabel(sketch, fonts, QRectF(3, 24, 22, 13));
  windArrow(sketch, QPointF(4, 42), QPointF(24, 42));
}

QImage shapeGable(const Fonts& fonts) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  const QPolygonF roof{{30, 40}, {61, 24}, {92, 40}};
  canopyColumns(sketch, roof, {42, 80});
  canopyRoof(sketch, roof);
  choiceGround(sketch);
  canopyWind(sketch, fonts);
  return image;
}

QImage shapeWingRoof(const Fonts& fonts) {
  QImage image = whiteImage(kChoiceSize);
  Sketch sketch(image);
  const QPolygonF roof{{30, 25}, {61, 39}, {92, 25}};
  canopyColumns(sketch, roof, {61});
  canopyRoof(sketch, roof);
  choiceGround(sketch);
  canopyWind(sketch, fonts);
  return image;
}

// ---------------------------------------------------------------------------
// Terrain roughness categories Ⅰ to Ⅳ

constexpr qreal kRoughnessPanel = 50.0;
constexpr qreal kRoughnessGroundY = 53.5;
inline const QColor kTreeFill{210, 230, 204};
inline const QColor kWater{120, 160, 200};

void tree(Sketch& sketch, qreal x, qreal crownRadius) {
  const qreal trunkTop = kRoughnessGroundY - 5.0;
  sketch.line(QPointF(x, trunkTop), QPointF(x, kRoughnessGroundY), 1.2, ink::line);
  QPainterPath crown;
  crown.addEllipse(QPointF(x, trunkTop - crownRadius + 1.0), crownRadius, crownRadius);
  sketch.path(crown, 0.9, ink::line, kTreeFill);
}

void house(Sketch& sketch, qreal left, qreal width, qreal height) {
  const qreal eaves = kRoughnessGroundY - height;
  const QPolygonF outline{{left, kRoughnessGroundY},
                          {left, eaves},
                          {left + width / 2.0, eaves - 4.0},
                          {left + width, eaves},
                          {left + width, kRoughnessGroundY}};
  QPainterPath path;
  path.addPolygon(outline);
  sketch.path(path, 0.9, ink::line, ink::buildingFill);
}

void tower(Sketch& sketch, qreal left, qreal width, qreal height) {
  const QRectF body(left, kRoughnessGroundY - height, width, height);
  sketch.fillRect(body, ink::buildingFill);
  sketch.frame(body, 0.9, ink::line);
  for (qreal y = body.top() + 3.0; y < kRoughnessGroundY - 3.0; y += 4.0) {
    sketch.line(QPointF(left + 2.0, y), QPointF(left + width - 2.0, y), 0.8, ink::hatch);
  }
}

void waves(Sketch& sketch, qreal left, qreal right, qreal y) {
  QPainterPath path;
  path.moveTo(left, y);
  constexpr qreal kWave = 8.0;
  for (qreal x = left; x + kWave <= right + 0.01; x += kWave) {
    path.quadTo(x + kWave / 4.0, y - 2.0, x + kWave / 2.0, y);
    path.quadTo(x + 3.0 * kWave / 4.0, y + 2.0, x + kWave, y);
  }
  sketch.path(path, 1.0, kWater);
}

QImage roughness(const Fonts& fonts) {
  QImage image = whiteImage(kRoughnessSize);
  Sketch sketch(image);
  const std::array<QString, 4> numerals{QStringLiteral("Ⅰ"), QStringLiteral("Ⅱ"),
                                        QStringLiteral("Ⅲ"), QStringLiteral("Ⅳ")};
  for (int i = 0; i < 4; ++i) {
    const qreal x0 = i * kRoughnessPanel;
    sketch.text(QRectF(x0, 1, kRoughnessPanel, 15), numerals[i], fixedFont(fonts, 13, true),
                ink::line);
    if (i > 0) {
      sketch.line(QPointF(x0 + 0.5, 3), QPointF(x0 + 0.5, 57), 1.0, ink::separator);
    }
  }
  // Ⅰ: open sea and flat land without obstacles.
  sketch.fillRect(QRectF(3, kRoughnessGroundY - 8, 44, 10), ink::loadFill);
  sketch.line(QPointF(3, kRoughnessGroundY - 8), QPointF(47, kRoughnessGroundY - 8), 1.0, kWater);
  waves(sketch, 3, 47, kRoughnessGroundY - 4);
  waves(sketch, 7, 43, kRoughnessGroundY);
  // Ⅱ: fields with few obstacles.
  sketch.line(QPointF(53, kRoughnessGroundY), QPointF(97, kRoughnessGroundY), 1.2, ink::line);
  house(sketch, 58, 10, 7);
  tree(sketch, 87, 4.0);
  // Ⅲ: trees and low houses.
  sketch.line(QPointF(103, kRoughnessGroundY), QPointF(147, kRoughnessGroundY), 1.2, ink::line);
  tree(sketch, 107, 4.0);
  house(sketch, 113, 10, 8);
  tree(sketch, 130, 4.5);
  house(sketch, 137, 9, 7);
  // Ⅳ: dense city buildings.
  sketch.line(QPointF(152, kRoughnessGroundY), QPointF(198, kRoughnessGroundY), 1.2, ink::line);
  tower(sketch, 154, 8, 22);
  tower(sketch, 162, 9, 33);
  tower(sketch, 171, 8, 26);
  tower(sketch, 179, 9, 36);
  tower(sketch, 188, 8, 20);
  return image;
}

// ---------------------------------------------------------------------------
// Eaves height H1, building height H2 and span-direction length D

QImage buildingDimensions(const Fonts& fonts) {
  QImage image = whiteImage(kDimensionsSize);
  Sketch sketch(image);
  constexpr qreal kGround = 60.5;
  constexpr qreal kLeft = 46;
  constexpr qreal kRight = 120;
  const QPointF eaves(kLeft, 40);
  const QPointF top(kRight, 14);
  const QFont labelFont = fixedFont(fonts, 12);

  sketch.fill(QPolygonF{{kLeft, kGround}, eaves, top, {kRight, kGround}}, ink::buildingFill);
  wall(sketch, kLeft, eaves.y(), kGround);
  wall(sketch, kRight, top.y(), kGround);
  sketch.line(eaves, top, kRoofWidth, ink::line);
  sketch.ground(kGround, 8, 162);

  // H1 on the low side, H2 on the high side, D under the ground line.
  constexpr qreal kH1X = 30;
  sketch.line(QPointF(kLeft - 3, eaves.y()), QPointF(kH1X - 5, eaves.y()), 0.8, ink::thin);
  sketch.dimension(QPointF(kH1X, eaves.y()), QPointF(kH1X, kGround), ink::thin);
  sketch.text(QRectF(8, 43, 20, 14), QStringLiteral("H1"), labelFont, ink::line);

  constexpr qreal kH2X = 138;
  sketch.line(QPointF(kRight + 3, top.y()), QPointF(kH2X + 5, top.y()), 0.8, ink::thin);
  sketch.dimension(QPointF(kH2X, top.y()), QPointF(kH2X, kGround), ink::thin);
  sketch.text(QRectF(141, 31, 22, 14), QStringLiteral("H2"), labelFont, ink::line);

  constexpr qreal kDY = 72.5;
  sketch.line(QPointF(kLeft, 66), QPointF(kLeft, 77), 0.8, ink::thin);
  sketch.line(QPointF(kRight, 66), QPointF(kRight, 77), 0.8, ink::thin);
  sketch.dimension(QPointF(kLeft, kDY), QPointF(kRight, kDY), ink::thin);
  const QRectF dBox((kLeft + kRight) / 2.0 - 8, kDY - 7, 16, 14);
  sketch.fillRect(dBox, Qt::white);
  sketch.text(dBox, QStringLiteral("D"), labelFont, ink::line);
  return image;
}

// ---------------------------------------------------------------------------
// Roof fire-resistance build-up (reference figure)

constexpr qreal kFireLeft = 24;
constexpr qreal kFireRight = 292;
constexpr qreal kLabelX = 318;
inline const QColor kFinishFill{128, 128, 128};
inline const QColor kInsulationFill{247, 239, 214};
inline const QColor kInsulationLine{190, 165, 110};

// Label at the right with a leader from a point of the drawing.
void leader(Sketch& sketch, const Fonts& fonts, QPointF target, qreal labelY,
            const QString& label) {
  const QPointF elbow(kLabelX - 8, labelY);
  sketch.line(target, elbow, 0.8, ink::line);
  sketch.line(elbow, QPointF(kLabelX - 3, labelY), 0.8, ink::line);
  QPainterPath dot;
  dot.addEllipse(target, 1.8, 1.8);
  sketch.path(dot, 0.0, ink::line, ink::line);
  sketch.text(QRectF(kLabelX, labelY - 9, 436 - kLabelX, 18), label, proportionalFont(fonts, 13),
              ink::line, Qt::AlignLeft | Qt::AlignVCenter);
}

void insulation(Sketch& sketch, qreal top, qreal bottom) {
  sketch.fillRect(QRectF(kFireLeft, top, kFireRight - kFireLeft, bottom - top), kInsulationFill);
  QPolygonF zigzag;
  constexpr qreal kStep = 7.0;
  bool up = false;
  for (qreal x = kFireLeft; x <= kFireRight + 0.01; x += kStep) {
    zigzag << QPointF(x, up ? top + 3.0 : bottom - 3.0);
    up = !up;
  }
  sketch.polyline(zigzag, 0.8, kInsulationLine);
  sketch.frame(QRectF(kFireLeft, top, kFireRight - kFireLeft, bottom - top), 0.9, ink::line);
}

void finish(Sketch& sketch, qreal top, qreal bottom) {
  sketch.fillRect(QRectF(kFireLeft, top, kFireRight - kFireLeft, bottom - top), kFinishFill);
  sketch.frame(QRectF(kFireLeft, top, kFireRight - kFireLeft, bottom - top), 0.9, ink::line);
}

void caption(Sketch& sketch, const Fonts& fonts, qreal y, const QString& text) {
  sketch.text(QRectF(18, y, 400, 18), text, proportionalFont(fonts, 14, true), ink::line,
              Qt::AlignLeft | Qt::AlignVCenter);
}

// Section across the ribs: the trapezoidal deck on the purlin seen along it.
void fireCrossSection(Sketch& sketch, const Fonts& fonts) {
  caption(sketch, fonts, 64, QStringLiteral("■ 断面図（デッキプレートの山と直交方向）"));
  constexpr qreal kFinishTop = 104;
  constexpr qreal kInsulationTop = 110;
  constexpr qreal kDeckTop = 136;
  constexpr qreal kDeckBottom = 174;
  constexpr qreal kPurlinTop = 175;
  constexpr qreal kPurlinBottom = 222;
  constexpr qreal kFlange = 6;

  // One rib pitch: top flange, web, bottom flange, web.
  constexpr qreal kTopFlange = 30;
  constexpr qreal kWebRun = 11;
  constexpr qreal kBottomFlange = 37;
  constexpr qreal kPitch = kTopFlange + 2 * kWebRun + kBottomFlange;
  QPolygonF deck;
  QList<qreal> bottomFlangeCentres;
  for (qreal x = kFireLeft; x < kFireRight; x += kPitch) {
    deck << QPointF(x, kDeckTop) << QPointF(x + kTopFlange, kDeckTop)
         << QPointF(x + kTopFlange + kWebRun, kDeckBottom)
         << QPointF(x + kTopFlange + kWebRun + kBottomFlange, kDeckBottom)
         << QPointF(x + kPitch, kDeckTop);
    const qreal centre = x + kTopFlange + kWebRun + kBottomFlange / 2.0;
    if (centre < kFireRight) {
      bottomFlangeCentres << centre;
    }
  }
  // Trim the profile to the drawing width.
  QPolygonF trimmed;
  for (qsizetype i = 0; i < deck.size(); ++i) {
    if (deck[i].x() <= kFireRight) {
      trimmed << deck[i];
    } else {
      const QPointF& previous = deck[i - 1];
      trimmed << QPointF(kFireRight, roofYAt(previous, deck[i], kFireRight));
      break;
    }
  }

  const QRectF purlin(kFireLeft, kPurlinTop, kFireRight - kFireLeft, kPurlinBottom - kPurlinTop);
  sketch.fillRect(purlin, ink::steelFill);
  sketch.frame(purlin, 1.0, ink::line);
  sketch.line(QPointF(kFireLeft, kPurlinTop + kFlange), QPointF(kFireRight, kPurlinTop + kFlange),
              0.8, ink::line);
  sketch.line(QPointF(kFireLeft, kPurlinBottom - kFlange),
              QPointF(kFireRight, kPurlinBottom - kFlange), 0.8, ink::line);

  finish(sketch, kFinishTop, kInsulationTop);
  insulation(sketch, kInsulationTop, kDeckTop);
  sketch.polyline(trimmed, 2.4, ink::line);

  // Fastener through each bottom flange into the purlin's top flange.
  for (const qreal x : bottomFlangeCentres) {
    sketch.line(QPointF(x - 3.5, kDeckBottom - 3.5), QPointF(x + 3.5, kDeckBottom - 3.5), 1.6,
                ink::line);
    sketch.line(QPointF(x, kDeckBottom - 3.5), QPointF(x, kPurlinTop + kFlange + 2), 1.6,
                ink::line);
  }

  leader(sketch, fonts, QPointF(262, (kFinishTop + kInsulationTop) / 2.0), 90,
         QStringLiteral("屋根仕上げ材"));
  leader(sketch, fonts, QPointF(240, (kInsulationTop + kDeckTop) / 2.0), 118,
         QStringLiteral("断熱材"));
  leader(sketch, fonts, QPointF(kFireLeft + kTopFlange + kWebRun * 1.5 + 2 * kPitch, 155), 148,
         QStringLiteral("デッキプレート"));
  const qreal lastFastener = bottomFlangeCentres.back();
  leader(sketch, fonts, QPointF(lastFastener + 1, kDeckBottom - 3.5), 184,
         QStringLiteral("接合部"));
  leader(sketch, fonts, QPointF(270, (kPurlinTop + kPurlinBottom) / 2.0), 212,
         QStringLiteral("母屋"));
}

// H-shaped purlin in section, centred at `x` with its top at `top`.
void purlinSection(Sketch& sketch, qreal x, qreal top) {
  constexpr qreal kWidth = 30;
  constexpr qreal kDepth = 44;
  constexpr qreal kFlange = 5;
  constexpr qreal kWeb = 4;
  QPainterPath h;
  h.addRect(x - kWidth / 2, top, kWidth, kFlange);
  h.addRect(x - kWeb / 2, top + kFlange, kWeb, kDepth - 2 * kFlange);
  h.addRect(x - kWidth / 2, top + kDepth - kFlange, kWidth, kFlange);
  sketch.path(h.simplified(), 1.0, ink::line, ink::steelFill);
}

void centreLine(Sketch& sketch, qreal x, qreal top, qreal bottom) {
  QPen pen(ink::thin, 0.8, Qt::DashDotLine, Qt::FlatCap);
  sketch.painter().setPen(pen);
  sketch.painter().drawLine(QPointF(x, top), QPointF(x, bottom));
}

// Section along the ribs: the deck continuous over the purlins.
void fireLongSection(Sketch& sketch, const Fonts& fonts) {
  caption(sketch, fonts, 250, QStringLiteral("■ 断面図（デッキプレートの山方向）"));
  constexpr qreal kFinishTop = 292;
  constexpr qreal kInsulationTop = 298;
  constexpr qreal kDeckTop = 324;
  constexpr qreal kDeckBottom = 362;
  constexpr std::array<qreal, 3> kPurlins{66, 158, 250};

  for (const qreal x : kPurlins) {
    centreLine(sketch, x, kFinishTop - 10, 428);
  }
  finish(sketch, kFinishTop, kInsulationTop);
  insulation(sketch, kInsulationTop, kDeckTop);
  // The cut top flange, the web behind it and the bottom flange resting on the purlins.
  sketch.fillRect(QRectF(kFireLeft, kDeckTop, kFireRight - kFireLeft, kDeckBottom - kDeckTop),
                  QColor(246, 247, 249));
  sketch.line(QPointF(kFireLeft, kDeckTop + 1), QPointF(kFireRight, kDeckTop + 1), 2.4, ink::line);
  sketch.line(QPointF(kFireLeft, kDeckBottom - 1), QPointF(kFireRight, kDeckBottom - 1), 2.0,
              ink::line);
  sketch.line(QPointF(kFireLeft, kDeckTop), QPointF(kFireLeft, kDeckBottom), 0.9, ink::thin);
  sketch.line(QPointF(kFireRight, kDeckTop), QPointF(kFireRight, kDeckBottom), 0.9, ink::thin);
  for (const qreal x : kPurlins) {
    purlinSection(sketch, x, kDeckBottom);
  }

  constexpr qreal kDimensionY = 420;
  const QFont labelFont = proportionalFont(fonts, 13);
  for (std::size_t i = 0; i + 1 < kPurlins.size(); ++i) {
    sketch.dimension(QPointF(kPurlins[i], kDimensionY), QPointF(kPurlins[i + 1], kDimensionY),
                     ink::thin);
    sketch.text(QRectF(kPurlins[i], kDimensionY + 2, kPurlins[i + 1] - kPurlins[i], 18),
                QStringLiteral("スパン"), labelFont, ink::line);
  }

  leader(sketch, fonts, QPointF(282, (kFinishTop + kInsulationTop) / 2.0), 278,
         QStringLiteral("屋根仕上げ材"));
  leader(sketch, fonts, QPointF(282, (kInsulationTop + kDeckTop) / 2.0), 306,
         QStringLiteral("断熱材"));
  leader(sketch, fonts, QPointF(282, (kDeckTop + kDeckBottom) / 2.0), 343,
         QStringLiteral("デッキプレート"));
  leader(sketch, fonts, QPointF(kPurlins[2] + 8, kDeckBottom + 22), 384, QStringLiteral("母屋"));
}

void fireNote(Sketch& sketch, const Fonts& fonts) {
  const QRectF box(18, 462, 400, 112);
  sketch.fillRect(box, ink::noteFill);
  sketch.frame(box, 1.2, ink::line);
  sketch.text(QRectF(box.left() + 12, box.top() + 8, 200, 18), QStringLiteral("注　記"),
              proportionalFont(fonts, 14, true), ink::line, Qt::AlignLeft | Qt::AlignVCenter);
  const QFont body = proportionalFont(fonts, 13);
  const QFont strong = proportionalFont(fonts, 13, true);
  struct Line {
    QString text;
    bool bold;
  };
  const std::array<Line, 4> lines{
      Line{QStringLiteral("・本図は屋根30分耐火構造の構成を示す一般的な参考図です。"), false},
      Line{QStringLiteral("・認定番号及び各認定の仕様の詳細（最大スパン、材料の種類・"), true},
      Line{QStringLiteral("　厚さ、接合方法等）は、各認定書で確認して下さい。"), true},
      Line{QStringLiteral("・図中の寸法・形状は実際の仕様を表すものではありません。"), false},
  };
  qreal y = box.top() + 32;
  for (const Line& line : lines) {
    sketch.text(QRectF(box.left() + 12, y, box.width() - 20, 18), line.text,
                line.bold ? strong : body, ink::line, Qt::AlignLeft | Qt::AlignVCenter);
    y += 19;
  }
}

QImage fireResistance(const Fonts& fonts) {
  QImage image = whiteImage(kFireResistanceSize);
  Sketch sketch(image);
  sketch.text(QRectF(0, 12, kFireResistanceSize.width(), 30),
              QStringLiteral("屋根30分耐火構造（参考図）"), proportionalFont(fonts, 21, true),
              ink::line);
  sketch.line(QPointF(18, 48.5), QPointF(418, 48.5), 1.0, ink::line);
  fireCrossSection(sketch, fonts);
  fireLongSection(sketch, fonts);
  fireNote(sketch, fonts);
  return image;
}

// ---------------------------------------------------------------------------
// Span arrangements with the load ΣW

constexpr qreal kLoadLineY = 13.5;
constexpr qreal kDeckY = 24.5;
constexpr qreal kSupportTop = 26.0;
constexpr qreal kSupportBase = 34.5;
constexpr qreal kSupportHalfWidth = 5.0;
constexpr qreal kArrowSpacing = 12.0;

void support(Sketch& sketch, qreal x) {
  QPainterPath triangle;
  triangle.addPolygon(QPolygonF{{x, kSupportTop},
                                {x - kSupportHalfWidth, kSupportBase},
                                {x + kSupportHalfWidth, kSupportBase},
                                {x, kSupportTop}});
  sketch.path(triangle, 1.1, ink::line, Qt::white);
  sketch.line(QPointF(x - 8, kSupportBase + 1), QPointF(x + 8, kSupportBase + 1), 1.1, ink::line);
  for (qreal hx = x - 6; hx <= x + 8; hx += 3) {
    sketch.line(QPointF(hx, kSupportBase + 2), QPointF(hx - 2.5, kSupportBase + 4.5), 0.7,
                ink::hatch);
  }
}

QImage arrangement(const Fonts& fonts, int spanCount, bool leftOverhang, bool rightOverhang) {
  QImage image = whiteImage(kArrangementSize);
  Sketch sketch(image);
  const qreal lastSupport = kFirstSupportX + kSpanPitch * spanCount;
  const qreal deckLeft = kFirstSupportX - (leftOverhang ? kOverhangLength : 0.0);
  const qreal deckRight = lastSupport + (rightOverhang ? kOverhangLength : 0.0);

  // Uniform load over the whole deck, overhangs included.
  const qreal loadBottom = kDeckY - 1.5;
  sketch.fillRect(QRectF(deckLeft, kLoadLineY, deckRight - deckLeft, loadBottom - kLoadLineY),
                  ink::loadFill);
  const qreal arrowLeft = deckLeft + 3.0;
  const qreal arrowRight = deckRight - 3.0;
  const int intervals =
      std::max(1, static_cast<int>(std::lround((arrowRight - arrowLeft) / kArrowSpacing)));
  for (int i = 0; i <= intervals; ++i) {
    const qreal x = std::round(arrowLeft + (arrowRight - arrowLeft) * i / intervals) + 0.5;
    sketch.arrow(QPointF(x, kLoadLineY), QPointF(x, loadBottom), 1.0, 4.0, 2.2, ink::wind);
  }
  sketch.line(QPointF(deckLeft, kLoadLineY), QPointF(deckRight, kLoadLineY), 1.0, ink::wind);
  sketch.text(QRectF(deckLeft, 0, 40, 12), QStringLiteral("ΣＷ"), proportionalFont(fonts, 12),
              ink::line, Qt::AlignLeft | Qt::AlignVCenter);

  sketch.line(QPointF(deckLeft, kDeckY), QPointF(deckRight, kDeckY), 2.6, ink::line);
  // Apexes on the middle of pixel columns 91, 197, …, so that a support reads sharp.
  for (int k = 0; k <= spanCount; ++k) {
    support(sketch, kFirstSupportX + kSpanPitch * k + 0.5);
  }
  return image;
}

// ---------------------------------------------------------------------------
// Application icon: a deck profile on a support on the program's dark blue.

QImage applicationIcon(const Fonts&) {
  QImage image(kIconSize, QImage::Format_ARGB32_Premultiplied);
  Sketch sketch(image, Qt::transparent);
  QPainterPath tile;
  tile.addRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
  sketch.path(tile, 0.0, ink::brand, ink::brand);

  constexpr qreal kRibTop = 70;
  constexpr qreal kRibBottom = 114;
  const QPolygonF profile{{30, kRibBottom},  {52, kRibBottom},  {68, kRibTop},  {100, kRibTop},
                          {116, kRibBottom}, {140, kRibBottom}, {156, kRibTop}, {188, kRibTop},
                          {204, kRibBottom}, {226, kRibBottom}};
  sketch.fill(profile, QColor(64, 150, 190));
  sketch.polyline(profile, 11, Qt::white);

  // Pin support under the middle bottom flange, with its ground.
  const QColor pale(196, 226, 240);
  sketch.fill(QPolygonF{{128, kRibBottom + 6}, {100, 166}, {156, 166}}, pale);
  sketch.line(QPointF(78, 174), QPointF(178, 174), 8, Qt::white);
  for (qreal x = 88; x <= 178; x += 16) {
    sketch.line(QPointF(x, 182), QPointF(x - 10, 196), 5, pale);
  }
  return image;
}

QString arrangementFileName(int spanCount, bool left, bool right) {
  const QString side = left && right ? QStringLiteral("both")
                       : left        ? QStringLiteral("left")
                       : right       ? QStringLiteral("right")
                                     : QStringLiteral("none");
  return QStringLiteral("arrangement_s%1_%2.png").arg(spanCount).arg(side);
}

}  // namespace

std::vector<Picture> drawAll(const Fonts& fonts) {
  using enum Destination;
  using enum FileFormat;
  std::vector<Picture> all{
      {QStringLiteral("Shed_roof.bmp"), dataFolder, bmp24, shedRoof(fonts)},
      {QStringLiteral("Gable_roof.bmp"), dataFolder, bmp24, gableRoof(fonts)},
      {QStringLiteral("Circular_arc_roof.bmp"), dataFolder, bmp24, circularArcRoof(fonts)},
      {QStringLiteral("Independent_roof.bmp"), dataFolder, bmp24, independentRoof(fonts)},
      {QStringLiteral("Shape_close.bmp"), dataFolder, bmp24, shapeClose(fonts)},
      {QStringLiteral("Shape_windward.bmp"), dataFolder, bmp24, shapeWindward(fonts)},
      {QStringLiteral("Shape_leeward.bmp"), dataFolder, bmp24, shapeLeeward(fonts)},
      {QStringLiteral("Shape_gable.bmp"), dataFolder, bmp24, shapeGable(fonts)},
      {QStringLiteral("Shape_wing_roof.bmp"), dataFolder, bmp24, shapeWingRoof(fonts)},
      // The pictures the input screen shows before the first click are the
      // drawings of the initial choices.
      {QStringLiteral("roof_type_default.png"), resources, png, shedRoof(fonts)},
      {QStringLiteral("building_shape_default.png"), resources, png, shapeClose(fonts)},
      {QStringLiteral("roof_shape_default.png"), resources, png, shapeGable(fonts)},
      {QStringLiteral("roughness.png"), resources, png, roughness(fonts)},
      {QStringLiteral("building_dimensions.png"), resources, png, buildingDimensions(fonts)},
      {QStringLiteral("fire_resistance.png"), resources, png, fireResistance(fonts)},
  };
  for (int spanCount = 1; spanCount <= 4; ++spanCount) {
    for (const auto& [left, right] : {std::pair{false, false}, std::pair{true, false},
                                      std::pair{false, true}, std::pair{true, true}}) {
      all.push_back({arrangementFileName(spanCount, left, right), resources, png,
                     arrangement(fonts, spanCount, left, right)});
    }
  }
  all.push_back({QStringLiteral("tavilo.png"), resources, png, applicationIcon(fonts)});
  return all;
}

int bmpBitDepth(const QByteArray& bytes) {
  if (bytes.size() < 30 || !bytes.startsWith("BM")) {
    return 0;
  }
  return static_cast<unsigned char>(bytes[28]) | (static_cast<unsigned char>(bytes[29]) << 8);
}

QByteArray encode(const Picture& picture) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (picture.format == FileFormat::png) {
    return picture.image.save(&buffer, "PNG") ? bytes : QByteArray();
  }
  // Qt writes 24 bits per pixel for an image without alpha.
  if (!picture.image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP") ||
      bmpBitDepth(bytes) != 24) {
    return {};
  }
  return bytes;
}

}  // namespace pictures
