#include "report/diagram_primitives.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>

#include "calc/numbers.h"
#include "report/formatters.h"

namespace tavilo {
namespace {

constexpr double kSmallDeckMm = 10000;
constexpr double kLongDeckMm = 15000;
constexpr double kArrowPitchMm = 5.0;
constexpr double kHeadLengthMm = 1.2;
constexpr double kHeadHalfWidthMm = 0.4;
constexpr double kMmPerLabelByte = 1.5875;

int spanCountOf(const DesignConditions& c) {
  return std::clamp(c.spanCount, 1, kMaxSpans);
}

void line(ReportCanvas& canvas, double x1, double y1, double x2, double y2) {
  canvas.moveToMm(x1, y1);
  canvas.lineToMm(x2, y2);
}

// Arrows at start + i × pitch for i = 0 … count − 1 (pitch negative to place
// them leftwards), the pitch being the drawn length over the count, cut to
// whole millimetres. Used for the overhangs, which never get an arrow at their
// support end: the span beside them has one there.
template <typename DrawArrow>
void overhangArrows(double start, double drawnLength, double direction, DrawArrow drawArrow) {
  const int n = static_cast<int>(std::floor(drawnLength / kArrowPitchMm));
  if (n <= 0)
    return;
  const double pitch = std::floor(drawnLength / n);
  for (int i = 0; i < n; ++i)
    drawArrow(start + direction * i * pitch);
}

}  // namespace

double drawScale(double deckLength, int totalDeckLength) {
  double scale = deckLength <= kSmallDeckMm ? 80.0 : 100.0;
  if (totalDeckLength > kLongDeckMm) {
    const double fitted = 10.0 * std::floor(totalDeckLength * scale / 110000.0) - 10.0;
    // Every total above 15 m gives at least 120; the guard only keeps a
    // zero scale from ever reaching a division.
    if (fitted > 0)
      scale = fitted;
  }
  return scale;
}

double drawScale(const DesignConditions& c) {
  double length = c.leftOverhang + c.rightOverhang;
  for (int i = 0; i < spanCountOf(c); ++i)
    length += c.spanLengths[slot(i)];
  return drawScale(length, c.totalDeckLength);
}

double DeckDrawing::supportAt(int i) const {
  return kBeamLeftMm + supportX[slot(i)];
}

std::vector<double> supportX(const DesignConditions& c, double scale) {
  std::vector<double> x;
  double reached = c.leftOverhang;
  x.push_back(reached / scale);
  for (int i = 0; i < spanCountOf(c); ++i) {
    reached += c.spanLengths[slot(i)];
    x.push_back(reached / scale);
  }
  x.push_back((reached + c.rightOverhang) / scale);
  return x;
}

DeckDrawing deckDrawing(const DesignConditions& c, double scale) {
  DeckDrawing deck;
  deck.scale = scale;
  for (int i = 0; i < spanCountOf(c); ++i)
    deck.spans.push_back(c.spanLengths[slot(i)]);
  deck.leftOverhang = c.leftOverhang;
  deck.rightOverhang = c.rightOverhang;
  deck.supportX = supportX(c, scale);
  return deck;
}

double labelWidthMm(std::string_view text) {
  return shiftJisByteCount(text) * kMmPerLabelByte;
}

void drawSupport(ReportCanvas& canvas, double x, double y) {
  const double halfBase = 2.0 / std::sqrt(3.0);
  canvas.moveToMm(x, y);
  canvas.lineToMm(x - halfBase, y + 2);
  canvas.lineToMm(x + halfBase, y + 2);
  canvas.lineToMm(x, y);
  canvas.keepClearMm(x - halfBase, y, x + halfBase, y + 2);
}

void drawLoadArrow(ReportCanvas& canvas, double direction, double x, double y, double length) {
  if (!(length >= kHeadLengthMm))
    return;
  canvas.keepClearMm(x - kHeadHalfWidthMm, y - length, x + kHeadHalfWidthMm, y);
  line(canvas, x, y, x, y - length);
  if (direction < 0) {
    line(canvas, x, y, x - kHeadHalfWidthMm, y - kHeadLengthMm);
    line(canvas, x, y, x + kHeadHalfWidthMm, y - kHeadLengthMm);
    return;
  }
  const double top = y - length;
  line(canvas, x, top, x - kHeadHalfWidthMm, top + kHeadLengthMm);
  line(canvas, x, top, x + kHeadHalfWidthMm, top + kHeadLengthMm);
}

void drawDimension(ReportCanvas& canvas, const DeckDrawing& deck, double x, double y, double length,
                   const TextBox& labelArea) {
  const double drawnLength = deck.drawn(length);
  canvas.moveToMm(x, y + 5);
  canvas.lineToMm(x, y + 8);
  canvas.lineToMm(x + drawnLength, y + 8);
  canvas.lineToMm(x + drawnLength, y + 5);
  const std::string label = formatTruncatedSafe(length, 5, 0);
  canvas.writeLabelMm(x + drawnLength / 2 - labelWidthMm(label) / 2, y + 7 - 3.175, label,
                      LabelRoom::below(labelArea, canvas.mmToPx(y)));
}

void drawLoadBand(ReportCanvas& canvas, const DeckDrawing& deck, double direction, double x,
                  double y, double height) {
  const double total = deck.total();
  line(canvas, x, y, x + total, y);
  line(canvas, x, y - height, x + total, y - height);
  const auto arrowAt = [&](double ax) { drawLoadArrow(canvas, direction, ax, y, height); };

  overhangArrows(x, deck.drawn(deck.leftOverhang), 1.0, arrowAt);
  // The spans, then the right overhang.
  for (std::size_t i = 0; i + 1 < deck.supportX.size(); ++i) {
    const double start = x + deck.supportX[i];
    const double g = deck.supportX[i + 1] - deck.supportX[i];
    if (g <= 0)
      continue;
    const int m = static_cast<int>(std::floor(g / kArrowPitchMm));
    const double pitch = m > 0 ? std::floor(g / m) : 0.0;
    for (int j = 0; j <= m; ++j)
      arrowAt(start + j * pitch);
  }
  arrowAt(x + total);
}

void drawLoadFigure(ReportCanvas& canvas, const DeckDrawing& deck, std::span<const SpanLoad> loads,
                    double x, double y, double sizeFactor, double reference, LoadFigureMode mode,
                    const TextBox& labelArea) {
  const int spans = std::min(deck.spanCount(), static_cast<int>(loads.size()));
  if (spans <= 0)
    return;

  double largest = 0;
  for (int i = 0; i < spans; ++i) {
    largest = std::max({largest, std::fabs(loads[slot(i)].left), std::fabs(loads[slot(i)].right)});
  }
  double fullHeight = 6 * sizeFactor;
  if (mode == LoadFigureMode::kScaleAdj && reference != 0)
    fullHeight = fullHeight * 0.6 * largest * 1000 / std::fabs(reference);
  const double cap = canvas.onPrinter() ? 7.0 : 6.0;
  // Drawn height of a load, positive for a downward one.
  const auto heightOf = [&](double w) {
    return largest == 0 ? 0.0 : std::clamp(-fullHeight * w / largest, -cap, cap);
  };
  const auto arrow = [&](double ax, double height) {
    drawLoadArrow(canvas, height >= 0 ? -1.0 : 1.0, ax, y, std::fabs(height));
  };

  if (deck.leftOverhang != 0) {
    const double u = heightOf(loads[0].left);
    overhangArrows(x, deck.drawn(deck.leftOverhang), 1.0, [&](double ax) { arrow(ax, u); });
    line(canvas, x, y - std::fabs(u), x + deck.supportX.front(), y - std::fabs(u));
  }
  if (deck.rightOverhang != 0) {
    const double u = heightOf(loads[slot(spans - 1)].right);
    const double end = x + deck.total();
    overhangArrows(end, deck.drawn(deck.rightOverhang), -1.0, [&](double ax) { arrow(ax, u); });
    line(canvas, x + deck.supportX[slot(deck.spanCount())], y - std::fabs(u), end,
         y - std::fabs(u));
  }

  const bool fullSize = sizeFactor == 1.0;
  const double labelY = y - 10 * (fullSize ? 1.0 : 0.75);
  const auto valueText = [&](double w) {
    return fullSize ? formatTruncatedSafe(-w * 1000, 5, 0) : formatTruncatedSafe(-w, 5, 3);
  };
  canvas.setFontSize(canvas.baseFontSize);
  const LabelRoom room = LabelRoom::above(labelArea, canvas.mmToPx(y));

  // Every arrow first, so that a value keeps clear of the arrows of the
  // spans after its own.
  for (int i = 0; i < spans; ++i) {
    const SpanLoad& load = loads[slot(i)];
    const double start = x + deck.supportX[slot(i)];
    const double g = deck.supportX[slot(i + 1)] - deck.supportX[slot(i)];
    if (g <= 0)
      continue;
    const double left = heightOf(load.left);
    const double right = heightOf(load.right);
    // A span drawn shorter than one pitch still gets its two end arrows.
    const int k = std::max(1, static_cast<int>(std::floor(g / kArrowPitchMm)));
    const double pitch = g / k;
    for (int c = 0; c <= k; ++c)
      arrow(start + c * pitch, left + (right - left) * c / k);
    line(canvas, start, y - std::fabs(left), start + g, y - std::fabs(right));
  }

  for (int i = 0; i < spans; ++i) {
    const SpanLoad& load = loads[slot(i)];
    const double start = x + deck.supportX[slot(i)];
    const double g = deck.supportX[slot(i + 1)] - deck.supportX[slot(i)];
    if (g <= 0)
      continue;
    if (load.uniform) {
      if (load.left == 0)
        continue;
      const std::string text = valueText(load.left);
      canvas.writeLabelMm(start + g / 2 - 0.6 * labelWidthMm(text), labelY - 1, text, room);
      continue;
    }
    if (load.left != 0) {
      const std::string text = valueText(load.left);
      canvas.writeLabelMm(start + 0.3 * labelWidthMm(text), labelY, text, room);
    }
    if (load.right != 0) {
      const std::string text = valueText(load.right);
      canvas.writeLabelMm(start + g - 1.3 * labelWidthMm(text), labelY, text, room);
    }
  }
}

}  // namespace tavilo
