#include "app/batch_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "command_test_support.h"
#include "persistence/text_file.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;
using Json = nlohmann::ordered_json;  // keeps the order of the keys

const fs::path kSource = TAVILO_SOURCE_DIR;
const fs::path kExamples = kSource / "examples";

using testing::Process;
using testing::readFile;

std::vector<std::string> keysOf(const Json& object) {
  std::vector<std::string> keys;
  for (auto it = object.begin(); it != object.end(); ++it)
    keys.push_back(it.key());
  return keys;
}

class BatchCommandTest : public testing::CommandTest {
 protected:
  static fs::path exe() { return TAVILO_CALC_EXE; }

  // A copy of a sample project with some lines replaced.
  fs::path changedSample(const std::string& sample,
                         const std::vector<std::pair<int, std::string>>& changes) const {
    std::vector<std::string> lines = readTextLines(kExamples / sample);
    for (const auto& [line, text] : changes)
      lines[static_cast<std::size_t>(line)] = text;
    const fs::path path = dir_ / sample;
    writeTextLines(path, lines);
    return path;
  }
};

TEST_F(BatchCommandTest, SummaryOfEverySampleEndsWithTheVerdict) {
  for (const char* sample :
       {"ordinary-3span.tvl", "heavy-snow-overhangs.tvl", "direct-1span.tvl"}) {
    SCOPED_TRACE(sample);
    const Process r = run("'" + (kExamples / sample).string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_THAT(r.out, AllOf(HasSubstr("所在地: "), HasSubstr("荷重: G+P = "), HasSubstr("[長期"),
                             HasSubstr("判定: ")));
  }
}

// The shipped tables are samples: a summary of loads derived from them says
// so; with loads entered directly, or with an office's own tables, nothing.
TEST_F(BatchCommandTest, SummarySaysWhenTheSiteDataAreSamples) {
  const std::string mark = "所在地データ見本 ― 設計に使用不可";
  const auto summary = [&](const std::string& sample, const fs::path& data) {
    const Process r =
        run("'" + (kExamples / sample).string() + "' --data-dir '" + data.string() + "'");
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const fs::path shipped = kSource / "Load_data";
  EXPECT_THAT(summary("ordinary-3span.tvl", shipped), HasSubstr(mark + "（"));
  EXPECT_THAT(summary("heavy-snow-overhangs.tvl", shipped), HasSubstr(mark));
  EXPECT_THAT(summary("direct-1span.tvl", shipped), Not(HasSubstr(mark)));

  // The same rows without the marker field.
  const fs::path own = dir_ / "own";
  fs::create_directories(own);
  for (const char* table : {"Data_Address.csv", "Data_SnowfallV.csv"}) {
    std::vector<std::string> lines = readTextLines(shipped / table);
    lines.front() = lines.front().substr(0, lines.front().rfind(",見本データ"));
    writeTextLines(own / table, lines);
  }
  EXPECT_THAT(summary("ordinary-3span.tvl", own), AllOf(HasSubstr("判定: "), Not(HasSubstr(mark))));
}

TEST_F(BatchCommandTest, JsonDocumentHasEveryKeyOfTheDesignRecords) {
  const std::vector<std::string> topKeys = {"settings", "conditions", "wind",
                                            "snow",     "cases",      "verdict"};
  const std::vector<std::string> conditionKeys = {"deckType",
                                                  "deckName",
                                                  "unitWeight",
                                                  "deckHeight",
                                                  "thickness",
                                                  "sectionModulus",
                                                  "momentOfInertia",
                                                  "endJoint",
                                                  "endJointName",
                                                  "endJointCapacity",
                                                  "midJoint",
                                                  "midJointName",
                                                  "midJointCapacity",
                                                  "prefectureName",
                                                  "districtName",
                                                  "windSpeedV0",
                                                  "heavySnow",
                                                  "roughness",
                                                  "eavesHeightH1",
                                                  "buildingHeightH2",
                                                  "spanDirectionLengthD",
                                                  "roofType",
                                                  "roofClass",
                                                  "roofTypeName",
                                                  "buildingShape",
                                                  "buildingShapeName",
                                                  "roofShape",
                                                  "roofShapeName",
                                                  "snowDepthMethod",
                                                  "snowDepth",
                                                  "snowUnitWeight",
                                                  "snowLoad",
                                                  "liveLoad",
                                                  "finishingLoad",
                                                  "spanCount",
                                                  "spanLengths",
                                                  "totalDeckLength",
                                                  "beamKindName",
                                                  "deadPlusLive",
                                                  "windPositive",
                                                  "windNegative",
                                                  "leftOverhang",
                                                  "rightOverhang",
                                                  "ratioG",
                                                  "ratioP",
                                                  "ratioS",
                                                  "ratioW",
                                                  "snowIncreaseFactor",
                                                  "snowIncreaseState"};
  const std::vector<std::string> windKeys = {"roofAngle",
                                             "meanHeight",
                                             "heightDifference",
                                             "fOverD",
                                             "hOverD",
                                             "zb",
                                             "zg",
                                             "roughnessAlpha",
                                             "er",
                                             "velocityPressure",
                                             "gpe",
                                             "cpe",
                                             "cfExternal",
                                             "zoneCoefficients",
                                             "cpiPositive",
                                             "cpiNegative",
                                             "cfPositive",
                                             "cfNegative",
                                             "pressurePositive",
                                             "pressureNegative",
                                             "positiveCount",
                                             "negativeCount",
                                             "wallHeightZ",
                                             "wallCpe",
                                             "wallGpe",
                                             "wallCfExternal",
                                             "wallCpi",
                                             "wallCf",
                                             "wallVelocityPressure",
                                             "wallPressure",
                                             "overhangPressure"};
  const std::vector<std::string> caseKeys = {"title",
                                             "caseIndex",
                                             "windSign",
                                             "combinationLabel",
                                             "combinedLoad",
                                             "allowableFactor",
                                             "deflectionLimit",
                                             "allowableStress",
                                             "memberEndForces",
                                             "nodalResults",
                                             "spanDesignMoments",
                                             "spanDesignMomentPositions",
                                             "spanDeflections",
                                             "maxMoment",
                                             "stress",
                                             "stressOk",
                                             "maxDeflection",
                                             "maxDeflectionSpan",
                                             "deflectionRatio",
                                             "deflectionOk",
                                             "endReaction",
                                             "midReaction",
                                             "endJointAllowable",
                                             "midJointAllowable",
                                             "endJointOk",
                                             "midJointOk",
                                             "overhang"};
  const std::vector<std::string> overhangKeys = {
      "side",     "length",     "wallPressureConsidered", "moment",     "stress",
      "stressOk", "deflection", "deflectionOk",           "jointForce", "jointOk"};

  struct Sample {
    const char* name;
    int spans;
    std::size_t cases;
    bool wind;
  };
  for (const Sample& s :
       {Sample{"ordinary-3span.tvl", 3, 4, true}, Sample{"heavy-snow-overhangs.tvl", 2, 5, true},
        Sample{"direct-1span.tvl", 1, 4, false}}) {
    SCOPED_TRACE(s.name);
    const Process r = run("'" + (kExamples / s.name).string() + "' --json");
    ASSERT_EQ(r.status, 0) << r.err;
    const Json doc = Json::parse(r.out);
    EXPECT_THAT(keysOf(doc), ElementsAreArray(topKeys));
    EXPECT_THAT(keysOf(doc["settings"]),
                ElementsAreArray({"calcMethod", "maxDeckLength", "designStrengthF", "loadRatios"}));
    EXPECT_EQ(doc["settings"]["loadRatios"].size(), 22u);
    EXPECT_THAT(keysOf(doc["conditions"]), ElementsAreArray(conditionKeys));
    EXPECT_EQ(doc["conditions"]["spanLengths"].size(), static_cast<std::size_t>(s.spans));
    EXPECT_TRUE(doc["conditions"]["deckType"].is_number_integer());
    EXPECT_EQ(doc["wind"].is_null(), !s.wind);
    if (s.wind) {
      EXPECT_THAT(keysOf(doc["wind"]), ElementsAreArray(windKeys));
    }
    if (!doc["snow"].is_null()) {
      EXPECT_THAT(keysOf(doc["snow"]), ElementsAreArray({"computedDepthM", "cosTerm", "muB", "dr",
                                                         "snowIncreaseFactorRaw"}));
    }
    ASSERT_EQ(doc["cases"].size(), s.cases);
    for (const Json& c : doc["cases"]) {
      EXPECT_THAT(keysOf(c), ElementsAreArray(caseKeys));
      EXPECT_EQ(c["memberEndForces"].size(), static_cast<std::size_t>(s.spans));
      EXPECT_EQ(c["memberEndForces"][0].size(), 6u);
      EXPECT_EQ(c["nodalResults"].size(), static_cast<std::size_t>(s.spans + 1));
      EXPECT_EQ(c["spanDeflections"].size(), static_cast<std::size_t>(s.spans));
      EXPECT_TRUE(c["stressOk"].is_boolean());
      if (!c["overhang"].is_null()) {
        EXPECT_THAT(keysOf(c["overhang"]), ElementsAreArray(overhangKeys));
      }
    }
    EXPECT_EQ(doc["cases"][3]["windSign"], "Ms");
    EXPECT_THAT(keysOf(doc["verdict"]), ElementsAreArray({"stressFailures", "deflectionFailures",
                                                          "jointFailures", "text"}));
  }
}

TEST_F(BatchCommandTest, HeavySnowSampleCarriesItsOverhangAndFifthCase) {
  const Process r = run("'" + (kExamples / "heavy-snow-overhangs.tvl").string() + "' --json");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json doc = Json::parse(r.out);
  EXPECT_EQ(doc["conditions"]["heavySnow"], 1);
  EXPECT_EQ(doc["conditions"]["prefectureName"], "新潟県");
  EXPECT_EQ(doc["conditions"]["leftOverhang"], 500.0);
  EXPECT_EQ(doc["conditions"]["rightOverhang"], 400.0);
  EXPECT_EQ(doc["cases"][4]["title"], "短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗ");
  EXPECT_TRUE(doc["cases"][0]["overhang"].is_object());
}

TEST_F(BatchCommandTest, NgVerdictStillExitsZero) {
  // 6000 mm spans of the thinnest deck under the sample's snow fail.
  const fs::path path = changedSample("ordinary-3span.tvl",
                                      {{25, "6000"}, {26, "6000"}, {27, "6000"}, {34, "90000"}});
  const Process r = run("'" + path.string() + "' --json");
  ASSERT_EQ(r.status, 0) << r.err;
  const Json doc = Json::parse(r.out);
  EXPECT_GT(
      doc["verdict"]["stressFailures"].get<int>() + doc["verdict"]["deflectionFailures"].get<int>(),
      0);
}

TEST_F(BatchCommandTest, RefusedInputCheckExitsTwoWithOneLineOnStderr) {
  const fs::path path = changedSample("ordinary-3span.tvl", {{34, "5000"}});  // deck too long
  const Process r = run("'" + path.string() + "' --json");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "デッキの最大長さを超えています。 （デッキの全長 7,500mm、最大長さ 5,000mm）\n");

  // A sign that no field can hold is no other wind load.
  const fs::path negative = changedSample("heavy-snow-overhangs.tvl", {{8, "-1000"}});
  const Process h1 = run("'" + negative.string() + "'");
  EXPECT_EQ(h1.status, 2);
  EXPECT_EQ(h1.out, "");
  EXPECT_EQ(h1.err, "軒の高さＨ1が負の値（-1000mm）です（データファイル「" + negative.string() +
                        "」の 9 行目）。0以上の値を入力して下さい。\n");
}

TEST_F(BatchCommandTest, UnreadableOrIllFormedFileExitsTwoNamingLineAndValue) {
  const Process missing = run("'" + (dir_ / "none.tvl").string() + "'");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_THAT(missing.err, HasSubstr("none.tvl"));

  const fs::path bad = changedSample("ordinary-3span.tvl", {{20, "3O"}});  // snow depth
  const Process stopped = run("'" + bad.string() + "'");
  EXPECT_EQ(stopped.status, 2);
  EXPECT_EQ(stopped.out, "");
  EXPECT_THAT(stopped.err,
              AllOf(HasSubstr(bad.string()), HasSubstr("21 行目"), HasSubstr("「3O」")));

  const fs::path bytes = dir_ / "bytes.tvl";
  std::ofstream(bytes, std::ios::binary) << "500\r\n\x81\r\n";  // a lone CP932 lead byte
  const Process undecodable = run("'" + bytes.string() + "'");
  EXPECT_EQ(undecodable.status, 2);
  EXPECT_EQ(undecodable.out, "");
}

TEST_F(BatchCommandTest, RatioDefaultsAreReportedOnStderrAndTheRunGoesOn) {
  const fs::path path = changedSample("ordinary-3span.tvl", {{38, "abc"}});
  const Process r = run("'" + path.string() + "' --json");
  EXPECT_EQ(r.status, 0);
  EXPECT_THAT(r.err, AllOf(HasSubstr("39 行目"), HasSubstr("「abc」")));
  EXPECT_EQ(Json::parse(r.out)["settings"]["loadRatios"][2], 0.0);
}

// A table of an office's own with V0 outside the notice's values is used as
// it stands, with its warning on stderr once per run.
TEST_F(BatchCommandTest, WindSpeedOutsideTheNoticeIsWarnedOnceAndUsed) {
  const fs::path data = dir_ / "data";
  fs::create_directories(data);
  fs::copy_file(kSource / "Load_data" / "Data_SnowfallV.csv", data / "Data_SnowfallV.csv");
  std::vector<std::string> lines = readTextLines(kSource / "Load_data" / "Data_Address.csv");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string& line = lines[i];
    std::size_t comma = 0;
    for (int field = 0; field < 5; ++field)
      comma = line.find(',', comma) + 1;
    line.replace(comma, line.find(',', comma) - comma, "5");
  }
  writeTextLines(data / "Data_Address.csv", lines);
  const std::string project = (kExamples / "ordinary-3span.tvl").string();
  const Process r = run("'" + project + "' '" + project + "' --data-dir '" + data.string() + "'");
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string warning =
      "」の風荷重V0（基準風速 m/s）が告示の値（30～46）の外です: 2 行目「5」";
  EXPECT_THAT(r.err,
              HasSubstr(project + ": ファイル「" + (data / "Data_Address.csv").string() + warning));
  EXPECT_EQ(r.err.find(warning), r.err.rfind(warning)) << "once per run";
  EXPECT_THAT(r.out, HasSubstr("V0 = 5 m/s"));
}

