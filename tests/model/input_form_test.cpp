#include "model/input_form.h"

#include <gtest/gtest.h>
#include <tuple>

#include "calc/errors.h"
#include "form_test_support.h"

namespace tavilo {
namespace {

using testing::FormTest;

TEST(FieldTable, EveryEntryStandsAtItsOwnId) {
  for (std::size_t i = 0; i < kFieldCount; ++i) {
    const auto id = static_cast<FieldId>(i);
    EXPECT_EQ(fieldInfo(id).id, id) << "entry " << i;
  }
  EXPECT_EQ(fieldInfo(FieldId::SettingsRatio22).keys, KeyRule::Ratio);
  EXPECT_EQ(fieldInfo(FieldId::SettingsCancelButton).caption, " キャンセル");
}

TEST_F(FormTest, StartUpShowsTheFirstDistrictOfHokkaido) {
  const InputForm form = startedForm();
  EXPECT_EQ(form.prefectureName(), "北海道");
  EXPECT_EQ(form.items(FieldId::District), (std::vector<std::string>{"札幌市", "函館市"}));
  EXPECT_EQ(form.index(FieldId::District), 0);
  EXPECT_EQ(form.districtName(), "札幌市");
  EXPECT_EQ(form.text(FieldId::WindSpeedV0), "32");
  EXPECT_EQ(form.text(FieldId::AltitudeReference), "17");
  EXPECT_EQ(form.text(FieldId::Altitude), "17");
  EXPECT_EQ(form.text(FieldId::SnowDepthReference), "140");
  EXPECT_EQ(form.text(FieldId::SnowDepth), "140") << "the district's depth, not the derived one";
  EXPECT_EQ(form.text(FieldId::RadiusR), "40");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "30");
  EXPECT_TRUE(form.heavySnow());
  EXPECT_FALSE(form.isEnabled(FieldId::HeavySnow));
  EXPECT_FALSE(form.isEnabled(FieldId::Altitude));
  EXPECT_FALSE(form.isEnabled(FieldId::SeaRatio));
  EXPECT_TRUE(form.isEnabled(FieldId::SnowDepth));
  EXPECT_EQ(form.snowMode(), kSnowModeInput);
  EXPECT_EQ(form.focus(), FieldId::DeckType);
  EXPECT_EQ(form.hint(FieldId::SnowModeInput).longText,
            "北陸等は、個別の詳細な規則・基準があります。");

  EXPECT_TRUE(form.isShown(FieldId::BuildingShape));
  EXPECT_FALSE(form.isShown(FieldId::RoofShape));
  EXPECT_FALSE(form.isShown(FieldId::WindPositive));
  EXPECT_EQ(form.layoutMethod(), 0);
  EXPECT_EQ(form.arrangementPicture(), "Image1_S1_C0");
  EXPECT_FALSE(form.isShown(FieldId::Span2));
  EXPECT_FALSE(form.isShown(FieldId::LeftOverhang));
  EXPECT_EQ(form.text(FieldId::UnitWeight), "127");
  EXPECT_EQ(form.text(FieldId::EndJoint), "焼抜き栓溶接 (母屋板厚≧6mm)");
}

TEST_F(FormTest, StartUpWithoutTablesStillLeavesAUsableScreen) {
  std::filesystem::remove(dir_ / "Data_SnowfallV.csv");
  InputForm form{LocationTables(dir_)};
  EXPECT_THROW(form.startUp(), UserError);
  EXPECT_EQ(form.districtName(), "札幌市") << "the address table was read";
  EXPECT_EQ(form.text(FieldId::SnowDepth), "140");
  EXPECT_EQ(form.snowMode(), kSnowModeInput);
}

TEST_F(FormTest, HintsSplitIntoTooltipAndStatusBar) {
  InputForm form = startedForm();
  const Hint site = form.hint(FieldId::Prefecture);
  EXPECT_EQ(site.shortText, "多雪地域判定に使用");
  EXPECT_EQ(site.longText, "風荷重、積雪荷重の計算に使用します。");
  const Hint deck = form.hint(FieldId::DeckType);
  EXPECT_EQ(deck.shortText, "デッキを選択して下さい。");
  EXPECT_EQ(deck.longText, deck.shortText);

  form.setVersionText("5.4");
  EXPECT_EQ(form.versionLabel(), "ver.5.4");
  EXPECT_TRUE(form.statusText().ends_with("　ver.5.4"));
  form.pointerRestsOn(FieldId::Prefecture);
  EXPECT_EQ(form.statusText(), "風荷重、積雪荷重の計算に使用します。");
}

TEST_F(FormTest, DigitFieldsDropEverythingButDigits) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::EavesHeightH1, "12.5");
  EXPECT_EQ(form.text(FieldId::EavesHeightH1), "125");
  std::ignore = form.typeKeys(FieldId::EavesHeightH1, "\b\r-7");
  EXPECT_EQ(form.text(FieldId::EavesHeightH1), "127");
  std::ignore = form.typeText(FieldId::Span1, "３０a00");  // full-width digits are not digits
  EXPECT_EQ(form.text(FieldId::Span1), "00");

  // The span count takes no typing at all, only its arrows.
  std::ignore = form.typeText(FieldId::SpanCount, "3");
  EXPECT_EQ(form.text(FieldId::SpanCount), "1");
  EXPECT_FALSE(form.acceptsKey(FieldId::SpanCount, U'\b'));
}

