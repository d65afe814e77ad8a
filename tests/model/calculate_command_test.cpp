#include "model/calculate_command.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "calc/wind_load.h"
#include "form_test_support.h"
#include "model/input_form.h"

namespace tavilo {
namespace {

using testing::FormTest;

constexpr int kTokyo = 12;
constexpr int kRoughnessIII = 2;

class CalculateTest : public FormTest {
 protected:
  // Two spans of the given length, no overhang.
  InputForm twoSpans(const std::string& length) const {
    InputForm form = startedForm();
    std::ignore = form.typeText(FieldId::Span1, length);
    std::ignore = form.stepSpin(FieldId::SpanCount, +1);
    return form;
  }

  // The worked example on the screen: Tokyo (V0 34, d 30 cm, ρ 20),
  // roughness Ⅲ, H1 10000, H2 15000, D 20000, mono-pitch closed, KX-50-12
  // "Z12", finishing 100, live 0, one span of 2500 mm.
  InputForm workedExample() const {
    InputForm form = startedForm();
    std::ignore = form.selectIndex(FieldId::Prefecture, kTokyo);
    std::ignore = form.selectIndex(FieldId::Roughness, kRoughnessIII);
    return form;
  }

  std::optional<InputRefusal> check(const InputForm& form) {
    return checkInputs(form, settings_, conditions_);
  }

  CoefficientSettings settings_;
  DesignConditions conditions_;
};

void expectRefusal(const std::optional<InputRefusal>& refusal, std::string_view message,
                   FieldId focus) {
  ASSERT_TRUE(refusal.has_value());
  EXPECT_EQ(refusal->message, message);
  EXPECT_EQ(refusal->focus, focus);
}

TEST_F(CalculateTest, TotalLengthAgainstTheMaximum) {
  InputForm form = twoSpans("6000");
  EXPECT_FALSE(check(form).has_value()) << "equal to the maximum passes";
  EXPECT_EQ(conditions_.totalDeckLength, 12000);
  EXPECT_EQ(conditions_.beamKindName, "連続梁");

  std::ignore = form.selectIndex(FieldId::Overhang, 1);
  std::ignore = form.typeText(FieldId::LeftOverhang, "200");
  // The second line names the total and the limit.
  expectRefusal(check(form),
                std::string(kDeckTooLongMessage) + "\n（デッキの全長 12,200mm、最大長さ 12,000mm）",
                FieldId::Span1);
  // The span fields are filled although the check failed.
  EXPECT_EQ(conditions_.spanCount, 2);
  EXPECT_EQ(conditions_.spanLengths[0], 6000);
  EXPECT_EQ(conditions_.spanLengths[1], 6000);
  EXPECT_EQ(conditions_.totalDeckLength, 12200);

  // Rule 3 comes before the total length.
  std::ignore = form.typeText(FieldId::LeftOverhang, "199");
  expectRefusal(check(form), kOverhangTooShortMessage, FieldId::LeftOverhang);
  std::ignore = form.typeText(FieldId::LeftOverhang, "0");
  expectRefusal(check(form), kOverhangMissingMessage, FieldId::LeftOverhang);
  std::ignore = form.setText(FieldId::LeftOverhang, "1001");
  expectRefusal(check(form), kOverhangTooLongMessage, FieldId::LeftOverhang);
}

TEST_F(CalculateTest, ShortRightOverhangIsCalculatedWithItsLength) {
  InputForm form = startedForm();
  std::ignore = form.setOverhangCode(kOverhangRight);
  std::ignore = form.setText(FieldId::RightOverhang, "150");
  EXPECT_FALSE(check(form).has_value());
  EXPECT_EQ(conditions_.totalDeckLength, 2650);

  AppState state;
  const CalculateResult result = calculate(form, state);
  ASSERT_TRUE(result.outcome.has_value());
  EXPECT_EQ(result.outcome->conditions.rightOverhang, 150);
  EXPECT_EQ(result.outcome->sections[0].checks.overhang->length, 150);

  std::ignore = form.setText(FieldId::RightOverhang, "0");
  expectRefusal(check(form), kOverhangMissingMessage, FieldId::RightOverhang);
}

TEST_F(CalculateTest, UnitWeightTypedByTheUser) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::SurfaceTreatment, 2);  // "他"
  std::ignore = form.setText(FieldId::UnitWeight, "");
  expectRefusal(check(form), kUnitWeightMessage, FieldId::UnitWeight);
  std::ignore = form.setText(FieldId::UnitWeight, "0");
  expectRefusal(check(form), kUnitWeightMessage, FieldId::UnitWeight);
  std::ignore = form.setText(FieldId::UnitWeight, "127.5");
  expectRefusal(check(form), "デッキの単位重量「127.5」を整数に変換できません。",
                FieldId::UnitWeight);
  std::ignore = form.setText(FieldId::UnitWeight, "135");
  EXPECT_FALSE(check(form).has_value());
}

