#include "report/span_table_page.h"

#include <cmath>
#include <string>

#include "calc/calculation_run.h"
#include "calc/case_titles.h"
#include "calc/checks.h"
#include "calc/codes.h"
#include "calc/numbers.h"
#include "report/formatters.h"

namespace tavilo {
namespace {

constexpr int kHeadingBlockFontSize = 10;
constexpr int kPrinterTitleFontSize = 12;
constexpr double kFrameWidthMm = 185;

// Column widths of the table, mm: deck, its unit weight, G + P, then one
// column per span count. They add up to the frame width.
constexpr double kDeckColumnMm = 28;
constexpr double kWeightColumnMm = 22;
constexpr double kLoadColumnMm = 27;
constexpr double kSpanColumnMm = 27;
constexpr double kHeaderRowMm = 8;
constexpr double kTableRowMm = 12;

bool hasProjectName(const PrintSettings& settings) {
  return !settings.projectName.empty() && settings.projectName != kNoProjectName;
}

int cut(double v) {
  return static_cast<int>(std::trunc(v));
}

// Left edge of a column, mm from the table's left edge.
double columnLeftMm(int column) {
  const double fixed[] = {0, kDeckColumnMm, kDeckColumnMm + kWeightColumnMm,
                          kDeckColumnMm + kWeightColumnMm + kLoadColumnMm};
  if (column < 4)
    return fixed[column];
  return fixed[3] + (column - 3) * kSpanColumnMm;
}

class SpanTablePage {
 public:
  SpanTablePage(ReportCanvas& canvas, const SpanTable& table) : canvas_(canvas), table_(table) {}

  void draw() {
    canvas_.footMark =
        table_.facts.sampleSiteData ? std::string(kSampleSiteDataMark) : std::string();
    drawHeadingBlock();
    drawTitleAndConditions();
    drawLoads();
    canvas_.drawRect(canvas_.marginLeft, canvas_.marginTop, canvas_.frameRight,
                     canvas_.frameBottom);
    drawTable();
    drawNotes();
    drawLoadCases();
    if (canvas_.onPrinter()) {
      canvas_.requestFooter(canvas_.marginLeft);
      canvas_.lastPage = true;
      canvas_.endPage();
    }
  }

 private:
  int mm(double v) const { return canvas_.mmToPx(v); }
  int rowY() const { return frameTop_ + mm(rowMm_); }
  int x(double fromLeftMm) const { return canvas_.marginLeft + mm(fromLeftMm); }

  void nextRow() { rowMm_ += canvas_.cursor.rowPitchMm; }

  void superscript(std::string_view text) {
    canvas_.writeScript(ScriptKind::kSuperscript, text, kSuperscriptSize, canvas_.fontSize());
  }
  void subscript(std::string_view text) {
    canvas_.writeScript(ScriptKind::kSubscript, text, kSubscriptSize, canvas_.fontSize());
  }
  // "  560 N/m²" at x on the line of the text drawn last.
  void areaLoad(int at, int value) {
    canvas_.writeAt(at, canvas_.cursor.runY, formatInteger(value, 6) + " N/m");
    superscript("2");
  }

  // ---- Heading block and title, as on page 1
  void drawHeadingBlock() {
    canvas_.setFontFace(kReportFace);
    canvas_.setFontColor(canvas_.textColor);
    canvas_.setFontSize(kHeadingBlockFontSize);
    canvas_.setPenColor(canvas_.textColor);
    if (!canvas_.onPrinter())
      return;
    canvas_.drawPageNumber(true);
    canvas_.headerY = mm(6);
    canvas_.marginTop = canvas_.headerY + mm(17);
    canvas_.marginLeft = mm(13);
    if (!hasProjectName(canvas_.printSettings)) {
      canvas_.marginTop -= mm(5);
      return;
    }
    canvas_.setPenWidth(canvas_.finePenWidth(6));
    canvas_.drawRect(canvas_.marginLeft, canvas_.headerY + mm(5), canvas_.marginLeft + mm(174),
                     canvas_.headerY + mm(11));
    canvas_.writeAt(mm(15), canvas_.headerY + mm(6.3),
                    "物件名： " + canvas_.printSettings.projectName);
  }

  std::string titleText() const {
    const ReportFacts& facts = table_.facts;
    std::string title(kSpanTableTitle);
    if (facts.surfaceTreatmentIndex == kSurfaceTreatmentOther)
      return title + " ［ デッキ単位重量：" + facts.unitWeightText + "N/㎡ ］";
    return title + " ［ 表面処理：" + facts.surfaceTreatmentText + " ］";
  }

