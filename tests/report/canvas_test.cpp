#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/errors.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"

namespace tavilo {
namespace {

// An A4 page at 600 pixels per inch.
constexpr int kPageWidth = 4960;
constexpr int kPageHeight = 7015;

RecordingSurface screenSurface() {
  return RecordingSurface(72, 565, 3350);
}
RecordingSurface printerSurface() {
  return RecordingSurface(600, kPageWidth, kPageHeight);
}

ReportSetup printerSetup(PageNumberPosition position, int style = 0,
                         std::string startNumber = "1") {
  ReportSetup setup;
  setup.device = ReportDevice::kPrinter;
  setup.printSettings.pageNumberPosition = position;
  setup.printSettings.pageNumberStyle = style;
  setup.printSettings.startNumber = std::move(startNumber);
  setup.date = "2024/03/05";
  return setup;
}

TEST(CanvasSetUp, ScreenMarginsAndBackground) {
  RecordingSurface surface = screenSurface();
  const ReportCanvas canvas = beginReport(surface, {});
  EXPECT_EQ(canvas.pixelsPerInch, 72);
  EXPECT_DOUBLE_EQ(canvas.pxPerMm, 72 / 25.4);
  EXPECT_EQ(canvas.marginLeft, 11);
  EXPECT_EQ(canvas.marginTop, 34);
  EXPECT_EQ(canvas.column2X, 11 + 283);
  EXPECT_EQ(canvas.headerY, 17);
  EXPECT_EQ(canvas.baseFontSize, 9);
  EXPECT_EQ(canvas.cursor.linePitchMm, 5.0);
  EXPECT_EQ(canvas.cursor.firstLineMm, 7);
  EXPECT_EQ(surface.font(), (FontSpec{std::string(kReportFace), 9, false, kTextColor}));
  EXPECT_EQ(surface.pen(), (PenSpec{kTextColor, 1, PenStyle::kSolid}));
  ASSERT_EQ(surface.rects().size(), 1u);
  const RecordedRect& background = surface.rects().front();
  EXPECT_TRUE(background.filled);
  EXPECT_EQ(background.fillColor, kScreenBackground);
  EXPECT_EQ(background.right, 565);
  EXPECT_EQ(background.bottom, 3350);
  EXPECT_EQ(canvas.usedHeight(), 0);  // the background is not content
  EXPECT_EQ(canvas.finePenWidth(6), 0);
}

TEST(CanvasSetUp, PrinterMarginsFromItsResolution) {
  RecordingSurface surface = printerSurface();
  const ReportCanvas canvas = beginReport(surface, printerSetup(PageNumberPosition::None));
  EXPECT_EQ(canvas.pixelsPerInch, 600);
  EXPECT_EQ(canvas.marginLeft, 236);  // ⌊10 × 23.622⌋
  EXPECT_EQ(canvas.marginTop, 354);   // ⌊15 × 23.622⌋
  EXPECT_EQ(canvas.column2X, 236 + 2480);
  EXPECT_EQ(canvas.headerY, 141);
  EXPECT_EQ(canvas.baseFontSize, 10);
  EXPECT_EQ(canvas.pageWidth, kPageWidth);
  EXPECT_EQ(canvas.pageCounter, 1);
  EXPECT_EQ(surface.pen().width, 7);
  EXPECT_TRUE(surface.rects().empty());  // paper is not painted
  EXPECT_EQ(canvas.finePenWidth(3), 3);
  EXPECT_EQ(canvas.date, "2024/03/05");
}

TEST(CanvasSetUp, PrinterWithoutResolutionIsRefused) {
  RecordingSurface surface(0, kPageWidth, kPageHeight);
  EXPECT_THROW(beginReport(surface, printerSetup(PageNumberPosition::None)), UserError);
}

TEST(CanvasText, RowsAndIndentsCutToWholePixels) {
  RecordingSurface surface = screenSurface();
  ReportCanvas canvas = beginReport(surface, {});
  canvas.cursor.rowMm = 10;
  canvas.writeAtCursor("□断面性能");
  canvas.cursor.indentMm = 5;
  canvas.writeAtCursor("x");
  canvas.writeAtMm(40, 55.5, "label");
  ASSERT_EQ(surface.texts().size(), 3u);
  EXPECT_EQ(surface.texts()[0].x, 11);
  EXPECT_EQ(surface.texts()[0].y, 62);  // 34 + ⌊10 × 2.8346⌋
  EXPECT_EQ(surface.texts()[1].x, 25);  // 11 + ⌊5 × 2.8346⌋
  EXPECT_EQ(surface.texts()[2].x, 113);
  EXPECT_EQ(surface.texts()[2].y, 157);
  EXPECT_EQ(canvas.usedHeight(), 157 + 9);
}

TEST(CanvasText, RunContinuesWhereTheLastTextEnded) {
  RecordingSurface surface = screenSurface();
  ReportCanvas canvas = beginReport(surface, {});
  const int end = canvas.writeAt(100, 50, "ab");  // 2 bytes × 4.5 px
  EXPECT_EQ(end, 109);
  EXPECT_EQ(canvas.cursor.runX, 109);
  canvas.writeRun("N/m");
  EXPECT_EQ(surface.texts()[1].x, 109);
  EXPECT_EQ(surface.texts()[1].y, 50);
  EXPECT_EQ(canvas.cursor.runX, 109 + 13);
}

TEST(CanvasScript, ScreenSuperscriptTwoPixelsRightAndUpThenMainLine) {
  RecordingSurface surface = screenSurface();
  ReportCanvas canvas = beginReport(surface, {});
  canvas.cursor.rowMm = 10;
  const int end = canvas.writeAtCursor("N/mm");
  canvas.writeScript(ScriptKind::kSuperscript, "2", kSuperscriptSize, canvas.baseFontSize);
  canvas.writeRun("、単位重量");
  const RecordedText& sup = surface.texts()[1];
  EXPECT_EQ(sup.x, end + 2);
  EXPECT_EQ(sup.y, 62 - 2);
  EXPECT_EQ(sup.font.sizePt, 6);
  const RecordedText& after = surface.texts()[2];
  EXPECT_EQ(after.x, sup.endX);
  EXPECT_EQ(after.y, 62);
  EXPECT_EQ(after.font.sizePt, 9);

  // Text that continues at the raised height reads the script's own end.
  canvas.writeScript(ScriptKind::kSuperscript, "2", kSuperscriptSize, canvas.baseFontSize);
  EXPECT_EQ(canvas.lastTextEnd(), (PixelPoint{surface.texts()[3].endX, 60}));
  EXPECT_EQ(canvas.cursor.runY, 62);
}

TEST(CanvasScript, SubscriptAndPrinterOffsetsRoundTowardsMinusInfinity) {
  RecordingSurface screen = screenSurface();
  ReportCanvas onScreen = beginReport(screen, {});
  onScreen.writeAt(50, 100, "W");
  onScreen.writeScript(ScriptKind::kSubscript, "G", kSubscriptSize, 9);
  EXPECT_EQ(screen.texts()[1].x, 50 + 4);  // "W" is half an em of 9 px
  EXPECT_EQ(screen.texts()[1].y, 103);     // ⌈2.83⌉ lower

  RecordingSurface paper = printerSurface();
  ReportCanvas onPaper = beginReport(paper, printerSetup(PageNumberPosition::None));
  const int end = onPaper.writeAt(500, 1000, "mm");
  onPaper.writeScript(ScriptKind::kSuperscript, "3", kSuperscriptSize, 10);
  onPaper.writeScript(ScriptKind::kSubscript, "0", kSubscriptSize, 10);
  EXPECT_EQ(paper.texts()[1].x, end);       // no shift to the right on paper
  EXPECT_EQ(paper.texts()[1].y, 1000 - 6);  // ⌊0.28 × 23.622⌋
  EXPECT_EQ(paper.texts()[2].y, 994 + 24);  // from the raised end: ⌈23.622⌉ lower
  EXPECT_EQ(paper.font().sizePt, 10);
}

TEST(CanvasEmphasis, FailedCheckRedBoldOnScreenOnly) {
  RecordingSurface screen = screenSurface();
  ReportCanvas onScreen = beginReport(screen, {});
  onScreen.emphasisOn(true);
  onScreen.writeAt(10, 10, "NG");
  onScreen.emphasisOff(true);
  onScreen.emphasisOn(false);
  onScreen.writeAt(10, 20, "OK");
  EXPECT_EQ(screen.texts()[0].font.color, kFailColor);
  EXPECT_TRUE(screen.texts()[0].font.bold);
  EXPECT_EQ(screen.texts()[1].font.color, kTextColor);
  EXPECT_FALSE(screen.texts()[1].font.bold);

  RecordingSurface paper = printerSurface();
  ReportCanvas onPaper = beginReport(paper, printerSetup(PageNumberPosition::None));
  onPaper.emphasisOn(true);
  onPaper.writeAt(10, 10, "NG");
  EXPECT_EQ(paper.texts()[0].font.color, kTextColor);
  EXPECT_FALSE(paper.texts()[0].font.bold);
}

TEST(CanvasFonts, ScaledSizesDropTheFraction) {
  RecordingSurface surface = screenSurface();
  ReportCanvas canvas = beginReport(surface, {});
  canvas.scaleFont(1.25);
  EXPECT_EQ(canvas.fontSize(), 11);
  canvas.scaleFont(0.9);
  EXPECT_EQ(canvas.fontSize(), 8);
}

TEST(CanvasCursor, AdvancingALineDropsTheFraction) {
  TextCursor cursor;
  cursor.lineMm = 7;
  cursor.linePitchMm = 2.5;
  cursor.advanceLine();
  cursor.advanceLine();
  EXPECT_EQ(cursor.lineMm, 11);  // 7 → 9 → 11, not 12
  EXPECT_EQ(cursor.lineCount, 2);
}

TEST(CanvasLines, MillimetreLinesAndEllipseArc) {
  RecordingSurface surface = screenSurface();
  ReportCanvas canvas = beginReport(surface, {});
  canvas.moveToMm(40, 55);
  canvas.lineToMm(165.5, 55);
  ASSERT_EQ(surface.lines().size(), 1u);
  EXPECT_EQ(surface.lines()[0].points, (std::vector<PixelPoint>{{113, 155}, {469, 155}}));

  RecordingSurface paper = printerSurface();
  ReportCanvas onPaper = beginReport(paper, printerSetup(PageNumberPosition::None));
  const double y0 = 100;
  onPaper.arcMm(132, y0, 194, y0 + 50, 194, y0, 132, y0);
  const std::vector<PixelPoint>& arc = paper.lines().back().points;
  const auto px = [&](double mm) { return onPaper.mmToPx(mm); };
  EXPECT_NEAR(arc.front().x, px(184.92), 2);
  EXPECT_NEAR(arc.front().y, px(y0 + 7.32), 2);
  EXPECT_NEAR(arc.back().x, px(141.08), 2);
  int crown = arc.front().y;
  for (const PixelPoint& p : arc)
    crown = std::min(crown, p.y);
  EXPECT_NEAR(crown, px(y0), 1);  // passes over the top, not under the bottom
}

TEST(CanvasPages, BottomCentreNumbersFollowTheStartNumber) {
  RecordingSurface surface = printerSurface();
  ReportCanvas canvas =
      beginReport(surface, printerSetup(PageNumberPosition::BottomCentre, 1, "5"));
  canvas.endPage();
  canvas.lastPage = true;
  canvas.endPage();
  const auto numbers = surface.textsContaining("-");
  ASSERT_EQ(numbers.size(), 2u);
  EXPECT_EQ(numbers[0].text, "-5-");
  EXPECT_EQ(numbers[0].page, 1);
  EXPECT_EQ(numbers[1].text, "-6-");
  EXPECT_EQ(numbers[1].page, 2);
  EXPECT_EQ(numbers[0].x, 2444);               // ⌊(4960 − 3 × 23.622) × 0.5⌋
  EXPECT_EQ(numbers[0].y, kPageHeight - 141);  // ⌊10 × 23.622 × 0.6⌋
  EXPECT_EQ(surface.pageCount(), 2);           // the last page starts no new one
  EXPECT_EQ(canvas.pageCounter, 2);
}

TEST(CanvasPages, TopRightNumberSixteenMillimetresFromTheEdge) {
  RecordingSurface surface = printerSurface();
  ReportCanvas canvas = beginReport(surface, printerSetup(PageNumberPosition::TopRight, 0, "1000"));
  canvas.setFontSize(10);
  canvas.drawPageNumber(true);
  canvas.endPage();
  const auto numbers = surface.textsContaining("100");
  ASSERT_EQ(numbers.size(), 2u);
  EXPECT_EQ(numbers[0].text, "1000");
  EXPECT_EQ(numbers[1].text, "1001");
  EXPECT_EQ(numbers[1].page, 2);
  for (const RecordedText& n : numbers) {
    EXPECT_EQ(n.x, 4582);  // ⌊4960 − 4 × 23.622 − 12 × 23.622⌋
    EXPECT_EQ(n.y, 141);   // 6 mm
  }
}

TEST(CanvasPages, PageNumberThreeSitsHigher) {
  RecordingSurface surface = printerSurface();
  ReportCanvas canvas = beginReport(surface, printerSetup(PageNumberPosition::BottomLeft, 0, "3"));
  canvas.endPage();
  canvas.endPage();
  EXPECT_EQ(surface.texts()[0].text, "3");
  EXPECT_EQ(surface.texts()[0].x, 118);  // ⌊5 × 23.622⌋
  EXPECT_EQ(surface.texts()[0].y, kPageHeight - 236);
  EXPECT_EQ(surface.texts()[1].y, kPageHeight - 141);
}

TEST(CanvasPages, NoNumbersWithoutAPositionAndNoneOnTheScreen) {
  RecordingSurface paper = printerSurface();
  ReportCanvas onPaper = beginReport(paper, printerSetup(PageNumberPosition::None));
  onPaper.drawPageNumber(true);
  onPaper.endPage();
  EXPECT_TRUE(paper.texts().empty());
  EXPECT_EQ(paper.pageCount(), 2);

  ReportSetup screenSetup = printerSetup(PageNumberPosition::BottomRight);
  screenSetup.device = ReportDevice::kScreen;
  RecordingSurface screen = screenSurface();
  ReportCanvas onScreen = beginReport(screen, screenSetup);
  onScreen.drawPageNumber(false);
  onScreen.requestFooter(11);
  onScreen.endPage();
  EXPECT_TRUE(screen.texts().empty());
  EXPECT_EQ(screen.pageCount(), 1);
}

TEST(CanvasPages, FooterBelowTheLastTextThenCleared) {
  ReportSetup setup = printerSetup(PageNumberPosition::None);
  setup.projectFilePath = "C:\\Data\\倉庫.tvl";
  RecordingSurface surface = printerSurface();
  ReportCanvas canvas = beginReport(surface, setup);
  canvas.writeAt(300, 5000, "※全ての計算は");
  canvas.requestFooter(307);
  canvas.lastPage = true;
  canvas.endPage();
  const RecordedText* file = surface.findText("FileName : ");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->text, "FileName : C:\\Data\\倉庫.tvl");
  EXPECT_EQ(file->x, 307);
  EXPECT_EQ(file->y, 5000 + 177);  // ⌊1.5 × 5 × 23.622⌋
  EXPECT_EQ(file->font.sizePt, 7);
  const RecordedText* stamp = surface.findText("Morenta [");
  ASSERT_NE(stamp, nullptr);
  EXPECT_EQ(stamp->text, "Morenta [2024/03/05]");
  EXPECT_EQ(stamp->x, 3401);  // ⌊144 × 23.622⌋
  EXPECT_EQ(stamp->y, file->y);
  EXPECT_EQ(stamp->font.sizePt, 10);
  EXPECT_FALSE(canvas.footerRequested);

