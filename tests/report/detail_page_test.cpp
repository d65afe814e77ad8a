#include "report/detail_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "calc/snow_load.h"
#include "calc/wind_load.h"
#include "report/formatters.h"
#include "report/recording_surface.h"
#include "report/report_canvas.h"
#include "report/report_style.h"

namespace tavilo {
namespace {

// The worked example of the wind derivation: roughness Ⅲ, H1 10 m, H2 15 m,
// D 20 m, V0 34 m/s, a closed gable roof (θ = 14), a left overhang; 30 cm of
// snow on an ordinary site.
struct Example {
  CaLC_DATA data;
  DesignConditions conditions;
  SnowDerivation snow;
  bool overhangShown = true;
};

// Snow load and surcharge as the calculation leaves them for these data.
void applySnow(Example& e) {
  DesignConditions& c = e.conditions;
  c.snowDepth = e.data.snowDepth;
  c.snowUnitWeight = e.data.snowUnitWeight;
  c.snowDepthMethod = e.data.snowDepthMethod;
  c.spanDirectionLengthD = e.data.spanDirectionLengthD;
  c.snowLoad = computeSnowLoad(0, c.snowUnitWeight, c.snowDepth, 0);
  const double theta = roofAngleFor(e.data.roofClass, e.data.eavesHeightH1, e.data.buildingHeightH2,
                                    e.data.spanDirectionLengthD);
  applySnowSurcharge(c, 0, static_cast<int>(theta), e.snow);
}

Example workedExample() {
  Example e;
  CaLC_DATA& d = e.data;
  d.prefectureName = "東京都";
  d.districtName = "千代田区";
  d.roughnessIndex = 2;
  d.eavesHeightH1 = 1000;
  d.buildingHeightH2 = 1500;
  d.spanDirectionLengthD = 2000;
  d.windSpeedV0 = 34;
  d.roofClass = RoofClass::Pitched;
  d.buildingShape = 0;
  d.snowDepth = 30;
  d.snowUnitWeight = 20;
  d.leftOverhangFlag = 1;
  d.leftOverhangLength = 500;
  e.conditions.roofType = RoofType::Gable;
  e.conditions.roofTypeName = "切妻屋根";
  e.conditions.roofClass = RoofClass::Pitched;
  applySnow(e);
  return e;
}

// A roof of 5 degrees (H2 = 11.75 m): the surcharge applies with α = 1.15.
Example surchargedExample() {
  Example e = workedExample();
  e.data.buildingHeightH2 = 1175;
  applySnow(e);
  return e;
}

Example withRoof(Example e, RoofType roofType) {
  e.data.roofClass = e.conditions.roofClass = roofClassOf(roofType);
  e.conditions.roofType = roofType;
  applySnow(e);
  return e;
}

Example withoutOverhang(Example e) {
  e.data.leftOverhangFlag = e.data.leftOverhangLength = 0;
  e.overhangShown = false;
  return e;
}

RecordingSurface screenSurface() {
  return RecordingSurface(72, 565, 3350);
}
RecordingSurface paperSurface() {
  return RecordingSurface(600, 4960, 7015);
}
constexpr double kScreenK = 72 / 25.4;
constexpr double kPaperK = 600 / 25.4;

// Draws the page as it follows the results: on the screen some rows down the
// image, on paper at the top of a new sheet with the denser pitch.
// Returns the canvas state the page leaves.
struct Left {
  int diagramTop;
  int lineMm;
  int marginTop;
  int marginLeft;
};
Left draw(ReportSurface& surface, const Example& e, ReportDevice device = ReportDevice::kScreen) {
  ReportSetup setup;
  setup.device = device;
  ReportCanvas canvas = beginReport(surface, setup);
  if (device == ReportDevice::kScreen)
    canvas.cursor.lineMm = 40;
  else
    canvas.cursor.linePitchMm = 4.0;
  drawWindSnowDetailPage(canvas, e.data, e.conditions, deriveWindLoad(e.data), e.snow,
                         e.overhangShown);
  return {canvas.diagramTop, canvas.cursor.lineMm, canvas.marginTop, canvas.marginLeft};
}

bool has(const RecordingSurface& s, std::string_view part) {
  return s.findText(part) != nullptr;
}

// The text that starts with `start`, whole.
std::string textStartingWith(const RecordingSurface& s, std::string_view start) {
  for (const RecordedText& t : s.texts()) {
    if (t.text.starts_with(start))
      return t.text;
  }
  return "";
}

// The texts drawn on the same row as (and after) the text containing `part`.
std::vector<RecordedText> rowFrom(const RecordingSurface& s, std::string_view part) {
  std::vector<RecordedText> row;
  const RecordedText* first = s.findText(part);
  if (first == nullptr)
    return row;
  bool started = false;
  for (const RecordedText& t : s.texts()) {
    if (&t == first)
      started = true;
    if (started && std::abs(t.y - first->y) <= 4)
      row.push_back(t);
    if (started && t.y > first->y + 4)
      break;
  }
  return row;
}

std::string joined(const std::vector<RecordedText>& texts) {
  std::string all;
  for (const RecordedText& t : texts)
    all += t.text;
  return all;
}

std::vector<RecordedLine> greyLines(const RecordingSurface& s) {
  std::vector<RecordedLine> grey;
  std::copy_if(s.lines().begin(), s.lines().end(), std::back_inserter(grey),
               [](const RecordedLine& l) { return l.pen.color == kGreyLineColor; });
  return grey;
}

// ---- Wind

TEST(DetailPageWind, WorkedExampleValuesInTheirLines) {
  RecordingSurface s = screenSurface();
  draw(s, workedExample());
  EXPECT_EQ(joined(rowFrom(s, "建物の高さと軒の高さの平均Ｈ：")),
            "建物の高さと軒の高さの平均Ｈ：12,500 mm屋根面の種類: 切妻屋根, 閉鎖型");
  EXPECT_EQ(textStartingWith(s, "H"), "H＞Zb, θ= 14 度より");
  EXPECT_EQ(joined(rowFrom(s, "平均速度圧 ｑ")),
            "平均速度圧 ｑ＝ 0.6・Ｅr2・Ｖ02 ＝ 0.6 × 0.830212 × 342 ＝ 478.00 N/m2");
  EXPECT_EQ(joined(rowFrom(s, "Ｗ正 ＝ 478.00")), "Ｗ正 ＝ 478.00 ×   0.61 ＝      294.00 N/m2");
  EXPECT_EQ(joined(rowFrom(s, "（負圧軒頂部）")),
            " （負圧軒頂部）Ｗ負 ＝ 478.00 × -4.08 ＝ -1,951.00 N/m2");
  EXPECT_EQ(joined(rowFrom(s, "本計算用風圧力")),
            "本計算用風圧力 → 正圧計算     294.00 N/m2、  負圧計算  -1,951.00 N/m2");
  // The curtain wall (Z = H > 5 m: the last branch of its rule) and the overhang.
  EXPECT_EQ(joined(rowFrom(s, "Ｃpe(正) = (Z/H)")),
            "Ｃpe(正) = (Z/H)2α = (12.5/12.5)2・0.20 = 1.00");
  EXPECT_EQ(joined(rowFrom(s, "はね出し部計算用風圧力")),
            "はね出し部計算用風圧力 → 負圧計算  -1,951.00 -  1,638.00 ＝  -3,589.00 N/m2");
}

TEST(DetailPageWind, SiteRowsJoinTheNamesWithABlankEvenWhenOneIsEmpty) {
  Example e = workedExample();
  e.data.districtName.clear();  // a prefecture whose district list is empty
  RecordingSurface s = screenSurface();
  draw(s, e);
  const std::vector<RecordedText> sites = s.textsContaining("建設用地：");
  ASSERT_EQ(sites.size(), 2u);
  EXPECT_EQ(sites[0].text, "建設用地：東京都 ");
  EXPECT_EQ(sites[1].text, "建設用地：東京都 ");
}

TEST(DetailPageWind, ScriptSizesAndTheMainLine) {
  RecordingSurface s = screenSurface();
  draw(s, workedExample());
  // V0 of the conditions: the one 7-point subscript of the page.
  const std::vector<RecordedText> v0 = rowFrom(s, "告示で規定された風速");
  ASSERT_GE(v0.size(), 3u);
  EXPECT_EQ(v0[1].text, "0");
  EXPECT_EQ(v0[1].font.sizePt, 7);
  EXPECT_EQ(v0[2].y, v0[0].y);

  // Ｖ with "0" below and "2" above: the superscript is raised from the main
  // line, not from the subscript, and the line goes on at the main line.
  const std::vector<RecordedText> q = rowFrom(s, "平均速度圧 ｑ");
  ASSERT_GE(q.size(), 6u);
  EXPECT_EQ(q[3].text, "0");
  EXPECT_EQ(q[3].font.sizePt, 6);
  EXPECT_EQ(q[3].y, q[0].y + 3);
  EXPECT_EQ(q[4].y, q[0].y - 2);
  EXPECT_EQ(q[5].y, q[0].y);
  EXPECT_EQ(q[5].font.sizePt, 9);
}

TEST(DetailPageWind, ArchedRoofPrintsRatiosAndTwoZonesOnly) {
  RecordingSurface s = screenSurface();
  draw(s, withRoof(workedExample(), RoofType::Arched));
  EXPECT_FALSE(has(s, "屋根面が水平面となす角度θ"));
  EXPECT_FALSE(has(s, "θ= "));
  EXPECT_EQ(textStartingWith(s, "ｆ/ｄ"), "ｆ/ｄ =  0.25,   ｈ/ｄ =  0.50より");
  EXPECT_FALSE(has(s, "軒隅角部"));
  EXPECT_EQ(s.textsContaining("Ｃf負 ＝ -").size(), 2u);
  EXPECT_EQ(s.textsContaining("Ｗ負 ＝ ").size(), 2u);
}

TEST(DetailPageWind, WithoutOverhangNoWallHeightNoA3NoD) {
  RecordingSurface s = screenSurface();
  draw(s, withoutOverhang(workedExample()));
  EXPECT_FALSE(has(s, "帳壁部分の地盤面からの高さＺ"));
  EXPECT_FALSE(has(s, "A-3)"));
  EXPECT_FALSE(has(s, "はね出し部"));
}

TEST(DetailPageWind, CanopyNamesSideAndZoneOfEveryEntry) {
  Example e = withoutOverhang(workedExample());
  e.data.roofShape = 1;
  e = withRoof(e, RoofType::Canopy);
  RecordingSurface s = screenSurface();
  draw(s, e);
  EXPECT_TRUE(has(s, "屋根面の種類: 独立上屋, 翼型屋根"));
  const std::vector<std::string> captions = {
      " （正圧・風上側）",        " （正圧・風下側）",        " （負圧・風上側 一般部）",
      " （負圧・風上側 周辺部）", " （負圧・風下側 一般部）", " （負圧・風下側 周辺部）"};
  std::vector<std::string> drawn;
  for (const RecordedText& t : s.texts()) {
    if (t.text.starts_with(" （"))
      drawn.push_back(t.text);
  }
  EXPECT_EQ(drawn, captions);
  // Each caption carries the pressure of its own entry.
  const WindDerivation w = deriveWindLoad(e.data);
  for (size_t i = 0; i < 4; ++i) {
    const std::string row = joined(rowFrom(s, captions[i + 2]));
    EXPECT_TRUE(row.ends_with(" ＝ " + formatTruncatedSafe(w.pressureNegative[i], 9, 2) + " N/m2"))
        << row;
  }
}

TEST(DetailPageWind, FormulasAndValuesKeepClearOfTheirCaptions) {
  Example canopy = withoutOverhang(workedExample());
  canopy = withRoof(canopy, RoofType::Canopy);
  for (const ReportDevice device : {ReportDevice::kScreen, ReportDevice::kPrinter}) {
    SCOPED_TRACE(device == ReportDevice::kScreen ? "screen" : "paper");
    RecordingSurface s = device == ReportDevice::kScreen ? screenSurface() : paperSurface();
    const Left left = draw(s, canopy, device);
    const double k = s.pixelsPerInch() / 25.4;
    const int gap = static_cast<int>(2 * k);
    // The design pressures of a canopy line up in one column, clear of the
    // longest caption.
    std::vector<int> columns;
    for (const RecordedText& caption : s.texts()) {
      if (!caption.text.starts_with(" （"))
        continue;
      const auto formula = std::find_if(
          s.texts().begin(), s.texts().end(),
          [&](const RecordedText& t) { return t.y == caption.y && t.text.starts_with("Ｗ"); });
      ASSERT_NE(formula, s.texts().end()) << caption.text;
      EXPECT_GE(formula->x, caption.endX + gap) << caption.text;
      columns.push_back(formula->x);
    }
    ASSERT_EQ(columns.size(), 6u);
    EXPECT_EQ(std::count(columns.begin(), columns.end(), columns.front()), 6);

    // A condition's value stays in its column unless its caption reaches it.
    const std::vector<RecordedText> row = rowFrom(s, "建物の高さと軒の高さの平均Ｈ：");
    ASSERT_GE(row.size(), 2u);
    const int column =
        left.marginLeft + static_cast<int>((device == ReportDevice::kScreen ? 4 + 68 : 4 + 60) * k);
    EXPECT_EQ(row[1].x, std::max(column, row[0].endX + static_cast<int>(0.8 * k)));
  }
}

TEST(DetailPageWind, BadRoughnessIsReportedBeforeAnythingIsDrawn) {
  Example e = workedExample();
  e.data.roughnessIndex = 7;
  RecordingSurface s = screenSurface();
  EXPECT_THROW(draw(s, e), UserError);
  EXPECT_TRUE(s.texts().empty());
}

// ---- Snow

TEST(DetailPageSnow, EnteredOrDerivedDepth) {
  RecordingSurface entered = screenSurface();
  draw(entered, workedExample());
  EXPECT_EQ(textStartingWith(entered, "垂直積雪量"), "垂直積雪量d＝ 30 ㎝");
  EXPECT_FALSE(has(entered, "1455"));

  Example e = workedExample();
  e.data.snowDepthMethod = 1;
  e.data.snowDepth = 20;
  e.snow.altitudeM = 25;
  e.snow.seaRatioPercent = 20;
  e.snow.depthCoefficients = {0.0005, 0.12, 0.21, 20};
  applySnow(e);
  RecordingSurface s = screenSurface();
  draw(s, e);
  EXPECT_TRUE(has(s, "平成12年建設省告示第1455号による"));
  EXPECT_EQ(textStartingWith(s, "垂直積雪量"),
            "垂直積雪量d = α×ｌs＋β×ｒs＋γ ＝ ( 0.0005×25＋  0.12× 0.20＋0.21 ）×100 ＝ 20 cm");
  // A free row keeps the heading clear of the site row, as with an entered depth.
  const std::vector<RecordedText> sites = s.textsContaining("建設用地：");
  const std::vector<RecordedText> headings = s.textsContaining("■荷重の計算");
  ASSERT_EQ(headings.size(), 2u);
  EXPECT_GE(headings[1].y - sites[1].y, static_cast<int>(9 * kScreenK));
  EXPECT_FALSE(has(s, "計算に用いた"));
}

// A project file may bring a depth into the derived field that its formula
// does not give: the formula keeps its own result, and the depth the
// calculation used follows on the next line as entered.
TEST(DetailPageSnow, DerivedDepthThatTheFormulaDoesNotGiveIsShownAsEntered) {
  Example e = workedExample();
  e.data.snowDepthMethod = 1;
  e.data.snowDepth = 15;
  e.snow.altitudeM = 285;
  e.snow.seaRatioPercent = 100;
  e.snow.depthCoefficients = {0.0028, -0.12, 0.10, 20};
  applySnow(e);
  for (const ReportDevice device : {ReportDevice::kScreen, ReportDevice::kPrinter}) {
    RecordingSurface s = device == ReportDevice::kScreen ? screenSurface() : paperSurface();
    draw(s, e, device);
    const RecordedText* formula = s.findText("垂直積雪量d = ");
    const RecordedText* used = s.findText("計算に用いた垂直積雪量");
    ASSERT_NE(formula, nullptr);
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(formula->text,
              "垂直積雪量d = α×ｌs＋β×ｒs＋γ ＝ ( 0.0028×285＋ -0.12× 1.00＋0.10 ）×100 ＝ 80 cm");
    EXPECT_EQ(used->text, "計算に用いた垂直積雪量 15 cm（入力値）");
    EXPECT_EQ(used->x, formula->x);
    EXPECT_GT(used->y, formula->y);
    // The snow load is that of the depth used.
    const RecordedText* load = s.findText("積雪荷重Ｗs＝ ");
    ASSERT_NE(load, nullptr);
    EXPECT_TRUE(load->text.starts_with("積雪荷重Ｗs＝ 20×15×")) << load->text;
  }
}

TEST(DetailPageSnow, HeavySnowSiteVersusOrdinarySiteOutsideTheCheck) {
  Example heavy = workedExample();
  heavy.data.snowDepth = 100;
  heavy.data.snowUnitWeight = 30;
  heavy.conditions.heavySnow = true;
  applySnow(heavy);
  RecordingSurface h = screenSurface();
  draw(h, heavy);
  EXPECT_FALSE(has(h, "594"));
  EXPECT_FALSE(has(h, "対象外"));
  EXPECT_EQ(textStartingWith(h, "積雪荷重Ｗs"), "積雪荷重Ｗs＝ 30×100＝ 3000 N/㎡");

  Example ordinary = workedExample();
  ordinary.data.spanDirectionLengthD = 999;  // shorter than 10 m
  applySnow(ordinary);
  RecordingSurface o = screenSurface();
  draw(o, ordinary);
  const RecordedText* note = o.findText("対象外");
  ASSERT_NE(note, nullptr);
  EXPECT_EQ(
      note->text,
      "平成19年国土交通省告示第594号に規定された「割り増し係数の検討」は、対象外のため不要。");
  const RecordedText* load = o.findText("積雪荷重Ｗs");
  EXPECT_EQ(load->text, "積雪荷重Ｗs＝ 20×30＝ 600 N/㎡");
  EXPECT_GT(load->y, note->y);
}

TEST(DetailPageSnow, SurchargeStates1And2) {
  RecordingSurface s = screenSurface();
  draw(s, surchargedExample());
  EXPECT_EQ(textStartingWith(s, "　　張り間方向"),
            "　　張り間方向の長さＤ＝ 20m、屋根勾配θ＝  5度より dr＝   0.06m");
  EXPECT_EQ(textStartingWith(s, "　　屋根形状係数"),
            "　　屋根形状係数μb ＝ √(cos(1.5×θ)) ＝ 0.996");
  EXPECT_EQ(textStartingWith(s, "　　割り増し係数"),
            "　　割り増し係数α＝ 0.7 + √(0.06/(0.996×0.30)) ＝ 1.15");
  EXPECT_EQ(textStartingWith(s, "積雪荷重Ｗs"), "積雪荷重Ｗs＝ 20×30×1.15＝ 690 N/㎡");

  const Example steep = workedExample();  // θ = 14: the computed α is 0.96
  ASSERT_EQ(steep.conditions.snowIncreaseState, kSnowIncreaseRaised);
  RecordingSurface r = screenSurface();
  draw(r, steep);
  EXPECT_TRUE(textStartingWith(r, "　　割り増し係数").ends_with(") ＝ 0.96 ⇒ α＝ 1.0"));
  EXPECT_EQ(textStartingWith(r, "積雪荷重Ｗs"), "積雪荷重Ｗs＝ 20×30×1＝ 600 N/㎡");
}

TEST(DetailPageSnow, DepthOfTwoDecimalsPrintsWithoutBinaryLoss) {
  Example e = surchargedExample();
  e.data.snowDepth = 29;  // 0.29 × 100 is a hair below 29 in binary
  applySnow(e);
  RecordingSurface s = screenSurface();
  draw(s, e);
  EXPECT_NE(textStartingWith(s, "　　割り増し係数").find("×0.29))"), std::string::npos);
}

// ---- Roof sketch

TEST(DetailPageSketch, OnlyOnPaperAndOnlyWithTheSurchargeCheck) {
  RecordingSurface screen = screenSurface();
  draw(screen, surchargedExample());
  EXPECT_TRUE(greyLines(screen).empty());

  Example outside = surchargedExample();
  outside.data.spanDirectionLengthD = 999;
  applySnow(outside);
  RecordingSurface paperWithout = paperSurface();
  draw(paperWithout, outside, ReportDevice::kPrinter);
  EXPECT_TRUE(greyLines(paperWithout).empty());

  RecordingSurface paper = paperSurface();
  draw(paper, withoutOverhang(surchargedExample()), ReportDevice::kPrinter);
  const std::vector<RecordedLine> grey = greyLines(paper);
  ASSERT_FALSE(grey.empty());
  // Outline 30 px and thin lines 7 px at 600 pixels per inch; black again afterwards.
  EXPECT_EQ(grey.front().pen.width, 30);
  EXPECT_EQ(grey.back().pen.width, 7);
  EXPECT_EQ(paper.pen().color, kTextColor);
  // The gable roof from the eaves (142, y0 + 12) to the ridge (165, y0), y0 20 mm below the site
  // row.
  const int r = static_cast<int>(paper.textsContaining("建設用地：")[1].y / kPaperK);
  EXPECT_EQ(grey.front().points[0],
            (PixelPoint{static_cast<int>(142 * kPaperK), static_cast<int>((r + 32) * kPaperK)}));
  EXPECT_EQ(grey.front().points[1],
            (PixelPoint{static_cast<int>(165 * kPaperK), static_cast<int>((r + 20) * kPaperK)}));
}

TEST(DetailPageSketch, FigureLowOnTheSheetIsLiftedIntoTheFrame) {
  // With the overhang's curtain-wall lines the snow part starts so low that
  // a figure hung 20 mm below its site row would cross the foot of the frame.
  RecordingSurface paper = paperSurface();
  draw(paper, surchargedExample(), ReportDevice::kPrinter);
  const RecordedRect& frame = paper.rects().front();
  const int r = static_cast<int>(paper.textsContaining("建設用地：")[1].y / kPaperK);
  ASSERT_GT((r + 20 + 27) * kPaperK, frame.bottom);

  const std::vector<RecordedLine> grey = greyLines(paper);
  ASSERT_FALSE(grey.empty());
  for (const RecordedLine& l : grey) {
    for (const PixelPoint& p : l.points)
      EXPECT_LT(p.y, frame.bottom);
  }
  const RecordedText* d = paper.findText("Ｄ");
  ASSERT_NE(d, nullptr);
  EXPECT_LE(d->y + static_cast<int>(10 * 600 / 72), frame.bottom);
  // Lifted whole: the roof keeps its slope from the eaves up to the ridge.
  const PixelPoint eaves = grey.front().points[0];
  const PixelPoint ridge = grey.front().points[1];
  EXPECT_NEAR(eaves.y - ridge.y, 12 * kPaperK, 1.5);
}

TEST(DetailPageSketch, ArchedRoofDrawsItsCrownArc) {
  Example e = workedExample();
  e.data.buildingHeightH2 = 1040;  // a flat arch: θ = 1, so the surcharge applies
  e = withRoof(e, RoofType::Arched);
  RecordingSurface paper = paperSurface();
  draw(paper, e, ReportDevice::kPrinter);
  const std::vector<RecordedLine> grey = greyLines(paper);
  const auto arc = std::find_if(grey.begin(), grey.end(),
                                [](const RecordedLine& l) { return l.points.size() > 10; });
  ASSERT_NE(arc, grey.end());
  // From about (184.9, y0 + 7.3) over the crown (163, y0) to about (141.1, y0 + 7.3).
  const auto crown = std::min_element(arc->points.begin(), arc->points.end(),
                                      [](PixelPoint a, PixelPoint b) { return a.y < b.y; });
  EXPECT_NEAR(arc->points.front().x / kPaperK, 184.9, 0.2);
  EXPECT_NEAR(arc->points.back().x / kPaperK, 141.1, 0.2);
  EXPECT_NEAR(crown->x / kPaperK, 163, 1.0);
  EXPECT_NEAR((arc->points.front().y - crown->y) / kPaperK, 7.3, 0.1);
}

// ---- Start and end of the page

TEST(DetailPageFrame, PaperPageHasFrameTitleAndEndsItsSheet) {
  RecordingSurface paper = paperSurface();
  const Left left = draw(paper, surchargedExample(), ReportDevice::kPrinter);
  EXPECT_EQ(left.marginTop, static_cast<int>(18 * kPaperK));
  const RecordedRect& frame = paper.rects().front();
  EXPECT_EQ(frame.top, left.marginTop - static_cast<int>(kPaperK));
  EXPECT_EQ(frame.bottom, frame.top + static_cast<int>(265 * kPaperK));
  // The title above the frame: first line 7 − 5 = 2, one row of 4 mm, and 3 mm more.
  const RecordedText* title =
      paper.findText("Tavilo構造計算 ［風荷重､積雪荷重の検討－計算詳細・応力図－］");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->y, static_cast<int>(9 * kPaperK));
  EXPECT_EQ(title->font.sizePt, 12);
  // Everything, the sketch included, stays inside the page frame.
  for (const RecordedText& t : paper.textsOnPage(1))
    EXPECT_LT(t.y, frame.bottom) << t.text;
  EXPECT_EQ(left.diagramTop, 0);
  EXPECT_EQ(paper.pageCount(), 2);
}

TEST(DetailPageFrame, ScreenPageLeavesTheDiagramsAtItsLastRow) {
  RecordingSurface screen = screenSurface();
  const Left left = draw(screen, workedExample());
  EXPECT_FALSE(has(screen, "Tavilo構造計算"));
  // The heading's frame reaches 55 mm from the start of the heading and keeps
  // 1.5 mm clear of its first character.
  const RecordedText* heading = screen.findText("風 荷 重 計 算");
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(screen.rects()[1].right, heading->x + static_cast<int>(55 * kScreenK));
  EXPECT_EQ(screen.rects()[1].left, heading->x - static_cast<int>(1.5 * kScreenK));
  const RecordedText& last = screen.texts().back();
  EXPECT_EQ(last.text, " ");
  EXPECT_EQ(left.diagramTop, static_cast<int>(last.y / kScreenK));
  EXPECT_EQ(left.lineMm, static_cast<int>((last.y - left.marginTop) / kScreenK + 15));
  EXPECT_EQ(screen.pageCount(), 1);
}

TEST(DetailPageFrame, ScreenHeadingKeepsClearOfTheResultsAbove) {
  RecordingSurface screen = screenSurface();
  ReportCanvas canvas = beginReport(screen, {});
  canvas.writeAt(11, 300, "全てＯＫです");  // drawn below the running line
  canvas.cursor.lineMm = 10;
  const Example e = workedExample();
  drawWindSnowDetailPage(canvas, e.data, e.conditions, deriveWindLoad(e.data), e.snow,
                         e.overhangShown);
  EXPECT_GT(screen.rects()[1].top, 300 + 9);
}

}  // namespace
}  // namespace tavilo