  void drawTitleAndConditions() {
    const DesignConditions& c = table_.conditions;
    if (canvas_.onScreen()) {
      canvas_.setFontColor(kHeadingColor);
      canvas_.writeAt(canvas_.marginLeft, mm(4), titleText());
      canvas_.setPenWidth(canvas_.finePenWidth(1));
      canvas_.cursor.rowPitchMm = 5;
    } else {
      canvas_.setFontSize(kPrinterTitleFontSize);
      canvas_.writeAt(canvas_.marginLeft, canvas_.marginTop - mm(5), titleText());
      canvas_.setPenWidth(canvas_.finePenWidth(6));
      canvas_.cursor.rowPitchMm = 4;
    }
    canvas_.frameRight = canvas_.marginLeft + mm(kFrameWidthMm);
    frameTop_ = canvas_.marginTop;
    canvas_.setFontSize(canvas_.baseFontSize);
    canvas_.writeAt(x(1), frameTop_ + mm(2), kSpanTableConditionsHeading);
    canvas_.setFontColor(canvas_.textColor);
    rowMm_ = 2;

    nextRow();
    canvas_.writeAt(
        x(5), rowY(),
        "□デッキプレート基準強度 Ｆ=" + std::to_string(table_.settings.designStrengthF) + "N/mm");
    superscript("2");
    if (table_.facts.surfaceTreatmentIndex == kSurfaceTreatmentOther)
      canvas_.writeRun("、単位重量 " + table_.facts.unitWeightText + "N/㎡ (入力値)");
    else
      canvas_.writeRun("、表面処理 " + table_.facts.surfaceTreatmentText +
                       " (単位重量はデッキ種類による)");

    nextRow();
    canvas_.writeAt(x(5), rowY(),
                    "□接合方法 端部：" + c.endJointName + "  中間部：" + c.midJointName);

    nextRow();
    std::string site = "□建設用地： " + c.prefectureName + c.districtName;
    if (table_.settings.calcMethod == kCalcMethodNotices) {
      canvas_.writeAt(x(5), rowY(), site + " [平均風速V");
      subscript("0");
      canvas_.writeRun(" = " + std::to_string(c.windSpeedV0) + " m/sec" +
                       (c.heavySnow ? "、多雪地域]" : "]"));
      nextRow();
      canvas_.writeAt(
          x(5), rowY(),
          "□屋根形状：" + c.roofTypeName + "、地表面粗度区分 " + roughnessNumeral(c.roughness));
    } else {
      canvas_.writeAt(x(5), rowY(),
                      site + (c.heavySnow ? "[多雪地域]" : "") + "  (荷重値直接入力)");
    }

    nextRow();
    std::string overhang = "□はね出し部 ";
    if (c.leftOverhang <= 0 && c.rightOverhang <= 0)
      overhang += "無し";
    else
      overhang += "[左 " + shortestDecimal(c.leftOverhang) + "mm・右 " +
                  shortestDecimal(c.rightOverhang) + "mm]";
    canvas_.writeAt(x(5), rowY(), overhang);

    nextRow();
    canvas_.writeAt(x(5), rowY(),
                    "□デッキ最大長さ " + plainInteger(table_.settings.maxDeckLength) +
                        "mm (はね出しを含む全長)、スパンは " + std::to_string(kSpanTableFirstSpan) +
                        "mm から " + std::to_string(table_.step) + "mm 刻み");

    rowMm_ = cut(rowMm_ + 1.3 * canvas_.cursor.rowPitchMm);
    canvas_.separatorY = rowY();
    canvas_.drawLine(x(4), canvas_.separatorY, x(kFrameWidthMm - 5), canvas_.separatorY);
  }

  // ---- Loads
  void loadLabel(PixelPoint at, std::string_view label, std::string_view sub) {
    canvas_.writeAt(at.x, at.y, label);
    subscript(sub);
  }