  RecordingSurface withoutPath = printerSurface();
  ReportCanvas unnamed = beginReport(withoutPath, printerSetup(PageNumberPosition::None));
  unnamed.requestFooter(307);
  unnamed.endPage();
  EXPECT_EQ(withoutPath.allTexts(), std::vector<std::string>{"Morenta [2024/03/05]"});
}

TEST(CanvasPages, LongFilePathWrapsAndTheDateGoesBelowIt) {
  ReportSetup setup = printerSetup(PageNumberPosition::None);
  std::string folder = "/home/engineer";
  for (int i = 0; i < 12; ++i)
    folder += "/構造計算フォルダ" + std::to_string(i);
  setup.projectFilePath = folder + "/倉庫.tvl";
  RecordingSurface surface = printerSurface();
  ReportCanvas canvas = beginReport(surface, setup);
  canvas.writeAt(300, 5000, "※全ての計算は");
  canvas.requestFooter(307);
  canvas.lastPage = true;
  canvas.endPage();

  std::string path;
  std::vector<RecordedText> lines;
  for (const RecordedText& t : surface.texts()) {
    if (t.font.sizePt == 7) {
      lines.push_back(t);
      path += t.text;
    }
  }
  // The whole path, over lines that end at a "/" and stay on the page.
  EXPECT_EQ(path, "FileName : " + setup.projectFilePath);
  ASSERT_GE(lines.size(), 2u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].x, 307);
    EXPECT_LE(lines[i].endX, kPageWidth);
    if (i + 1 < lines.size()) {
      EXPECT_TRUE(lines[i].text.ends_with("/")) << lines[i].text;
    }
  }
  // The date keeps its column, on the first line below the path that has room.
  const RecordedText* stamp = surface.findText("Morenta [");
  ASSERT_NE(stamp, nullptr);
  EXPECT_EQ(stamp->x, 3401);
  EXPECT_GT(stamp->y, lines.front().y);
}

