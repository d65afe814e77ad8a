#include "report/results_page.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "calc/case_titles.h"
#include "calc/numbers.h"
#include "report/formatters.h"
#include "text/utf8.h"

namespace tavilo {
namespace {

// Indents in millimetres from the text margin: the section indent i0 and
// the value indent i0 + 10.
constexpr int kSectionIndent = 4;
constexpr int kValueIndent = kSectionIndent + 10;
constexpr int kJointLabelIndent = kSectionIndent + 5;
constexpr int kJointValueIndent = kSectionIndent + 25;
constexpr int kScreenMarkIndent = kSectionIndent + 155;
constexpr int kPrinterMarkIndent = kSectionIndent + 145;
// The deck schematic of the results table starts this far right of the margin.
constexpr double kSchematicLeftMm = 45.0;
// Room kept right of the schematic's end for the value centred there.
constexpr double kSchematicRightRoomMm = 4.0;
// Width rule of the table values: a value's half width is taken as its
// character count × 0.5 × 3.175 mm (3.175 mm being a 9-point em); the text is
// not measured, so screen and paper place a value alike.
constexpr double kHalfWidthPerCharMm = 0.5 * 3.175;
constexpr double kPrinterSectionPitchMm = 4.0;
// From the line of the last text to below the footer of the verdict block.
constexpr double kVerdictBlockHeightMm = 16 + 10 + 10;

constexpr std::string_view kJointLineTail = "1000/ﾃﾞｯｷ幅600×3ヶ所×";

int cut(double v) {
  return static_cast<int>(std::trunc(v));
}

// ---- Text cursor steps of the results page
void atLine(ReportCanvas& canvas) {
  canvas.cursor.rowMm = canvas.cursor.lineMm;
}

void nextLine(ReportCanvas& canvas) {
  canvas.cursor.advanceLine();
  atLine(canvas);
}

// "Half a line down": the next line with half a line of space above it.
void nextLineAfterGap(ReportCanvas& canvas) {
  TextCursor& c = canvas.cursor;
  c.lineMm = cut(c.lineMm + 1.5 * c.linePitchMm);
  ++c.lineCount;
  atLine(canvas);
}

int writeAtIndent(ReportCanvas& canvas, int indentMm, std::string_view text) {
  canvas.cursor.indentMm = indentMm;
  return canvas.writeAtCursor(text);
}

void writeSuperscript(ReportCanvas& canvas, std::string_view text) {
  canvas.writeScript(ScriptKind::kSuperscript, text, kSuperscriptSize, canvas.fontSize());
}

void writeSubscript(ReportCanvas& canvas, std::string_view text) {
  canvas.writeScript(ScriptKind::kSubscript, text, kSubscriptSize, canvas.fontSize());
}

// "---------- OK" at the mark column of the current line; an NG in red bold
// on the screen.
void writeResultMark(ReportCanvas& canvas, bool ok) {
  const int indent = canvas.onScreen() ? kScreenMarkIndent : kPrinterMarkIndent;
  const int y = canvas.cursorPosition().y;
  canvas.writeAt(canvas.marginLeft + canvas.mmToPx(indent), y, "---------- ");
  canvas.emphasisOn(!ok);
  canvas.writeRun(ok ? "OK" : "NG");
  canvas.emphasisOff(!ok);
}

std::string comparison(bool ok) {
  return ok ? " < " : " > ";
}

// A whole number with thousands separators and no padding ("2,445,000").
std::string wholeNumber(double value) {
  const double whole = floorTo(value, 0);
  const int width = static_cast<int>(shortestDecimal(whole).size());
  return trimLeadingSpaces(formatTruncatedSafe(whole, width, 0));
}

std::string allowableStressText(const ResultsSection& section) {
  const std::string strength = section.analysis.caseIndex == kLongTerm ? "F/1.5 = " : "F = ";
  return strength + shortestDecimal(section.checks.allowableStress) + std::string(kUnitNPerMm);
}

// ---- Heading lines
void drawHeading(ReportCanvas& canvas, const ResultsSection& section) {
  const CaseAnalysis& a = section.analysis;
  writeAtIndent(canvas, kSectionIndent - 5, caseHeadingText(a));

  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent, "等分布荷重合計Ｗ");
  const std::size_t k = static_cast<std::size_t>(a.caseIndex);
  writeSubscript(canvas, k < a.caseLabels.size() ? a.caseLabels[k] : "");
  canvas.writeRun(" = " + shortestDecimal(a.sectionCaseTotal) + " " +
                  std::string(kUnitNPerSquareM));

