#include "report/design_page.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "calc/numbers.h"
#include "report/formatters.h"

namespace tavilo {
namespace {

constexpr int kHeadingBlockFontSize = 10;
constexpr int kPrinterTitleFontSize = 12;
constexpr int kNoteFontSize = 8;
// A long project name is set down to this size before it takes more lines.
constexpr int kSmallestNameSize = 7;
// Kept between the project name and the inside of its box.
constexpr double kNameBoxPaddingMm = 0.5;
// The byte length the note's position is laid out for; the note itself is a
// little shorter in Shift-JIS, but the position on paper is fixed by this width.
constexpr int kDetailNoteLayoutBytes = 62;

// Whole-number part of a non-negative layout value.
int cut(double v) {
  return static_cast<int>(std::trunc(v));
}

bool hasProjectName(const PrintSettings& settings) {
  return !settings.projectName.empty() && settings.projectName != kNoProjectName;
}

void nextRow(ReportCanvas& canvas) {
  canvas.cursor.rowMm += canvas.cursor.rowPitchMm;
}

void writeSuperscript(ReportCanvas& canvas, std::string_view text) {
  canvas.writeScript(ScriptKind::kSuperscript, text, kSuperscriptSize, canvas.fontSize());
}

void writeSubscript(ReportCanvas& canvas, std::string_view text) {
  canvas.writeScript(ScriptKind::kSubscript, text, kSubscriptSize, canvas.fontSize());
}

// An area load value "   560 N/m²" written at x on the main line of the row
// drawn last.
void writeAreaLoad(ReportCanvas& canvas, int x, int value) {
  canvas.writeAt(x, canvas.cursor.runY, formatInteger(value, 6) + " N/m");
  writeSuperscript(canvas, "2");
}

// ---- 1. Heading block

// The project name in its box. A name too long for the box is set smaller,
// down to 7 points, and then goes on over more lines under its first; a box
// that must grow for them moves the page below down with it.
void drawProjectNameBox(ReportCanvas& canvas) {
  const std::string caption = "物件名： ";
  const std::string& name = canvas.printSettings.projectName;
  const int x = canvas.mmToPx(15);
  const int boxLeft = canvas.marginLeft;
  const int boxRight = boxLeft + canvas.mmToPx(174);
  const int boxTop = canvas.headerY + canvas.mmToPx(5);
  const int room = boxRight - canvas.mmToPx(kNameBoxPaddingMm) - x;
  // The middle of the box's line as the 10-point name sits there.
  const int middle = canvas.headerY + canvas.mmToPx(6.3) + canvas.emHeight() / 2;

  int size = kHeadingBlockFontSize;
  while (size > kSmallestNameSize && canvas.textWidth(caption + name) > room)
    canvas.setFontSize(--size);
  if (canvas.textWidth(caption + name) <= room) {
    canvas.drawRect(boxLeft, boxTop, boxRight, canvas.headerY + canvas.mmToPx(11));
    canvas.writeAt(x, middle - canvas.emHeight() / 2, caption + name);
    canvas.setFontSize(kHeadingBlockFontSize);
    return;
  }

  const int nameX = x + canvas.textWidth(caption);
  const std::vector<std::string> lines = canvas.wrapToWidth(name, room - (nameX - x));
  const int step = canvas.emHeight() + canvas.labelGap().y;
  const int height = static_cast<int>(lines.size()) * step - canvas.labelGap().y;
  const int padding = canvas.mmToPx(kNameBoxPaddingMm);
  const int boxBottom = std::max(canvas.headerY + canvas.mmToPx(11), boxTop + height + 2 * padding);
  canvas.drawRect(boxLeft, boxTop, boxRight, boxBottom);
  int y = std::max(boxTop + padding, middle - height / 2);
  y = std::min(y, boxBottom - padding - height);
  canvas.writeAt(x, y, caption);
  for (const std::string& line : lines) {
    canvas.writeAt(nameX, y, line);
    y += step;
  }
  canvas.marginTop += boxBottom - (canvas.headerY + canvas.mmToPx(11));
  canvas.setFontSize(kHeadingBlockFontSize);
}

void drawHeadingBlock(ReportCanvas& canvas) {
  canvas.setFontFace(kReportFace);
  canvas.setFontColor(canvas.textColor);
  canvas.setFontSize(kHeadingBlockFontSize);
  if (!canvas.onPrinter())
    return;

  canvas.drawPageNumber(true);
  canvas.headerY = canvas.mmToPx(6);
  canvas.marginTop = canvas.headerY + canvas.mmToPx(17);
  canvas.marginLeft = canvas.mmToPx(13);
  if (!hasProjectName(canvas.printSettings)) {
    canvas.setPenWidth(canvas.finePenWidth(3));
    canvas.marginTop -= canvas.mmToPx(5);
    return;
  }
  canvas.setPenWidth(canvas.finePenWidth(6));
  drawProjectNameBox(canvas);
}

// ---- 2. Title and frame
void drawTitleAndFrame(ReportCanvas& canvas, const DesignPageInput& input) {
  const DesignConditions& c = input.conditions;
  const std::string title = reportTitleText(c.deckName, input.facts);
  const bool hasOverhang = c.leftOverhang != 0 || c.rightOverhang != 0;
  double frameHeightMm = 0;
  if (canvas.onScreen()) {
    canvas.setFontColor(kHeadingColor);
    canvas.writeAt(canvas.marginLeft, canvas.mmToPx(4), title);
    canvas.setPenWidth(canvas.finePenWidth(1));
    canvas.frameRight = canvas.marginLeft + canvas.mmToPx(190);
    frameHeightMm = hasOverhang ? 77.5 : 72.5;
    canvas.cursor.rowPitchMm = 5;
  } else {
    canvas.setFontSize(kPrinterTitleFontSize);
    canvas.writeAt(canvas.marginLeft, canvas.marginTop - canvas.mmToPx(5), title);
    canvas.setPenWidth(canvas.finePenWidth(6));
    canvas.frameRight = canvas.marginLeft + canvas.mmToPx(185);
    frameHeightMm = hasOverhang ? 64.5 : 60.5;
    canvas.cursor.rowPitchMm = 4;
  }
  canvas.setPenColor(canvas.textColor);
  canvas.frameBottom = canvas.marginTop + canvas.mmToPx(frameHeightMm);
  if (c.spanCount == 1)
    canvas.frameBottom -= canvas.mmToPx(10);
  canvas.drawRect(canvas.marginLeft, canvas.marginTop, canvas.frameRight, canvas.frameBottom);

  if (canvas.onScreen()) {
    canvas.setFontColor(kHeadingColor);
    canvas.marginLeft = canvas.mmToPx(5);
  } else {
    canvas.setFontColor(canvas.textColor);
  }
}

// ---- 3. Section 《設計仕様》
void drawStrengthRow(ReportCanvas& canvas, const DesignPageInput& input) {
  nextRow(canvas);
  canvas.cursor.indentMm = 5;
  canvas.writeAtCursor(
      "□デッキプレート基準強度 Ｆ=" + std::to_string(input.settings.designStrengthF) + "N/mm");
  writeSuperscript(canvas, "2");
  canvas.writeRun("、単位重量 " + input.facts.unitWeightText + std::string(kUnitNPerSquareM));
}

// "×10ⁿmmⁿ/m": the unit of a section value per metre of width.
void writeSectionUnit(ReportCanvas& canvas, std::string_view power) {
  writeSuperscript(canvas, power);
  canvas.writeAt(canvas.cursor.runX + canvas.mmToPx(1.5), canvas.cursor.runY, "mm");
  writeSuperscript(canvas, power);
  canvas.writeRun("/m");
}

void drawSectionRow(ReportCanvas& canvas, const DesignConditions& c) {
  nextRow(canvas);
  canvas.writeAtCursor(
      "□断面性能 Z:" + trimLeadingSpaces(formatTruncated(c.sectionModulus * 0.001, 6, 1)) + "×10");
  writeSectionUnit(canvas, "3");
  canvas.writeRun("、 I:" + trimLeadingSpaces(formatTruncated(c.momentOfInertia * 0.0001, 6, 1)) +
                  "×10");
  writeSectionUnit(canvas, "4");
}

void drawJointRows(ReportCanvas& canvas, const DesignConditions& c) {
  const std::string endCapacity = plainInteger(c.endJointCapacity);
  if (c.spanCount == 1) {
    nextRow(canvas);
    canvas.writeAtCursor("□接合方法 端部：" + c.endJointName + "  端部耐力：" + endCapacity + " N");
    return;
  }
  nextRow(canvas);
  canvas.writeAtCursor("□接合方法");
  nextRow(canvas);
  canvas.writeAtCursor("　　端　 部： " + c.endJointName + "  端部耐力：" + endCapacity + " N");
  nextRow(canvas);
  canvas.writeAtCursor("　　中間部： " + c.midJointName + "  中間部耐力：" +
                       plainInteger(c.midJointCapacity) + " N");
}

void drawSiteRow(ReportCanvas& canvas, const DesignPageInput& input) {
  const DesignConditions& c = input.conditions;
  std::string text = "□建設用地： " + c.prefectureName + c.districtName;
  if (input.settings.calcMethod == kCalcMethodNotices) {
    text += " [平均風速V";
    nextRow(canvas);
    canvas.writeAtCursor(text);
    writeSubscript(canvas, "0");
    canvas.writeRun(" = " + std::to_string(c.windSpeedV0) + " m/sec" +
                    (c.heavySnow ? "、多雪地域]" : "]"));
    return;
  }
  if (c.heavySnow)
    text += "[多雪地域]";
  nextRow(canvas);
  canvas.cursor.indentMm += 5;
  canvas.writeAtCursor(text);
}

void drawSpanRow(ReportCanvas& canvas, const DesignConditions& c) {
  std::string text = "□";
  text += c.spanCount == 1 ? "単純梁" : std::to_string(c.spanCount) + "連続梁";
  text += " [ スパン1 = " + formatInteger(c.spanLengths[0], 5) + "mm";
  for (int i = 2; i <= c.spanCount && i <= kMaxSpans; ++i) {
    text += ",  スパン" + std::to_string(i) + " = " +
            formatInteger(c.spanLengths[static_cast<std::size_t>(i - 1)], 5) + "mm";
  }
  text += " ]";
  nextRow(canvas);
  canvas.writeAtCursor(text);
}

void drawOverhangRow(ReportCanvas& canvas, const DesignPageInput& input) {
  if (!input.facts.overhangSelected)
    return;
  const DesignConditions& c = input.conditions;
  std::string text = "□はね出し部 ";
  if (c.leftOverhang != 0 && c.rightOverhang == 0)
    text += "[" + shortestDecimal(c.leftOverhang) + "mm]";
  nextRow(canvas);
  canvas.writeAtCursor(text);
}

void drawSpecificationSection(ReportCanvas& canvas, const DesignPageInput& input) {
  TextCursor& cursor = canvas.cursor;
  cursor.indentMm = 0;
  cursor.rowMm = 2;
  canvas.setFontSize(canvas.baseFontSize);
  canvas.writeAt(canvas.marginLeft + canvas.mmToPx(1), canvas.marginTop + canvas.mmToPx(2),
                 kSpecificationHeading);
  canvas.setFontColor(canvas.textColor);

  drawStrengthRow(canvas, input);
  drawSectionRow(canvas, input.conditions);
  drawJointRows(canvas, input.conditions);
  drawSiteRow(canvas, input);
  drawSpanRow(canvas, input.conditions);
  drawOverhangRow(canvas, input);

  cursor.rowMm = cut(cursor.rowMm + 1.3 * cursor.rowPitchMm);
  const int y = canvas.marginTop + canvas.mmToPx(cursor.rowMm);
  const int right = canvas.marginLeft + canvas.mmToPx(canvas.onScreen() ? 186 : 180);
  canvas.drawLine(canvas.marginLeft + canvas.mmToPx(4), y, right, y);
  canvas.separatorY = y;
  canvas.marginTop = y;
  cursor.rowMm = 0;
  cursor.indentMm = 0;
}

// ---- 4. Section 《荷重条件》
// A load label with its subscript at the cursor (left column) or at an
// explicit point (right column).
void writeLoadLabel(ReportCanvas& canvas, PixelPoint at, std::string_view label,
                    std::string_view sub) {
  canvas.writeAt(at.x, at.y, label);
  writeSubscript(canvas, sub);
}

void drawLeftLoadColumn(ReportCanvas& canvas, const DesignConditions& c) {
  TextCursor& cursor = canvas.cursor;
  const int deadLoad = static_cast<int>(truncTo(c.finishingLoad + c.unitWeight, 0));
  const int valueX = canvas.marginLeft + canvas.mmToPx(45);

  cursor.rowMm = cut(cursor.rowMm + 1.3 * cursor.rowPitchMm);
  cursor.indentMm = 5;
  canvas.sectionTopY = canvas.cursorPosition().y;
  writeLoadLabel(canvas, canvas.cursorPosition(), "□固定荷重W", "G");
  writeAreaLoad(canvas, valueX, deadLoad);

  nextRow(canvas);
  cursor.indentMm = 10;
  canvas.writeAtCursor("├── その他荷重");
  writeAreaLoad(canvas, valueX, c.finishingLoad);

  nextRow(canvas);
  canvas.writeAtCursor("└── デッキ自重");
  writeAreaLoad(canvas, valueX, static_cast<int>(truncTo(c.unitWeight, 0)));

  nextRow(canvas);
  cursor.indentMm = 5;
  writeLoadLabel(canvas, canvas.cursorPosition(), "□積載荷重W", "P");
  writeAreaLoad(canvas, canvas.marginLeft + canvas.mmToPx(cut(5 + 5 * 7.9)), c.liveLoad);
}

std::string snowFactorText(double factor) {
  return factor == 1.0 ? " (α：1.0)" : " (α：" + shortestDecimal(factor) + ")";
}

void drawRightLoadColumn(ReportCanvas& canvas, const DesignPageInput& input) {
  const DesignConditions& c = input.conditions;
  const int valueX = canvas.column2X + canvas.mmToPx(40);
  int rowMm = 0;
  const auto rowAt = [&] {
    return PixelPoint{canvas.column2X, canvas.sectionTopY + canvas.mmToPx(rowMm)};
  };

  writeLoadLabel(canvas, rowAt(), "□風荷重(正)W", "W＋");
  writeAreaLoad(canvas, valueX, c.windPositive);

  rowMm += canvas.cursor.rowPitchMm;
  writeLoadLabel(canvas, rowAt(), "□風荷重(負)W", "W－");
  writeAreaLoad(canvas, valueX, c.windNegative);

  rowMm += canvas.cursor.rowPitchMm;
  writeLoadLabel(canvas, rowAt(), "□積雪荷重W", "S");
  writeAreaLoad(canvas, valueX, c.snowLoad);
  if (c.snowIncreaseState >= 1) {
    const PixelPoint raised = canvas.lastTextEnd();
    canvas.writeAt(raised.x, raised.y, snowFactorText(c.snowIncreaseFactor));
  }

  if (input.settings.calcMethod != kCalcMethodNotices || !input.facts.overhangSelected)
    return;
  rowMm += canvas.cursor.rowPitchMm;
  writeLoadLabel(canvas, rowAt(), "□はね出し部用 風荷重(負)W", "W－");
  canvas.writeAt(canvas.cursor.runX + canvas.mmToPx(5), canvas.cursor.runY,
                 shortestDecimal(input.overhangPressure) + " N/m");
  writeSuperscript(canvas, "2");
}

void drawLoadSection(ReportCanvas& canvas, const DesignPageInput& input) {
  TextCursor& cursor = canvas.cursor;
  if (canvas.onScreen())
    canvas.setFontColor(kHeadingColor);
  cursor.rowMm = cut(0.5 * cursor.rowPitchMm);
  canvas.writeAt(canvas.marginLeft + canvas.mmToPx(1),
                 canvas.marginTop + canvas.mmToPx(cursor.rowMm), kLoadConditionsHeading);
  canvas.setFontColor(canvas.textColor);

  drawLeftLoadColumn(canvas, input.conditions);
  drawRightLoadColumn(canvas, input);
}

// ---- 5. and 6. Note and results heading
void drawDetailNote(ReportCanvas& canvas, const DesignPageInput& input) {
  if (!canvas.onPrinter() || input.settings.calcMethod != kCalcMethodNotices)
    return;
  canvas.setFontSize(kNoteFontSize);
  const double b = kDetailNoteLayoutBytes;
  const int x = cut(canvas.frameRight - b * canvas.pxPerMm - 20 * canvas.pxPerMm);
  canvas.writeAt(x, canvas.separatorY + canvas.mmToPx(1), kDetailNote);
  canvas.setFontSize(canvas.baseFontSize);
}

void drawResultsHeading(ReportCanvas& canvas) {
  canvas.setFontSize(canvas.baseFontSize);
  canvas.setFontColor(canvas.textColor);
  const double b = shiftJisByteCount(kResultsHeading);
  const int x = cut(canvas.marginLeft + canvas.mmToPx(87) - b * canvas.pxPerMm);
  const int y = canvas.frameBottom + canvas.mmToPx(canvas.cursor.rowPitchMm - 2);
  canvas.writeAt(x, y, kResultsHeading);

  // The first case heading of the results follows one and a half lines below.
  const double belowMm = (y - canvas.marginTop) / canvas.pxPerMm;
  canvas.cursor.lineMm = cut(belowMm + 1.5 * canvas.cursor.linePitchMm);
  canvas.cursor.rowMm = canvas.cursor.lineMm;
}

}  // namespace

std::string reportTitleText(const std::string& deckName, const ReportFacts& facts) {
  std::string title = std::string(kReportTitle) + deckName;
  if (facts.surfaceTreatmentIndex == kSurfaceTreatmentOther)
    return title + " ］";
  return title + "(" + facts.surfaceTreatmentText + ") ］";
}

void drawDesignSpecificationPage(ReportCanvas& canvas, const DesignPageInput& input) {
  drawHeadingBlock(canvas);
  drawTitleAndFrame(canvas, input);
  drawSpecificationSection(canvas, input);
  drawLoadSection(canvas, input);
  drawDetailNote(canvas, input);
  drawResultsHeading(canvas);
}

}  // namespace tavilo
