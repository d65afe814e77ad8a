#include "model/project_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "calc/errors.h"
#include "form_test_support.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;
using Lines = std::vector<std::string>;
using testing::kAddressLines;
using testing::kSnowLines;

// One program run: the screen, the settings dialog and the records it edits.
struct Session {
  InputForm form;
  SettingsDialog dialog;
  CoefficientSettings settings;
  PrintSettings print;
  ProjectPaths paths;

  ProjectContext context() { return {form, dialog, settings, print, paths}; }
  ProjectLoad load(const fs::path& path) { return loadProject(path, context()); }
  ProjectLoad apply(const Lines& lines) { return applyProjectLines(lines, "p.tvl", context()); }
  Lines lines() const { return projectLines(form, settings, print); }
};

class ProjectFileTest : public testing::FormTest {
 protected:
  Session session() const { return {startedForm(), {}, {}, {}, {}}; }

  static std::string readBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  static int messageCount(const FormEvents& events) {
    return static_cast<int>(messagesOf(events).size());
  }

  static Lines messagesOf(const FormEvents& events) {
    Lines texts;
    for (const FormEvent& e : events) {
      if (e.kind == FormEvent::Kind::Message)
        texts.push_back(e.text);
    }
    return texts;
  }

  // Every control of the screen, the remembered codes and the span group.
  static void expectSameScreen(const InputForm& expected, const InputForm& actual) {
    for (std::size_t i = 0; i < kInputScreenFieldCount; ++i) {
      const auto id = static_cast<FieldId>(i);
      SCOPED_TRACE("field " + std::to_string(i) + " " + std::string(fieldInfo(id).caption));
      EXPECT_EQ(actual.text(id), expected.text(id));
      EXPECT_EQ(actual.index(id), expected.index(id));
      EXPECT_EQ(actual.isShown(id), expected.isShown(id));
      EXPECT_EQ(actual.isEnabled(id), expected.isEnabled(id));
    }
    EXPECT_EQ(actual.roofType(), expected.roofType());
    EXPECT_EQ(actual.buildingShapeCode(), expected.buildingShapeCode());
    EXPECT_EQ(actual.roofShapeCode(), expected.roofShapeCode());
    EXPECT_EQ(actual.overhangCode(), expected.overhangCode());
    EXPECT_EQ(actual.shownSpanCount(), expected.shownSpanCount());
    EXPECT_EQ(actual.arrangementPicture(), expected.arrangementPicture());
    EXPECT_EQ(actual.layoutMethod(), expected.layoutMethod());
    EXPECT_EQ(actual.heavySnow(), expected.heavySnow());
  }

