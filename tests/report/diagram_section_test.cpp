#include "report/diagram_section.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "report/formatters.h"
#include "report/recording_surface.h"

namespace tavilo {
namespace {

// ---- Fixtures

DesignConditions deckConditions(std::vector<int> spans, double leftOverhang = 0,
                                double rightOverhang = 0) {
  DesignConditions c;
  c.deckType = 0;
  c.deckName = "KX-50-12";
  c.unitWeight = 127;
  c.sectionModulus = 26300;
  c.momentOfInertia = 809000;
  c.finishingLoad = 400;
  c.liveLoad = 0;
  c.snowLoad = 600;
  c.spanCount = static_cast<int>(spans.size());
  c.totalDeckLength = static_cast<int>(leftOverhang + rightOverhang);
  for (std::size_t i = 0; i < spans.size(); ++i) {
    c.spanLengths[i] = spans[i];
    c.totalDeckLength += spans[i];
  }
  c.leftOverhang = leftOverhang;
  c.rightOverhang = rightOverhang;
  return c;
}

// A whole run with directly entered loads: Ww+ 560, Ww− −1951 N/m².
CalculationOutcome outcomeFor(DesignConditions c, int windPositive = 560, int windNegative = 1951) {
  CoefficientSettings settings;
  settings.calcMethod = kCalcMethodDirect;
  PreparationInputs in;
  in.overhangCode = (c.leftOverhang > 0 ? 1 : 0) + (c.rightOverhang > 0 ? 2 : 0);
  in.leftOverhangLength = static_cast<int>(c.leftOverhang);
  in.rightOverhangLength = static_cast<int>(c.rightOverhang);
  in.directWindPositive = windPositive;
  in.directWindNegative = windNegative;
  CaLC_DATA data;
  const LoadDerivations d = prepareCalculationData(c, data, settings, in);
  return runCalculation(c, data, settings, d.wind, d.snow);
}

RecordingSurface screen() {
  return RecordingSurface(72, 565, 3350);
}
RecordingSurface paper() {
  return RecordingSurface(600, 4960, 7015);
}

ReportSetup printerSetup() {
  ReportSetup setup;
  setup.device = ReportDevice::kPrinter;
  return setup;
}

// What page 1 leaves on the screen: the text column at 5 mm, the frame's
// right edge at 4 + 190 mm.
void asAfterPageOne(ReportCanvas& canvas) {
  if (!canvas.onScreen())
    return;
  canvas.frameRight = canvas.marginLeft + canvas.mmToPx(190);
  canvas.marginLeft = canvas.mmToPx(5);
}

// Vertical strokes of exactly `heightMm` (to a pixel), by x in device pixels.
std::vector<int> shaftsOfHeight(const ReportCanvas& canvas, const RecordingSurface& s,
                                double heightMm) {
  std::vector<int> xs;
  const int height = canvas.mmToPx(heightMm);
  for (const RecordedLine& l : s.lines()) {
    if (l.points.size() != 2 || l.points[0].x != l.points[1].x)
      continue;
    if (std::abs(std::abs(l.points[0].y - l.points[1].y) - height) <= 1)
      xs.push_back(l.points[0].x);
  }
  return xs;
}

std::vector<int> pixelsOf(const ReportCanvas& canvas, std::vector<double> mm) {
  std::vector<int> px;
  for (double v : mm)
    px.push_back(canvas.mmToPx(v));
  return px;
}

// The shear labels: "(" + value + ")", not the "(Ｑ[kN])" caption.
std::vector<std::string> shearLabels(const RecordingSurface& s) {
  std::vector<std::string> found;
  for (const std::string& t : s.allTexts()) {
    if (t.starts_with("(") && !t.starts_with("(Ｑ"))
      found.push_back(t);
  }
  return found;
}

// ---- Drawing scale and support positions

TEST(DiagramScale, FollowsTheDeckLength) {
  EXPECT_EQ(drawScale(10000, 10000), 80);
  EXPECT_EQ(drawScale(10001, 10001), 100);
  EXPECT_EQ(drawScale(15000, 15000), 100);
  // 10 × ⌊20000 × 100 / 110000⌋ − 10
  EXPECT_EQ(drawScale(20000, 20000), 170);
  EXPECT_EQ(drawScale(deckConditions({5000, 5000, 5000, 5000})), 170);
  EXPECT_EQ(drawScale(deckConditions({5000, 5000})), 80);
}

TEST(DiagramScale, SupportsLieAtTheDrawnSpanEnds) {
  const DesignConditions c = deckConditions({1800, 2400}, 400, 800);
  const std::vector<double> x = supportX(c, 80);
  ASSERT_EQ(x.size(), 4u);
  EXPECT_DOUBLE_EQ(x[0], 5.0);
  EXPECT_DOUBLE_EQ(x[1], 27.5);
  EXPECT_DOUBLE_EQ(x[2], 57.5);
  EXPECT_DOUBLE_EQ(x[3], 67.5);
  EXPECT_DOUBLE_EQ(deckDrawing(c, 80).total(), 67.5);
}

// ---- Arrows, bands and load figures

TEST(DiagramLoads, ArrowsShorterThanTheirHeadAreLeftOut) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  drawLoadArrow(canvas, -1, 50, 50, 1.19);
  drawLoadArrow(canvas, -1, 50, 50, 0);
  EXPECT_TRUE(s.lines().empty());

