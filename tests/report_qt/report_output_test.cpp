#include "report/qt/report_output.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QColor>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../report/gui_application.h"
#include "../report/report_samples.h"
#include "calc/case_titles.h"
#include "calc/errors.h"
#include "report/qt/painter_surface.h"
#include "report/qt/pdf_document_info.h"
#include "report/recording_surface.h"
#include "report/report_driver.h"
#include "report/results_page.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;
using testing::calculateSample;
using testing::Sample;

class ReportOutputTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::ensureGuiApplication(); }

  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tavilo_report_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  static PrintJob jobFor(const Sample& sample) {
    PrintJob job;
    job.printSettings = sample.print;
    job.projectFilePath = sample.path.string();
    job.date = "2024/03/05";
    return job;
  }

  fs::path dir_;
};

// The output of a command, or nullopt when it cannot be run.
std::optional<std::string> commandOutput(const std::string& command) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr)
    return std::nullopt;
  std::string out;
  char buffer[4096];
  while (const size_t n = fread(buffer, 1, sizeof buffer, pipe))
    out.append(buffer, n);
  return pclose(pipe) == 0 ? std::optional(out) : std::nullopt;
}

bool havePoppler() {
  return std::system(
             "command -v pdftotext >/dev/null 2>&1 && command -v pdfinfo >/dev/null 2>&1") == 0;
}

int pdfPageCount(const fs::path& pdf) {
  const auto info = commandOutput("pdfinfo '" + pdf.string() + "'");
  if (!info)
    return -1;
  const auto at = info->find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info->substr(at + 6));
}

TEST_F(ReportOutputTest, SamplePdfsHaveTheirPagesHeadingsAndVerdict) {
  if (!havePoppler())
    GTEST_SKIP() << "pdftotext/pdfinfo are not installed";
  const std::vector<std::pair<std::string, int>> samples = {
      {"ordinary-3span", 4}, {"heavy-snow-overhangs", 5}, {"direct-1span", 3}};
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto& [name, pages] = samples[i];
    const Sample sample = calculateSample(name);
    const fs::path pdf = dir_ / (name + ".pdf");
    writeReportPdf(pdf.string(), sample.outcome, jobFor(sample));
    EXPECT_EQ(pdfPageCount(pdf), pages) << name;

    const auto text = commandOutput("pdftotext -layout '" + pdf.string() + "' -");
    ASSERT_TRUE(text.has_value()) << name;
    for (const ResultsSection& section : sample.outcome.sections) {
      EXPECT_NE(text->find(caseHeadingText(section.analysis)), std::string::npos)
          << name << ": " << caseTitle(section.analysis);
    }
    EXPECT_NE(text->find("全てＯＫです"), std::string::npos) << name;
    EXPECT_NE(text->find(sample.outcome.conditions.deckName), std::string::npos) << name;
    // Nothing is left behind beside the report.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()),
              static_cast<long>(i + 1));
  }
}