  nextLine(canvas);
  const bool negative = a.windSide == WindSide::Negative;
  writeAtIndent(canvas, kSectionIndent,
                "応力分布[M：" + std::string(kUnitKnM) + (negative ? "/δ：mm/Q：kN]" : "/δ：mm]"));
}

// ---- The results table under the deck schematic
struct DeckLayout {
  std::vector<double> supportMm;  // per support, mm from the text margin
  double leftEndMm = 0;
  double rightEndMm = 0;
};

// The schematic starts 45 mm right of the margin; a deck drawn so long that
// its end would leave the paper starts further left, so that the deck and
// the values at its right end stay on the page.
DeckLayout deckLayout(const ReportCanvas& canvas, const CaseAnalysis& a) {
  const BeamModel& beam = a.beam;
  const double scale = canvas.drawScale > 0 ? canvas.drawScale : 80.0;
  double total = beam.leftOverhang + beam.rightOverhang;
  for (int i = 0; i < a.spanCount && i < kMaxMembers; ++i)
    total += beam.spans[static_cast<std::size_t>(i)];
  const double roomMm = (canvas.printableArea().right - canvas.marginLeft) / canvas.pxPerMm;
  const double left = std::min(kSchematicLeftMm, roomMm - kSchematicRightRoomMm - total / scale);

  DeckLayout d;
  d.leftEndMm = left;
  double at = beam.leftOverhang;
  d.supportMm.push_back(left + at / scale);
  for (int i = 0; i < a.spanCount && i < kMaxMembers; ++i) {
    at += beam.spans[static_cast<std::size_t>(i)];
    d.supportMm.push_back(left + at / scale);
  }
  d.rightEndMm = left + (at + beam.rightOverhang) / scale;
  return d;
}

int characterCount(std::string_view utf8) {
  return static_cast<int>(utf8CharacterCount(utf8));
}

std::string joined(const std::vector<double>& values, std::string (*format)(double)) {
  std::string text;
  for (const double v : values) {
    if (!text.empty())
      text += "/";
    text += format(v);
  }
  return text;
}

std::string momentText(double kNm) {
  return trimLeadingSpaces(formatTruncatedSafe(kNm, 6, 3));
}
std::string spanMomentText(double kNm) {
  return trimLeadingSpaces(formatRoundedUp(kNm, 6, 3));
}
std::string shearText(double kN) {
  return trimLeadingSpaces(formatRoundedUp(kN, 6, 3));
}
std::string deflectionText(double mm) {
  return trimLeadingSpaces(formatTruncatedSafe(mm, 4, 2));
}

void drawSchematic(ReportCanvas& canvas, const DeckLayout& deck) {
  const PenSpec saved = canvas.pen();
  canvas.setPenColor(kGreyLineColor);
  canvas.setPenWidth(canvas.finePenWidth(3));
  canvas.setPenStyle(PenStyle::kSolid);
  const int beamY = canvas.cursorPosition().y + canvas.mmToPx(1);
  const auto x = [&](double mm) { return canvas.marginLeft + canvas.mmToPx(mm); };
  canvas.drawLine(x(deck.leftEndMm), beamY, x(deck.rightEndMm), beamY);
  const int halfBase = canvas.mmToPx(2 / std::sqrt(3.0));
  const int base = beamY + canvas.mmToPx(2);
  for (const double s : deck.supportMm) {
    canvas.moveTo(x(s), beamY);
    canvas.lineTo(x(s) - halfBase, base);
    canvas.lineTo(x(s) + halfBase, base);
    canvas.lineTo(x(s), beamY);
  }
  canvas.setPenColor(saved.color);
  canvas.setPenWidth(saved.width);
  canvas.setPenStyle(saved.style);
}

// One row of the table: its label and its values, each on the line of the
// row it takes (0 the row itself, 1 the line below it, …).
struct TableValue {
  std::string text;
  int x = 0;  // device pixels
  int line = 0;
};
struct TableRow {
  std::string label;
  std::string subscript;
  std::vector<TableValue> values;
  int lines = 1;
};

// Values centred under their span, support or overhang by the half-width
// rule, kept on the page, then stacked so that no two touch.
TableRow tableRow(const ReportCanvas& canvas, std::string label, std::string subscript,
                  const std::vector<std::pair<double, std::string>>& centredValues) {
  TableRow row{std::move(label), std::move(subscript), {}, 1};
  const TextBox page = canvas.printableArea();
  std::vector<RowExtent> extents;
  for (const auto& [centreMm, text] : centredValues) {
    const double leftMm = centreMm - characterCount(text) * kHalfWidthPerCharMm;
    const int width = canvas.textWidth(text);
    int x = canvas.marginLeft + canvas.mmToPx(leftMm);
    x = std::max(page.left, std::min(x, page.right - width));
    row.values.push_back({text, x, 0});
    extents.push_back({x, x + width});
  }
  const std::vector<int> lines = stackRowValues(extents, canvas.labelGap().x);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    row.values[i].line = lines[i];
    row.lines = std::max(row.lines, lines[i] + 1);
  }
  return row;
}

