#include "report/design_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "report/recording_surface.h"

namespace tavilo {
namespace {

DesignConditions oneSpan() {
  DesignConditions c;
  c.deckName = "KX-50-12";
  c.unitWeight = 127.6;
  c.sectionModulus = 26300;
  c.momentOfInertia = 809000;
  c.endJointName = "焼抜き栓溶接";
  c.endJointCapacity = 1170;
  c.midJointName = "ドリルネジ";
  c.midJointCapacity = 2400;
  c.prefectureName = "東京都";
  c.districtName = "千代田区";
  c.windSpeedV0 = 34;
  c.spanLengths = {2500, 0, 0, 0};
  c.finishingLoad = 400;
  c.windPositive = 560;
  c.windNegative = -1951;
  c.snowLoad = 600;
  return c;
}

ReportFacts facts(int treatment = 0, bool overhang = false) {
  ReportFacts f;
  f.surfaceTreatmentIndex = treatment;
  f.surfaceTreatmentText = treatment == kSurfaceTreatmentOther ? "他" : "Z12";
  f.unitWeightText = "127.6";
  f.overhangSelected = overhang;
  return f;
}

CoefficientSettings method(int calcMethod) {
  CoefficientSettings s;
  s.calcMethod = calcMethod;
  return s;
}

// Page 1 drawn on the screen (72 ppi) or on an A4 page at 600 dpi.
struct Page1 {
  Page1(bool printer, const DesignConditions& c, const CoefficientSettings& s, const ReportFacts& f,
        const std::string& projectName = kNoProjectName)
      : surface(printer ? 600 : 72, printer ? 4960 : 565, printer ? 7015 : 3350),
        canvas(surface, setup(printer, projectName)) {
    drawDesignSpecificationPage(canvas, {c, s, -2130, f});
  }
  static ReportSetup setup(bool printer, const std::string& projectName) {
    ReportSetup r;
    r.device = printer ? ReportDevice::kPrinter : ReportDevice::kScreen;
    r.printSettings.projectName = projectName;
    return r;
  }
  const RecordedText* find(std::string_view part) const { return surface.findText(part); }
  std::vector<RecordedRect> outlines() const {
    std::vector<RecordedRect> found;
    std::copy_if(surface.rects().begin(), surface.rects().end(), std::back_inserter(found),
                 [](const RecordedRect& r) { return !r.filled; });
    return found;
  }

