#pragma once
// The drawing pieces of the stress and deflection diagrams: the drawing scale
// of the deck, the drawn support positions, supports, load arrows, span
// dimensions, uniform load bands and load figures. Every coordinate is in
// absolute page millimetres and goes through moveToMm, lineToMm and
// writeAtMm, so fractions of a pixel are dropped.

#include <span>
#include <string_view>
#include <vector>

#include "calc/calculation_run.h"
#include "calc/design_conditions.h"
#include "report/report_canvas.h"

namespace tavilo {

// Where the beam of every figure starts, mm from the left edge.
inline constexpr double kBeamLeftMm = 40.0;

// Deck length / drawn length: 80 up to a 10 m deck, else 100; a deck longer
// than 15 m in total gets 10 × ⌊total × scale / 110000⌋ − 10 so that it still
// fits the page. `deckLength` is the spans plus both overhangs, mm.
double drawScale(double deckLength, int totalDeckLength);
double drawScale(const DesignConditions& conditions);

// The deck as the figures draw it. supportX[0] is the first support,
// supportX[i] the support after span i, supportX[spanCount + 1] the right end
// of the deck; drawn mm measured from the left end of the deck.
struct DeckDrawing {
  double scale = 80.0;
  std::vector<double> spans;  // mm
  double leftOverhang = 0;    // mm
  double rightOverhang = 0;   // mm
  std::vector<double> supportX;

  int spanCount() const { return static_cast<int>(spans.size()); }
  // Drawn length of the whole deck.
  double total() const { return supportX.empty() ? 0.0 : supportX.back(); }
  // Drawn x of support i (0 … spanCount) on a beam starting at kBeamLeftMm.
  double supportAt(int i) const;
  // Deck mm to drawn mm.
  double drawn(double mm) const { return mm / scale; }
};

std::vector<double> supportX(const DesignConditions& conditions, double scale);
DeckDrawing deckDrawing(const DesignConditions& conditions, double scale);

// Layout width of a label: its Shift-JIS bytes × 1.5875 mm. Labels are placed
// by this nominal width; the text is not measured.
double labelWidthMm(std::string_view text);

// A triangle with its apex on the beam at (x, y) and its base 2 mm below.
// Labels keep clear of it, as of every load arrow.
void drawSupport(ReportCanvas& canvas, double x, double y);

// A load arrow standing on (x, y), `length` mm high; its head points down for
// direction < 0 (a downward load) and up otherwise. Arrows shorter than
// 1.2 mm, the length of a head stroke, are not drawn.
void drawLoadArrow(ReportCanvas& canvas, double direction, double x, double y, double length);

// The dimension line of a deck length (mm) starting at drawn x under a beam
// at y, with its value centred above the line. A value whose place is taken
// gives way downwards inside `labelArea` (device pixels; empty: the page).
void drawDimension(ReportCanvas& canvas, const DeckDrawing& deck, double x, double y, double length,
                   const TextBox& labelArea = {});

// A uniform load over the whole deck: two lines `height` mm apart and arrows of
// that height at about 5 mm pitch, pointing by the sign of `direction`.
void drawLoadBand(ReportCanvas& canvas, const DeckDrawing& deck, double direction, double x,
                  double y, double height);

enum class LoadFigureMode {
  kScaleAdj,  // drawn to the common scale of the wind band
  kNonScale,  // the largest load of the figure is drawn full height
};

// The loads of every span (N/mm, downward negative) as arrows of varying
// height standing on y, the overhangs loaded like the adjacent span ends,
// with the value of each span above it. `reference` is Ww− (N/m²), the load
// the scale of kScaleAdj refers to. A value whose place is taken gives way
// upwards inside `labelArea` (empty: the page).
void drawLoadFigure(ReportCanvas& canvas, const DeckDrawing& deck, std::span<const SpanLoad> loads,
                    double x, double y, double sizeFactor, double reference, LoadFigureMode mode,
                    const TextBox& labelArea = {});

}  // namespace tavilo