// Options start with "-" on every system: a leading "/" is a path (on
// Windows one from the root of the current drive), never an option.
TEST_F(BatchCommandTest, ALeadingSlashIsAPathNeverAnOption) {
  std::string rooted = (kExamples / "ordinary-3span.tvl").generic_string();
  if (rooted.size() > 1 && rooted[1] == ':')
    rooted.erase(0, 2);  // "Z:/work/…" under Wine: the same file from the drive's root
  ASSERT_EQ(rooted.front(), '/');
  const Process json = run("'" + rooted + "' --json");
  EXPECT_EQ(json.status, 0) << json.err;
  EXPECT_THAT(json.out, HasSubstr("\"verdict\""));

  const Process slashed = run("'" + rooted + "' /json");
  EXPECT_EQ(slashed.status, 2) << "a second project that cannot be read";
  EXPECT_THAT(slashed.err, HasSubstr("/json: "));
  EXPECT_THAT(slashed.out, AllOf(HasSubstr("判定: "), Not(HasSubstr("\"verdict\""))));
}

TEST_F(BatchCommandTest, DataFolderAndArguments) {
  const Process empty = run("'" + (kExamples / "ordinary-3span.tvl").string() + "' --data-dir '" +
                            dir_.string() + "'");
  EXPECT_EQ(empty.status, 2);
  EXPECT_EQ(empty.out, "");
  EXPECT_THAT(empty.err, HasSubstr("Data_Address.csv"));

  const Process help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out,
              AllOf(HasSubstr("--json"), HasSubstr("--data-dir"), HasSubstr("終了コード")));
  EXPECT_EQ(run("").status, 2);
}

