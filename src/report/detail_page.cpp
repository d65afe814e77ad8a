#include "report/detail_page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/numbers.h"
#include "calc/snow_depth.h"
#include "calc/wind_load.h"
#include "report/formatters.h"
#include "report/report_style.h"

namespace tavilo {
namespace {

// Indents in mm from the text margin.
constexpr int kBase = 4;                    // section headings "■…"
constexpr int kTitleIndent = kBase + 1;     // the framed headings of the wind and snow parts
constexpr int kSubHeading = kBase + 7;      // A-1) … D)
constexpr int kCaption = kBase + 10;        // captions, and every line of the snow part
constexpr int kCalc = kBase + 15;           // calculation lines
constexpr int kPressureValue = kCalc + 30;  // a design pressure beside its caption
// Between the frame of a framed heading and the heading's first character.
constexpr double kHeadingFrameGapMm = 1.5;
// Between a caption of the design pressures and its formula.
constexpr double kCaptionGapMm = 2.0;
// The printed page is framed 183 mm wide from the text margin.
constexpr int kPageFrameWidthMm = 183;

// Sub- and superscripts of this page are 6 points; only the "0" of V0 in the
// conditions table is 7.
constexpr int kScriptSize = kSuperscriptSize;
constexpr int kV0SubscriptSize = kSubscriptSize;

constexpr std::array<std::string_view, 4> kZoneNames = {"一般部", "周辺部", "軒隅角部", "軒頂部"};
// The four negative entries of a canopy: windward general and edge zone,
// leeward general and edge zone.
constexpr std::array<std::string_view, 4> kCanopyNegativeCaptions = {
    " （負圧・風上側 一般部）", " （負圧・風上側 周辺部）", " （負圧・風下側 一般部）",
    " （負圧・風下側 周辺部）"};
constexpr std::array<std::string_view, 2> kCanopyPositiveCaptions = {" （正圧・風上側）",
                                                                     " （正圧・風下側）"};
constexpr std::array<double, 2> kCanopyZoneFactors = {3.0, 4.0};  // general, edge

// Number texts of the page: a value cut at `decimals` places in a field of
// `width` characters (a binary value just below a cut-off keeps its digit),
// the same without that tolerance, whole numbers, and the shortest decimal.
std::string fixed(double value, int width, int decimals) {
  return formatTruncatedSafe(value, width, decimals);
}
std::string cut(double value, int width, int decimals) {
  return formatTruncated(value, width, decimals);
}
std::string digits(int n) {
  return std::to_string(n);
}
std::string plain(double value) {
  return shortestDecimal(value);
}

// One piece of a printed line: text on the main line, or a sub- or
// superscript after the text before it.
struct Piece {
  enum class Kind { kMain, kSub, kSup };
  Piece(std::string t) : text(std::move(t)) {}
  Piece(const char* t) : text(t) {}
  Piece(Kind k, std::string t) : kind(k), text(std::move(t)) {}
  Kind kind = Kind::kMain;
  std::string text;
};

Piece sub(std::string text) {
  return {Piece::Kind::kSub, std::move(text)};
}
Piece sup(std::string text) {
  return {Piece::Kind::kSup, std::move(text)};
}

// Places the lines of the page on the running line of the text cursor.
class Lines {
 public:
  explicit Lines(ReportCanvas& canvas) : canvas_(canvas) {}

  double pitch() const { return canvas_.cursor.linePitchMm; }
  int lineMm() const { return canvas_.cursor.lineMm; }

  void newRow() { canvas_.cursor.advanceLine(); }
  // Moves the running line on by a part of the pitch, fraction dropped.
  void skip(double pitches) {
    canvas_.cursor.lineMm = static_cast<int>(std::floor(lineMm() + pitches * pitch()));
  }

  // Writes the pieces on the current row, `rowOffsetMm` above or below it.
  // Returns the top of the first piece in device pixels.
  int write(int indentMm, std::initializer_list<Piece> pieces, int rowOffsetMm = 0) {
    TextCursor& cursor = canvas_.cursor;
    cursor.indentMm = indentMm;
    cursor.rowMm = cursor.lineMm + rowOffsetMm;
    const int top = canvas_.cursorPosition().y;
    bool first = true;
    for (const Piece& piece : pieces) {
      if (first) {
        canvas_.writeAtCursor(piece.text);
        first = false;
      } else if (piece.kind == Piece::Kind::kMain) {
        canvas_.writeRun(piece.text);
      } else {
        script(piece);
      }
    }
    return top;
  }

  int line(int indentMm, std::initializer_list<Piece> pieces) {
    newRow();
    return write(indentMm, pieces);
  }

  // `indentMm`, or less where the text would reach the right edge of the
  // printed page's frame.
  int indentInsideFrame(int indentMm, const std::string& text) const {
    if (!canvas_.onPrinter())
      return indentMm;
    const double widthMm = canvas_.inkBox(0, 0, text).right / canvas_.pxPerMm;
    const double lastIndentMm = kPageFrameWidthMm - 1 - widthMm;
    return std::min(indentMm, static_cast<int>(std::floor(lastIndentMm)));
  }