TEST_F(CalculateTest, LengthTextsThatAreNoWholeNumbersOrNegative) {
  InputForm form = twoSpans("3000");
  std::ignore = form.setText(FieldId::Span2, "12a");
  expectRefusal(check(form), "スパン2の長さ「12a」を整数に変換できません。", FieldId::Span2);
  EXPECT_EQ(conditions_.spanCount, 2);

  std::ignore = form.setText(FieldId::Span2, "-500");
  expectRefusal(check(form), "スパン2の長さが負の値（-500mm）です。0以上の長さを入力して下さい。",
                FieldId::Span2);

  std::ignore = form.setText(FieldId::Span2, "3000");
  std::ignore = form.setOverhangCode(kOverhangRight);
  std::ignore = form.setText(FieldId::RightOverhang, "-100");
  expectRefusal(check(form),
                "右側のはね出し部分の長さが負の値（-100mm）です。[Min-200mm / Max-1,000mm]",
                FieldId::RightOverhang);
}

TEST_F(CalculateTest, ArchedRoofTooSteepDownwards) {
  // H2 far below H1 gives the arched roof an angle of −60 degrees or less.
  ASSERT_LE(roofAngleFor(RoofClass::Arched, 2000, 100, 200), -60);
  InputForm form = startedForm();
  std::ignore = form.clickRoofType(RoofType::Arched);
  std::ignore = form.setText(FieldId::EavesHeightH1, "20000");
  std::ignore = form.setText(FieldId::BuildingHeightH2, "1000");
  std::ignore = form.setText(FieldId::SpanDirectionLengthD, "2000");
  expectRefusal(check(form), kArchedRoofTooSteepMessage, FieldId::BuildingHeightH2);

  // With directly entered loads no roof angle is derived.
  settings_.calcMethod = kCalcMethodDirect;
  EXPECT_FALSE(check(form).has_value());
}

TEST_F(CalculateTest, WorkedExampleThroughTheScreen) {
  InputForm form = workedExample();
  // A project file may have replaced the display text; V0 is the district's.
  std::ignore = form.setText(FieldId::WindSpeedV0, "99");
  AppState state;
  state.conditions.snowIncreaseState = 9;
  const CalculateResult result = calculate(form, state);
  ASSERT_FALSE(result.refusal.has_value()) << result.refusal->message;
  ASSERT_TRUE(result.outcome.has_value());
  ASSERT_TRUE(state.lastOutcome.has_value());

  const CalculationOutcome& o = *result.outcome;
  EXPECT_EQ(o.conditions.windSpeedV0, 34);
  EXPECT_EQ(o.conditions.snowLoad, 600);
  EXPECT_EQ(o.conditions.snowIncreaseState, 2);
  EXPECT_EQ(state.conditions.snowIncreaseState, 2);
  EXPECT_EQ(o.conditions.unitWeight, 127);
  EXPECT_EQ(o.conditions.sectionModulus, 26300);
  EXPECT_EQ(o.conditions.roofTypeName, "片流れ屋根");
  EXPECT_EQ(o.calcData.prefectureName, "東京都");
  ASSERT_TRUE(o.wind.has_value());
  EXPECT_EQ(o.wind->roofAngle, 14);
  std::vector<double> totals;
  for (const auto& s : o.sections)
    totals.push_back(s.analysis.sectionCaseTotal);
  EXPECT_EQ(totals, (std::vector<double>{227, 827, 521, -1724}));
  EXPECT_EQ(form.focus(), FieldId::CalculateButton);
}

TEST_F(CalculateTest, RefusalMovesTheFocusAndKeepsTheLastOutcome) {
  InputForm form = twoSpans("7000");
  AppState state;
  const CalculateResult result = calculate(form, state);
  ASSERT_TRUE(result.refusal.has_value());
  EXPECT_FALSE(result.outcome.has_value());
  EXPECT_FALSE(state.lastOutcome.has_value());
  EXPECT_EQ(form.focus(), FieldId::Span1);
  // The button takes the focus, the message is shown, the focus moves on.
  const FormEvents expected = {
      focusEvent(FieldId::CalculateButton),
      messageEvent(FieldId::Span1, std::string(kDeckTooLongMessage) +
                                       "\n（デッキの全長 14,000mm、最大長さ "
                                       "12,000mm）"),
      focusEvent(FieldId::Span1)};
  EXPECT_EQ(result.events, expected);
}