  drawLoadArrow(canvas, -1, 50, 50, 1.2);
  ASSERT_EQ(s.lines().size(), 3u);
  // A downward load has its head at the foot, on the beam.
  EXPECT_EQ(s.lines()[1].points[0], (PixelPoint{canvas.mmToPx(50), canvas.mmToPx(50)}));

  drawLoadArrow(canvas, 1, 60, 50, 3.5);
  ASSERT_EQ(s.lines().size(), 6u);
  // An upward one at the top.
  EXPECT_EQ(s.lines()[4].points[0], (PixelPoint{canvas.mmToPx(60), canvas.mmToPx(46.5)}));
}

TEST(DiagramLoads, BandArrowsStandAtWholeMillimetrePitchPerSegment) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  // 1008 mm at scale 80 is drawn 12.6 mm long: 2 intervals of ⌊12.6 / 2⌋ = 6 mm,
  // and the arrow at the right end.
  const DeckDrawing deck = deckDrawing(deckConditions({1008}), 80);
  drawLoadBand(canvas, deck, -527, kBeamLeftMm, 80, 2.5);
  EXPECT_EQ(shaftsOfHeight(canvas, s, 2.5), pixelsOf(canvas, {40, 46, 52, 52.6}));
}

TEST(DiagramLoads, BandOverhangArrowsStopShortOfTheSupport) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  // Left overhang 1000 mm → 12.5 mm: 2 arrows at a 6 mm pitch; span 800 mm → 10 mm.
  const DeckDrawing deck = deckDrawing(deckConditions({800}, 1000), 80);
  drawLoadBand(canvas, deck, 1951, kBeamLeftMm, 80, 3.5);
  EXPECT_EQ(shaftsOfHeight(canvas, s, 3.5), pixelsOf(canvas, {40, 46, 52.5, 57.5, 62.5, 62.5}));
}

TEST(DiagramLoads, FigureArrowsDivideTheSpanEvenly) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  const DeckDrawing deck = deckDrawing(deckConditions({1008}), 80);
  const std::vector<SpanLoad> loads = {{-1.127, -1.127, true}};
  drawLoadFigure(canvas, deck, loads, kBeamLeftMm, 88, 0.5, -1951, LoadFigureMode::kNonScale);
  // k = 2 intervals of 6.3 mm; the largest load is drawn 6 × 0.5 mm high.
  EXPECT_EQ(shaftsOfHeight(canvas, s, 3), pixelsOf(canvas, {40, 46.3, 52.6}));
  const RecordedText* label = s.findText("1.127");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->y, canvas.mmToPx(88 - 7.5 - 1));
}