// The rows of the table (Ｍ1, Ｍ0, δ and, in the negative-pressure cases, Ｑ)
// in the current font.
std::vector<TableRow> tableRows(const ReportCanvas& canvas, const ResultsSection& section) {
  const ResultsTable& t = section.table;
  const DeckLayout deck = deckLayout(canvas, section.analysis);
  const auto& s = deck.supportMm;
  std::vector<TableRow> rows;

  std::vector<std::pair<double, std::string>> values;
  for (std::size_t i = 0; i < t.spanMoments.size() && i + 1 < s.size(); ++i)
    values.emplace_back((s[i] + s[i + 1]) / 2, spanMomentText(t.spanMoments[i]));
  rows.push_back(tableRow(canvas, "Ｍ", "1", values));

  values.clear();
  for (std::size_t i = 0; i < t.supportMoments.size() && i < s.size(); ++i)
    values.emplace_back(s[i], joined(t.supportMoments[i], momentText));
  rows.push_back(tableRow(canvas, "Ｍ", "0", values));

  values.clear();
  for (std::size_t i = 0; i < t.deflections.size(); ++i) {
    double centre = deck.leftEndMm;
    if (i + 1 == t.deflections.size())
      centre = deck.rightEndMm;
    else if (i > 0 && i < s.size())
      centre = (s[i - 1] + s[i]) / 2;
    values.emplace_back(centre, deflectionText(t.deflections[i]));
  }
  rows.push_back(tableRow(canvas, "δ", "", values));

  if (t.supportShears.empty())
    return rows;
  values.clear();
  for (std::size_t i = 0; i < t.supportShears.size() && i < s.size(); ++i)
    values.emplace_back(s[i], joined(t.supportShears[i], shearText));
  rows.push_back(tableRow(canvas, "Ｑ", "", values));
  return rows;
}

// Lines the table takes below the schematic.
int tableLineCount(const ReportCanvas& canvas, const ResultsSection& section) {
  int lines = 0;
  for (const TableRow& row : tableRows(canvas, section))
    lines += row.lines;
  return lines;
}