  RecordingSurface surface;
  ReportCanvas canvas;
};

TEST(DesignPage, OneSpanFrameOnTheScreen) {
  const Page1 p(false, oneSpan(), {}, facts());
  ASSERT_EQ(p.outlines().size(), 1u);
  const RecordedRect frame = p.outlines()[0];
  EXPECT_EQ(frame.left, 11);
  EXPECT_EQ(frame.top, 34);
  EXPECT_EQ(frame.bottom - frame.top, 177);  // ⌊72.5k⌋ − ⌊10k⌋ = 205 − 28
  EXPECT_EQ(frame.right, 11 + 538);
  EXPECT_EQ(p.canvas.frameBottom, frame.bottom);
  // One joint row; the title in the heading colour ends with the treatment.
  EXPECT_NE(p.find("□接合方法 端部：焼抜き栓溶接  端部耐力：1,170 N"), nullptr);
  EXPECT_EQ(p.find("中間部："), nullptr);
  EXPECT_EQ(p.find("□単純梁")->text, "□単純梁 [ スパン1 = 2,500mm ]");
  const RecordedText* title = p.find("Tavilo構造計算");
  EXPECT_EQ(title->text,
            "Tavilo構造計算－風荷重､積雪荷重の検討－ ［ デッキプレート：KX-50-12(Z12) ］");
  EXPECT_EQ(title->font.color, kHeadingColor);
  // The results heading 3 mm below the frame.
  EXPECT_EQ(p.find(kResultsHeading)->y, frame.bottom + 8);
}

TEST(DesignPage, TitleForTheOtherTreatmentCarriesNoBrackets) {
  EXPECT_EQ(reportTitleText("KX-75-16", facts(kSurfaceTreatmentOther)),
            "Tavilo構造計算－風荷重､積雪荷重の検討－ ［ デッキプレート：KX-75-16 ］");
}

TEST(DesignPage, SpansJointsAndOverhangRows) {
  DesignConditions c = oneSpan();
  c.spanCount = 2;
  c.spanLengths = {1800, 900, 0, 0};
  c.leftOverhang = 500;
  const Page1 p(false, c, {}, facts(0, true));
  EXPECT_EQ(p.canvas.frameBottom - 34, 219);  // ⌊77.5k⌋ with an overhang, two spans
  EXPECT_EQ(p.find("□2連続梁")->text, "□2連続梁 [ スパン1 = 1,800mm,  スパン2 =   900mm ]");
  EXPECT_EQ(p.find("□はね出し部")->text, "□はね出し部 [500mm]");
  EXPECT_NE(p.find("　　端　 部： 焼抜き栓溶接  端部耐力：1,170 N"), nullptr);
  EXPECT_NE(p.find("　　中間部： ドリルネジ  中間部耐力：2,400 N"), nullptr);

  for (const double right : {500.0, 600.0}) {
    c.leftOverhang = right == 500.0 ? 500 : 0;  // both sides, then the right one only
    c.rightOverhang = right;
    const Page1 q(false, c, {}, facts(0, true));
    EXPECT_EQ(q.find("□はね出し部")->text, "□はね出し部 ");
  }
}

TEST(DesignPage, SectionModulusUnitWithSuperscripts) {
  const Page1 p(false, oneSpan(), {}, facts());
  const auto& texts = p.surface.texts();
  const auto at = std::find_if(texts.begin(), texts.end(), [](const RecordedText& t) {
    return t.text == "□断面性能 Z:26.3×10";
  });
  ASSERT_LT(at + 9, texts.end());
  const std::vector<std::string> unit = {"3", "mm", "3", "/m", "、 I:80.9×10",
                                         "4", "mm", "4", "/m"};
  for (std::size_t i = 0; i < unit.size(); ++i)
    EXPECT_EQ(at[static_cast<std::ptrdiff_t>(i) + 1].text, unit[i]);
  EXPECT_EQ(at[1].y, at->y - 2);  // raised ⌊0.8k⌋, in 6 points
  EXPECT_EQ(at[1].font.sizePt, 6);
  EXPECT_EQ(at[2].x, at[1].endX + 4);  // "mm" 1.5 mm further, on the main line
  EXPECT_EQ(at[2].y, at->y);
}

TEST(DesignPage, SiteRowByCalculationMethod) {
  DesignConditions c = oneSpan();
  c.heavySnow = true;
  c.leftOverhang = 500;
  const Page1 notices(false, c, {}, facts(0, true));
  EXPECT_EQ(notices.find("□建設用地")->text, "□建設用地： 東京都千代田区 [平均風速V");
  EXPECT_EQ(notices.find("□建設用地")->x, 14 + 14);  // indent 5 mm from the moved margin
  EXPECT_NE(notices.find(" = 34 m/sec、多雪地域]"), nullptr);
  EXPECT_NE(notices.find("はね出し部用"), nullptr);

  const Page1 direct(false, c, method(kCalcMethodDirect), facts(0, true));
  EXPECT_EQ(direct.find("□建設用地")->text, "□建設用地： 東京都千代田区[多雪地域]");
  for (const char* row : {"□建設用地", "□単純梁", "□はね出し部 "})
    EXPECT_EQ(direct.find(row)->x, 14 + 28) << row;  // indent 10 mm
  EXPECT_EQ(direct.find("平均風速"), nullptr);
  EXPECT_EQ(direct.find("はね出し部用"), nullptr);
}

TEST(DesignPage, LoadValuesSubscriptsAndSnowFactor) {
  DesignConditions c = oneSpan();
  c.snowIncreaseState = 1;
  c.snowIncreaseFactor = 1.25;
  const Page1 p(false, c, {}, facts(0, true));
  EXPECT_NE(p.find("-1,951 N/m"), nullptr);
  EXPECT_NE(p.find("   527 N/m"), nullptr);            // 400 + 127.6, fraction dropped
  EXPECT_NE(p.find("      0 N/m"), nullptr);           // a one-digit value gets two more blanks
  EXPECT_NE(p.find("、単位重量 127.6N/㎡"), nullptr);  // as typed
  EXPECT_NE(p.find("-2130 N/m"), nullptr);

  const RecordedText* wind = p.find("□風荷重(正)W");
  EXPECT_EQ(wind->x, p.canvas.column2X);
  EXPECT_EQ(wind->y, p.canvas.sectionTopY);
  EXPECT_EQ(p.find("□固定荷重W")->y, p.canvas.sectionTopY);
  EXPECT_EQ(p.find("W＋")->y, wind->y + 3);  // ⌈k⌉ lower, in 7 points
  EXPECT_EQ(p.find("W＋")->font.sizePt, 7);
  EXPECT_EQ(p.find(" (α：1.25)")->y, p.find("□積雪荷重W")->y - 2);  // at the superscript

  c.snowIncreaseFactor = 1.0;
  EXPECT_NE(Page1(false, c, {}, facts()).find(" (α：1.0)"), nullptr);
}

TEST(DesignPage, PrinterHeadingBlockNoteAndPitch) {
  const double k = 600 / 25.4;
  const int headerY = static_cast<int>(6 * k);
  const Page1 named(true, oneSpan(), {}, facts(), "倉庫新築工事");
  ASSERT_EQ(named.outlines().size(), 2u);  // the project box and the frame
  EXPECT_EQ(named.outlines()[0].top, headerY + static_cast<int>(5 * k));
  EXPECT_NE(named.find("物件名： 倉庫新築工事"), nullptr);
  EXPECT_EQ(named.outlines()[1].top, headerY + static_cast<int>(17 * k));
  EXPECT_EQ(named.canvas.cursor.rowPitchMm, 4);
  EXPECT_EQ(named.find("Tavilo構造計算")->font.sizePt, 12);
  EXPECT_EQ(named.find(kDetailNote)->y, named.canvas.separatorY + static_cast<int>(k));
  // x = ⌊frameRight − 62k − 20k⌋ with frameRight = ⌊13k⌋ + ⌊185k⌋ = 4677.
  EXPECT_EQ(named.canvas.frameRight, 4677);
  EXPECT_EQ(named.find(kDetailNote)->x, 2739);
  EXPECT_EQ(named.find(kResultsHeading)->y, named.canvas.frameBottom + static_cast<int>(2 * k));

  // No name, or an emptied one: no box, and the frame starts 5 mm higher.
  for (const std::string& none : {std::string(kNoProjectName), std::string()}) {
    const Page1 p(true, oneSpan(), method(kCalcMethodDirect), facts(), none);
    ASSERT_EQ(p.outlines().size(), 1u);
    EXPECT_EQ(p.outlines()[0].top, headerY + static_cast<int>(17 * k) - static_cast<int>(5 * k));
    EXPECT_EQ(p.find("物件名"), nullptr);
    EXPECT_EQ(p.find(kDetailNote), nullptr);  // direct input has no detail page
  }
}

TEST(DesignPage, LongProjectNameIsSetSmallerThenWrappedInsideItsBox) {
  const double k = 600 / 25.4;
  const auto name = [](int characters) {
    std::string text;
    for (int i = 0; i < characters; ++i)
      text += "棟";
    return text;
  };
  struct Case {
    int characters;
    std::size_t lines;
  };
  // 45 characters fit in a smaller size, the 65 the dialog allows need two
  // lines of 7 points, a longer name from a file more.
  for (const Case c : {Case{45, 1}, Case{65, 2}, Case{130, 3}}) {
    SCOPED_TRACE(c.characters);
    const Page1 p(true, oneSpan(), {}, facts(), name(c.characters));
    const RecordedRect box = p.outlines()[0];
    const RecordedRect frame = p.outlines()[1];
    std::vector<RecordedText> lines;
    for (const RecordedText& t : p.surface.texts()) {
      if (t.y < frame.top - static_cast<int>(6 * k) && t.text.find("棟") != std::string::npos)
        lines.push_back(t);
    }
    ASSERT_EQ(lines.size(), c.lines);
    for (const RecordedText& t : lines) {
      EXPECT_GE(t.font.sizePt, 7);
      EXPECT_LT(t.font.sizePt, 10);
      EXPECT_GT(t.y, box.top);
      EXPECT_LT(t.y + t.font.sizePt * 600 / 72, box.bottom);
      EXPECT_LT(t.endX, box.right);
    }
    // The page below keeps its distance from a box that grew.
    EXPECT_EQ(frame.top - box.bottom, static_cast<int>(17 * k) - static_cast<int>(11 * k));
  }
}

}  // namespace
}  // namespace tavilo
