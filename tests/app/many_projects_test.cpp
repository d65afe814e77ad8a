// The batch command with several project files and with the span table.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <filesystem>
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
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;
using Json = nlohmann::ordered_json;

const fs::path kSource = TAVILO_SOURCE_DIR;
const fs::path kExamples = kSource / "examples";

using testing::Process;
using testing::readFile;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> keysOf(const Json& object) {
  std::vector<std::string> keys;
  for (auto it = object.begin(); it != object.end(); ++it)
    keys.push_back(it.key());
  return keys;
}

std::string quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

class ManyProjectsTest : public testing::CommandTest {
 protected:
  // The ordinary sample with a maximum deck length its spans exceed.
  fs::path refusedProject() const {
    std::vector<std::string> lines = readTextLines(kExamples / "ordinary-3span.tvl");
    lines[34] = "5000";
    const fs::path path = dir_ / "too-long.tvl";
    writeTextLines(path, lines);
    return path;
  }
};

const fs::path kOrdinary = kExamples / "ordinary-3span.tvl";
const fs::path kHeavySnow = kExamples / "heavy-snow-overhangs.tvl";

TEST_F(ManyProjectsTest, JsonLinesNameTheirFileAndARefusedFileDoesNotStopTheRun) {
  const fs::path refused = refusedProject();
  const Process r =
      run(quoted(kOrdinary) + " " + quoted(refused) + " " + quoted(kHeavySnow) + " --json");
  EXPECT_EQ(r.status, 2);
  const std::vector<std::string> lines = linesOf(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  const Json first = Json::parse(lines[0]);
  EXPECT_EQ(keysOf(first).front(), "file");
  EXPECT_EQ(first["file"], kOrdinary.string());
  EXPECT_TRUE(first["verdict"].is_object());
  const Json second = Json::parse(lines[1]);
  EXPECT_THAT(keysOf(second), ElementsAre("file", "refusal"));
  EXPECT_THAT(second["refusal"].get<std::string>(), StartsWith("デッキの最大長さを超えています。"));
  EXPECT_EQ(Json::parse(lines[2])["conditions"]["heavySnow"], 1);
  EXPECT_THAT(r.err, StartsWith(refused.string() + ": デッキの最大長さを超えています。"));

  const Process allCalculated = run(quoted(kOrdinary) + " " + quoted(kHeavySnow) + " --json");
  EXPECT_EQ(allCalculated.status, 0);
}

// Each project runs as after a new start. A calculation with loads entered
// directly keeps the snow depth and ρ of the one before it in the same
// session, and the JSON shows them; after another project they must still
// be those of a fresh start.
TEST_F(ManyProjectsTest, NothingOfOneProjectReachesTheNext) {
  const fs::path direct = kExamples / "direct-1span.tvl";
  const fs::path versionless = kSource / "tests/golden/projects/versionless.tvl";
  const Process after =
      run(quoted(kHeavySnow) + " " + quoted(direct) + " " + quoted(versionless) + " --json");
  ASSERT_EQ(after.status, 0) << after.err;
  const std::vector<std::string> lines = linesOf(after.out);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::size_t i : {1u, 2u}) {
    Json line = Json::parse(lines[i]);
    const fs::path file = line["file"].get<std::string>();
    line.erase("file");
    const Process alone = run(quoted(file) + " --json");
    ASSERT_EQ(alone.status, 0) << alone.err;
    EXPECT_EQ(line, Json::parse(alone.out)) << file;
  }
}

TEST_F(ManyProjectsTest, SummaryBlocksAreHeadedByTheirFile) {
  const fs::path refused = refusedProject();
  const Process r = run(quoted(kOrdinary) + " " + quoted(refused) + " " + quoted(kHeavySnow));
  EXPECT_EQ(r.status, 2);
  const std::string refusedBlock = "データファイル: " + refused.string() + "\nデッキの最大長さ";
  EXPECT_THAT(r.out, AllOf(StartsWith("データファイル: " + kOrdinary.string() + "\n"),
                           HasSubstr("判定: "), HasSubstr("\n\n" + refusedBlock),
                           HasSubstr("\n\nデータファイル: " + kHeavySnow.string() + "\n")));
}

TEST_F(ManyProjectsTest, ControlCharactersOfFileNamesAreShownVisibly) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names hold no control characters";
#endif
  const fs::path broken = dir_ / "bad\nname.tvl";
  fs::rename(refusedProject(), broken);
  const fs::path missing = dir_ / "gone\x1b[2J.tvl";
  const Process r = run(quoted(broken) + " " + quoted(missing) + " " + quoted(kOrdinary));
  EXPECT_EQ(r.status, 2);
  const std::string brokenShown = (dir_ / "bad␊name.tvl").string();
  const std::string missingShown = (dir_ / "gone␛[2J.tvl").string();
  const std::vector<std::string> errors = linesOf(r.err);
  ASSERT_EQ(errors.size(), 2u) << r.err;
  EXPECT_THAT(errors[0], StartsWith(brokenShown + ": デッキの最大長さを超えています。"));
  EXPECT_THAT(errors[1], AllOf(StartsWith(missingShown + ": "),
                               HasSubstr("「" + missingShown + "」を開けません")));
  EXPECT_THAT(r.out, AllOf(StartsWith("データファイル: " + brokenShown + "\nデッキの最大長さ"),
                           HasSubstr("\n\nデータファイル: " + missingShown + "\n")));
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
}

