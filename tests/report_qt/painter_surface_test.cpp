#include "report/qt/painter_surface.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "calc/errors.h"
#include "report/report_canvas.h"

namespace tavilo {
namespace {

class PainterSurfaceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
      qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_report";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
  }
};

struct InkBox {
  int left = 1 << 30;
  int top = 1 << 30;
  int right = -1;
  int bottom = -1;
  bool empty() const { return right < 0; }
};

// The box of every pixel that is clearly darker than the background.
InkBox inkOf(const QImage& image) {
  InkBox box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) >= 128)
        continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box;
}

// Output of a shell command, or nullopt when it could not run.
std::optional<std::string> run(const std::string& command) {
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe)
    return std::nullopt;
  std::string output;
  std::array<char, 4096> buffer;
  size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0)
    output.append(buffer.data(), n);
  return output;
}

// The "emb" column of every font line of pdffonts (fifth field from the end).
std::vector<std::string> embeddedColumn(const std::string& table) {
  std::vector<std::string> column;
  std::istringstream lines(table);
  std::string line;
  bool body = false;
  while (std::getline(lines, line)) {
    if (line.starts_with("---")) {
      body = true;
      continue;
    }
    if (!body || line.empty())
      continue;
    std::istringstream fields(line);
    std::vector<std::string> tokens;
    for (std::string t; fields >> t;)
      tokens.push_back(t);
    if (tokens.size() >= 5)
      column.push_back(tokens[tokens.size() - 5]);
  }
  return column;
}

TEST_F(PainterSurfaceTest, ReportFacesResolveToTheirIpaTwins) {
  if (!QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
    GTEST_SKIP() << "the IPA Gothic fonts are not installed";
  }
  EXPECT_EQ(resolveFontFamily(kReportFace), QStringLiteral("IPAPGothic"));
  EXPECT_EQ(resolveFontFamily(kFixedFace), QStringLiteral("IPAGothic"));
  EXPECT_EQ(reportFaceFamily(), "IPAPGothic");
}

TEST_F(PainterSurfaceTest, ScreenImageTextSitsByItsTopLeftCorner) {
  QImage image = makeReportImage(300, 120);
  {
    PainterSurface surface(image, 72);
    ReportCanvas canvas = beginReport(surface, {});
    // Nine points are nine pixels on the screen: two full-width characters
    // take two ems.
    EXPECT_NEAR(canvas.textWidth("■■"), 18, 1);
    canvas.setFontSize(30);
    const int end = canvas.writeAt(40, 50, "■");
    EXPECT_NEAR(end, 70, 1);
    EXPECT_GE(canvas.usedHeight(), 80);
  }
  EXPECT_EQ(image.pixelColor(1, 1), QColor(230, 237, 240));
  const InkBox ink = inkOf(image);
  ASSERT_FALSE(ink.empty());
  EXPECT_GE(ink.left, 40);
  EXPECT_LE(ink.left, 45);
  EXPECT_LE(ink.right, 70);
  EXPECT_GE(ink.top, 50);  // not lifted above the given point
  EXPECT_LE(ink.top, 58);  // nor left hanging on the baseline
  EXPECT_LE(ink.bottom, 80);
}

TEST_F(PainterSurfaceTest, ScreenImageLinesAndEmphasis) {
  QImage image = makeReportImage(100, 60);
  {
    PainterSurface surface(image, 72);
    ReportCanvas canvas = beginReport(surface, {});
    canvas.drawLine(10, 20, 90, 20);
    canvas.emphasisOn(true);
    canvas.setFontSize(20);
    canvas.writeAt(10, 30, "■");
  }
  EXPECT_EQ(image.pixelColor(50, 20), QColor(0, 0, 0));
  EXPECT_EQ(image.pixelColor(50, 19), QColor(230, 237, 240));
  const QColor ng = image.pixelColor(20, 40);
  EXPECT_GT(ng.red(), 200);
  EXPECT_LT(ng.green(), 60);
}

TEST_F(PainterSurfaceTest, PdfPassWritesPagesWithEmbeddedJapaneseText) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath(QStringLiteral("report.pdf")).toStdString();
  {
    PdfReport pdf(path);
    ReportSetup setup;
    setup.device = ReportDevice::kPrinter;
    setup.printSettings.pageNumberPosition = PageNumberPosition::BottomCentre;
    setup.printSettings.pageNumberStyle = 1;
    ReportCanvas canvas = beginReport(pdf.surface(), setup);
    EXPECT_EQ(canvas.pixelsPerInch, 600);
    // The printable area of common printers: A4 (210 × 297 mm) less 5 mm on every side.
    EXPECT_EQ(canvas.pageWidth, a4PrintableArea(600).width());
    EXPECT_EQ(canvas.pageHeight, a4PrintableArea(600).height());
    EXPECT_NEAR(canvas.pageWidth / canvas.pxPerMm, 200, 0.2);
    EXPECT_NEAR(canvas.pageHeight / canvas.pxPerMm, 287, 0.2);
    canvas.writeAtMm(13, 20, "Tavilo構造計算－風荷重､積雪荷重の検討－");
    canvas.cursor.rowMm = 10;
    canvas.writeAtCursor("《設計仕様》");
    canvas.setPenStyle(PenStyle::kDotted);
    canvas.drawLine(300, 2000, 4000, 2000);
    canvas.endPage();
    canvas.writeAtMm(13, 20, "計算結果（M-図,δ-図）");
    canvas.lastPage = true;
    canvas.endPage();
    pdf.finish();
  }
  const auto info = run("pdfinfo '" + path + "' 2>/dev/null");
  const auto text = run("pdftotext -enc UTF-8 '" + path + "' - 2>/dev/null");
  const auto fonts = run("pdffonts '" + path + "' 2>/dev/null");
  if (!info || info->empty() || !text || !fonts)
    GTEST_SKIP() << "poppler-utils not available";
  EXPECT_NE(info->find("Pages:           2\n"), std::string::npos) << *info;
  EXPECT_NE(text->find("Tavilo構造計算"), std::string::npos) << *text;
  EXPECT_NE(text->find("《設計仕様》"), std::string::npos) << *text;
  EXPECT_NE(text->find("-1-"), std::string::npos);
  EXPECT_NE(text->find("計算結果（M-図,δ-図）"), std::string::npos);
  EXPECT_NE(text->find("-2-"), std::string::npos);
  EXPECT_NE(fonts->find("IPAPGothic"), std::string::npos) << *fonts;
  EXPECT_EQ(embeddedColumn(*fonts), std::vector<std::string>{"yes"}) << *fonts;

  // On both pages the report's origin lies 5 mm in from the sheet's corner:
  // the title written 13 mm from the origin starts 18 mm from the sheet's edge.
  const auto boxes = run("pdftotext -bbox '" + path + "' - 2>/dev/null");
  ASSERT_TRUE(boxes.has_value());
  const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
  std::vector<double> lefts;
  for (auto it = std::sregex_iterator(boxes->begin(), boxes->end(), word);
       it != std::sregex_iterator(); ++it) {
    const std::string text = (*it)[3];
    if (text.starts_with("Tavilo構造計算") || text.starts_with("計算結果"))
      lefts.push_back(std::stod((*it)[1]) * 25.4 / 72);
  }
  ASSERT_EQ(lefts.size(), 2u) << *boxes;
  for (const double left : lefts)
    EXPECT_NEAR(left, 18.0, 0.3);
}

TEST_F(PainterSurfaceTest, UnwritablePdfFileIsReported) {
  EXPECT_THROW(PdfReport("/nonexistent-folder/report.pdf"), UserError);
}

}  // namespace
}  // namespace tavilo
