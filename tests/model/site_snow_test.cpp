#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

constexpr int kAomori = 1;
constexpr int kIwate = 2;
constexpr int kTokyo = 12;

TEST_F(FormTest, PrefectureChangeAppliesItsFirstDistrict) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::Prefecture, kAomori);
  std::ignore = form.selectIndex(FieldId::District, 1);
  EXPECT_EQ(form.districtName(), "弘前市");
  EXPECT_EQ(form.text(FieldId::SnowDepth), "99");

  std::ignore = form.selectIndex(FieldId::Prefecture, kAomori);
  EXPECT_EQ(form.index(FieldId::District), 0);
  EXPECT_EQ(form.districtName(), "青森市");
  EXPECT_EQ(form.siteData().snowDepth, 150);
  EXPECT_EQ(form.text(FieldId::SnowDepth), "150");
  EXPECT_EQ(form.text(FieldId::WindSpeedV0), "32");
  EXPECT_EQ(form.text(FieldId::RadiusR), "20");
  EXPECT_DOUBLE_EQ(form.snowCoefficients().alpha, 0.002);
}

TEST_F(FormTest, ChoosingTheSameDistrictAgainOverwritesATypedDepth) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::SnowDepth, "50");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "20");
  std::ignore = form.selectIndex(FieldId::District, 0);
  EXPECT_EQ(form.text(FieldId::SnowDepth), "140");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "30");
  EXPECT_TRUE(form.heavySnow());
}

TEST_F(FormTest, LocalRuleHintsDifferByTheChange) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::District, 1);  // Hakodate, flag 9
  Hint hint = form.hint(FieldId::SnowModeInput);
  EXPECT_EQ(hint.shortText, "北海道の条例等を必ず確認して下さい。");
  EXPECT_EQ(hint.longText, "北海道/函館市は、個別の規則・基準があります。");

  std::ignore = form.selectIndex(FieldId::Prefecture, kAomori);  // Aomori city first, flag 9
  hint = form.hint(FieldId::SnowModeInput);
  EXPECT_EQ(hint.shortText, "細則有り! 青森県の例規を確認して下さい。");
  EXPECT_EQ(hint.longText, "青森県/青森市は、地区・標高・計算式等による規定があります。");

  std::ignore = form.selectIndex(FieldId::District, 1);  // Hirosaki, no flag
  hint = form.hint(FieldId::SnowModeInput);
  EXPECT_EQ(hint.shortText, "都道府県の条例等を必ず確認して下さい。");
  EXPECT_EQ(hint.longText,
            "積雪等に関する基準を定めている地域があります。都道府県の条例等を必ず確認して下さい。");

  std::ignore = form.selectIndex(FieldId::Prefecture, kTokyo);
  EXPECT_EQ(form.hint(FieldId::SnowModeInput).longText,
            "積雪等に関する基準を定めている地域があります。都道府県の施行細則等を必ず確認して下さ"
            "い。");
}

TEST_F(FormTest, MissingTableValuesShowAsDashes) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::District, 1);  // Hakodate: altitude -5, depth -1
  EXPECT_EQ(form.text(FieldId::AltitudeReference), " --- ");
  EXPECT_EQ(form.text(FieldId::SnowDepthReference), "---");
  EXPECT_EQ(form.text(FieldId::Altitude), "0");
  EXPECT_EQ(form.text(FieldId::SnowDepth), "0");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "20");

  std::ignore = form.selectIndex(FieldId::Prefecture, kTokyo);
  EXPECT_EQ(form.text(FieldId::RadiusR), " 5");
}

TEST_F(FormTest, DepthRuleSetsRhoAndTheHeavySnowBoxOnEveryChange) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::SnowDepth, "99");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "20");
  EXPECT_FALSE(form.heavySnow());
  EXPECT_EQ(form.heavySnowCaptionColour(), kCaptionGrey);

  std::ignore = form.typeText(FieldId::SnowUnitWeight, "40");
  std::ignore = form.typeText(FieldId::SnowDepth, "100");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "30");
  EXPECT_TRUE(form.heavySnow());
  EXPECT_EQ(form.heavySnowCaptionColour(), kCaptionBlack);
  EXPECT_FALSE(form.isEnabled(FieldId::HeavySnow));
}

