// The report files of tavilo-calc: --pdf and --png, alone and with --json.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

namespace tavilo {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(TAVILO_SOURCE_DIR) / "examples";

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class BatchReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavilo_batch_report_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the built command; answers its exit status.
  int run(const std::string& arguments) {
    const std::string command = "'" + std::string(TAVILO_CALC_EXE) + "' " + arguments + " >'" +
                                (dir_ / "stdout").string() + "' 2>'" + (dir_ / "stderr").string() +
                                "'";
    const int status = std::system(command.c_str());
    out_ = readFile(dir_ / "stdout");
    err_ = readFile(dir_ / "stderr");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  fs::path dir_;
  std::string out_;
  std::string err_;
};

TEST_F(BatchReportTest, PdfAndPngBesideTheJson) {
  const fs::path pdf = dir_ / "report.pdf";
  const fs::path png = dir_ / "report.png";
  ASSERT_EQ(run("'" + (kExamples / "heavy-snow-overhangs.tvl").string() + "' --json --pdf '" +
                pdf.string() + "' --png '" + png.string() + "'"),
            0)
      << err_;
  EXPECT_EQ(readFile(pdf).substr(0, 5), "%PDF-");
  EXPECT_EQ(readFile(png).substr(1, 3), "PNG");
  // Standard output holds the JSON document alone; the file names go to the
  // error stream.
  const nlohmann::json json = nlohmann::json::parse(out_);
  EXPECT_TRUE(json.contains("verdict"));
  EXPECT_NE(err_.find(pdf.string()), std::string::npos);
  EXPECT_NE(err_.find(png.string()), std::string::npos);
  // Only the two files and the captured streams are left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4);
}

TEST_F(BatchReportTest, UnwritableReportStopsWithoutOutput) {
  const fs::path pdf = dir_ / "missing" / "report.pdf";
  EXPECT_EQ(
      run("'" + (kExamples / "ordinary-3span.tvl").string() + "' --pdf '" + pdf.string() + "'"), 2);
  EXPECT_TRUE(out_.empty());
  EXPECT_NE(err_.find("PDFファイル"), std::string::npos);
  EXPECT_FALSE(fs::exists(pdf.parent_path()));
}

}  // namespace
}  // namespace tavilo