TEST(DiagramLoads, SpanShorterThanOnePitchGetsItsTwoEndArrows) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  // 300 mm is drawn 3.75 mm: ⌊3.75 / 5⌋ = 0 intervals would divide by zero.
  const DeckDrawing deck = deckDrawing(deckConditions({300, 1008}), 80);
  const std::vector<SpanLoad> loads = {{-1, -1, true}, {-1, -1, true}};
  drawLoadFigure(canvas, deck, loads, kBeamLeftMm, 88, 0.5, -1951, LoadFigureMode::kNonScale);
  EXPECT_EQ(shaftsOfHeight(canvas, s, 3),
            pixelsOf(canvas, {40, 43.75, 43.75, 43.75 + 6.3, 43.75 + 12.6}));
}

TEST(DiagramLoads, SnowBelowTheArrowHeadDrawsOnlyItsLineAndValue) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  const DeckDrawing deck = deckDrawing(deckConditions({1800, 1800}), 80);
  const std::vector<SpanLoad> snow = {{-0.6, -0.6, true}, {-0.6, -0.6, true}};
  // 6 × 0.6 × 600 / 1951 ≈ 1.11 mm: below 1.2 mm, so no arrow.
  drawLoadFigure(canvas, deck, snow, kBeamLeftMm, 110, 1.0, -1951, LoadFigureMode::kScaleAdj);
  ASSERT_EQ(s.lines().size(), 2u);
  EXPECT_EQ(s.lines()[0].points[0].y, canvas.mmToPx(110 - 6 * 0.6 * 600 / 1951.0));
  EXPECT_EQ(s.textsContaining(" 600").size(), 2u);
}

TEST(DiagramLoads, UpliftIsDrawnAboveTheBaseWithUpwardHeads) {
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  const DeckDrawing deck = deckDrawing(deckConditions({1800}), 80);
  const std::vector<SpanLoad> uplift = {{1.424, 1.424, true}};
  drawLoadFigure(canvas, deck, uplift, kBeamLeftMm, 88, 0.5, -1951, LoadFigureMode::kNonScale);
  const std::vector<int> shafts = shaftsOfHeight(canvas, s, 3);
  ASSERT_EQ(shafts.size(), 5u);
  for (const RecordedLine& l : s.lines()) {
    for (const PixelPoint& p : l.points)
      EXPECT_LE(p.y, canvas.mmToPx(88));
  }
  EXPECT_NE(s.findText("-1.424"), nullptr);
}

// ---- Moment diagram and deflection curve

TEST(DiagramCurves, AllZeroCaseLiesOnTheAxisAndReadsZero) {
  DesignConditions c = deckConditions({1800, 1800});
  c.unitWeight = 0;
  c.finishingLoad = 0;
  c.snowLoad = 0;
  const CalculationOutcome outcome = outcomeFor(c, 0, 0);
  const CaseAnalysis& a = outcome.diagrams.blocks[0].analysis;
  ASSERT_EQ(a.maxMoment, 0);

  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  const DeckDrawing deck = deckDrawing(c, 80);
  drawMomentDiagram(canvas, deck, a, 100, 0);
  drawDeflectionCurve(canvas, deck, a, 100);

  const int axis = canvas.mmToPx(100);
  const int supportBase = canvas.mmToPx(102);
  for (const RecordedLine& l : s.lines()) {
    for (const PixelPoint& p : l.points)
      EXPECT_TRUE(p.y == axis || p.y == supportBase) << p.y;
  }
  // Both ends of both spans and the two span moments read "0.0" (deflections
  // read "0.00").
  EXPECT_EQ(s.textsContaining("0.0").size() - s.textsContaining("0.00").size(), 6u);
}

