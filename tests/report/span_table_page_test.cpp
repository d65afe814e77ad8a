#include "report/span_table_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "gui_application.h"
#include "model/project_file.h"
#include "model/span_table.h"
#include "report/qt/report_output.h"
#include "report/recording_surface.h"
#include "report_samples.h"

namespace tavilo {
namespace {

namespace fs = std::filesystem;

// The table of the heavy-snow sample, with one cell that no span passes and
// one that the joints stop.
SpanTable sampleTable() {
  const fs::path source = TAVILO_SOURCE_DIR;
  InputForm form{LocationTables(source / "Load_data")};
  std::ignore = form.startUp();
  SettingsDialog dialog;
  CoefficientSettings settings;
  PrintSettings print;
  ProjectPaths paths;
  const ProjectLoad load = loadProject(source / "examples/heavy-snow-overhangs.tvl",
                                       {form, dialog, settings, print, paths});
  EXPECT_TRUE(load.completed());
  SpanTableResult result = buildSpanTable(form, settings);
  EXPECT_TRUE(result.table);
  SpanTable table = std::move(*result.table);
  table.cells[0].span.reset();
  table.cells[0].stoppedBy = SpanLimit::kStress;
  table.cells[1].stoppedBy = SpanLimit::kJoint;
  return table;
}

class SpanTablePageTest : public ::testing::Test {
 protected:
  // An A4 page at 600 dpi.
  RecordingSurface surface_{600, 4960, 7015};

  void drawOnPaper(const SpanTable& table) {
    ReportSetup setup;
    setup.device = ReportDevice::kPrinter;
    setup.printSettings.projectName = "倉庫棟";
    setup.printSettings.pageNumberPosition = PageNumberPosition::BottomRight;
    setup.projectFilePath = "/data/roof.tvl";
    ReportCanvas canvas = beginReport(surface_, setup);
    drawSpanTablePage(canvas, table);
    frameRight_ = canvas.frameRight;
    pxPerMm_ = canvas.pxPerMm;
  }

  int frameRight_ = 0;
  double pxPerMm_ = 0;
};

TEST_F(SpanTablePageTest, OnePageWithEveryCellItsLimitAndTheFooter) {
  const SpanTable table = sampleTable();
  drawOnPaper(table);
  EXPECT_EQ(surface_.pageCount(), 1);
  ASSERT_NE(surface_.findText(std::string(kSpanTableTitle) + " ［ 表面処理：Z27 ］"), nullptr);
  EXPECT_NE(surface_.findText("物件名： 倉庫棟"), nullptr);
  EXPECT_NE(surface_.findText("FileName : /data/roof.tvl"), nullptr);
  EXPECT_NE(surface_.findText("Morenta ["), nullptr);
  EXPECT_NE(surface_.findText("1"), nullptr);  // the page number at the bottom

  EXPECT_EQ(surface_.textsContaining("(応力)").size(), 4u);
  EXPECT_EQ(surface_.textsContaining("(接合部)").size(), 1u);
  EXPECT_EQ(surface_.textsContaining("(デッキ長さ)").size(), 3u);
  int noSpan = 0;
  for (const RecordedText& text : surface_.texts())
    noSpan += text.text == "－";
  EXPECT_EQ(noSpan, 1);
  const auto marked = surface_.textsContaining(kSpanTableProjectMark);
  ASSERT_GE(marked.size(), 1u);
  EXPECT_EQ(marked.front().text, "＊3,410 mm");
  EXPECT_TRUE(marked.front().font.bold);
  for (const char* deck : {"KX-50-12", "KX-50-16", "KX-75-12", "KX-75-16"})
    EXPECT_NE(surface_.findText(deck), nullptr) << deck;
  EXPECT_NE(surface_.findText("短期（暴風時-積雪無し）Ｇ＋Ｐ＋Ｗ"), nullptr);
}

// Every line stays within the frame's width on the paper.
TEST_F(SpanTablePageTest, NoTextRunsPastTheFrame) {
  drawOnPaper(sampleTable());
  const int pageNumberZone = static_cast<int>(15 * pxPerMm_);
  for (const RecordedText& text : surface_.texts()) {
    if (text.y < pageNumberZone || text.y > 7015 - pageNumberZone)
      continue;
    EXPECT_LE(text.endX, frameRight_ + static_cast<int>(2 * pxPerMm_)) << text.text;
  }
}

// The window's image holds the whole page at the report's width.
TEST_F(SpanTablePageTest, ScreenImageHoldsThePage) {
  testing::ensureGuiApplication();
  const SpanTable table = sampleTable();
  const QImage image = renderSpanTableImage(table);
  EXPECT_EQ(image.width(), kScreenImageWidth);
  RecordingSurface screen(72, kScreenImageWidth, 2000);
  {
    ReportCanvas canvas = beginReport(screen, {});
    drawSpanTablePage(canvas, table);
  }
  EXPECT_GT(image.height(), screen.usedHeight());
  EXPECT_EQ(screen.findText("FileName"), nullptr) << "no footer on the screen";
}

}  // namespace
}  // namespace tavilo
