#include "model/form_fields.h"

#include <algorithm>
#include <limits>

#include "calc/catalogue.h"
#include "calc/numbers.h"
#include "location/prefectures.h"

namespace tavilo {
namespace {

constexpr std::string_view kSiteHint = "多雪地域判定に使用|風荷重、積雪荷重の計算に使用します。";
constexpr std::string_view kBuildingSizeHint = "下図を参照下さい。";
constexpr std::string_view kSpanHint = "スパン間隔を単位：㎜で入力して下さい。";
constexpr std::string_view kRatioHint = "Ｐは変更不可、ＧとＰは同値に設定しています。";

constexpr SpinRange kNoRange{};

constexpr FieldInfo list(FieldId id, std::string_view name, Group group, std::string_view caption,
                         std::span<const std::string_view> items, int defaultIndex,
                         std::string_view hint) {
  return {id,           name,     FieldKind::List, group, caption,          "",
          defaultIndex, kNoRange, items,           hint,  KeyRule::NoTyping};
}

constexpr FieldInfo text(FieldId id, std::string_view name, Group group, std::string_view caption,
                         std::string_view defaultText, std::string_view hint,
                         KeyRule keys = KeyRule::Digits) {
  return {id, name, FieldKind::Text, group, caption, defaultText, -1, kNoRange, {}, hint, keys};
}

constexpr FieldInfo spin(FieldId id, std::string_view name, Group group, std::string_view caption,
                         std::string_view defaultText, SpinRange range, std::string_view hint,
                         KeyRule keys = KeyRule::Digits) {
  return {id, name, FieldKind::Spin, group, caption, defaultText, -1, range, {}, hint, keys};
}

constexpr FieldInfo choice(FieldId id, std::string_view name, Group group, std::string_view caption,
                           std::span<const std::string_view> items) {
  return {id,    name, FieldKind::Choice, group, caption, "", 0, kNoRange,
          items, "",   KeyRule::NoTyping};
}

constexpr FieldInfo option(FieldId id, std::string_view name, Group group, std::string_view caption,
                           bool chosen, std::string_view hint) {
  return {id, name, FieldKind::Option, group, caption, "", chosen ? 1 : 0, kNoRange,
          {}, hint, KeyRule::NoTyping};
}

constexpr FieldInfo display(FieldId id, std::string_view name, Group group,
                            std::string_view caption, std::string_view hint = "") {
  return {id, name, FieldKind::Display, group, caption, "", -1, kNoRange,
          {}, hint, KeyRule::NoTyping};
}

constexpr FieldInfo button(FieldId id, std::string_view name, Group group, std::string_view caption,
                           std::string_view hint) {
  return {id, name, FieldKind::Button, group, caption, "", -1, kNoRange,
          {}, hint, KeyRule::NoTyping};
}

// The names of the ratio fields, in their order: one for every load ratio.
constexpr std::array<std::string_view, kLoadRatioCount> kRatioNames = {
    "SettingsRatio1",  "SettingsRatio2",  "SettingsRatio3",  "SettingsRatio4",  "SettingsRatio5",
    "SettingsRatio6",  "SettingsRatio7",  "SettingsRatio8",  "SettingsRatio9",  "SettingsRatio10",
    "SettingsRatio11", "SettingsRatio12", "SettingsRatio13", "SettingsRatio14", "SettingsRatio15",
    "SettingsRatio16", "SettingsRatio17", "SettingsRatio18", "SettingsRatio19", "SettingsRatio20",
    "SettingsRatio21", "SettingsRatio22"};
static_assert(std::none_of(kRatioNames.begin(), kRatioNames.end(),
                           [](std::string_view name) { return name.empty(); }),
              "a load ratio field without its name");

constexpr FieldInfo ratio(int i) {
  return {ratioField(i),
          kRatioNames[static_cast<std::size_t>(i)],
          FieldKind::Text,
          Group::SettingsDialog,
          "",
          "",
          -1,
          kNoRange,
          {},
          kRatioHint,
          KeyRule::Ratio};
}

using G = Group;
using F = FieldId;

constexpr std::array<FieldInfo, kInputScreenFieldCount> kScreenFields = {{
    list(F::DeckType, "DeckType", G::Deck, "デッキ種類", kDeckNames, 0, "デッキを選択して下さい。"),
    list(F::SurfaceTreatment, "SurfaceTreatment", G::Deck, "表面処理", kSurfaceTreatments, 0,
         "デッキの表面処理材料を指定して下さい。"),
    text(F::UnitWeight, "UnitWeight", G::Deck, "単位重量", "127", "選択デッキの重量です",
         KeyRule::UnitWeight),
    list(F::EndJoint, "EndJoint", G::Deck, "端　部", kJointMethods, 0,
         "母屋の板厚が６ｍｍ未満の場合はドリルネジを選択して下さい。"),
    list(F::MidJoint, "MidJoint", G::Deck, "中間部", kJointMethods, 0,
         "中間部梁との接合方法。単純支持の場合、設定は無視されます。"),

    list(F::Prefecture, "Prefecture", G::Site, "都道府県", kPrefectures, 0, kSiteHint),
    list(F::District, "District", G::Site, "地  域", {}, -1, kSiteHint),
    {F::HeavySnow,
     "HeavySnow",
     FieldKind::Check,
     G::Site,
     "多雪地域",
     "",
     0,
     kNoRange,
     {},
     "告示1455号第1規定 "
     "垂直積雪量1ｍ以上の区域|垂直積雪量1ｍ以上の区域または積雪の初終間日数の平均値が30日以上の"
     "区域 （告示1455号：建築基準法施行令　第86条２項但し書規定）",
     KeyRule::NoTyping},

    list(F::Roughness, "Roughness", G::Wind, "粗 度 区 分", kRoughnessNumerals, 0,
         "右図を参照してください。"),
    display(F::WindSpeedV0, "WindSpeedV0", G::Wind, "平均風速 Ｖ0 =      m/sec"),
    text(F::EavesHeightH1, "EavesHeightH1", G::Wind, "軒 の 高 さ   Ｈ１", "10000",
         kBuildingSizeHint),
    text(F::BuildingHeightH2, "BuildingHeightH2", G::Wind, "建 物 の 高 さ Ｈ2", "15000",
         kBuildingSizeHint),
    text(F::SpanDirectionLengthD, "SpanDirectionLengthD", G::Wind, "張り間方向の長さＤ", "20000",
         kBuildingSizeHint),
    choice(F::RoofType, "RoofType", G::Wind, "屋根の種類", kRoofTypeNames),
    choice(F::BuildingShape, "BuildingShape", G::BuildingShape, "建物の形状", kBuildingShapeItems),
    choice(F::RoofShape, "RoofShape", G::RoofShape, "屋根の形状", kRoofShapeNames),

    spin(F::SnowDepth, "SnowDepth", G::Snow, "垂直積雪量", "0", {0, 9000, 10},
         "垂直積雪量1ｍ以上でρ＝３０以上です。 (多雪区域：施行令第86条2項参照）"),
    spin(F::SnowUnitWeight, "SnowUnitWeight", G::Snow, "積雪の単位量ρ", "30", {0, 50, 10},
         "注意：　多雪区域はρ＝３０で、ρは特定行政庁で指定する場合があります。(多雪区域 : "
         "垂直積雪量1ｍ以上 施行令第86条２項）"),
    option(F::SnowModeInput, "SnowModeInput", G::Snow, "上欄へ入力", true,
           "都道府県の条例等を必ず確認して下さい。|北陸等は、個別の詳細な規則・基準があります。"),
    option(F::SnowModeDerive, "SnowModeDerive", G::Snow, "下記値より算出", false,
           "施行令86条・平成12年告示1455号による計算|標高・海率・半径Rより計算します。"),
    display(F::SnowDepthReference, "SnowDepthReference", G::Snow, "", "特定行政庁の指定など参考値"),
    display(F::AltitudeReference, "AltitudeReference", G::Snow, "[標高参考値            ]"),
    spin(F::Altitude, "Altitude", G::Snow, "標高", "25", {0, 3500, 5},
         "区域の標準的な標高|下記に表示される参考値は、行政庁所在地での高さです。積雪量の計算式は"
         "平成12年告示1455号参照。"),
    spin(F::SeaRatio, "SeaRatio", G::Snow, "海率", "20", {0, 100, 5},
         "半径Rに対する海の面積|海率は、半径Rに対する海の面積です。積雪量の計算式は平成12年告示"
         "1455号参照。"),
    display(F::RadiusR, "RadiusR", G::Snow, "R"),

    spin(F::FinishingLoad, "FinishingLoad", G::OtherLoads, "仕上げ", "100", {0, 9000, 50},
         "デッキプレート以外の天井・屋根仕上げ・断熱材等の固定荷重(等分布)を入力してください。"),
    spin(F::LiveLoad, "LiveLoad", G::OtherLoads, "積載", "0", {0, 9000, 50},
         "歩行可能な場合など必要とされるとき、設定して下さい。"),

    spin(F::WindPositive, "WindPositive", G::DirectLoad, "風荷重/正[Ｗw+]", "100", {10, 90000, 100},
         "正圧の風荷重を入力して下さい。"),
    spin(F::WindNegative, "WindNegative", G::DirectLoad, "風荷重/負[Ｗw-]  －", "100",
         {10, 90000, 100}, "負圧の風荷重(絶対値)を入力して下さい。"),
    spin(F::DirectSnowLoad, "DirectSnowLoad", G::DirectLoad, "積 雪 荷 重 [Ｗs]", "100",
         {0, 90000, 100}, "雪荷重を入力して下さい。"),

    spin(F::SpanCount, "SpanCount", G::Span, "スパン数", "1", {1, 4, 1},
         "▲▼キーで設定[1～4]|▲▼キーでデッキ長さ方向のスパン数を設定します。", KeyRule::NoTyping),
    text(F::Span1, "Span1", G::Span, "スパン[mm]", "2500", kSpanHint),
    text(F::Span2, "Span2", G::Span, "スパン[mm]", "2500", kSpanHint),
    text(F::Span3, "Span3", G::Span, "スパン[mm]", "2500", kSpanHint),
    text(F::Span4, "Span4", G::Span, "スパン[mm]", "2500", kSpanHint),
    list(F::Overhang, "Overhang", G::Span, "はね出し", kOverhangItems, 0,
         "はね出しの有無を指定して下さい。"),
    text(F::LeftOverhang, "LeftOverhang", G::Span, "はね出し", "500",
         "はね出し長さを入力して下さい。入力範囲(Min-Max) 200～1000"),
    text(F::RightOverhang, "RightOverhang", G::Span, "はね出し", "500",
         "右部はね出し長さを入力して下さい。入力範囲(Min-Max) 250～1000"),

    button(F::OverviewButton, "OverviewButton", G::Commands, "概　要",
           "プログラム説明|計算プログラムの概要を示します"),
    button(F::FireResistanceButton, "FireResistanceButton", G::Commands, "耐火仕様",
           "耐火内容の表示|屋根３０分耐火の内容を表示します。"),
    button(F::SettingsButton, "SettingsButton", G::Commands, "設　定",
           "荷重設定の変更、荷重の検討比率を変更します。"),
    button(F::LoadButton, "LoadButton", G::Commands, "データ読込",
           "保存データの読込み|保存済みのデータを読み込みます"),
    button(F::SaveButton, "SaveButton", G::Commands, "データ保存",
           "保存|上書き保存　or　名前を付けてデータを保存"),
    button(F::CalculateButton, "CalculateButton", G::Commands, "計　算",
           "結果表示|入力条件の基に、計算結果を表示します"),
    button(F::ExitButton, "ExitButton", G::Commands, "終　了",
           "プログラム終了|プログラムを終了します"),
    button(F::TermsLink, "TermsLink", G::Commands, "本プログラムのご利用について", ""),
}};

constexpr std::array<FieldInfo, 3> kDialogHeadFields = {{
    option(F::SettingsMethodNotices, "SettingsMethodNotices", G::SettingsDialog,
           "告示第1458号及び積雪量より計算する", true,
           "平成12年建設省告示第1458号、垂直積雪量より計算します"),
    option(F::SettingsMethodDirect, "SettingsMethodDirect", G::SettingsDialog,
           "風・雪荷重値を直接入力する", false, "別途算出した風荷重・雪荷重値を使用します。"),
    spin(F::SettingsMaxDeckLength, "SettingsMaxDeckLength", G::SettingsDialog,
         "デッキプレート最大長さ", "12000", {0, 90000, 50}, "規定値12ｍ"),
}};

constexpr auto kRatioFields = [] {
  std::array<FieldInfo, kLoadRatioCount> fields{};
  for (int i = 0; i < kLoadRatioCount; ++i)
    fields[static_cast<std::size_t>(i)] = ratio(i);
  return fields;
}();

constexpr std::array<FieldInfo, 3> kDialogButtonFields = {{
    button(F::SettingsResetButton, "SettingsResetButton", G::SettingsDialog, "初期値へ戻す",
           "建築基準法施行令に定められた値に設定します"),
    button(F::SettingsApplyButton, "SettingsApplyButton", G::SettingsDialog, "  設    定",
           "設定終了"),
    button(F::SettingsCancelButton, "SettingsCancelButton", G::SettingsDialog, " キャンセル",
           "設定を破棄します"),
}};

constexpr FieldInfo kNoneField = display(F::None, "", G::Commands, "");

// A test build changes the description of one field, to prove that both
// views follow it.
#ifdef TAVILO_CHANGED_FIELD
#include TAVILO_CHANGED_FIELD
constexpr FieldInfo changedFieldInfo() {
  FieldInfo info = kScreenFields[fieldIndex(kChangedField)];
  info.caption = kChangedCaption;
  return info;
}
constexpr FieldInfo kChangedFieldInfo = changedFieldInfo();
#endif

constexpr std::array<std::array<std::string_view, 4>, 4> kArrangementPictures = {{
    {"Image1_S1_C0", "Image5_S1_CL", "Image9_S1_CR", "Image13_S1_CLR"},
    {"Image2_S2_C0", "Image6_S2_CL", "Image10_S2_CR", "Image14_S2_CLR"},
    {"Image3_S3_C0", "Image7_S3_CL", "Image11_S3_CR", "Image15_S3_CLR"},
    {"Image4_S4_C0", "Image8_S4_CL", "Image12_S4_CR", "Image16_S4_CLR"},
}};

}  // namespace

const FieldInfo& fieldInfo(FieldId id) {
#ifdef TAVILO_CHANGED_FIELD
  if (id == kChangedField)
    return kChangedFieldInfo;
#endif
  const std::size_t i = fieldIndex(id);
  if (i < kScreenFields.size())
    return kScreenFields[i];
  const std::size_t dialog = i - kScreenFields.size();
  if (dialog < kDialogHeadFields.size())
    return kDialogHeadFields[dialog];
  const std::size_t ratioIndex = dialog - kDialogHeadFields.size();
  if (ratioIndex < kRatioFields.size())
    return kRatioFields[ratioIndex];
  const std::size_t buttonIndex = ratioIndex - kRatioFields.size();
  if (buttonIndex < kDialogButtonFields.size())
    return kDialogButtonFields[buttonIndex];
  return kNoneField;
}

Hint splitHint(std::string_view hint) {
  const std::size_t bar = hint.find('|');
  if (bar == std::string_view::npos)
    return {std::string(hint), std::string(hint)};
  return {std::string(hint.substr(0, bar)), std::string(hint.substr(bar + 1))};
}

bool isDigitKey(char32_t c) {
  return c >= U'0' && c <= U'9';
}
bool acceptsDigitsKey(char32_t c) {
  return isDigitKey(c) || c == kBackspace;
}
bool acceptsRatioKey(char32_t c) {
  return isDigitKey(c) || c == U'.' || c == kBackspace;
}

int stepSpinValue(int reading, int direction, const SpinRange& range) {
  const long long step = direction > 0 ? range.step : direction < 0 ? -range.step : 0;
  const long long next =
      std::clamp(static_cast<long long>(reading) + step, static_cast<long long>(range.min),
                 static_cast<long long>(range.max));
  return static_cast<int>(next);
}

int spinReading(std::string_view text, const SpinRange& range) {
  if (const auto value = parseInteger(text))
    return *value;
  // Digits that overflow an int still say "a very large number".
  const bool negative = !text.empty() && text.front() == '-';
  const std::string_view digits = text.substr(!text.empty() && (text[0] == '-' || text[0] == '+'));
  const bool allDigits = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  if (allDigits)
    return negative ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  return range.min;
}

int clampToRange(int value, const SpinRange& range) {
  return std::clamp(value, range.min, range.max);
}

std::string_view arrangementPictureName(int spanCount, int overhangCode) {
  const int row = std::clamp(spanCount, 1, 4) - 1;
  const int column = overhangCode >= 1 && overhangCode <= 3 ? overhangCode : 0;
  return kArrangementPictures[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

const ScreenLayout& layoutFor(int calcMethod) {
  return calcMethod == 1 ? kDirectMethodLayout : kNoticeMethodLayout;
}

}  // namespace tavilo