  void drawLoads() {
    const DesignConditions& c = table_.conditions;
    const int top = canvas_.separatorY;
    if (canvas_.onScreen())
      canvas_.setFontColor(kHeadingColor);
    const int pitch = canvas_.cursor.rowPitchMm;
    canvas_.writeAt(x(1), top + mm(cut(0.5 * pitch)), "《荷重条件》（下向き荷重を正とする）");
    canvas_.setFontColor(canvas_.textColor);

    const double firstRowMm = cut(cut(0.5 * pitch) + 1.3 * pitch);
    const auto rowAt = [&](double left, int row) {
      return PixelPoint{x(left), top + mm(firstRowMm + row * pitch)};
    };
    loadLabel(rowAt(5, 0), "□固定荷重W", "G");
    const bool typedWeight = table_.facts.surfaceTreatmentIndex == kSurfaceTreatmentOther;
    const int deckWeight = static_cast<int>(truncTo(c.unitWeight, 0));
    if (typedWeight)
      areaLoad(x(45), static_cast<int>(truncTo(c.finishingLoad + c.unitWeight, 0)));
    else
      canvas_.writeAt(x(45), canvas_.cursor.runY, "     下表による");
    canvas_.writeAt(rowAt(10, 1).x, rowAt(10, 1).y, "├── その他荷重");
    areaLoad(x(45), c.finishingLoad);
    canvas_.writeAt(rowAt(10, 2).x, rowAt(10, 2).y, "└── デッキ自重");
    if (typedWeight)
      areaLoad(x(45), deckWeight);
    else
      canvas_.writeAt(x(45), canvas_.cursor.runY, "     下表による");
    loadLabel(rowAt(5, 3), "□積載荷重W", "P");
    areaLoad(x(cut(5 + 5 * 7.9)), c.liveLoad);

    const double right = (canvas_.column2X - canvas_.marginLeft) / canvas_.pxPerMm;
    loadLabel(rowAt(right, 0), "□風荷重(正)W", "W＋");
    areaLoad(x(right + 40), c.windPositive);
    loadLabel(rowAt(right, 1), "□風荷重(負)W", "W－");
    areaLoad(x(right + 40), c.windNegative);
    loadLabel(rowAt(right, 2), "□積雪荷重W", "S");
    areaLoad(x(right + 40), c.snowLoad);
    if (c.snowIncreaseState >= 1) {
      const PixelPoint raised = canvas_.lastTextEnd();
      const double f = c.snowIncreaseFactor;
      canvas_.writeAt(raised.x, raised.y,
                      f == 1.0 ? std::string(" (α：1.0)") : " (α：" + shortestDecimal(f) + ")");
    }
    int rows = 4;
    const bool overhang = c.leftOverhang > 0 || c.rightOverhang > 0;
    if (table_.settings.calcMethod == kCalcMethodNotices && overhang && table_.wind) {
      loadLabel(rowAt(right, 3), "□はね出し部用 風荷重(負)W", "W－");
      canvas_.writeAt(canvas_.cursor.runX + mm(5), canvas_.cursor.runY,
                      shortestDecimal(table_.wind->overhangPressure) + " N/m");
      superscript("2");
    }
    canvas_.frameBottom = top + mm(firstRowMm + rows * pitch + 1.5);
  }

  // ---- The table
  void centred(double leftMm, double widthMm, int y, const std::string& text) {
    const int width = canvas_.textWidth(text);
    canvas_.writeAt(x(leftMm) + (mm(widthMm) - width) / 2, y, text);
  }

  std::string spanCountName(int count) const {
    return count == 1 ? "単純梁" : std::to_string(count) + "連続梁";
  }

  void drawCell(const SpanTableCell& cell, double leftMm, int top) {
    const int base = canvas_.baseFontSize;
    std::string span = cell.span ? plainInteger(*cell.span) + " mm" : "－";
    if (cell.isProject)
      span = std::string(kSpanTableProjectMark) + span;
    canvas_.setBold(cell.isProject);
    centred(leftMm, kSpanColumnMm, top + mm(2), span);
    canvas_.setBold(false);
    if (cell.stoppedBy) {
      canvas_.setFontSize(base - 1);
      centred(leftMm, kSpanColumnMm, top + mm(kTableRowMm / 2 + 1),
              "(" + std::string(spanLimitName(*cell.stoppedBy)) + ")");
      canvas_.setFontSize(base);
    }
    if (cell.isProject) {
      const PenSpec saved = canvas_.pen();
      canvas_.setPenWidth(canvas_.finePenWidth(12));
      canvas_.drawRect(x(leftMm) + mm(0.8), top + mm(0.8), x(leftMm + kSpanColumnMm) - mm(0.8),
                       top + mm(kTableRowMm) - mm(0.8));
      canvas_.setPenWidth(saved.width);
    }
  }

