#include "persistence/project_lines.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include <string>
#include <vector>

#include "../support/scratch_folder.h"
#include "calc/errors.h"
#include "persistence/project_paths.h"

namespace tavilo {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using Lines = std::vector<std::string>;

std::string errorOf(const auto& action) {
  try {
    action();
  } catch (const UserError& error) {
    return error.what();
  }
  return "no error";
}

// A legacy keyed file of 73 lines whose value on line n is "v<n>", with the
// lines that the conversion computes with holding numbers.
Lines legacyFile() {
  Lines lines;
  for (int n = 0; n < 73; ++n)
    lines.push_back("key" + std::to_string(n) + "=v" + std::to_string(n));
  lines[0] = "物件名称=倉庫A棟";
  lines[3] = "D=2";
  lines[4] = "J=0";
  lines[9] = "F=150";
  lines[10] = "RHO=20";
  lines[11] = "M=1";
  lines[12] = "SEA=40.50";
  lines[13] = "DEPTH=90";
  lines[14] = "ALT=120";
  lines[17] = "SHAPE=2";
  lines[18] = "RS=1";
  lines[22] = "ROOF=0";
  lines[23] = "H1=1200";
  lines[24] = "H2=1500";
  lines[25] = "D=2000";
  lines[26] = "N=3";
  lines[61] = "R12=1.00";
  lines[63] = "R14=0.70";
  lines[65] = "R15=1";
  lines[67] = "R17=1";
  lines[68] = "R18=0";
  lines[69] = "R19=1";
  lines[71] = "R21=.35";
  lines[72] = "R22=1";
  lines[39] = "S1=2500=x";  // only the first "=" separates
  return lines;
}

TEST(LegacyProjectTest, ConvertsLineByLineToTheVersionlessLayout) {
  const Lines converted = convertLegacyProject(legacyFile());
  const Lines expected = {
      // 0-9: deck, end joint (swapped), prefecture, district, V0, roughness, H1, H2, D, roof
      "2",
      "1",
      "v5",
      "v6",
      "v20",
      "v19",
      "12000",
      "15000",
      "20000",
      "3",
      // 10-19: shape, roof shape, snow mode, reference texts, altitude, sea ratio, R, depth, rho
      "9",
      "11",
      "2",
      "0",
      "--",
      "120",
      "40.5",
      "--",
      "90",
      "20",
      // 20-29: live load, finishing, span count, spans, title, page-number settings
      "0",
      "150",
      "3",
      "2500=x",
      "v40",
      "v41",
      "v42",
      "倉庫A棟",
      "21",
      "0",
      // 30-39: first page, flag, max length, F, ratios 1-6
      "1",
      "1",
      "12000",
      "235",
      "1",
      "1",
      "0",
      "1",
      "1",
      "1",
      // 40-49: ratios 7-16
      "0",
      "1",
      "1",
      "0",
      "1",
      "1",
      "1",
      "0.7",
      "1",
      "1",
      // 50-55: ratios 17-22
      "1",
      "0",
      "1",
      "1",
      "0.35",
      "1",
  };
  EXPECT_EQ(converted, expected);
}

TEST(LegacyProjectTest, CodesAndJointFollowTheirRules) {
  Lines lines = legacyFile();
  lines[4] = "J=1";
  lines[22] = "ROOF=2";
  lines[17] = "SHAPE=x";
  lines[18] = "RS=";
  EXPECT_EQ(convertLegacyProject(lines)[1], "0");   // "1" becomes "0"
  EXPECT_EQ(convertLegacyProject(lines)[9], "6");   // 2 + 4
  EXPECT_EQ(convertLegacyProject(lines)[10], "7");  // not a number: 0 + 7
  EXPECT_EQ(convertLegacyProject(lines)[11], "10");
  lines[4] = "J=2";
  lines[22] = "ROOF=abc";
  EXPECT_EQ(convertLegacyProject(lines)[1], "2");
  EXPECT_EQ(convertLegacyProject(lines)[9], "5");  // not a number: 1 + 4
  lines[4] = "no equals sign";
  EXPECT_EQ(convertLegacyProject(lines)[1], "no equals sign");
}

TEST(LegacyProjectTest, AValueThatMustBeANumberStopsTheConversion) {
  Lines lines = legacyFile();
  lines[24] = "H2=12.5m";
  EXPECT_THAT(errorOf([&] { convertLegacyProject(lines, "old.tvl"); }),
              AllOf(HasSubstr("old.tvl"), HasSubstr("25 行目"), HasSubstr("「12.5m」")));
  lines[24] = "H2=1500";
  lines.resize(70);  // the heavy-snow ratio lines 71 and 72 are missing
  EXPECT_THAT(errorOf([&] { convertLegacyProject(lines, "old.tvl"); }),
              AllOf(HasSubstr("72 行目"), HasSubstr("値がありません")));
}

// Every line of the layout has its name; the spans and ratios are numbered
// from 1 within their runs.
TEST(ProjectLayoutTest, EveryLineIsNamedInMessages) {
  EXPECT_EQ(projectItemName(ProjectItem::Version), "版数");
  EXPECT_EQ(projectItemName(ProjectItem::SpanCount), "スパン数");
  EXPECT_EQ(projectItemName(ProjectItem::Span1), "スパン 1");
  EXPECT_EQ(projectItemName(spanItem(4)), "スパン 4");
  EXPECT_EQ(projectItemName(ProjectItem::ProjectTitle), "物件名");
  EXPECT_EQ(projectItemName(ratioItem(0)), "荷重の比率 1");
  EXPECT_EQ(projectItemName(ratioItem(kLoadRatioCount - 1)), "荷重の比率 22");
  EXPECT_EQ(projectItemName(ProjectItem::CalcMethod), "計算の方法");
  EXPECT_EQ(projectItemName(ProjectItem::RightOverhang), "右はね出し長さ");
  for (int line = 0; line < kProjectLineCount; ++line)
    EXPECT_FALSE(projectItemName(static_cast<ProjectItem>(line)).empty()) << line;
  EXPECT_EQ(projectItemName(static_cast<ProjectItem>(kProjectLineCount)), "");
}

TEST(ProjectReaderTest, LayoutIsDecidedByTheFirstLine) {
  EXPECT_EQ(projectLayoutOf("500"), ProjectLayout::Current);
  EXPECT_EQ(projectLayoutOf("401"), ProjectLayout::Current);
  EXPECT_EQ(projectLayoutOf("0"), ProjectLayout::Versionless);
  EXPECT_EQ(projectLayoutOf("500 "), ProjectLayout::Versionless);
  EXPECT_EQ(projectLayoutOf(""), ProjectLayout::Versionless);

  const ProjectReader reader(legacyFile(), "old.tvl");
  EXPECT_TRUE(reader.converted());
  EXPECT_EQ(reader.layout(), ProjectLayout::Versionless);
  EXPECT_EQ(reader.lineCount(), 56u);
  EXPECT_FALSE(reader.hasDeckAndOverhangLines());
}

TEST(ProjectReaderTest, ItemsComeFromTheirLinesInEachLayout) {
  Lines current(67);
  Lines versionless(56);
  for (int i = 0; i < 67; ++i)
    current[static_cast<std::size_t>(i)] = "c" + std::to_string(i);
  for (int i = 0; i < 56; ++i)
    versionless[static_cast<std::size_t>(i)] = "v" + std::to_string(i);
  current[0] = "500";
  const ProjectReader now(current, "a.tvl");
  const ProjectReader old(versionless, "b.tvl");

  EXPECT_EQ(now.text(ratioItem(18)), "c54");  // ratio 19
  EXPECT_EQ(old.text(ratioItem(18)), "v52");
  EXPECT_EQ(now.text(ProjectItem::MidJoint), "c3");
  EXPECT_EQ(old.text(ProjectItem::DeckType), "v0");
  EXPECT_EQ(old.text(ProjectItem::EndJoint), "v1");
  EXPECT_EQ(old.text(ProjectItem::MidJoint), "v1");  // same as the end joint
  EXPECT_EQ(old.text(ProjectItem::Prefecture), "v2");
  EXPECT_EQ(old.text(ProjectItem::Version), "");
  EXPECT_EQ(old.text(ProjectItem::CalcMethod), "");  // beyond the end
  EXPECT_TRUE(now.hasDeckAndOverhangLines());
}

TEST(ProjectReaderTest, NumbersDefaultsAndMessages) {
  Lines lines(67, "7");
  lines[0] = "500";
  lines[17] = "12a";
  lines[40] = "0,7";
  lines[4] = "x";
  const ProjectReader reader(lines, "/data/p.tvl");

  EXPECT_EQ(reader.indexOr(ProjectItem::Prefecture, 0), 0);
  EXPECT_EQ(reader.indexOr(ProjectItem::DeckType, 0), 7);
  EXPECT_EQ(reader.integer(ProjectItem::SeaRatio), 7);
  EXPECT_THAT(errorOf([&] { reader.integer(ProjectItem::Altitude); }),
              AllOf(HasSubstr("/data/p.tvl"), HasSubstr("18 行目"), HasSubstr("標高"),
                    HasSubstr("「12a」")));
  EXPECT_THAT(errorOf([&] { reader.throwOutsideList(ProjectItem::DeckType); }),
              AllOf(HasSubstr("2 行目"), HasSubstr("デッキ種類"), HasSubstr("「7」")));
  EXPECT_FALSE(reader.decimal(ratioItem(4)).has_value());
  const std::string message = reader.ratioMessage(ratioItem(4), "1");
  EXPECT_THAT(message, AllOf(HasSubstr("\n"), HasSubstr("41 行目"), HasSubstr("「0,7」"),
                             HasSubstr("初期値 1")));
}

TEST(ProjectReaderTest, MessagesOfAConvertedFileNameTheLegacyLine) {
  Lines legacy = legacyFile();
  legacy[13] = "DEPTH=9O";
  const ProjectReader reader(legacy, "old.tvl");
  EXPECT_THAT(errorOf([&] { reader.integer(ProjectItem::SnowDepth); }),
              AllOf(HasSubstr("14 行目"), HasSubstr("「9O」")));
}

TEST(ProjectPathsTest, DialogStartsAndExtension) {
  ProjectPaths paths;
  const SaveLocation first = suggestedSaveLocation(paths, "/opt/tavilo/Data");
  EXPECT_EQ(first.folder, "/opt/tavilo/Data");
  EXPECT_EQ(first.fileName, "Data.tvl");
  EXPECT_EQ(openStartFolder(paths, "/opt/tavilo/Data"), "/opt/tavilo/Data");

  rememberSaved(paths, "/home/u/saved.tvl");
  EXPECT_EQ(suggestedSaveLocation(paths, "/opt/tavilo").fileName, "saved.tvl");
  rememberOpened(paths, "/home/u/old/roof.txt");
  const SaveLocation reopened = suggestedSaveLocation(paths, "/opt/tavilo");
  EXPECT_EQ(reopened.folder, "/home/u/old");
  EXPECT_EQ(reopened.fileName, "roof.tvl");
  EXPECT_EQ(openStartFolder(paths, "/opt/tavilo"), "/home/u/old");
  EXPECT_EQ(paths.current, "/home/u/old/roof.txt");
  EXPECT_EQ(projectWindowTitle(paths.current), "Tavilo for win [/home/u/old/roof.txt]");

  EXPECT_EQ(withProjectExtension("/home/u/roof"), "/home/u/roof.tvl");
}

TEST(ProjectPathsTest, DefaultFolderIsBesideTheProgramUnlessItCannotBeWritten) {
  namespace fs = std::filesystem;
  const fs::path root = testing::makeScratchFolder("tavilo_paths");
  const fs::path program = root / "bin";
  const fs::path documents = root / "docs";
  fs::create_directories(program);
  EXPECT_EQ(defaultProjectFolder(program, documents), program / "Data");
  EXPECT_TRUE(fs::is_directory(program / "Data")) << "made on first use";

  // A "Data" that cannot serve (here a file; for users also a read-only
  // installation folder) sends the dialogs to the documents folder.
  fs::remove(program / "Data");
  std::ofstream(program / "Data") << "not a folder";
  EXPECT_EQ(defaultProjectFolder(program, documents), documents / "Tavilo");
  EXPECT_TRUE(fs::is_directory(documents / "Tavilo"));
  fs::remove_all(root);
  EXPECT_EQ(withProjectExtension("/home/u/roof.tvl"), "/home/u/roof.tvl");
  EXPECT_EQ(withProjectExtension("/home/u/roof.bak"), "/home/u/roof.bak");
}

}  // namespace
}  // namespace tavilo