TEST_F(ReportOutputTest, PdfCarriesItsTitleAuthorSubjectAndDate) {
  if (!havePoppler())
    GTEST_SKIP() << "pdftotext/pdfinfo are not installed";
  Sample sample = calculateSample("direct-1span");
  // The project name, else the project file's name, else the PDF's own.
  struct Case {
    std::string projectName;
    std::string projectFile;
    std::string title;
  };
  for (const Case& c : {Case{"倉庫A棟 屋根デッキ", "/data/direct-1span.tvl", "倉庫A棟 屋根デッキ"},
                        Case{kNoProjectName, "/data/direct-1span.tvl", "direct-1span"},
                        Case{kNoProjectName, "", "report"}}) {
    PrintJob job = jobFor(sample);
    job.printSettings.projectName = c.projectName;
    job.projectFilePath = c.projectFile;
    const fs::path pdf = dir_ / "report.pdf";
    writeReportPdf(pdf.string(), sample.outcome, job);
    const auto info = commandOutput("pdfinfo '" + pdf.string() + "'");
    ASSERT_TRUE(info.has_value());
    EXPECT_NE(info->find("Title:           " + c.title + "\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("Author:          Tavilo\n"), std::string::npos) << *info;
    EXPECT_NE(info->find("Subject:         デッキプレート構造計算書\n"), std::string::npos)
        << *info;
    EXPECT_NE(info->find("CreationDate:"), std::string::npos) << *info;
    // The amended document still reads whole.
    EXPECT_EQ(pdfPageCount(pdf), 3);
    const auto text = commandOutput("pdftotext '" + pdf.string() + "' -");
    ASSERT_TRUE(text.has_value());
    EXPECT_NE(text->find("全てＯＫです"), std::string::npos);
  }
  EXPECT_EQ(pdfDate(std::chrono::sys_days{std::chrono::year{2024} / 3 / 5} + std::chrono::hours{1},
                    std::chrono::minutes{9 * 60}),
            "D:20240305100000+09'00'");
  EXPECT_EQ(pdfDate(std::chrono::sys_days{std::chrono::year{2024} / 3 / 5},
                    std::chrono::minutes{-(3 * 60 + 30)}),
            "D:20240304203000-03'30'");
}

// The footer prints today in the user's short date format, whatever it is.
TEST_F(ReportOutputTest, FooterDateIsInTheShortFormatOfTheLocale) {
  const QDate day(2026, 12, 9);
  EXPECT_EQ(shortDate(day, QLocale(QLocale::Japanese, QLocale::Japan)), "2026/12/09");
  EXPECT_EQ(shortDate(day, QLocale(QLocale::English, QLocale::UnitedStates)), "12/9/26");
  EXPECT_EQ(shortDate(day, QLocale(QLocale::German, QLocale::Germany)), "09.12.26");
  EXPECT_EQ(PrintJob{}.date, shortDate(QDate::currentDate(), QLocale::system()));

  if (!havePoppler())
    GTEST_SKIP() << "pdftotext/pdfinfo are not installed";
  const Sample sample = calculateSample("direct-1span");
  PrintJob job = jobFor(sample);
  job.date = "09.12.26";
  const fs::path pdf = dir_ / "report.pdf";
  writeReportPdf(pdf.string(), sample.outcome, job);
  const auto text = commandOutput("pdftotext '" + pdf.string() + "' -");
  ASSERT_TRUE(text.has_value());
  EXPECT_NE(text->find("Morenta [09.12.26]"), std::string::npos);
}

TEST_F(ReportOutputTest, PdfReplacesAnOldFileOnlyWhenComplete) {
  const Sample sample = calculateSample("direct-1span");
  const fs::path pdf = dir_ / "report.pdf";
  std::ofstream(pdf) << "old";
  writeReportPdf(pdf.string(), sample.outcome, jobFor(sample));
  std::ifstream in(pdf, std::ios::binary);
  std::string head(5, '\0');
  in.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");

  const fs::path missing = dir_ / "no-such-folder" / "report.pdf";
  EXPECT_THROW(writeReportPdf(missing.string(), sample.outcome, jobFor(sample)), UserError);
  EXPECT_FALSE(fs::exists(missing.parent_path()));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
}

TEST_F(ReportOutputTest, ScreenImageAt72PpiOnTheReportBackground) {
  const Sample sample = calculateSample("ordinary-3span");
  const QImage image = renderScreenImage(sample.outcome);
  EXPECT_EQ(image.width(), 565);
  EXPECT_EQ(image.height(), 3350);
  EXPECT_EQ(image.dotsPerMeterY(), 2835);
  EXPECT_EQ(QColor(image.pixel(564, image.height() - 1)), QColor(230, 237, 240));
  EXPECT_NE(QColor(image.pixel(11, 34)), QColor(230, 237, 240));  // the frame's corner
}

// The part of an image that is not report background, in the image's own pixels.
QRect inkBounds(const QImage& image, const QRect& area) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (QColor(image.pixel(x, y)) != QColor(230, 237, 240))
        bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

// On a HiDPI screen the same page is drawn on twice the pixels each way: the
// layout stays where it is, but the text is drawn at 18 pixels, not blown up
// from 9.
TEST_F(ReportOutputTest, ScreenImageAtTheScreensPixelRatio) {
  const Sample sample = calculateSample("ordinary-3span");
  const QImage plain = renderScreenImage(sample.outcome);
  const QImage sharp = renderScreenImage(sample.outcome, 2.0);
  EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
  EXPECT_EQ(sharp.size(), plain.size() * 2);
  EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(plain.size()));

  // The title block at the top of page 1.
  const QRect area(0, 0, 565, 60);
  const QRect once = inkBounds(plain, area);
  const QRect twice = inkBounds(sharp, QRect(0, 0, 1130, 120));
  ASSERT_FALSE(once.isEmpty());
  EXPECT_NEAR(twice.left(), 2 * once.left(), 2);
  EXPECT_NEAR(twice.top(), 2 * once.top(), 2);
  EXPECT_NEAR(twice.right(), 2 * once.right() + 1, 3);
  EXPECT_NEAR(twice.bottom(), 2 * once.bottom() + 1, 3);
  // Blown up, every 2 × 2 block would be of one colour.
  int mixedBlocks = 0;
  for (int y = 0; y < 120; y += 2) {
    for (int x = 0; x < 1130; x += 2) {
      const QRgb c = sharp.pixel(x, y);
      if (sharp.pixel(x + 1, y) != c || sharp.pixel(x, y + 1) != c ||
          sharp.pixel(x + 1, y + 1) != c)
        ++mixedBlocks;
    }
  }
  EXPECT_GT(mixedBlocks, 500);
}

TEST_F(ReportOutputTest, LongReportGetsATallerImage) {
  // A report longer than the fixed height: the case sections of a heavy-snow
  // site with overhangs, drawn twice over.
  Sample sample = calculateSample("heavy-snow-overhangs");
  const std::vector<ResultsSection> sections = sample.outcome.sections;
  sample.outcome.sections.insert(sample.outcome.sections.end(), sections.begin(), sections.end());
  ASSERT_EQ(screenImageBaseHeight(sample.outcome), 3550);

  RecordingSurface dryRun(72, 565, 3550);
  {
    ReportCanvas canvas = beginReport(dryRun, {});
    drawCalculationReport(canvas, sample.outcome);
  }
  ASSERT_GT(dryRun.usedHeight(), 3550);  // the fixed height would cut it off

  const QImage image = renderScreenImage(sample.outcome);
  EXPECT_EQ(image.height(), dryRun.usedHeight() + kScreenImageBottomMargin);
  // The end of the report is inside the image: its last rows are background.
  for (int y = image.height() - kScreenImageBottomMargin / 2; y < image.height(); ++y) {
    for (int x = 0; x < 565; x += 7)
      ASSERT_EQ(QColor(image.pixel(x, y)), QColor(230, 237, 240)) << x << "," << y;
  }
}

TEST_F(ReportOutputTest, ReportFaceResolvesToIpaGothic) {
  const std::string family = reportFaceFamily();
  EXPECT_TRUE(family == "IPAPGothic" || family == "IPA Pゴシック" || family == "ＭＳ Ｐゴシック")
      << family;
}

}  // namespace
}  // namespace tavilo