TEST(DiagramCurves, MomentsAreDrawnToFiveMillimetresAndDeflectionsToThree) {
  const DesignConditions c = deckConditions({2500, 2500});
  const CalculationOutcome outcome = outcomeFor(c);
  const CaseAnalysis& a = outcome.diagrams.blocks[0].analysis;
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  const DeckDrawing deck = deckDrawing(c, 80);

  drawMomentDiagram(canvas, deck, a, 100, 0);
  int highest = canvas.mmToPx(100);
  for (const RecordedLine& l : s.lines()) {
    for (const PixelPoint& p : l.points)
      highest = std::min(highest, p.y);
  }
  // The hogging moment over the middle support is the largest: 5 mm above.
  EXPECT_EQ(highest, canvas.mmToPx(95));
  // Its label, and the sagging span moment rounded up in the third decimal.
  EXPECT_NE(s.findText(formatTruncatedSafe(std::fabs(a.result.memberEndForces[0][5]) * 1e-6, 6, 3)),
            nullptr);
  const double sagging = std::floor(std::fabs(a.spanDesignMoments[0]) * 1e-3 + 0.9999) / 1000;
  const auto spanLabels = s.textsContaining(formatTruncatedSafe(sagging, 6, 3));
  ASSERT_FALSE(spanLabels.empty());
  EXPECT_EQ(spanLabels[0].y, canvas.mmToPx(95));

  const std::size_t before = s.lines().size();
  drawDeflectionCurve(canvas, deck, a, 100);
  int lowest = 0;
  for (std::size_t i = before; i < s.lines().size(); ++i) {
    const RecordedLine& l = s.lines()[i];
    if (l.pen.color != kDeflectionColor)
      continue;
    for (const PixelPoint& p : l.points)
      lowest = std::max(lowest, p.y);
  }
  EXPECT_LE(lowest, canvas.mmToPx(103));
  EXPECT_GE(lowest, canvas.mmToPx(102.5));
  EXPECT_EQ(s.pen().color, kTextColor);
  EXPECT_NE(s.findText(formatTruncatedSafe(a.spanDeflections[0], 4, 2)), nullptr);
}

TEST(DiagramCurves, ShearsHaveTwoDecimalsOnTheScreenAndThreeOnPaper) {
  const CalculationOutcome outcome = outcomeFor(deckConditions({1800, 2600}, 500));
  RecordingSurface s = screen();
  ReportCanvas onScreen = beginReport(s, {});
  asAfterPageOne(onScreen);
  drawDiagramSection(onScreen, outcome);
  RecordingSurface p = paper();
  ReportCanvas onPaper = beginReport(p, printerSetup());
  drawDiagramSection(onPaper, outcome);

  const std::regex two(R"(\(\s*-?\d+\.\d{2}\))");
  const std::regex three(R"(\(\s*-?\d+\.\d{3}\))");
  const std::vector<std::string> screenShears = shearLabels(s);
  const std::vector<std::string> paperShears = shearLabels(p);
  // 4 blocks × (2 spans × 2 ends + the overhang root).
  ASSERT_EQ(screenShears.size(), 20u);
  ASSERT_EQ(paperShears.size(), 20u);
  for (const std::string& t : screenShears)
    EXPECT_TRUE(std::regex_match(t, two)) << t;
  for (std::size_t i = 0; i < paperShears.size(); ++i) {
    // The overhang root (the fifth label of a block) keeps two decimals.
    EXPECT_TRUE(std::regex_match(paperShears[i], i % 5 == 4 ? two : three)) << paperShears[i];
  }
  // Root shear of the long-term block: (G+P) 527 N/m² × 0.5 m, in kN.
  EXPECT_EQ(screenShears[4], "(  0.27)");
}