TEST_F(FormTest, DerivedDepthFollowsAltitudeAndSeaRatio) {
  InputForm form = startedForm();
  std::ignore =
      form.selectIndex(FieldId::Prefecture, kAomori);  // α 0.002, β 0.3, γ 0.9; altitude 3
  const FormEvents events = form.clickSnowModeDerive();
  EXPECT_EQ(events.back(), focusEvent(FieldId::SeaRatio));
  EXPECT_TRUE(form.isEnabled(FieldId::Altitude));
  EXPECT_TRUE(form.isEnabled(FieldId::SeaRatio));
  EXPECT_FALSE(form.isEnabled(FieldId::SnowDepth));
  // 3·0.002 + 20·0.3·0.01 + 0.9 = 0.966 m
  EXPECT_NEAR(form.computedDepthM(), 0.966, 1e-12);
  EXPECT_EQ(form.text(FieldId::SnowDepth), "100");
  EXPECT_EQ(form.derivedSnowDepth(), 100);
  EXPECT_TRUE(form.heavySnow());

  double before = form.computedDepthM();
  for (int step = 0; step < 6; ++step) {
    std::ignore = form.stepSpin(FieldId::Altitude, +1);
    EXPECT_NEAR(form.computedDepthM() - before, 5 * 0.002, 1e-12);
    EXPECT_EQ(form.spinValue(FieldId::SnowDepth) % 10, 0);
    before = form.computedDepthM();
  }
  EXPECT_EQ(form.siteData().altitude, 33) << "the typed altitude becomes the site's";

  // A district change in this mode derives the depth instead of taking the table's.
  std::ignore = form.selectIndex(FieldId::District, 1);  // Hirosaki, altitude 40
  EXPECT_NEAR(form.computedDepthM(), 40 * 0.002 + 0.06 + 0.9, 1e-12);
  EXPECT_EQ(form.text(FieldId::SnowDepth), "100");
  EXPECT_FALSE(form.isEnabled(FieldId::SnowDepth));

  std::ignore = form.clickSnowModeInput();
  EXPECT_EQ(form.text(FieldId::SnowDepth), "99");
  EXPECT_FALSE(form.isEnabled(FieldId::Altitude));
  EXPECT_TRUE(form.isEnabled(FieldId::SnowDepth));
}

TEST_F(FormTest, PuttingAnUnchangedAltitudeStillDerivesTheDepth) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::SnowDepth, "500");
  std::ignore = form.setText(FieldId::Altitude, form.text(FieldId::Altitude));
  // 17·0.0005 + 0.024 + 0.21 = 0.2425 m
  EXPECT_EQ(form.text(FieldId::SnowDepth), "20");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "20");
}

TEST_F(FormTest, DirectMethodSendsTheFocusToTheWindLoad) {
  InputForm form = startedForm();
  std::ignore = form.setLayout(1);
  const FormEvents events = form.clickSnowModeDerive();
  EXPECT_EQ(form.focus(), FieldId::WindPositive);
  EXPECT_EQ(events.back(), focusEvent(FieldId::WindPositive));
}

TEST_F(FormTest, StoredV0TextReplacesOnlyTheDisplay) {
  InputForm form = startedForm();
  std::ignore = form.setText(FieldId::WindSpeedV0, "40");
  EXPECT_EQ(form.text(FieldId::WindSpeedV0), "40");
  EXPECT_EQ(form.siteData().windSpeedV0, 32);
}

TEST_F(FormTest, PrefectureWithoutDistrictsKeepsTheSiteAndSaysSo) {
  InputForm form = startedForm();
  const FormEvents events = form.selectIndex(FieldId::Prefecture, kIwate);
  EXPECT_TRUE(hasMessage(events, FieldId::District, "「岩手県」の地域がありません"));
  EXPECT_TRUE(form.items(FieldId::District).empty());
  EXPECT_EQ(form.index(FieldId::District), -1);
  EXPECT_EQ(form.districtName(), "");
  EXPECT_EQ(form.siteData().windSpeedV0, 32);
  // Nothing to choose: an index outside the list changes nothing.
  EXPECT_TRUE(form.selectIndex(FieldId::District, 0).empty());
}

TEST_F(FormTest, TableReadFailureOnAPrefectureChangeIsReported) {
  InputForm form = startedForm();
  std::filesystem::remove(dir_ / "Data_SnowfallV.csv");
  const FormEvents events = form.selectIndex(FieldId::Prefecture, kAomori);
  EXPECT_TRUE(hasMessage(events, FieldId::Prefecture, "Data_SnowfallV.csv"));
  EXPECT_EQ(form.districtName(), "青森市");
  EXPECT_EQ(form.text(FieldId::SnowDepth), "150");
}

TEST_F(FormTest, MalformedCoefficientsOnADistrictChangeAreReported) {
  write("Data_Address.csv", {testing::kAddressLines[0], testing::kAddressLines[1],
                             "2,ﾊｺﾀﾞﾃ,北海道,函館市,3,34,8,60,0"});
  write("Data_SnowfallV.csv", {testing::kSnowLines[0], testing::kSnowLines[1], "3,0.0009,x,0.3,5"});
  InputForm form = startedForm();
  FormEvents events;
  ASSERT_NO_THROW(events = form.selectIndex(FieldId::District, 1));
  EXPECT_TRUE(hasMessage(events, FieldId::District, "Data_SnowfallV.csv"));
  // The rest of the change still happens, with the coefficients held so far.
  EXPECT_EQ(form.text(FieldId::WindSpeedV0), "34");
  EXPECT_EQ(form.text(FieldId::SnowDepth), "60");
  EXPECT_EQ(form.text(FieldId::RadiusR), "40");
}

}  // namespace
}  // namespace tavilo