  void drawTable() {
    canvas_.setFontSize(canvas_.baseFontSize);
    const double b = shiftJisByteCount(kSpanTableHeading);
    canvas_.writeAt(cut(canvas_.marginLeft + mm(87) - b * canvas_.pxPerMm),
                    canvas_.frameBottom + mm(3), kSpanTableHeading);

    const int top = canvas_.frameBottom + mm(10);
    const int headerBottom = top + mm(kHeaderRowMm);
    const int bottom = headerBottom + mm(kTableRowMm * kSpanTableDecks);
    const int left = canvas_.marginLeft;
    const int right = x(kFrameWidthMm);
    canvas_.setPenWidth(canvas_.finePenWidth(6));
    canvas_.drawRect(left, top, right, bottom);
    canvas_.setPenWidth(canvas_.finePenWidth(3));
    canvas_.drawLine(left, headerBottom, right, headerBottom);
    for (int deck = 1; deck < kSpanTableDecks; ++deck) {
      const int y = headerBottom + mm(kTableRowMm * deck);
      canvas_.drawLine(left, y, right, y);
    }
    for (int column = 1; column < 3 + kSpanTableSpanCounts; ++column) {
      const int at = x(columnLeftMm(column));
      canvas_.drawLine(at, top, at, bottom);
    }

    const int headerY = top + mm(kHeaderRowMm / 2 - 2);
    centred(columnLeftMm(0), kDeckColumnMm, headerY, "デッキ");
    centred(columnLeftMm(1), kWeightColumnMm, headerY, "デッキ自重");
    centred(columnLeftMm(2), kLoadColumnMm, headerY, "固定＋積載");
    for (int count = 1; count <= kSpanTableSpanCounts; ++count)
      centred(columnLeftMm(2 + count), kSpanColumnMm, headerY, spanCountName(count));

    for (int row = 0; row < kSpanTableDecks; ++row) {
      const SpanTableDeck& deck = table_.decks[static_cast<std::size_t>(row)];
      const int rowTop = headerBottom + mm(kTableRowMm * row);
      const int textY = rowTop + mm(kTableRowMm / 2 - 2);
      centred(columnLeftMm(0), kDeckColumnMm, textY, deck.name);
      centred(columnLeftMm(1), kWeightColumnMm, textY,
              plainInteger(static_cast<int>(truncTo(deck.unitWeight, 0))) + " N/㎡");
      centred(columnLeftMm(2), kLoadColumnMm, textY, plainInteger(deck.deadPlusLive) + " N/㎡");
      for (int count = 1; count <= kSpanTableSpanCounts; ++count)
        drawCell(table_.cell(deck.deckType, count), columnLeftMm(2 + count), rowTop);
    }
    tableBottom_ = bottom;
  }

  // ---- Notes and load cases
  void noteLine(const std::string& text) {
    canvas_.writeAt(x(2), noteY_, text);
    noteY_ += mm(4.5);
  }

  void drawNotes() {
    const std::string step = std::to_string(table_.step);
    canvas_.setFontSize(canvas_.baseFontSize - 1);
    noteY_ = tableBottom_ + mm(3);
    noteLine(
        "※各欄は、全てのスパンを等しくしたとき、全ての荷重ケースで応力・たわみ・接合部の"
        "検討がＯＫとなる最大のスパンです。");
    noteLine("※（ ）内は次の刻み（+" + step +
             "mm）でＮＧとなる検討です。（デッキ長さ）は、次の刻みでは、はね出しを含む");
    noteLine(
        "　 デッキの全長がデッキ最大長さを超えることを示します。－はＯＫとなるスパンが無い"
        "ことを示します。");
    noteLine("※" + std::string(kSpanTableProjectMark) +
             "と太枠は本データのデッキとスパン数です。スパン以外の入力（建設用地・荷重・接合方法・"
             "はね出し・");
    noteLine("　 係数等の定義）は全て本データの値です。");
    canvas_.setFontSize(canvas_.baseFontSize);
  }

  void drawLoadCases() {
    const DesignConditions& c = table_.conditions;
    int y = noteY_ + mm(4);
    canvas_.writeAt(x(1), y, "《検討した荷重ケース》");
    for (const ResultsCase& results : resultsCases(c)) {
      y += mm(5);
      const CaseConstants& k = caseConstantsOf(results.variant);
      canvas_.writeAt(x(5), y, "□" + caseTitle(results.variant, results.ratios));
      canvas_.writeAt(
          x(95), y,
          "許容応力度 " +
              shortestDecimal(allowableStress(k.allowableFactor, table_.settings.designStrengthF)) +
              " N/mm");
      superscript("2");
      canvas_.writeRun("、たわみ ≦ L/" + shortestDecimal(k.deflectionLimit));
    }
    y += mm(6);
    canvas_.setFontSize(canvas_.baseFontSize - 1);
    canvas_.writeAt(x(5), y,
                    "Ｇ：固定荷重、Ｐ：積載荷重、Ｓ：積雪荷重、Ｗ：風荷重（暴風時は正圧と負圧）");
    canvas_.setFontSize(canvas_.baseFontSize);
    canvas_.writeScreenFootMark(y + mm(7));
  }

  ReportCanvas& canvas_;
  const SpanTable& table_;
  int frameTop_ = 0;
  int rowMm_ = 0;
  int tableBottom_ = 0;
  int noteY_ = 0;
};

}  // namespace

void drawSpanTablePage(ReportCanvas& canvas, const SpanTable& table) {
  SpanTablePage(canvas, table).draw();
}

}  // namespace tavilo