  // A session changed by hand in every group.
  Session editedSession() const {
    Session s = session();
    InputForm& f = s.form;
    std::ignore = f.selectIndex(FieldId::DeckType, 2);
    std::ignore = f.selectIndex(FieldId::SurfaceTreatment, 2);
    std::ignore = f.typeText(FieldId::UnitWeight, "150");
    std::ignore = f.selectIndex(FieldId::EndJoint, 1);
    std::ignore = f.selectIndex(FieldId::MidJoint, 2);
    std::ignore = f.selectIndex(FieldId::Prefecture, 1);  // 青森県
    std::ignore = f.selectIndex(FieldId::District, 1);    // 弘前市
    std::ignore = f.selectIndex(FieldId::Roughness, 2);
    std::ignore = f.typeText(FieldId::EavesHeightH1, "8000");
    std::ignore = f.typeText(FieldId::BuildingHeightH2, "9500");
    std::ignore = f.typeText(FieldId::SpanDirectionLengthD, "15000");
    std::ignore = f.clickBuildingShape(2);
    std::ignore = f.clickRoofType(RoofType::Canopy);
    std::ignore = f.clickRoofShape(1);
    std::ignore = f.clickSnowModeDerive();
    std::ignore = f.stepSpin(FieldId::Altitude, 1);
    std::ignore = f.stepSpin(FieldId::Altitude, 1);
    std::ignore = f.stepSpin(FieldId::SeaRatio, -1);
    std::ignore = f.stepSpin(FieldId::LiveLoad, 1);
    std::ignore = f.stepSpin(FieldId::FinishingLoad, 1);
    std::ignore = f.typeText(FieldId::Span1, "3000");
    std::ignore = f.stepSpin(FieldId::SpanCount, 1);
    std::ignore = f.typeText(FieldId::Span2, "2800");
    std::ignore = f.stepSpin(FieldId::SpanCount, 1);
    std::ignore = f.typeText(FieldId::Span3, "2600");
    std::ignore = f.selectIndex(FieldId::Overhang, 1);
    std::ignore = f.typeText(FieldId::LeftOverhang, "450");
    std::ignore = f.focusField(FieldId::DeckType);

    s.print = {"倉庫Ｂ棟", PageNumberPosition::BottomCentre, 1, "3"};
    openSettingsDialog(s.dialog, f);
    s.dialog.typeText(ratioField(0), "0.8");
    s.dialog.typeText(ratioField(13), "0.5");
    s.dialog.typeText(FieldId::SettingsMaxDeckLength, "15000");
    s.dialog.clickMethod(kCalcMethodDirect);
    std::ignore = applySettings(s.dialog, s.settings, f);
    std::ignore = f.stepSpin(FieldId::WindPositive, 1);
    std::ignore = f.stepSpin(FieldId::WindNegative, 1);
    std::ignore = f.stepSpin(FieldId::WindNegative, 1);
    std::ignore = f.stepSpin(FieldId::DirectSnowLoad, -1);
    return s;
  }

  // The current layout's lines of a session at its defaults.
  Lines defaultLines() const { return session().lines(); }
};

TEST_F(ProjectFileTest, SaveThenLoadReproducesEveryFieldChoiceAndSetting) {
  Session saved = editedSession();
  ASSERT_EQ(saved.settings.calcMethod, kCalcMethodDirect);
  const fs::path path = dir_ / "roof.tvl";
  saveProject(path, saved.context());
  EXPECT_EQ(saved.paths.lastSaved, path);
  EXPECT_EQ(saved.form.caption(), "Tavilo for win [" + path.string() + "]");

  // The tables now hold other values for the district, its region's R too.
  write("Data_Address.csv", {kAddressLines[0], kAddressLines[1], kAddressLines[2], kAddressLines[3],
                             "4,ﾋﾛｻｷ,青森県,弘前市,5,36,55,120,0", kAddressLines[5]});
  write("Data_SnowfallV.csv", {kSnowLines[0], kSnowLines[1], kSnowLines[2], "5,0.002,0.3,0.9,25"});
  Session loaded = session();
  const ProjectLoad load = loaded.load(path);
  ASSERT_TRUE(load.completed()) << *load.failure;
  EXPECT_EQ(messageCount(load.events), 0);

  expectSameScreen(saved.form, loaded.form);
  EXPECT_EQ(loaded.form.text(FieldId::WindSpeedV0), "30");
  EXPECT_EQ(loaded.form.siteData().windSpeedV0, 36);  // the calculation's V0
  EXPECT_EQ(loaded.form.text(FieldId::SnowDepthReference), "99");
  EXPECT_EQ(loaded.form.text(FieldId::AltitudeReference), "40");
  EXPECT_EQ(loaded.form.text(FieldId::RadiusR), "20");

  EXPECT_EQ(loaded.settings.calcMethod, saved.settings.calcMethod);
  EXPECT_EQ(loaded.settings.maxDeckLength, 15000);
  EXPECT_EQ(loaded.settings.loadRatios, saved.settings.loadRatios);
  EXPECT_EQ(loaded.dialog.methodChoice(), kCalcMethodDirect);
  for (int i = 0; i < kLoadRatioCount; ++i) {
    EXPECT_EQ(loaded.dialog.ratioText(i), saved.dialog.ratioText(i)) << i;
  }
  EXPECT_EQ(loaded.dialog.text(FieldId::SettingsMaxDeckLength), "15000");
  EXPECT_EQ(loaded.print.projectName, "倉庫Ｂ棟");
  EXPECT_EQ(loaded.print.pageNumberPosition, PageNumberPosition::BottomCentre);
  EXPECT_EQ(loaded.print.pageNumberStyle, 1);
  EXPECT_EQ(loaded.print.startNumber, "3");
  EXPECT_EQ(loaded.paths.lastOpened, path);
  EXPECT_EQ(loaded.paths.current, path);

  // Saving the loaded session gives the same file.
  EXPECT_EQ(loaded.lines(), readTextLines(path));
}