TEST(DiagramCurves, RightShearEndsBeforeItsSupportAndLowerOnAShortSpan) {
  const DesignConditions c = deckConditions({2400, 6000});
  const CalculationOutcome outcome = outcomeFor(c);
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  const DeckDrawing deck = deckDrawing(c, 80);
  drawMomentDiagram(canvas, deck, outcome.diagrams.blocks[0].analysis, 100, 0);
  std::vector<RecordedText> shears;
  for (const RecordedText& t : s.texts()) {
    if (t.text.starts_with("("))
      shears.push_back(t);
  }
  ASSERT_EQ(shears.size(), 4u);
  const int normal = canvas.mmToPx(115);
  EXPECT_EQ(shears[0].y, normal);
  EXPECT_EQ(shears[1].y, canvas.mmToPx(119.5));
  EXPECT_EQ(shears[2].y, normal);
  EXPECT_EQ(shears[3].y, normal);
  // The right label ends 0.8 of its width before the support, 1.1 on the
  // short span; the left one starts at its support.
  EXPECT_EQ(shears[1].x, canvas.mmToPx(deck.supportAt(1) - 2.1 * labelWidthMm(shears[1].text)));
  EXPECT_EQ(shears[2].x, canvas.mmToPx(deck.supportAt(1)));
  EXPECT_EQ(shears[3].x, canvas.mmToPx(deck.supportAt(2) - 1.8 * labelWidthMm(shears[3].text)));
}

// ---- Section layout, titles and the end of the report

TEST(DiagramSection, BlockTitleLineIsEightyCharactersWide) {
  // " ■長期Ｇ＋Ｐ " is 14 bytes: 33 dashes on either side.
  const std::string even = blockTitleLine("長期Ｇ＋Ｐ");
  EXPECT_EQ(shiftJisByteCount(even), 80);
  EXPECT_TRUE(even.starts_with(std::string(33, '-') + " ■長期"));
  EXPECT_TRUE(even.ends_with("Ｐ " + std::string(33, '-')));
  // 27 bytes: 26 dashes on either side and one more at the end.
  const std::string odd = blockTitleLine("短期 (積雪時)Ｇ＋Ｐ＋Ｓ");
  EXPECT_EQ(shiftJisByteCount(odd), 80);
  EXPECT_TRUE(odd.starts_with(std::string(26, '-') + " ■短期"));
  EXPECT_TRUE(odd.ends_with("Ｓ " + std::string(27, '-')));
}

TEST(DiagramSection, ScreenSectionFollowsTheDetailPageAndEndsWithEnd) {
  const CalculationOutcome base = outcomeFor(deckConditions({1800, 1800}));
  CalculationOutcome outcome = base;
  outcome.settings.calcMethod = kCalcMethodNotices;
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  asAfterPageOne(canvas);
  canvas.diagramTop = 700;  // left by the detail page
  drawDiagramSection(canvas, outcome);

  const auto titles = s.textsContaining(" ■");
  ASSERT_EQ(titles.size(), 4u);
  EXPECT_EQ(titles[0].y, canvas.mmToPx(700 + 100 - 26));
  EXPECT_EQ(titles[0].font.face, kFixedFace);
  EXPECT_EQ(titles[0].text, blockTitleLine("長期Ｇ＋Ｐ"));
  EXPECT_EQ(titles[3].text, blockTitleLine("短期（暴風時）Ｇ＋Ｐ＋Ｗ（負圧）"));
  // The appended block writes its title half a millimetre lower.
  EXPECT_EQ(titles[3].y, canvas.mmToPx(700 + 250 - 26 + 0.5));

  const RecordedText* end = s.findText("－END－");
  ASSERT_NE(end, nullptr);
  EXPECT_EQ(end->x, canvas.mmToPx(178));
  EXPECT_EQ(end->y, canvas.mmToPx(700 + 250 + 25 + 5));
  const int ruleY = canvas.mmToPx(700 + 250 + 25);
  const bool ruled = std::any_of(s.lines().begin(), s.lines().end(), [&](const RecordedLine& l) {
    return l.points ==
           std::vector<PixelPoint>{{canvas.marginLeft, ruleY}, {canvas.frameRight, ruleY}};
  });
  EXPECT_TRUE(ruled);
  const RecordedText* heading = s.findText("計算結果（M-図,δ-図）");
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->font.sizePt, 11);
  EXPECT_EQ(s.font().face, kReportFace);
  EXPECT_EQ(s.pen().style, PenStyle::kSolid);
}

