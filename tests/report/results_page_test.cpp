#include "report/results_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "calc/checks.h"
#include "report/formatters.h"
#include "report/recording_surface.h"
#include "report/report_driver.h"
#include "report_samples.h"

namespace tavilo {
namespace {

using testing::calculateSample;
using testing::Sample;

const Sample& ordinary() {
  static const Sample sample = calculateSample("ordinary-3span");
  return sample;
}
const Sample& heavySnow() {
  static const Sample sample = calculateSample("heavy-snow-overhangs");
  return sample;
}

ReportSetup printerSetup(PageNumberPosition position = PageNumberPosition::None, int style = 0,
                         std::string startNumber = "1") {
  ReportSetup setup;
  setup.device = ReportDevice::kPrinter;
  setup.printSettings.pageNumberPosition = position;
  setup.printSettings.pageNumberStyle = style;
  setup.printSettings.startNumber = std::move(startNumber);
  setup.projectFilePath = "/data/倉庫.tvl";
  setup.date = "2024/03/05";
  return setup;
}

// A surface and its canvas for one drawing; the screen unless a printer set-up is given.
struct Drawing {
  explicit Drawing(std::optional<ReportSetup> printer = std::nullopt)
      : surface(printer ? 600 : 72, printer ? 4960 : 565, printer ? 7015 : 3350),
        canvas(surface, printer.value_or(ReportSetup{})) {}
  // One case section alone, 20 mm below the top margin.
  Drawing& section(const Sample& sample, std::size_t index) {
    canvas.cursor.lineMm = 20;
    drawCaseSection(canvas, sample.outcome.sections.at(index), sample.outcome);
    return *this;
  }
  const RecordedText* find(std::string_view part) const { return surface.findText(part); }