void writeRowLabel(ReportCanvas& canvas, std::string_view label, std::string_view sub) {
  writeAtIndent(canvas, kSectionIndent, label);
  if (!sub.empty())
    writeSubscript(canvas, sub);
}

void drawResultsTable(ReportCanvas& canvas, const ResultsSection& section) {
  const std::vector<TableRow> rows = tableRows(canvas, section);
  nextLine(canvas);
  drawSchematic(canvas, deckLayout(canvas, section.analysis));

  for (const TableRow& row : rows) {
    nextLine(canvas);
    writeRowLabel(canvas, row.label, row.subscript);
    for (int line = 0; line < row.lines; ++line) {
      if (line > 0)
        nextLine(canvas);
      for (const TableValue& v : row.values) {
        if (v.line == line)
          canvas.writeAt(v.x, canvas.cursorPosition().y, v.text);
      }
    }
  }
}

// ---- Check lines
void drawSpanChecks(ReportCanvas& canvas, const ResultsSection& section,
                    const CalculationOutcome& outcome) {
  const CaseChecks& checks = section.checks;
  const bool hasOverhang = section.checks.overhang.has_value();
  nextLineAfterGap(canvas);
  writeAtIndent(canvas, kSectionIndent,
                hasOverhang ? outcome.conditions.beamKindName + "-耐力検討" : "耐力検討");

  const std::string moment = wholeNumber(checks.stress.moment);
  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent, "最大曲げモーメントMmax = " + moment + std::string(kUnitNMm));

  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent,
                "σ= Mmax/Z = " + moment + "/" + wholeNumber(outcome.conditions.sectionModulus) +
                    " = " + CheckValueTexts::stress(checks.stress.sigma));
  canvas.writeRun(comparison(checks.stress.ok) + allowableStressText(section));
  writeSuperscript(canvas, "2");
  writeResultMark(canvas, checks.stress.ok);

  const DeflectionCheck& d = checks.deflection;
  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent,
                "最大たわみδmax = " + CheckValueTexts::deflection(d.deflection) + comparison(d.ok) +
                    "L/" + CheckValueTexts::limitRatio(checks.deflectionLimitN) + " = " +
                    CheckValueTexts::deflectionLimit(d.limit) + std::string(kUnitMmSymbol));
  writeResultMark(canvas, d.ok);
}

std::string jointComparison(const JointCheck& joint, double allowableFactor) {
  return CheckValueTexts::jointForce(joint.force) + comparison(joint.ok) +
         std::string(kJointLineTail) + shortestDecimal(joint.capacity) + "×" +
         formatTruncatedSafe(allowableFactor, 3, 1) + " = " +
         CheckValueTexts::jointAllowable(joint.allowable) + std::string(kUnitNPerM);
}

void drawJointChecks(ReportCanvas& canvas, const CaseChecks& checks) {
  if (!checks.endJoint && !checks.midJoint)
    return;
  nextLine(canvas);
  writeAtIndent(canvas, kJointLabelIndent, "接合部（引張反力のみチェック）");
  const auto line = [&](const JointCheck& joint, std::string_view label, std::string_view name) {
    nextLine(canvas);
    writeAtIndent(canvas, kValueIndent, label);
    writeAtIndent(canvas, kJointValueIndent,
                  std::string(name) + jointComparison(joint, checks.allowableFactor));
    writeResultMark(canvas, joint.ok);
  };
  if (checks.endJoint)
    line(*checks.endJoint, "端　部：", "V1 = ");
  if (checks.midJoint)
    line(*checks.midJoint, "中間部：", "V2 = ");
}