TEST_F(ProjectFileTest, SavedFileIsCp932WithCrLfAndZerosForAbsentSpans) {
  Session s = session();
  s.print.projectName = "物件Ⅰ㎡";
  const fs::path path = dir_ / "one.tvl";
  saveProject(path, s.context());
  const std::string bytes = readBytes(path);
  EXPECT_TRUE(bytes.ends_with("\r\n"));
  EXPECT_NE(bytes.find(toCp932("物件Ⅰ㎡") + "\r\n"), std::string::npos);
  const Lines lines = readTextLines(path);
  ASSERT_EQ(lines.size(), 67u);
  EXPECT_EQ(lines[0], "500");
  EXPECT_EQ(Lines(lines.begin() + 26, lines.begin() + 29), Lines({"0", "0", "0"}));
  EXPECT_EQ(lines[64], "0");
  EXPECT_EQ(lines[65], "0");
  EXPECT_EQ(lines[66], "0");
  EXPECT_EQ(lines[49], "0.7");
  EXPECT_EQ(lines[56], "0.35");
}

TEST_F(ProjectFileTest, SnowDepthOfTheFileWinsWhateverModeWasSelected) {
  Session s = session();
  std::ignore = s.form.typeText(FieldId::SnowDepth, "90");  // district reference is 140
  Lines lines = s.lines();
  lines[21] = "30";  // ρ as the file holds it, not what the rule would give

  Session loaded = session();
  std::ignore = loaded.form.clickSnowModeDerive();
  ASSERT_TRUE(loaded.apply(lines).completed());
  EXPECT_EQ(loaded.form.snowMode(), kSnowModeInput);
  EXPECT_EQ(loaded.form.text(FieldId::SnowDepth), "90");
  EXPECT_EQ(loaded.form.text(FieldId::SnowUnitWeight), "30");
  EXPECT_FALSE(loaded.form.heavySnow());
  EXPECT_TRUE(loaded.form.isEnabled(FieldId::SnowDepth));
  EXPECT_FALSE(loaded.form.isEnabled(FieldId::Altitude));
}