TEST(DiagramSection, DirectLoadsStartThirtyMillimetresBelowTheResults) {
  const CalculationOutcome outcome = outcomeFor(deckConditions({1800}));
  RecordingSurface s = screen();
  ReportCanvas canvas = beginReport(s, {});
  asAfterPageOne(canvas);
  canvas.cursor.lineMm = 500;
  const int expected =
      static_cast<int>(std::floor((canvas.marginTop + canvas.mmToPx(500)) / canvas.pxPerMm)) + 30;
  EXPECT_EQ(diagramTopAfterResults(canvas), expected);
  drawDiagramSection(canvas, outcome);
  EXPECT_EQ(canvas.diagramTop, expected);
  const RecordedText* caption = s.findText("スパン[mm]");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->y, canvas.mmToPx(expected + 55 + 3));
}

TEST(DiagramSection, PaperPageIsFramedAndEndsTheJob) {
  const CalculationOutcome outcome = outcomeFor(deckConditions({1800, 1800}, 0, 600));
  RecordingSurface p = paper();
  ReportCanvas canvas = beginReport(p, printerSetup());
  canvas.marginLeft = canvas.mmToPx(13);  // as page 1 leaves it on paper
  canvas.diagramTop = 640;                // a screen value must not leak into the paper pass
  drawDiagramSection(canvas, outcome);

  EXPECT_EQ(canvas.diagramTop, 0);
  EXPECT_EQ(p.pageCount(), 1);
  EXPECT_TRUE(canvas.lastPage);
  const int top = canvas.mmToPx(15) - canvas.mmToPx(5);
  const int right = canvas.marginLeft + canvas.mmToPx(180);
  ASSERT_EQ(p.rects().size(), 1u);
  const RecordedRect& frame = p.rects().back();
  EXPECT_EQ(frame.left, canvas.marginLeft);
  EXPECT_EQ(frame.top, top);
  EXPECT_EQ(frame.right, right);
  EXPECT_EQ(frame.bottom, top + canvas.mmToPx(265));

  int dotted = 0;
  int dashDot = 0;
  for (const RecordedLine& l : p.lines()) {
    dotted += l.pen.style == PenStyle::kDotted ? 1 : 0;
    dashDot += l.pen.style == PenStyle::kDashDot ? 1 : 0;
  }
  EXPECT_EQ(dotted, 3);   // the three main blocks only
  EXPECT_EQ(dashDot, 3);  // one per support
  EXPECT_EQ(p.lines().front().pen.width, 3);

  const auto titles = p.textsContaining("■");
  ASSERT_EQ(titles.size(), 4u);
  EXPECT_EQ(titles[0].text, "■長期Ｇ＋Ｐ");
  EXPECT_EQ(titles[0].y, canvas.mmToPx(100 - 4 - 25));
  EXPECT_EQ(titles[3].y, canvas.mmToPx(250 - 4 - 24.5));
  EXPECT_EQ(p.findText("－END－"), nullptr);

  // The captions stay inside the frame, in line with the block titles.
  for (const std::string_view caption : {"応力図", "δ[mm]", "(Ｑ[kN])", "スパン[mm]"}) {
    for (const RecordedText& t : p.textsContaining(caption))
      EXPECT_EQ(t.x, canvas.mmToPx(14)) << caption;
  }
  const RecordedText* tabHeading = p.findText("計算結果（M-図,δ-図）");
  ASSERT_NE(tabHeading, nullptr);
  EXPECT_GT(tabHeading->x, right - canvas.mmToPx(40));
}

TEST(DiagramSection, PaperPenIsThreePixelsAtAnyResolution) {
  const CalculationOutcome outcome = outcomeFor(deckConditions({1800, 1800}, 0, 600));
  RecordingSurface p(300, 2480, 3508);
  ReportCanvas canvas = beginReport(p, printerSetup());
  drawDiagramSection(canvas, outcome);
  ASSERT_FALSE(p.lines().empty());
  EXPECT_EQ(p.lines().front().pen.width, 3);
}

}  // namespace
}  // namespace tavilo