  // The column of formulas written beside captions at `captionIndentMm`: their
  // own column, or further right where the longest caption would reach it,
  // so that every formula of the group keeps a gap from its caption and they
  // still line up.
  int columnBeside(int captionIndentMm, const std::vector<std::string>& captions,
                   int columnMm) const {
    int widest = 0;
    for (const std::string& caption : captions)
      widest = std::max(widest, canvas_.inkBox(0, 0, caption).right);
    const double reachMm = captionIndentMm + widest / canvas_.pxPerMm + kCaptionGapMm;
    return std::max(columnMm, static_cast<int>(std::ceil(reachMm)));
  }

  // A value of the conditions table on the current row, in its column; a
  // caption long enough to reach the column pushes it further right.
  void value(int indentMm, const std::string& text) {
    TextCursor& cursor = canvas_.cursor;
    cursor.indentMm = indentMm;
    cursor.rowMm = cursor.lineMm;
    const PixelPoint at = canvas_.cursorPosition();
    TextBox row = canvas_.printableArea();
    row.top = at.y;
    row.bottom = at.y + canvas_.emHeight();
    canvas_.writeLabel(at.x, at.y, text, {GiveWay::kRight, row});
  }

  // A section heading ("■条　件", "■荷重の計算"): 1 mm above its row.
  void sectionHeading(std::string_view text) { write(kBase, {std::string(text)}, -1); }

  // A sub- or superscript after the text written last, in 6 points; the body
  // size follows. A script is placed against the main line even right after
  // another script (Ｖ with "0" below and "2" above), so the rest of the line
  // stays on the main line.
  void script(const Piece& piece) {
    const ScriptKind kind =
        piece.kind == Piece::Kind::kSub ? ScriptKind::kSubscript : ScriptKind::kSuperscript;
    script(kind, piece.text, kScriptSize, canvas_.baseFontSize);
  }
  void script(ScriptKind kind, std::string_view text, int size, int restoreSize) {
    canvas_.writeRun("");
    canvas_.writeScript(kind, text, size, restoreSize);
  }