// Only well-formed UTF-8 reaches the key rules: an overlong form of a digit,
// a point or a backspace, or an encoded surrogate, is bytes of no character.
TEST_F(FormTest, KeyFilterRefusesMalformedUtf8) {
  InputForm form = startedForm();
  std::ignore = form.typeText(FieldId::Span1, "12");
  for (const std::string_view malformed :
       {"\xC0\xB1", "\xE0\x80\xB1", "\xF0\x80\x80\xB1", "\xE0\x80\x88", "\xED\xA0\x80",
        "\xED\xBF\xBF\xED\xA0\xB1", "\xF4\x90\x80\xB1", "\xE3\x81"}) {
    std::ignore = form.typeKeys(FieldId::Span1, malformed);
    EXPECT_EQ(form.text(FieldId::Span1), "12") << ::testing::PrintToString(malformed);
    std::ignore = form.editText(FieldId::Span1, std::string("12") + std::string(malformed));
    EXPECT_EQ(form.text(FieldId::Span1), "12") << ::testing::PrintToString(malformed);
  }
  // The characters around an overlong '1' are still typed.
  const std::string overlongOne = "\xE0\x80\xB1";
  std::ignore = form.typeKeys(FieldId::Span1, "3" + overlongOne + "4");
  EXPECT_EQ(form.text(FieldId::Span1), "1234");
}

TEST_F(FormTest, SpinFieldsKeepTheirRange) {
  InputForm form = startedForm();
  // Set by the program: into range at once; a non-integer reads as the minimum.
  std::ignore = form.setText(FieldId::SnowUnitWeight, "70");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "50");
  std::ignore = form.setText(FieldId::WindPositive, "abc");
  EXPECT_EQ(form.text(FieldId::WindPositive), "10");

  // Typed: kept until the field loses the focus.
  std::ignore = form.typeText(FieldId::FinishingLoad, "99999");
  EXPECT_EQ(form.text(FieldId::FinishingLoad), "99999");
  EXPECT_EQ(form.spinValue(FieldId::FinishingLoad), 9000);
  std::ignore = form.focusField(FieldId::LiveLoad);
  EXPECT_EQ(form.text(FieldId::FinishingLoad), "9000");
  std::ignore = form.typeText(FieldId::LiveLoad, "\b");
  EXPECT_EQ(form.text(FieldId::LiveLoad), "");
  std::ignore = form.focusField(FieldId::DeckType);
  EXPECT_EQ(form.text(FieldId::LiveLoad), "0");

  // Arrows: by the step, never out of range.
  std::ignore = form.stepSpin(FieldId::FinishingLoad, -1);
  EXPECT_EQ(form.text(FieldId::FinishingLoad), "8950");
  std::ignore = form.setText(FieldId::SeaRatio, "100");
  form.setEnabled(FieldId::SeaRatio, true);
  std::ignore = form.stepSpin(FieldId::SeaRatio, +1);
  EXPECT_EQ(form.text(FieldId::SeaRatio), "100");
  // A typed digit run too long for an integer is still "too large".
  std::ignore = form.setText(FieldId::LiveLoad, "123456789012345");
  EXPECT_EQ(form.text(FieldId::LiveLoad), "9000");
  std::ignore = form.typeText(FieldId::LiveLoad, "99999999999");
  std::ignore =
      form.stepSpin(FieldId::LiveLoad, -1);  // one step down from far above is still the top
  EXPECT_EQ(form.text(FieldId::LiveLoad), "9000");
}

}  // namespace
}  // namespace tavilo