// A few lines of a report page, enough to exercise every kind of output.
void drawSample(ReportCanvas& canvas) {
  canvas.cursor.rowMm = 2;
  canvas.cursor.indentMm = 5;
  canvas.writeAtCursor("□デッキプレート基準強度 Ｆ=235N/mm");
  canvas.writeScript(ScriptKind::kSuperscript, "2", kSuperscriptSize, canvas.baseFontSize);
  canvas.writeRun("、単位重量 118N/㎡");
  canvas.setPenWidth(canvas.finePenWidth(6));
  canvas.drawRect(canvas.marginLeft, canvas.marginTop, canvas.marginLeft + canvas.mmToPx(190),
                  canvas.marginTop + canvas.mmToPx(60));
  canvas.setPenStyle(PenStyle::kDashDot);
  canvas.moveToMm(40, 63);
  canvas.lineToMm(40, 80);
  canvas.setPenStyle(PenStyle::kSolid);
  canvas.endPage();
  canvas.writeAtMm(9, 20, "計算結果（M-図,δ-図）");
  canvas.lastPage = true;
  canvas.endPage();
}

TEST(CanvasPasses, IdenticalPassesGiveIdenticalRecordings) {
  for (const ReportDevice device : {ReportDevice::kScreen, ReportDevice::kPrinter}) {
    ReportSetup setup = printerSetup(PageNumberPosition::BottomCentre, 1, "2");
    setup.device = device;
    RecordingSurface first(device == ReportDevice::kScreen ? 72 : 600, kPageWidth, kPageHeight);
    RecordingSurface second(device == ReportDevice::kScreen ? 72 : 600, kPageWidth, kPageHeight);
    ReportCanvas a = beginReport(first, setup);
    drawSample(a);
    ReportCanvas b = beginReport(second, setup);
    drawSample(b);
    EXPECT_FALSE(first.texts().empty());
    EXPECT_TRUE(first == second);
  }
}

}  // namespace
}  // namespace tavilo