TEST_F(ProjectFileTest, VersionlessFileTakesDefaultsForItsMissingLines) {
  Session source = session();
  std::ignore = source.form.selectIndex(FieldId::DeckType, 2);
  std::ignore = source.form.selectIndex(FieldId::EndJoint, 2);
  std::ignore = source.form.selectIndex(FieldId::MidJoint, 0);
  const Lines current = source.lines();
  Lines versionless = {current[1], current[2]};
  versionless.insert(versionless.end(), current.begin() + 4, current.begin() + 58);
  ASSERT_EQ(versionless.size(), 56u);

  Session s = session();
  s.settings.calcMethod = kCalcMethodDirect;
  std::ignore = s.form.setLayout(kCalcMethodDirect);
  std::ignore = s.form.stepSpin(FieldId::WindPositive, 1);
  std::ignore = s.form.selectIndex(FieldId::SurfaceTreatment, 2);
  std::ignore = s.form.selectIndex(FieldId::Overhang, 1);
  const ProjectLoad load = s.apply(versionless);
  ASSERT_TRUE(load.completed()) << *load.failure;

  EXPECT_EQ(s.form.index(FieldId::DeckType), 2);
  EXPECT_EQ(s.form.index(FieldId::EndJoint), 2);
  EXPECT_EQ(s.form.index(FieldId::MidJoint), 2);  // the end joint's index
  EXPECT_EQ(s.settings.calcMethod, kCalcMethodNotices);
  EXPECT_EQ(s.form.layoutMethod(), kCalcMethodNotices);
  EXPECT_EQ(s.form.text(FieldId::WindPositive), "10");
  EXPECT_EQ(s.form.text(FieldId::WindNegative), "10");
  EXPECT_EQ(s.form.text(FieldId::DirectSnowLoad), "0");
  EXPECT_EQ(s.form.text(FieldId::SurfaceTreatment), "Z12");
  EXPECT_EQ(s.form.text(FieldId::UnitWeight), "138");
  EXPECT_EQ(s.form.overhangCode(), kOverhangNone);
  EXPECT_FALSE(s.form.isShown(FieldId::LeftOverhang));
  EXPECT_FALSE(s.form.isShown(FieldId::RightOverhang));
  EXPECT_EQ(s.form.text(FieldId::LeftOverhang), "500");
  EXPECT_EQ(s.form.text(FieldId::RightOverhang), "500");
  EXPECT_EQ(s.settings.loadRatios, kDefaultLoadRatios);
}

TEST_F(ProjectFileTest, RatioNineteenComesFromLine54OrLine52) {
  Lines current = defaultLines();
  current[54] = "0.9";
  current[55] = "0.9";
  Session now = session();
  ASSERT_TRUE(now.apply(current).completed());
  EXPECT_EQ(now.settings.loadRatios[18], 0.9);
  EXPECT_EQ(now.dialog.ratioText(18), "0.9");

  Lines versionless = {current[1], current[2]};
  versionless.insert(versionless.end(), current.begin() + 4, current.begin() + 58);
  Session old = session();
  ASSERT_TRUE(old.apply(versionless).completed());
  EXPECT_EQ(versionless[52], "0.9");
  EXPECT_EQ(old.settings.loadRatios[18], 0.9);
}

TEST_F(ProjectFileTest, Version401ReadsLike500) {
  Lines lines = editedSession().lines();
  Session a = session();
  ASSERT_TRUE(a.apply(lines).completed());
  lines[0] = "401";
  Session b = session();
  ASSERT_TRUE(b.apply(lines).completed());
  expectSameScreen(a.form, b.form);
  EXPECT_EQ(b.settings.loadRatios, a.settings.loadRatios);
  EXPECT_EQ(b.settings.calcMethod, kCalcMethodDirect);
}

