// The report files of a large batch: the check that no two projects write
// one file, and the progress line while the batch runs.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/batch_command.h"
#include "command_test_support.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;

const fs::path kExamples = fs::path(TAVILO_SOURCE_DIR) / "examples";

// Writes no file; names what it was asked to write.
class NamingWriter : public ReportFileWriter {
 public:
  void writeReport(const ReportFileRequest& request, const CalculationOutcome&,
                   std::ostream& err) override {
    err << "書いたことにします: " << request.pdf.value_or("").filename().string() << '\n';
  }
  void writeSpanTable(const fs::path&, const SpanTable&, const PrintSettings&, const fs::path&,
                      std::ostream&) override {}
};

class OutputNamesTest : public testing::CommandTest {};

// Two thousand projects in twenty folders: the check answers at once (it
// compares normalised names through a hash, not every pair) and still finds
// the one project whose report would replace another or a project.
TEST_F(OutputNamesTest, TwoThousandProjectsAreCheckedAndACollisionNamed) {
  NamingWriter writer;
  BatchOptions options;
  options.pdfDir = dir_ / "pdf";
  options.pngDir = dir_ / "png";
  for (int i = 0; i < 2000; ++i) {
    const fs::path folder = dir_ / ("site" + std::to_string(i % 20));
    options.projects.push_back(folder / ("p" + std::to_string(i) + ".tvl"));
  }
  EXPECT_EQ(outputNameRefusal(options, &writer), std::nullopt);

  BatchOptions twice = options;
  twice.projects.push_back(dir_ / "late" / "p1234.tvl");
  const auto collision = outputNameRefusal(twice, &writer);
  ASSERT_TRUE(collision.has_value());
  EXPECT_THAT(*collision, AllOf(HasSubstr((dir_ / "site14" / "p1234.tvl").string()),
                                HasSubstr((dir_ / "late" / "p1234.tvl").string()),
                                HasSubstr("出力先が同じファイル")));

  // A project that is itself a name the run writes, spelt another way.
  BatchOptions itself = options;
  itself.projects.push_back(dir_ / "pdf" / ".." / "pdf" / "late.pdf");
  const auto replaced = outputNameRefusal(itself, &writer);
  ASSERT_TRUE(replaced.has_value());
  EXPECT_THAT(*replaced, HasSubstr("読み込むデータファイルそのもの"));
}

// On a terminal the batch says which project it is at on one line that is
// updated in place and erased before every message and at the end; anywhere
// else it says nothing of it.
TEST_F(OutputNamesTest, ProgressLineOnlyOnATerminal) {
  NamingWriter writer;
  BatchOptions options;
  options.projects = {kExamples / "ordinary-3span.tvl", kExamples / "direct-1span.tvl"};
  options.dataDir = fs::path(TAVILO_SOURCE_DIR) / "Load_data";
  options.pdfDir = dir_ / "pdf";
  for (const bool terminal : {true, false}) {
    options.progress = terminal;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runBatch(options, kExamples, out, err, &writer), kBatchCalculated) << err.str();
    if (!terminal) {
      EXPECT_THAT(err.str(), Not(HasSubstr("\r")));
      EXPECT_THAT(err.str(), Not(HasSubstr("計算書を作成しています")));
      continue;
    }
    const std::string erase = "\r\x1b[K";
    EXPECT_THAT(err.str(),
                AllOf(HasSubstr(erase + "計算書を作成しています: 1 / 2  " +
                                options.projects[0].string() + erase),
                      HasSubstr(erase + "計算書を作成しています: 2 / 2  " +
                                options.projects[1].string() + erase),
                      HasSubstr(erase + options.projects[1].string() + ": 書いたことにします"),
                      EndsWith("書いたことにします: direct-1span.pdf\n")));
    EXPECT_THAT(out.str(), Not(HasSubstr("\r"))) << "the results stay clean";
  }
}

// The command itself: the progress line when its stderr is a terminal (the
// pseudo-terminal of script(1)), none when it is a file.
TEST_F(OutputNamesTest, CommandShowsProgressOnlyOnATerminal) {
#ifdef _WIN32
  GTEST_SKIP() << "no pseudo-terminal under Wine";
#else
  if (!testing::kWritesReportFiles)
    GTEST_SKIP() << "this build writes no report files";
  const std::string projects = "'" + (kExamples / "ordinary-3span.tvl").string() + "' '" +
                               (kExamples / "direct-1span.tvl").string() + "' --pdf-dir '" +
                               (dir_ / "pdf").string() + "'";
  const testing::Process file = run(projects);
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_THAT(file.err, Not(HasSubstr("計算書を作成しています")));

  const fs::path typescript = dir_ / "terminal";
  const std::string command = "script -qec \"'" + std::string(TAVILO_CALC_EXE) + "' " + projects +
                              " >/dev/null\" /dev/null > '" + typescript.string() + "' 2>&1";
  if (std::system(command.c_str()) != 0)
    GTEST_SKIP() << "no script(1) for a pseudo-terminal here";
  EXPECT_THAT(testing::readFile(typescript),
              AllOf(HasSubstr("\r\x1b[K計算書を作成しています: 1 / 2  "),
                    HasSubstr("\r\x1b[K計算書を作成しています: 2 / 2  ")));
#endif
}

}  // namespace
}  // namespace tavilo