 private:
  ReportCanvas& canvas_;
};

// Everything the page prints from.
struct PageData {
  const CaLC_DATA& data;
  const DesignConditions& conditions;
  const SnowDerivation& snow;
  const WindDerivation& wind;
  bool overhangShown;
};

std::string roughnessText(const CaLC_DATA& data) {
  return roughnessNumeral(data.roughnessIndex + 1);
}

// An empty name adds nothing; the blank between the names always stands.
std::string siteText(const CaLC_DATA& data) {
  return "建設用地：" + data.prefectureName + " " + data.districtName;
}

bool overhangPresent(const CaLC_DATA& data) {
  return data.leftOverhangLength != 0 || data.rightOverhangLength != 0;
}

// ---- Start of the page

// The frame of the printed page: from 1 mm above the top margin, 265 mm high,
// ending above a page number at the foot of the page.
int pageFrameTop(const ReportCanvas& canvas) {
  return canvas.marginTop - canvas.mmToPx(1);
}
int pageFrameBottom(const ReportCanvas& canvas) {
  return canvas.frameBottomAboveFoot(pageFrameTop(canvas) + canvas.mmToPx(265));
}

void startPage(ReportCanvas& canvas, Lines& lines) {
  TextCursor& cursor = canvas.cursor;
  if (canvas.onScreen()) {
    cursor.linePitchMm = 5.0;
    cursor.firstLineMm = 7;
    return;
  }
  // Paper: the page begins a sheet of its own, framed, with its title above the frame.
  canvas.marginTop = canvas.mmToPx(18);
  const int frameTop = pageFrameTop(canvas);
  canvas.drawRect(canvas.marginLeft, frameTop, canvas.marginLeft + canvas.mmToPx(kPageFrameWidthMm),
                  pageFrameBottom(canvas));
  cursor.firstLineMm -= 5;
  cursor.lineMm = cursor.firstLineMm;
  cursor.lineCount = 1;
  lines.newRow();
  canvas.setFontSize(canvas.baseFontSize + 2);
  // A page number at the top of the page keeps its place; the title gives
  // way below it, still above the frame.
  TextBox aboveFrame = canvas.printableArea();
  aboveFrame.bottom = frameTop - canvas.mmToPx(0.5);
  canvas.writeLabel(canvas.marginLeft + canvas.mmToPx(27), canvas.mmToPx(cursor.lineMm + 3),
                    "Tavilo構造計算 ［風荷重､積雪荷重の検討－計算詳細・応力図－］",
                    {GiveWay::kDown, aboveFrame});
  canvas.setFontSize(canvas.baseFontSize);
  lines.newRow();
}

// On the screen the page continues the report image. Should the running line
// lie so high that the framed heading would cover what is drawn already, it
// moves down below it.
void keepClearOfDrawing(ReportCanvas& canvas, Lines& lines) {
  if (!canvas.onScreen() || canvas.usedHeight() <= 0)
    return;
  const double usedMm = (canvas.usedHeight() - canvas.marginTop) / canvas.pxPerMm;
  const int needed = static_cast<int>(std::ceil(usedMm + 3.5 + 2 * lines.pitch()));
  if (canvas.cursor.lineMm < needed)
    canvas.cursor.lineMm = needed;
}

// "風 荷 重 計 算" or "積 雪 荷 重 計 算", enlarged, two pitches above the
// running line, in a frame; the notice it follows beside the frame.
void framedHeading(ReportCanvas& canvas, Lines& lines, std::string_view title,
                   std::string_view notice) {
  canvas.setFontSize(canvas.baseFontSize + 2);
  const int offset = static_cast<int>(std::floor(-2 * lines.pitch()));
  const int top = lines.write(kTitleIndent, {std::string(title)}, offset);
  canvas.setFontSize(canvas.baseFontSize);
  lines.skip(0.5);

  const int textLeft = canvas.marginLeft + canvas.mmToPx(kTitleIndent);
  const int right = textLeft + canvas.mmToPx(canvas.onScreen() ? 55 : 40);
  // The frame keeps clear of the heading's first character.
  const int left = textLeft - canvas.mmToPx(kHeadingFrameGapMm);
  const int frameTop = top - canvas.mmToPx(1.5);
  const int frameBottom = top + canvas.mmToPx(6);
  canvas.drawRect(left, frameTop, right, frameBottom);
  if (notice.empty())
    return;
  // Centred on the frame: the body text is about one em high.
  const int em = canvas.baseFontSize * canvas.pixelsPerInch / 72;
  canvas.writeAt(right + canvas.mmToPx(2), (frameTop + frameBottom) / 2 - em / 2, notice);
}

// ---- Wind: conditions

void windConditions(ReportCanvas& canvas, Lines& lines, const PageData& p) {
  const bool screen = canvas.onScreen();
  const int valueOffset = screen ? 68 : 60;
  const int leftLabel = kBase + 10;
  const int leftValue = kBase + valueOffset;
  const int rightStart = kBase + (screen ? 85 : 80);
  const int rightLabel = rightStart + 10;
  const int rightValue = rightStart + valueOffset;
  const CaLC_DATA& data = p.data;
  const WindDerivation& w = p.wind;

  lines.sectionHeading("■条　件");
  lines.line(leftLabel, {siteText(data)});

  lines.line(leftLabel, {"地表面粗度区分："});
  lines.value(leftValue, roughnessText(data));
  lines.write(rightLabel, {"張り間方向の長さＤ："});
  lines.value(rightValue, fixed(data.spanDirectionLengthD * 10, 4, 0) + " mm");

  lines.line(leftLabel, {"告示で規定された風速　Ｖ"});
  lines.script(ScriptKind::kSubscript, "0", kV0SubscriptSize, canvas.fontSize());
  canvas.writeRun(" ：");
  lines.value(leftValue, digits(data.windSpeedV0) + " m/s");
  if (data.roofClass != RoofClass::Arched) {
    lines.write(rightLabel, {"屋根面が水平面となす角度θ："});
    lines.value(rightValue, fixed(w.roofAngle, 3, 0) + "  度");
  }

  lines.line(leftLabel, {"建物の高さと軒の高さの平均Ｈ："});
  lines.value(leftValue, fixed(w.meanHeight * 1000, 4, 0) + " mm");
  const std::string shape = data.roofClass == RoofClass::Canopy
                                ? roofShapeNameOf(data.roofShape)
                                : buildingShapeNameOf(data.buildingShape);
  lines.write(rightLabel,
              {"屋根面の種類: " + roofTypeNameOf(p.conditions.roofType) + ", " + shape});

  lines.line(leftLabel, {"軒の高さＨ1："});
  lines.value(leftValue, fixed(data.eavesHeightH1 * 10, 4, 0) + " mm");
  if (p.overhangShown) {
    lines.write(rightLabel, {"帳壁部分の地盤面からの高さＺ："});
    lines.value(rightValue, fixed(w.wallHeightZ * 1000, 4, 0) + "  mm");
  }

  lines.line(leftLabel, {"建物の高さＨ2："});
  lines.value(leftValue, fixed(data.buildingHeightH2 * 10, 4, 0) + " mm");
}

// ---- Wind: peak force coefficients

void canopyCoefficients(Lines& lines, const PageData& p) {
  const WindDerivation& w = p.wind;
  const auto& c = w.zoneCoefficients;
  lines.write(kSubHeading, {"A-1)正圧の風力係数 Ｃf正"});
  lines.line(
      kCalc,
      {"地表面粗度区分" + roughnessText(p.data) + "より、Ｚb = " + fixed(w.zb, 4, 0) + "m、Ｚ",
       sub("G"), " = " + fixed(w.zg, 4, 0) + "m、 α = " + fixed(w.roughnessAlpha, 4, 2)});
  lines.line(kCalc, {"Ｇpe = " + fixed(w.gpe, 4, 2) + " (告示第1458号 表２より直線補間）"});
  lines.line(kCalc, {"告示第1454号第3に規定する風力係数"});
  lines.line(kCalc + 10, {"風上側 " + fixed(c[0], 5, 2) + "、  風下側 " + fixed(c[2], 5, 2) + "  " +
                          "(表６より直線補間)"});
  lines.skip(0.5);
  lines.line(kCalc + 10, {"Ｃf正-" + std::string("風上側") + " " + fixed(c[0], 5, 2) + " × " +
                          fixed(w.gpe, 5, 2) + " ＝ " + fixed(w.cfPositive[0], 5, 2)});
  lines.write(kCalc + 80, {"Ｃf正-" + std::string("風下側") + " " + fixed(c[2], 5, 2) + " × " +
                           fixed(w.gpe, 5, 2) + " ＝ " + fixed(w.cfPositive[1], 5, 2)});

  lines.line(kSubHeading, {"A-2)負圧のピーク風力係数"});
  lines.line(kCalc, {"告示第1458号表7より　　Ｇpe（一般部）= " + fixed(3.0, 5, 2) +
                     "、Ｇpe（周辺部）= " + fixed(4.0, 5, 2)});
  lines.line(kCalc, {"告示第1454号第3に規定する風力係数"});
  lines.line(kCalc + 10, {"風上側 " + fixed(c[1], 5, 2) + "、  風下側 " + fixed(c[3], 5, 2) + "  " +
                          "(表６より直線補間)"});
  lines.skip(0.5);
  for (size_t i = 0; i < 4; ++i) {
    const bool windward = i < 2;
    const std::string side = windward ? "風上側" : "風下側";
    const double coefficient = windward ? c[1] : c[3];
    lines.line(kBase + 25,
               {"Ｃf負-" + side + " ＝ " + fixed(coefficient, 5, 2) + " × " +
                fixed(kCanopyZoneFactors[i % 2], 5, 2) + " ＝ " + fixed(w.cfNegative[i], 5, 2) +
                " （ " + std::string(kZoneNames[i % 2]) + " ）"});
  }
}

// Pitched and arched roofs.
void buildingCoefficients(Lines& lines, const PageData& p) {
  const WindDerivation& w = p.wind;
  const bool arched = p.data.roofClass == RoofClass::Arched;
  const std::string shape = buildingShapeNameOf(p.data.buildingShape);

  lines.write(kSubHeading, {"A-1)正圧のピーク風力係数"});
  lines.line(
      kCalc,
      {"地表面粗度区分" + roughnessText(p.data) + "より、Ｚb = " + fixed(w.zb, 2, 0) + "m、Ｚ",
       sub("G"), " = " + fixed(w.zg, 4, 0) + "m、α = " + fixed(w.roughnessAlpha, 4, 2)});
  if (arched) {
    lines.line(kCalc, {"ｆ/ｄ =" + fixed(w.fOverD, 6, 2) + ",   ｈ/ｄ =" + fixed(w.hOverD, 6, 2) +
                       "より"});
  } else {
    const std::string comparison = w.meanHeight > w.zb ? "H＞Zb, θ= " : "H≦Zb, θ= ";
    lines.line(kCalc, {comparison + fixed(w.roofAngle, 3, 0) + " 度より"});
  }
  const std::string tables =
      arched ? " (告示第1458号 表4、表2より直線補間）" : " (告示第1458号 表1、表2より直線補間）";
  lines.line(kCalc,
             {"   Ｃpe = " + fixed(w.cpe, 4, 2) + "、 Ｇpe = " + fixed(w.gpe, 4, 2) + tables});
  lines.line(kCalc, {"Ｃf外圧 = Ｃpe・Ｇpe = " + fixed(w.cpe, 4, 2) + " × " + fixed(w.gpe, 4, 2) +
                     " = " + fixed(w.cfExternal, 4, 2) +
                     ",  Ｃf内圧 = " + fixed(w.cpiPositive, 4, 2) + " (" + shape + ")"});
  lines.skip(1.5);
  lines.line(kCalc, {"　 ピーク風力係数 Ｃf正 ＝ Ｃf外圧[正] - Ｃf内圧[正] ＝ " +
                     fixed(w.cfExternal, 4, 2) + " － ( " + fixed(w.cpiPositive, 4, 2) + " ) ＝ " +
                     fixed(w.cfExternal - w.cpiPositive, 4, 2)});

  lines.skip(0.5);
  lines.line(kSubHeading, {"A-2)負圧のピーク風力係数"});
  lines.line(kCalc, {"告示第1458号 表3より、"});
  const int zones = arched ? 2 : 4;
  const auto zoneText = [&](int i) {
    return " Ｃf外圧 = " + fixed(w.zoneCoefficients[static_cast<size_t>(i)], 4, 2) + " （" +
           std::string(kZoneNames[static_cast<size_t>(i)]) + "）";
  };
  for (int i = 0; i < zones; i += 2) {
    lines.line(kCalc, {zoneText(i)});
    lines.write(kCalc + 55, {zoneText(i + 1)});
    if (i == 0) {
      const std::string inner = " Ｃf内圧 = " + fixed(w.cpiNegative, 4, 2) + " （" + shape + "）";
      lines.write(lines.indentInsideFrame(kCalc + 110, inner), {inner});
    }
  }
  lines.line(kCalc, {"　 ピーク風力係数  Ｃf負 ＝ Ｃf外圧[負]－Ｃf内圧[負]"});
  for (size_t i = 0; i < static_cast<size_t>(zones); ++i) {
    lines.line(kCalc + 35, {"Ｃf負 ＝ " + fixed(w.zoneCoefficients[i], 4, 2) + "－(" +
                            fixed(w.cpiNegative, 4, 2) + "）= " + fixed(w.cfNegative[i], 4, 2) +
                            " （" + std::string(kZoneNames[i]) + "）"});
  }
}

// The curtain wall below an overhang, whose positive pressure adds to the
// uplift of the overhang.
void curtainWallCoefficients(Lines& lines, const PageData& p) {
  const WindDerivation& w = p.wind;
  lines.line(kSubHeading, {"A-3)帳壁の正圧ピーク風力係数"});
  lines.line(kCalc, {"はね出し部の検討において、壁面正圧の影響を考慮する。"});
  lines.line(kCalc,
             {"A-1)と同様、地表面粗度区分" + roughnessText(p.data) +
                  "、Ｚb = " + fixed(w.zb, 2, 0) + "m、Ｚ",
              sub("G"), " = " + fixed(w.zg, 4, 0) + "m、α = " + fixed(w.roughnessAlpha, 4, 2)});
  const double h = w.meanHeight;
  const double z = w.wallHeightZ;
  if (h <= 5) {
    lines.line(kCalc, {"告示第1458号 表8より、Ｈは 5mm以下、Ｃpe(帳壁正) = 1.0"});
  } else if (z <= 5) {
    lines.line(kCalc, {"告示第1458号 表8より、Ｈ > 5 mm かつ Ｚ <= 5 mm、Ｃpe(正) = " +
                       fixed(w.wallCpe, 4, 2)});
  } else {
    lines.line(kCalc, {"告示第1458号 表8より、Ｈ > 5 mm かつ Ｚ > 5 mm、"});
    lines.line(kCalc + 10,
               {"Ｃpe(正) = (Z/H)", sup("2α"), " = (" + plain(z) + "/" + plain(h) + ")",
                sup("2・" + fixed(w.roughnessAlpha, 4, 2)), " = " + fixed(w.wallCpe, 4, 2)});
  }
  lines.line(kCalc + 10,
             {"Ｇpe(正) = " + fixed(w.wallGpe, 4, 2) + " (告示第1458号 表9より直線補間）"});
  lines.line(kCalc, {"Ｃf外圧 = Ｃpe・Ｇpe = " + fixed(w.wallCpe, 4, 2) + " × " +
                     fixed(w.wallGpe, 4, 2) + " = " + fixed(w.wallCfExternal, 4, 2)});
  lines.line(kCalc, {"Ｃf内圧 = " + fixed(w.wallCpi, 4, 2) + " (告示第1458号 表11より)"});
  lines.line(kCalc, {"　 ピーク風力係数 Ｃf正[壁] ＝ Ｃf外圧[正]－Ｃf内圧[正] ＝ " +
                     fixed(w.wallCfExternal, 4, 2) + "－(" + fixed(w.wallCpi, 4, 2) +
                     "）= " + fixed(w.wallCf, 4, 2)});
}

// ---- Wind: velocity pressure and design pressures

void velocityPressure(Lines& lines, const PageData& p) {
  const WindDerivation& w = p.wind;
  const std::string alpha = fixed(w.roughnessAlpha, 3, 2);
  const std::string zg = fixed(w.zg, 4, 0);
  lines.line(kSubHeading, {"B)平均速度圧"});
  if (w.meanHeight <= w.zb) {
    lines.line(kCalc, {"Ｈ≦Ｚb → Ｅr = 1.7×(Ｚb/Ｚ", sub("G"), ")", sup("α"),
                       " = 1.7×( " + fixed(w.zb, 4, 1) + " / " + zg + ")", sup(alpha),
                       " = " + fixed(w.er, 6, 5)});
  } else {
    lines.line(kCalc, {"Ｈ＞Ｚb → Ｅr = 1.7×(Ｈ/Ｚ", sub("G"), ")", sup("α"),
                       "= 1.7×( " + fixed(w.meanHeight, 4, 1) + " / " + zg + " )" + " ", sup(alpha),
                       "= " + fixed(w.er, 6, 5)});
  }
  lines.line(kCalc,
             {"平均速度圧 ｑ＝ 0.6・Ｅr", sup("2"), "・Ｖ", sub("0"), sup("2"),
              " ＝ 0.6 × " + fixed(w.er, 7, 5), sup("2"), " × " + fixed(p.data.windSpeedV0, 3, 0),
              sup("2"), " ＝ " + fixed(w.velocityPressure, 6, 2) + " N/m", sup("2")});
}

void designPressures(Lines& lines, const PageData& p) {
  const WindDerivation& w = p.wind;
  const std::string q = fixed(w.velocityPressure, 6, 2);
  const bool canopy = p.data.roofClass == RoofClass::Canopy;
  const size_t negatives = static_cast<size_t>(std::clamp(w.negativeCount, 0, 4));

  std::vector<std::string> positiveCaptions;
  if (canopy)
    positiveCaptions.assign(kCanopyPositiveCaptions.begin(), kCanopyPositiveCaptions.end());
  else
    positiveCaptions.push_back(" （正圧）");
  std::vector<std::string> negativeCaptions;
  for (size_t i = 0; i < negatives; ++i) {
    negativeCaptions.push_back(canopy ? std::string(kCanopyNegativeCaptions[i])
                                      : " （負圧" + std::string(kZoneNames[i]) + "）");
  }
  std::vector<std::string> captions = positiveCaptions;
  captions.insert(captions.end(), negativeCaptions.begin(), negativeCaptions.end());
  const int column = lines.columnBeside(kCaption, captions, kPressureValue);

  lines.line(kSubHeading, {"C)設計用風圧力　Ｗ＝ｑ･Ｃf"});
  for (size_t i = 0; i < positiveCaptions.size(); ++i) {
    lines.line(kCaption, {positiveCaptions[i]});
    if (canopy) {
      lines.write(column, {"Ｗ正 ＝ " + q + " ×  " + fixed(w.cfPositive[i], 5, 2) + " ＝ " +
                               fixed(w.pressurePositive[i], 8, 2) + " N/m",
                           sup("2")});
    } else {
      lines.write(column, {"Ｗ正 ＝ " + q + " ×  " + fixed(w.cfPositive[0], 5, 2) + " ＝   " +
                               fixed(w.pressurePositive[0], 9, 2) + " N/m",
                           sup("2")});
    }
  }
  for (size_t i = 0; i < negatives; ++i) {
    lines.line(kCaption, {negativeCaptions[i]});
    lines.write(column, {"Ｗ負 ＝ " + q + " × " + fixed(w.cfNegative[i], 5, 2) + " ＝ " +
                             fixed(w.pressureNegative[i], 9, 2) + " N/m",
                         sup("2")});
  }
  lines.line(kCalc, {"本計算用風圧力 → 正圧計算 " + fixed(w.windPositive, 10, 2) + " N/m", sup("2"),
                     "、  負圧計算 " + fixed(w.windNegative, 10, 2) + " N/m", sup("2")});
}

void wallDesignPressure(Lines& lines, const PageData& p) {
  const WindDerivation& w = p.wind;
  lines.line(kSubHeading, {"D)帳壁の設計用風圧力　Ｗ＝ｑ･Ｃf"});
  lines.line(kCaption, {" （正圧）"});
  lines.write(kPressureValue,
              {"Ｗ正 ＝ " + fixed(w.wallVelocityPressure, 6, 2) + " × " + fixed(w.wallCf, 5, 2) +
                   " ＝ " + fixed(w.wallPressure, 9, 2) + " N/m",
               sup("2")});
  lines.line(kCalc,
             {"はね出し部計算用風圧力 → 負圧計算 " + fixed(w.windNegative, 10, 2) + " - " +
                  fixed(w.wallPressure, 9, 2) + " ＝ " + fixed(w.overhangPressure, 10, 2) + " N/m",
              sup("2")});
}

void windPart(ReportCanvas& canvas, Lines& lines, const PageData& p) {
  keepClearOfDrawing(canvas, lines);
  framedHeading(canvas, lines, "風 荷 重 計 算", "平成12年建設省告示第1458号による");
  windConditions(canvas, lines, p);

  lines.newRow();
  lines.newRow();
  lines.sectionHeading("■荷重の計算");
  lines.newRow();
  if (p.data.roofClass == RoofClass::Canopy)
    canopyCoefficients(lines, p);
  else
    buildingCoefficients(lines, p);
  if (p.overhangShown)
    curtainWallCoefficients(lines, p);
  velocityPressure(lines, p);
  designPressures(lines, p);
  if (overhangPresent(p.data))
    wallDesignPressure(lines, p);
}

// ---- Snow

void depthLine(Lines& lines, const PageData& p) {
  const DesignConditions& c = p.conditions;
  const bool derived = c.snowDepthMethod == 1;
  // A free row between the site and the heading, so that the heading does not
  // run into the site row; with an entered depth it holds two blanks.
  if (derived)
    lines.newRow();
  else
    lines.line(kCaption, {"  "});
  lines.newRow();
  lines.sectionHeading("■荷重の計算");
  if (!derived) {
    lines.line(kCaption, {"垂直積雪量d＝ " + digits(c.snowDepth) + " ㎝"});
    return;
  }
  const SnowDerivation& s = p.snow;
  const SnowCoefficients& k = s.depthCoefficients;
  // The formula states its own result. A project file may have brought a
  // depth of its own into the derived field; the calculation used that one,
  // and the page says so on the next line.
  const int formulaDepth = deriveSnowDepth(s.altitudeM, s.seaRatioPercent, k).depthCm;
  lines.line(kCaption, {"垂直積雪量d = α×ｌs＋β×ｒs＋γ ＝ ( " + fixed(k.alpha, 6, 4) + "×" +
                        digits(s.altitudeM) + "＋" + fixed(k.beta, 6, 2) + "×" +
                        fixed(s.seaRatioPercent * 0.01, 5, 2) + "＋" + fixed(k.gamma, 4, 2) +
                        " ）×100 ＝ " + digits(formulaDepth) + " cm"});
  if (formulaDepth != c.snowDepth)
    lines.line(kCaption, {"計算に用いた垂直積雪量 " + digits(c.snowDepth) + " cm（入力値）"});
}

// The surcharge check for large low-pitched roofs (states 1 and 2).
void surchargeLines(ReportCanvas& canvas, Lines& lines, const PageData& p, int siteRowTop) {
  const DesignConditions& c = p.conditions;
  const SnowDerivation& s = p.snow;
  lines.line(kCaption, {"平成19年国土交通省告示第594号規定(割り増し係数)の検討"});
  // dr and d are held to two decimals; they are cut without the binary error
  // that would print a depth of 29 cm as 0.28 m.
  lines.line(kCaption, {"　　張り間方向の長さＤ＝ " + plain(p.data.spanDirectionLengthD * 0.01) +
                        "m、屋根勾配θ＝ " + cut(p.wind.roofAngle, 3, 0) + "度より dr＝ " +
                        fixed(s.dr, 6, 2) + "m"});
  lines.line(kCaption, {"　　屋根形状係数μb ＝ √(cos(1.5×θ)) ＝ " + plain(s.muB)});
  const bool raised = c.snowIncreaseState == kSnowIncreaseRaised;
  const double factor = raised ? s.snowIncreaseFactorRaw : c.snowIncreaseFactor;
  lines.line(kCaption, {"　　割り増し係数α＝ 0.7 + √(" + plain(s.dr) + "/(" + plain(s.muB) + "×" +
                        fixed(c.snowDepth * 0.01, 3, 2) + ")) ＝ " + plain(factor) +
                        (raised ? " ⇒ α＝ 1.0" : "")});
  lines.line(kCaption, {"積雪荷重Ｗs＝ " + digits(c.snowUnitWeight) + "×" + digits(c.snowDepth) +
                        "×" + plain(c.snowIncreaseFactor) + "＝ " + digits(c.snowLoad) + " N/㎡"});
  if (canvas.onPrinter())
    drawRoofSketch(canvas, c.roofType, p.data.roofShape, siteRowTop, pageFrameBottom(canvas));
}

void snowPart(ReportCanvas& canvas, Lines& lines, const PageData& p) {
  const DesignConditions& c = p.conditions;
  // Room for the framed heading below the last wind line.
  lines.newRow();
  lines.newRow();
  lines.newRow();
  lines.skip(0.5);
  framedHeading(canvas, lines, "積 雪 荷 重 計 算",
                c.snowDepthMethod == 1 ? "平成12年建設省告示第1455号による" : "");
  lines.sectionHeading("■条　件");
  const int siteRowTop = lines.line(kCaption, {siteText(p.data)});

  depthLine(lines, p);
  if (c.snowIncreaseState == kSnowIncreaseApplied || c.snowIncreaseState == kSnowIncreaseRaised) {
    surchargeLines(canvas, lines, p, siteRowTop);
    return;
  }
  if (!c.heavySnow) {
    lines.line(kCaption,
               {"平成19年国土交通省告示第594号に規定された「割り増し係数の検討」は、対象外の"
                "ため不要。"});
  }
  lines.line(kCaption, {"積雪荷重Ｗs＝ " + digits(c.snowUnitWeight) + "×" + digits(c.snowDepth) +
                        "＝ " + digits(c.snowUnitWeight * c.snowDepth) + " N/㎡"});
}

// ---- Page end

void finishPage(ReportCanvas& canvas, Lines& lines) {
  if (canvas.onPrinter()) {
    canvas.diagramTop = 0;
    canvas.endPage();
    return;
  }
  lines.line(kCaption, {" "});
  // The diagram section starts at the last row of this page.
  const int y = canvas.lastTextEnd().y;
  TextCursor& cursor = canvas.cursor;
  canvas.diagramTop = static_cast<int>(std::floor(y / canvas.pxPerMm));
  cursor.lineMm = static_cast<int>(
      std::floor((y - canvas.marginTop) / canvas.pxPerMm + 3 * cursor.linePitchMm));
  cursor.lineCount += 3;
  canvas.endPage();
}

// ---- Roof sketch

// How far the figures reach below their top line y0 (the dimension line).
constexpr double kBuildingSketchDepthMm = 27;
constexpr double kCanopySketchDepthMm = 31;

struct SketchPens {
  int outline;
  int thin;
};

void polyline(ReportCanvas& canvas, std::initializer_list<std::pair<double, double>> points) {
  bool first = true;
  for (const auto& [x, y] : points) {
    if (first)
      canvas.moveToMm(x, y);
    else
      canvas.lineToMm(x, y);
    first = false;
  }
}

// Each figure writes its "Ｄ" last: the lowest text of the page, below which a
// footer goes.
void monoPitchSketch(ReportCanvas& canvas, double y0, SketchPens pens) {
  canvas.setPenWidth(pens.outline);
  polyline(canvas, {{142, y0 + 11}, {185, y0 + 3}});
  polyline(canvas, {{145, y0 + 22}, {145, y0 + 11}});
  polyline(canvas, {{185, y0 + 22}, {185, y0 + 3}});
  canvas.setPenWidth(pens.thin);
  polyline(canvas, {{142, y0 + 24}, {142, y0 + 27}, {185, y0 + 27}, {185, y0 + 24}});
  polyline(canvas, {{145, y0 + 11}, {157, y0 + 11}});
  canvas.writeAtMm(158, y0 + 9, "θ");
  canvas.writeAtMm(162, y0 + 23, "Ｄ");
}

// D runs from the eaves to the ridge, the length over which the roof angle is taken.
void gableSketch(ReportCanvas& canvas, double y0, SketchPens pens) {
  canvas.setPenWidth(pens.outline);
  polyline(canvas, {{142, y0 + 12}, {165, y0}, {188, y0 + 12}});
  polyline(canvas, {{145, y0 + 22}, {145, y0 + 11}});
  polyline(canvas, {{185, y0 + 22}, {185, y0 + 11}});
  canvas.setPenWidth(pens.thin);
  polyline(canvas, {{142, y0 + 24}, {142, y0 + 27}, {165, y0 + 27}, {165, y0 + 7}});
  polyline(canvas, {{145, y0 + 11}, {157, y0 + 11}});
  canvas.writeAtMm(152, y0 + 7, "θ");
  canvas.writeAtMm(152, y0 + 23, "Ｄ");
}

void archedSketch(ReportCanvas& canvas, double y0, SketchPens pens) {
  canvas.setPenWidth(pens.outline);
  // The upper part of the ellipse in the box (132, y0)–(194, y0 + 50), between
  // the rays from its centre to the box's top corners.
  canvas.arcMm(132, y0, 194, y0 + 50, 194, y0, 132, y0);
  polyline(canvas, {{141, y0 + 22}, {141, y0 + 8}});
  polyline(canvas, {{185, y0 + 22}, {185, y0 + 8}});
  canvas.setPenWidth(pens.thin);
  polyline(canvas, {{141, y0 + 24},
                    {141, y0 + 27},
                    {163, y0 + 27},
                    {163, y0 + 0.5},
                    {141, y0 + 7.5},
                    {154, y0 + 7.5}});
  canvas.writeAtMm(154, y0 + 4, "θ");
  canvas.writeAtMm(150, y0 + 23, "Ｄ");
}

void canopySketch(ReportCanvas& canvas, double y0, SketchPens pens, bool wing) {
  canvas.setPenWidth(pens.outline);
  if (wing) {
    polyline(canvas, {{142, y0 + 6}, {160, y0 + 12}, {178, y0 + 6}});
    polyline(canvas, {{160, y0 + 12}, {160, y0 + 26}});
  } else {
    polyline(canvas, {{142, y0 + 12}, {160, y0 + 6}, {178, y0 + 12}});
    polyline(canvas, {{160, y0 + 6}, {160, y0 + 26}});
  }
  canvas.setPenWidth(pens.thin);
  polyline(canvas, {{142, y0 + 15}, {142, y0 + 31}, {178, y0 + 31}, {178, y0 + 15}});
  if (wing)
    polyline(canvas, {{145, y0 + 12.5}, {160, y0 + 12.5}});
  else
    polyline(canvas, {{142, y0 + 12.5}, {157, y0 + 12.5}});
  canvas.writeAtMm(wing ? 149 : 151, y0 + 13, "θ");
  canvas.writeAtMm(158, y0 + 27, "Ｄ");
}

}  // namespace

void drawRoofSketch(ReportCanvas& canvas, RoofType roofType, int canopyShape, int siteRowTopPx,
                    int frameBottomPx) {
  const PenSpec saved = canvas.pen();
  const int r = static_cast<int>(std::floor(siteRowTopPx / canvas.pxPerMm));
  const bool canopy = roofType == RoofType::Canopy;
  double y0 = r + (canopy ? 13 : 20);
  // A figure that would hang below the page frame is lifted into it.
  if (frameBottomPx > 0) {
    const double depthMm = (canopy ? kCanopySketchDepthMm : kBuildingSketchDepthMm) + 1;
    y0 = std::min(y0, std::floor(frameBottomPx / canvas.pxPerMm - depthMm));
  }
  const SketchPens pens{canvas.finePenWidth(30), canvas.finePenWidth(7)};
  canvas.setPenColor(kGreyLineColor);
  canvas.setPenStyle(PenStyle::kSolid);
  switch (roofType) {
    case RoofType::MonoPitch:
      monoPitchSketch(canvas, y0, pens);
      break;
    case RoofType::Gable:
      gableSketch(canvas, y0, pens);
      break;
    case RoofType::Arched:
      archedSketch(canvas, y0, pens);
      break;
    case RoofType::Canopy:
      canopySketch(canvas, y0, pens, canopyShape == 1);
      break;
  }
  canvas.setPenColor(canvas.textColor);
  canvas.setPenWidth(saved.width);
  canvas.setPenStyle(saved.style);
}

void drawWindSnowDetailPage(ReportCanvas& canvas, const CaLC_DATA& data,
                            const DesignConditions& conditions, const WindDerivation& wind,
                            const SnowDerivation& snow, bool overhangShown) {
  const PageData page{data, conditions, snow, wind, overhangShown};
  Lines lines(canvas);
  canvas.setFontSize(canvas.baseFontSize);
  startPage(canvas, lines);
  windPart(canvas, lines, page);
  snowPart(canvas, lines, page);
  finishPage(canvas, lines);
}

}  // namespace tavilo