// The option parser's own messages and help speak the program's Japanese.
TEST_F(BatchCommandTest, CommandLineMessagesAreTheProgramsOwn) {
  const std::string project = "'" + (kExamples / "ordinary-3span.tvl").string() + "'";
  const std::pair<std::string, std::string> refusals[] = {
      {"", "データファイル (.tvl) を指定して下さい。"},
      {project + " --bogus -z", "使えない引数です: 「--bogus」「-z」。"},
      {project + " --pdf", "--pdf の値がありません。"},
      {project + " --json=abc", "--json には値を付けられません。"},
      {project + " --pdf a.pdf --pdf b.pdf", "--pdf は 1 回だけ指定できます。"},
  };
  for (const auto& [arguments, message] : refusals) {
    const Process r = run(arguments);
    EXPECT_EQ(r.status, 2) << arguments;
    EXPECT_EQ(r.out, "") << arguments;
    EXPECT_EQ(r.err, message + "\n使い方は --help で表示します。\n") << arguments;
  }
  const Process help = run("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out,
              AllOf(HasSubstr("使い方: tavilo-calc [オプション] PROJECT..."),
                    HasSubstr("\nオプション:\n"), HasSubstr("この説明を表示して終了する")));
  for (const char* english : {"Usage", "Options", "Positionals", "Print this", "REQUIRED", "TEXT"})
    EXPECT_THAT(help.out, Not(HasSubstr(english)));

  const Process version = run("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tavilo-calc 5.4\n");
#ifdef TAVILO_DESKTOP_EXE
  // The desktop program answers too, without a display.
  const Process desktop = runProgram(TAVILO_DESKTOP_EXE, "--version");
  EXPECT_EQ(desktop.status, 0);
  EXPECT_EQ(desktop.out, "tavilo 5.4\n");
#endif
}

