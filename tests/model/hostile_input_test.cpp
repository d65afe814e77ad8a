// Hostile project files and tables, each a finding of the fuzz campaign: the
// load or the calculate command refuses them with a message in the system's
// voice and nothing overflows, hangs or calculates on stale data.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "calc/app_state.h"
#include "calc/case_titles.h"
#include "form_test_support.h"
#include "model/calculate_command.h"
#include "model/project_file.h"

namespace tavilo {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using Lines = std::vector<std::string>;

struct Session {
  InputForm form;
  SettingsDialog dialog;
  AppState state;
  PrintSettings print;
  ProjectPaths paths;

  ProjectContext context() { return {form, dialog, state.settings, print, paths}; }
  ProjectLoad apply(const Lines& lines) { return applyProjectLines(lines, "p.tvl", context()); }
  CalculateResult calculate() { return tavilo::calculate(form, state); }
};

class HostileInputTest : public testing::FormTest {
 protected:
  Session session() const { return {startedForm(), {}, {}, {}, {}}; }
  // A valid file of the current layout: the screen as started, saved.
  Lines validLines() const {
    Session s = session();
    return projectLines(s.form, s.state.settings, s.print);
  }
  // The file with some lines replaced, loaded; the load must complete.
  Session loaded(const std::vector<std::pair<int, std::string>>& changes) const {
    Lines lines = validLines();
    for (const auto& [line, text] : changes)
      lines[static_cast<std::size_t>(line)] = text;
    Session s = session();
    const ProjectLoad load = s.apply(lines);
    EXPECT_TRUE(load.completed()) << load.failure.value_or("");
    return s;
  }
};

TEST_F(HostileInputTest, ShapeCodesAtTheEndsOfIntAreOutsideTheList) {
  for (const int line : {12, 13}) {
    for (const std::string code : {"-2147483648", "2147483647", "6", "12"}) {
      Lines lines = validLines();
      lines[static_cast<std::size_t>(line)] = code;
      Session s = session();
      const ProjectLoad load = s.apply(lines);
      ASSERT_FALSE(load.completed()) << line << " " << code;
      EXPECT_THAT(*load.failure,
                  AllOf(HasSubstr(std::to_string(line + 1) + " 行目"),
                        HasSubstr("「" + code + "」"), HasSubstr("選択肢にありません")));
    }
  }
}

TEST_F(HostileInputTest, UnitWeightBeyondFiveDigitsIsRefusedInAnyTreatment) {
  for (const std::string treatment : {"0", "2"}) {
    Session s = loaded({{62, treatment}, {63, "2147483647"}});
    const CalculateResult r = s.calculate();
    ASSERT_TRUE(r.refusal.has_value()) << treatment;
    EXPECT_EQ(r.refusal->message, kUnitWeightMessage);
    EXPECT_EQ(r.refusal->focus, FieldId::UnitWeight);
  }
  Session largest = loaded({{62, "2"}, {63, "99999"}});
  const CalculateResult r = largest.calculate();
  ASSERT_TRUE(r.outcome.has_value()) << r.refusal->message;
  EXPECT_EQ(r.outcome->conditions.deadPlusLive, 99999 + 100);
}

// The unit weight is an integer line like the others: empty or not a number,
// it stops the load at its line, with the file, the line and the value; the
// items before it stay applied.
TEST_F(HostileInputTest, EmptyOrNonNumericUnitWeightStopsTheLoadAtItsLine) {
  for (const std::string value : {"", "abc", "127.5", "12a"}) {
    Lines lines = validLines();
    lines[62] = "2";
    lines[63] = value;
    Session s = session();
    const ProjectLoad load = s.apply(lines);
    ASSERT_FALSE(load.completed()) << "「" << value << "」";
    EXPECT_THAT(*load.failure, AllOf(HasSubstr("「p.tvl」の 64 行目（単位重量）"),
                                     HasSubstr("この行で読込みを中止しました")));
    EXPECT_THAT(*load.failure, HasSubstr(value.empty() ? "に値がありません"
                                                       : "「" + value + "」は整数ではありません"));
    EXPECT_EQ(s.form.index(FieldId::SurfaceTreatment), 2) << "applied before the line";
  }
}

TEST_F(HostileInputTest, RatiosBeyondTheDialogsFieldTakeTheirDefault) {
  Session s = loaded({{36, "1e62"}, {37, "1e308"}, {47, "123456789"}, {49, "99999999"}});
  EXPECT_EQ(s.state.settings.loadRatios[0], 1.0);
  EXPECT_EQ(s.state.settings.loadRatios[1], 1.0);
  EXPECT_EQ(s.state.settings.loadRatios[11], 1.0);
  EXPECT_EQ(s.state.settings.loadRatios[13], 99999999.0);
  // Every label of the run formats such a ratio.
  const CalculateResult r = s.calculate();
  ASSERT_TRUE(r.outcome.has_value());
  EXPECT_THAT(ratioText(1e62), StartsWith("100,000,000,000,"));
  EXPECT_EQ(ratioText(99999999), "99,999,999.00");
  EXPECT_EQ(ratioText(0.7), "0.70");
}

TEST_F(HostileInputTest, MaximumDeckLengthIsBroughtIntoTheDialogsRange) {
  Session s = loaded({{34, "2147483647"}, {25, "2147483647"}});
  EXPECT_EQ(s.state.settings.maxDeckLength, 90000);
  const CalculateResult r = s.calculate();
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_EQ(r.refusal->message, std::string(kDeckTooLongMessage) +
                                    "\n（デッキの全長 2,147,483,647mm、最大長さ 90,000mm）");
  EXPECT_EQ(r.refusal->focus, FieldId::Span1);
  EXPECT_EQ(loaded({{34, "-5"}}).state.settings.maxDeckLength, 0);
}

TEST_F(HostileInputTest, ZeroSpanAndLongRightOverhangAreRefusedAtTheirField) {
  Session zero = loaded({{24, "2"}, {26, "0"}});
  CalculateResult r = zero.calculate();
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_THAT(r.refusal->message, HasSubstr("スパン2の長さが 0 です"));
  EXPECT_EQ(r.refusal->focus, FieldId::Span2);

  Session right = loaded({{64, "2"}, {66, "5000"}});
  r = right.calculate();
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_EQ(r.refusal->message, kOverhangTooLongMessage);
  EXPECT_EQ(r.refusal->focus, FieldId::RightOverhang);
  EXPECT_TRUE(loaded({{64, "2"}, {66, "1000"}}).calculate().outcome.has_value());
}

TEST_F(HostileInputTest, MalformedTableRowIsNeverCalculatedWithAnotherDistrictsData) {
  Lines address = testing::kAddressLines;
  address[4] = "4,ﾋﾛｻｷ,青森県,弘前市,5,3O,40,99,0";  // V0 "3O"
  write("Data_Address.csv", address);
  Session s = session();
  std::ignore = s.form.selectIndex(FieldId::Prefecture, 1);  // 青森県: 青森市 is sound
  EXPECT_FALSE(s.form.siteFailure().has_value());
  const FormEvents events = s.form.selectIndex(FieldId::District, 1);  // 弘前市
  EXPECT_TRUE(hasMessage(events, FieldId::District, "「3O」"));
  ASSERT_TRUE(s.form.siteFailure().has_value());
  const CalculateResult r = s.calculate();
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_THAT(r.refusal->message,
              AllOf(HasSubstr("青森県"), HasSubstr("計算できません"), HasSubstr("「3O」")));
  EXPECT_FALSE(s.state.lastOutcome.has_value());
  // Another prefecture whose rows are sound calculates again.
  std::ignore = s.form.selectIndex(FieldId::Prefecture, 12);  // 東京都
  EXPECT_FALSE(s.form.siteFailure().has_value());
  EXPECT_TRUE(s.calculate().outcome.has_value());
}

TEST_F(HostileInputTest, OutOfRangeTableValuesAreAMalformedTable) {
  Lines snow = testing::kSnowLines;
  snow[2] = "3,1e308,0.1,0.3,5";  // Tokyo's region
  write("Data_SnowfallV.csv", snow);
  Lines address = testing::kAddressLines;
  address[5] = "5,ﾁﾖﾀﾞ,東京都,千代田区,3,1000000,6,30,0";
  write("Data_Address.csv", address);
  Session s = session();
  const FormEvents events = s.form.selectIndex(FieldId::Prefecture, 12);
  EXPECT_TRUE(hasMessage(events, FieldId::Prefecture, "範囲"));
  EXPECT_TRUE(s.calculate().refusal.has_value());
}

TEST_F(HostileInputTest, FilesThatAreNoProjectSaySo) {
  Session s = session();
  EXPECT_THAT(s.apply({}).failure.value_or(""), HasSubstr("は空です"));
  EXPECT_THAT(s.apply({"", "  "}).failure.value_or(""), HasSubstr("は空です"));
  const ProjectLoad text = s.apply({"# Notes", "nothing to calculate"});
  EXPECT_THAT(text.failure.value_or(""),
              AllOf(HasSubstr("データファイルではありません"), HasSubstr("「# Notes」"),
                    Not(HasSubstr("16 行目"))));
}

TEST_F(HostileInputTest, EchoedValuesAreCutAndShowControlCharacters) {
  Lines lines = validLines();
  lines[17] = std::string(1'000'000, '7') + "x";  // altitude: a 1 MB line
  Session s = session();
  const std::string failure = s.apply(lines).failure.value_or("");
  EXPECT_LT(failure.size(), 400u);
  EXPECT_THAT(failure, AllOf(HasSubstr("18 行目"),
                             HasSubstr(std::string(40, '7') + "…（全 1000001 文字）")));

  lines = validLines();
  lines[17] = "\x1b[2J12";
  const std::string escaped = s.apply(lines).failure.value_or("");
  EXPECT_THAT(escaped, AllOf(HasSubstr("「␛[2J12」"), Not(HasSubstr("\x1b"))));
}

TEST_F(HostileInputTest, NegativeBuildingDimensionsAreRefusedNamingTheirLine) {
  const std::tuple<int, FieldId, const char*> dimensions[] = {
      {8, FieldId::EavesHeightH1, "軒の高さＨ1"},
      {9, FieldId::BuildingHeightH2, "建物の高さＨ2"},
      {10, FieldId::SpanDirectionLengthD, "張り間方向の長さＤ"}};
  for (const auto& [line, field, label] : dimensions) {
    Session s = loaded({{line, "-1000"}});
    const CalculateResult r = s.calculate();
    ASSERT_TRUE(r.refusal.has_value()) << label;
    EXPECT_EQ(r.refusal->message,
              std::string(label) + "が負の値（-1000mm）です（データファイル「p.tvl」の " +
                  std::to_string(line + 1) + " 行目）。0以上の値を入力して下さい。");
    EXPECT_EQ(r.refusal->focus, field);
    EXPECT_EQ(s.form.focus(), field);
  }
  // Loads entered directly use no building dimension.
  EXPECT_TRUE(loaded({{8, "-1000"}, {58, "1"}}).calculate().outcome.has_value());
}

TEST_F(HostileInputTest, ConversionMessagesNameTheLineWhileTheFieldHoldsTheFilesText) {
  Session s = loaded({{8, "abc"}, {24, "2"}, {26, "0"}});
  CalculateResult r = s.calculate();
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_EQ(r.refusal->message,
            "スパン2の長さが 0 です（データファイル「p.tvl」の 27 行目）。"
            "スパン間隔を単位：㎜で入力して下さい。");
  std::ignore = s.form.typeText(FieldId::Span2, "00");
  r = s.calculate();
  EXPECT_EQ(r.refusal->message, "スパン2の長さが 0 です。スパン間隔を単位：㎜で入力して下さい。")
      << "a typed value came from no file";
  std::ignore = s.form.typeText(FieldId::Span2, "2500");
  r = s.calculate();
  ASSERT_TRUE(r.refusal.has_value());
  EXPECT_EQ(r.refusal->message,
            "軒の高さＨ1「abc」を整数に変換できません（データファイル「p.tvl」の 9 行目）。");
  EXPECT_EQ(r.refusal->focus, FieldId::EavesHeightH1);
}

TEST_F(HostileInputTest, RatiosTheFieldCannotHoldTakeTheirDefaultSayingWhy) {
  Lines lines = validLines();
  const std::pair<int, const char*> ratios[] = {{36, "-1"},     {37, "-0"},   {38, "100000000"},
                                                {39, "1e-401"}, {40, "0.x5"}, {41, "0.35"}};
  for (const auto& [line, text] : ratios)
    lines[static_cast<std::size_t>(line)] = text;
  Session s = session();
  const ProjectLoad load = s.apply(lines);
  ASSERT_TRUE(load.completed());
  std::vector<std::string> messages;
  for (const FormEvent& event : load.events) {
    if (event.kind == FormEvent::Kind::Message)
      messages.push_back(event.text);
  }
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_THAT(messages[0], AllOf(StartsWith("荷重の比率エラー\n"), HasSubstr("37 行目"),
                                 HasSubstr("「-1」は負の値です"), HasSubstr("初期値 1 とします")));
  EXPECT_THAT(messages[1], HasSubstr("「-0」は負の値です"));
  EXPECT_THAT(messages[2], HasSubstr("「100000000」は比率の欄（8 桁）に入りきりません"));
  EXPECT_THAT(messages[3],
              AllOf(StartsWith("数値変換エラー\n"),
                    HasSubstr("「1e-401」は比率として扱える範囲の小数ではありません")));
  EXPECT_THAT(messages[4], HasSubstr("「0.x5」は数値ではありません"));
  const LoadRatios& r = s.state.settings.loadRatios;
  EXPECT_EQ(r[0], 1.0);
  EXPECT_FALSE(std::signbit(r[1]));
  EXPECT_EQ(r[1], 1.0);
  EXPECT_EQ(r[2], 0.0);
  EXPECT_EQ(r[3], 1.0);
  EXPECT_EQ(r[5], 0.35);
  EXPECT_EQ(s.dialog.ratioText(0), "1");
}

TEST_F(HostileInputTest, LongProjectTitleIsCutToTheNameFieldsLengthAndSaysSo) {
  std::string title;
  for (int i = 0; i < 70; ++i)
    title += "屋";
  Session s = loaded({{29, title}});
  std::string expected;
  for (int i = 0; i < 65; ++i)
    expected += "屋";
  EXPECT_EQ(s.print.projectName, expected);

  Lines lines = validLines();
  lines[29] = title;
  const ProjectLoad load = s.apply(lines);
  EXPECT_TRUE(hasMessage(load.events, FieldId::None,
                         "データファイル「p.tvl」の 30 行目の物件名は 70 文字です。物件名は 65 "
                         "文字までのため、先頭の 65 文字とします。"));
  lines[29] = expected;
  EXPECT_FALSE(hasMessage(s.apply(lines).events, FieldId::None, "物件名"));
  EXPECT_EQ(s.print.projectName, expected);
}

}  // namespace
}  // namespace tavilo