void drawOverhangChecks(ReportCanvas& canvas, const ResultsSection& section,
                        const CalculationOutcome& outcome) {
  if (!section.checks.overhang)
    return;
  const CaseChecks& checks = section.checks;
  const OverhangCheck& o = *checks.overhang;
  nextLineAfterGap(canvas);
  writeAtIndent(canvas, kSectionIndent,
                std::string("はね出し部-耐力検討") + (o.wallPressure ? " [壁面正圧を考慮]" : ""));
  if (!o.governingLine.empty()) {
    nextLine(canvas);
    writeAtIndent(canvas, kSectionIndent, o.governingLine);
  }

  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent,
                "曲げモーメントM = " + formatPattern(o.moment, ",0") + std::string(kUnitNMm));

  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent,
                "σ= M/Z = " + formatPattern(std::fabs(o.moment), ",0") + "/" +
                    formatPattern(outcome.conditions.sectionModulus, ",0") + " = " +
                    CheckValueTexts::overhangStress(o.sigma));
  canvas.writeRun(comparison(o.stressOk) + allowableStressText(section));
  writeSuperscript(canvas, "2");
  writeResultMark(canvas, o.stressOk);

  const DeflectionCheck& d = o.deflection;
  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent,
                "たわみδ = " + CheckValueTexts::overhangDeflection(d.deflection) +
                    comparison(d.ok) + " L/" +
                    CheckValueTexts::limitRatio(checks.deflectionLimitN) + " = " +
                    CheckValueTexts::deflectionLimit(d.limit) + std::string(kUnitMmSymbol));
  writeResultMark(canvas, d.ok);

  if (!o.joint)
    return;
  nextLine(canvas);
  writeAtIndent(canvas, kValueIndent,
                "接合部V = " + jointComparison(*o.joint, checks.allowableFactor));
  writeResultMark(canvas, o.joint->ok);
}

// ---- Printed page breaks
// The next printed page begins at the top margin of the set-up, on its first line.
void startNextPrintedPage(ReportCanvas& canvas) {
  canvas.endPage();
  canvas.marginTop = canvas.mmToPx(15);
  canvas.cursor.lineMm = canvas.cursor.firstLineMm;
  atLine(canvas);
  canvas.cursor.runY = canvas.cursorPosition().y;
}

// Line steps of a case section from its heading to its last line.
double sectionLineSteps(const ReportCanvas& canvas, const ResultsSection& section) {
  const CaseChecks& checks = section.checks;
  // Heading lines, schematic, table rows, strength checks.
  double steps = 2 + 1 + tableLineCount(canvas, section) + 1.5 + 3;
  if (checks.endJoint || checks.midJoint)
    steps += 1 + (checks.endJoint ? 1 : 0) + (checks.midJoint ? 1 : 0);
  if (checks.overhang) {
    steps += 1.5 + 3 + (checks.overhang->governingLine.empty() ? 0 : 1) +
             (checks.overhang->joint ? 1 : 0);
  }
  return steps;
}

// The lowest y a printed line may start at: the bottom page number and the
// footer keep the last 15 mm of the page.
int printableBottom(const ReportCanvas& canvas) {
  return canvas.pageHeight - canvas.mmToPx(15);
}

// On paper, a block that would run past the foot of the page starts the next
// one instead, so that nothing is cut off.
void keepOnOnePage(ReportCanvas& canvas, double heightBelowTextMm, int textY) {
  if (!canvas.onPrinter())
    return;
  if (textY + canvas.mmToPx(heightBelowTextMm) > printableBottom(canvas))
    startNextPrintedPage(canvas);
}

}  // namespace

std::string CheckValueTexts::stress(double sigma) {
  return trimLeadingSpaces(formatRoundedUp(sigma, 5, 1));
}
std::string CheckValueTexts::deflection(double deflection) {
  return formatTruncatedSafe(deflection, 4, 2);
}
std::string CheckValueTexts::limitRatio(double n) {
  return formatTruncatedSafe(n, 4, 0);
}
std::string CheckValueTexts::deflectionLimit(double limit) {
  return formatTruncatedSafe(limit, 4, 1);
}
std::string CheckValueTexts::overhangStress(double sigma) {
  return formatPattern(sigma, ",#.##");
}
std::string CheckValueTexts::overhangDeflection(double deflection) {
  return formatPattern(deflection, ",0.##");
}
std::string CheckValueTexts::jointForce(double force) {
  return trimLeadingSpaces(formatTruncatedSafe(force, 10, 0));
}
std::string CheckValueTexts::jointAllowable(double allowable) {
  return formatTruncatedSafe(allowable, 3, 1);
}