// --step takes plain decimal digits; empty names are refused, not ignored.
TEST_F(BatchCommandTest, StepIsDecimalDigitsAndNoOptionValueIsEmpty) {
  const std::string project = "'" + (kExamples / "ordinary-3span.tvl").string() + "'";
  const Process leadingZero = run(project + " --span-table --json --step 010");
  ASSERT_EQ(leadingZero.status, 0) << leadingZero.err;
  EXPECT_EQ(Json::parse(leadingZero.out)["step"], 10) << "not octal";
  const std::pair<std::string, std::string> refusals[] = {
      {"0x10", "--step 0x10: "},     {"1e2", "--step 1e2: "},
      {"-5", "--step -5: "},         {"99999999999", "--step 99999999999: "},
      {"", "--step の値が空です。"},
  };
  for (const auto& [step, start] : refusals) {
    const Process r = run(project + " --span-table --step '" + step + "'");
    EXPECT_EQ(r.status, 2) << step;
    EXPECT_EQ(r.err, start + "スパン表の刻みは 1〜1,000 (mm) の整数で指定して下さい。\n") << step;
  }
  const Process dataDir = run(project + " --data-dir ''");
  EXPECT_EQ(dataDir.status, 2);
  EXPECT_EQ(dataDir.err,
            "--data-dir のフォルダ名が空です。所在地データのフォルダを指定して下さい。\n");
}

