#include "report/diagram_section.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "calc/case_titles.h"
#include "calc/numbers.h"
#include "report/formatters.h"
#include "report/report_style.h"
#include "report/value_rows.h"

namespace tavilo {
namespace {

constexpr std::string_view kSectionHeading = "計算結果（M-図,δ-図）";
constexpr std::string_view kLoadHeading = "荷   　  重";
constexpr std::string_view kSignNote = "（下向き荷重を正とする）";
constexpr std::string_view kDeadPlusLiveCaption = "固定荷重Ｇ[自重＋その他荷重]＋積載荷重Ｐ   Ｗ＝";
constexpr std::string_view kWindCaption = "風荷重 Ｗ(負圧)＝";
constexpr std::string_view kWindCaptionMiddle = "N/㎡(下記)、  Ｗ(正圧)＝";
constexpr std::string_view kSnowCaption = "積雪荷重Ｓ";
constexpr std::string_view kSnowUnitCaption = "   [N/㎡]";
constexpr std::string_view kSpanCaption = "スパン[mm]";
constexpr std::string_view kStressCaption = "応力図";
constexpr std::string_view kDeflectionCaption = "δ[mm]";
constexpr std::string_view kEndMark = "－END－";
constexpr std::string_view kBlockMark = "■";

constexpr double kToKiloNewtonMetres = 0.000001;  // N·mm → kN·m
constexpr double kSampleStepMm = 100.0;
// The largest moment is drawn 5 mm and the largest deflection 3 mm from the axis.
constexpr double kMomentHeightMm = 5.0;
constexpr double kDeflectionHeightMm = 3.0;
// Stands in for the largest value of a case whose values are all 0.
constexpr double kZeroCaseScaleValue = 100.0;
// Spans shorter than this move their right-end labels away from the labels
// of the next span.
constexpr double kShortSpanMm = 2500.0;
constexpr int kTitleLineWidth = 80;
// The values of a load-case block stay within this distance of its axis, clear
// of the blocks above and below; on paper also inside the frame of the page
// (10 mm to 275 mm from the top of the printable area).
constexpr double kBlockLabelReachMm = 23.5;
constexpr double kPaperFrameBottomMm = 275;
// The captions of the caption column ("Ｍ[kN･m]", "(Ｑ[kN])") end within this width.
constexpr double kCaptionColumnWidthMm = 16;

void line(ReportCanvas& canvas, double x1, double y1, double x2, double y2) {
  canvas.moveToMm(x1, y1);
  canvas.lineToMm(x2, y2);
}

// A rule across the page in device pixels at the height of `yMm`.
void rule(ReportCanvas& canvas, int left, double yMm, int right) {
  const int y = canvas.mmToPx(yMm);
  canvas.drawLine(left, y, right, y);
}

// The diagrams draw with a pen of 1 pixel on the screen and 3 device pixels on
// paper, whatever the printer's resolution.
int diagramPenWidth(const ReportCanvas& canvas) {
  return canvas.onScreen() ? 1 : 3;
}

// The values of a sample list before its end marker.
std::span<const double> samplesOf(const std::vector<double>& list) {
  const auto end = std::find(list.begin(), list.end(), static_cast<double>(kEndMarker));
  return {list.data(), static_cast<std::size_t>(end - list.begin())};
}

// Moment labels in kN·m as magnitudes; one that is zero at three places reads "0.0".
std::string momentText(double kiloNewtonMetres) {
  const std::string text = formatTruncatedSafe(std::fabs(kiloNewtonMetres), 6, 3);
  return trimLeadingSpaces(text) == "0.000" ? "0.0" : text;
}

std::string shearText(double newtons, int decimals) {
  return "(" + formatRoundedUp(newtons / 1000, 6, decimals) + ")";
}

void writeScaled(ReportCanvas& canvas, double f, double x, double y, std::string_view text) {
  canvas.scaleFont(f);
  canvas.writeAtMm(x, y, text);
  canvas.setFontSize(canvas.baseFontSize);
}

// The right edge of the printed diagram page's frame.
int paperFrameRight(const ReportCanvas& canvas) {
  return canvas.marginLeft + canvas.mmToPx(180);
}

// A text of the frame's tab on paper: at x, or further left where it would
// reach the frame's right edge.
void writeInTab(ReportCanvas& canvas, double f, double x, double y, std::string_view text) {
  canvas.scaleFont(f);
  const int right = paperFrameRight(canvas) - canvas.mmToPx(1);
  canvas.writeAt(std::min(canvas.mmToPx(x), right - canvas.textWidth(text)), canvas.mmToPx(y),
                 text);
  canvas.setFontSize(canvas.baseFontSize);
}

// The beam axis and its supports.
void drawAxis(ReportCanvas& canvas, const DeckDrawing& deck, double axisY) {
  line(canvas, kBeamLeftMm, axisY, kBeamLeftMm + deck.total(), axisY);
  for (int i = 0; i <= deck.spanCount(); ++i)
    drawSupport(canvas, deck.supportAt(i), axisY);
}

double largestMoment(const CaseAnalysis& a) {
  double largest = a.maxMoment;
  for (const OverhangAnalysis& o : a.overhangs) {
    if (!o.present)
      continue;
    largest = std::max(largest, std::fabs(o.rootMoment));
    for (double m : samplesOf(o.momentSamples))
      largest = std::max(largest, std::fabs(m));
  }
  for (int i = 0; i < a.spanCount; ++i) {
    for (double m : samplesOf(a.spanMomentSamples[slot(i)]))
      largest = std::max(largest, std::fabs(m));
  }
  return largest == 0 ? kZeroCaseScaleValue : largest;
}

double largestDeflection(const CaseAnalysis& a) {
  double largest = 0;
  for (int i = 0; i < a.spanCount; ++i) {
    largest = std::max(largest, std::fabs(a.spanDeflections[slot(i)]));
    for (double d : samplesOf(a.spanDeflectionSamples[slot(i)]))
      largest = std::max(largest, std::fabs(d));
  }
  for (const OverhangAnalysis& o : a.overhangs) {
    if (!o.present)
      continue;
    largest = std::max(largest, std::fabs(o.tipDeflection));
    for (double d : samplesOf(o.deflectionSamples))
      largest = std::max(largest, std::fabs(d));
  }
  return largest == 0 ? kZeroCaseScaleValue : largest;
}

// A polyline through samples every 100 mm from drawn x0, then a vertical line
// from the last one down to the axis.
template <typename YOf>
void drawMomentSamples(ReportCanvas& canvas, const DeckDrawing& deck,
                       std::span<const double> samples, double x0, double axisY, YOf yOf) {
  if (samples.empty())
    return;
  canvas.moveToMm(x0, yOf(samples[0]));
  double x = x0;
  for (std::size_t k = 1; k < samples.size(); ++k) {
    x = x0 + deck.drawn(static_cast<double>(k) * kSampleStepMm);
    canvas.lineToMm(x, yOf(samples[k]));
  }
  canvas.lineToMm(x, axisY);
}

void drawMomentLines(ReportCanvas& canvas, const DeckDrawing& deck, const CaseAnalysis& a,
                     double axisY, double scale) {
  const auto yOf = [&](double m) { return axisY - scale * m; };
  for (int i = 0; i < deck.spanCount() && i < a.spanCount; ++i) {
    const double start = deck.supportAt(i);
    drawMomentSamples(canvas, deck, samplesOf(a.spanMomentSamples[slot(i)]), start, axisY, yOf);
    const double x = start + deck.drawn(a.spanDesignMomentPositions[slot(i)]);
    line(canvas, x, axisY, x, yOf(a.spanDesignMoments[slot(i)]));
  }
  if (a.overhangs[0].present)
    drawMomentSamples(canvas, deck, samplesOf(a.overhangs[0].momentSamples), kBeamLeftMm, axisY,
                      yOf);
  if (a.overhangs[1].present)
    drawMomentSamples(canvas, deck, samplesOf(a.overhangs[1].momentSamples),
                      deck.supportAt(deck.spanCount()), axisY, yOf);
}

// ---- The values of a block, row by row (report/value_rows.h)

// The largest moment of every span, 9 mm above the axis for a hogging one and
// 5 mm for a sagging one, centred on its position.
ValueRow largestMomentRow(const ReportCanvas& canvas, const DeckDrawing& deck,
                          const CaseAnalysis& a, double axisY) {
  ValueRow row{{}, GiveWay::kUp, std::nullopt};
  for (int i = 0; i < deck.spanCount() && i < a.spanCount; ++i) {
    // Rounded up in the third decimal.
    const double moment = a.spanDesignMoments[slot(i)];
    const double roundedUp =
        floorTo(std::fabs(moment) * kToKiloNewtonMetres * 1000 + 0.9999, 0) / 1000;
    const std::string text = momentText(roundedUp);
    const double x = deck.supportAt(i) + deck.drawn(a.spanDesignMomentPositions[slot(i)]);
    row.values.push_back(
        {text, x - labelWidthMm(text) / 2, axisY - (moment > 0 ? 9 : 5), canvas.baseFontSize});
  }
  return row;
}

// The moments at both ends of every span and at the overhang roots, 5 mm below
// the axis; the right end of a short span that is not the first only 1 mm
// below it.
ValueRow supportMomentRow(const ReportCanvas& canvas, const DeckDrawing& deck,
                          const CaseAnalysis& a, double axisY) {
  ValueRow row;
  const int size = canvas.baseFontSize;
  const auto& forces = a.result.memberEndForces;
  for (int i = 0; i < deck.spanCount() && i < a.spanCount; ++i) {
    const double start = deck.supportAt(i);
    const double end = deck.supportAt(i + 1);
    const bool shortSpan = deck.spans[slot(i)] < kShortSpanMm;
    const std::string left = momentText(forces[slot(i)][2] * kToKiloNewtonMetres);
    row.values.push_back({left, start + 0.1 * labelWidthMm(left), axisY + 5, size});
    const std::string right = momentText(forces[slot(i)][5] * kToKiloNewtonMetres);
    const double rightDrop = shortSpan && i > 0 ? 0.2 * 5 : 5;
    row.values.push_back({right, end - 1.1 * labelWidthMm(right), axisY + rightDrop, size});
  }
  // Overhang roots, on the overhang's side of the support.
  const OverhangAnalysis& leftOverhang = a.overhangs[0];
  if (leftOverhang.present) {
    const std::string text = momentText(leftOverhang.rootMoment * kToKiloNewtonMetres);
    row.values.push_back({text, deck.supportAt(0) - 1.1 * labelWidthMm(text), axisY + 5, size});
  }
  const OverhangAnalysis& rightOverhang = a.overhangs[1];
  if (rightOverhang.present) {
    const std::string text = momentText(rightOverhang.rootMoment * kToKiloNewtonMetres);
    row.values.push_back(
        {text, deck.supportAt(deck.spanCount()) + 0.1 * labelWidthMm(text), axisY + 5, size});
  }
  return row;
}

// The shears at both ends of every span, 15 mm below the axis, in the size
// below the body's (the right one of a short span lower, 19.5 mm), and at the
// root of a left overhang.
ValueRow shearRow(const ReportCanvas& canvas, const DeckDrawing& deck, const CaseAnalysis& a,
                  double axisY, double leftOverhangRootShear) {
  ValueRow row;
  const int size = canvas.baseFontSize - 1;
  const int decimals = canvas.onScreen() ? 2 : 3;
  const auto& forces = a.result.memberEndForces;
  for (int i = 0; i < deck.spanCount() && i < a.spanCount; ++i) {
    const double start = deck.supportAt(i);
    const double end = deck.supportAt(i + 1);
    row.values.push_back({shearText(forces[slot(i)][1], decimals), start, axisY + 15, size});
    // The right one ends a part of its width before the support: 0.8 of it,
    // or 1.1 and lower down on a short span.
    const std::string right = shearText(forces[slot(i)][4], decimals);
    const double width = labelWidthMm(right);
    if (deck.spans[slot(i)] < kShortSpanMm)
      row.values.push_back({right, end - 2.1 * width, axisY + 15 * 1.3, size, 15 * 0.3});
    else
      row.values.push_back({right, end - 1.8 * width, axisY + 15, size});
  }
  if (a.overhangs[0].present) {
    // The overhang's root shear always has two decimals; it ends just before
    // the support, where the first span's shear begins.
    const std::string text = shearText(leftOverhangRootShear, 2);
    row.values.push_back({text, deck.supportAt(0) - 1.1 * labelWidthMm(text), axisY + 15, size});
  }
  return row;
}

void drawMomentCurve(ReportCanvas& canvas, const DeckDrawing& deck, const CaseAnalysis& a,
                     double axisY) {
  drawAxis(canvas, deck, axisY);
  // The curve is room that the values keep clear of.
  canvas.setLinesKeptClear(true);
  drawMomentLines(canvas, deck, a, axisY, kMomentHeightMm / largestMoment(a));
  canvas.setLinesKeptClear(false);
}

// Deflection samples of a span lie at 95, 195 … mm and are drawn at 100,
// 200 … mm. The curve runs from the left support through them to the right
// support; a sample drawn on or beyond the right support gives way to the
// support itself.
void drawSpanDeflection(ReportCanvas& canvas, const DeckDrawing& deck, int i,
                        std::span<const double> samples, double axisY, double scale) {
  const double start = deck.supportAt(i);
  const double length = deck.spans[slot(i)];
  canvas.moveToMm(start, axisY);
  for (std::size_t k = 0; k < samples.size(); ++k) {
    const double at = static_cast<double>(k + 1) * kSampleStepMm;
    if (at >= length)
      break;
    canvas.lineToMm(start + deck.drawn(at), axisY + scale * samples[k]);
  }
  canvas.lineToMm(deck.supportAt(i + 1), axisY);
}

// Overhang samples are positive upward, every 100 mm from x0 rightwards.
void drawOverhangDeflection(ReportCanvas& canvas, const DeckDrawing& deck,
                            std::span<const double> samples, double x0, double axisY,
                            double scale) {
  for (std::size_t k = 0; k < samples.size(); ++k) {
    const double x = x0 + deck.drawn(static_cast<double>(k) * kSampleStepMm);
    const double y = axisY - scale * samples[k];
    if (k == 0)
      canvas.moveToMm(x, y);
    else
      canvas.lineToMm(x, y);
  }
}

std::string deflectionText(double deflection) {
  return formatTruncatedSafe(std::fabs(deflection), 4, 2);
}

// The largest deflection of every span and the tip deflection of every
// overhang, centred on it, 8 mm below the axis.
ValueRow deflectionRow(const ReportCanvas& canvas, const DeckDrawing& deck, const CaseAnalysis& a,
                       double axisY) {
  ValueRow row;
  const auto centred = [&](double centreX, double deflection) {
    const std::string text = deflectionText(deflection);
    row.values.push_back({text, centreX - labelWidthMm(text) / 2, axisY + 8, canvas.baseFontSize});
  };
  for (int i = 0; i < deck.spanCount() && i < a.spanCount; ++i)
    centred((deck.supportAt(i) + deck.supportAt(i + 1)) / 2, a.spanDeflections[slot(i)]);
  if (a.overhangs[0].present)
    centred((kBeamLeftMm + deck.supportAt(0)) / 2, a.overhangs[0].tipDeflection);
  if (a.overhangs[1].present) {
    centred((deck.supportAt(deck.spanCount()) + kBeamLeftMm + deck.total()) / 2,
            a.overhangs[1].tipDeflection);
  }
  return row;
}

// The deflection curve in magenta, downward deflections below the axis; the
// values keep clear of it.
void drawDeflectionLines(ReportCanvas& canvas, const DeckDrawing& deck,
                         const CaseAnalysis& analysis, double axisY) {
  drawAxis(canvas, deck, axisY);
  const double scale = kDeflectionHeightMm / largestDeflection(analysis);
  const ReportColor penColor = canvas.pen().color;
  canvas.setPenColor(kDeflectionColor);
  canvas.setLinesKeptClear(true);
  for (int i = 0; i < deck.spanCount() && i < analysis.spanCount; ++i) {
    drawSpanDeflection(canvas, deck, i, samplesOf(analysis.spanDeflectionSamples[slot(i)]), axisY,
                       scale);
  }
  const OverhangAnalysis& left = analysis.overhangs[0];
  if (left.present && !samplesOf(left.deflectionSamples).empty()) {
    drawOverhangDeflection(canvas, deck, samplesOf(left.deflectionSamples), kBeamLeftMm, axisY,
                           scale);
    canvas.lineToMm(deck.supportAt(0), axisY);
  }
  const OverhangAnalysis& right = analysis.overhangs[1];
  if (right.present) {
    const double root = deck.supportAt(deck.spanCount());
    canvas.moveToMm(root, axisY);
    const std::span<const double> samples = samplesOf(right.deflectionSamples);
    for (std::size_t k = 0; k < samples.size(); ++k) {
      canvas.lineToMm(root + deck.drawn(static_cast<double>(k) * kSampleStepMm),
                      axisY - scale * samples[k]);
    }
  }
  canvas.setLinesKeptClear(false);
  canvas.setPenColor(penColor);
}

// The room of the values below the axis, and above it.
TextBox belowAxis(const ReportCanvas& canvas, const TextBox& labelArea, double axisY) {
  return LabelRoom::below(labelArea, canvas.mmToPx(axisY)).area;
}
TextBox aboveAxis(const ReportCanvas& canvas, const TextBox& labelArea, double axisY) {
  return LabelRoom::above(labelArea, canvas.mmToPx(axisY)).area;
}

// ---- Header texts and rules

void drawHeaderTexts(ReportCanvas& canvas, const DiagramHeader& header,
                     const DiagramLayout& layout) {
  const bool screen = canvas.onScreen();
  const double x = layout.captionX;
  const double row1 = layout.loadRow1;
  const double block1 = layout.blockRows[0];
  canvas.setFontSize(canvas.baseFontSize);

  if (screen) {
    writeScaled(canvas, 1.25, x - 5, row1 - 14, kLoadHeading);
    writeScaled(canvas, 0.9, x + 145, row1 - 11, kSignNote);
  } else {
    writeInTab(canvas, 1.0, x + 142, row1 - 14, kLoadHeading);
    writeInTab(canvas, 0.9, x + 145, row1 - 8, kSignNote);
  }

  const std::string unit(kUnitNPerSquareM);
  canvas.writeAtMm(x, row1 - (screen ? 7 : 8),
                   std::string(kDeadPlusLiveCaption) + shortestDecimal(header.deadPlusLive) + unit);
  canvas.writeAtMm(x, layout.loadRow2 - 9,
                   std::string(kWindCaption) + shortestDecimal(header.windNegative) +
                       std::string(kWindCaptionMiddle) + shortestDecimal(header.windPositive) +
                       unit);
  canvas.writeAtMm(x, layout.loadRow3 - 11, kSnowCaption);
  canvas.writeAtMm(x, layout.loadRow3 - (screen ? 6.5 : 7.5), kSnowUnitCaption);
  canvas.writeAtMm(x, layout.beamRow + 3, kSpanCaption);

  if (screen)
    writeScaled(canvas, 1.25, x - 5, block1 - 32, kSectionHeading);
  else
    writeInTab(canvas, 1.0, x + 142, block1 - 29, kSectionHeading);
}

// A tab hanging below the right end of a rule: 40 mm wide, 6 mm deep.
void drawTab(ReportCanvas& canvas, int right, int y) {
  const int left = right - canvas.mmToPx(40);
  const int bottom = y + canvas.mmToPx(6);
  canvas.moveTo(left, y);
  canvas.lineTo(left, bottom);
  canvas.lineTo(right, bottom);
}

void drawHeaderRules(ReportCanvas& canvas, const DiagramLayout& layout) {
  if (canvas.onScreen()) {
    rule(canvas, canvas.marginLeft, layout.top + 8, canvas.frameRight);
    return;
  }
  const double yMm = layout.blockRows[0] - 30;
  const int right = paperFrameRight(canvas);
  rule(canvas, canvas.marginLeft, yMm, right);
  drawTab(canvas, right, canvas.mmToPx(yMm));
}

}  // namespace

DiagramLayout diagramLayout(const ReportCanvas& canvas, int top) {
  DiagramLayout layout;
  layout.top = top;
  layout.loadRow1 = top + 25;
  layout.loadRow2 = top + 40;
  layout.loadRow3 = top + 55;
  layout.beamRow = top + 55;
  // One block per load case, 50 mm apart, and the appended one after them.
  for (std::size_t k = 0; k < layout.blockRows.size(); ++k)
    layout.blockRows[k] = top + 100 + 50 * static_cast<int>(k);
  layout.additionalRow = layout.blockRows.back() + 50;
  layout.captionX = 8.8;
  if (canvas.onPrinter()) {
    // The printed page is framed from marginLeft; the captions keep 1 mm
    // inside the frame, in line with the block titles, rather than being
    // struck through by it.
    layout.captionX = std::max(9.0, canvas.marginLeft / canvas.pxPerMm + 1.0);
  }
  return layout;
}

int diagramTopAfterResults(const ReportCanvas& canvas) {
  const int y = canvas.marginTop + canvas.mmToPx(canvas.cursor.lineMm);
  return static_cast<int>(std::floor(y / canvas.pxPerMm)) + 30;
}

int diagramTopFor(const ReportCanvas& canvas, int calcMethod) {
  if (canvas.onPrinter())
    return 0;
  return calcMethod == kCalcMethodDirect ? diagramTopAfterResults(canvas) : canvas.diagramTop;
}

namespace {

// Where the values of the structural model may go: between the wind band and
// the rule above the first block.
TextBox headerLabelArea(const ReportCanvas& canvas, const DiagramLayout& layout) {
  return canvas.bandMm(layout.loadRow2 + 0.5, layout.blockRows[0] - 30.5);
}

// Where the values of a load-case block may go: near its axis, right of the
// caption column.
TextBox blockLabelArea(const ReportCanvas& canvas, const DiagramLayout& layout, double axisY) {
  TextBox area = canvas.bandMm(axisY - kBlockLabelReachMm, axisY + kBlockLabelReachMm);
  if (canvas.onPrinter())
    area.bottom = std::min(area.bottom, canvas.mmToPx(kPaperFrameBottomMm) - canvas.mmToPx(1));
  const int frameRight = canvas.onPrinter() ? paperFrameRight(canvas) : canvas.frameRight;
  if (frameRight > 0)
    area.right = std::min(area.right, frameRight - canvas.mmToPx(1));
  area.left = std::max(area.left, canvas.mmToPx(layout.captionX + kCaptionColumnWidthMm));
  return area;
}

}  // namespace

void drawModelHeader(ReportCanvas& canvas, const DeckDrawing& deck, const DiagramHeader& header,
                     const DiagramLayout& layout) {
  const double y = layout.beamRow;
  line(canvas, kBeamLeftMm, y, kBeamLeftMm + deck.total(), y);
  for (int i = 0; i <= deck.spanCount(); ++i) {
    const double x = deck.supportAt(i);
    canvas.setPenStyle(PenStyle::kDashDot);
    line(canvas, x, y + 8, x, layout.loadRow1);
    canvas.setPenStyle(PenStyle::kSolid);
    drawSupport(canvas, x, y);
  }
  if (header.deadPlusLive != 0)
    drawLoadBand(canvas, deck, -header.deadPlusLive, kBeamLeftMm, layout.loadRow1, 2.5);
  if (header.windNegative != 0)
    drawLoadBand(canvas, deck, -header.windNegative, kBeamLeftMm, layout.loadRow2, 3.5);
  // The captions stand where they stand; the values of the figures keep
  // clear of them.
  drawHeaderTexts(canvas, header, layout);

  const TextBox labels = headerLabelArea(canvas, layout);
  drawLoadFigure(canvas, deck, header.snowLoads, kBeamLeftMm, layout.loadRow3, 1.0,
                 header.windNegative, LoadFigureMode::kScaleAdj, labels);
  canvas.setFontSize(canvas.baseFontSize);
  if (deck.leftOverhang != 0)
    drawDimension(canvas, deck, kBeamLeftMm, y, deck.leftOverhang, labels);
  for (int i = 0; i < deck.spanCount(); ++i)
    drawDimension(canvas, deck, deck.supportAt(i), y, deck.spans[slot(i)], labels);
  if (deck.rightOverhang != 0)
    drawDimension(canvas, deck, deck.supportAt(deck.spanCount()), y, deck.rightOverhang, labels);

  drawHeaderRules(canvas, layout);
}

std::string blockTitleLine(const std::string& label) {
  const std::string title = " " + std::string(kBlockMark) + label + " ";
  const int spare = kTitleLineWidth - shiftJisByteCount(title);
  const std::string dashes = repeatChar('-', spare / 2);
  return dashes + title + dashes + (spare > 0 && spare % 2 != 0 ? "-" : "");
}

void drawCaseBlock(ReportCanvas& canvas, const DeckDrawing& deck, const DiagramBlock& block,
                   double row, int windNegative, const DiagramLayout& layout) {
  const bool screen = canvas.onScreen();
  const double axisY = screen ? row : std::floor(row - 4);
  const double x = layout.captionX;
  // The appended block writes its title half a millimetre lower.
  const double titleDrop = block.additional ? 0.5 : 0.0;
  const CaseAnalysis& a = block.analysis;

  // Title and the captions that stand still: the values keep clear of them.
  canvas.setFontSize(canvas.baseFontSize);
  if (screen) {
    canvas.setFontFace(kFixedFace);
    canvas.writeAtMm(6, axisY - 26 + titleDrop, blockTitleLine(diagramTitle(block.analysis)));
    canvas.setFontFace(kReportFace);
  } else {
    canvas.writeAtMm(14, axisY - 25 + titleDrop,
                     std::string(kBlockMark) + diagramTitle(block.analysis));
  }
  const double stressCaptionY = screen || block.additional ? axisY - 15 : axisY - 11;
  canvas.writeAtMm(x, stressCaptionY, kStressCaption);
  canvas.writeAtMm(x, axisY + (screen ? 5 : 4.5), "Ｍ[" + std::string(kUnitKnM) + "]");

  if (!screen && !block.additional) {
    canvas.setPenStyle(PenStyle::kDotted);
    rule(canvas, canvas.marginLeft + canvas.mmToPx(2), row + 20,
         canvas.marginLeft + canvas.mmToPx(178));
    canvas.setPenStyle(PenStyle::kSolid);
  }

  // The curves first: they are room the values keep clear of.
  const TextBox labels = blockLabelArea(canvas, layout, axisY);
  drawMomentCurve(canvas, deck, a, axisY);
  drawDeflectionLines(canvas, deck, a, axisY);

  // The largest span moments above the axis; the load figure stands above
  // them, higher than its place where they need the room.
  std::vector<PlacedValue> placed;
  placeRows(canvas, {largestMomentRow(canvas, deck, a, axisY)}, aboveAxis(canvas, labels, axisY),
            placed);
  double figureY = row - 12;
  for (const PlacedValue& p : placed)
    figureY = std::min(figureY, (p.at.y - canvas.labelGap().y) / canvas.pxPerMm);
  drawLoadFigure(canvas, deck, block.loads, kBeamLeftMm, std::floor(figureY * 10) / 10, 0.5,
                 windNegative, LoadFigureMode::kNonScale, labels);

  // Below the axis the rows of the support moments, the deflections and the
  // shears; their captions follow their rows.
  std::vector<ValueRow> rows{supportMomentRow(canvas, deck, a, axisY),
                             deflectionRow(canvas, deck, a, axisY),
                             shearRow(canvas, deck, a, axisY, block.leftOverhangRootShear)};
  rows[1].captionYMm = axisY + (screen ? 10 : 8.5);
  rows[2].captionYMm = axisY + 15;
  const std::vector<int> shifts = placeRows(canvas, rows, belowAxis(canvas, labels, axisY), placed);
  canvas.setFontSize(canvas.baseFontSize);
  canvas.writeAt(canvas.mmToPx(x), canvas.mmToPx(*rows[1].captionYMm) + shifts[1],
                 kDeflectionCaption);
  canvas.writeAt(canvas.mmToPx(x), canvas.mmToPx(*rows[2].captionYMm) + shifts[2],
                 "(Ｑ[" + std::string(kUnitKn) + "])");
  writePlaced(canvas, placed);
}

void drawMomentDiagram(ReportCanvas& canvas, const DeckDrawing& deck, const CaseAnalysis& analysis,
                       double axisY, double leftOverhangRootShear, const TextBox& labelArea) {
  drawMomentCurve(canvas, deck, analysis, axisY);
  std::vector<PlacedValue> placed;
  placeRows(canvas, {largestMomentRow(canvas, deck, analysis, axisY)},
            aboveAxis(canvas, labelArea, axisY), placed);
  placeRows(canvas,
            {supportMomentRow(canvas, deck, analysis, axisY),
             shearRow(canvas, deck, analysis, axisY, leftOverhangRootShear)},
            belowAxis(canvas, labelArea, axisY), placed);
  writePlaced(canvas, placed);
}

void drawDeflectionCurve(ReportCanvas& canvas, const DeckDrawing& deck,
                         const CaseAnalysis& analysis, double axisY, const TextBox& labelArea) {
  drawDeflectionLines(canvas, deck, analysis, axisY);
  std::vector<PlacedValue> placed;
  placeRows(canvas, {deflectionRow(canvas, deck, analysis, axisY)},
            belowAxis(canvas, labelArea, axisY), placed);
  writePlaced(canvas, placed);
}

void drawReportEnd(ReportCanvas& canvas, double reachedMm) {
  if (canvas.onScreen()) {
    const double ruleY = reachedMm + 25;
    rule(canvas, canvas.marginLeft, ruleY, canvas.frameRight);
    canvas.setFontSize(canvas.baseFontSize);
    canvas.writeAtMm(178, ruleY + 5, kEndMark);
    canvas.writeScreenFootMark(canvas.mmToPx(ruleY + 5));
    return;
  }
  // The frame of the diagram page, its tab holding the "荷   　  重" heading.
  canvas.marginTop = canvas.mmToPx(15);
  const int top = canvas.marginTop - canvas.mmToPx(5);
  const int right = paperFrameRight(canvas);
  canvas.drawRect(canvas.marginLeft, top, right,
                  canvas.frameBottomAboveFoot(top + canvas.mmToPx(265)));
  drawTab(canvas, right, top);
  canvas.lastPage = true;
  canvas.endPage();
}

void drawDiagramSection(ReportCanvas& canvas, const CalculationOutcome& outcome) {
  const PenSpec savedPen = canvas.pen();
  const FontSpec savedFont = canvas.surface().font();

  const DesignConditions& c = outcome.conditions;
  canvas.drawScale = drawScale(c);
  const DeckDrawing deck = deckDrawing(c, canvas.drawScale);
  canvas.diagramTop = diagramTopFor(canvas, outcome.settings.calcMethod);
  const DiagramLayout layout = diagramLayout(canvas, canvas.diagramTop);

  canvas.setPenColor(canvas.textColor);
  canvas.setPenWidth(diagramPenWidth(canvas));
  canvas.setPenStyle(PenStyle::kSolid);
  canvas.setFontFace(kReportFace);
  canvas.setFontColor(canvas.textColor);
  canvas.setBold(false);
  canvas.setFontSize(canvas.baseFontSize);

  const DiagramSection& section = outcome.diagrams;
  drawModelHeader(canvas, deck, section.header, layout);
  double reached = layout.top;
  int mainBlocks = 0;
  for (const DiagramBlock& block : section.blocks) {
    const double row =
        block.additional ? layout.additionalRow : layout.blockRows[0] + 50.0 * mainBlocks++;
    drawCaseBlock(canvas, deck, block, row, section.header.windNegative, layout);
    reached = std::max(reached, row);
  }
  drawReportEnd(canvas, reached);

  canvas.surface().setPen(savedPen);
  canvas.surface().setFont(savedFont);
}

}  // namespace tavilo