  RecordingSurface surface;
  ReportCanvas canvas;
};

TEST(ResultsPage, HeadingsAndAllowableStressByCase) {
  Drawing d;
  drawResultsSection(d.canvas, ordinary().outcome);
  const auto headings = d.surface.textsContaining("■");
  ASSERT_EQ(headings.size(), 4u);
  EXPECT_EQ(headings[0].text, "■長期Ｇ＋Ｐの検討");
  EXPECT_EQ(headings[3].text, "■短期（暴風時負圧）Ｇ＋Ｐ＋Ｗの検討");
  ASSERT_EQ(d.surface.textsContaining("F/1.5 = ").size(), 1u);  // the long-term case alone
  EXPECT_NE(d.find(" < F/1.5 = 156N/㎜"), nullptr);
  EXPECT_EQ(d.surface.textsContaining("F = 235N/㎜").size(), 3u);
}

TEST(ResultsPage, CombinedLoadChecksAndMarks) {
  Drawing d;
  d.section(ordinary(), 0);
  const auto& texts = d.surface.texts();
  const auto load = std::find_if(texts.begin(), texts.end(), [](const RecordedText& t) {
    return t.text == "等分布荷重合計Ｗ";
  });
  ASSERT_LT(load + 2, texts.end());
  const CaseAnalysis& a = ordinary().outcome.sections[0].analysis;
  EXPECT_EQ(load[1].text, a.caseLabels[0]);  // the label as a 7-point subscript
  EXPECT_EQ(load[1].font.sizePt, 7);
  EXPECT_EQ(load[2].text, " = " + shortestDecimal(a.sectionCaseTotal) + " N/㎡");

  const RecordedText* sigma = d.find("σ= Mmax/Z = ");
  ASSERT_NE(sigma, nullptr);
  EXPECT_EQ(sigma->x, d.canvas.marginLeft + d.canvas.mmToPx(14));
  EXPECT_NE(sigma->text.find("/26,300 = "), std::string::npos);
  EXPECT_NE(d.find(" < L/250 = 10.0㎜"), nullptr);
  const auto marks = d.surface.textsContaining("---------- ");
  ASSERT_EQ(marks.size(), 2u);  // stress and deflection, at i0 + 155 mm
  EXPECT_EQ(marks[0].x, d.canvas.marginLeft + d.canvas.mmToPx(159));
  EXPECT_EQ(marks[0].y, sigma->y);
}

TEST(ResultsPage, JointLinesOnlyWhereTheDeckIsLifted) {
  EXPECT_EQ(Drawing().section(ordinary(), 0).find("接合部（引張反力のみチェック）"), nullptr);

  Drawing d;
  d.section(ordinary(), 3);  // negative pressure
  ASSERT_NE(d.find("接合部（引張反力のみチェック）"), nullptr);
  const RecordedText* line = d.find("V1 = ");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->y, d.find("端　部：")->y);
  EXPECT_EQ(line->x, d.canvas.marginLeft + d.canvas.mmToPx(29));
  EXPECT_NE(line->text.find("1000/ﾃﾞｯｷ幅600×3ヶ所×1170×1.5 = 8,775.0N/m"), std::string::npos);
}

TEST(ResultsPage, ShearRowOnlyInNegativePressureSections) {
  for (std::size_t i = 0; i < ordinary().outcome.sections.size(); ++i) {
    Drawing d;
    d.section(ordinary(), i);
    const bool negative = ordinary().outcome.sections[i].analysis.windSide == WindSide::Negative;
    EXPECT_EQ(d.find("Ｑ") != nullptr, negative) << i;
    EXPECT_EQ(d.find("/δ：mm/Q：kN]") != nullptr, negative) << i;
  }
}

TEST(ResultsPage, TableValuesCentredUnderSpansAndSupports) {
  Drawing d;
  d.canvas.drawScale = 80;
  d.section(ordinary(), 0);
  const ResultsTable& t = ordinary().outcome.sections[0].table;
  // Three spans of 2500 mm drawn from 45 mm: the first span's centre at 60.625 mm.
  const RecordedText* m1 = d.find(trimLeadingSpaces(formatRoundedUp(t.spanMoments[0], 6, 3)));
  ASSERT_NE(m1, nullptr);
  const double leftMm = 45 + 2500 / 80.0 / 2 -
                        m1->text.size() * 0.5 * 3.175;  // half width = characters × 0.5 × 3.175 mm
  EXPECT_EQ(m1->x, d.canvas.marginLeft + d.canvas.mmToPx(leftMm));
  const auto text = [](double v) { return trimLeadingSpaces(formatTruncatedSafe(v, 6, 3)); };
  EXPECT_NE(d.find(text(t.supportMoments[1][0]) + "/" + text(t.supportMoments[1][1])), nullptr);
  // The schematic: the deck and three strokes per support, in grey.
  ASSERT_EQ(d.surface.lines().size(), 1u + 4u * 3u);
  EXPECT_EQ(d.surface.lines()[0].pen.color, kGreyLineColor);
}

TEST(ResultsPage, OverhangChecksWithWallPressureInTheNegativeCases) {
  Drawing d;
  drawResultsSection(d.canvas, heavySnow().outcome);
  EXPECT_EQ(d.surface.textsContaining("■").back().text, "■短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗの検討");
  EXPECT_EQ(d.surface.textsContaining("連続梁-耐力検討").size(), 5u);
  EXPECT_EQ(d.surface.textsContaining("はね出し部-耐力検討").size(), 5u);
  EXPECT_EQ(d.surface.textsContaining("はね出し部-耐力検討 [壁面正圧を考慮]").size(), 2u);
}

TEST(ResultsPage, NgIsRedAndBoldOnTheScreenOnly) {
  Sample sample = ordinary();
  sample.outcome.sections[0].checks.stress.ok = false;
  Drawing screen;
  screen.section(sample, 0);
  EXPECT_EQ(screen.find("NG")->font.color, kFailColor);
  EXPECT_TRUE(screen.find("NG")->font.bold);
  EXPECT_FALSE(screen.find("OK")->font.bold);  // the next mark is plain again
  EXPECT_NE(screen.find(" > F/1.5 = 156N/㎜"), nullptr);

  Drawing paper(printerSetup());
  paper.section(sample, 0);
  EXPECT_EQ(paper.find("NG")->font.color, kTextColor);
  EXPECT_FALSE(paper.find("NG")->font.bold);
  EXPECT_EQ(paper.find("---------- ")->x, paper.canvas.marginLeft + paper.canvas.mmToPx(149));
}

TEST(ResultsPage, VerdictBlock) {
  Sample sample = ordinary();
  for (const std::string& verdict :
       {std::string(kVerdictAllOk),
        "　　　「応力がNGです」「接合部がNGです」" + std::string(kVerdictChangeNeeded)}) {
    sample.outcome.verdict = verdict;
    Drawing d;
    d.canvas.cursor.runY = 400;
    drawVerdictBlock(d.canvas, sample.outcome);
    const int top = 400 + d.canvas.mmToPx(16);
    const RecordedRect& box = d.surface.rects().back();
    EXPECT_EQ(box.left, d.canvas.mmToPx(13));
    EXPECT_EQ(box.top, top);
    EXPECT_EQ(box.right - box.left, d.canvas.mmToPx(180));
    EXPECT_EQ(box.bottom - box.top, d.canvas.mmToPx(10));
    EXPECT_EQ(d.find(verdict)->y, top + d.canvas.mmToPx(5));
    EXPECT_EQ(d.find(kVerdictHeading)->y, top + d.canvas.mmToPx(1));
    EXPECT_EQ(d.find(kNoteFireResistance)->y, top - d.canvas.mmToPx(8));
    EXPECT_EQ(d.find(kNoteSignificantDigits)->y, top - d.canvas.mmToPx(8) - d.canvas.mmToPx(4));
    EXPECT_EQ(d.find(kNoteFireResistance)->font.sizePt, 8);  // one point below the body
    EXPECT_EQ(d.find(kNoteSignificantDigits)->font.sizePt, 9);
    EXPECT_EQ(d.find(kVerdictHeading)->font.sizePt, 9);
    EXPECT_TRUE(d.canvas.footerRequested);
  }
}

// ---- The whole report on paper

TEST(ReportPrinting, PagesNumbersAndFooter) {
  Drawing d(printerSetup(PageNumberPosition::BottomCentre, 1, "5"));
  drawCalculationReport(d.canvas, ordinary().outcome);
  const int pages = d.surface.pageCount();
  ASSERT_EQ(pages, 4);  // page 1 and 3 cases, 4th case and verdict, detail page, diagrams
  for (int page = 1; page <= pages; ++page) {
    const auto texts = d.surface.textsOnPage(page);
    const std::string number = "-" + std::to_string(4 + page) + "-";
    const auto found = std::find_if(texts.begin(), texts.end(), [&](const RecordedText& t) {
      return t.text == number && t.y > 7015 - d.canvas.mmToPx(11);
    });
    ASSERT_NE(found, texts.end()) << page;  // the last page too, and no empty page after it
    if (page == 1) {
      EXPECT_EQ(found->x, static_cast<int>((4960 - 3 * d.canvas.pxPerMm) * 0.5));
    }
  }
  // The negative-pressure case and the verdict, with its footer, on page 2.
  EXPECT_EQ(d.find("■短期（暴風時負圧）")->page, 2);
  EXPECT_EQ(d.find("■短期（暴風時正圧）")->page, 1);
  EXPECT_EQ(d.find("FileName : /data/倉庫.tvl")->page, 2);
  EXPECT_EQ(d.find("FileName : /data/倉庫.tvl")->font.sizePt, 7);
  EXPECT_EQ(d.find("Morenta [2024/03/05]")->page, 2);

  Drawing none(printerSetup(PageNumberPosition::None, 0, "5"));
  drawCalculationReport(none.canvas, ordinary().outcome);
  const auto& texts = none.surface.texts();
  for (const std::string number : {"5", "6", "7", "8"}) {
    EXPECT_TRUE(std::none_of(texts.begin(), texts.end(), [&](const RecordedText& t) {
      return t.text == number;
    })) << number;
  }
}

TEST(ReportPrinting, SectionsThatWouldRunOffThePageMoveToTheNext) {
  Drawing d(printerSetup(PageNumberPosition::BottomRight));
  drawCalculationReport(d.canvas, heavySnow().outcome);
  const int bottom = 7015 - d.canvas.mmToPx(15);
  for (const RecordedText& t : d.surface.texts()) {
    const bool furniture = t.text.starts_with("Morenta") || t.text.starts_with("FileName") ||
                           t.y > 7015 - d.canvas.mmToPx(11);  // the bottom page number
    if (!furniture) {
      EXPECT_LT(t.y, bottom) << t.text << " on page " << t.page;
    }
  }
}

TEST(ReportPrinting, TwoPassesDrawTheSame) {
  Drawing first(printerSetup(PageNumberPosition::TopCentre, 1, "3"));
  Drawing second(printerSetup(PageNumberPosition::TopCentre, 1, "3"));
  drawCalculationReport(first.canvas, heavySnow().outcome);
  drawCalculationReport(second.canvas, heavySnow().outcome);
  EXPECT_TRUE(first.surface == second.surface);
  EXPECT_GT(first.surface.texts().size(), 300u);
}

}  // namespace
}  // namespace tavilo