TEST_F(CalculateTest, OverhangFieldThatKeepsTheFocusStopsTheCommand) {
  InputForm form = startedForm();
  std::ignore = form.selectIndex(FieldId::Overhang, 1);
  std::ignore = form.typeText(FieldId::LeftOverhang, "1200");
  AppState state;
  const CalculateResult result = calculate(form, state);
  ASSERT_TRUE(result.refusal.has_value());
  EXPECT_EQ(result.refusal->focus, FieldId::LeftOverhang);
  EXPECT_EQ(form.text(FieldId::LeftOverhang), "1000");
  EXPECT_FALSE(state.lastOutcome.has_value());
}

TEST_F(CalculateTest, DirectInputLeavesSnowDepthAndDensityAlone) {
  InputForm form = startedForm();
  std::ignore = form.setLayout(kCalcMethodDirect);
  AppState state;
  state.settings.calcMethod = kCalcMethodDirect;
  state.conditions.snowDepth = 0;
  state.conditions.snowUnitWeight = 0;
  std::ignore = form.typeText(FieldId::DirectSnowLoad, "1200");
  const CalculateResult result = calculate(form, state);
  ASSERT_TRUE(result.outcome.has_value());
  const CalculationOutcome& o = *result.outcome;
  EXPECT_FALSE(o.wind.has_value());
  EXPECT_EQ(o.conditions.snowDepth, 0);
  EXPECT_EQ(o.conditions.snowUnitWeight, 0);
  EXPECT_EQ(o.conditions.snowLoad, 1200);
  EXPECT_EQ(o.conditions.windPositive, 100);
  EXPECT_EQ(o.conditions.windNegative, -100);
  EXPECT_EQ(o.conditions.snowIncreaseFactor, 0.0);
}

// Tables marked as sample data show the notice under the site group, and a
// calculation from them with derived loads is marked; an office's own tables
// (the test tables) show and mark nothing.
TEST_F(CalculateTest, SampleTablesAreNoticedOnTheScreenAndMarkedInTheOutcome) {
  InputForm own = startedForm();
  EXPECT_FALSE(own.siteDataIsSample());
  EXPECT_EQ(own.siteDataNotice(), "");
  AppState state;
  ASSERT_TRUE(calculate(own, state).outcome.has_value());
  EXPECT_FALSE(state.lastOutcome->facts.sampleSiteData);

  std::vector<std::string> header = testing::kAddressLines;
  header.front() += ",見本データ";
  write("Data_Address.csv", header);
  InputForm sample = startedForm();
  EXPECT_TRUE(sample.siteDataIsSample());
  EXPECT_EQ(sample.siteDataNotice(), kSampleSiteDataNotice);
  EXPECT_TRUE(sample.takeChanges().window);
  ASSERT_TRUE(calculate(sample, state).outcome.has_value());
  EXPECT_TRUE(state.lastOutcome->facts.sampleSiteData);

  // With the loads entered directly the tables decide nothing of the loads.
  std::ignore = sample.setLayout(kCalcMethodDirect);
  state.settings.calcMethod = kCalcMethodDirect;
  ASSERT_TRUE(calculate(sample, state).outcome.has_value());
  EXPECT_FALSE(state.lastOutcome->facts.sampleSiteData);
  EXPECT_EQ(sample.siteDataNotice(), kSampleSiteDataNotice);

  // A marked snow table alone marks too; it is read again on every change of
  // prefecture, and an office's own one in its place clears the notice.
  std::vector<std::string> snow = testing::kSnowLines;
  snow.front() += ",見本データ";
  write("Data_Address.csv", testing::kAddressLines);
  write("Data_SnowfallV.csv", snow);
  InputForm snowOnly = startedForm();
  EXPECT_EQ(snowOnly.siteDataNotice(), kSampleSiteDataNotice);
  std::ignore = snowOnly.takeChanges();
  write("Data_SnowfallV.csv", testing::kSnowLines);
  std::ignore = snowOnly.selectIndex(FieldId::Prefecture, kTokyo);
  EXPECT_EQ(snowOnly.siteDataNotice(), "");
  EXPECT_TRUE(snowOnly.takeChanges().window);
}

}  // namespace
}  // namespace tavilo