namespace tavilo {
namespace {

using testing::FormTest;

// A window's text field reports whole texts; they pass the same filters as
// key-by-key typing.
TEST_F(FormTest, WholeTextEditsPassTheKeyFilters) {
  InputForm form = startedForm();
  std::ignore = form.editText(FieldId::EavesHeightH1, "12.5");
  EXPECT_EQ(form.text(FieldId::EavesHeightH1), "125") << "a pasted decimal loses its point";

  std::ignore = form.editText(FieldId::UnitWeight, "12");
  EXPECT_EQ(form.text(FieldId::UnitWeight), "127") << "a catalogue weight takes no editing";
  std::ignore = form.selectIndex(FieldId::SurfaceTreatment, kSurfaceTreatmentOther);
  std::ignore = form.editText(FieldId::UnitWeight, "1a3Ｘ5");
  EXPECT_EQ(form.text(FieldId::UnitWeight), "135");

  std::ignore = form.editText(FieldId::FinishingLoad, "99999");
  EXPECT_EQ(form.text(FieldId::FinishingLoad), "99999") << "out of range only on leaving";
  std::ignore = form.focusField(FieldId::DeckType);
  EXPECT_EQ(form.text(FieldId::FinishingLoad), "9000");

  std::ignore = form.editText(FieldId::SnowDepth, "99");
  EXPECT_EQ(form.text(FieldId::SnowUnitWeight), "20") << "an edited depth runs the heavy-snow rule";
  EXPECT_FALSE(form.heavySnow());

  std::ignore = form.editText(FieldId::SpanCount, "3");
  EXPECT_EQ(form.spinValue(FieldId::SpanCount), 1) << "the span count takes no typing";
  std::ignore = form.editText(FieldId::District, "函館市");
  EXPECT_EQ(form.index(FieldId::District), 0) << "a list is chosen, not typed";
}

TEST_F(FormTest, ChangesReportOnlyWhatMoved) {
  InputForm form = startedForm();
  const FormChanges all = form.takeChanges();
  EXPECT_EQ(all.fields.size(), kInputScreenFieldCount);
  EXPECT_TRUE(all.groups && all.window && all.pictures);
  EXPECT_FALSE(form.takeChanges().any());

  std::ignore = form.editText(FieldId::EavesHeightH1, "9000");
  FormChanges c = form.takeChanges();
  EXPECT_EQ(c.fields, std::vector<FieldId>{FieldId::EavesHeightH1});
  EXPECT_FALSE(c.groups || c.pictures);

  std::ignore = form.clickRoofType(RoofType::Canopy);
  c = form.takeChanges();
  EXPECT_EQ(c.fields, std::vector<FieldId>{FieldId::RoofType});
  EXPECT_TRUE(c.groups) << "the roof-shape group replaces the building-shape group";
  EXPECT_TRUE(c.pictures);

  std::ignore = form.stepSpin(FieldId::SpanCount, +1);
  c = form.takeChanges();
  EXPECT_NE(std::find(c.fields.begin(), c.fields.end(), FieldId::Span2), c.fields.end());
  EXPECT_TRUE(c.pictures) << "arrangement picture and right overhang place";

  std::ignore = form.selectIndex(FieldId::Prefecture, 12);  // 東京都
  c = form.takeChanges();
  for (const FieldId id : {FieldId::District, FieldId::WindSpeedV0, FieldId::SnowDepth,
                           FieldId::SnowUnitWeight, FieldId::HeavySnow, FieldId::RadiusR}) {
    EXPECT_NE(std::find(c.fields.begin(), c.fields.end(), id), c.fields.end())
        << static_cast<int>(id);
  }
}

}  // namespace
}  // namespace tavilo