std::string caseHeadingText(const CaseAnalysis& analysis) {
  return "■" + caseTitle(analysis) + "の検討";
}

void drawCaseSection(ReportCanvas& canvas, const ResultsSection& section,
                     const CalculationOutcome& outcome) {
  if (canvas.onPrinter())
    canvas.cursor.linePitchMm = kPrinterSectionPitchMm;
  canvas.setFontSize(canvas.baseFontSize);
  canvas.setFontColor(canvas.textColor);
  atLine(canvas);
  keepOnOnePage(canvas, (sectionLineSteps(canvas, section) + 1) * canvas.cursor.linePitchMm,
                canvas.cursorPosition().y);

  drawHeading(canvas, section);
  drawResultsTable(canvas, section);
  drawSpanChecks(canvas, section, outcome);
  drawJointChecks(canvas, section.checks);
  drawOverhangChecks(canvas, section, outcome);
  nextLineAfterGap(canvas);
}

void drawVerdictBlock(ReportCanvas& canvas, const CalculationOutcome& outcome) {
  const bool screen = canvas.onScreen();
  const PenSpec saved = canvas.pen();
  canvas.setFontSize(canvas.baseFontSize);
  canvas.setFontColor(canvas.textColor);

  // The box hangs 16 mm below the line of the last text; the footer lines
  // follow it.
  keepOnOnePage(canvas, kVerdictBlockHeightMm, canvas.cursor.runY);
  const int left = canvas.mmToPx(13);
  const int top = canvas.cursor.runY + canvas.mmToPx(16);
  const int right = left + canvas.mmToPx(180);
  const int bottom = top + canvas.mmToPx(10);
  canvas.setPenColor(canvas.textColor);
  canvas.setPenStyle(PenStyle::kSolid);
  canvas.setPenWidth(screen ? 1 : 4);
  canvas.drawRect(left, top, right, bottom);

  const int notesX = left + canvas.mmToPx(screen ? 3 : 10);
  const int fireNoteY = top - canvas.mmToPx(screen ? 8 : 7.5);
  canvas.writeAt(notesX, fireNoteY - canvas.mmToPx(4), kNoteSignificantDigits);
  // The fire-resistance note is set one point smaller than the body text.
  canvas.setFontSize(canvas.baseFontSize - 1);
  canvas.writeAt(notesX, fireNoteY, kNoteFireResistance);
  canvas.setFontSize(canvas.baseFontSize);

  canvas.writeAt(left + canvas.mmToPx(3), top + canvas.mmToPx(1), kVerdictHeading);
  canvas.writeAt(left + canvas.mmToPx(2), top + canvas.mmToPx(5), outcome.verdict);
  canvas.setPenWidth(saved.width);

  canvas.requestFooter(left);
  TextCursor& c = canvas.cursor;
  c.lineMm = cut((bottom - canvas.marginTop) / canvas.pxPerMm + 3 * c.linePitchMm);
  c.lineCount += 3;
  atLine(canvas);
}

void drawResultsSection(ReportCanvas& canvas, const CalculationOutcome& outcome) {
  bool positiveDone = false;
  for (const ResultsSection& section : outcome.sections) {
    const bool negative = section.analysis.windSide == WindSide::Negative;
    if (negative && !positiveDone) {
      positiveDone = true;
      if (canvas.onPrinter())
        startNextPrintedPage(canvas);
    }
    drawCaseSection(canvas, section, outcome);
  }
  drawVerdictBlock(canvas, outcome);
}

}  // namespace tavilo