TEST_F(ProjectFileTest, LegacyKeyedFileIsConvertedAndKeepsTheDistrictTexts) {
  Lines legacy(73, "x=0");
  const auto set = [&](int line, const std::string& value) {
    legacy[static_cast<std::size_t>(line)] = "k" + std::to_string(line) + "=" + value;
  };
  legacy[0] = "物件名称=旧倉庫";
  set(3, "1");
  set(4, "0");   // end joint 1 after the exchange
  set(5, "12");  // 東京都
  set(6, "0");
  set(20, "40");
  set(19, "1");
  set(23, "1000");
  set(24, "1500");
  set(25, "2000");
  set(22, "1");  // roof type 5
  set(12, "20");
  set(14, "10");
  set(13, "50");
  set(10, "20");
  set(9, "150");
  set(26, "2");
  set(39, "2000");
  set(40, "2200");
  for (const int line : {61, 65, 67, 72})
    set(line, "1");
  set(63, "0.6");
  set(68, "0");
  set(69, "0.9");
  set(71, "0.3");

  Session s = session();
  s.settings.loadRatios[0] = 0.5;
  const ProjectLoad load = s.apply(legacy);
  ASSERT_TRUE(load.completed()) << *load.failure;
  EXPECT_TRUE(load.converted);
  EXPECT_EQ(messageCount(load.events), 0);

  EXPECT_EQ(s.form.index(FieldId::DeckType), 1);
  EXPECT_EQ(s.form.index(FieldId::EndJoint), 1);
  EXPECT_EQ(s.form.index(FieldId::MidJoint), 1);
  EXPECT_EQ(s.form.prefectureName(), "東京都");
  EXPECT_EQ(s.form.text(FieldId::WindSpeedV0), "40");
  EXPECT_EQ(s.form.text(FieldId::EavesHeightH1), "10000");
  EXPECT_EQ(s.form.roofType(), RoofType::Arched);
  // The reference texts stay as the district lookup left them.
  EXPECT_EQ(s.form.text(FieldId::SnowDepthReference), "30");
  EXPECT_EQ(s.form.text(FieldId::AltitudeReference), "6");
  EXPECT_EQ(s.form.text(FieldId::RadiusR), " 5");
  EXPECT_EQ(s.form.text(FieldId::SnowDepth), "50");
  EXPECT_EQ(s.form.text(FieldId::Span2), "2200");
  EXPECT_EQ(s.print.projectName, "旧倉庫");
  EXPECT_EQ(s.print.pageNumberPosition, PageNumberPosition::BottomCentre);

  const LoadRatios& r = s.settings.loadRatios;
  for (int i = 0; i < kHeavySnowRatioOffset; ++i)
    EXPECT_EQ(r[i], kDefaultLoadRatios[i]) << i;
  EXPECT_EQ(r[13], 0.6);
  EXPECT_EQ(r[18], 0.9);
  EXPECT_EQ(r[19], 0.9);  // P equals G
  EXPECT_EQ(r[20], 0.3);
}

TEST_F(ProjectFileTest, RatioWithLettersGivesOneMessageAndItsDefault) {
  Lines lines = defaultLines();
  lines[38] = "0.x5";  // ratio 3, long-term S
  lines[49] = "0.6";   // ratio 14 loads normally
  Session s = session();
  s.settings.loadRatios[2] = 0.4;
  const ProjectLoad load = s.apply(lines);
  ASSERT_TRUE(load.completed());
  ASSERT_EQ(messageCount(load.events), 1);
  EXPECT_THAT(messagesOf(load.events).front(),
              AllOf(HasSubstr("39 行目"), HasSubstr("「0.x5」"), HasSubstr("初期値 0")));
  EXPECT_EQ(s.settings.loadRatios[2], 0.0);
  EXPECT_EQ(s.settings.loadRatios[13], 0.6);
  EXPECT_EQ(s.dialog.ratioText(2), "0");
}

TEST_F(ProjectFileTest, RatiosAreTakenAsTheFileHoldsThemAndTheDialogShowsThem) {
  Lines lines = defaultLines();
  lines[36] = "0.8";  // ratio 1, G
  lines[37] = "1";    // ratio 2, P: its field follows G, then shows the file's value
  Session s = session();
  const ProjectLoad load = s.apply(lines);
  EXPECT_EQ(messageCount(load.events), 0);
  EXPECT_EQ(s.settings.loadRatios[0], 0.8);
  EXPECT_EQ(s.settings.loadRatios[1], 1.0);
  EXPECT_EQ(s.dialog.ratioText(0), "0.8");
  EXPECT_EQ(s.dialog.ratioText(1), "1");
}