TEST_F(BatchCommandTest, DefaultDataFolderIsBesideThenInstalledThenAbove) {
  const auto withTables = [](const fs::path& folder) {
    fs::create_directories(folder);
    std::ofstream(folder / "Data_Address.csv") << "x\r\n";
  };
  const fs::path exe = dir_ / "build" / "src" / "app" / "tavilo-calc";
  fs::create_directories(exe.parent_path());
  withTables(dir_ / "Load_data");
  EXPECT_EQ(defaultDataDir(exe), dir_ / "Load_data");
  withTables(exe.parent_path() / "Load_data");
  EXPECT_EQ(defaultDataDir(exe), exe.parent_path() / "Load_data");

  // Installed as the package lays it out, /usr/bin beside /usr/share/tavilo:
  // found before any Load_data above.
  const fs::path installed = dir_ / "usr" / "bin" / "tavilo-calc";
  fs::create_directories(installed.parent_path());
  EXPECT_EQ(defaultDataDir(installed), dir_ / "Load_data");
  withTables(dir_ / "usr" / "share" / "tavilo" / "Load_data");
  EXPECT_EQ(defaultDataDir(installed), dir_ / "usr" / "share" / "tavilo" / "Load_data");
}

// A build without Qt has no report writer: the options that ask for report
// files are refused before anything is read or made, and the rest works.
TEST_F(BatchCommandTest, WithoutAReportWriterReportFilesAreRefused) {
  BatchOptions base;
  base.projects = {kExamples / "ordinary-3span.tvl"};
  base.dataDir = kSource / "Load_data";
  const auto withFile = [&](std::optional<fs::path> BatchOptions::*option, const char* name) {
    BatchOptions options = base;
    options.*option = dir_ / name;
    return options;
  };
  for (const BatchOptions& options :
       {withFile(&BatchOptions::pdf, "r.pdf"), withFile(&BatchOptions::png, "r.png"),
        withFile(&BatchOptions::pdfDir, "pdfs"), withFile(&BatchOptions::pngDir, "pngs")}) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runBatch(options, exe(), out, err, nullptr), kBatchRefused);
    EXPECT_EQ(out.str(), "");
    EXPECT_THAT(err.str(), HasSubstr("このビルドの tavilo-calc は計算書のファイルを書きません"));
  }
  EXPECT_TRUE(fs::is_empty(dir_)) << "no report file or folder was made";

  BatchOptions json = base;
  json.json = true;
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runBatch(json, exe(), out, err, nullptr), kBatchCalculated) << err.str();
  EXPECT_THAT(out.str(), HasSubstr("\"verdict\""));
}

}  // namespace
}  // namespace tavilo