#ifndef _WIN32
// A named pipe among the projects is refused at once; it neither hangs the
// run nor stops the projects after it.
TEST_F(ManyProjectsTest, ANamedPipeAmongTheProjectsIsRefusedAtOnce) {
  const fs::path pipe = dir_ / "pipe.tvl";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const Process r =
      runProgram("/usr/bin/timeout", "60 '" + std::string(TAVILO_CALC_EXE) + "' " + quoted(pipe) +
                                         " " + quoted(kOrdinary) + " --json");
  EXPECT_EQ(r.status, 2) << "124 means it hung";
  const std::vector<std::string> lines = linesOf(r.out);
  ASSERT_EQ(lines.size(), 2u) << r.out;
  EXPECT_THAT(Json::parse(lines[0])["refusal"].get<std::string>(),
              HasSubstr("通常のファイルではありません"));
  EXPECT_TRUE(Json::parse(lines[1])["verdict"].is_object());
}
#endif

TEST_F(ManyProjectsTest, ReportFoldersHoldOneFilePerProject) {
  if (!testing::kWritesReportFiles)
    GTEST_SKIP() << "this build writes no report files";
  const fs::path pdfs = dir_ / "pdf";
  const fs::path pngs = dir_ / "png" / "new";
  const Process r = run(quoted(kOrdinary) + " " + quoted(kHeavySnow) + " --pdf-dir " +
                        quoted(pdfs) + " --png-dir " + quoted(pngs));
  ASSERT_EQ(r.status, 0) << r.err;
  for (const fs::path& file : {pdfs / "ordinary-3span.pdf", pdfs / "heavy-snow-overhangs.pdf"})
    EXPECT_EQ(readFile(file).substr(0, 5), "%PDF-") << file;
  EXPECT_TRUE(fs::is_regular_file(pngs / "heavy-snow-overhangs.png"));
  EXPECT_THAT(r.err, HasSubstr(kHeavySnow.string() + ": 計算書 (PDF) を書きました: "));

  // Two projects of one name would write one file twice; nothing is run.
  fs::create_directories(dir_ / "other");
  fs::copy_file(kOrdinary, dir_ / "other" / "ordinary-3span.tvl");
  const Process twice = run(quoted(kOrdinary) + " " + quoted(dir_ / "other/ordinary-3span.tvl") +
                            " --pdf-dir " + quoted(dir_ / "twice"));
  EXPECT_EQ(twice.status, 2);
  EXPECT_EQ(twice.out, "");
  EXPECT_THAT(twice.err, HasSubstr("出力先が同じファイル"));
  EXPECT_FALSE(fs::exists(dir_ / "twice"));

  const Process one =
      run(quoted(kOrdinary) + " " + quoted(kHeavySnow) + " --pdf " + quoted(dir_ / "x.pdf"));
  EXPECT_EQ(one.status, 2);
  EXPECT_THAT(one.err, HasSubstr("--pdf-dir"));
}

TEST_F(ManyProjectsTest, SpanTableAsJsonCsvAndText) {
  const Process json = run(quoted(kHeavySnow) + " --span-table --step 50 --json");
  ASSERT_EQ(json.status, 0) << json.err;
  const Json doc = Json::parse(json.out);
  EXPECT_THAT(keysOf(doc), ElementsAre("project", "step", "cells"));
  EXPECT_EQ(doc["project"], kHeavySnow.string());
  EXPECT_EQ(doc["step"], 50);
  ASSERT_EQ(doc["cells"].size(), 16u);
  int marked = 0;
  for (const Json& cell : doc["cells"]) {
    EXPECT_THAT(keysOf(cell), ElementsAre("deck", "spanCount", "span", "stoppedBy", "isProject"));
    EXPECT_TRUE(cell["span"].is_null() || cell["span"].get<int>() % 50 == 0);
    marked += cell["isProject"].get<bool>();
  }
  EXPECT_EQ(marked, 1);
  EXPECT_EQ(doc["cells"][15]["deck"], "KX-75-16");
  EXPECT_EQ(doc["cells"][15]["spanCount"], 4);
  EXPECT_EQ(doc["cells"][15]["stoppedBy"], "deckLength");

  const Process csv = run(quoted(kHeavySnow) + " " + quoted(kOrdinary) + " --span-table --csv");
  ASSERT_EQ(csv.status, 0) << csv.err;
  const std::vector<std::string> rows = linesOf(csv.out);
  ASSERT_EQ(rows.size(), 33u);
  EXPECT_EQ(rows[0], "project,deck,spanCount,span,stoppedBy,isProject");
  EXPECT_EQ(rows[32].substr(0, kOrdinary.string().size() + 10), kOrdinary.string() + ",KX-75-16,");

  const Process text = run(quoted(kHeavySnow) + " --span-table");
  ASSERT_EQ(text.status, 0) << text.err;
  EXPECT_THAT(text.out, AllOf(HasSubstr("4連続梁"), HasSubstr("*3,410 mm 応力"),
                              HasSubstr("2,770 mm デッキ長さ")));

  if (!testing::kWritesReportFiles)
    return;
  const fs::path pdf = dir_ / "span.pdf";
  const Process page = run(quoted(kHeavySnow) + " --span-table --pdf " + quoted(pdf));
  ASSERT_EQ(page.status, 0) << page.err;
  EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
  EXPECT_THAT(page.err, HasSubstr("スパン表 (PDF) を書きました"));
}

TEST_F(ManyProjectsTest, OptionsThatDoNotGoTogetherAreRefused) {
  for (const char* options :
       {"--csv", "--step 20", "--span-table --step 0", "--span-table --png x.png",
        "--span-table --json --csv", "--pdf a.pdf --pdf-dir d"}) {
    const Process r = run(quoted(kOrdinary) + " " + options);
    EXPECT_EQ(r.status, 2) << options;
    EXPECT_EQ(r.out, "") << options;
    EXPECT_NE(r.err, "") << options;
  }
}

}  // namespace
}  // namespace tavilo