TEST_F(ProjectFileTest, SettingsAndPrintCodesAsTheFileGivesThem) {
  Lines lines = defaultLines();
  lines[34] = "95000";  // beyond the dialog's range: brought into it
  lines[30] = "13";     // no such page-number position: none
  lines[32] = "0";      // pages are numbered from 1 at the least
  lines[58] = "2";      // any method but 1 is the notices method
  Session s = session();
  ASSERT_TRUE(s.apply(lines).completed());
  EXPECT_EQ(s.settings.maxDeckLength, 90000);
  EXPECT_EQ(s.dialog.text(FieldId::SettingsMaxDeckLength), "90000");
  EXPECT_EQ(s.print.pageNumberPosition, PageNumberPosition::None);
  EXPECT_EQ(s.print.startNumber, "1");
  EXPECT_EQ(s.settings.calcMethod, kCalcMethodNotices);

  lines[34] = "abc";
  ASSERT_TRUE(s.apply(lines).completed());
  EXPECT_EQ(s.settings.maxDeckLength, 12000);
}

TEST_F(ProjectFileTest, IntegerLineWithLettersStopsTheLoadThere) {
  Lines lines = defaultLines();
  lines[1] = "3";
  lines[17] = "12a";  // altitude
  lines[22] = "150";  // live load, after the stop
  Session s = session();
  const ProjectLoad load = s.apply(lines);
  ASSERT_FALSE(load.completed());
  EXPECT_THAT(*load.failure, AllOf(HasSubstr("p.tvl"), HasSubstr("18 行目"), HasSubstr("「12a」")));
  EXPECT_EQ(s.form.index(FieldId::DeckType), 3);
  EXPECT_EQ(s.form.text(FieldId::LiveLoad), "0");
}

TEST_F(ProjectFileTest, IndexOutsideItsListStopsTheLoadThere) {
  struct Case {
    int line;
    std::string value;
  };
  for (const Case& c : {Case{1, "7"}, Case{4, "60"}, Case{5, "5"}, Case{11, "9"}, Case{12, "12"},
                        Case{31, "2"}, Case{64, "4"}}) {
    SCOPED_TRACE(c.line);
    Lines lines = defaultLines();
    lines[9] = "7777";  // H2, applied only when the stop comes later
    lines[static_cast<std::size_t>(c.line)] = c.value;
    Session s = session();
    const ProjectLoad load = s.apply(lines);
    ASSERT_FALSE(load.completed());
    EXPECT_THAT(*load.failure, AllOf(HasSubstr(std::to_string(c.line + 1) + " 行目"),
                                     HasSubstr("「" + c.value + "」")));
    EXPECT_EQ(s.form.text(FieldId::BuildingHeightH2) == "7777", c.line > 9);
  }
}

TEST_F(ProjectFileTest, UnreadableFileChangesNothing) {
  Session s = session();
  const ProjectLoad load = s.load(dir_ / "missing.tvl");
  ASSERT_FALSE(load.completed());
  EXPECT_THAT(*load.failure, HasSubstr("missing.tvl"));
  EXPECT_TRUE(s.paths.current.empty());
  expectSameScreen(session().form, s.form);
}

TEST_F(ProjectFileTest, FailedSaveLeavesTheOldFileAndThePathsAlone) {
  Session s = session();
  const fs::path path = dir_ / "keep.tvl";
  saveProject(path, s.context());
  const std::string before = readBytes(path);
  const ProjectPaths pathsBefore = s.paths;

  s.print.projectName = "屋根\U0001F600";  // not in CP932
  std::ignore = s.form.selectIndex(FieldId::DeckType, 3);
  EXPECT_THROW(saveProject(path, s.context()), UserError);
  EXPECT_EQ(readBytes(path), before);

  // A folder that cannot be made: its parent is a regular file.
  s.print.projectName = "屋根";
  const fs::path blocked = path / "sub.tvl";
  EXPECT_THROW(saveProject(blocked, s.context()), UserError);
  EXPECT_EQ(readBytes(path), before);
  EXPECT_EQ(s.paths.lastSaved, pathsBefore.lastSaved);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), 3);  // two tables and the file
}

}  // namespace
}  // namespace tavilo
